// The Report command of the main window: enabled with Plot, the file name it
// writes, the replace question, and a failed write shown as Save As shows it.

#include "analysis/MethodPresets.h"
#include "mainwindow/ReportRunner.h"
#include "mainwindow/frmSkiMain.h"
#include "report/PdfReport.h"
#include "support/RunWaiting.h"
#include "support/WindowTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

using zlm::frmSkiMain;
using zlm::test::FakeUserDialogs;

namespace {

QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

/** Three channels at 0.25 ft; the third holds the bumpy road, the others are level. */
QByteArray ThreeChannelErd()
{
    QByteArray erd = "ERDFILEV2.00\r\n3,2400,0,0,0,0.2500\r\nUNITSNAMft\r\nEND\r\n";
    for (const double z : zlm::test::BumpyRoad(2400)) {
        erd += "0 0.01 " + QByteArray::number(z, 'f', 5) + "\r\n";
    }
    return erd;
}

} // namespace

class ReportCommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    // Each case starts from the default method: a case that changes the units saves them.
    void init() { QSettings().clear(); }
    void enabledExactlyWithPlot();
    void writesThePdf_data();
    void writesThePdf();
    void namesTheChannelAndUnitsRead_data();
    void namesTheChannelAndUnitsRead();
    void asksBeforeReplacingTheFileWithTheAddedExtension();
    void failure_data();
    void failure();
    void cancelWritesNothing();
    void endsWhereverStopped_data();
    void endsWhereverStopped();
    void delimitedUnitsOutliveAUnitsChange();

private:
    QTemporaryDir dir_;
    QString road_;
};

void ReportCommandTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    road_ = dir_.filePath("road.erd");
    zlm::test::WriteFile(road_, zlm::test::ErdText("Test road", 0.25, zlm::test::BumpyRoad(2400)));
}

void ReportCommandTest::enabledExactlyWithPlot()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    auto* report = window.findChild<QPushButton*>("cmdReport");
    auto* plot = window.findChild<QPushButton*>("cmdPlot");
    QVERIFY(report != nullptr);
    QVERIFY(!report->isEnabled());
    window.cmdReport_Click();
    QCOMPARE(dialogs.saveAsked, 0);
    window.OpenProfile(road_);
    QVERIFY(!report->isEnabled());
    QVERIFY(zlm::test::SimulateAndWait(window));
    QVERIFY(plot->isEnabled());
    QVERIFY(report->isEnabled());
    window.OpenProfile(road_);
    QCOMPARE(report->isEnabled(), plot->isEnabled());
    QVERIFY(!report->isEnabled());
}

void ReportCommandTest::writesThePdf_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "report"
                                  << "report.pdf";
    QTest::newRow("pdf in capitals") << "report.PDF"
                                     << "report.PDF";
    QTest::newRow("another extension") << "report.v2"
                                       << "report.v2.pdf";
}

void ReportCommandTest::writesThePdf()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    qputenv("SOURCE_DATE_EPOCH", "1700000000");
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(road_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    QTemporaryDir out;
    dialogs.saveAnswer = out.filePath(typed);
    QVERIFY(zlm::test::ReportAndWait(window));
    qunsetenv("SOURCE_DATE_EPOCH");

    QCOMPARE(dialogs.saveAsked, 1);
    QCOMPARE(dialogs.saveTitle, QString("Report"));
    QCOMPARE(dialogs.saveFilters, QStringList{"PDF Report (*.pdf)"});
    QVERIFY(dialogs.messages.empty());
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{written});
    const QString text = PdfText(out.filePath(written));
    QVERIFY2(text.contains(QRegularExpression("Full path +" + QRegularExpression::escape(road_))), qPrintable(text));
    QVERIFY(text.contains(QRegularExpression("Analysis time +2023-11-14 22:13:20 UTC")));
    // The command line as a shell reads it, its continued lines joined.
    const QString command = QString(text).replace(QRegularExpression(" \\\\\n +"), " ");
    QVERIFY2(command.contains("zlm-batch --units us --length 16 --step 8 --threshold 0.25 " + road_), qPrintable(text));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QVERIFY(window.findChild<QPushButton*>("cmdReport")->isEnabled());
}

void ReportCommandTest::namesTheChannelAndUnitsRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("channelChosen");
    QTest::addColumn<QString>("channelStated");
    QTest::addColumn<QString>("options"); // of the printed command, before the path
    QByteArray bare;
    for (const double z : zlm::test::BumpyRoad(2400)) {
        bare += QByteArray::number(z * 12.0, 'f', 4) + "\n";
    }
    QTest::newRow("channel 3 of three") << "road3.erd" << ThreeChannelErd() << 3 << "3"
                                        << " --channel 3";
    // A one-channel file reads its only channel, whatever was chosen for an earlier file.
    QTest::newRow("one channel after channel 3")
        << "road.erd" << zlm::test::ErdText("Test road", 0.25, zlm::test::BumpyRoad(2400)) << 3 << "1"
        << "";
    QTest::newRow("delimited, units from the window") << "bare.csv" << bare << 1 << "1"
                                                      << " --columns-units ft,in --interval 0.25";
}

void ReportCommandTest::namesTheChannelAndUnitsRead()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(int, channelChosen);
    QFETCH(QString, channelStated);
    QFETCH(QString, options);
    const QString road = dir_.filePath(file);
    zlm::test::WriteFile(road, bytes);
    FakeUserDialogs dialogs;
    dialogs.channelAnswer = channelChosen;
    dialogs.unitsAnswer = zlm::DelimitedUnits{zlm::LengthUnit::Foot, zlm::LengthUnit::Inch, 0.25};
    frmSkiMain window(&dialogs);
    // The channel chosen for an earlier file is the window's default for the next.
    zlm::test::WriteFile(dir_.filePath("earlier.erd"), ThreeChannelErd());
    window.OpenProfile(dir_.filePath("earlier.erd"));
    window.OpenProfile(road);
    QVERIFY(zlm::test::SimulateAndWait(window));
    QTemporaryDir out;
    dialogs.saveAnswer = out.filePath("r.pdf");
    QVERIFY(zlm::test::ReportAndWait(window));
    QVERIFY(dialogs.messages.empty());

    const QString text = PdfText(out.filePath("r.pdf"));
    QVERIFY2(text.contains(QRegularExpression("\n *Channel +" + channelStated + "\n")), qPrintable(text));
    const QString command = QString(text).replace(QRegularExpression(" \\\\\n +"), " ");
    QVERIFY2(command.contains("zlm-batch --units us --length 16 --step 8 --threshold 0.25" + options + " " + road),
             qPrintable(text));
}

void ReportCommandTest::asksBeforeReplacingTheFileWithTheAddedExtension()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(road_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    QTemporaryDir out;
    zlm::test::WriteFile(out.filePath("r.pdf"), "kept");
    dialogs.saveAnswer = out.filePath("r");
    dialogs.messageAnswer = QMessageBox::No;
    QVERIFY(!zlm::test::ReportAndWait(window)); // declined: no report is started
    QCOMPARE(int(dialogs.messages.size()), 1);
    QCOMPARE(dialogs.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(dialogs.messages[0].text.contains(out.filePath("r.pdf")));
    QCOMPARE(zlm::test::ReadFile(out.filePath("r.pdf")), QByteArray("kept"));

    dialogs.messageAnswer = QMessageBox::Yes;
    QVERIFY(zlm::test::ReportAndWait(window));
    QVERIFY(zlm::test::ReadFile(out.filePath("r.pdf")).startsWith("%PDF-"));
}

void ReportCommandTest::failure_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("profileGone"); // since the run, so that its checksum cannot be made
    QTest::newRow("folder that does not exist") << "missing/folder/out.pdf" << false;
    QTest::newRow("a folder as the target") << "taken.pdf" << false;
    QTest::newRow("the profile gone") << "out.pdf" << true;
}

void ReportCommandTest::failure()
{
    QFETCH(QString, target);
    QFETCH(bool, profileGone);
    QTemporaryDir out;
    QVERIFY(QDir(out.path()).mkdir("taken.pdf"));
    const QString road = dir_.filePath("going.erd");
    QFile::remove(road);
    QVERIFY(QFile::copy(road_, road));
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(road);
    QVERIFY(zlm::test::SimulateAndWait(window));
    if (profileGone)
        QVERIFY(QFile::remove(road));
    dialogs.saveAnswer = out.filePath(target);
    QVERIFY(zlm::test::ReportAndWait(window));
    QFile::remove(road);

    QCOMPARE(int(dialogs.messages.size()), 1);
    QCOMPARE(dialogs.messages[0].title, QString("File Error!"));
    QCOMPARE(int(dialogs.messages[0].icon), int(QMessageBox::Warning));
    const QString named = profileGone ? road : out.filePath(target);
    QVERIFY2(dialogs.messages[0].text.contains(named), qPrintable(dialogs.messages[0].text));
    QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"taken.pdf"});
    QVERIFY(QDir(out.filePath("taken.pdf")).isEmpty());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

// While the report is written the window is busy, with Cancel (as for Simulate); Cancel stops
// it before its next step and leaves no file.
void ReportCommandTest::cancelWritesNothing()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(road_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    QTemporaryDir out;
    dialogs.saveAnswer = out.filePath("r.pdf");
    QSignalSpy finished(&window, &frmSkiMain::ReportFinished);
    window.cmdReport_Click();
    QVERIFY(window.RunInProgress());
    auto* cancel = window.findChild<QPushButton*>("cmdCancel");
    QVERIFY(cancel->isVisibleTo(&window) && cancel->isEnabled());
    QVERIFY(!window.findChild<QPushButton*>("cmdSimulate")->isEnabled());
    cancel->click();
    QVERIFY(!finished.isEmpty() || finished.wait(60000));
    QVERIFY(!window.RunInProgress());
    QVERIFY(dialogs.messages.empty());
    QVERIFY(QDir(out.path()).isEmpty());
    QVERIFY(window.findChild<QPushButton*>("cmdReport")->isEnabled());
    QVERIFY(!cancel->isVisibleTo(&window));
}

// Report... is written on a worker thread while the window's thread records the graph pages.
// Cancelled or destroyed before its first step or among the graph pages (the worker cannot have
// ended: it waits for every graph page), it writes nothing and, cancelled, finishes once; left
// alone it writes the batch report's bytes, its progress never going back and ending at 100.
void ReportCommandTest::endsWhereverStopped_data()
{
    QTest::addColumn<int>("atPercent"); // stops at the first progress at or above it; -1: never
    QTest::addColumn<bool>("destroy");
    QTest::newRow("cancelled before its first step") << 0 << false;
    QTest::newRow("cancelled among the graph pages") << 20 << false;
    QTest::newRow("destroyed before its first step") << 0 << true;
    QTest::newRow("destroyed among the graph pages") << 20 << true;
    QTest::newRow("to the end") << -1 << false;
}

void ReportCommandTest::endsWhereverStopped()
{
    QFETCH(int, atPercent);
    QFETCH(bool, destroy);
    // Six graph pages, so that the graph is still being recorded at a fifth of the way.
    const QString road = dir_.filePath("long-road.erd");
    zlm::test::WriteFile(road, zlm::test::ErdText("Long road", 0.25, zlm::test::BumpyRoad(24000)));
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(road);
    QVERIFY(zlm::test::SimulateAndWait(window));
    zlm::ReportRequest request;
    request.profilePath = road.toStdString();
    request.commandLine = "zlm-batch " + request.profilePath;
    QTemporaryDir out;
    const QString path = out.filePath("r.pdf");
    auto runner = std::make_unique<zlm::ReportRunner>();
    std::vector<int> progress;
    bool stopped = false;
    bool ended = false;
    connect(runner.get(), &zlm::ReportRunner::Progress, [&](int percent) {
        progress.push_back(percent);
        if (atPercent < 0 || percent < atPercent || stopped)
            return;
        stopped = true;
        if (!destroy)
            runner->Cancel();
        else // from the event loop, as a closing window would
            QTimer::singleShot(0, [&] {
                runner.reset();
                ended = true;
            });
    });
    QSignalSpy finished(runner.get(), &zlm::ReportRunner::Finished);
    QVERIFY(runner->Start(window.State(), request, path.toStdString()));
    QVERIFY(QTest::qWaitFor([&] { return ended || !finished.isEmpty(); }, 60000));
    QTest::qWait(20);
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));
    if (destroy) {
        QVERIFY(QDir(out.path()).isEmpty());
        return;
    }
    QCOMPARE(finished.count(), 1);
    QVERIFY(!runner->Running());
    if (atPercent >= 0) {
        QVERIFY(stopped);
        QVERIFY(runner->Result().cancelled && !runner->Result().ok);
        QVERIFY(QDir(out.path()).isEmpty());
        return;
    }
    QVERIFY(runner->Result().ok);
    QCOMPARE(progress.back(), 100);
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QString error;
    QCOMPARE(written.readAll(), zlm::PdfReportBytes(window.State(), request, error));
}

// A delimited profile read with the units window's answer is read again with it in the new
// units, and the report's command still carries it.
void ReportCommandTest::delimitedUnitsOutliveAUnitsChange()
{
    const QString road = dir_.filePath("bare-si.csv");
    QByteArray bare;
    for (const double z : zlm::test::BumpyRoad(2400))
        bare += QByteArray::number(z * 12.0, 'f', 4) + "\n";
    zlm::test::WriteFile(road, bare);
    FakeUserDialogs dialogs;
    dialogs.unitsAnswer = zlm::DelimitedUnits{zlm::LengthUnit::Foot, zlm::LengthUnit::Inch, 0.25};
    frmSkiMain window(&dialogs);
    window.OpenProfile(road);
    window.ApplyMethod(zlm::ConvertMethod(zlm::StraightedgeMethod{}, zlm::UnitSystem::SI));
    QVERIFY(dialogs.messages.empty());
    QCOMPARE(dialogs.unitsAsked, 1);
    QCOMPARE(window.State().profile.pointCount, 2400);
    QVERIFY(zlm::test::SimulateAndWait(window));
    QTemporaryDir out;
    dialogs.saveAnswer = out.filePath("r.pdf");
    QVERIFY(zlm::test::ReportAndWait(window));
    window.ApplyMethod(zlm::StraightedgeMethod{}); // the method in force is kept for the next window

    const QString command = PdfText(out.filePath("r.pdf")).replace(QRegularExpression(" \\\\\n +"), " ");
    QVERIFY2(command.contains("zlm-batch --units si --length 4.8768 --step 2.4384 --threshold 6.35 --columns-units "
                              "ft,in --interval 0.25 " +
                              road),
             qPrintable(command));
}

QTEST_MAIN(ReportCommandTest)
#include "ReportCommandTest.moc"
