#include "mainwindow/StraightedgeCommands.h"

#include "analysis/MethodPresets.h"
#include "analysis/ProgressSink.h"
#include "analysis/ResultsTable.h"
#include "commands/ReportRequest.h"
#include "commands/SessionState.h"
#include "commands/SummaryWriter.h"
#include "graph/LocaleText.h"
#include "graph/frmSkiPlot.h"
#include "mainwindow/BusyScope.h"
#include "mainwindow/CommandHost.h"
#include "mainwindow/CorrectionsWindow.h"
#include "mainwindow/FocusReturn.h"
#include "mainwindow/HelpWindow.h"
#include "mainwindow/MethodDialog.h"
#include "mainwindow/MethodSettings.h"
#include "mainwindow/ReportRunner.h"
#include "mainwindow/ResultsGridView.h"
#include "mainwindow/SavePathPrompt.h"
#include "mainwindow/SimulationRunner.h"
#include "mainwindow/UserDialogs.h"
#include "report/PdfReport.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include <cstdlib>
#include <utility>

namespace zlm {

StraightedgeCommands::StraightedgeCommands(CommandHost& host, QWidget* parent)
    : host_(host), runner_(std::make_unique<SimulationRunner>()), reports_(new ReportRunner(this))
{
    CreateControls(parent);
    ConnectControls();
}

StraightedgeCommands::~StraightedgeCommands() = default;

void StraightedgeCommands::CreateControls(QWidget* parent)
{
    Controls& c = controls_;
    c.chkSection = new QCheckBox("Display Percent Exceeding Threshold", parent);
    c.chkSection->setObjectName("chkSection");
    c.cmdSimulate = new QPushButton("&Simulate", parent);
    c.cmdSimulate->setObjectName("cmdSimulate");
    c.cmdMethod = new QPushButton("&Method...", parent);
    c.cmdMethod->setObjectName("cmdMethod");
    c.cmdMethod->setToolTip("The straightedge's length, its step, the tolerance and the units");
    c.cmdCancel = new QPushButton("Cancel", parent);
    c.cmdCancel->setObjectName("cmdCancel");
    c.cmdCancel->setToolTip("Stop the run (Esc); the last results stay");
    c.cmdCancel->hide();
    c.lblMethod = new QLabel(parent);
    c.lblMethod->setObjectName("lblMethod");
    c.lblMethod->setTextInteractionFlags(Qt::TextSelectableByMouse);

    c.lblSectionLength = new QLabel("Section &Length:", parent);
    c.lblSectionLength->setObjectName("lblSectionLength");
    c.txtSectionLength = new QLineEdit(parent);
    c.txtSectionLength->setObjectName("txtSectionLength");
    // Room for a length such as 10000.25, in whatever font.
    c.txtSectionLength->setMaximumWidth(
        std::max(90, c.txtSectionLength->fontMetrics().horizontalAdvance(QStringLiteral("0000000.000")) + 12));
    c.lblSectionLength->setBuddy(c.txtSectionLength);
    c.lblSectionFormat = new QLabel("ft.", parent);
    c.lblSectionFormat->setObjectName("lblSectionFormat");
    c.lblSectionLength->hide();
    c.txtSectionLength->hide();
    c.lblSectionFormat->hide();

    c.grdSKI = new ResultsGridView(grid_, parent);
    c.grdSKI->setMinimumSize(300, 120);

    c.cmdSaveAs = new QPushButton("Sa&ve As...", parent);
    c.cmdSaveAs->setObjectName("cmdSaveAs");
    c.cmdPlot = new QPushButton("&Plot", parent);
    c.cmdPlot->setObjectName("cmdPlot");
    c.cmdCorrections = new QPushButton("&Corrections...", parent);
    c.cmdCorrections->setObjectName("cmdCorrections");
    c.cmdCorrections->setToolTip("The exceedance zones: where to grind or fill");
    c.cmdReport = new QPushButton("&Report...", parent);
    c.cmdReport->setObjectName("cmdReport");
    c.cmdReport->setToolTip("Write the acceptance report of this run as a PDF");
}

void StraightedgeCommands::ConnectControls()
{
    const Controls& c = controls_;
    connect(c.cmdSimulate, &QPushButton::clicked, this, [this] { Simulate(controls_.cmdSimulate); });
    connect(c.txtSectionLength, &QLineEdit::returnPressed, this, [this] { Simulate(controls_.txtSectionLength); });
    connect(c.cmdMethod, &QPushButton::clicked, this, &StraightedgeCommands::cmdMethod_Click);
    connect(c.cmdCancel, &QPushButton::clicked, this, &StraightedgeCommands::CancelRun);
    connect(c.chkSection, &QCheckBox::clicked, this, &StraightedgeCommands::chkSection_Click);
    connect(c.cmdSaveAs, &QPushButton::clicked, this, &StraightedgeCommands::cmdSaveAs_Click);
    connect(c.cmdPlot, &QPushButton::clicked, this, &StraightedgeCommands::cmdPlot_Click);
    connect(c.cmdCorrections, &QPushButton::clicked, this, &StraightedgeCommands::cmdCorrections_Click);
    connect(c.cmdReport, &QPushButton::clicked, this, &StraightedgeCommands::cmdReport_Click);

    connect(runner_.get(), &SimulationRunner::Finished, this, &StraightedgeCommands::FinishRun);
    connect(reports_, &ReportRunner::Finished, this, &StraightedgeCommands::FinishReport);
    connect(reports_, &ReportRunner::Progress, this, [this](int percent) {
        host_.ProgressBar().SetValue(static_cast<std::int16_t>(percent));
        host_.ProgressBar().Refresh();
    });
    // The bar is the window's: the worker's progress reaches it as queued signals.
    connect(runner_.get(), &SimulationRunner::ProgressTextVisible, this,
            [this](bool visible) { host_.ProgressBar().SetTextVisible(visible); });
    connect(runner_.get(), &SimulationRunner::ProgressVisible, this,
            [this](bool visible) { host_.ProgressBar().SetVisible(visible); });
    connect(runner_.get(), &SimulationRunner::ProgressValue, this, [this](int percent) {
        host_.ProgressBar().SetValue(static_cast<std::int16_t>(percent));
        host_.ProgressBar().Refresh();
    });
}

void StraightedgeCommands::Load()
{
    SessionState& state = host_.Session();
    QSettings settings;
    state.straightedge.method = MethodSettings(settings).MethodInForce();
    state.units = UnitTextsFor(state.straightedge.method.units);
    ShowMethod();
    state.straightedge.valid = false;
    // The grid's width decides its column widths; the window is laid out, with the
    // method's line, but not shown yet.
    if (QLayout* layout = host_.HostWindow().layout()) {
        layout->activate();
    }
    grid_.SetWidth(controls_.grdSKI->PixelsToTwips(controls_.grdSKI->width()));
    LayoutResultsHeader(grid_, state.units);
    controls_.grdSKI->Reload();
    SetEnabled(!host_.Busy());
}

void StraightedgeCommands::SetEnabled(bool enabled)
{
    const Controls& c = controls_;
    for (QWidget* control :
         std::initializer_list<QWidget*>{c.cmdSimulate, c.cmdMethod, c.chkSection, c.txtSectionLength, c.cmdSaveAs}) {
        control->setEnabled(enabled);
    }
    // Plot shows the last run's results: there is nothing to show before a run,
    // nor once another profile has been loaded. The zones and the report are of
    // the same results.
    for (QPushButton* needsResults : {c.cmdPlot, c.cmdCorrections, c.cmdReport}) {
        needsResults->setEnabled(enabled && ResultsValid());
    }
}

void StraightedgeCommands::Simulate(QWidget* origin)
{
    if (host_.Busy()) {
        return;
    }
    // The run goes on on its worker; the window stays busy until the results are back.
    runOrigin_ = origin;
    host_.EnterBusy(Qt::BusyCursor);
    controls_.cmdCancel->show();
    runner_->Start(host_.Session(), controls_.txtSectionLength->text().toStdString());
}

void StraightedgeCommands::FinishRun()
{
    SimulationHandOver run = runner_->TakeResult();
    controls_.cmdCancel->hide();
    if (run.outcome.ran) {
        SessionState& state = host_.Session();
        state.straightedge.results = std::move(run.results);
        state.workingElevations = std::move(run.workingElevations);
        LayoutResultsHeader(grid_, state.units);
        // The table reads the results as it shows them: a long run costs no text.
        controls_.grdSKI->ShowResults(state.straightedge.results, state.units, LocaleDecimalSeparator());
        state.straightedge.valid = true;
        state.straightedge.madeAt = QDateTime::currentSecsSinceEpoch();
    }
    host_.LeaveBusy();
    {
        FocusReturn focus(runOrigin_);
        runOrigin_ = nullptr;
        if (!run.outcome.ran && !run.outcome.cancelled) {
            host_.Dialogs().ShowMessage("Ski Error", FromCoreText(run.outcome.refusal), QMessageBox::Warning,
                                        QMessageBox::Ok);
        }
    }
    emit RunFinished();
}

bool StraightedgeCommands::ResultsValid() const
{
    return host_.Session().straightedge.valid;
}

bool StraightedgeCommands::RunInProgress() const
{
    return runner_->Running() || reports_->Running();
}

void StraightedgeCommands::CancelRun()
{
    runner_->Cancel();
    reports_->Cancel();
}

void StraightedgeCommands::StopRun()
{
    if (runner_->Running()) {
        runner_->Cancel();
        runner_->Wait();
    }
    // The report is drawn on this thread: dropping it leaves nothing behind and writes no file.
    reports_->Cancel();
}

void StraightedgeCommands::cmdMethod_Click()
{
    if (host_.Busy()) {
        return;
    }
    FocusReturn focus(controls_.cmdMethod);
    QSettings settings;
    MethodSettings remembered(settings);
    MethodDialog dialog(host_.Session().straightedge.method, remembered.UserMethods(), &host_.HostWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    remembered.SetUserMethods(dialog.UserMethods());
    if (dialog.Method() != host_.Session().straightedge.method) {
        ApplyMethod(dialog.Method());
    }
}

void StraightedgeCommands::ApplyMethod(const StraightedgeMethod& method)
{
    if (host_.Busy()) {
        return;
    }
    SessionState& state = host_.Session();
    const bool unitsChanged = method.units != state.straightedge.method.units;
    state.straightedge.method = method;
    QSettings settings;
    MethodSettings(settings).SetMethodInForce(method);
    state.units = UnitTextsFor(method.units);
    ShowMethod();
    ClearResults();
    // The profile is analysed in the method's units.
    if (unitsChanged && !host_.ProfilePath().isEmpty()) {
        host_.ReadProfileAgain(method.units);
    }
}

void StraightedgeCommands::ShowMethod()
{
    const SessionState& state = host_.Session();
    controls_.lblMethod->setText("Method: " + FromCoreText(DescribeMethod(state.straightedge.method)));
    controls_.lblSectionFormat->setText(state.straightedge.method.units == UnitSystem::SI ? "m." : "ft.");
}

void StraightedgeCommands::ClearResults()
{
    LayoutResultsHeader(grid_, host_.Session().units);
    grid_.SetRows(2);
    for (std::int32_t c = 0; c < 3; ++c) {
        grid_.SetTextMatrix(1, c, "");
        // An empty row left yellow from an exceeding placement would look like an exceedance.
        grid_.SetRow(1);
        grid_.SetCol(c);
        grid_.SetCellBackColor(kWhite);
    }
    host_.Session().straightedge.valid = false;
    SetEnabled(!host_.Busy());
    controls_.grdSKI->Reload();
}

void StraightedgeCommands::chkSection_Click()
{
    const Controls& c = controls_;
    const bool shown = c.chkSection->checkState() != Qt::Unchecked;
    c.lblSectionLength->setVisible(shown);
    c.txtSectionLength->setVisible(shown);
    c.lblSectionFormat->setVisible(shown);
    if (!shown) {
        c.txtSectionLength->clear();
    }
}

void StraightedgeCommands::cmdSaveAs_Click()
{
    if (host_.Busy()) {
        return;
    }
    FocusReturn focus(controls_.cmdSaveAs);
    int filterIndex = 1;
    QString path =
        host_.Dialogs().AskSaveFile("Save As", {"Comma Delimited (*.txt)", "Space Delimited (*.txt)"}, filterIndex);
    if (path.isEmpty()) {
        return;
    }
    // A name typed without an extension is saved as a text file.
    path = ConfirmedSavePath(host_.Dialogs(), "Save As", path, ".txt", ExtensionRule::WhenNoneTyped);
    if (path.isEmpty()) {
        return;
    }
    const Delimiter delimiter = filterIndex == 1 ? Delimiter::Comma : Delimiter::Space;

    SaveResult saved;
    {
        BusyScope busy(host_);
        // The table as shown: before a run, or once another profile is chosen, that is its empty row.
        saved = SaveSummary(ToFileName(path), grid_, delimiter);
        // Writing walks the grid's cells, which leaves the bottom-right cell current.
        grid_.SetRow(grid_.Rows() - 1);
        grid_.SetCol(grid_.Cols() - 1);
    }
    if (!saved.ok) {
        host_.Dialogs().ShowMessage("File Error!", FromCoreText(saved.message), QMessageBox::Warning, QMessageBox::Ok);
    }
}

void StraightedgeCommands::cmdPlot_Click()
{
    if (host_.Busy() || !ResultsValid()) {
        return;
    }
    FocusReturn focus(controls_.cmdPlot);
    // The graph window puts the pointer back once it has loaded.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (plotOpener_) {
        plotOpener_();
        return;
    }
    frmSkiPlot plot(host_.Session(), host_.ProfilePath(), &host_.HostWindow());
    // The graph's own guide window belongs to the graph window, which is modal.
    connect(&plot, &frmSkiPlot::HelpRequested, &plot, [&plot] { HelpWindow::ShowFor(&plot, "graph.html"); });
    plot.exec();
}

void StraightedgeCommands::SetPlotWindowOpener(std::function<void()> opener)
{
    plotOpener_ = std::move(opener);
}

void StraightedgeCommands::cmdCorrections_Click()
{
    if (host_.Busy() || !ResultsValid()) {
        return;
    }
    CorrectionsWindow corrections(host_.Session(), host_.ProfilePath(), host_.Dialogs(), &host_.HostWindow());
    corrections.exec();
}

void StraightedgeCommands::cmdReport_Click()
{
    if (host_.Busy() || !ResultsValid()) {
        return;
    }
    FocusReturn focus(controls_.cmdReport);
    UserDialogs& dialogs = host_.Dialogs();
    int filterIndex = 1;
    QString path = dialogs.AskSaveFile("Report", {"PDF Report (*.pdf)"}, filterIndex);
    if (path.isEmpty()) {
        return;
    }
    path = ConfirmedSavePath(dialogs, "Report", path, ".pdf", ExtensionRule::UnlessTyped);
    if (path.isEmpty()) {
        return;
    }

    const AnalysisTime time = ChooseAnalysisTime(std::getenv("SOURCE_DATE_EPOCH"), host_.Session().straightedge.madeAt);
    if (!time.ok) {
        dialogs.ShowMessage("Report", FromCoreText(time.message), QMessageBox::Warning, QMessageBox::Ok);
        return;
    }
    const SessionState& state = host_.Session();
    ReportRequest request;
    request.profilePath = ToFileName(QFileInfo(host_.ProfilePath()).absoluteFilePath());
    request.commandLine = ReproducingCommandLine(state, request.profilePath);
    request.analysisTime = time.seconds;
    request.decimalSeparator = LocaleDecimalSeparator();

    // The report is written on a worker thread; the window stays busy, with Cancel, until the file is written.
    host_.EnterBusy(Qt::BusyCursor);
    controls_.cmdCancel->show();
    host_.ProgressBar().SetTextVisible(false);
    host_.ProgressBar().SetVisible(true);
    reports_->Start(state, request, ToFileName(path));
}

void StraightedgeCommands::FinishReport()
{
    const ReportRunner::Outcome& outcome = reports_->Result();
    controls_.cmdCancel->hide();
    host_.ProgressBar().SetVisible(false);
    host_.LeaveBusy();
    FocusReturn focus(controls_.cmdReport);
    if (!outcome.ok && !outcome.cancelled) {
        host_.Dialogs().ShowMessage("File Error!", FromCoreText(outcome.message), QMessageBox::Warning,
                                    QMessageBox::Ok);
    }
    emit ReportFinished();
}

} // namespace zlm
