#include "mainwindow/frmSkiMain.h"

#include "analysis/ResultsTable.h"
#include "graph/LocaleText.h"
#include "graph/frmSkiPlot.h"
#include "commands/SummaryWriter.h"
#include "commands/SimulateCommand.h"
#include "mainwindow/CorrectionsWindow.h"
#include "mainwindow/QtUserDialogs.h"
#include "mainwindow/ResultsGridView.h"
#include "mainwindow/TallylineProgress.h"
#include "mainwindow/frmAbout.h"
#include "profile_input/PathText.h"
#include "commands/OpenCommand.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

namespace zlm {

namespace {

constexpr std::int16_t kFileLabelLength = 42;

const char* const kOpenTitle = "Choose Profile to Analyze";
const char* const kOpenFilter = "Pavement Profile (*.erd);;Rondel Pavement Profile (*.dat);;All Files (*)";
const char* const kOpenDefaultSuffix = "dat";

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

} // namespace

/** The hourglass and disabled commands for the time a command works. */
class frmSkiMain::BusyScope {
public:
    explicit BusyScope(frmSkiMain& window) : window_(window)
    {
        window_.busy_ = true;
        window_.SetCommandsEnabled(false);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyScope()
    {
        QGuiApplication::restoreOverrideCursor();
        window_.SetCommandsEnabled(true);
        window_.busy_ = false;
        if (window_.closeRequested_) {
            window_.closeRequested_ = false;
            QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    frmSkiMain& window_;
};

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
    resize(540, 580);
    setMinimumSize(minimumSizeHint().expandedTo(QSize(420, 400)));
    cmdOpen_->setFocus();
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

    lblSectionLength_ = new QLabel("Section Length:", mainFrame_);
    lblSectionLength_->setObjectName("lblSectionLength");
    txtSectionLength_ = new QLineEdit(mainFrame_);
    txtSectionLength_->setObjectName("txtSectionLength");
    txtSectionLength_->setMaximumWidth(90);
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

    creditsLabel_ = new QLabel(kCredits, mainFrame_);
    creditsLabel_->setObjectName("Label1");
    webLink_ = new QLabel(kWebAddress, mainFrame_);
    webLink_->setObjectName("Label2");
    QPalette linkPalette = webLink_->palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Highlight));
    webLink_->setPalette(linkPalette);
    QFont linkFont = webLink_->font();
    linkFont.setUnderline(true);
    webLink_->setFont(linkFont);
    webLink_->setCursor(Qt::PointingHandCursor);
    webLink_->setToolTip(QStringLiteral("Open %1 in the web browser").arg(kWebAddress));

    lblFile_ = new QLabel(mainFrame_);
    lblFile_->setObjectName("lblFile");
    lblFile_->hide();

    const int buttonWidth = std::max(cmdSaveAs_->sizeHint().width(), 90);
    for (QPushButton* button : {cmdOpen_, cmdSimulate_, cmdAbout_, cmdSaveAs_, cmdPlot_, cmdCorrections_}) {
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
    connect(chkSection_, &QCheckBox::clicked, this, &frmSkiMain::chkSection_Click);
    connect(txtSectionLength_, &QLineEdit::returnPressed, this, &frmSkiMain::cmdSimulate_Click);
    connect(cmdSaveAs_, &QPushButton::clicked, this, &frmSkiMain::cmdSaveAs_Click);
    connect(cmdPlot_, &QPushButton::clicked, this, &frmSkiMain::cmdPlot_Click);
    connect(cmdCorrections_, &QPushButton::clicked, this, &frmSkiMain::cmdCorrections_Click);
    connect(cmdAbout_, &QPushButton::clicked, this, &frmSkiMain::cmdAbout_Click);
}

void frmSkiMain::Load()
{
    resultsValid_ = false;
    cmdPlot_->setEnabled(false);
    cmdCorrections_->setEnabled(false);
    ResetMousePointer();

    lblFileVisible_->setText(FromCoreText(ShortenPath("", kFileLabelLength)));
    lblFile_->clear();

    state_.units.length = "ft";
    state_.units.deviation = "in";
    state_.units.station = "ft";

    // The grid's width decides its column widths; the window is laid out but not shown yet.
    layout()->activate();
    grid_.SetWidth(grdSKI_->PixelsToTwips(grdSKI_->width()));
    LayoutResultsHeader(grid_, state_.units);
    grdSKI_->Reload();
}

void frmSkiMain::SetCommandsEnabled(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{cmdOpen_, cmdSimulate_, chkSection_, txtSectionLength_,
                                                            cmdAbout_, cmdSaveAs_, cmdPlot_}) {
        control->setEnabled(enabled);
    }
    // Plot shows the last run's results: there is nothing to show before a run,
    // nor once another profile has been chosen.
    cmdPlot_->setEnabled(enabled && resultsValid_);
    // The zones are of the same results.
    cmdCorrections_->setEnabled(cmdPlot_->isEnabled());
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
    const QString path = dialogs_->AskOpenFile(kOpenTitle, kOpenFilter, kOpenDefaultSuffix);
    if (path.isEmpty()) {
        return;
    }
    OpenProfile(path);
}

void frmSkiMain::OpenProfile(const QString& path)
{
    if (busy_ || path.isEmpty()) {
        return;
    }
    // Once a file is chosen the old results go, whether or not the new file loads.
    grid_.SetRows(2);
    for (std::int32_t c = 0; c < 3; ++c) {
        grid_.SetTextMatrix(1, c, "");
        // An empty row left yellow from an exceeding placement would look like an exceedance.
        grid_.SetRow(1);
        grid_.SetCol(c);
        grid_.SetCellBackColor(kWhite);
    }
    resultsValid_ = false;
    grdSKI_->Reload();

    OpenOutcome outcome;
    {
        BusyScope busy(*this);
        outcome =
            ReadProfileFile(ToFileName(path), state_.channel, [this](Channel earlier, const std::vector<std::string>&) {
                ArrowWhileAsking arrow;
                return dialogs_->AskChannel(earlier);
            });
        if (outcome.loaded) {
            state_.profile = std::move(outcome.profile);
            state_.profileTitle = std::move(outcome.title);
            lblFile_->setText(path);
            lblFileVisible_->setText(QFile::decodeName(ShortenPath(ToFileName(path), kFileLabelLength).c_str()));
            lblFileVisible_->setToolTip(path);
        }
    }
    if (!outcome.loaded) {
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
    if (busy_) {
        return;
    }
    SimulationOutcome outcome;
    {
        BusyScope busy(*this);
        NullProgress noBar;
        ProgressSink& progress = progressBar_ ? static_cast<ProgressSink&>(*progressBar_) : noBar;
        outcome = RunSimulation(state_, txtSectionLength_->text().toStdString(), progress,
                                [] { QCoreApplication::processEvents(); });
        if (outcome.ran) {
            LayoutResultsHeader(grid_, state_.units);
            FillResultsTable(grid_, state_.results, state_.units, LocaleDecimalSeparator());
            resultsValid_ = true;
            grdSKI_->Reload();
        }
    }
    if (!outcome.ran) {
        dialogs_->ShowMessage("Ski Error", FromCoreText(outcome.refusal), QMessageBox::Warning, QMessageBox::Ok);
    }
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
    // The graph window puts the pointer back once it has loaded.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (plotOpener_) {
        plotOpener_(*this);
        return;
    }
    frmSkiPlot plot(state_, lblFile_->text(), this);
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

void frmSkiMain::cmdAbout_Click()
{
    if (busy_) {
        return;
    }
    frmAbout about(*dialogs_, this);
    about.exec();
}

void frmSkiMain::OpenWebLink()
{
    // Nothing is reported when no browser can open it.
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebAddress)));
}

bool frmSkiMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && !busy_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        ResetMousePointer();
    } else if (watched == webLink_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && webLink_->rect().contains(mouse->position().toPoint())) {
            OpenWebLink();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmSkiMain::closeEvent(QCloseEvent* event)
{
    if (busy_) {
        // Closing in the middle of a run would unload the window under the command.
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
