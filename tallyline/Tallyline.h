#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <functional>

/**
 * The fill bar control: a sunken frame filled from the left in proportion to a
 * percentage from 0 to 100, with the percentage optionally shown as a centred
 * text ("50%").
 *
 * Its dispatch interface is its meta-object: the properties Enabled, Value,
 * BarColor, TextColor, TextFont and TextVisible and the invokable Refresh (see
 * TallylineDispatch.h for their identifiers). Colours are 32-bit values with red
 * in the low byte, then green, then blue; the high byte is ignored.
 *
 * All lengths are kept in twips (1/1440 inch) and converted to pixels at the
 * widget's logical resolution (15 twips per pixel at 96 dpi). The control is
 * drawn as five parts: shpBar (white outline over the whole control), Line1 and
 * Line2 (dark top and left edges), shpTallyline (the fill in BarColor) and
 * lblPercent (the transparent percent text in TextColor and TextFont).
 *
 * Settings a host keeps go through InitProperties / ReadProperties /
 * WriteProperties (entries as in TallylinePropertyBag, keys in any case).
 * Faithful to the control's documented behaviour, a Value read from saved
 * settings shows in the fill only at the next resize and in the text only after
 * Value is next set; a saved TextVisible takes effect only after TextVisible is
 * next set; and the font saved under "TextFont" is the control's own font, not
 * the text's.
 */
class Tallyline : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("TypeLibrary", "Corvane_Tallyline")
    Q_CLASSINFO("Description", "Corvane Tallyline Control")
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(qint16 Value READ Value WRITE SetValue)
    Q_PROPERTY(quint32 BarColor READ BarColor WRITE SetBarColor)
    Q_PROPERTY(quint32 TextColor READ TextColor WRITE SetTextColor)
    Q_PROPERTY(QFont TextFont READ TextFont WRITE SetTextFont)
    Q_PROPERTY(bool TextVisible READ TextVisible WRITE SetTextVisible)

public:
    /** Shows the "Invalid Property Value" message for a control; replaceable for tests. */
    using InvalidValueReporter = std::function<void(QWidget* control, const QString& text)>;

    /** Creates a control in its design state (value 0, text "0%" shown, black fill). */
    explicit Tallyline(QWidget* parent = nullptr);

    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled);

    qint16 Value() const { return value_; }
    /** Sets the percentage; outside 0..100 it reports "Invalid Property Value" and changes nothing. */
    void SetValue(qint16 value);

    quint32 BarColor() const { return barColor_; }
    void SetBarColor(quint32 color);

    quint32 TextColor() const { return textColor_; }
    void SetTextColor(quint32 color);

    QFont TextFont() const { return textFont_; }
    void SetTextFont(const QFont& font);

    bool TextVisible() const { return textVisible_; }
    /** Stores the flag and shows or hides the percent text accordingly. */
    void SetTextVisible(bool visible);

    /** Repaints the whole control at once, without waiting for the event loop. */
    Q_INVOKABLE void Refresh();

    /** Puts a control placed in a host for the first time in its initial state. */
    Q_INVOKABLE void InitProperties();
    /** Reads the host's saved settings (keys in any case; absent keys read as defaults). */
    Q_INVOKABLE void ReadProperties(const QVariantMap& bag);
    /** Returns the settings to save, keyed in lower case, defaults left out. */
    Q_INVOKABLE QVariantMap WriteProperties() const;

    /** Returns the fill (shpTallyline) in twips: left, top, width, height. */
    QRectF FillRectTwips() const { return fillTwips_; }
    /** Returns the frame (shpBar) in twips; it covers the whole control. */
    QRectF BarRectTwips() const { return barTwips_; }
    /** Returns the percent text (lblPercent) as it would be drawn. */
    QString PercentText() const { return percentText_; }
    /** Returns whether the percent text is currently drawn. */
    bool PercentTextShown() const { return percentShown_; }
    /** Returns the control's own font and fill colour, kept only to be saved. */
    QFont OwnFont() const { return font(); }
    quint32 OwnFillColor() const { return ownFillColor_; }

    QSize sizeHint() const override;

    /** Replaces how the invalid-value message is shown; an empty function restores the message box. */
    static void SetInvalidValueReporter(InvalidValueReporter reporter);

    /** Converts a colour value (red in the low byte) to a QColor. */
    static QColor ToQColor(quint32 color);

signals:
    /** Tells the host that the named property changed, so its saved settings are out of date. */
    void propertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void LayoutParts();
    void SetFillWidth();
    QFont AmbientFont() const;
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;

    qint16 value_ = 0;
    bool textVisible_ = true;
    quint32 barColor_ = 0;
    quint32 textColor_ = 0x00FFFFFF;
    quint32 ownFillColor_ = 0;
    QFont textFont_;
    QString percentText_ = QStringLiteral("0%");
    bool percentShown_ = true;
    QRectF barTwips_;
    QRectF fillTwips_;
    QRectF percentTwips_;
};
