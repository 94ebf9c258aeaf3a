#pragma once

#include "mainwindow/SystemInfoTool.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace zlm {

class UserDialogs;

/**
 * The about window: title, version from the program's version numbers, a short
 * description, and a button that starts the system-information tool.
 */
class frmAbout final : public QDialog {
    Q_OBJECT

public:
    /** `dialogs` shows the message when no system-information tool can be started. */
    frmAbout(UserDialogs& dialogs, QWidget* parent = nullptr, SystemInfoTool sysInfo = SystemInfoTool());

    /** "Version " + major.minor.revision of this build. */
    static QString VersionText();

    /** cmdSysInfo: starts the tool, or says "System Information Is Unavailable At This Time". */
    void cmdSysInfo_Click();

private:
    UserDialogs& dialogs_;
    SystemInfoTool sysInfo_;
    QLabel* picIcon_ = nullptr;
    QLabel* lblTitle_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    QLabel* lblDescription_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdSysInfo_ = nullptr;
};

} // namespace zlm
