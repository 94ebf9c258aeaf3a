// The Method… dialog and what a method change does to the main window: the
// settings it remembers, the results it invalidates, the units it reads the
// profile in, and a run cancelled part way.
#include "mainwindow/MethodDialog.h"
#include "mainwindow/MethodSettings.h"
#include "mainwindow/frmSkiMain.h"
#include "support/RunWaiting.h"
#include "support/WindowTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using zlm::frmSkiMain;
using zlm::MethodDialog;
using zlm::StraightedgeMethod;
using zlm::UnitSystem;
using zlm::test::FakeUserDialogs;

class MethodWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QSettings().clear(); }
    void presetsFillTheSettingsAndUnitsConvertExactly();
    void userMethodsAreSavedRenamedAndDeleted();
    void unusableSettingsKeepTheDialogOpen();
    void aMethodChangeInvalidatesTheRunAndIsRemembered();
    void siUnitsReadTheOpenProfileAgainInMetres();
    void cancelledRunKeepsTheLastResults();
    void closingDuringARunCancelsAndWaits_data();
    void closingDuringARunCancelsAndWaits();

private:
    QTemporaryDir dir_;
    QString road_;
    QString longRoad_; ///< long enough that a continuous run is still going when the test acts
};

void MethodWindowTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    road_ = dir_.filePath("road.erd");
    zlm::test::WriteFile(road_, zlm::test::ErdText("Test road", 0.25, zlm::test::BumpyRoad(2400)));
    longRoad_ = dir_.filePath("long.erd");
    zlm::test::WriteFile(longRoad_, zlm::test::ErdText("Long road", 1.0 / 12.0, zlm::test::BumpyRoad(200000)));
}

void MethodWindowTest::presetsFillTheSettingsAndUnitsConvertExactly()
{
    MethodDialog dialog(StraightedgeMethod{}, {});
    auto* length = dialog.findChild<QLineEdit*>("length");
    auto* step = dialog.findChild<QLineEdit*>("step");
    auto* tolerance = dialog.findChild<QLineEdit*>("tolerance");
    auto* continuous = dialog.findChild<QCheckBox*>("continuous");
    QCOMPARE(length->text(), "16");
    QCOMPARE(step->text(), "8");
    QCOMPARE(tolerance->text(), "0.25");

    dialog.ChooseRow(1); // 10 ft rolled continuously, 0.125 in
    QCOMPARE(length->text(), "10");
    QVERIFY(continuous->isChecked());
    QVERIFY(!step->isEnabled());
    QCOMPARE(tolerance->text(), "0.125");

    dialog.ChooseRow(0);
    dialog.findChild<QComboBox*>("units")->setCurrentIndex(1);
    QCOMPARE(length->text(), "4.8768");
    QCOMPARE(step->text(), "2.4384");
    QCOMPARE(tolerance->text(), "6.35");
    dialog.accept();
    QCOMPARE(dialog.Method(), (StraightedgeMethod{4.8768, 2.4384, false, 6.35f, UnitSystem::SI}));
}

void MethodWindowTest::userMethodsAreSavedRenamedAndDeleted()
{
    MethodDialog dialog(StraightedgeMethod{}, {{"Old", StraightedgeMethod{}}});
    QStringList names{"Airport", "Runway"};
    dialog.SetNameQuestion([&](const QString&, const QString&) { return names.takeFirst(); });
    auto* list = dialog.findChild<QListWidget*>("methods");
    const int presets = static_cast<int>(zlm::MethodPresets().size());
    QCOMPARE(list->count(), presets + 1);

    dialog.findChild<QLineEdit*>("length")->setText("15");
    dialog.SaveAsUserMethod();
    QCOMPARE(dialog.UserMethods().size(), std::size_t{2});
    QCOMPARE(dialog.UserMethods()[1].name, std::string("Airport"));
    QCOMPARE(dialog.UserMethods()[1].method.baseLength, 15.0);
    QCOMPARE(list->currentRow(), presets + 1);

    dialog.RenameUserMethod();
    QCOMPARE(dialog.UserMethods()[1].name, std::string("Runway"));
    dialog.ChooseRow(presets);
    dialog.DeleteUserMethod();
    QCOMPARE(dialog.UserMethods().size(), std::size_t{1});
    QCOMPARE(dialog.UserMethods()[0].name, std::string("Runway"));

    // Remembered between sessions, with the method in force.
    QSettings settings;
    zlm::MethodSettings remembered(settings);
    remembered.SetUserMethods(dialog.UserMethods());
    remembered.SetMethodInForce(dialog.UserMethods()[0].method);
    QCOMPARE(zlm::MethodSettings(settings).UserMethods()[0].method.baseLength, 15.0);
    QCOMPARE(zlm::MethodSettings(settings).MethodInForce().baseLength, 15.0);
    // A damaged value reads as the default method, not as an unusable one.
    settings.setValue("method/length", "-4");
    QCOMPARE(zlm::MethodSettings(settings).MethodInForce(), StraightedgeMethod{});
}

void MethodWindowTest::unusableSettingsKeepTheDialogOpen()
{
    MethodDialog dialog(StraightedgeMethod{}, {});
    dialog.show();
    for (const char* field : {"length", "step", "tolerance"}) {
        dialog.ChooseRow(0);
        dialog.findChild<QLineEdit*>(field)->setText("0");
        dialog.accept();
        QVERIFY2(dialog.isVisible(), field);
        QVERIFY(dialog.findChild<QLabel*>("problem")->text().contains("greater than 0"));
    }
    // A decimal comma is read as a point.
    dialog.ChooseRow(0);
    dialog.findChild<QLineEdit*>("tolerance")->setText("0,125");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Method().tolerance, 0.125f);
}

void MethodWindowTest::aMethodChangeInvalidatesTheRunAndIsRemembered()
{
    FakeUserDialogs dialogs;
    {
        frmSkiMain window(&dialogs);
        window.OpenProfile(road_);
        QVERIFY(zlm::test::SimulateAndWait(window));
        QVERIFY(window.ResultsValid());
        const StraightedgeMethod tenFoot{10.0, 5.0, true, 0.125f, UnitSystem::US};
        window.ApplyMethod(tenFoot);
        QVERIFY(!window.ResultsValid());
        QVERIFY(!window.findChild<QPushButton*>("cmdPlot")->isEnabled());
        QCOMPARE(window.Grid().Rows(), 2);
        QVERIFY(window.findChild<QLabel*>("lblMethod")->text().contains("10 ft straightedge rolled continuously"));
        QVERIFY(zlm::test::SimulateAndWait(window));
        // 2,400 points, 40 intervals per straightedge: one placement per point up to 2,359.
        QCOMPARE(window.State().straightedge.results.placements.size(), std::size_t{2360});
        QCOMPARE(window.State().straightedge.results.method, tenFoot);
    }
    frmSkiMain reopened(&dialogs);
    QCOMPARE(reopened.State().straightedge.method.baseLength, 10.0);
    QVERIFY(dialogs.messages.empty());
}

void MethodWindowTest::siUnitsReadTheOpenProfileAgainInMetres()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(road_);
    QVERIFY(zlm::test::SimulateAndWait(window));
    const std::size_t inFeet = window.State().straightedge.results.placements.size();
    window.ApplyMethod(zlm::ConvertMethod(StraightedgeMethod{}, UnitSystem::SI));
    QCOMPARE(window.State().profile.units, UnitSystem::SI);
    QCOMPARE(window.State().profile.interval, 0.25 * 0.3048);
    QCOMPARE(window.Grid().TextMatrix(0, 0), std::string("Station (m)"));
    QVERIFY(zlm::test::SimulateAndWait(window));
    QVERIFY(window.ResultsValid());
    QCOMPARE(window.Grid().TextMatrix(0, 1), std::string("Maximum Dev. (mm)"));
    // The same placements as in feet: 16 ft (4.8768 m) moved 8 ft (2.4384 m) at a time.
    QCOMPARE(window.State().straightedge.results.placements.size(), inFeet);

    // A profile that can no longer be read is closed rather than kept in other units.
    QFile::remove(road_);
    window.ApplyMethod(StraightedgeMethod{});
    QCOMPARE(window.State().profile.pointCount, 0);
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    zlm::test::WriteFile(road_, zlm::test::ErdText("Test road", 0.25, zlm::test::BumpyRoad(2400)));
}

void MethodWindowTest::cancelledRunKeepsTheLastResults()
{
    FakeUserDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.OpenProfile(longRoad_);
    window.ApplyMethod({10.0, 5.0, true, 0.125f, UnitSystem::US});
    QVERIFY(zlm::test::SimulateAndWait(window));
    QVERIFY(window.ResultsValid());
    const auto kept = window.State().straightedge.results.placements;
    const auto keptElevations = window.State().workingElevations;

    // Cancel reaches the run through the event loop, which the worker leaves running;
    // meanwhile nothing that needs results, nor another command, can start.
    bool cancelOffered = false;
    QStringList enabledDuringTheRun;
    QTimer::singleShot(0, &window, [&] {
        cancelOffered = window.RunInProgress() && !window.findChild<QPushButton*>("cmdCancel")->isHidden() &&
                        window.findChild<QPushButton*>("cmdCancel")->isEnabled();
        for (const char* name : {"cmdOpen", "cmdSimulate", "cmdMethod", "cmdSaveAs", "cmdPlot", "cmdCorrections",
                                 "cmdReport", "cmdAbout", "chkSection", "txtSectionLength"}) {
            if (window.findChild<QWidget*>(name)->isEnabled()) {
                enabledDuringTheRun << name;
            }
        }
        window.findChild<QPushButton*>("cmdCancel")->click();
    });
    // A finished run would list sections now; the cancelled one changes nothing.
    window.findChild<QLineEdit*>("txtSectionLength")->setText("100");
    QVERIFY(zlm::test::SimulateAndWait(window));
    QVERIFY(cancelOffered);
    QCOMPARE(enabledDuringTheRun, QStringList());
    QVERIFY(!window.RunInProgress());
    QVERIFY(window.ResultsValid());
    QVERIFY(!window.State().straightedge.results.HasSectionSummary());
    QCOMPARE(window.State().straightedge.results.placements.size(), kept.size());
    QVERIFY(window.State().workingElevations == keptElevations);
    QCOMPARE(window.Grid().TextMatrix(0, 0), std::string("Station (ft)"));
    QVERIFY(window.findChild<QPushButton*>("cmdCancel")->isHidden());
    QVERIFY(window.findChild<QPushButton*>("cmdPlot")->isEnabled());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QVERIFY(dialogs.messages.empty());
}

void MethodWindowTest::closingDuringARunCancelsAndWaits_data()
{
    QTest::addColumn<bool>("deleteInstead");
    QTest::newRow("closed") << false;
    QTest::newRow("deleted") << true;
}

// The worker must never outlive the window whose results it would hand over.
void MethodWindowTest::closingDuringARunCancelsAndWaits()
{
    QFETCH(bool, deleteInstead);
    FakeUserDialogs dialogs;
    auto* window = new frmSkiMain(&dialogs);
    window->show();
    window->OpenProfile(longRoad_);
    window->ApplyMethod({10.0, 5.0, true, 0.125f, UnitSystem::US});
    QVERIFY(zlm::test::SimulateAndWait(*window));
    const auto kept = window->State().straightedge.results.placements.size();
    QSignalSpy finished(window, &frmSkiMain::RunFinished);
    window->cmdSimulate_Click();
    QVERIFY(window->RunInProgress());
    if (deleteInstead) {
        delete window;
        QCoreApplication::processEvents();
        QVERIFY(dialogs.messages.empty());
        return;
    }
    QVERIFY(window->close());
    QVERIFY(!window->RunInProgress());
    QCOMPARE(finished.count(), 1);
    QVERIFY(window->ResultsValid());
    QCOMPARE(window->State().straightedge.results.placements.size(), kept);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    // Nothing of the run arrives later.
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
    QVERIFY(dialogs.messages.empty());
    delete window;
}

QTEST_MAIN(MethodWindowTest)
#include "MethodWindowTest.moc"
