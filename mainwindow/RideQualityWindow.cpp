#include "mainwindow/RideQualityWindow.h"

#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"
#include "commands/ReportRequest.h"
#include "commands/RideQualityCommand.h"
#include "commands/SafeFileWrite.h"
#include "commands/SessionState.h"
#include "graph/LocaleText.h"
#include "graph/RideQualityGraph.h"
#include "graph/frmSkiPlot.h"
#include "mainwindow/HelpWindow.h"
#include "mainwindow/ReportRunner.h"
#include "mainwindow/RideQualityJob.h"
#include "mainwindow/RideQualitySettings.h"
#include "mainwindow/RideSectionsModel.h"
#include "mainwindow/RoughAreasModel.h"
#include "mainwindow/SavePathPrompt.h"
#include "mainwindow/UserDialogs.h"
#include "profile_input/PathText.h"
#include "report/PdfReport.h"
#include "ride_quality/RideQualityText.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrent>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

namespace zlm {

namespace {

/** A name typed without an extension is saved as a comma-separated file. */
QString WithCsvExtension(const QString& path)
{
    return QFileInfo(path).fileName().contains('.') ? path : path + ".csv";
}

/**
 * Progress of the worker for the window: a changed percent goes to the bar by
 * a queued call (dropped if the bar is gone), and the cancel flag answers.
 */
class WorkerProgress final : public ProgressSink {
public:
    WorkerProgress(QProgressBar* bar, const std::atomic<bool>& cancel) : bar_(bar), cancel_(cancel) {}
    void SetTextVisible(bool) override {}
    void SetVisible(bool) override {}
    void SetValue(std::int16_t percent) override
    {
        if (percent == last_)
            return;
        last_ = percent;
        QProgressBar* bar = bar_;
        QMetaObject::invokeMethod(
            bar, [bar, percent] { bar->setValue(percent); }, Qt::QueuedConnection);
    }
    void Refresh() override {}
    bool CancelRequested() override { return cancel_.load(); }

private:
    QProgressBar* bar_;
    const std::atomic<bool>& cancel_;
    std::int16_t last_ = -1;
};

QTableView* MakeTable(QWidget* parent, const char* name, QSortFilterProxyModel* model)
{
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setSortingEnabled(true);
    view->sortByColumn(0, Qt::AscendingOrder);
    return view;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter belongs to the tables and the settings, not to a default button.
    button->setAutoDefault(false);
    return button;
}

QLineEdit* MakeNumberBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaximumWidth(std::max(90, box->fontMetrics().horizontalAdvance(QStringLiteral("0000000.000")) + 12));
    return box;
}

// Now, in whole seconds since 1970 UTC: when results were had, for their report.
std::int64_t SecondsNow()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(now).count();
}

} // namespace

RideQualityWindow::RideQualityWindow(SessionState& state, const QString& profilePath, UnitSystem units,
                                     const DelimitedUnits& delimitedUnits, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), profilePath_(profilePath), units_(units), delimitedUnits_(delimitedUnits),
      dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmRideQuality"));
    setWindowTitle(QStringLiteral("Ride Quality"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    setModal(false);

    watcher_ = new QFutureWatcher<RideJobOutcome>(this);
    connect(watcher_, &QFutureWatcher<RideJobOutcome>::finished, this, &RideQualityWindow::AnalysisDone);
    reports_ = new ReportRunner(this);
    connect(reports_, &ReportRunner::Finished, this, &RideQualityWindow::ReportDone);
    connect(reports_, &ReportRunner::Progress, this, [this](int percent) { progress_->setValue(percent); });
    BuildControls();
    ArrangeControls();
    ConnectCommands();

    QSettings settings;
    ShowSettings(RideQualitySettings(settings).Method(units_));
    if (state_.rideQuality.valid)
        ShowResults();
    else
        QMetaObject::invokeMethod(this, &RideQualityWindow::Analyse, Qt::QueuedConnection);
    RefreshCommands();
    resize(900, 640);
}

RideQualityWindow::~RideQualityWindow()
{
    // The worker reads the flag and the bar: it ends before they go.
    cancel_ = true;
    watcher_->waitForFinished();
}

void RideQualityWindow::BuildControls()
{
    settingsBox_ = BuildSettings();
    const char separator = LocaleDecimalSeparator();
    sectionsModel_ = new RideSectionsModel(separator, this);
    areasModel_ = new RoughAreasModel(separator, this);
    for (QSortFilterProxyModel** sorted : {&sectionsSorted_, &areasSorted_}) {
        *sorted = new QSortFilterProxyModel(this);
        (*sorted)->setSortRole(Qt::UserRole);
    }
    sectionsSorted_->setSourceModel(sectionsModel_);
    areasSorted_->setSourceModel(areasModel_);

    lblOverall_ = new QLabel(this);
    lblOverall_->setObjectName(QStringLiteral("lblOverall"));
    lblOverall_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tblSections_ = MakeTable(this, "tblSections", sectionsSorted_);
    tblAreas_ = MakeTable(this, "tblAreas", areasSorted_);
    tblAreas_->setToolTip(QStringLiteral("Double-click an area or press Enter to see it on the graph"));
    for (QTableView* view : {tblSections_, tblAreas_})
        view->installEventFilter(this);

    cmdSaveSections_ = MakeButton(this, "cmdSaveSections", QStringLiteral("Sa&ve Sections As..."));
    cmdSaveAreas_ = MakeButton(this, "cmdSaveAreas", QStringLiteral("Save &Areas As..."));
    cmdPlot_ = MakeButton(this, "cmdPlot", QStringLiteral("&Plot"));
    cmdReport_ = MakeButton(this, "cmdReport", QStringLiteral("&Report..."));
    cmdReport_->setToolTip(QStringLiteral("Write the ride-quality report of these results as a PDF"));
    cmdClose_ = MakeButton(this, "cmdClose", QStringLiteral("&Close"));
}

QWidget* RideQualityWindow::BuildSettings()
{
    auto* box = new QGroupBox(QStringLiteral("Settings"), this);
    box->setObjectName(QStringLiteral("grpSettings"));
    chkSections_ = new QCheckBox(QStringLiteral("&Sections of"), box);
    chkSections_->setObjectName(QStringLiteral("chkSections"));
    txtSectionLength_ = MakeNumberBox(box, "txtSectionLength");
    txtBaseLength_ = MakeNumberBox(box, "txtBaseLength");
    txtThreshold_ = MakeNumberBox(box, "txtThreshold");
    cboLeft_ = new QComboBox(box);
    cboLeft_->setObjectName(QStringLiteral("cboLeftPath"));
    cboRight_ = new QComboBox(box);
    cboRight_->setObjectName(QStringLiteral("cboRightPath"));
    // Until the file has been read its channels are not known: the file's own choice.
    cboLeft_->addItem(QStringLiteral("Channel 1"));
    cboRight_->addItem(QStringLiteral("Channel 2, if the file has it"));
    cboLeft_->setEnabled(false);
    cboRight_->setEnabled(false);
    cmdAnalyse_ = MakeButton(box, "cmdAnalyse", QStringLiteral("A&nalyse"));
    cmdCancel_ = MakeButton(box, "cmdCancel", QStringLiteral("Cancel"));
    progress_ = new QProgressBar(box);
    progress_->setObjectName(QStringLiteral("prgAnalysis"));
    progress_->setRange(0, 100);
    QSizePolicy policy = progress_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(policy);
    progress_->hide();
    lblProblem_ = new QLabel(box);
    lblProblem_->setObjectName(QStringLiteral("lblProblem"));
    lblProblem_->setWordWrap(true);
    lblProblem_->setStyleSheet(QStringLiteral("color: #b00000"));
    lblStatus_ = new QLabel(box);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));

    const RideUnitTexts texts = RideUnitTextsFor(units_);
    const QString length = QString::fromStdString(texts.length);
    const QString roughness = QString::fromStdString(texts.roughness);
    const auto withUnit = [](QWidget* field, const QString& unit) {
        auto* row = new QHBoxLayout;
        row->addWidget(field);
        row->addWidget(new QLabel(unit));
        row->addStretch(1);
        return row;
    };
    // Labels with buddies, so that their Alt keys reach the boxes.
    const auto label = [box](const QString& text, QWidget* buddy) {
        auto* caption = new QLabel(text, box);
        caption->setBuddy(buddy);
        return caption;
    };
    auto* form = new QFormLayout;
    form->addRow(chkSections_, withUnit(txtSectionLength_, length));
    form->addRow(label(QStringLiteral("&Base length:"), txtBaseLength_), withUnit(txtBaseLength_, length));
    form->addRow(label(QStringLiteral("&Threshold:"), txtThreshold_), withUnit(txtThreshold_, roughness));
    form->addRow(label(QStringLiteral("&Left path:"), cboLeft_), cboLeft_);
    form->addRow(label(QStringLiteral("Ri&ght path:"), cboRight_), cboRight_);
    auto* run = new QHBoxLayout;
    run->addWidget(cmdAnalyse_);
    run->addWidget(cmdCancel_);
    run->addWidget(progress_, 1);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(form);
    layout->addLayout(run);
    layout->addWidget(lblStatus_);
    layout->addWidget(lblProblem_);
    layout->addStretch(1);
    return box;
}

void RideQualityWindow::ArrangeControls()
{
    std::string directory;
    auto* lblFile = new QLabel(
        QStringLiteral("Profile: ") + FromCoreText(SplitFilePath(ToFileName(profilePath_), directory)), this);
    lblFile->setObjectName(QStringLiteral("lblRideFile"));
    lblFile->setToolTip(profilePath_);

    auto* top = new QHBoxLayout;
    top->addWidget(settingsBox_);
    auto* overall = new QVBoxLayout;
    overall->addWidget(lblFile);
    overall->addWidget(lblOverall_);
    overall->addStretch(1);
    top->addLayout(overall, 1);

    const auto titled = [this](const QString& title, QTableView* view, QPushButton* save) {
        auto* pane = new QWidget(this);
        auto* layout = new QVBoxLayout(pane);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* label = new QLabel(title, pane);
        label->setBuddy(view);
        auto* row = new QHBoxLayout;
        row->addWidget(label, 1);
        row->addWidget(save);
        layout->addLayout(row);
        layout->addWidget(view, 1);
        return pane;
    };
    auto* tables = new QSplitter(Qt::Vertical, this);
    tables->addWidget(titled(QStringLiteral("S&ection table"), tblSections_, cmdSaveSections_));
    tables->addWidget(titled(QStringLiteral("Locali&zed roughness"), tblAreas_, cmdSaveAreas_));
    tables->setChildrenCollapsible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {cmdPlot_, cmdReport_, cmdClose_})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tables, 1);
    layout->addLayout(buttons);
}

void RideQualityWindow::ConnectCommands()
{
    for (QLineEdit* box : {txtSectionLength_, txtBaseLength_, txtThreshold_}) {
        connect(box, &QLineEdit::textChanged, this, &RideQualityWindow::RefreshProblem);
        connect(box, &QLineEdit::returnPressed, this, &RideQualityWindow::Analyse);
    }
    connect(chkSections_, &QCheckBox::toggled, this, [this](bool on) {
        txtSectionLength_->setEnabled(on);
        RefreshProblem();
    });
    for (QComboBox* box : {cboLeft_, cboRight_})
        connect(box, &QComboBox::currentIndexChanged, this, &RideQualityWindow::RefreshProblem);
    connect(cmdAnalyse_, &QPushButton::clicked, this, &RideQualityWindow::Analyse);
    connect(cmdCancel_, &QPushButton::clicked, this, &RideQualityWindow::CancelAnalysis);
    connect(cmdSaveSections_, &QPushButton::clicked, this, &RideQualityWindow::SaveSectionsAs);
    connect(cmdSaveAreas_, &QPushButton::clicked, this, &RideQualityWindow::SaveAreasAs);
    connect(cmdPlot_, &QPushButton::clicked, this, &RideQualityWindow::Plot);
    connect(cmdReport_, &QPushButton::clicked, this, &RideQualityWindow::WriteReport);
    connect(cmdClose_, &QPushButton::clicked, this, &RideQualityWindow::reject);
    connect(tblAreas_, &QTableView::activated, this, &RideQualityWindow::OpenArea);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { HelpWindow::ShowFor(this, QStringLiteral("ride-quality.html")); });
}

void RideQualityWindow::ShowSettings(const RideQualityMethod& method)
{
    const char separator = LocaleDecimalSeparator();
    const auto text = [separator](double value) {
        QString plain = QString::fromStdString(PlainDecimalText(value));
        return plain.replace(QLatin1Char('.'), QLatin1Char(separator));
    };
    QSettings settings;
    chkSections_->setChecked(method.sectionLength > 0.0);
    txtSectionLength_->setEnabled(method.sectionLength > 0.0);
    txtSectionLength_->setText(text(method.sectionLength > 0.0
                                        ? method.sectionLength
                                        : RideQualitySettings(settings).SectionLengthOffered(units_)));
    txtBaseLength_->setText(text(method.baseLength));
    txtThreshold_->setText(text(method.threshold));
    RefreshProblem();
}

std::optional<RideQualityMethod> RideQualityWindow::SettingsMethod(QString& problem) const
{
    const char separator = LocaleDecimalSeparator();
    RideQualityMethod method = DefaultRideQualityMethod(units_);
    method.localized = true;
    const auto read = [&](QLineEdit* box, const QString& name, double& value) {
        const std::string text = box->text().trimmed().toStdString();
        if (ConvertDecimalNumber(text, separator, value) && std::isfinite(value))
            return true;
        problem = QStringLiteral("The %1 \"%2\" is not a number.").arg(name, box->text().trimmed());
        return false;
    };
    if (chkSections_->isChecked()) {
        if (!read(txtSectionLength_, QStringLiteral("section length"), method.sectionLength))
            return std::nullopt;
        if (!(method.sectionLength > 0.0)) {
            problem = QStringLiteral("The section length must be above 0 (clear Sections for one row).");
            return std::nullopt;
        }
    } else {
        method.sectionLength = 0.0;
    }
    if (!read(txtBaseLength_, QStringLiteral("base length"), method.baseLength) ||
        !read(txtThreshold_, QStringLiteral("threshold"), method.threshold))
        return std::nullopt;
    if (cboLeft_->isEnabled() && cboRight_->currentIndex() == cboLeft_->currentIndex() + 1) {
        problem = QStringLiteral("The left and right paths are the same channel.");
        return std::nullopt;
    }
    // The profile open in the main window has the points and interval of the file's channels;
    // once the main window reads it in other units the run's own check answers.
    const ElevationProfile& profile = state_.rideQuality.valid ? state_.rideQuality.left : state_.profile;
    if (profile.units != units_)
        return method;
    const std::string refusal = RideQualityRefusal(profile.pointCount, profile.interval, method);
    if (!refusal.empty()) {
        problem = FromCoreText(refusal);
        return std::nullopt;
    }
    return method;
}

QString RideQualityWindow::ProblemText() const
{
    return lblProblem_->text();
}

QString RideQualityWindow::OverallText() const
{
    return lblOverall_->text();
}

void RideQualityWindow::RefreshProblem()
{
    QString problem;
    SettingsMethod(problem);
    lblProblem_->setText(problem);
    RefreshCommands();
}

bool RideQualityWindow::IsRunning() const
{
    return running_ || reports_->Running();
}

void RideQualityWindow::RefreshCommands()
{
    const bool running = IsRunning();
    const bool results = state_.rideQuality.valid && !running;
    QString problem;
    cmdAnalyse_->setEnabled(!running && SettingsMethod(problem).has_value());
    cmdCancel_->setEnabled(running);
    for (QPushButton* button : {cmdSaveSections_, cmdSaveAreas_, cmdPlot_, cmdReport_})
        button->setEnabled(results);
}

void RideQualityWindow::SetRunning(bool running)
{
    for (QWidget* field : std::initializer_list<QWidget*>{chkSections_, txtBaseLength_, txtThreshold_})
        field->setEnabled(!running);
    txtSectionLength_->setEnabled(!running && chkSections_->isChecked());
    const bool choices = cboLeft_->count() > 1;
    cboLeft_->setEnabled(!running && choices);
    cboRight_->setEnabled(!running && choices);
    progress_->setValue(0);
    progress_->setVisible(running);
    // The busy pointer is the window's own: the main window stays usable.
    if (running)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
    RefreshCommands();
}

void RideQualityWindow::Analyse()
{
    if (IsRunning())
        return;
    QString problem;
    const std::optional<RideQualityMethod> method = SettingsMethod(problem);
    lblProblem_->setText(problem);
    if (!method)
        return;
    QSettings settings;
    RideQualitySettings(settings).SetMethod(*method);

    RideJob job;
    job.path = ToFileName(profilePath_);
    if (cboLeft_->isEnabled())
        job.choice = {cboLeft_->currentIndex() + 1, cboRight_->currentIndex()};
    job.units = units_;
    job.delimitedUnits = delimitedUnits_;
    job.method = *method;
    cancel_ = false;
    lblStatus_->setText(QStringLiteral("Analysing..."));
    WorkerGate gate = workerGate_;
    QProgressBar* bar = progress_;
    const std::atomic<bool>& cancel = cancel_;
    running_ = true;
    watcher_->setFuture(QtConcurrent::run([job, gate, bar, &cancel] {
        if (gate)
            gate();
        WorkerProgress progress(bar, cancel);
        return RunRideJob(job, progress, cancel);
    }));
    SetRunning(true);
}

void RideQualityWindow::CancelAnalysis()
{
    reports_->Cancel();
    if (running_) {
        cancel_ = true;
        lblStatus_->setText(QStringLiteral("Stopping..."));
    }
}

void RideQualityWindow::AnalysisDone()
{
    RideJobOutcome out = watcher_->result();
    running_ = false;
    if (!out.channelNames.empty())
        FillPathChoices(out.channelNames, out.paths.left, out.paths.right);
    if (out.ran) {
        state_.rideQuality = std::move(out.scratch.rideQuality);
        state_.rideQuality.delimitedUnits = delimitedUnits_;
        state_.rideQuality.madeAt = SecondsNow();
        lblStatus_->setText(QString());
        lblProblem_->clear();
        ShowResults();
    } else if (out.cancelled) {
        lblStatus_->setText(state_.rideQuality.valid ? QStringLiteral("Cancelled: the last results are shown.")
                                                     : QStringLiteral("Cancelled."));
    } else {
        lblStatus_->setText(QString());
        lblProblem_->setText(FromCoreText(out.message));
    }
    SetRunning(false);
    emit AnalysisFinished();
}

void RideQualityWindow::FillPathChoices(const std::vector<std::string>& names, std::int32_t left, std::int32_t right)
{
    const QSignalBlocker leftBlocker(cboLeft_);
    const QSignalBlocker rightBlocker(cboRight_);
    cboLeft_->clear();
    cboRight_->clear();
    cboRight_->addItem(QStringLiteral("None: one profile"));
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString name = QStringLiteral("%1: %2").arg(i + 1).arg(FromCoreText(names[i]));
        cboLeft_->addItem(name);
        cboRight_->addItem(name);
    }
    cboLeft_->setCurrentIndex(std::max(0, left - 1));
    cboRight_->setCurrentIndex(std::max(0, right));
    cboLeft_->setEnabled(names.size() > 1);
    cboRight_->setEnabled(names.size() > 1);
}

void RideQualityWindow::ShowResults()
{
    const RideQualityResults& results = state_.rideQuality.results;
    sectionsModel_->SetResults(results);
    areasModel_->SetResults(results);
    const char separator = LocaleDecimalSeparator();
    const RideUnitTexts units = RideUnitTextsFor(results.method.units);
    const auto figure = [&](const char* name, double value) {
        return QStringLiteral("%1 = %2 %3")
            .arg(QString::fromLatin1(name), FromCoreText(FormatNumber(value, units.pattern, separator)),
                 FromCoreText(units.roughness));
    };
    QStringList lines;
    const RideQualitySlot& slot = state_.rideQuality;
    if (results.twoPaths) {
        lines.append(QStringLiteral("Wheel paths: channel %1 (left) and channel %2 (right)")
                         .arg(slot.leftChannel)
                         .arg(slot.rightChannel));
        lines.append(figure("IRI Left", results.iriLeft) + QStringLiteral("    ") +
                     figure("IRI Right", results.iriRight));
        lines.append(figure("MRI", results.mri) + QStringLiteral("    ") + figure("HRI", results.hri));
    } else {
        lines.append(QStringLiteral("One profile: channel %1").arg(slot.leftChannel));
        lines.append(figure("IRI", results.iriLeft));
    }
    lines.append(QStringLiteral("Localized roughness: %1 %2, %3% of length")
                     .arg(results.areas.size())
                     .arg(results.areas.size() == 1 ? QStringLiteral("area") : QStringLiteral("areas"))
                     .arg(FromCoreText(FormatNumber(results.percentLocalized, "0.00", separator))));
    lines.append(QStringLiteral("Method: ") + FromCoreText(DescribeRideMethod(results.method)));
    lblOverall_->setText(lines.join(QLatin1Char('\n')));
    RefreshCommands();
}

QTableView* RideQualityWindow::SectionsView() const
{
    return tblSections_;
}

QTableView* RideQualityWindow::AreasView() const
{
    return tblAreas_;
}

QString RideQualityWindow::SelectedRowsText(const QTableView& view)
{
    QModelIndexList rows = view.selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lines;
    for (const QModelIndex& row : rows) {
        QStringList cells;
        for (int column = 0; column < view.model()->columnCount(); ++column)
            cells.append(view.model()->index(row.row(), column).data().toString());
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n'));
}

bool RideQualityWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The view's own copy takes the current cell alone; the tables copy whole rows.
    if ((watched == tblSections_ || watched == tblAreas_) && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(SelectedRowsText(*static_cast<QTableView*>(watched)));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void RideQualityWindow::reject()
{
    // Esc stops a running analysis first; the next one closes the window.
    if (IsRunning()) {
        CancelAnalysis();
        return;
    }
    QDialog::reject();
}

void RideQualityWindow::closeEvent(QCloseEvent* event)
{
    CancelAnalysis();
    QDialog::closeEvent(event);
}

void RideQualityWindow::SaveSectionsAs()
{
    if (state_.rideQuality.valid && !IsRunning())
        SaveCsv(QStringLiteral("Save Sections As"), RideSectionsCsv(state_.rideQuality.results));
}

void RideQualityWindow::SaveAreasAs()
{
    if (state_.rideQuality.valid && !IsRunning())
        SaveCsv(QStringLiteral("Save Areas As"), RoughAreasCsv(state_.rideQuality.results));
}

void RideQualityWindow::SaveCsv(const QString& title, const std::string& bytes)
{
    int filterIndex = 1;
    QString path = dialogs_.AskSaveFile(title, {QStringLiteral("Comma Separated (*.csv)")}, filterIndex);
    if (path.isEmpty())
        return;
    const QString withExtension = WithCsvExtension(path);
    if (withExtension != path && QFileInfo::exists(withExtension)) {
        // The dialog asked about the name as typed; the file written is another one.
        const auto answer = dialogs_.ShowMessage(
            title, QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(withExtension),
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const SafeWriteResult saved = WriteFileSafely(ToFileName(withExtension), bytes);
    QGuiApplication::restoreOverrideCursor();
    if (!saved.ok)
        dialogs_.ShowMessage(QStringLiteral("File Error!"), FromCoreText(saved.message), QMessageBox::Warning,
                             QMessageBox::Ok);
}

void RideQualityWindow::WriteReport()
{
    if (!state_.rideQuality.valid || IsRunning())
        return;
    const QString title = QStringLiteral("Report");
    int filterIndex = 1;
    QString path = dialogs_.AskSaveFile(title, {QStringLiteral("PDF Report (*.pdf)")}, filterIndex);
    if (path.isEmpty())
        return;
    path = ConfirmedSavePath(dialogs_, title, path, QStringLiteral(".pdf"), ExtensionRule::UnlessTyped);
    if (path.isEmpty())
        return;
    const AnalysisTime time = ChooseAnalysisTime(std::getenv("SOURCE_DATE_EPOCH"), state_.rideQuality.madeAt);
    if (!time.ok) {
        dialogs_.ShowMessage(title, FromCoreText(time.message), QMessageBox::Warning, QMessageBox::Ok);
        return;
    }
    ReportRequest request;
    request.analysis = ReportAnalysis::RideQuality;
    request.profilePath = ToFileName(QFileInfo(profilePath_).absoluteFilePath());
    request.commandLine = RideReproducingCommandLine(state_, request.profilePath);
    request.analysisTime = time.seconds;
    request.decimalSeparator = LocaleDecimalSeparator();
    // The report is written on a worker thread, with the progress bar and Cancel, as a run is.
    lblStatus_->setText(QStringLiteral("Writing the report..."));
    reports_->Start(state_, request, ToFileName(path));
    SetRunning(true);
}

void RideQualityWindow::ReportDone()
{
    const ReportRunner::Outcome& outcome = reports_->Result();
    SetRunning(false);
    lblStatus_->setText(outcome.cancelled ? QStringLiteral("Cancelled: no report was written.") : QString());
    if (!outcome.ok && !outcome.cancelled)
        dialogs_.ShowMessage(QStringLiteral("File Error!"), FromCoreText(outcome.message), QMessageBox::Warning,
                             QMessageBox::Ok);
    emit ReportFinished();
}

std::pair<double, double> RideQualityWindow::AreaViewRange(const RoughArea& area, double profileLength)
{
    const double margin = area.length / 4.0;
    const double start = std::max(0.0, area.start - margin);
    const double end = std::min(std::max(profileLength, area.end), area.end + margin);
    return {start, end};
}

void RideQualityWindow::Plot()
{
    if (state_.rideQuality.valid && !IsRunning())
        OpenGraph(std::nullopt);
}

void RideQualityWindow::OpenArea(const QModelIndex& viewIndex)
{
    if (!viewIndex.isValid() || !state_.rideQuality.valid || IsRunning())
        return;
    const RoughArea& area = areasModel_->Area(areasSorted_->mapToSource(viewIndex).row());
    OpenGraph(AreaViewRange(area, state_.rideQuality.results.ProfileLength()));
}

void RideQualityWindow::OpenGraph(std::optional<std::pair<double, double>> range)
{
    if (graphOpener_) {
        graphOpener_(range);
        return;
    }
    const RideQualitySlot& slot = state_.rideQuality;
    const QString path = profilePath_;
    frmSkiPlot plot(
        QStringLiteral("Ride Quality Graph"),
        [&slot, &path](GraphControl& graph) { FillRideQualityGraph(graph, slot, path, LocaleDecimalSeparator()); },
        slot.results.ProfileLength(), this);
    plot.setObjectName(QStringLiteral("frmRidePlot"));
    connect(&plot, &frmSkiPlot::HelpRequested, &plot,
            [&plot] { HelpWindow::ShowFor(&plot, QStringLiteral("ride-quality.html#graph")); });
    if (range)
        plot.ZoomToDistance(range->first, range->second);
    plot.exec();
}

void RideQualityWindow::SetGraphOpener(GraphOpener opener)
{
    graphOpener_ = std::move(opener);
}

void RideQualityWindow::SetWorkerGate(WorkerGate gate)
{
    workerGate_ = std::move(gate);
}

} // namespace zlm
