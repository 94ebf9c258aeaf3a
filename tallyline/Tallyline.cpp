#include "Tallyline.h"

#include "TallylinePropertyBag.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>

namespace {

constexpr double kTwipsPerInch = 1440.0;

// Design size of a new control, in twips.
constexpr double kDesignWidthTwips = 1620.0;
constexpr double kDesignHeightTwips = 405.0;

// Where the fill sits inside the frame, in twips.
constexpr float kFillLeft = 30.0f;
constexpr float kFillTop = 25.0f;
constexpr float kFillInset = 45.0f;

constexpr quint32 kWhite = 0x00FFFFFF;

Tallyline::InvalidValueReporter& Reporter()
{
    static Tallyline::InvalidValueReporter reporter;
    return reporter;
}

int ToPixels(double twips, double twipsPerPixel)
{
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
}

} // namespace

Tallyline::Tallyline(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Tallyline"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // The design state of the parts: the text in the control's font, "0%", shown.
    textFont_ = font();
    InitProperties();
    LayoutParts();
}

void Tallyline::SetEnabled(bool enabled)
{
    setEnabled(enabled);
    emit propertyChanged(QStringLiteral("Enabled"));
}

void Tallyline::SetValue(qint16 value)
{
    if (value > 100 || value < 0) {
        // The caller gets no error: the message is all the feedback there is.
        const QString text = QStringLiteral("Invalid Property Value");
        if (Reporter()) {
            Reporter()(this, text);
        } else {
            QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tallyline"), text, QMessageBox::Ok, this);
            box.exec();
        }
        return;
    }
    value_ = value;
    emit propertyChanged(QStringLiteral("Value"));
    percentText_ = QString::number(value) + QLatin1Char('%');
    SetFillWidth();
    // Shown at the next repaint: Refresh forces one at once, the event loop brings one later.
    update();
}

void Tallyline::SetBarColor(quint32 color)
{
    barColor_ = color;
    update();
    emit propertyChanged(QStringLiteral("BarColor"));
}

void Tallyline::SetTextColor(quint32 color)
{
    textColor_ = color;
    update();
    emit propertyChanged(QStringLiteral("TextColor"));
}

void Tallyline::SetTextFont(const QFont& font)
{
    textFont_ = font;
    update();
    emit propertyChanged(QStringLiteral("TextFont"));
}

void Tallyline::SetTextVisible(bool visible)
{
    textVisible_ = visible;
    emit propertyChanged(QStringLiteral("TextVisible"));
    percentShown_ = visible;
    update();
}

void Tallyline::Refresh()
{
    repaint();
}

void Tallyline::InitProperties()
{
    value_ = 0;
    textVisible_ = true;
}

void Tallyline::ReadProperties(const QVariantMap& entries)
{
    const TallylinePropertyBag bag(entries);
    setEnabled(bag.Read(QStringLiteral("Enabled"), true).toBool());
    ownFillColor_ = bag.Read(QStringLiteral("FillColor"), 0u).toUInt();
    // Stored values are taken as they are: no range check, nothing redrawn.
    value_ = static_cast<qint16>(bag.Read(QStringLiteral("Value"), 0).toInt());
    barColor_ = bag.Read(QStringLiteral("BarColor"), 0u).toUInt();
    textColor_ = bag.Read(QStringLiteral("TextColor"), kWhite).toUInt();
    const QVariant font = bag.Read(QStringLiteral("TextFont"), AmbientFont());
    if (font.typeId() == QMetaType::QString) {
        QFont parsed;
        if (parsed.fromString(font.toString()))
            setFont(parsed);
    } else {
        setFont(font.value<QFont>());
    }
    textVisible_ = bag.Read(QStringLiteral("TextVisible"), 1).toBool();
    update();
}

QVariantMap Tallyline::WriteProperties() const
{
    TallylinePropertyBag bag;
    bag.Write(QStringLiteral("Enabled"), isEnabled(), true);
    bag.Write(QStringLiteral("FillColor"), ownFillColor_, 0u);
    bag.Write(QStringLiteral("Value"), value_, qint16(0));
    bag.Write(QStringLiteral("BarColor"), barColor_, 0u);
    bag.Write(QStringLiteral("TextColor"), textColor_, kWhite);
    bag.Write(QStringLiteral("TextFont"), font(), AmbientFont());
    bag.Write(QStringLiteral("TextVisible"), textVisible_, true);
    return bag.Entries();
}

QSize Tallyline::sizeHint() const
{
    return {ToPixels(kDesignWidthTwips, TwipsPerPixelX()), ToPixels(kDesignHeightTwips, TwipsPerPixelY())};
}

void Tallyline::SetInvalidValueReporter(InvalidValueReporter reporter)
{
    Reporter() = std::move(reporter);
}

QColor Tallyline::ToQColor(quint32 color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void Tallyline::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutParts();
}

void Tallyline::paintEvent(QPaintEvent*)
{
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    QPainter painter(this);

    // shpBar: the white outline over the whole control.
    const int w = ToPixels(barTwips_.width(), tx);
    const int h = ToPixels(barTwips_.height(), ty);
    if (w > 0 && h > 0) {
        painter.setPen(Tallyline::ToQColor(kWhite));
        painter.drawRect(0, 0, w - 1, h - 1);
        // Line1 and Line2: the dark top and left edges that make the frame look sunken.
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawLine(0, 0, w - 1, 0);
        painter.drawLine(0, 0, 0, h - 1);
    }

    // shpTallyline: edges rounded to whole pixels so that neighbouring values never overlap.
    const int x0 = ToPixels(fillTwips_.left(), tx);
    const int x1 = ToPixels(fillTwips_.left() + fillTwips_.width(), tx);
    const int y0 = ToPixels(fillTwips_.top(), ty);
    const int y1 = ToPixels(fillTwips_.top() + fillTwips_.height(), ty);
    if (x1 > x0 && y1 > y0)
        painter.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), ToQColor(barColor_));

    // lblPercent: transparent, centred where the last resize placed it.
    if (percentShown_) {
        painter.setFont(textFont_);
        painter.setPen(ToQColor(textColor_));
        const QRectF label(percentTwips_.left() / tx, percentTwips_.top() / ty, percentTwips_.width() / tx,
                           percentTwips_.height() / ty);
        painter.drawText(label, Qt::AlignCenter | Qt::TextDontClip, percentText_);
    }
}

void Tallyline::LayoutParts()
{
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    // shpBar covers the whole control; Line1 and Line2 follow its top and left edges.
    barTwips_ = QRectF(0.0, 0.0, width() * tx, height() * ty);
    const double barWidth = barTwips_.width();
    const double barHeight = barTwips_.height();

    fillTwips_.moveTo(kFillLeft, kFillTop);

    const QFontMetricsF metrics(textFont_, this);
    const double textWidth = metrics.horizontalAdvance(percentText_) * tx;
    const double textHeight = metrics.height() * ty;
    percentTwips_ = QRectF((barWidth - textWidth) / 2.0, (barHeight - textHeight) / 2.0, textWidth, textHeight);

    SetFillWidth();
    // A control lower than the fill's margins has no room for a fill.
    fillTwips_.setHeight(std::max(0.0f, static_cast<float>(barHeight) - kFillInset));
}

void Tallyline::SetFillWidth()
{
    const float width = static_cast<float>(value_) / 100.0f * static_cast<float>(barTwips_.width()) - kFillInset;
    fillTwips_.setWidth(width < 0.0f ? 0.0f : width);
}

QFont Tallyline::AmbientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

double Tallyline::TwipsPerPixelX() const
{
    return kTwipsPerInch / logicalDpiX();
}

double Tallyline::TwipsPerPixelY() const
{
    return kTwipsPerInch / logicalDpiY();
}
