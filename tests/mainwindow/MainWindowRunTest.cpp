// The main window's commands on results: Simulate (compared with zlm-batch),
// its refusals, Save As, Ctrl+C and Plot.

#include "analysis/ResultsTable.h"
#include "commands/SummaryWriter.h"
#include "graph/GraphControl.h"
#include "graph/LocaleText.h"
#include "mainwindow/ResultsGridView.h"
#include "mainwindow/frmSkiMain.h"
#include "support/RunWaiting.h"
#include "support/WindowTestSupport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using zlm::frmSkiMain;
using zlm::test::FakeUserDialogs;

namespace {

QString Cell(const frmSkiMain& window, int row, int col)
{
    return QString::fromStdString(window.Grid().TextMatrix(row, col));
}

QByteArray GridBytes(const frmSkiMain& window, const char* word)
{
    return QByteArray::fromStdString(zlm::SummaryText(
        window.Grid(), std::string_view(word) == "comma" ? zlm::Delimiter::Comma : zlm::Delimiter::Space));
}

} // namespace

class MainWindowRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void simulateMatchesBatch_data();
    void simulateMatchesBatch();
    void refusals_data();
    void refusals();
    void saveAs_data();
    void saveAs();
    void saveAsFailure_data();
    void saveAsFailure();
    void copy_data();
    void copy();
    void plotOnlyWithResults();
    void plotOpensTheGraphWindow();
    void graphUsesTheRunsSectionLength();

private:
    QTemporaryDir dir_;
    QString road_;
};

void MainWindowRunTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    road_ = dir_.filePath("road.erd");
    // 2,400 points at 0.25 ft: 75 placements, every third one over the threshold.
    zlm::test::WriteFile(road_, zlm::test::ErdText("Test road", 0.25, zlm::test::BumpyRoad(2400)));
}

void MainWindowRunTest::simulateMatchesBatch_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("firstHeader");

    const QString samples = QStringLiteral(ZLM_SOURCE_DIR) + "/samples/";
    QTest::newRow("placement list") << QString() << QString() << "Station (ft)";
    QTest::newRow("section summary") << QString() << "100"
                                     << "Section";
    QTest::newRow("text that is no number lists placements") << QString() << "abc"
                                                             << "Station (ft)";
    QTest::newRow("bundled two-channel sample") << samples + "two-channel.erd"
                                                << "500"
                                                << "Section";
    QTest::newRow("bundled column-text sample") << samples + "column-text.dat" << QString() << "Station (ft)";
}

void MainWindowRunTest::simulateMatchesBatch()
{
    QFETCH(QString, profile);
    QFETCH(QString, section);
    QFETCH(QString, firstHeader);
    if (profile.isEmpty()) {
        profile = road_;
    }
    if (!QFile::exists(profile)) {
        QSKIP("the bundled sample is not there yet");
    }
    if (QLocale::system().decimalPoint() != ".") {
        QSKIP("the comparison with zlm-batch under LC_ALL=C needs a \".\" decimal separator");
    }

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(profile);
    QVERIFY(dialogs.messages.empty());
    auto* check = window.findChild<QAbstractButton*>("chkSection");
    if (!section.isEmpty()) {
        check->click();
        window.findChild<QLineEdit*>("txtSectionLength")->setText(section);
    }
    QVERIFY(zlm::test::SimulateAndWait(window));
    QVERIFY(dialogs.messages.empty());
    QVERIFY(window.ResultsValid());
    QCOMPARE(Cell(window, 0, 0), firstHeader);
    QVERIFY(window.Grid().Rows() > 2);
    QCOMPARE(window.State().workingElevations.size(), window.State().profile.elevations.size() + 1);
    QCOMPARE(window.State().workingElevations.back(), 0.0);

    // The view shows what the grid holds.
    auto* view = window.findChild<zlm::ResultsGridView*>("grdSKI");
    QCOMPARE(view->model()->rowCount(), window.Grid().Rows() - 1);
    QCOMPARE(view->model()->headerData(0, Qt::Horizontal).toString(), firstHeader);
    QCOMPARE(view->model()->index(0, 1).data().toString(), Cell(window, 1, 1));

    // The grid reads the results as it shows them; it is what filling it would write.
    zlm::ResultsGrid filled;
    filled.SetWidth(window.Grid().Width());
    zlm::LayoutResultsHeader(filled, window.State().units);
    zlm::FillResultsTable(filled, window.State().straightedge.results, window.State().units,
                          zlm::LocaleDecimalSeparator());
    QCOMPARE(window.Grid().Rows(), filled.Rows());
    QCOMPARE(window.Grid().Row(), filled.Row());
    QCOMPARE(window.Grid().Col(), filled.Col());
    for (int r = 0; r < filled.Rows(); ++r) {
        for (int c = 0; c < filled.Cols(); ++c) {
            QCOMPARE(window.Grid().TextMatrix(r, c), filled.TextMatrix(r, c));
            QVERIFY(window.Grid().CellBackColor(r, c) == filled.CellBackColor(r, c));
            QVERIFY(window.Grid().CellAlignmentAt(r, c) == filled.CellAlignmentAt(r, c));
        }
    }

    // Running again gives the same table.
    const QByteArray first = GridBytes(window, "comma");
    QVERIFY(zlm::test::SimulateAndWait(window));
    QCOMPARE(GridBytes(window, "comma"), first);

#ifdef ZLM_BATCH_PATH
    QProcess batch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C");
    batch.setProcessEnvironment(environment);
    QStringList arguments;
    if (!section.isEmpty()) {
        arguments << "--section" << section;
    }
    arguments << profile;
    batch.start(ZLM_BATCH_PATH, arguments);
    QVERIFY(batch.waitForFinished(60000));
    QCOMPARE(batch.exitCode(), 0);
    QCOMPARE(batch.readAllStandardOutput(), first);
#else
    QSKIP("zlm-batch is not built");
#endif
}

void MainWindowRunTest::refusals_data()
{
    QTest::addColumn<QString>("profile"); // empty: none opened
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("no profile") << QString() << QString() << "No profile";
    QTest::newRow("section too short") << "road"
                                       << "0.1"
                                       << "section length";
    QTest::newRow("profile too short") << "short" << QString() << "too short";
    QTest::newRow("interval too large") << "coarse" << QString() << "interval";
}

void MainWindowRunTest::refusals()
{
    QFETCH(QString, profile);
    QFETCH(QString, section);
    QFETCH(QString, mentions);

    const QString shortRoad = dir_.filePath("short.erd");
    zlm::test::WriteFile(shortRoad, zlm::test::ErdText("Short", 0.25, std::vector<double>(64, 0.0)));
    const QString coarseRoad = dir_.filePath("coarse.erd");
    zlm::test::WriteFile(coarseRoad, zlm::test::ErdText("Coarse", 20.0, std::vector<double>(64, 0.0)));

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    if (!profile.isEmpty()) {
        // A run first, so that the refusal has results to leave alone.
        window.OpenProfile(road_);
        QVERIFY(zlm::test::SimulateAndWait(window));
        QVERIFY(window.ResultsValid());
        if (profile == "short") {
            window.OpenProfile(shortRoad);
        } else if (profile == "coarse") {
            window.OpenProfile(coarseRoad);
        }
        QVERIFY(dialogs.messages.empty());
    }
    window.findChild<QAbstractButton*>("chkSection")->click();
    window.findChild<QLineEdit*>("txtSectionLength")->setText(section);
    const bool validBefore = window.ResultsValid();
    const QByteArray gridBefore = GridBytes(window, "space");
    const auto deviationsBefore = window.State().straightedge.results.placements.size();

    QVERIFY(zlm::test::SimulateAndWait(window));

    QCOMPARE(int(dialogs.messages.size()), 1);
    QCOMPARE(dialogs.messages[0].title, QString("Ski Error"));
    QCOMPARE(int(dialogs.messages[0].icon), int(QMessageBox::Warning));
    QVERIFY2(dialogs.messages[0].text.contains(mentions, Qt::CaseInsensitive), qPrintable(dialogs.messages[0].text));
    QCOMPARE(window.ResultsValid(), validBefore);
    QCOMPARE(GridBytes(window, "space"), gridBefore);
    QCOMPARE(window.State().straightedge.results.placements.size(), deviationsBefore);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    for (const char* name : {"cmdOpen", "cmdSimulate", "cmdSaveAs", "cmdAbout"}) {
        QVERIFY2(window.findChild<QWidget*>(name)->isEnabled(), name);
    }
    // Plot stays as the earlier results allow: a refused run neither makes nor removes any.
    QCOMPARE(window.findChild<QWidget*>("cmdPlot")->isEnabled(), validBefore);
}

void MainWindowRunTest::saveAs_data()
{
    QTest::addColumn<bool>("simulated");
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("firstLine");

    QTest::newRow("comma form") << true << 1 << "out.txt"
                                << "out.txt" << QByteArray("Station (ft),Maximum Dev. (in),Amount Exceeded (in)\r\n");
    QTest::newRow("space form") << true << 2 << "out.csv"
                                << "out.csv"
                                << QByteArray("Station (ft)     Maximum Dev. (in)     Amount Exceeded (in)\r\n");
    QTest::newRow("name without extension gets .txt") << true << 1 << "summary"
                                                      << "summary.txt"
                                                      << QByteArray("Station (ft),Maximum Dev. (in),Amount "
                                                                    "Exceeded (in)\r\n");
    QTest::newRow("before any run") << false << 1 << "empty.txt"
                                    << "empty.txt"
                                    << QByteArray("Station (ft),Maximum Dev. (in),Amount Exceeded (in)\r\n");
}

void MainWindowRunTest::saveAs()
{
    QFETCH(bool, simulated);
    QFETCH(int, filterIndex);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QByteArray, firstLine);

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    if (simulated) {
        window.OpenProfile(road_);
        QVERIFY(zlm::test::SimulateAndWait(window));
    }
    QTemporaryDir out;
    dialogs.saveAnswer = out.filePath(typed);
    dialogs.saveFilterAnswer = filterIndex;
    window.findChild<QPushButton*>("cmdSaveAs")->click();

    QCOMPARE(dialogs.saveAsked, 1);
    QCOMPARE(dialogs.saveTitle, QString("Save As"));
    QCOMPARE(dialogs.saveFilters, (QStringList{"Comma Delimited (*.txt)", "Space Delimited (*.txt)"}));
    QVERIFY(dialogs.messages.empty());
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{written});
    const QByteArray bytes = zlm::test::ReadFile(out.filePath(written));
    QCOMPARE(bytes, GridBytes(window, filterIndex == 1 ? "comma" : "space"));
    QVERIFY(bytes.startsWith(firstLine));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(int(bytes.count("\r\n")), window.Grid().Rows());
    if (!simulated) {
        QCOMPARE(bytes, firstLine + ",,\r\n");
    }
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);

    // Cancel writes nothing.
    dialogs.saveAnswer.clear();
    QFile::remove(out.filePath(written));
    window.cmdSaveAs_Click();
    QVERIFY(QDir(out.path()).entryList(QDir::Files).isEmpty());
}

void MainWindowRunTest::saveAsFailure_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("folder that does not exist") << "missing/folder/out.txt";
    QTest::newRow("a folder as the target") << "taken.txt";
}

void MainWindowRunTest::saveAsFailure()
{
    QFETCH(QString, target);
    QTemporaryDir out;
    QVERIFY(QDir(out.path()).mkdir("taken.txt"));
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(road_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    dialogs.saveAnswer = out.filePath(target);
    window.cmdSaveAs_Click();

    QCOMPARE(int(dialogs.messages.size()), 1);
    QCOMPARE(dialogs.messages[0].title, QString("File Error!"));
    QCOMPARE(int(dialogs.messages[0].icon), int(QMessageBox::Warning));
    QVERIFY2(dialogs.messages[0].text.contains(out.filePath(target)), qPrintable(dialogs.messages[0].text));
    QVERIFY(QFileInfo(out.filePath("taken.txt")).isDir());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

void MainWindowRunTest::copy_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("copies");
    QTest::newRow("Ctrl+C") << int(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+Shift+C") << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
    QTest::newRow("Ctrl+Alt+C") << int(Qt::ControlModifier | Qt::AltModifier) << false;
    QTest::newRow("plain C") << int(Qt::NoModifier) << false;
}

void MainWindowRunTest::copy()
{
    QFETCH(int, modifiers);
    QFETCH(bool, copies);

    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.OpenProfile(road_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    auto* view = window.findChild<zlm::ResultsGridView*>("grdSKI");
    view->setFocus();

    // No range selected: the current cell alone (grid row 1, column 0).
    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(view, Qt::Key_C, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(QGuiApplication::clipboard()->text(), copies ? Cell(window, 1, 0) : QString("before"));

    // Two rows by three columns: tabs between cells, a carriage return between rows.
    view->selectionModel()->select(QItemSelection(view->model()->index(1, 0), view->model()->index(2, 2)),
                                   QItemSelectionModel::ClearAndSelect);
    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(view, Qt::Key_C, Qt::KeyboardModifiers(modifiers));
    const QString expected = Cell(window, 2, 0) + "\t" + Cell(window, 2, 1) + "\t" + Cell(window, 2, 2) + "\n" +
                             Cell(window, 3, 0) + "\t" + Cell(window, 3, 1) + "\t" + Cell(window, 3, 2);
    QCOMPARE(QGuiApplication::clipboard()->text(), copies ? expected : QString("before"));
}

void MainWindowRunTest::plotOnlyWithResults()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    int plots = 0;
    bool hourglass = false;
    window.SetPlotWindowOpener([&](frmSkiMain& opened) {
        ++plots;
        hourglass = QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        QCOMPARE(&opened, &window);
        QGuiApplication::restoreOverrideCursor();
    });
    auto* plot = window.findChild<QPushButton*>("cmdPlot");

    QVERIFY(!plot->isEnabled());
    plot->click();
    QCOMPARE(plots, 0);
    window.OpenProfile(road_);
    QVERIFY(!plot->isEnabled());
    window.cmdPlot_Click();
    QCOMPARE(plots, 0);
    QVERIFY(zlm::test::SimulateAndWait(window));
    QVERIFY(plot->isEnabled());
    plot->click();
    QCOMPARE(plots, 1);
    QVERIFY(hourglass);
    window.OpenProfile(road_);
    QVERIFY(!plot->isEnabled());
    window.cmdPlot_Click();
    QCOMPARE(plots, 1);
    QVERIFY(dialogs.messages.empty());
}

void MainWindowRunTest::plotOpensTheGraphWindow()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(road_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    QString caption;
    bool childOfTheWindow = false;
    zlm::test::WhenModalOpens([&](QWidget* modal) {
        caption = modal->windowTitle();
        childOfTheWindow = modal->parentWidget() == &window;
        modal->close();
    });
    window.cmdPlot_Click();
    QCOMPARE(caption, QString("Deviation Graph"));
    QVERIFY(childOfTheWindow);
    // The graph window took the Plot command's hourglass down once it had loaded.
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

// The graph describes the run that produced the results, not the section box
// as it reads now: a length typed after a placement-list run draws no section lines.
void MainWindowRunTest::graphUsesTheRunsSectionLength()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(road_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    auto* box = window.findChild<QCheckBox*>("chkSection");
    box->click();
    window.findChild<QLineEdit*>("txtSectionLength")->setText("100");
    int sectionLines = -1;
    zlm::test::WhenModalOpens([&](QWidget* modal) {
        if (auto* graph = modal->findChild<zlm::GraphControl*>("Pesgoa1")) {
            sectionLines = 0;
            for (const auto& line : graph->Lines())
                sectionLines += line.orientation == Qt::Vertical ? 1 : 0;
        }
        modal->close();
    });
    window.cmdPlot_Click();
    QCOMPARE(sectionLines, 0);
}

QTEST_MAIN(MainWindowRunTest)
#include "MainWindowRunTest.moc"
