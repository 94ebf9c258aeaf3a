#include "mainwindow/MethodDialog.h"

#include "analysis/DisplayFormat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace zlm {

namespace {

QString Number(double value)
{
    return QString::fromStdString(PlainDecimalText(value));
}

QString Number(float value)
{
    return QString::fromStdString(PlainDecimalText(value));
}

/** A typed number: "." or "," as the decimal point, blanks around it allowed. */
bool ReadNumber(const QLineEdit* field, double& value)
{
    QString text = field->text().trimmed();
    text.replace(',', '.');
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value) && value > 0.0;
}

} // namespace

MethodDialog::MethodDialog(const StraightedgeMethod& current, std::vector<NamedMethod> userMethods, QWidget* parent)
    : QDialog(parent), method_(current), userMethods_(std::move(userMethods))
{
    setObjectName("MethodDialog");
    setWindowTitle("Straightedge Method");
    askName_ = [this](const QString& title, const QString& suggestion) {
        return QInputDialog::getText(this, title, "Name:", QLineEdit::Normal, suggestion).trimmed();
    };
    CreateControls();
    ArrangeControls();
    ConnectControls();
    FillList();
    ShowMethod(current);
    length_->setFocus();
}

void MethodDialog::CreateControls()
{
    list_ = new QListWidget(this);
    list_->setObjectName("methods");
    saveAs_ = new QPushButton("&Save As…", this);
    rename_ = new QPushButton("&Rename…", this);
    delete_ = new QPushButton("&Delete", this);

    units_ = new QComboBox(this);
    units_->setObjectName("units");
    units_->addItem("US customary (ft, in)");
    units_->addItem("SI (m, mm)");
    length_ = new QLineEdit(this);
    length_->setObjectName("length");
    step_ = new QLineEdit(this);
    step_->setObjectName("step");
    continuous_ = new QCheckBox("Roll &continuously (every sample point)", this);
    continuous_->setObjectName("continuous");
    tolerance_ = new QLineEdit(this);
    tolerance_->setObjectName("tolerance");
    lengthUnit_ = new QLabel(this);
    stepUnit_ = new QLabel(this);
    toleranceUnit_ = new QLabel(this);
    problem_ = new QLabel(this);
    problem_->setObjectName("problem");
    problem_->setWordWrap(true);
    problem_->setStyleSheet("color: #b00000;");
    problem_->hide();
}

void MethodDialog::ArrangeControls()
{
    const auto withUnit = [this](QLineEdit* field, QLabel* unit) {
        auto* row = new QHBoxLayout;
        row->addWidget(field, 1);
        row->addWidget(unit);
        return row;
    };
    auto* form = new QFormLayout;
    auto* unitsLabel = new QLabel("&Units:", this);
    unitsLabel->setBuddy(units_);
    form->addRow(unitsLabel, units_);
    auto* lengthLabel = new QLabel("&Length:", this);
    lengthLabel->setBuddy(length_);
    form->addRow(lengthLabel, withUnit(length_, lengthUnit_));
    auto* stepLabel = new QLabel("S&tep:", this);
    stepLabel->setBuddy(step_);
    form->addRow(stepLabel, withUnit(step_, stepUnit_));
    form->addRow(QString(), continuous_);
    auto* toleranceLabel = new QLabel("T&olerance:", this);
    toleranceLabel->setBuddy(tolerance_);
    form->addRow(toleranceLabel, withUnit(tolerance_, toleranceUnit_));
    form->addRow(problem_);

    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(saveAs_);
    listButtons->addWidget(rename_);
    listButtons->addWidget(delete_);
    auto* left = new QVBoxLayout;
    auto* listLabel = new QLabel("&Methods:", this);
    listLabel->setBuddy(list_);
    left->addWidget(listLabel);
    left->addWidget(list_, 1);
    left->addLayout(listButtons);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(form, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &MethodDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MethodDialog::reject);
}

void MethodDialog::ConnectControls()
{
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ChooseRow(row);
    });
    connect(saveAs_, &QPushButton::clicked, this, &MethodDialog::SaveAsUserMethod);
    connect(rename_, &QPushButton::clicked, this, &MethodDialog::RenameUserMethod);
    connect(delete_, &QPushButton::clicked, this, &MethodDialog::DeleteUserMethod);
    connect(units_, &QComboBox::currentIndexChanged, this, &MethodDialog::UnitsChanged);
    connect(continuous_, &QCheckBox::toggled, this, &MethodDialog::UpdateControls);
}

void MethodDialog::FillList()
{
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const NamedMethod& preset : MethodPresets())
        list_->addItem(QString::fromStdString(preset.name));
    for (const NamedMethod& own : userMethods_) {
        auto* item = new QListWidgetItem(QString::fromStdString(own.name) + "  (saved)");
        list_->addItem(item);
    }
    UpdateControls();
}

void MethodDialog::ShowUserMethodsChoosing(int index)
{
    FillList();
    const QSignalBlocker quiet(list_);
    list_->setCurrentRow(static_cast<int>(MethodPresets().size()) + index);
    UpdateControls();
}

void MethodDialog::ShowMethod(const StraightedgeMethod& method)
{
    shownUnits_ = method.units;
    {
        const QSignalBlocker quiet(units_);
        units_->setCurrentIndex(method.units == UnitSystem::SI ? 1 : 0);
    }
    length_->setText(Number(method.baseLength));
    step_->setText(Number(method.step));
    continuous_->setChecked(method.continuous);
    tolerance_->setText(Number(method.tolerance));
    UpdateControls();
}

void MethodDialog::UnitsChanged()
{
    const UnitSystem wanted = units_->currentIndex() == 1 ? UnitSystem::SI : UnitSystem::US;
    if (wanted == shownUnits_)
        return;
    // The values typed so far keep their meaning: 16 ft becomes 4.8768 m. A field
    // that holds no usable number is left for the user to mend.
    StraightedgeMethod typed;
    typed.units = shownUnits_;
    double value = 0.0;
    const bool lengthOk = ReadNumber(length_, value);
    typed.baseLength = value;
    const bool stepOk = ReadNumber(step_, value);
    typed.step = value;
    const bool toleranceOk = ReadNumber(tolerance_, value);
    typed.tolerance = SingleTolerance(value);
    const StraightedgeMethod converted = ConvertMethod(typed, wanted);
    shownUnits_ = wanted;
    if (lengthOk)
        length_->setText(Number(converted.baseLength));
    if (stepOk)
        step_->setText(Number(converted.step));
    if (toleranceOk)
        tolerance_->setText(Number(converted.tolerance));
    UpdateControls();
}

void MethodDialog::UpdateControls()
{
    const bool si = shownUnits_ == UnitSystem::SI;
    lengthUnit_->setText(si ? "m" : "ft");
    stepUnit_->setText(si ? "m" : "ft");
    toleranceUnit_->setText(si ? "mm" : "in");
    step_->setEnabled(!continuous_->isChecked());
    const bool own = ChosenUserMethod() >= 0;
    rename_->setEnabled(own);
    delete_->setEnabled(own);
}

int MethodDialog::ChosenUserMethod() const
{
    const int row = list_->currentRow() - static_cast<int>(MethodPresets().size());
    return row >= 0 && row < static_cast<int>(userMethods_.size()) ? row : -1;
}

void MethodDialog::ChooseRow(int row)
{
    const auto presets = static_cast<int>(MethodPresets().size());
    if (row < 0 || row >= presets + static_cast<int>(userMethods_.size()))
        return;
    if (list_->currentRow() != row) {
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(row);
    }
    ShowMethod(row < presets ? MethodPresets()[static_cast<std::size_t>(row)].method
                             : userMethods_[static_cast<std::size_t>(row - presets)].method);
    problem_->hide();
}

bool MethodDialog::ReadFields(StraightedgeMethod& method, QString& problem) const
{
    method.units = shownUnits_;
    method.continuous = continuous_->isChecked();
    const bool si = shownUnits_ == UnitSystem::SI;
    double value = 0.0;
    if (!ReadNumber(length_, value)) {
        problem = QString("The length must be a number of %1 greater than 0.").arg(si ? "metres" : "feet");
        return false;
    }
    method.baseLength = value;
    if (!method.continuous) {
        if (!ReadNumber(step_, value)) {
            problem = QString("The step must be a number of %1 greater than 0, or roll the straightedge "
                              "continuously.")
                          .arg(si ? "metres" : "feet");
            return false;
        }
        method.step = value;
    } else if (ReadNumber(step_, value)) {
        method.step = value; // kept for when continuous rolling is switched off again
    }
    if (!ReadNumber(tolerance_, value) || !(SingleTolerance(value) > 0.0f) || std::isinf(SingleTolerance(value))) {
        problem = QString("The tolerance must be a number of %1 greater than 0.").arg(si ? "millimetres" : "inches");
        return false;
    }
    method.tolerance = SingleTolerance(value);
    return true;
}

void MethodDialog::SaveAsUserMethod()
{
    StraightedgeMethod method;
    QString problem;
    if (!ReadFields(method, problem)) {
        problem_->setText(problem);
        problem_->show();
        return;
    }
    const QString name = askName_("Save Method", QString::fromStdString(DescribeMethod(method)));
    if (name.isEmpty())
        return;
    // A name used before is replaced: the list holds one method per name.
    int index = -1;
    for (std::size_t i = 0; i < userMethods_.size(); ++i)
        if (userMethods_[i].name == name.toStdString())
            index = static_cast<int>(i);
    if (index < 0) {
        userMethods_.push_back({name.toStdString(), method});
        index = static_cast<int>(userMethods_.size()) - 1;
    } else {
        userMethods_[static_cast<std::size_t>(index)].method = method;
    }
    ShowUserMethodsChoosing(index);
}

void MethodDialog::RenameUserMethod()
{
    const int index = ChosenUserMethod();
    if (index < 0)
        return;
    NamedMethod& own = userMethods_[static_cast<std::size_t>(index)];
    const QString name = askName_("Rename Method", QString::fromStdString(own.name));
    if (name.isEmpty())
        return;
    own.name = name.toStdString();
    ShowUserMethodsChoosing(index);
}

void MethodDialog::DeleteUserMethod()
{
    const int index = ChosenUserMethod();
    if (index < 0)
        return;
    userMethods_.erase(userMethods_.begin() + index);
    FillList();
}

void MethodDialog::accept()
{
    StraightedgeMethod method;
    QString problem;
    if (!ReadFields(method, problem)) {
        problem_->setText(problem);
        problem_->show();
        return;
    }
    method_ = method;
    QDialog::accept();
}

} // namespace zlm
