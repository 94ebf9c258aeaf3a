#include "mainwindow/DelimitedUnitsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace zlm {

namespace {

/** The units offered, in the order the boxes list them. */
constexpr LengthUnit kUnits[] = {LengthUnit::Foot, LengthUnit::Inch, LengthUnit::Metre, LengthUnit::Millimetre,
                                 LengthUnit::Mil};

/** The file's columns as its header names them, so that the user sees what is being asked about. */
QString ColumnsText(const DelimitedLayout& layout)
{
    QStringList columns;
    for (std::int32_t c = 0; c < layout.columnCount && c < 3; ++c) {
        const std::string& text = layout.headerTexts[static_cast<std::size_t>(c)];
        if (!text.empty()) {
            columns << QString::fromStdString(text);
        }
    }
    return columns.isEmpty() ? QString() : "Columns: " + columns.join(", ");
}

} // namespace

DelimitedUnitsDialog::DelimitedUnitsDialog(const DelimitedProbeResult& probe, const NeededUnits& needed,
                                           QWidget* parent)
    : QDialog(parent), needed_(needed)
{
    setObjectName("DelimitedUnitsDialog");
    setWindowTitle("Profile Units");
    setModal(true);

    auto* prompt = new QLabel("The file does not say all of its units. Please give them:", this);
    prompt->setObjectName("lblPrompt");
    auto* form = new QFormLayout;
    const QString columns = ColumnsText(probe.layout);

    if (needed.distanceUnit || needed.interval) {
        distanceUnit_ = NewUnitBox("cboDistanceUnit", LengthUnit::Foot);
        // Without a distance column the unit is the interval's.
        form->addRow(needed.interval ? "Interval &unit:" : "&Distance unit:", distanceUnit_);
    }
    if (needed.interval) {
        interval_ = new QLineEdit(this);
        interval_->setObjectName("txtInterval");
        form->addRow("Sample &interval:", interval_);
        intervalError_ = new QLabel(this);
        intervalError_->setObjectName("lblIntervalError");
        intervalError_->setStyleSheet("color: #b00000");
        intervalError_->setVisible(false);
        form->addRow(QString(), intervalError_);
        connect(interval_, &QLineEdit::textEdited, intervalError_, &QLabel::hide);
    }
    if (needed.elevationUnit) {
        elevationUnit_ = NewUnitBox("cboElevationUnit", LengthUnit::Inch);
        form->addRow("&Elevation unit:", elevationUnit_);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("CancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &DelimitedUnitsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    if (!columns.isEmpty()) {
        auto* columnsLabel = new QLabel(columns, this);
        columnsLabel->setObjectName("lblColumns");
        columnsLabel->setWordWrap(true);
        layout->addWidget(columnsLabel);
    }
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QComboBox* DelimitedUnitsDialog::NewUnitBox(const char* name, LengthUnit initial)
{
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    for (LengthUnit unit : kUnits) {
        box->addItem(LengthUnitSymbol(unit), static_cast<int>(unit));
    }
    box->setCurrentIndex(box->findData(static_cast<int>(initial)));
    return box;
}

DelimitedUnits DelimitedUnitsDialog::Answer() const
{
    DelimitedUnits units;
    if (distanceUnit_ != nullptr) {
        units.distanceUnit = static_cast<LengthUnit>(distanceUnit_->currentData().toInt());
    }
    if (elevationUnit_ != nullptr) {
        units.elevationUnit = static_cast<LengthUnit>(elevationUnit_->currentData().toInt());
    }
    if (interval_ != nullptr) {
        units.interval = ParseInterval(interval_->text());
    }
    return units;
}

std::optional<double> DelimitedUnitsDialog::ParseInterval(const QString& text)
{
    QString plain = text.trimmed();
    // Either separator is taken, whatever the system's locale, but only one of them once.
    plain.replace(',', '.');
    if (plain.count('.') > 1) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value) || value <= 0.0) {
        return std::nullopt;
    }
    return value;
}

void DelimitedUnitsDialog::accept()
{
    if (interval_ != nullptr && !ParseInterval(interval_->text())) {
        intervalError_->setText("The interval must be a number above 0.");
        intervalError_->setVisible(true);
        interval_->setFocus();
        interval_->selectAll();
        return;
    }
    QDialog::accept();
}

std::optional<DelimitedUnits> DelimitedUnitsDialog::AskUnits(const DelimitedProbeResult& probe,
                                                             const NeededUnits& needed, QWidget* parent)
{
    DelimitedUnitsDialog dialog(probe, needed, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Answer();
}

} // namespace zlm
