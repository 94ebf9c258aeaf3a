#include "tallyline/Tallyline.h"
#include "tallyline/TallylineDispatch.h"

#include <QImage>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A control on a shown host, sized in twips at the control's own resolution.
struct Fixture {
    QWidget host;
    Tallyline* bar;

    Fixture()
    {
        host.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
        bar = new Tallyline(&host);
        host.resize(800, 200);
        host.show();
    }

    void ResizeTwips(double widthTwips, double heightTwips)
    {
        bar->resize(static_cast<int>(widthTwips * bar->logicalDpiX() / 1440.0),
                    static_cast<int>(heightTwips * bar->logicalDpiY() / 1440.0));
    }
};

} // namespace

class TallylineControlTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { messages_.clear(); }

    void fillFollowsValue_data();
    void fillFollowsValue();
    void fillFollowsResize_data();
    void fillFollowsResize();
    void outOfRangeValueChangesNothing_data();
    void outOfRangeValueChangesNothing();
    void propertyLetsMarkChanged_data();
    void propertyLetsMarkChanged();
    void textVisibleShowsAndHidesText();
    void dispatchTable_data();
    void dispatchTable();
    void dispatchLookupIgnoresCase();

    void freshControlSavesNothing();
    void emptyBagReadsDefaults();
    void propertyBagRoundTrip();
    void bagKeysIgnoreCase();
    void textFontIsNotSaved();
    void storedValueShowsOnlyAtResize();
    void storedTextVisibleShowsOnlyWhenSet();

    void renderedFillMatchesGeometry();
    void renderedTextIsCentred();

private:
    QStringList messages_;
};

void TallylineControlTest::initTestCase()
{
    Tallyline::SetInvalidValueReporter([this](QWidget*, const QString& text) { messages_ << text; });
}

void TallylineControlTest::fillFollowsValue_data()
{
    QTest::addColumn<double>("widthTwips");
    QTest::addColumn<double>("heightTwips");
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("fillWidth");
    QTest::addColumn<double>("fillHeight");
    QTest::addColumn<QString>("text");

    QTest::newRow("0 gives no fill") << 1620.0 << 405.0 << 0 << 0.0 << 360.0 << "0%";
    QTest::newRow("100 on 6975") << 6975.0 << 135.0 << 100 << 6930.0 << 90.0 << "100%";
    QTest::newRow("50 on 1620") << 1620.0 << 405.0 << 50 << 765.0 << 360.0 << "50%";
    QTest::newRow("2 on 1620 still negative") << 1620.0 << 405.0 << 2 << 0.0 << 360.0 << "2%";
    QTest::newRow("3 on 1620 in single precision")
        << 1620.0 << 405.0 << 3 << double(3.0f / 100.0f * 1620.0f - 45.0f) << 360.0 << "3%";
    QTest::newRow("lower than the margins") << 1620.0 << 30.0 << 50 << 765.0 << 0.0 << "50%";
}

void TallylineControlTest::fillFollowsValue()
{
    QFETCH(double, widthTwips);
    QFETCH(double, heightTwips);
    QFETCH(int, value);
    QFETCH(double, fillWidth);
    QFETCH(double, fillHeight);
    QFETCH(QString, text);

    Fixture f;
    f.ResizeTwips(widthTwips, heightTwips);
    f.bar->SetValue(static_cast<qint16>(value));

    const QRectF fill = f.bar->FillRectTwips();
    QCOMPARE(fill.left(), 30.0);
    QCOMPARE(fill.top(), 25.0);
    QCOMPARE(float(fill.width()), float(fillWidth));
    QCOMPARE(fill.height(), fillHeight);
    QCOMPARE(f.bar->PercentText(), text);
    QCOMPARE(f.bar->Value(), qint16(value));
    QVERIFY(messages_.isEmpty());
}

void TallylineControlTest::fillFollowsResize_data()
{
    QTest::addColumn<double>("fromWidth");
    QTest::addColumn<double>("toWidth");
    QTest::addColumn<double>("fillWidth");

    QTest::newRow("50 then 1620") << 6975.0 << 1620.0 << 765.0;
    QTest::newRow("50 then 6975") << 1620.0 << 6975.0 << 3442.5;
    QTest::newRow("50 then too narrow") << 1620.0 << 60.0 << 0.0;
}

void TallylineControlTest::fillFollowsResize()
{
    QFETCH(double, fromWidth);
    QFETCH(double, toWidth);
    QFETCH(double, fillWidth);

    Fixture f;
    f.ResizeTwips(fromWidth, 405.0);
    f.bar->SetValue(50);
    f.ResizeTwips(toWidth, 405.0);
    QCOMPARE(f.bar->BarRectTwips(), QRectF(0.0, 0.0, toWidth, 405.0));
    QCOMPARE(f.bar->FillRectTwips(), QRectF(30.0, 25.0, fillWidth, 360.0));
}

void TallylineControlTest::outOfRangeValueChangesNothing_data()
{
    QTest::addColumn<int>("value");
    QTest::newRow("101") << 101;
    QTest::newRow("-1") << -1;
    QTest::newRow("largest") << 32767;
    QTest::newRow("smallest") << -32768;
}

void TallylineControlTest::outOfRangeValueChangesNothing()
{
    QFETCH(int, value);

    Fixture f;
    f.ResizeTwips(1620.0, 405.0);
    f.bar->SetValue(40);
    const QRectF fillBefore = f.bar->FillRectTwips();
    QSignalSpy changed(f.bar, &Tallyline::propertyChanged);

    // Through the meta-object, as a host sets it; the caller sees success.
    QVERIFY(f.bar->setProperty("Value", QVariant::fromValue(static_cast<qint16>(value))));

    QCOMPARE(messages_, QStringList{QStringLiteral("Invalid Property Value")});
    QCOMPARE(f.bar->Value(), qint16(40));
    QCOMPARE(f.bar->PercentText(), QStringLiteral("40%"));
    QCOMPARE(f.bar->FillRectTwips(), fillBefore);
    QCOMPARE(changed.count(), 0);
}

void TallylineControlTest::propertyLetsMarkChanged_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("Enabled") << "Enabled" << QVariant(false);
    QTest::newRow("Value") << "Value" << QVariant::fromValue<qint16>(42);
    QTest::newRow("BarColor") << "BarColor" << QVariant::fromValue<quint32>(0x0080C0FF);
    QTest::newRow("TextColor") << "TextColor" << QVariant::fromValue<quint32>(0x00123456);
    QTest::newRow("TextFont") << "TextFont" << QVariant(QFont(QStringLiteral("DejaVu Serif"), 14));
    QTest::newRow("TextVisible") << "TextVisible" << QVariant(false);
}

void TallylineControlTest::propertyLetsMarkChanged()
{
    QFETCH(QString, name);
    QFETCH(QVariant, value);

    Fixture f;
    QSignalSpy changed(f.bar, &Tallyline::propertyChanged);
    QVERIFY(f.bar->setProperty(name.toLatin1().constData(), value));
    QCOMPARE(f.bar->property(name.toLatin1().constData()), value);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), name);
}

void TallylineControlTest::textVisibleShowsAndHidesText()
{
    Fixture f;
    QVERIFY(f.bar->PercentTextShown());
    f.bar->SetTextVisible(false);
    QVERIFY(!f.bar->PercentTextShown());
    QVERIFY(!f.bar->TextVisible());
    f.bar->SetTextVisible(true);
    QVERIFY(f.bar->PercentTextShown());
    QVERIFY(f.bar->TextVisible());
}

void TallylineControlTest::dispatchTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("documented");

    QTest::newRow("TextVisible") << "TextVisible" << 0x68030000 << false;
    QTest::newRow("TextFont") << "TextFont" << 0x68030001 << true;
    QTest::newRow("TextColor") << "TextColor" << 0x68030002 << true;
    QTest::newRow("BarColor") << "BarColor" << 0x68030003 << true;
    QTest::newRow("Value") << "Value" << 0x68030004 << false;
    QTest::newRow("Enabled") << "Enabled" << 0x68030005 << true;
    QTest::newRow("Refresh") << "Refresh" << 0x60030006 << true;
}

void TallylineControlTest::dispatchTable()
{
    QFETCH(QString, name);
    QFETCH(int, id);
    QFETCH(bool, documented);

    const TallylineDispatch::Member* member = TallylineDispatch::FindById(id);
    QVERIFY(member);
    QCOMPARE(QString::fromLatin1(member->name), name);
    QCOMPARE(TallylineDispatch::FindByName(name), member);
    QCOMPARE(QByteArray(member->documentation).isEmpty(), !documented);

    // Every member the table names is reachable through the control's meta-object.
    const QMetaObject& meta = Tallyline::staticMetaObject;
    const QByteArray latin = name.toLatin1();
    if (member->kind == TallylineDispatch::MemberKind::Property) {
        const int index = meta.indexOfProperty(latin.constData());
        QVERIFY(index >= 0);
        QVERIFY(meta.property(index).isReadable());
        QVERIFY(meta.property(index).isWritable());
    } else {
        QVERIFY(meta.indexOfMethod((latin + "()").constData()) >= 0);
    }
}

void TallylineControlTest::dispatchLookupIgnoresCase()
{
    QCOMPARE(TallylineDispatch::FindByName(QStringLiteral("bArCoLoR"))->id, 0x68030003);
    QVERIFY(!TallylineDispatch::FindByName(QStringLiteral("Visible")));
    QVERIFY(!TallylineDispatch::FindById(0x68030006));
    QCOMPARE(QString::fromLatin1(TallylineDispatch::FindByName(QStringLiteral("Refresh"))->documentation),
             QStringLiteral("Forces a complete repaint of a object."));
}

void TallylineControlTest::freshControlSavesNothing()
{
    Fixture f;
    QCOMPARE(f.bar->WriteProperties(), QVariantMap());
}

void TallylineControlTest::emptyBagReadsDefaults()
{
    Fixture f;
    f.bar->SetEnabled(false);
    f.bar->SetBarColor(0x123456);
    f.bar->SetTextColor(0x000000);
    f.bar->SetTextVisible(false);
    f.bar->ReadProperties({});

    QVERIFY(f.bar->Enabled());
    QCOMPARE(f.bar->BarColor(), quint32(0));
    QCOMPARE(f.bar->TextColor(), quint32(0x00FFFFFF));
    QCOMPARE(f.bar->Value(), qint16(0));
    QCOMPARE(f.bar->OwnFillColor(), quint32(0));
    QCOMPARE(f.bar->OwnFont(), f.host.font());
    QVERIFY(f.bar->TextVisible());
}

void TallylineControlTest::propertyBagRoundTrip()
{
    const QFont ownFont(QStringLiteral("DejaVu Serif"), 9);
    QVariantMap saved{{QStringLiteral("enabled"), false},
                      {QStringLiteral("fillcolor"), QVariant::fromValue<quint32>(0x00010203)},
                      {QStringLiteral("value"), 77},
                      {QStringLiteral("barcolor"), QVariant::fromValue<quint32>(0x0080C0FF)},
                      {QStringLiteral("textcolor"), QVariant::fromValue<quint32>(0x00ABCDEF)},
                      {QStringLiteral("textfont"), ownFont},
                      {QStringLiteral("textvisible"), false}};

    Fixture first;
    first.bar->ReadProperties(saved);
    QVERIFY(!first.bar->Enabled());
    QCOMPARE(first.bar->OwnFillColor(), quint32(0x00010203));
    QCOMPARE(first.bar->Value(), qint16(77));
    QCOMPARE(first.bar->BarColor(), quint32(0x0080C0FF));
    QCOMPARE(first.bar->TextColor(), quint32(0x00ABCDEF));
    QCOMPARE(first.bar->OwnFont(), ownFont);
    QVERIFY(!first.bar->TextVisible());

    const QVariantMap written = first.bar->WriteProperties();
    QCOMPARE(written.keys(), saved.keys());
    Fixture second;
    second.bar->ReadProperties(written);
    QCOMPARE(second.bar->WriteProperties(), written);
    QCOMPARE(second.bar->Value(), qint16(77));
    QCOMPARE(second.bar->OwnFont(), ownFont);
}

void TallylineControlTest::bagKeysIgnoreCase()
{
    Fixture f;
    f.bar->ReadProperties({{QStringLiteral("BARCOLOR"), 5},
                           {QStringLiteral("TextColor"), 6},
                           {QStringLiteral("tExTvIsIbLe"), false},
                           {QStringLiteral("Value"), 12}});
    QCOMPARE(f.bar->BarColor(), quint32(5));
    QCOMPARE(f.bar->TextColor(), quint32(6));
    QVERIFY(!f.bar->TextVisible());
    QCOMPARE(f.bar->Value(), qint16(12));

    const QVariantMap written = f.bar->WriteProperties();
    for (const QString& key : written.keys())
        QCOMPARE(key, key.toLower());
}

void TallylineControlTest::textFontIsNotSaved()
{
    const QFont textFont(QStringLiteral("DejaVu Serif"), 20, QFont::Bold);
    Fixture f;
    f.bar->SetTextFont(textFont);
    QCOMPARE(f.bar->TextFont(), textFont);

    // What is saved under "TextFont" is the control's own font, the host's font here.
    const QVariantMap written = f.bar->WriteProperties();
    QVERIFY(!written.contains(QStringLiteral("textfont")));

    Fixture reloaded;
    const QFont designFont = reloaded.bar->TextFont();
    reloaded.bar->ReadProperties(written);
    QCOMPARE(reloaded.bar->TextFont(), designFont);
    QVERIFY(reloaded.bar->TextFont() != textFont);

    // A saved font goes to the control's own font only, never to the text.
    const QFont saved(QStringLiteral("DejaVu Sans Mono"), 7);
    reloaded.bar->ReadProperties({{QStringLiteral("textfont"), saved}});
    QCOMPARE(reloaded.bar->OwnFont(), saved);
    QCOMPARE(reloaded.bar->TextFont(), designFont);
    QCOMPARE(reloaded.bar->WriteProperties().value(QStringLiteral("textfont")).value<QFont>(), saved);
}

void TallylineControlTest::storedValueShowsOnlyAtResize()
{
    Fixture f;
    f.ResizeTwips(3000.0, 405.0);
    f.bar->ReadProperties({{QStringLiteral("value"), 50}});
    QCOMPARE(f.bar->Value(), qint16(50));
    QCOMPARE(f.bar->FillRectTwips().width(), 0.0);
    QCOMPARE(f.bar->PercentText(), QStringLiteral("0%"));

    f.ResizeTwips(1620.0, 405.0);
    QCOMPARE(f.bar->FillRectTwips().width(), 765.0);
    QCOMPARE(f.bar->PercentText(), QStringLiteral("0%"));

    f.bar->SetValue(50);
    QCOMPARE(f.bar->PercentText(), QStringLiteral("50%"));

    // Saved values are taken without the range check.
    f.bar->ReadProperties({{QStringLiteral("value"), 150}});
    QCOMPARE(f.bar->Value(), qint16(150));
    QVERIFY(messages_.isEmpty());
}

void TallylineControlTest::storedTextVisibleShowsOnlyWhenSet()
{
    Fixture f;
    f.bar->ReadProperties({{QStringLiteral("textvisible"), false}});
    QVERIFY(!f.bar->TextVisible());
    QVERIFY(f.bar->PercentTextShown());
    QCOMPARE(f.bar->PercentText(), QStringLiteral("0%"));
    f.bar->SetTextVisible(false);
    QVERIFY(!f.bar->PercentTextShown());
}

void TallylineControlTest::renderedFillMatchesGeometry()
{
    Fixture f;
    QCOMPARE(f.bar->logicalDpiX(), 96);
    QCOMPARE(f.bar->logicalDpiY(), 96);
    f.bar->resize(108, 27); // 1620 x 405 twips
    f.bar->SetBarColor(0x000000FF);
    f.bar->SetTextVisible(false);
    f.bar->SetValue(50);
    const QImage image = f.bar->grab().toImage();
    QCOMPARE(image.size(), QSize(108, 27));

    // The fill: 30, 25, 765 x 360 twips = pixels 2..52 across, 2..25 down (25 / 15 rounds to 2).
    const QRect expected(2, 2, 51, 24);
    for (int y = 1; y < image.height() - 1; ++y) {
        for (int x = 1; x < image.width() - 1; ++x) {
            const bool red = image.pixelColor(x, y) == QColor(Qt::red);
            if (red != expected.contains(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(red ? "filled" : "empty")));
        }
    }
    // The sunken frame: dark top and left edges, white right and bottom edges.
    const QColor dark = f.bar->palette().color(QPalette::WindowText);
    QCOMPARE(image.pixelColor(50, 0), dark);
    QCOMPARE(image.pixelColor(0, 13), dark);
    QCOMPARE(image.pixelColor(107, 13), QColor(Qt::white));
    QCOMPARE(image.pixelColor(50, 26), QColor(Qt::white));
}

void TallylineControlTest::renderedTextIsCentred()
{
    Fixture f;
    f.bar->resize(300, 40);
    f.bar->SetTextColor(0x0000FF00);
    f.bar->SetValue(100);
    const QImage image = f.bar->grab().toImage();

    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 1; y < image.height() - 1; ++y) {
        for (int x = 1; x < image.width() - 1; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() > 200 && c.red() < 60 && c.blue() < 60) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    QVERIFY2(right > left && bottom > top, "no text drawn");
    QVERIFY(qAbs((left + right) / 2.0 - 150.0) <= 3.0);
    QVERIFY(qAbs((top + bottom) / 2.0 - 20.0) <= 4.0);

    f.bar->SetTextVisible(false);
    const QImage hidden = f.bar->grab().toImage();
    for (int y = 1; y < hidden.height() - 1; ++y) {
        for (int x = 1; x < hidden.width() - 1; ++x)
            QVERIFY(hidden.pixelColor(x, y) != QColor(Qt::green));
    }
}

QTEST_MAIN(TallylineControlTest)
#include "TallylineControlTest.moc"
