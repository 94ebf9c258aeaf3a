#include "mainwindow/SavePathPrompt.h"

#include "mainwindow/UserDialogs.h"

#include <QFileInfo>

namespace zlm {

namespace {

QString WithExtension(const QString& typed, const QString& extension, ExtensionRule rule)
{
    if (rule == ExtensionRule::WhenNoneTyped) {
        return QFileInfo(typed).fileName().contains('.') ? typed : typed + extension;
    }
    return typed.endsWith(extension, Qt::CaseInsensitive) ? typed : typed + extension;
}

} // namespace

QString ConfirmedSavePath(UserDialogs& dialogs, const QString& title, const QString& typed, const QString& extension,
                          ExtensionRule rule)
{
    const QString path = WithExtension(typed, extension, rule);
    if (path != typed && QFileInfo::exists(path)) {
        const auto answer =
            dialogs.ShowMessage(title, QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path),
                                QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            return {};
        }
    }
    return path;
}

} // namespace zlm
