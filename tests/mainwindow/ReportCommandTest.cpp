// The Report command of the main window: enabled with Plot, the file name it
// writes, the replace question, and a failed write shown as Save As shows it.

#include "mainwindow/frmSkiMain.h"
#include "support/RunWaiting.h"
#include "support/WindowTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

class ReportCommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void enabledExactlyWithPlot();
    void writesThePdf_data();
    void writesThePdf();
    void asksBeforeReplacingTheFileWithTheAddedExtension();
    void failure_data();
    void failure();

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
    window.findChild<QPushButton*>("cmdReport")->click();
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
    window.cmdReport_Click();
    QCOMPARE(int(dialogs.messages.size()), 1);
    QCOMPARE(dialogs.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(dialogs.messages[0].text.contains(out.filePath("r.pdf")));
    QCOMPARE(zlm::test::ReadFile(out.filePath("r.pdf")), QByteArray("kept"));

    dialogs.messageAnswer = QMessageBox::Yes;
    window.cmdReport_Click();
    QVERIFY(zlm::test::ReadFile(out.filePath("r.pdf")).startsWith("%PDF-"));
}

void ReportCommandTest::failure_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("folder that does not exist") << "missing/folder/out.pdf";
    QTest::newRow("a folder as the target") << "taken.pdf";
}

void ReportCommandTest::failure()
{
    QFETCH(QString, target);
    QTemporaryDir out;
    QVERIFY(QDir(out.path()).mkdir("taken.pdf"));
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(road_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    dialogs.saveAnswer = out.filePath(target);
    window.cmdReport_Click();

    QCOMPARE(int(dialogs.messages.size()), 1);
    QCOMPARE(dialogs.messages[0].title, QString("File Error!"));
    QCOMPARE(int(dialogs.messages[0].icon), int(QMessageBox::Warning));
    QVERIFY2(dialogs.messages[0].text.contains(out.filePath(target)), qPrintable(dialogs.messages[0].text));
    QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"taken.pdf"});
    QVERIFY(QDir(out.filePath("taken.pdf")).isEmpty());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

QTEST_MAIN(ReportCommandTest)
#include "ReportCommandTest.moc"
