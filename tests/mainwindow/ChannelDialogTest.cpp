// The channel selection window, shown for real and answered through its own controls.

#include "support/WindowTestSupport.h"
#include "mainwindow/ChannelDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using zlm::ChannelDialog;

class ChannelDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsItsTexts();
    void answer_data();
    void answer();
};

void ChannelDialogTest::showsItsTexts()
{
    ChannelDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Channel Selection"));
    QCOMPARE(dialog.findChild<QLabel*>("P")->text(), QString("Please select a channel to evaluate:"));
    const auto options = dialog.findChildren<QRadioButton*>("optChannel");
    QCOMPARE(options.size(), 2);
    QCOMPARE(dialog.OptChannel(0)->text(), QString("Channel 1"));
    QCOMPARE(dialog.OptChannel(1)->text(), QString("Channel 2"));
    QVERIFY(dialog.OptChannel(0)->isChecked());
    QCOMPARE(dialog.findChild<QPushButton*>("OKButton")->text(), QString("&OK"));
}

void ChannelDialogTest::answer_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("after");

    // Every showing starts at "Channel 1", whatever the last answer was.
    QTest::newRow("OK untouched after channel 2") << 1 << "ok" << 0;
    QTest::newRow("OK untouched") << 0 << "ok" << 0;
    QTest::newRow("channel 2 then OK") << 0 << "channel2" << 1;
    QTest::newRow("Alt+O accelerator") << 1 << "altO" << 0;
    QTest::newRow("Escape keeps channel 2") << 1 << "escape" << 1;
    QTest::newRow("Escape keeps channel 1") << 0 << "escape" << 0;
    QTest::newRow("channel 2 then window closed") << 0 << "channel2close" << 0;
}

void ChannelDialogTest::answer()
{
    QFETCH(int, before);
    QFETCH(QString, action);
    QFETCH(int, after);

    bool sawChannel1Selected = false;
    zlm::test::WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<ChannelDialog*>(modal);
        QVERIFY(dialog);
        sawChannel1Selected = dialog->OptChannel(0)->isChecked() && !dialog->OptChannel(1)->isChecked();
        if (action == "ok") {
            dialog->findChild<QPushButton*>("OKButton")->click();
        } else if (action == "channel2") {
            dialog->OptChannel(1)->click();
            dialog->findChild<QPushButton*>("OKButton")->click();
        } else if (action == "altO") {
            QTest::keyClick(dialog, Qt::Key_O, Qt::AltModifier);
        } else if (action == "escape") {
            QTest::keyClick(dialog, Qt::Key_Escape);
        } else {
            dialog->OptChannel(1)->click();
            dialog->close();
        }
    });

    const zlm::Channel chosen = ChannelDialog::AskChannel(static_cast<zlm::Channel>(before));
    QVERIFY(sawChannel1Selected);
    QCOMPARE(static_cast<int>(chosen), after);
}

QTEST_MAIN(ChannelDialogTest)
#include "ChannelDialogTest.moc"
