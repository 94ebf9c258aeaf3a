#include "report/PageFrame.h"

#include "report/ReportStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <utility>

namespace zlm {

PageFrame::PageFrame(QPdfWriter& writer, QPainter& painter, QString reportName, QString fileName, QString footer,
                     int pageCount)
    : writer_(writer), painter_(painter), reportName_(std::move(reportName)), fileName_(std::move(fileName)),
      footer_(std::move(footer)), pageCount_(pageCount)
{
}

QRectF PageFrame::Begin(QPageLayout::Orientation orientation)
{
    if (page_ > 0) {
        writer_.setPageOrientation(orientation);
        writer_.newPage();
    }
    ++page_;
    const QSizeF size = writer_.pageLayout().paintRectPixels(writer_.resolution()).size();
    const QFont font = ReportFont(8);
    painter_.save();
    painter_.setPen(Qt::black);
    const QRectF header(0.0, 0.0, size.width(), kReportHeaderHeight - 6.0);
    QFont bold = font;
    bold.setBold(true);
    painter_.setFont(bold);
    painter_.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, reportName_);
    painter_.setFont(font);
    // A long file name is shortened in its middle rather than run into the texts beside it.
    const QString fileName = QFontMetricsF(font, &writer_).elidedText(fileName_, Qt::ElideMiddle, size.width() * 0.3);
    painter_.drawText(header, Qt::AlignHCenter | Qt::AlignVCenter, fileName);
    painter_.drawText(header, Qt::AlignRight | Qt::AlignVCenter,
                      QStringLiteral("Page %1 of %2").arg(page_).arg(pageCount_));
    painter_.setPen(QPen(QColor(128, 128, 128), 0.75));
    painter_.drawLine(QPointF(0.0, kReportHeaderHeight - 4.0), QPointF(size.width(), kReportHeaderHeight - 4.0));
    const double footerTop = size.height() - kReportFooterHeight;
    painter_.drawLine(QPointF(0.0, footerTop + 4.0), QPointF(size.width(), footerTop + 4.0));
    painter_.setPen(Qt::black);
    painter_.drawText(QRectF(0.0, footerTop + 6.0, size.width(), kReportFooterHeight - 6.0),
                      Qt::AlignLeft | Qt::AlignVCenter, footer_);
    painter_.restore();
    return QRectF(0.0, kReportHeaderHeight, size.width(), size.height() - kReportHeaderHeight - kReportFooterHeight);
}

QSizeF PageFrame::BodySize(const QPdfWriter& writer, QPageLayout::Orientation orientation)
{
    return BodySize(writer.pageLayout(), orientation);
}

QSizeF PageFrame::BodySize(QPageLayout layout, QPageLayout::Orientation orientation)
{
    layout.setOrientation(orientation);
    const QSizeF size = layout.paintRectPixels(kReportResolution).size();
    return QSizeF(size.width(), size.height() - kReportHeaderHeight - kReportFooterHeight);
}

} // namespace zlm
