#include "graph/StandardGraphDialogs.h"

#include "graph/GraphControl.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace zlm {

StandardGraphDialogs::StandardGraphDialogs(QWidget* parent) : parent_(parent) {}

bool StandardGraphDialogs::ChoosePrint(QPrinter& printer, bool selectionOffered, bool& selectionChosen)
{
    QPrintDialog dialog(&printer, parent_);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selectionOffered);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setPrintRange(selectionOffered ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    selectionChosen = selectionOffered && dialog.printRange() == QAbstractPrintDialog::Selection;
    return true;
}

QString StandardGraphDialogs::ChooseExportFile(QString& selectedFilter)
{
    const QStringList filters = GraphControl::ExportFilters();
    if (!filters.contains(selectedFilter))
        selectedFilter = filters.front();
    return QFileDialog::getSaveFileName(parent_, QStringLiteral("Save/Export"), QString(),
                                        filters.join(QStringLiteral(";;")), &selectedFilter);
}

bool StandardGraphDialogs::ConfirmReplace(const QString& path)
{
    return QMessageBox::warning(parent_, QStringLiteral("Save/Export"),
                                QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void StandardGraphDialogs::ShowError(const QString& title, const QString& text)
{
    QMessageBox::warning(parent_, title, text);
}

} // namespace zlm
