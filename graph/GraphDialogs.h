#pragma once

#include <QString>

class QPrinter;

namespace zlm {

/**
 * The dialogs the deviation graph asks: the print dialog, the export save dialog
 * and the message shown when printing or saving fails. The graph window uses
 * StandardGraphDialogs unless it is given another implementation, which lets
 * tests answer the dialogs without a screen.
 */
class GraphDialogs {
public:
    virtual ~GraphDialogs() = default;

    /**
     * Shows the print dialog for `printer`. Offers the Selection range, preselected,
     * only when `selectionOffered`; page numbers are never offered. Returns false
     * when the user cancels (nothing may then be printed). On acceptance the
     * printer carries the chosen device and copy count, and `selectionChosen`
     * tells whether Selection (rather than All) was picked.
     */
    virtual bool ChoosePrint(QPrinter& printer, bool selectionOffered, bool& selectionChosen) = 0;

    /**
     * Asks where to export the graph image. Returns the chosen file name, or an
     * empty text when the user cancels. `selectedFilter` passes back the file
     * type the user picked (one of GraphControl::ExportFilters()).
     */
    virtual QString ChooseExportFile(QString& selectedFilter) = 0;

    /**
     * Asks whether to replace `path`, an existing file other than the one the save
     * dialog asked about (the export added the type's extension). True to replace.
     */
    virtual bool ConfirmReplace(const QString& path) = 0;

    /** Tells the user that printing or exporting failed. */
    virtual void ShowError(const QString& title, const QString& text) = 0;
};

} // namespace zlm
