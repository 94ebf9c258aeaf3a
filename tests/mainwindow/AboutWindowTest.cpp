// The about window: its texts and the System Info button.

#include "support/WindowTestSupport.h"
#include "mainwindow/frmAbout.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using zlm::frmAbout;
using zlm::SystemInfoTool;
using zlm::test::FakeUserDialogs;

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsItsTexts();
    void okCloses();
    void sysInfo_data();
    void sysInfo();
    void noRegistryHere();
};

void AboutWindowTest::showsItsTexts()
{
    FakeUserDialogs dialogs;
    frmAbout about(dialogs);
    QCOMPARE(about.windowTitle(), QString("About ZLM"));
    QCOMPARE(about.findChild<QLabel*>("lblTitle")->text(), QString("Evenrule (ZLM)"));
    QCOMPARE(about.findChild<QLabel*>("lblVersion")->text(), QString("Version 1.0.0"));
    QCOMPARE(about.findChild<QLabel*>("lblDescription")->text(),
             QString("This program simulates a \"real-life\" 16-foot straightedge traversing a pavement profile.  "
                     "The results display the stations, the maximum deviations from the straightedge, and the "
                     "amount the deviations exceed the 0.25-inch criterion."));
    QCOMPARE(about.findChild<QPushButton*>("cmdOK")->text(), QString("&OK"));
    QCOMPARE(about.findChild<QPushButton*>("cmdSysInfo")->text(), QString("&System Info..."));
    const QLabel* picture = about.findChild<QLabel*>("picIcon");
    QCOMPARE(picture->pixmap().size(), QSize(144, 72));
    QVERIFY(!picture->pixmap().toImage().isNull());
}

void AboutWindowTest::okCloses()
{
    FakeUserDialogs dialogs;
    frmAbout about(dialogs);
    zlm::test::WhenModalOpens([](QWidget* modal) { modal->findChild<QPushButton*>("cmdOK")->click(); });
    QCOMPARE(about.exec(), int(QDialog::Accepted));
}

void AboutWindowTest::sysInfo_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<bool>("startSucceeds");
    QTest::addColumn<QString>("expectedStart"); // the program started, if any

    QTest::newRow("nothing installed") << QStringList{} << true << QString();
    QTest::newRow("first of the list") << QStringList{"hardinfo", "ksysguard"} << true << QString("hardinfo");
    QTest::newRow("a later one") << QStringList{"ksysguard"} << true << QString("ksysguard");
    QTest::newRow("found but fails to start") << QStringList{"hardinfo"} << false << QString("hardinfo");
}

void AboutWindowTest::sysInfo()
{
    QFETCH(QStringList, installed);
    QFETCH(bool, startSucceeds);
    QFETCH(QString, expectedStart);

    QTemporaryDir bin;
    for (const QString& name : installed) {
        QFile program(bin.filePath(name));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        program.close();
        program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QStringList started;
    SystemInfoTool tool(SystemInfoTool::DefaultCandidates(), {bin.path()}, [&](const QString& program) {
        started << program;
        return startSucceeds;
    });

    FakeUserDialogs dialogs;
    frmAbout about(dialogs, nullptr, tool);
    about.findChild<QPushButton*>("cmdSysInfo")->click();

    if (expectedStart.isEmpty() || !startSucceeds) {
        QCOMPARE(int(dialogs.messages.size()), 1);
        QVERIFY(dialogs.messages[0].title.isEmpty() || dialogs.messages[0].title == "ZLM");
        QCOMPARE(dialogs.messages[0].text, QString("System Information Is Unavailable At This Time"));
        QCOMPARE(dialogs.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    } else {
        QVERIFY(dialogs.messages.empty());
    }
    if (!expectedStart.isEmpty()) {
        QCOMPARE(started, QStringList{QDir(bin.path()).filePath(expectedStart)});
    } else {
        QVERIFY(started.isEmpty());
    }
}

void AboutWindowTest::noRegistryHere()
{
    QString value = "left over";
    QVERIFY(
        !zlm::GetKeyValue(zlm::RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", value));
    QVERIFY(value.isEmpty());
}

QTEST_MAIN(AboutWindowTest)
#include "AboutWindowTest.moc"
