#pragma once

#include "graph/GraphDialogs.h"

class QWidget;

namespace zlm {

/** The graph's dialogs on screen: QPrintDialog, QFileDialog and a warning box. */
class StandardGraphDialogs : public GraphDialogs {
public:
    /** `parent` is the window the dialogs are modal to. */
    explicit StandardGraphDialogs(QWidget* parent);

    bool ChoosePrint(QPrinter& printer, bool selectionOffered, bool& selectionChosen) override;
    QString ChooseExportFile(QString& selectedFilter) override;
    bool ConfirmReplace(const QString& path) override;
    void ShowError(const QString& title, const QString& text) override;

private:
    QWidget* parent_;
};

} // namespace zlm
