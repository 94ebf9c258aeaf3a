#pragma once

#include "graph/GraphDialogs.h"

#include <QPrinter>
#include <QStringList>

namespace zlm {

/** Answers the graph's dialogs as a test sets it up, and records what was asked. */
class FakeGraphDialogs : public GraphDialogs {
public:
    bool ChoosePrint(QPrinter& printer, bool selectionOffered, bool& selectionChosen) override
    {
        ++printDialogs;
        lastSelectionOffered = selectionOffered;
        if (cancelPrint)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        printer.setCopyCount(copies);
        selectionChosen = selectionOffered && chooseSelection;
        return true;
    }

    QString ChooseExportFile(QString& selectedFilter) override
    {
        ++exportDialogs;
        if (!exportFilter.isEmpty())
            selectedFilter = exportFilter;
        return exportPath;
    }

    bool ConfirmReplace(const QString& path) override
    {
        replaceQuestions.append(path);
        return replaceExisting;
    }

    void ShowError(const QString& title, const QString& text) override
    {
        errors.append(title + QLatin1Char('|') + text);
    }

    // Print dialog answers
    QString pdfPath;
    bool cancelPrint = false;
    bool chooseSelection = true;
    int copies = 1;
    // Export dialog answers
    QString exportPath;
    QString exportFilter;
    bool replaceExisting = false;
    QStringList replaceQuestions;

    int printDialogs = 0;
    bool lastSelectionOffered = false;
    int exportDialogs = 0;
    QStringList errors;
};

} // namespace zlm
