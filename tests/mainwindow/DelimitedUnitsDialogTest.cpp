// The units window of delimited profiles, shown for real and answered through its controls.

#include "mainwindow/DelimitedUnitsDialog.h"

#include "support/WindowTestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using zlm::DelimitedUnitsDialog;

class DelimitedUnitsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void asksOnlyWhatIsNeeded();
    void interval_data();
    void interval();
    void badIntervalKeepsTheWindowOpen();
    void cancelAnswersNothing();
};

void DelimitedUnitsDialogTest::asksOnlyWhatIsNeeded()
{
    zlm::NeededUnits elevationOnly;
    elevationOnly.elevationUnit = true;
    DelimitedUnitsDialog dialog({}, elevationOnly);
    QVERIFY(!dialog.findChild<QComboBox*>("cboDistanceUnit"));
    QVERIFY(!dialog.findChild<QLineEdit*>("txtInterval"));
    auto* elevation = dialog.findChild<QComboBox*>("cboElevationUnit");
    QVERIFY(elevation);
    QStringList units;
    for (int i = 0; i < elevation->count(); ++i) {
        units << elevation->itemText(i);
    }
    QCOMPARE(units, (QStringList{"ft", "in", "m", "mm", "mil"}));
    elevation->setCurrentText("mm");
    const zlm::DelimitedUnits answer = dialog.Answer();
    QCOMPARE(answer.elevationUnit, std::optional(zlm::LengthUnit::Millimetre));
    QVERIFY(!answer.distanceUnit && !answer.interval);
}

void DelimitedUnitsDialogTest::interval_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value"); // 0: refused

    QTest::newRow("point") << "0.25" << 0.25;
    QTest::newRow("comma") << "0,25" << 0.25;
    QTest::newRow("blanks") << " 3 " << 3.0;
    QTest::newRow("exponent") << "2.5e-1" << 0.25;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("negative") << "-0.25" << 0.0;
    QTest::newRow("two separators") << "1,000.5" << 0.0;
    QTest::newRow("text") << "quarter" << 0.0;
    QTest::newRow("infinite") << "1e400" << 0.0;
}

void DelimitedUnitsDialogTest::interval()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const std::optional<double> parsed = DelimitedUnitsDialog::ParseInterval(text);
    QCOMPARE(parsed.has_value(), value > 0.0);
    if (parsed) {
        QCOMPARE(*parsed, value);
    }
}

// Without a distance column the window asks for the interval and its unit; OK
// with a bad interval says why and waits for a good one.
void DelimitedUnitsDialogTest::badIntervalKeepsTheWindowOpen()
{
    zlm::NeededUnits needed;
    needed.distanceUnit = needed.elevationUnit = needed.interval = true;
    bool stayedOpen = false;
    zlm::test::WhenModalOpens([&](QWidget* modal) {
        auto* interval = modal->findChild<QLineEdit*>("txtInterval");
        auto* error = modal->findChild<QLabel*>("lblIntervalError");
        interval->setText("0");
        modal->findChild<QPushButton*>("OKButton")->click();
        stayedOpen = modal->isVisible() && error->isVisible() && !error->text().isEmpty();
        modal->findChild<QComboBox*>("cboDistanceUnit")->setCurrentText("m");
        interval->setText("0,1");
        modal->findChild<QPushButton*>("OKButton")->click();
    });
    const std::optional<zlm::DelimitedUnits> answer = DelimitedUnitsDialog::AskUnits({}, needed);
    QVERIFY(stayedOpen);
    QVERIFY(answer);
    QCOMPARE(answer->distanceUnit, std::optional(zlm::LengthUnit::Metre));
    QCOMPARE(answer->elevationUnit, std::optional(zlm::LengthUnit::Inch));
    QCOMPARE(answer->interval, std::optional(0.1));
}

void DelimitedUnitsDialogTest::cancelAnswersNothing()
{
    zlm::NeededUnits needed;
    needed.distanceUnit = needed.elevationUnit = true;
    zlm::test::WhenModalOpens([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QVERIFY(!DelimitedUnitsDialog::AskUnits({}, needed));
    zlm::test::WhenModalOpens([](QWidget* modal) { modal->findChild<QPushButton*>("CancelButton")->click(); });
    QVERIFY(!DelimitedUnitsDialog::AskUnits({}, needed));
}

QTEST_MAIN(DelimitedUnitsDialogTest)
#include "DelimitedUnitsDialogTest.moc"
