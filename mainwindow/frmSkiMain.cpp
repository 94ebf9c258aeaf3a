#include "mainwindow/frmSkiMain.h"

#include "analysis/ProgressSink.h"
#include "commands/OpenCommand.h"
#include "graph/LocaleText.h"
#include "mainwindow/AnalysisCommands.h"
#include "mainwindow/BusyScope.h"
#include "mainwindow/FocusReturn.h"
#include "mainwindow/HelpWindow.h"
#include "mainwindow/LinkLabel.h"
#include "mainwindow/QtUserDialogs.h"
#include "mainwindow/ResultsGridView.h"
#include "mainwindow/RideQualityLauncher.h"
#include "mainwindow/StraightedgeCommands.h"
#include "mainwindow/TallylineProgress.h"
#include "mainwindow/frmAbout.h"
#include "profile_input/PathText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
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

/** Shows the normal arrow over a dialog that appears while the hourglass is up. */
class ArrowWhileAsking {
public:
    ArrowWhileAsking() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowWhileAsking() { QGuiApplication::restoreOverrideCursor(); }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;
};

/** A progress sink for a window without its bar's plugin. */
NullProgress noBar;

} // namespace

frmSkiMain::frmSkiMain(UserDialogs* dialogs, QWidget* parent) : QWidget(parent)
{
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<QtUserDialogs>(this);
        dialogs = ownDialogs_.get();
    }
    dialogs_ = dialogs;
    BuildControls();
    Load();
    qApp->installEventFilter(this);
}

frmSkiMain::~frmSkiMain()
{
    qApp->removeEventFilter(this);
    // A run still going is stopped before anything it would hand its results to goes.
    for (AnalysisCommands* analysis : analyses_) {
        analysis->StopRun();
    }
    // The views read their analysis' tables, which go before QWidget deletes the children.
    delete mainFrame_;
}

const ResultsGrid& frmSkiMain::Grid() const
{
    return straightedge_->Grid();
}

bool frmSkiMain::ResultsValid() const
{
    return straightedge_->ResultsValid();
}

QString frmSkiMain::ProfilePath() const
{
    return FromFileName(state_.profilePath);
}

ProgressSink& frmSkiMain::ProgressBar()
{
    return progressBar_ ? static_cast<ProgressSink&>(*progressBar_) : noBar;
}

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
    const ResultsGridView* grid = straightedge_->Widgets().grdSKI;
    QFont headerFont = grid->font();
    headerFont.setBold(true);
    const QFontMetrics metrics(headerFont);
    int header = 0;
    for (const char* text : kWidestHeaders) {
        header = std::max(header, metrics.horizontalAdvance(QString::fromLatin1(text)));
    }
    const int gridWidth = 3 * (header + 2 * metrics.averageCharWidth()) + grid->TwipsToPixels(350) +
                          style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * grid->frameWidth();
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

    // The straightedge's controls stand between Browse and About, in the window's tab order.
    straightedge_ = std::make_unique<StraightedgeCommands>(static_cast<CommandHost&>(*this), mainFrame_);
    analyses_ = {straightedge_.get()};

    cmdAbout_ = new QPushButton("&About", mainFrame_);
    cmdAbout_->setObjectName("cmdAbout");
    rideQuality_ = new RideQualityLauncher(
        state_, *dialogs_, [this] { return ProfilePath(); }, mainFrame_);

    creditsLabel_ = new QLabel(kCredits, mainFrame_);
    creditsLabel_->setObjectName("Label1");
    guideLink_ = new LinkLabel(kGuideLink, mainFrame_);
    guideLink_->setObjectName("Label2");
    guideLink_->setToolTip(QStringLiteral("Open the ZLM user guide"));

    lblFile_ = new QLabel(mainFrame_);
    lblFile_->setObjectName("lblFile");
    lblFile_->hide();

    // The widest caption decides, with a character's room on either side, so that
    // the buttons line up in any font.
    const StraightedgeCommands::Controls& s = straightedge_->Widgets();
    const auto buttons = {cmdOpen_,    s.cmdSimulate, s.cmdMethod,      s.cmdCancel, cmdAbout_,
                          s.cmdSaveAs, s.cmdPlot,     s.cmdCorrections, s.cmdReport};
    int buttonWidth = 90;
    for (QPushButton* button : buttons) {
        buttonWidth = std::max(buttonWidth, button->sizeHint().width() + 2 * button->fontMetrics().averageCharWidth());
    }
    for (QPushButton* button : buttons) {
        button->setMinimumWidth(buttonWidth);
        button->setAutoDefault(false);
    }
    // Tab goes down the window as it reads: About before the commands beside it.
    QWidget* const chain[] = {cmdOpen_,           s.chkSection, s.cmdSimulate, s.cmdMethod, s.cmdCancel,
                              s.txtSectionLength, s.grdSKI,     cmdAbout_,     s.cmdSaveAs, s.cmdPlot,
                              s.cmdCorrections,   s.cmdReport,  guideLink_};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
}

void frmSkiMain::ArrangeControls()
{
    const StraightedgeCommands::Controls& s = straightedge_->Widgets();
    auto* openRow = new QHBoxLayout;
    openRow->addWidget(cmdOpen_);
    openRow->addSpacing(6);
    openRow->addWidget(lblFileVisible_, 1);

    auto* simulateRow = new QHBoxLayout;
    simulateRow->addWidget(s.cmdSimulate);
    simulateRow->addWidget(s.cmdMethod);
    simulateRow->addWidget(s.cmdCancel);
    simulateRow->addSpacing(12);
    simulateRow->addWidget(s.lblSectionLength);
    simulateRow->addWidget(s.txtSectionLength);
    simulateRow->addWidget(s.lblSectionFormat);
    simulateRow->addStretch(1);

    auto* commandRow = new QHBoxLayout;
    commandRow->addStretch(1);
    commandRow->addWidget(cmdAbout_);
    for (QWidget* command : {static_cast<QWidget*>(s.cmdSaveAs), static_cast<QWidget*>(s.cmdPlot),
                             static_cast<QWidget*>(s.cmdCorrections), static_cast<QWidget*>(s.cmdReport)}) {
        commandRow->addWidget(command);
    }
    commandRow->addWidget(rideQuality_->Button());

    auto* creditsRow = new QHBoxLayout;
    creditsRow->addWidget(creditsLabel_);
    creditsRow->addSpacing(12);
    creditsRow->addWidget(guideLink_);
    creditsRow->addStretch(1);

    auto* frameLayout = new QVBoxLayout(mainFrame_);
    frameLayout->setContentsMargins(8, 8, 8, 0);
    frameLayout->addWidget(promptLabel_);
    frameLayout->addLayout(openRow);
    frameLayout->addSpacing(6);
    frameLayout->addWidget(s.chkSection);
    frameLayout->addLayout(simulateRow);
    frameLayout->addWidget(s.lblMethod);
    frameLayout->addSpacing(6);
    frameLayout->addWidget(s.grdSKI, 1);
    frameLayout->addLayout(commandRow);
    frameLayout->addLayout(creditsRow);
    AddProgressBar(*frameLayout);

    auto* windowLayout = new QVBoxLayout(this);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->addWidget(mainFrame_);
}

void frmSkiMain::AddProgressBar(QVBoxLayout& layout)
{
    // The progress bar, when its plugin is there, runs along the bottom. Its place is
    // kept while it is hidden, so that the grid does not jump when a run starts.
    progressBar_ = std::make_unique<TallylineProgress>(mainFrame_);
    if (QWidget* bar = progressBar_->Widget()) {
        QSizePolicy policy = bar->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        policy.setHorizontalPolicy(QSizePolicy::Expanding);
        bar->setSizePolicy(policy);
        layout.addWidget(bar);
    } else {
        layout.addSpacing(9);
    }
}

void frmSkiMain::ConnectCommands()
{
    connect(cmdOpen_, &QPushButton::clicked, this, &frmSkiMain::cmdOpen_Click);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmSkiMain::CancelRun);
    connect(cmdAbout_, &QPushButton::clicked, this, &frmSkiMain::cmdAbout_Click);
    connect(straightedge_.get(), &StraightedgeCommands::RunFinished, this, &frmSkiMain::RunFinished);
    connect(straightedge_.get(), &StraightedgeCommands::ReportFinished, this, &frmSkiMain::ReportFinished);
    connect(guideLink_, &LinkLabel::activated, this, [this] { ShowHelp(); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, [this] { ShowHelp(); });
}

void frmSkiMain::Load()
{
    ResetMousePointer();
    lblFileVisible_->setText(FromCoreText(ShortenPath("", kFileLabelLength)));
    lblFile_->clear();
    state_.profilePath.clear();
    // Each analysis lays its table out once the window is laid out.
    straightedge_->Load();
}

void frmSkiMain::SetCommandsEnabled(bool enabled)
{
    cmdOpen_->setEnabled(enabled);
    cmdAbout_->setEnabled(enabled);
    for (AnalysisCommands* analysis : analyses_) {
        analysis->SetEnabled(enabled);
    }
    rideQuality_->Button()->setEnabled(enabled && !state_.profilePath.empty());
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
        BusyScope busy(static_cast<CommandHost&>(*this));
        // The channel is the loaded profile's: a read that fails or is cancelled keeps the old one.
        ChannelNumber channel = state_.channel;
        const auto askChannel = [this](ChannelNumber earlier, const std::vector<std::string>& names) {
            ArrowWhileAsking arrow;
            return dialogs_->AskChannel(names, earlier);
        };
        DelimitedUnits unitsGiven;
        const auto askUnits = [this, &unitsGiven](const DelimitedProbeResult& probe, const NeededUnits& needed) {
            ArrowWhileAsking arrow;
            const std::optional<DelimitedUnits> answer = dialogs_->AskDelimitedUnits(probe, needed);
            unitsGiven = answer.value_or(DelimitedUnits{});
            return answer;
        };
        outcome = ReadProfileFile(ToFileName(path), channel, askChannel, state_.straightedge.method.units, askUnits);
        if (outcome.loaded) {
            // The old results go with the old profile.
            for (AnalysisCommands* analysis : analyses_) {
                analysis->ClearResults();
            }
            state_.channel = channel;
            state_.channelRead = ChannelRead(channel, outcome.channelNames.size());
            state_.delimitedUnits = unitsGiven;
            state_.profile = std::move(outcome.profile);
            state_.profileTitle = std::move(outcome.title);
            state_.profilePath = ToFileName(path);
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

void frmSkiMain::ReadProfileAgain(UnitSystem units)
{
    OpenOutcome outcome;
    {
        BusyScope busy(static_cast<CommandHost&>(*this));
        const ChannelNumber chosen = state_.channel;
        outcome = ReadProfileFile(
            state_.profilePath, state_.channel,
            [chosen](ChannelNumber, const std::vector<std::string>&) { return chosen; }, units,
            [this](const DelimitedProbeResult&, const NeededUnits&) { return std::optional(state_.delimitedUnits); });
        if (outcome.loaded) {
            state_.profile = std::move(outcome.profile);
            state_.profileTitle = std::move(outcome.title);
        } else {
            ShowNoProfile();
        }
    }
    if (!outcome.loaded) {
        ShowOpenFailure(outcome.box, FromCoreText(outcome.message));
    }
}

void frmSkiMain::ShowNoProfile()
{
    // What stays open must be in the method's units, so nothing does.
    state_.profile = ElevationProfile{};
    state_.profileTitle.clear();
    state_.profilePath.clear();
    lblFile_->clear();
    lblFileVisible_->setText(FromCoreText(ShortenPath("", kFileLabelLength)));
    lblFileVisible_->setToolTip(QString());
}

// The straightedge's commands, as the tests and the guide's scripts call them.
void frmSkiMain::cmdSimulate_Click()
{
    straightedge_->Simulate(straightedge_->Widgets().cmdSimulate);
}

void frmSkiMain::chkSection_Click()
{
    straightedge_->chkSection_Click();
}

void frmSkiMain::cmdSaveAs_Click()
{
    straightedge_->cmdSaveAs_Click();
}

void frmSkiMain::cmdPlot_Click()
{
    straightedge_->cmdPlot_Click();
}

void frmSkiMain::cmdMethod_Click()
{
    straightedge_->cmdMethod_Click();
}

void frmSkiMain::ApplyMethod(const StraightedgeMethod& method)
{
    straightedge_->ApplyMethod(method);
}

void frmSkiMain::cmdCorrections_Click()
{
    straightedge_->cmdCorrections_Click();
}

void frmSkiMain::cmdReport_Click()
{
    straightedge_->cmdReport_Click();
}

void frmSkiMain::SetPlotWindowOpener(PlotWindowOpener opener)
{
    if (!opener) {
        straightedge_->SetPlotWindowOpener({});
        return;
    }
    straightedge_->SetPlotWindowOpener([this, opener = std::move(opener)] { opener(*this); });
}

void frmSkiMain::CancelRun()
{
    for (AnalysisCommands* analysis : analyses_) {
        analysis->CancelRun();
    }
}

bool frmSkiMain::RunInProgress() const
{
    return std::any_of(analyses_.begin(), analyses_.end(),
                       [](const AnalysisCommands* analysis) { return analysis->RunInProgress(); });
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
    // A run is stopped and waited for (it ends at its next placement), so that
    // nothing of it outlives the window; the last results stay.
    for (AnalysisCommands* analysis : analyses_) {
        analysis->StopRun();
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
