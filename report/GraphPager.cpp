#include "report/GraphPager.h"

#include "analysis/DisplayFormat.h"
#include "report/ReportStyle.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace zlm {

namespace {

constexpr double kGraphNoteHeight = 22.0;

} // namespace

double GraphPageDistance(UnitSystem units)
{
    return units == UnitSystem::SI ? kSiGraphPageDistance : kUsGraphPageDistance;
}

QString GraphPageDistanceText(UnitSystem units)
{
    // Whole numbers with their thousands grouped as the text writes them: "300", "1,000".
    QString text = QString::number(static_cast<qint64>(GraphPageDistance(units)));
    for (qsizetype at = text.size() - 3; at > 0; at -= 3)
        text.insert(at, u',');
    return text;
}

GraphPager::GraphPager(double profileLength, UnitSystem units, QString unit, char decimalSeparator)
    : profileLength_(profileLength), units_(units), unit_(std::move(unit)), decimalSeparator_(decimalSeparator)
{
    const double limit = GraphPageDistance(units);
    const bool paged = std::isfinite(profileLength) && profileLength > limit;
    pageDistance_ = paged || !(profileLength > 0.0) ? limit : profileLength;
    pages_ = paged ? static_cast<int>(std::ceil(profileLength / limit)) : 1;
}

QRectF GraphPager::DrawNote(QPainter& painter, const QRectF& body, int page, const QString& graphName) const
{
    const auto number = [this](double value) { return ReportString(FormatNumber(value, "0.00", decimalSeparator_)); };
    painter.save();
    painter.setFont(ReportFont(8));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(body.left(), body.top(), body.width(), kGraphNoteHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("%1 %2 of %3: distance %4 to %5 %6 of %7 %6 (each page covers at most %8 %6)")
                         .arg(graphName)
                         .arg(page + 1)
                         .arg(pages_)
                         .arg(number(Start(page)), number(std::min(End(page), profileLength_)), unit_,
                              number(profileLength_), GraphPageDistanceText(units_)));
    painter.restore();
    return GraphArea(body);
}

QRectF GraphPager::GraphArea(const QRectF& body)
{
    return QRectF(body.left(), body.top() + kGraphNoteHeight, body.width(), body.height() - kGraphNoteHeight);
}

} // namespace zlm
