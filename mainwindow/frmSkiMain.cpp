#include "mainwindow/frmSkiMain.h"

#include "analysis/ResultsTable.h"
#include "commands/OpenCommand.h"
#include "commands/ReportRequest.h"
#include "commands/SimulateCommand.h"
#include "commands/SummaryWriter.h"
#include "graph/LocaleText.h"
#include "graph/frmSkiPlot.h"
#include "mainwindow/CorrectionsWindow.h"
#include "mainwindow/HelpWindow.h"
#include "mainwindow/LinkLabel.h"
#include "mainwindow/MethodDialog.h"
#include "mainwindow/MethodSettings.h"
#include "mainwindow/QtUserDialogs.h"
#include "mainwindow/ResultsGridView.h"
#include "mainwindow/SimulationRunner.h"
#include "mainwindow/TallylineProgress.h"
#include "mainwindow/frmAbout.h"
#include "profile_input/PathText.h"
#include "report/PdfReport.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdlib>
#include <utility>

namespace zlm {

namespace {

constexpr std::int16_t kFileLabelLength = 42;

/** The widest header texts the grid shows (placement list and section summary). */
constexpr const char* kWidestHeaders[] = {"Amount Exceeded (in)", "% Exceeding Threshold"};

const char* const kOpenTitle = "Choose Profile to Analyze";
const char* const kOpenFilter = "Pavement Profile (*.erd);;Rondel Pavement Profile (*.dat);;PRO Profile (*.pro *.PRO);;"
                                "Delimited Text Profile (*.csv *.txt *.CSV *.TXT);;All Files (*)";
/** The setting that keeps the folder of the last profile chosen with Browse. */
const char* const kLastFolderKey = "lastFolder";
const char* const kOpenDefaultSuffix = "dat";

/** The one local file a drag carries, or an empty text when it carries anything else. */
QString DroppedFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile()) {
        return {};
    }
    const QString path = data->urls().constFirst().toLocalFile();
    return QFileInfo(path).isDir() ? QString() : path;
}

std::string ToFileName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString FromCoreText(const std::string& text)
{
    return QString::fromLocal8Bit(text.c_str(), static_cast<qsizetype>(text.size()));
}

/** A name typed without an extension is saved as a text file. */
QString WithTextExtension(const QString& path)
{
    if (QFileInfo(path).fileName().contains('.')) {
        return path;
    }
    return path + ".txt";
}

/** Shows the normal arrow over a dialog that appears while the hourglass is up. */
class ArrowWhileAsking {
public:
    ArrowWhileAsking() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowWhileAsking() { QGuiApplication::restoreOverrideCursor(); }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;
};

/**
 * Gives the focus back to the control that started a command when the command
 * is over: disabling the commands meanwhile moves it away, and a command started
 * by its mnemonic had the focus elsewhere.
 */
class FocusReturn {
public:
    explicit FocusReturn(QWidget* origin) : origin_(origin) {}
    ~FocusReturn()
    {
        if (origin_ != nullptr && origin_->isEnabled() && !origin_->isHidden()) {
            origin_->setFocus(Qt::OtherFocusReason);
        }
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> origin_;
};

} // namespace

/** The hourglass and disabled commands for the time a command works. */
class frmSkiMain::BusyScope {
public:
    explicit BusyScope(frmSkiMain& window) : window_(window) { window_.EnterBusy(Qt::WaitCursor); }
    ~BusyScope() { window_.LeaveBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    frmSkiMain& window_;
};

void frmSkiMain::EnterBusy(Qt::CursorShape pointer)
{
    busy_ = true;
    SetCommandsEnabled(false);
    QGuiApplication::setOverrideCursor(pointer);
}

void frmSkiMain::LeaveBusy()
{
    QGuiApplication::restoreOverrideCursor();
    SetCommandsEnabled(true);
    busy_ = false;
    if (closeRequested_) {
        closeRequested_ = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

frmSkiMain::frmSkiMain(UserDialogs* dialogs, QWidget* parent) : QWidget(parent)
{
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<QtUserDialogs>(this);
        dialogs = ownDialogs_.get();
    }
    dialogs_ = dialogs;
    runner_ = std::make_unique<SimulationRunner>();
    BuildControls();
    Load();
    qApp->installEventFilter(this);
}

frmSkiMain::~frmSkiMain()
{
    qApp->removeEventFilter(this);
    // A run still going is stopped before anything it would hand its results to goes.
    runner_.reset();
    // The grid view reads grid_, a member that goes before QWidget deletes the children.
    delete mainFrame_;
}

void frmSkiMain::BuildControls()
{
    setObjectName("frmSkiMain");
    setWindowTitle("Evenrule (ZLM)");
    CreateControls();
    ArrangeControls();
    ConnectCommands();
    resize(InitialSize());
    setMinimumSize(minimumSizeHint().expandedTo(QSize(420, 400)));
    // A profile file dropped on the window is opened as if chosen with Browse.
    setAcceptDrops(true);
    cmdOpen_->setFocus();
}

QSize frmSkiMain::InitialSize() const
{
    // The design's size, or wide enough for the grid's widest column headers in
    // the font in use (the columns share the grid's width), and tall enough for
    // a screenful of rows.
    QFont headerFont = grdSKI_->font();
    headerFont.setBold(true);
    const QFontMetrics metrics(headerFont);
    int header = 0;
    for (const char* text : kWidestHeaders) {
        header = std::max(header, metrics.horizontalAdvance(QString::fromLatin1(text)));
    }
    const int gridWidth = 3 * (header + 2 * metrics.averageCharWidth()) + grdSKI_->TwipsToPixels(350) +
                          style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * grdSKI_->frameWidth();
    const QMargins margins = mainFrame_->layout()->contentsMargins();
    return QSize(std::max(540, gridWidth + margins.left() + margins.right()),
                 std::max(580, 30 * metrics.lineSpacing()));
}

void frmSkiMain::CreateControls()
{
    mainFrame_ = new QFrame(this);
    mainFrame_->setObjectName("fraMain");

    promptLabel_ = new QLabel("Which pavement profile would you like to examine?", mainFrame_);
    promptLabel_->setObjectName("Label3");

    cmdOpen_ = new QPushButton("&Browse", mainFrame_);
    cmdOpen_->setObjectName("cmdOpen");

    lblFileVisible_ = new QLabel(mainFrame_);
    lblFileVisible_->setObjectName("lblFileVisible");
    lblFileVisible_->setFrameShape(QFrame::Panel);
    lblFileVisible_->setFrameShadow(QFrame::Sunken);
    lblFileVisible_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    lblFileVisible_->setMinimumWidth(200);
    lblFileVisible_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    chkSection_ = new QCheckBox("Display Percent Exceeding Threshold", mainFrame_);
    chkSection_->setObjectName("chkSection");

    cmdSimulate_ = new QPushButton("&Simulate", mainFrame_);
    cmdSimulate_->setObjectName("cmdSimulate");

    cmdMethod_ = new QPushButton("&Method...", mainFrame_);
    cmdMethod_->setObjectName("cmdMethod");
    cmdMethod_->setToolTip("The straightedge's length, its step, the tolerance and the units");
    cmdCancel_ = new QPushButton("Cancel", mainFrame_);
    cmdCancel_->setObjectName("cmdCancel");
    cmdCancel_->setToolTip("Stop the run (Esc); the last results stay");
    cmdCancel_->hide();
    lblMethod_ = new QLabel(mainFrame_);
    lblMethod_->setObjectName("lblMethod");
    lblMethod_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    lblSectionLength_ = new QLabel("Section &Length:", mainFrame_);
    lblSectionLength_->setObjectName("lblSectionLength");
    txtSectionLength_ = new QLineEdit(mainFrame_);
    txtSectionLength_->setObjectName("txtSectionLength");
    // Room for a length such as 10000.25, in whatever font.
    txtSectionLength_->setMaximumWidth(
        std::max(90, txtSectionLength_->fontMetrics().horizontalAdvance(QStringLiteral("0000000.000")) + 12));
    lblSectionLength_->setBuddy(txtSectionLength_);
    lblSectionFormat_ = new QLabel("ft.", mainFrame_);
    lblSectionFormat_->setObjectName("lblSectionFormat");
    lblSectionLength_->hide();
    txtSectionLength_->hide();
    lblSectionFormat_->hide();

    grdSKI_ = new ResultsGridView(grid_, mainFrame_);
    grdSKI_->setMinimumSize(300, 120);

    cmdAbout_ = new QPushButton("&About", mainFrame_);
    cmdAbout_->setObjectName("cmdAbout");
    cmdSaveAs_ = new QPushButton("Sa&ve As...", mainFrame_);
    cmdSaveAs_->setObjectName("cmdSaveAs");
    cmdPlot_ = new QPushButton("&Plot", mainFrame_);
    cmdPlot_->setObjectName("cmdPlot");
    cmdCorrections_ = new QPushButton("&Corrections...", mainFrame_);
    cmdCorrections_->setObjectName("cmdCorrections");
    cmdCorrections_->setToolTip("The exceedance zones: where to grind or fill");
    cmdReport_ = new QPushButton("&Report...", mainFrame_);
    cmdReport_->setObjectName("cmdReport");
    cmdReport_->setToolTip("Write the acceptance report of this run as a PDF");

    creditsLabel_ = new QLabel(kCredits, mainFrame_);
    creditsLabel_->setObjectName("Label1");
    webLink_ = new LinkLabel(kGuideLink, mainFrame_);
    webLink_->setObjectName("Label2");
    webLink_->setToolTip(QStringLiteral("Open the ZLM user guide"));

    lblFile_ = new QLabel(mainFrame_);
    lblFile_->setObjectName("lblFile");
    lblFile_->hide();

    // The widest caption decides, with a character's room on either side, so that
    // the buttons line up in any font.
    int buttonWidth = 90;
    for (QPushButton* button : {cmdOpen_, cmdSimulate_, cmdMethod_, cmdCancel_, cmdAbout_, cmdSaveAs_, cmdPlot_,
                                cmdCorrections_, cmdReport_}) {
        buttonWidth = std::max(buttonWidth, button->sizeHint().width() + 2 * button->fontMetrics().averageCharWidth());
    }
    for (QPushButton* button : {cmdOpen_, cmdSimulate_, cmdMethod_, cmdCancel_, cmdAbout_, cmdSaveAs_, cmdPlot_,
                                cmdCorrections_, cmdReport_}) {
        button->setMinimumWidth(buttonWidth);
        button->setAutoDefault(false);
    }
}

void frmSkiMain::ArrangeControls()
{
    auto* openRow = new QHBoxLayout;
    openRow->addWidget(cmdOpen_);
    openRow->addSpacing(6);
    openRow->addWidget(lblFileVisible_, 1);

    auto* simulateRow = new QHBoxLayout;
    simulateRow->addWidget(cmdSimulate_);
    simulateRow->addWidget(cmdMethod_);
    simulateRow->addWidget(cmdCancel_);
    simulateRow->addSpacing(12);
    simulateRow->addWidget(lblSectionLength_);
    simulateRow->addWidget(txtSectionLength_);
    simulateRow->addWidget(lblSectionFormat_);
    simulateRow->addStretch(1);

    auto* commandRow = new QHBoxLayout;
    commandRow->addStretch(1);
    commandRow->addWidget(cmdAbout_);
    commandRow->addWidget(cmdSaveAs_);
    commandRow->addWidget(cmdPlot_);
    commandRow->addWidget(cmdCorrections_);
    commandRow->addWidget(cmdReport_);

    auto* creditsRow = new QHBoxLayout;
    creditsRow->addWidget(creditsLabel_);
    creditsRow->addSpacing(12);
    creditsRow->addWidget(webLink_);
    creditsRow->addStretch(1);

    auto* frameLayout = new QVBoxLayout(mainFrame_);
    frameLayout->setContentsMargins(8, 8, 8, 0);
    frameLayout->addWidget(promptLabel_);
    frameLayout->addLayout(openRow);
    frameLayout->addSpacing(6);
    frameLayout->addWidget(chkSection_);
    frameLayout->addLayout(simulateRow);
    frameLayout->addWidget(lblMethod_);
    frameLayout->addSpacing(6);
    frameLayout->addWidget(grdSKI_, 1);
    frameLayout->addLayout(commandRow);
    frameLayout->addLayout(creditsRow);

    // The progress bar, when its plugin is there, runs along the bottom. Its place is
    // kept while it is hidden, so that the grid does not jump when a run starts.
    progressBar_ = std::make_unique<TallylineProgress>(mainFrame_);
    if (QWidget* bar = progressBar_->Widget()) {
        QSizePolicy policy = bar->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        policy.setHorizontalPolicy(QSizePolicy::Expanding);
        bar->setSizePolicy(policy);
        frameLayout->addWidget(bar);
    } else {
        frameLayout->addSpacing(9);
    }

    auto* windowLayout = new QVBoxLayout(this);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->addWidget(mainFrame_);
}

void frmSkiMain::ConnectCommands()
{
    connect(cmdOpen_, &QPushButton::clicked, this, &frmSkiMain::cmdOpen_Click);
    connect(cmdSimulate_, &QPushButton::clicked, this, &frmSkiMain::cmdSimulate_Click);
    connect(cmdMethod_, &QPushButton::clicked, this, &frmSkiMain::cmdMethod_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmSkiMain::CancelRun);
    connect(runner_.get(), &SimulationRunner::Finished, this, &frmSkiMain::FinishRun);
    // The bar is the window's: the worker's progress reaches it as queued signals.
    connect(runner_.get(), &SimulationRunner::ProgressTextVisible, this,
            [this](bool visible) { progressBar_->SetTextVisible(visible); });
    connect(runner_.get(), &SimulationRunner::ProgressVisible, this,
            [this](bool visible) { progressBar_->SetVisible(visible); });
    connect(runner_.get(), &SimulationRunner::ProgressValue, this, [this](int percent) {
        progressBar_->SetValue(static_cast<std::int16_t>(percent));
        progressBar_->Refresh();
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmSkiMain::CancelRun);
    connect(chkSection_, &QCheckBox::clicked, this, &frmSkiMain::chkSection_Click);
    connect(cmdSaveAs_, &QPushButton::clicked, this, &frmSkiMain::cmdSaveAs_Click);
    connect(cmdPlot_, &QPushButton::clicked, this, &frmSkiMain::cmdPlot_Click);
    connect(cmdCorrections_, &QPushButton::clicked, this, &frmSkiMain::cmdCorrections_Click);
    connect(cmdReport_, &QPushButton::clicked, this, &frmSkiMain::cmdReport_Click);
    connect(cmdAbout_, &QPushButton::clicked, this, &frmSkiMain::cmdAbout_Click);
    connect(txtSectionLength_, &QLineEdit::returnPressed, this, [this] { Simulate(txtSectionLength_); });
    connect(webLink_, &LinkLabel::activated, this, [this] { ShowHelp(); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, [this] { ShowHelp(); });
}

void frmSkiMain::Load()
{
    resultsValid_ = false;
    cmdPlot_->setEnabled(false);
    cmdCorrections_->setEnabled(false);
    cmdReport_->setEnabled(false);
    ResetMousePointer();

    lblFileVisible_->setText(FromCoreText(ShortenPath("", kFileLabelLength)));
    lblFile_->clear();

    QSettings settings;
    state_.method = MethodSettings(settings).MethodInForce();
    state_.units = UnitTextsFor(state_.method.units);
    ShowMethod();

    // The grid's width decides its column widths; the window is laid out but not shown yet.
    layout()->activate();
    grid_.SetWidth(grdSKI_->PixelsToTwips(grdSKI_->width()));
    LayoutResultsHeader(grid_, state_.units);
    grdSKI_->Reload();
}

void frmSkiMain::SetCommandsEnabled(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{cmdOpen_, cmdSimulate_, cmdMethod_, chkSection_,
                                                            txtSectionLength_, cmdAbout_, cmdSaveAs_, cmdPlot_}) {
        control->setEnabled(enabled);
    }
    // Plot shows the last run's results: there is nothing to show before a run,
    // nor once another profile has been loaded.
    cmdPlot_->setEnabled(enabled && resultsValid_);
    // The zones are of the same results.
    cmdCorrections_->setEnabled(cmdPlot_->isEnabled());
    cmdReport_->setEnabled(cmdPlot_->isEnabled());
}

void frmSkiMain::ResetMousePointer()
{
    while (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void frmSkiMain::cmdOpen_Click()
{
    if (busy_) {
        return;
    }
    FocusReturn focus(cmdOpen_);
    QSettings settings;
    const QString path =
        dialogs_->AskOpenFile(kOpenTitle, kOpenFilter, kOpenDefaultSuffix, settings.value(kLastFolderKey).toString());
    if (path.isEmpty()) {
        return;
    }
    // The next Browse starts where this one ended, whether or not the file is read.
    settings.setValue(kLastFolderKey, QFileInfo(path).absolutePath());
    OpenProfile(path);
}

void frmSkiMain::OpenProfile(const QString& path)
{
    if (busy_ || path.isEmpty()) {
        return;
    }
    OpenOutcome outcome;
    {
        BusyScope busy(*this);
        // The channel is the loaded profile's: a read that fails or is cancelled keeps the old one.
        Channel channel = state_.channel;
        const auto askChannel = [this](Channel earlier, const std::vector<std::string>& names) {
            ArrowWhileAsking arrow;
            return dialogs_->AskChannel(names, earlier);
        };
        const auto askUnits = [this](const DelimitedProbeResult& probe, const NeededUnits& needed) {
            ArrowWhileAsking arrow;
            return dialogs_->AskDelimitedUnits(probe, needed);
        };
        outcome = ReadProfileFile(ToFileName(path), channel, askChannel, state_.method.units, askUnits);
        if (outcome.loaded) {
            // The old results go with the old profile.
            ClearResults();
            state_.channel = channel;
            state_.profile = std::move(outcome.profile);
            state_.profileTitle = std::move(outcome.title);
            lblFile_->setText(path);
            lblFileVisible_->setText(QFile::decodeName(ShortenPath(ToFileName(path), kFileLabelLength).c_str()));
            lblFileVisible_->setToolTip(path);
        }
    }
    if (!outcome.loaded && !outcome.cancelled) {
        ShowOpenFailure(outcome.box, FromCoreText(outcome.message));
    }
}

void frmSkiMain::ShowOpenFailure(OpenFailureBox box, const QString& text)
{
    switch (box) {
    case OpenFailureBox::TakeoffError:
        // The text asks whether to convert the file, but no converter exists: either
        // answer would end the command alike, so the box offers OK alone.
        dialogs_->ShowMessage("Takeoff Error", text, QMessageBox::NoIcon, QMessageBox::Ok);
        break;
    case OpenFailureBox::SkiError:
        dialogs_->ShowMessage("Ski Error", text, QMessageBox::Warning, QMessageBox::Ok);
        break;
    case OpenFailureBox::FileError:
        dialogs_->ShowMessage("File Error!", text, QMessageBox::Warning, QMessageBox::Ok);
        break;
    case OpenFailureBox::ErdError:
        dialogs_->ShowMessage("ZLM", text, QMessageBox::Information, QMessageBox::Ok);
        break;
    case OpenFailureBox::None:
        break;
    }
}

void frmSkiMain::cmdSimulate_Click()
{
    Simulate(cmdSimulate_);
}

void frmSkiMain::Simulate(QWidget* origin)
{
    if (busy_) {
        return;
    }
    // The run goes on on its worker; the window stays busy until the results are back.
    runOrigin_ = origin;
    EnterBusy(Qt::BusyCursor);
    cmdCancel_->show();
    runner_->Start(state_, txtSectionLength_->text().toStdString());
}

void frmSkiMain::FinishRun()
{
    SimulationHandOver run = runner_->TakeResult();
    cmdCancel_->hide();
    if (run.outcome.ran) {
        state_.results = std::move(run.results);
        state_.workingElevations = std::move(run.workingElevations);
        LayoutResultsHeader(grid_, state_.units);
        // The table reads the results as it shows them: a long run costs no text.
        grdSKI_->ShowResults(state_.results, state_.units, LocaleDecimalSeparator());
        resultsValid_ = true;
        analysisTime_ = QDateTime::currentSecsSinceEpoch();
    }
    LeaveBusy();
    {
        FocusReturn focus(runOrigin_);
        runOrigin_ = nullptr;
        if (!run.outcome.ran && !run.outcome.cancelled) {
            dialogs_->ShowMessage("Ski Error", FromCoreText(run.outcome.refusal), QMessageBox::Warning,
                                  QMessageBox::Ok);
        }
    }
    emit RunFinished();
}

bool frmSkiMain::RunInProgress() const
{
    return runner_->Running();
}

void frmSkiMain::CancelRun()
{
    runner_->Cancel();
}

void frmSkiMain::cmdMethod_Click()
{
    if (busy_) {
        return;
    }
    FocusReturn focus(cmdMethod_);
    QSettings settings;
    MethodSettings remembered(settings);
    MethodDialog dialog(state_.method, remembered.UserMethods(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    remembered.SetUserMethods(dialog.UserMethods());
    if (dialog.Method() != state_.method) {
        ApplyMethod(dialog.Method());
    }
}

void frmSkiMain::ApplyMethod(const StraightedgeMethod& method)
{
    if (busy_) {
        return;
    }
    const bool unitsChanged = method.units != state_.method.units;
    state_.method = method;
    QSettings settings;
    MethodSettings(settings).SetMethodInForce(method);
    state_.units = UnitTextsFor(method.units);
    ShowMethod();
    ClearResults();
    if (!unitsChanged || lblFile_->text().isEmpty()) {
        return;
    }
    // The profile is analysed in the method's units: read it again in the new
    // ones, with the channel chosen when it was opened.
    OpenOutcome outcome;
    {
        BusyScope busy(*this);
        const Channel chosen = state_.channel;
        outcome = ReadProfileFile(
            ToFileName(lblFile_->text()), state_.channel,
            [chosen](Channel, const std::vector<std::string>&) { return chosen; }, method.units);
        if (outcome.loaded) {
            state_.profile = std::move(outcome.profile);
            state_.profileTitle = std::move(outcome.title);
        } else {
            // What stays open must be in the method's units, so nothing does.
            state_.profile = ElevationProfile{};
            state_.profileTitle.clear();
            lblFile_->clear();
            lblFileVisible_->setText(FromCoreText(ShortenPath("", kFileLabelLength)));
            lblFileVisible_->setToolTip(QString());
        }
    }
    if (!outcome.loaded) {
        ShowOpenFailure(outcome.box, FromCoreText(outcome.message));
    }
}

void frmSkiMain::ShowMethod()
{
    lblMethod_->setText("Method: " + FromCoreText(DescribeMethod(state_.method)));
    lblSectionFormat_->setText(state_.method.units == UnitSystem::SI ? "m." : "ft.");
}

void frmSkiMain::ClearResults()
{
    LayoutResultsHeader(grid_, state_.units);
    grid_.SetRows(2);
    for (std::int32_t c = 0; c < 3; ++c) {
        grid_.SetTextMatrix(1, c, "");
        // An empty row left yellow from an exceeding placement would look like an exceedance.
        grid_.SetRow(1);
        grid_.SetCol(c);
        grid_.SetCellBackColor(kWhite);
    }
    resultsValid_ = false;
    SetCommandsEnabled(!busy_);
    grdSKI_->Reload();
}

void frmSkiMain::chkSection_Click()
{
    if (chkSection_->checkState() != Qt::Unchecked) {
        lblSectionLength_->show();
        txtSectionLength_->show();
        lblSectionFormat_->show();
    } else {
        lblSectionLength_->hide();
        txtSectionLength_->hide();
        lblSectionFormat_->hide();
        txtSectionLength_->clear();
    }
}

void frmSkiMain::cmdSaveAs_Click()
{
    if (busy_) {
        return;
    }
    FocusReturn focus(cmdSaveAs_);
    int filterIndex = 1;
    QString path =
        dialogs_->AskSaveFile("Save As", {"Comma Delimited (*.txt)", "Space Delimited (*.txt)"}, filterIndex);
    if (path.isEmpty()) {
        return;
    }
    const QString withExtension = WithTextExtension(path);
    if (withExtension != path && QFileInfo::exists(withExtension)) {
        // The dialog asked about the name as typed; the file written is another one.
        const auto answer = dialogs_->ShowMessage(
            "Save As", QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(withExtension),
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            return;
        }
    }
    path = withExtension;
    const Delimiter delimiter = filterIndex == 1 ? Delimiter::Comma : Delimiter::Space;

    SaveResult saved;
    {
        BusyScope busy(*this);
        // The table as shown: before a run, or once another profile is chosen, that is its empty row.
        saved = SaveSummary(ToFileName(path), grid_, delimiter);
        // Writing walks the grid's cells, which leaves the bottom-right cell current.
        grid_.SetRow(grid_.Rows() - 1);
        grid_.SetCol(grid_.Cols() - 1);
    }
    if (!saved.ok) {
        dialogs_->ShowMessage("File Error!", FromCoreText(saved.message), QMessageBox::Warning, QMessageBox::Ok);
    }
}

void frmSkiMain::cmdPlot_Click()
{
    if (busy_ || !resultsValid_) {
        return;
    }
    FocusReturn focus(cmdPlot_);
    // The graph window puts the pointer back once it has loaded.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (plotOpener_) {
        plotOpener_(*this);
        return;
    }
    frmSkiPlot plot(state_, lblFile_->text(), this);
    // The graph's own guide window belongs to the graph window, which is modal.
    connect(&plot, &frmSkiPlot::HelpRequested, &plot, [&plot] { HelpWindow::ShowFor(&plot, "graph.html"); });
    plot.exec();
}

void frmSkiMain::SetPlotWindowOpener(PlotWindowOpener opener)
{
    plotOpener_ = std::move(opener);
}

void frmSkiMain::cmdCorrections_Click()
{
    if (busy_ || !resultsValid_) {
        return;
    }
    CorrectionsWindow corrections(state_, lblFile_->text(), *dialogs_, this);
    corrections.exec();
}

void frmSkiMain::cmdReport_Click()
{
    if (busy_ || !resultsValid_) {
        return;
    }
    FocusReturn focus(cmdReport_);
    int filterIndex = 1;
    QString path = dialogs_->AskSaveFile("Report", {"PDF Report (*.pdf)"}, filterIndex);
    if (path.isEmpty()) {
        return;
    }
    const QString withExtension =
        path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".pdf");
    if (withExtension != path && QFileInfo::exists(withExtension)) {
        // The dialog asked about the name as typed; the file written is another one.
        const auto answer = dialogs_->ShowMessage(
            "Report", QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(withExtension),
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            return;
        }
    }
    path = withExtension;

    const AnalysisTime time = ChooseAnalysisTime(std::getenv("SOURCE_DATE_EPOCH"), analysisTime_);
    if (!time.ok) {
        dialogs_->ShowMessage("Report", FromCoreText(time.message), QMessageBox::Warning, QMessageBox::Ok);
        return;
    }
    ReportRequest request;
    request.profilePath = ToFileName(QFileInfo(lblFile_->text()).absoluteFilePath());
    request.commandLine = ReproducingCommandLine(state_, request.profilePath);
    request.analysisTime = time.seconds;
    request.decimalSeparator = LocaleDecimalSeparator();

    SaveResult saved;
    {
        BusyScope busy(*this);
        saved = WritePdfReport(ToFileName(path), state_, request);
    }
    if (!saved.ok) {
        dialogs_->ShowMessage("File Error!", FromCoreText(saved.message), QMessageBox::Warning, QMessageBox::Ok);
    }
}

void frmSkiMain::cmdAbout_Click()
{
    if (busy_) {
        return;
    }
    FocusReturn focus(cmdAbout_);
    frmAbout about(*dialogs_, this);
    about.exec();
}

void frmSkiMain::ShowHelp(const QString& page)
{
    HelpWindow::ShowFor(this, page.isEmpty() ? QString::fromLatin1(HelpWindow::kContentsPage) : page);
}

bool frmSkiMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && !busy_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        ResetMousePointer();
    }
    return QWidget::eventFilter(watched, event);
}

void frmSkiMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!busy_ && !DroppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void frmSkiMain::dropEvent(QDropEvent* event)
{
    const QString path = DroppedFile(event->mimeData());
    if (busy_ || path.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop is over, so that the questions and boxes of the open
    // do not hold up the program the file was dragged from.
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            activateWindow();
            OpenProfile(path);
        },
        Qt::QueuedConnection);
}

void frmSkiMain::closeEvent(QCloseEvent* event)
{
    if (runner_->Running()) {
        // A run is stopped and waited for (it ends at its next placement), so that
        // nothing of it outlives the window; the last results stay.
        runner_->Cancel();
        runner_->Wait();
    }
    if (busy_) {
        // Closing in the middle of a command would unload the window under it: the
        // window closes once the command is over.
        closeRequested_ = true;
        event->ignore();
        return;
    }
    if (!unloaded_) {
        // A leftover from elsewhere; whether it is there or can be deleted does not matter.
        QFile::remove(QCoreApplication::applicationDirPath() + "/results.tmp");
        unloaded_ = true;
    }
    event->accept();
}

} // namespace zlm
