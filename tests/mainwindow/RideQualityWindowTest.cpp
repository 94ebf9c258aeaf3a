// The Ride Quality window: the main window's command, the settings' refusals,
// the tables against the core, the CSV files, the zoom to an area and Cancel.

#include "mainwindow/RideQualityWindow.h"

#include "analysis/DisplayFormat.h"
#include "commands/RideQualityCommand.h"
#include "commands/SessionState.h"
#include "graph/GraphControl.h"
#include "graph/RideQualityGraph.h"
#include "mainwindow/HelpWindow.h"
#include "mainwindow/RideQualityLauncher.h"
#include "mainwindow/RideQualitySettings.h"
#include "mainwindow/frmSkiMain.h"
#include "ride_quality/RideQualityText.h"
#include "support/WindowTestSupport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <cmath>

using zlm::RideQualityWindow;
using zlm::test::FakeUserDialogs;

namespace {

/**
 * A two-path ERD road of 600 ft at 0.25 ft: level but for a rough stretch of
 * short waves from 200 to 260 ft (the right path rougher), so that one area of
 * localized roughness stands out and the sections differ.
 */
QByteArray TwoPathRoad()
{
    const int points = 2401;
    QByteArray text = "ERDFILEV2.00\r\n2," + QByteArray::number(points) +
                      ",0,0,0,0.2500\r\nTITLE   Two paths\r\nUNITSNAMft\r\nEND\r\n";
    for (int i = 0; i < points; ++i) {
        const double x = 0.25 * i;
        const double wave = x >= 200.0 && x <= 260.0 ? std::sin(x * 2.0 * M_PI / 6.0) : 0.0;
        text += QByteArray::number(0.01 * wave + 0.0005 * std::sin(x / 9.0), 'f', 5) + " " +
                QByteArray::number(0.015 * wave, 'f', 5) + "\r\n";
    }
    return text;
}

/** One profile of the same road: the left path alone, in a one-channel ERD file. */
QByteArray OneProfileRoad()
{
    std::vector<double> elevations;
    for (int i = 0; i < 2401; ++i) {
        const double x = 0.25 * i;
        const double wave = x >= 200.0 && x <= 260.0 ? std::sin(x * 2.0 * M_PI / 6.0) : 0.0;
        elevations.push_back(0.01 * wave + 0.0005 * std::sin(x / 9.0));
    }
    return zlm::test::ErdText("One path", 0.25, elevations);
}

/** The core's own analysis of the file, as zlm-batch makes it. */
zlm::RideQualityResults CoreResults(const QString& path, const zlm::RideQualityMethod& method)
{
    const zlm::RidePathsRead read =
        zlm::ReadRidePaths(QFile::encodeName(path).toStdString(), {}, zlm::UnitSystem::US, {});
    if (!read.loaded)
        qFatal("the file was refused: %s", read.message.c_str());
    zlm::NullProgress progress;
    const zlm::RideQualityOutcome outcome =
        zlm::AnalyseRideQuality(read.left.elevations, read.right.elevations, read.left.interval, method, progress);
    if (!outcome.ok)
        qFatal("the analysis was refused: %s", outcome.refusal.c_str());
    return outcome.results;
}

zlm::RideQualityMethod WindowDefaults()
{
    zlm::RideQualityMethod method = zlm::DefaultRideQualityMethod(zlm::UnitSystem::US);
    method.sectionLength = zlm::DefaultRideSectionLength(zlm::UnitSystem::US);
    method.localized = true;
    return method;
}

/** Lets a queued start happen, then waits for the analysis to end. */
bool WaitForAnalysis(RideQualityWindow& window)
{
    QSignalSpy finished(&window, &RideQualityWindow::AnalysisFinished);
    QCoreApplication::processEvents();
    if (window.IsRunning() && finished.isEmpty())
        finished.wait(20000);
    return !window.IsRunning();
}

/** Waits, with the event loop running, until the report the window started has ended. */
bool WaitForReport(RideQualityWindow& window)
{
    QSignalSpy finished(&window, &RideQualityWindow::ReportFinished);
    if (window.IsRunning() && finished.isEmpty())
        finished.wait(60000);
    return !window.IsRunning();
}

QStringList Row(const QTableView& view, int row, int role = Qt::DisplayRole)
{
    QStringList cells;
    for (int column = 0; column < view.model()->columnCount(); ++column)
        cells.append(view.model()->index(row, column).data(role).toString());
    return cells;
}

} // namespace

class RideQualityWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void commandEnabledOnceAProfileIsOpen();
    void delimitedUnitsAskedAgain();
    void settingsRefused_data();
    void settingsRefused();
    void tablesShowTheCoreResults_data();
    void tablesShowTheCoreResults();
    void saveAsWritesTheBatchBytes();
    void reportWritesTheRideReport();
    void activatingAnAreaZoomsTheGraphToIt();
    void cancelKeepsTheLastResults();
    void settingsRememberedPerUnitSystem();

private:
    std::unique_ptr<RideQualityWindow> OpenWindow(zlm::SessionState& state, const QString& path = QString());

    QTemporaryDir dir_;
    QString road_;
    FakeUserDialogs dialogs_;
};

void RideQualityWindowTest::init()
{
    QSettings().clear();
    road_ = dir_.filePath("two.erd");
    zlm::test::WriteFile(road_, TwoPathRoad());
    dialogs_ = FakeUserDialogs{};
}

std::unique_ptr<RideQualityWindow> RideQualityWindowTest::OpenWindow(zlm::SessionState& state, const QString& path)
{
    const QString road = path.isEmpty() ? road_ : path;
    zlm::ChannelNumber channel = 1;
    const zlm::OpenOutcome open = zlm::ReadProfileFile(QFile::encodeName(road).toStdString(), channel,
                                                       [](zlm::ChannelNumber c, const auto&) { return c; });
    if (!open.loaded)
        qFatal("the road was refused: %s", open.message.c_str());
    state.profile = open.profile;
    auto window =
        std::make_unique<RideQualityWindow>(state, road, zlm::UnitSystem::US, zlm::DelimitedUnits{}, dialogs_);
    return window;
}

void RideQualityWindowTest::commandEnabledOnceAProfileIsOpen()
{
    zlm::frmSkiMain main(&dialogs_);
    auto* command = main.findChild<QPushButton*>("cmdRideQuality");
    QVERIFY(command != nullptr);
    QCOMPARE(command->text(), QStringLiteral("Ride &Quality..."));
    QVERIFY(!command->isEnabled());
    main.OpenProfile(road_);
    // No straightedge run is needed.
    QVERIFY(command->isEnabled());
    QVERIFY(!main.ResultsValid());
    command->click();
    auto* window = main.findChild<RideQualityWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QStringLiteral("Ride Quality"));
    QVERIFY(!window->isModal());
    QVERIFY(WaitForAnalysis(*window));
    QVERIFY(main.State().rideQuality.valid);
    QVERIFY(main.State().rideQuality.results.twoPaths);

    // F1 opens the guide's page; the command again raises the same window.
    QTest::keySequence(window, QKeySequence::HelpContents);
    auto* help = window->findChild<zlm::HelpWindow*>();
    QVERIFY(help != nullptr);
    QCOMPARE(help->Browser()->source(), zlm::HelpWindow::PageUrl("ride-quality.html"));
    command->click();
    QCOMPARE(main.findChildren<RideQualityWindow*>().size(), qsizetype{1});
    QCOMPARE(main.findChild<RideQualityWindow*>(), window);

    // The file opened again with other contents: the old results are not its own.
    const double mri = main.State().rideQuality.results.mri;
    QByteArray changed = TwoPathRoad().replace("\r\n0.0", "\r\n0.1");
    zlm::test::WriteFile(road_, changed);
    main.OpenProfile(road_);
    command->click();
    auto* fresh = main.findChild<RideQualityWindow*>();
    QVERIFY(fresh != nullptr);
    QCOMPARE(main.findChildren<RideQualityWindow*>().size(), qsizetype{1});
    QVERIFY(!main.State().rideQuality.valid);
    QVERIFY(WaitForAnalysis(*fresh));
    QVERIFY(main.State().rideQuality.valid);
    QVERIFY(main.State().rideQuality.results.mri != mri);
}

// A delimited file without units needs them for the paths read again: asked as
// the open asks them; a cancelled question opens no window.
void RideQualityWindowTest::delimitedUnitsAskedAgain()
{
    QByteArray text;
    for (int i = 0; i < 2000; ++i)
        text += QByteArray::number(0.01 * std::sin(i * 0.3), 'f', 5) + "\n";
    const QString path = dir_.filePath("bare.csv");
    zlm::test::WriteFile(path, text);
    dialogs_.unitsAnswer = zlm::DelimitedUnits{zlm::LengthUnit::Foot, zlm::LengthUnit::Foot, 0.25};
    zlm::frmSkiMain main(&dialogs_);
    main.OpenProfile(path);
    auto* command = main.findChild<QPushButton*>("cmdRideQuality");
    QVERIFY(command->isEnabled());
    QCOMPARE(dialogs_.unitsAsked, 1);

    dialogs_.unitsAnswer.reset();
    command->click();
    QCOMPARE(dialogs_.unitsAsked, 2);
    QVERIFY(main.findChild<RideQualityWindow*>() == nullptr);

    dialogs_.unitsAnswer = zlm::DelimitedUnits{zlm::LengthUnit::Foot, zlm::LengthUnit::Foot, 0.25};
    command->click();
    auto* window = main.findChild<RideQualityWindow*>();
    QVERIFY(window != nullptr);
    QVERIFY(WaitForAnalysis(*window));
    QVERIFY2(main.State().rideQuality.valid, qPrintable(window->ProblemText()));
    QCOMPARE(main.State().rideQuality.results.pointCount, 2000);
    QCOMPARE(main.State().rideQuality.results.interval, 0.25);
}

void RideQualityWindowTest::settingsRefused_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal"); ///< empty: the core's own text for the value
    QTest::newRow("section not a number") << "txtSectionLength"
                                          << "abc"
                                          << "The section length \"abc\" is not a number.";
    QTest::newRow("section zero") << "txtSectionLength"
                                  << "0"
                                  << "The section length must be above 0 (clear Sections for one row).";
    QTest::newRow("section below slope base") << "txtSectionLength"
                                              << "0.5"
                                              << "";
    QTest::newRow("base length negative") << "txtBaseLength"
                                          << "-1"
                                          << "";
    QTest::newRow("threshold zero") << "txtThreshold"
                                    << "0"
                                    << "";
    QTest::newRow("base longer than the road") << "txtBaseLength"
                                               << "1000"
                                               << "";
}

void RideQualityWindowTest::settingsRefused()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    zlm::SessionState state;
    auto window = OpenWindow(state);
    QVERIFY(WaitForAnalysis(*window));
    const zlm::RideQualityResults before = state.rideQuality.results;
    window->findChild<QLineEdit*>(box)->setText(text);
    if (refusal.isEmpty()) {
        zlm::RideQualityMethod method = WindowDefaults();
        double value = text.toDouble();
        (box == "txtSectionLength" ? method.sectionLength
         : box == "txtBaseLength"  ? method.baseLength
                                   : method.threshold) = value;
        refusal = QString::fromStdString(zlm::RideQualityRefusal(2401, 0.25, method));
        QVERIFY(!refusal.isEmpty());
    }
    QCOMPARE(window->ProblemText(), refusal);
    QVERIFY(!window->findChild<QPushButton*>("cmdAnalyse")->isEnabled());
    window->Analyse();
    QVERIFY(!window->IsRunning());
    QCOMPARE(state.rideQuality.results.method, before.method);
}

void RideQualityWindowTest::tablesShowTheCoreResults_data()
{
    QTest::addColumn<bool>("twoPaths");
    QTest::newRow("two wheel paths") << true;
    QTest::newRow("one profile") << false;
}

void RideQualityWindowTest::tablesShowTheCoreResults()
{
    QFETCH(bool, twoPaths);
    const QString road = twoPaths ? road_ : dir_.filePath("one.erd");
    if (!twoPaths)
        zlm::test::WriteFile(road, OneProfileRoad());
    const int columns = twoPaths ? 6 : 3;
    const int overallColumn = twoPaths ? 4 : 2; // MRI, or the one IRI
    zlm::SessionState state;
    auto window = OpenWindow(state, road);
    QVERIFY(WaitForAnalysis(*window));
    const zlm::RideQualityResults core = CoreResults(road, WindowDefaults());
    QCOMPARE(state.rideQuality.results.twoPaths, twoPaths);
    const zlm::RideQualityResults& shown = state.rideQuality.results;
    QCOMPARE(shown.iriLeft, core.iriLeft);
    QCOMPARE(shown.mri, core.mri);
    QCOMPARE(shown.hri, core.hri);
    QVERIFY(!core.areas.empty());

    QTableView* sections = window->SectionsView();
    QCOMPARE(sections->model()->rowCount(), static_cast<int>(core.sections.size()));
    QCOMPARE(sections->model()->columnCount(), columns);
    // Every cell's number is the core's, and its text the CSV's (the C locale here).
    const QStringList csv = QString::fromStdString(zlm::RideSectionsCsv(core)).split("\r\n", Qt::SkipEmptyParts);
    for (int row = 0; row < sections->model()->rowCount(); ++row) {
        QCOMPARE(Row(*sections, row).join(','), csv[row + 1]);
        QCOMPARE(sections->model()->index(row, 2).data(Qt::UserRole).toDouble(), core.sections[row].iriLeft);
    }
    QStringList headers;
    for (int column = 0; column < columns; ++column)
        headers.append(sections->model()->headerData(column, Qt::Horizontal).toString());
    QCOMPARE(headers.join(','), csv[0]);

    QTableView* areas = window->AreasView();
    const QStringList areaCsv = QString::fromStdString(zlm::RoughAreasCsv(core)).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(areas->model()->rowCount(), static_cast<int>(core.areas.size()));
    for (int row = 0; row < areas->model()->rowCount(); ++row)
        QCOMPARE(Row(*areas, row).join(','), areaCsv[row + 1]);

    // Sorted by MRI, highest first, then Ctrl+C copies whole rows in that order.
    sections->sortByColumn(overallColumn, Qt::DescendingOrder);
    sections->selectAll();
    QTest::keySequence(sections, QKeySequence::Copy);
    const QStringList copied = QGuiApplication::clipboard()->text().split('\n');
    QCOMPARE(copied.size(), static_cast<int>(core.sections.size()));
    QVERIFY(sections->model()->index(0, overallColumn).data(Qt::UserRole).toDouble() >=
            sections->model()->index(1, overallColumn).data(Qt::UserRole).toDouble());
    QCOMPARE(copied[0], Row(*sections, 0).join('\t'));

    const QString overall = window->OverallText();
    const std::string figure = twoPaths ? "MRI = " + zlm::FormatNumber(core.mri, "0.00", '.')
                                        : "IRI = " + zlm::FormatNumber(core.iriLeft, "0.00", '.');
    QVERIFY2(overall.contains(QString::fromStdString(figure + " in/mi")), qPrintable(overall));
    QVERIFY(overall.contains(QStringLiteral("Localized roughness: %1 area").arg(core.areas.size())));
}

void RideQualityWindowTest::saveAsWritesTheBatchBytes()
{
    zlm::SessionState state;
    auto window = OpenWindow(state);
    QVERIFY(WaitForAnalysis(*window));
    const zlm::RideQualityResults core = CoreResults(road_, WindowDefaults());
    dialogs_.saveAnswer = dir_.filePath("sections"); // ".csv" is added
    window->SaveSectionsAs();
    QCOMPARE(zlm::test::ReadFile(dir_.filePath("sections.csv")), QByteArray::fromStdString(zlm::RideSectionsCsv(core)));
    dialogs_.saveAnswer = dir_.filePath("areas.csv");
    window->findChild<QPushButton*>("cmdSaveAreas")->click();
    QCOMPARE(zlm::test::ReadFile(dir_.filePath("areas.csv")), QByteArray::fromStdString(zlm::RoughAreasCsv(core)));
    QVERIFY(dialogs_.messages.empty());

    // A folder that cannot be written is a "File Error!", not a silent success.
    dialogs_.saveAnswer = dir_.filePath("missing/areas.csv");
    window->SaveAreasAs();
    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    QCOMPARE(dialogs_.messages[0].title, QStringLiteral("File Error!"));
}

void RideQualityWindowTest::reportWritesTheRideReport()
{
    zlm::SessionState state;
    auto window = OpenWindow(state);
    QVERIFY(WaitForAnalysis(*window));
    dialogs_.saveAnswer = dir_.filePath("ride"); // ".pdf" is added
    window->findChild<QPushButton*>("cmdReport")->click();
    QVERIFY(window->IsRunning()); // the pages are drawn between the window's events
    QVERIFY(!window->findChild<QPushButton*>("cmdAnalyse")->isEnabled());
    QVERIFY(WaitForReport(*window));
    QVERIFY2(dialogs_.messages.empty(), dialogs_.messages.empty() ? "" : qPrintable(dialogs_.messages[0].text));
    const QByteArray pdf = zlm::test::ReadFile(dir_.filePath("ride.pdf"));
    QVERIFY(pdf.startsWith("%PDF-"));
    // The document's title (in its metadata, as readers list it) names the report and the road.
    QVERIFY(pdf.contains("Evenrule (ZLM) ride-quality report: two.erd"));

    // A folder that cannot be written is a "File Error!" naming the file, and nothing is left.
    dialogs_.saveAnswer = dir_.filePath("missing/ride.pdf");
    window->WriteReport();
    QVERIFY(WaitForReport(*window));
    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    QCOMPARE(dialogs_.messages[0].title, QStringLiteral("File Error!"));
    QVERIFY2(dialogs_.messages[0].text.contains(QStringLiteral("missing/ride.pdf")),
             qPrintable(dialogs_.messages[0].text));
    QVERIFY(!QFileInfo::exists(dir_.filePath("missing")));

    // Cancel stops the report before its next page: no file, no message, the results stay usable.
    dialogs_.saveAnswer = dir_.filePath("cancelled.pdf");
    window->WriteReport();
    window->findChild<QPushButton*>("cmdCancel")->click();
    QVERIFY(WaitForReport(*window));
    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    QVERIFY(!QFileInfo::exists(dir_.filePath("cancelled.pdf")));
    QVERIFY(window->findChild<QPushButton*>("cmdReport")->isEnabled());
}

void RideQualityWindowTest::activatingAnAreaZoomsTheGraphToIt()
{
    zlm::SessionState state;
    auto window = OpenWindow(state);
    QVERIFY(WaitForAnalysis(*window));
    std::optional<std::pair<double, double>> shown;
    int opened = 0;
    window->SetGraphOpener([&](std::optional<std::pair<double, double>> range) {
        shown = range;
        ++opened;
    });
    const zlm::RoughArea area = state.rideQuality.results.areas.at(0);
    QTableView* areas = window->AreasView();
    areas->setCurrentIndex(areas->model()->index(0, 2));
    QTest::keyClick(areas, Qt::Key_Return);
    QCOMPARE(opened, 1);
    QVERIFY(shown.has_value());
    QCOMPARE(shown->first, area.start - area.length / 4.0);
    QCOMPARE(shown->second, area.end + area.length / 4.0);
    window->findChild<QPushButton*>("cmdPlot")->click();
    QCOMPARE(opened, 2);
    QVERIFY(!shown.has_value());

    // The graph itself: the area shaded, the threshold drawn, the step line on the sections.
    zlm::GraphControl graph;
    zlm::FillRideQualityGraph(graph, state.rideQuality, road_, '.');
    QCOMPARE(graph.Bands().size(), static_cast<qsizetype>(state.rideQuality.results.areas.size()));
    QCOMPARE(graph.Bands()[0].start, area.start);
    QCOMPARE(graph.Lines().size(), qsizetype{1});
    QCOMPARE(graph.Lines()[0].value, 125.0);
    QCOMPARE(graph.SubsetCount(), 4); // continuous MRI, section MRI, two paths
    QCOMPARE(graph.MainTitle(), QString::fromStdString(zlm::DescribeRideMethod(state.rideQuality.results.method)));
    QCOMPARE(graph.Subtitle(), QStringLiteral("two.erd"));
    QVERIFY(graph.ExtraTitleLine(0).contains(QStringLiteral("MRI = ")));
}

void RideQualityWindowTest::cancelKeepsTheLastResults()
{
    zlm::SessionState state;
    auto window = OpenWindow(state);
    QVERIFY(WaitForAnalysis(*window));
    const zlm::RideQualityResults before = state.rideQuality.results;
    const int rows = window->SectionsView()->model()->rowCount();

    QSemaphore started;
    QSemaphore release;
    window->SetWorkerGate([&] {
        started.release();
        release.acquire();
    });
    window->show();
    window->findChild<QLineEdit*>("txtThreshold")->setText("300");
    window->Analyse();
    QVERIFY(window->IsRunning());
    QVERIFY(started.tryAcquire(1, 5000));
    QVERIFY(!window->findChild<QPushButton*>("cmdPlot")->isEnabled());
    QCOMPARE(window->cursor().shape(), Qt::BusyCursor);
    QTest::keyClick(window.get(), Qt::Key_Escape); // stops the run; the window stays
    release.release();
    QVERIFY(WaitForAnalysis(*window));
    QVERIFY(window->isVisible());
    QVERIFY(state.rideQuality.valid);
    QCOMPARE(state.rideQuality.results.method, before.method);
    QCOMPARE(state.rideQuality.results.areas.size(), before.areas.size());
    QCOMPARE(window->SectionsView()->model()->rowCount(), rows);
    QVERIFY(window->findChild<QPushButton*>("cmdPlot")->isEnabled());
    QVERIFY(window->cursor().shape() != Qt::BusyCursor);
    QTest::keyClick(window.get(), Qt::Key_Escape); // nothing runs: Esc closes
    QVERIFY(!window->isVisible());
}

void RideQualityWindowTest::settingsRememberedPerUnitSystem()
{
    zlm::SessionState state;
    {
        auto window = OpenWindow(state);
        QVERIFY(WaitForAnalysis(*window));
        window->findChild<QCheckBox*>("chkSections")->setChecked(false);
        window->findChild<QLineEdit*>("txtThreshold")->setText("150");
        window->Analyse();
        QVERIFY(WaitForAnalysis(*window));
        QCOMPARE(state.rideQuality.results.sections.size(), std::size_t{1});
        QCOMPARE(state.rideQuality.results.method.threshold, 150.0);
    }
    QSettings settings;
    zlm::RideQualitySettings remembered(settings);
    const zlm::RideQualityMethod us = remembered.Method(zlm::UnitSystem::US);
    QCOMPARE(us.threshold, 150.0);
    QCOMPARE(us.sectionLength, 0.0);
    QCOMPARE(remembered.SectionLengthOffered(zlm::UnitSystem::US), 528.0);
    // The other unit system keeps its own defaults: 100 m sections, 7.62 m, 2.0 m/km.
    zlm::RideQualityMethod si = zlm::DefaultRideQualityMethod(zlm::UnitSystem::SI);
    si.sectionLength = 100.0;
    si.localized = true;
    QCOMPARE(remembered.Method(zlm::UnitSystem::SI), si);
    // A damaged value reads as the default rather than blocking every run.
    settings.setValue("rideQuality/us/threshold", "abc");
    QCOMPARE(remembered.Method(zlm::UnitSystem::US).threshold, 125.0);

    // A new window offers what is remembered.
    settings.setValue("rideQuality/us/threshold", 140.0);
    auto window = OpenWindow(state);
    QCOMPARE(window->findChild<QLineEdit*>("txtThreshold")->text(), QStringLiteral("140"));
    QVERIFY(!window->findChild<QCheckBox*>("chkSections")->isChecked());
    QCOMPARE(window->findChild<QLineEdit*>("txtSectionLength")->text(), QStringLiteral("528"));
}

QTEST_MAIN(RideQualityWindowTest)
#include "RideQualityWindowTest.moc"
