#include "mainwindow/SystemInfoTool.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <utility>

namespace zlm {

bool GetKeyValue(RegistryRoot root, const QString& keyName, const QString& valueName, QString& value)
{
    value.clear();
#ifdef Q_OS_WIN
    const QString rootName = root == RegistryRoot::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE") : QString();
    QSettings key(rootName + "\\" + keyName, QSettings::NativeFormat);
    const QVariant read = key.value(valueName);
    if (!read.isValid() || read.typeId() != QMetaType::QString) {
        return false;
    }
    value = read.toString();
    return true;
#else
    // No registry here: every lookup fails, and StartSysInfo falls back to the search path.
    Q_UNUSED(root);
    Q_UNUSED(keyName);
    Q_UNUSED(valueName);
    return false;
#endif
}

SystemInfoTool::SystemInfoTool() : SystemInfoTool(DefaultCandidates(), {}) {}

SystemInfoTool::SystemInfoTool(QStringList candidates, QStringList searchPaths, Starter starter)
    : candidates_(std::move(candidates)), searchPaths_(std::move(searchPaths)), starter_(std::move(starter))
{
    if (!starter_) {
        starter_ = [](const QString& program) { return QProcess::startDetached(program, {}); };
    }
}

QStringList SystemInfoTool::DefaultCandidates()
{
    return {"hardinfo", "gnome-system-monitor", "ksysguard", "plasma-systemmonitor", "kinfocenter"};
}

QString SystemInfoTool::FindTool() const
{
    QString path;
    if (GetKeyValue(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) {
        return path;
    }
    if (GetKeyValue(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path)) {
        const QString program = path + "\\MSINFO32.EXE";
        if (QFileInfo::exists(program)) {
            return program;
        }
    }
    for (const QString& candidate : candidates_) {
        const QString found = QStandardPaths::findExecutable(candidate, searchPaths_);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

bool SystemInfoTool::StartSysInfo() const
{
    const QString tool = FindTool();
    return !tool.isEmpty() && starter_(tool);
}

} // namespace zlm
