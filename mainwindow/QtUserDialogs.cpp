#include "mainwindow/QtUserDialogs.h"

#include "mainwindow/ChannelDialog.h"
#include "mainwindow/DelimitedUnitsDialog.h"

#include <QFileDialog>

namespace zlm {

QtUserDialogs::QtUserDialogs(QWidget* owner) : owner_(owner) {}

QString QtUserDialogs::AskOpenFile(const QString& title, const QString& filter, const QString& defaultSuffix,
                                   const QString& startFolder)
{
    QFileDialog dialog(owner_, title, startFolder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString QtUserDialogs::AskSaveFile(const QString& title, const QStringList& filters, int& filterIndex)
{
    QFileDialog dialog(owner_, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    // Every filter offers text files, so a name typed without an extension gets ".txt".
    dialog.setDefaultSuffix("txt");
    if (filterIndex >= 1 && filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters.at(filterIndex - 1));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const int chosen = filters.indexOf(dialog.selectedNameFilter());
    filterIndex = chosen >= 0 ? chosen + 1 : 1;
    return dialog.selectedFiles().constFirst();
}

QMessageBox::StandardButton QtUserDialogs::ShowMessage(const QString& title, const QString& text,
                                                       QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title.isEmpty() ? QStringLiteral("ZLM") : title, text, buttons, owner_);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<ChannelNumber> QtUserDialogs::AskChannel(const std::vector<std::string>& names, ChannelNumber earlier)
{
    return ChannelDialog::AskChannel(names, earlier, owner_);
}

std::optional<DelimitedUnits> QtUserDialogs::AskDelimitedUnits(const DelimitedProbeResult& probe,
                                                               const NeededUnits& needed)
{
    return DelimitedUnitsDialog::AskUnits(probe, needed, owner_);
}

} // namespace zlm
