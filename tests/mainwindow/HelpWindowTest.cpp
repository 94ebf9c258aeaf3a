// The user guide window and the guide it shows: every file of docs/guide is
// compiled in, every link and picture resolves inside it, and the windows open
// it on F1.

#include "batch/BatchOptions.h"
#include "mainwindow/HelpWindow.h"

#include "graph/frmSkiPlot.h"
#include "mainwindow/frmSkiMain.h"
#include "support/RunWaiting.h"
#include "support/WindowTestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

using zlm::HelpWindow;

namespace {

const QString kGuide = QStringLiteral(":/guide");

QString ReadText(const QString& path)
{
    return QString::fromUtf8(zlm::test::ReadFile(path));
}

QStringList GuidePages()
{
    return QDir(kGuide).entryList({"*.html"}, QDir::Files, QDir::Name);
}

/** The targets of a page's links, pictures and style sheets, as written. */
QStringList LinksOf(const QString& html)
{
    QStringList links;
    static const QRegularExpression link(QStringLiteral(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re"));
    for (auto it = link.globalMatch(html); it.hasNext();) {
        links << it.next().captured(1);
    }
    return links;
}

bool HasAnchor(const QString& html, const QString& anchor)
{
    return html.contains(QStringLiteral("id=\"%1\"").arg(anchor)) ||
           html.contains(QStringLiteral("name=\"%1\"").arg(anchor));
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyGuideFileIsCompiledIn();
    void everyLinkResolves();
    void pagesShowWithTheirPictures();
    void describesEveryCommandAndOption();
    void backForwardContentsAndEscape();
    void f1InTheGraphOpensItsPage();
};

void HelpWindowTest::initTestCase()
{
    // The first guide window makes the resources available.
    HelpWindow help;
    QVERIFY(QFile::exists(kGuide + "/index.html"));
}

void HelpWindowTest::everyGuideFileIsCompiledIn()
{
    const QString source = QStringLiteral(ZLM_SOURCE_DIR) + "/docs/guide";
    const QStringList onDisk = QDir(source).entryList(QDir::Files, QDir::Name);
    const QStringList compiled = QDir(kGuide).entryList(QDir::Files, QDir::Name);
    QCOMPARE(compiled, onDisk);
    for (const QString& name : onDisk) {
        QVERIFY2(zlm::test::ReadFile(source + "/" + name) == zlm::test::ReadFile(kGuide + "/" + name),
                 qPrintable(name));
    }
}

// Every href and src names a file of the guide (and an anchor in it, if any);
// nothing points outside the program.
void HelpWindowTest::everyLinkResolves()
{
    QStringList pages = GuidePages();
    QVERIFY(pages.contains("index.html"));
    int checked = 0;
    QSet<QString> reached = {"index.html"};
    for (const QString& page : pages) {
        const QString html = ReadText(kGuide + "/" + page);
        for (const QString& target : LinksOf(html)) {
            const QUrl url(target);
            QVERIFY2(url.scheme().isEmpty() && url.isRelative() && !target.startsWith('/'),
                     qPrintable(page + ": " + target + " leaves the guide"));
            const QString file = url.path().isEmpty() ? page : url.path();
            QVERIFY2(!file.contains('/'), qPrintable(page + ": " + target));
            QVERIFY2(QFile::exists(kGuide + "/" + file), qPrintable(page + ": " + target + " is not in the guide"));
            if (url.hasFragment()) {
                QVERIFY2(HasAnchor(ReadText(kGuide + "/" + file), url.fragment()),
                         qPrintable(page + ": " + target + " names no anchor there"));
            }
            reached << file;
            ++checked;
        }
    }
    QVERIFY(checked > 50);
    // Every page and picture is reached from some page.
    for (const QString& file : QDir(kGuide).entryList(QDir::Files)) {
        QVERIFY2(reached.contains(file), qPrintable(file + " is reached from no page"));
    }
}

void HelpWindowTest::pagesShowWithTheirPictures()
{
    HelpWindow help;
    for (const QString& page : GuidePages()) {
        help.ShowPage(page);
        QCOMPARE(help.Browser()->source(), HelpWindow::PageUrl(page));
        QVERIFY2(!help.Browser()->documentTitle().isEmpty(), qPrintable(page));
        QVERIFY2(help.Browser()->toPlainText().size() > 200, qPrintable(page));
        for (const QString& target : LinksOf(ReadText(kGuide + "/" + page))) {
            if (target.endsWith(".png")) {
                const QVariant picture = help.Browser()->loadResource(QTextDocument::ImageResource, QUrl(target));
                QVERIFY2(!QImage::fromData(picture.toByteArray()).isNull(), qPrintable(page + ": " + target));
            }
        }
    }
}

// The guide keeps up with the program: every option zlm-batch's usage lists and
// every command of the main window is described.
void HelpWindowTest::describesEveryCommandAndOption()
{
    const QString batch = ReadText(kGuide + "/batch.html");
    const QRegularExpression option(QStringLiteral("\\n  (--[a-z-]+)"));
    int options = 0;
    for (const QRegularExpressionMatch& match : option.globalMatch(QString::fromStdString(zlm::BatchUsage()))) {
        QVERIFY2(batch.contains(match.captured(1)), qPrintable(match.captured(1)));
        ++options;
    }
    QVERIFY(options >= 15);
    QString all;
    for (const QString& page : GuidePages()) {
        all += ReadText(kGuide + "/" + page);
    }
    for (const char* command : {"Browse", "Simulate", "Method...", "Save As...", "Plot", "Corrections...",
                                "Report...", "About", "Ride Quality..."}) {
        QVERIFY2(all.contains(QLatin1String(command)), command);
    }
}

void HelpWindowTest::backForwardContentsAndEscape()
{
    QWidget owner;
    HelpWindow* help = HelpWindow::ShowFor(&owner, "graph.html#keys");
    QVERIFY(help->isWindow());
    QCOMPARE(help->parent(), &owner);
    QCOMPARE(help->Browser()->source(), HelpWindow::PageUrl("graph.html#keys"));
    auto* back = help->findChild<QPushButton*>("cmdBack");
    auto* forward = help->findChild<QPushButton*>("cmdForward");
    QVERIFY(!back->isEnabled());

    help->findChild<QPushButton*>("cmdContents")->click();
    QCOMPARE(help->Browser()->source(), HelpWindow::PageUrl("index.html"));
    QVERIFY(back->isEnabled());
    back->click();
    QCOMPARE(help->Browser()->source(), HelpWindow::PageUrl("graph.html#keys"));
    QVERIFY(forward->isEnabled());
    forward->click();
    QCOMPARE(help->Browser()->source(), HelpWindow::PageUrl("index.html"));

    QVERIFY(QTest::qWaitForWindowExposed(help));
    QTest::keyClick(help, Qt::Key_Escape);
    QVERIFY(!help->isVisible());
    QCOMPARE(HelpWindow::ShowFor(&owner), help);
}

// F1 in the graph window opens the guide at the graph's page, in a window that
// belongs to the graph window (which is modal) and closes with it.
void HelpWindowTest::f1InTheGraphOpensItsPage()
{
    QTemporaryDir dir;
    const QString road = dir.filePath("road.erd");
    zlm::test::WriteFile(road, zlm::test::ErdText("Road", 0.25, zlm::test::BumpyRoad(400)));
    zlm::test::FakeUserDialogs dialogs;
    zlm::frmSkiMain window(&dialogs);
    window.show();
    window.OpenProfile(road);
    QVERIFY(zlm::test::SimulateAndWait(window));
    QVERIFY(window.ResultsValid());

    QUrl shown;
    bool ownedByTheGraph = false;
    zlm::test::WhenModalOpens([&](QWidget* modal) {
        QVERIFY(qobject_cast<zlm::frmSkiPlot*>(modal));
        emit static_cast<zlm::frmSkiPlot*>(modal)->HelpRequested();
        if (auto* help = modal->findChild<HelpWindow*>()) {
            shown = help->Browser()->source();
            ownedByTheGraph = help->isVisible() && help->parent() == modal;
        }
        modal->close();
    });
    window.cmdPlot_Click();
    QCOMPARE(shown, HelpWindow::PageUrl("graph.html"));
    QVERIFY(ownedByTheGraph);
    QVERIFY(window.findChild<HelpWindow*>() == nullptr);
}

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
