#pragma once

#include "analysis/MethodPresets.h"

#include <QDialog>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zlm {

/**
 * The Method… dialog: the straightedge's length, its step or continuous
 * rolling, the tolerance and the unit system, with the ready-made methods and
 * the user's own named ones (save, rename, delete). Choosing a method in the
 * list fills the settings; switching the unit system converts them exactly.
 */
class MethodDialog final : public QDialog {
    Q_OBJECT

public:
    /** Asks for a method's name (title, suggested text); empty = cancelled. Tests replace it. */
    using NameQuestion = std::function<QString(const QString& title, const QString& suggestion)>;

    MethodDialog(const StraightedgeMethod& current, std::vector<NamedMethod> userMethods, QWidget* parent = nullptr);

    /** The method the settings describe; valid once the dialog was accepted. */
    StraightedgeMethod Method() const { return method_; }
    /** The user's methods as saved, renamed and deleted in the dialog. */
    const std::vector<NamedMethod>& UserMethods() const { return userMethods_; }

    void SetNameQuestion(NameQuestion question) { askName_ = std::move(question); }

    /** Fills the settings from the list's row (presets first, then the user's methods). */
    void ChooseRow(int row);
    /** Saves the settings as a new user method under a name asked for. */
    void SaveAsUserMethod();
    void RenameUserMethod();
    void DeleteUserMethod();

    void accept() override;

private:
    void CreateControls();
    void ArrangeControls();
    /** The list, its buttons and the fields; OK and Cancel are connected where they are made. */
    void ConnectControls();
    void FillList();
    /** Refills the list and chooses the user's method at `index`, leaving the settings as they are. */
    void ShowUserMethodsChoosing(int index);
    void ShowMethod(const StraightedgeMethod& method);
    void UnitsChanged();
    void UpdateControls();
    /** The method the fields describe, or an explanation of what is wrong. */
    bool ReadFields(StraightedgeMethod& method, QString& problem) const;
    /** The index in userMethods_ of the chosen row, or -1 for a preset or none. */
    int ChosenUserMethod() const;

    StraightedgeMethod method_;
    std::vector<NamedMethod> userMethods_;
    UnitSystem shownUnits_ = UnitSystem::US;
    NameQuestion askName_;

    QListWidget* list_ = nullptr;
    QPushButton* saveAs_ = nullptr;
    QPushButton* rename_ = nullptr;
    QPushButton* delete_ = nullptr;
    QComboBox* units_ = nullptr;
    QLineEdit* length_ = nullptr;
    QLineEdit* step_ = nullptr;
    QCheckBox* continuous_ = nullptr;
    QLineEdit* tolerance_ = nullptr;
    QLabel* lengthUnit_ = nullptr;
    QLabel* stepUnit_ = nullptr;
    QLabel* toleranceUnit_ = nullptr;
    QLabel* problem_ = nullptr;
};

} // namespace zlm
