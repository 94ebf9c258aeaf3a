// The channel selection window, shown for real and answered through its own controls.

#include "mainwindow/ChannelDialog.h"

#include "support/WindowTestSupport.h"

#include <QLabel>
#include <QListWidget>
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
    void listsMoreChannels();
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
    QCOMPARE(dialog.findChild<QPushButton*>("CancelButton")->text(), QString("&Cancel"));
}

void ChannelDialogTest::answer_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("after"); // 0: cancelled, no channel

    // Every showing starts at "Channel 1", whatever the last answer was.
    QTest::newRow("OK untouched") << "ok" << 1;
    QTest::newRow("channel 2 then OK") << "channel2" << 2;
    QTest::newRow("Alt+O accelerator") << "altO" << 1;
    // Cancel, Esc and closing the window answer nothing, even after a choice.
    QTest::newRow("Cancel") << "cancel" << 0;
    QTest::newRow("Alt+C accelerator") << "altC" << 0;
    QTest::newRow("channel 2 then Escape") << "channel2escape" << 0;
    QTest::newRow("channel 2 then window closed") << "channel2close" << 0;
}

void ChannelDialogTest::answer()
{
    QFETCH(QString, action);
    QFETCH(int, after);

    for (int showing = 0; showing < 2; ++showing) {
        bool sawChannel1Selected = false;
        zlm::test::WhenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<ChannelDialog*>(modal);
            QVERIFY(dialog);
            sawChannel1Selected = dialog->OptChannel(0)->isChecked() && !dialog->OptChannel(1)->isChecked();
            if (action.startsWith("channel2")) {
                dialog->OptChannel(1)->click();
            }
            if (action == "ok") {
                dialog->findChild<QPushButton*>("OKButton")->click();
            } else if (action == "channel2") {
                dialog->findChild<QPushButton*>("OKButton")->click();
            } else if (action == "altO") {
                QTest::keyClick(dialog, Qt::Key_O, Qt::AltModifier);
            } else if (action == "cancel") {
                dialog->findChild<QPushButton*>("CancelButton")->click();
            } else if (action == "altC") {
                QTest::keyClick(dialog, Qt::Key_C, Qt::AltModifier);
            } else if (action == "channel2escape") {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                dialog->close();
            }
        });

        const std::optional<zlm::ChannelNumber> chosen = ChannelDialog::AskChannel();
        QVERIFY(sawChannel1Selected);
        QCOMPARE(chosen.has_value(), after > 0);
        if (chosen) {
            QCOMPARE(*chosen, after);
        }
    }
}

// More than two channels are listed by number and name; the list starts at the
// earlier choice when the file has it, and answers the channel selected.
void ChannelDialogTest::listsMoreChannels()
{
    const std::vector<std::string> names = {"Left", "", "Right"};
    {
        ChannelDialog dialog(names, 2);
        QVERIFY(dialog.findChildren<QRadioButton*>().isEmpty());
        QListWidget* list = dialog.ChannelList();
        QVERIFY(list);
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QString("1: Left"));
        QCOMPARE(list->item(1)->text(), QString("2: Channel 2"));
        QCOMPARE(list->item(2)->text(), QString("3: Right"));
        QCOMPARE(list->currentRow(), 1);
    }
    QCOMPARE(ChannelDialog(names, 6).ChannelList()->currentRow(), 0);

    zlm::test::WhenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<ChannelDialog*>(modal);
        QTest::keyClick(dialog->ChannelList(), Qt::Key_Down);
        QTest::keyClick(dialog->ChannelList(), Qt::Key_Return);
    });
    QCOMPARE(ChannelDialog::AskChannel(names, 2), std::optional<zlm::ChannelNumber>(3));

    zlm::test::WhenModalOpens([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QCOMPARE(ChannelDialog::AskChannel(names, 1), std::optional<zlm::ChannelNumber>());
}

QTEST_MAIN(ChannelDialogTest)
#include "ChannelDialogTest.moc"
