#include "mainwindow/TallylineProgress.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

QStringList PluginFolder()
{
    return {QStringLiteral(TALLYLINE_PLUGIN_DIR)};
}

} // namespace

class TallylineProgressTest : public QObject {
    Q_OBJECT

private slots:
    void createsTallyline1InTheSavedState();
    void drivesTheControlAsTheEngineDoes();
    void repaintsOnlyWhenSomethingChanged();
    void runsWithoutThePlugin_data();
    void runsWithoutThePlugin();
    void survivesTheHostDeletingTheControl();
    void searchesTheEnvironmentFirst();
};

void TallylineProgressTest::createsTallyline1InTheSavedState()
{
    QWidget host;
    host.show();
    TallylineProgress progress(&host, PluginFolder());
    QVERIFY(progress.IsLoaded());
    QWidget* bar = progress.Widget();
    QVERIFY(bar);
    QCOMPARE(bar->objectName(), QStringLiteral("Tallyline1"));
    QCOMPARE(bar->parentWidget(), &host);
    QVERIFY(bar->isHidden());

    QCOMPARE(bar->property("BarColor").toUInt(), 0x0080C0FFu);
    QCOMPARE(bar->property("TextVisible").toBool(), false);
    QCOMPARE(bar->property("Value").toInt(), 0);
    // 12303 x 238 hundredths of a millimetre at 96 dpi.
    QCOMPARE(bar->logicalDpiX(), 96);
    QCOMPARE(bar->size(), QSize(465, 9));

    // The saved font is the control's own font, written back as it was read.
    QVariantMap saved;
    QVERIFY(QMetaObject::invokeMethod(bar, "WriteProperties", Q_RETURN_ARG(QVariantMap, saved)));
    const QFont font = saved.value(QStringLiteral("textfont")).value<QFont>();
    QCOMPARE(font.family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(font.pointSizeF(), 8.25);
    QVERIFY(!font.bold() && !font.italic());
}

void TallylineProgressTest::drivesTheControlAsTheEngineDoes()
{
    QWidget host;
    host.show();
    TallylineProgress progress(&host, PluginFolder());
    QVERIFY(progress.IsLoaded());
    QWidget* bar = progress.Widget();
    bar->setProperty("TextVisible", true);

    zlm::ProgressSink& sink = progress;
    sink.SetTextVisible(false);
    sink.SetVisible(true);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->property("TextVisible").toBool(), false);
    for (std::int16_t v : {0, 12, 12, 57, 99}) {
        sink.SetValue(v);
        sink.Refresh();
        QCOMPARE(bar->property("Value").toInt(), int(v));
    }
    sink.SetVisible(false);
    QVERIFY(!bar->isVisible());
}

void TallylineProgressTest::repaintsOnlyWhenSomethingChanged()
{
    QWidget host;
    host.resize(500, 40);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    TallylineProgress progress(&host, PluginFolder());
    QVERIFY(progress.IsLoaded());
    PaintCounter counter;
    progress.Widget()->installEventFilter(&counter);

    progress.SetTextVisible(false);
    progress.SetVisible(true);
    progress.Refresh();
    QCOMPARE(counter.paints, 1); // just shown: painted although the value is unchanged

    // A run of 6,600 placements: the value climbs through 0..99, one repaint per new value.
    QElapsedTimer timer;
    timer.start();
    const int placements = 6600;
    for (int i = 0; i < placements; ++i) {
        progress.SetValue(static_cast<std::int16_t>(i * 100 / placements));
        progress.Refresh();
    }
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(counter.paints, 1 + 99);
    qInfo("6600 placements: %lld ms, %d repaints", elapsed, counter.paints);
    QVERIFY(elapsed < 2000);

    progress.Refresh();
    QCOMPARE(counter.paints, 100);
    progress.SetVisible(false);
}

void TallylineProgressTest::runsWithoutThePlugin_data()
{
    QTest::addColumn<bool>("withJunkLibrary");
    QTest::newRow("empty folder") << false;
    QTest::newRow("folder with a library that is no plugin") << true;
}

void TallylineProgressTest::runsWithoutThePlugin()
{
    QFETCH(bool, withJunkLibrary);
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    if (withJunkLibrary) {
        QFile junk(empty.filePath(QStringLiteral("libCorvane_Tallyline.so")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a library");
    }

    QWidget host;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Tallyline.*not found.*without")));
    TallylineProgress progress(&host, {empty.path()});
    QVERIFY(!progress.IsLoaded());
    QCOMPARE(progress.Widget(), nullptr);
    QVERIFY(host.children().isEmpty());

    progress.SetTextVisible(false);
    progress.SetVisible(true);
    progress.SetValue(50);
    progress.Refresh();
    progress.SetVisible(false);
    QVERIFY(host.children().isEmpty());
}

void TallylineProgressTest::survivesTheHostDeletingTheControl()
{
    auto host = std::make_unique<QWidget>();
    TallylineProgress progress(host.get(), PluginFolder());
    QVERIFY(progress.IsLoaded());
    host.reset();
    QVERIFY(!progress.IsLoaded());
    QCOMPARE(progress.Widget(), nullptr);
    progress.SetVisible(true);
    progress.SetValue(10);
    progress.Refresh();
}

void TallylineProgressTest::searchesTheEnvironmentFirst()
{
    const QString appFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/zlm-plugins");
    qputenv("ZLM_PLUGIN_PATH", QStringLiteral("/first%1/second").arg(QDir::listSeparator()).toLocal8Bit());
    const QStringList withOverride = TallylineProgress::DefaultSearchFolders();
    qunsetenv("ZLM_PLUGIN_PATH");
    const QStringList plain = TallylineProgress::DefaultSearchFolders();

    QCOMPARE(withOverride.mid(0, 3), (QStringList{"/first", "/second", appFolder}));
    QCOMPARE(plain.first(), appFolder);
    // Then the configured install folder, then the same folder relative to the executable.
    QCOMPARE(plain.size(), 3);
    QVERIFY(plain.at(1).endsWith(QStringLiteral("/zlm/plugins")));
    QCOMPARE(plain.last(), QDir::cleanPath(appFolder + QStringLiteral("/../../lib/zlm/plugins")));

    // The default folders find the plugin the build puts next to the executables.
    qputenv("ZLM_PLUGIN_PATH", TALLYLINE_PLUGIN_DIR);
    QWidget host;
    TallylineProgress progress(&host);
    qunsetenv("ZLM_PLUGIN_PATH");
    QVERIFY(progress.IsLoaded());
}

QTEST_MAIN(TallylineProgressTest)
#include "TallylineProgressTest.moc"
