#include "graph/frmSkiPlot.h"

#include "analysis/CorrectionZones.h"
#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"
#include "analysis/RunResults.h"
#include "graph/GraphCode.h"
#include "graph/GraphControl.h"
#include "graph/LocaleText.h"
#include "graph/StandardGraphDialogs.h"
#include "commands/SessionState.h"
#include "profile_input/PathText.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace zlm {

namespace {

/**
 * The hourglass of the load. The Plot command shows it before the window is
 * built; the load takes that one over (or sets its own when there is none) and
 * restores it exactly once, also when the load is left by an exception.
 */
class LoadHourglass {
public:
    LoadHourglass()
    {
        if (QGuiApplication::overrideCursor() != nullptr)
            QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~LoadHourglass() { Restore(); }
    LoadHourglass(const LoadHourglass&) = delete;
    LoadHourglass& operator=(const LoadHourglass&) = delete;

    void Restore()
    {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
        active_ = false;
    }

private:
    bool active_ = true;
};

QString FromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

/** Screen sizes of the window's design are in twips; at 96 dots per inch 15 twips make a pixel. */
constexpr int Pixels(int twips)
{
    return twips / 15;
}

QLabel* ReadoutBox(QWidget* parent, const char* name, const QString& text, int width)
{
    auto* box = new QLabel(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setBackgroundRole(QPalette::Button);
    box->setAutoFillBackground(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->setFixedSize(width, std::max(Pixels(285), box->sizeHint().height()));
    return box;
}

} // namespace

frmSkiPlot::frmSkiPlot(const SessionState& state, const QString& lblFileCaption, QWidget* parent,
                       GraphDialogs* dialogs)
    : QDialog(parent), dialogs_(dialogs)
{
    if (dialogs_ == nullptr) {
        ownDialogs_ = std::make_unique<StandardGraphDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    setObjectName(QStringLiteral("frmSkiPlot"));
    setWindowTitle(QStringLiteral("Deviation Graph"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);

    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("PowerButton1"));
    bar->setFixedHeight(Pixels(375));
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(Pixels(120) - Pixels(10), 0, 0, 0);
    barLayout->setSpacing(Pixels(1680 - 120 - 1455));
    const auto makeButton = [bar, barLayout](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, bar);
        button->setObjectName(QString::fromLatin1(name));
        button->setFixedSize(Pixels(1455), Pixels(375));
        button->setAutoDefault(false);
        barLayout->addWidget(button);
        return button;
    };
    cmdPrint_ = makeButton("cmdPrint", QStringLiteral("&Print"));
    cmdSave_ = makeButton("cmdSave", QStringLiteral("&Save/Export"));
    cmdUndoZoom_ = makeButton("cmdUndoZoom", QStringLiteral("&Undo Zoom"));
    barLayout->addStretch(1);

    graph_ = new GraphControl(this);
    graph_->setObjectName(QStringLiteral("Pesgoa1"));

    const int readoutWidth = std::max(Pixels(855), fontMetrics().horizontalAdvance(QStringLiteral("-000000.000")) + 8);
    lblx_ = ReadoutBox(this, "lblx", QStringLiteral("x="), Pixels(255));
    lblPoint_ = ReadoutBox(this, "lblPoint", QString(), readoutWidth);
    lbly_ = ReadoutBox(this, "lbly", QStringLiteral("y="), Pixels(255));
    lblPointY_ = ReadoutBox(this, "lblPointY", QString(), readoutWidth);

    // The design's arrangement in layouts: the bar along the top, the graph
    // taking the room between, the readout at the bottom right, wherever the
    // window's edges are.
    auto* readout = new QHBoxLayout;
    readout->setSpacing(0);
    readout->addStretch(1);
    readout->addWidget(lblx_);
    readout->addWidget(lblPoint_);
    readout->addSpacing(Pixels(240 + 960 - 255 - 855));
    readout->addWidget(lbly_);
    readout->addWidget(lblPointY_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Pixels(10), 0, Pixels(1000 - 855), Pixels(120));
    layout->setSpacing(Pixels(400 - 375));
    layout->addWidget(bar);
    layout->addWidget(graph_, 1);
    layout->addLayout(readout);

    connect(cmdPrint_, &QPushButton::clicked, this, &frmSkiPlot::cmdPrint_Click);
    connect(cmdSave_, &QPushButton::clicked, this, &frmSkiPlot::cmdSave_Click);
    connect(cmdUndoZoom_, &QPushButton::clicked, this, &frmSkiPlot::cmdUndoZoom_Click);
    connect(new QShortcut(QKeySequence::Print, this), &QShortcut::activated, cmdPrint_, &QPushButton::click);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, cmdSave_, &QPushButton::click);
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, cmdUndoZoom_, &QPushButton::click);
    connect(graph_, &GraphControl::PointerMoved, this, &frmSkiPlot::RefreshReadout);

    Load(state, lblFileCaption);
}

frmSkiPlot::~frmSkiPlot() = default;

GraphControl* frmSkiPlot::Graph() const
{
    return graph_;
}

double frmSkiPlot::PagingLimit() const
{
    return pagingLimit_;
}

void frmSkiPlot::Load(const SessionState& state, const QString& lblFileCaption)
{
    LoadHourglass hourglass;
    LayoutGraphWindow();
    SetTitles(state, lblFileCaption);
    SetCurves(state);
    AddSectionLines(state.results);
    AddCorrectionZones(state);
    pagingLimit_ = static_cast<double>(state.results.pointCount - 1) * state.results.interval;
    hourglass.Restore();
    graph_->Redraw();
}

void frmSkiPlot::SetTitles(const SessionState& state, const QString& lblFileCaption)
{
    const RunResults& results = state.results;
    const StraightedgeMethod& method = results.method;
    QString mainTitle = FromStd(PlainDecimalText(method.baseLength)) +
                        (method.units == UnitSystem::SI ? QStringLiteral("-Metre") : QStringLiteral("-Foot")) +
                        QStringLiteral(" Evenrule (ZLM)");
    // The default method's title is the long-standing one; any other says how the
    // straightedge moved, as the threshold line below says what it was held to.
    if (method != StraightedgeMethod{}) {
        mainTitle += method.continuous ? QStringLiteral(", rolled continuously")
                                       : QStringLiteral(", ") + FromStd(PlainDecimalText(method.step)) +
                                             FromStd(" " + state.units.length) + QStringLiteral(" steps");
    }
    graph_->SetMainTitle(mainTitle);
    std::string directory;
    graph_->SetSubtitle(FromStd(SplitFilePath(lblFileCaption.toStdString(), directory)));

    const std::string thresholdText = PlainDecimalText(results.method.tolerance);
    const QString threshold = FromStd(thresholdText);
    const QString deviationUnit = FromStd(state.units.deviation);
    graph_->SetExtraTitleLine(0, QStringLiteral("|Threshold Value = ") + threshold + QStringLiteral(" (") +
                                     deviationUnit + QStringLiteral(")|"));
    graph_->SetExtraTitleLine(1, QStringLiteral("|") + FromStd(state.profileTitle) + QStringLiteral("|"));
    graph_->SetExtraTitleLine(
        2, QStringLiteral("|Percent Exceeded Threshold (") + threshold + QStringLiteral(" ") + deviationUnit +
               QStringLiteral(") = ") +
               FromStd(FormatNumber(results.overallPercentExceeding, "#0.00", LocaleDecimalSeparator())) +
               QStringLiteral("% Overall|"));

    graph_->SetXAxisLabel(QStringLiteral("Distance (") + FromStd(state.units.length) + QStringLiteral(")"));
    graph_->SetYAxisLabel(0, QStringLiteral("Deviation From Straightedge (") + deviationUnit + QStringLiteral(")"));
    graph_->SetYAxisLabel(1, QStringLiteral("Elevation (") + deviationUnit + QStringLiteral(")"));
    // The line stands where its label says: at the tolerance's text read back.
    graph_->AddHorizontalLine(ParseDouble(thresholdText), 0, QColor(255, 0, 0), threshold);
}

void frmSkiPlot::SetCurves(const SessionState& state)
{
    // Both curves are drawn in single precision: placements by station, and the
    // profile's N points in the deviation unit.
    const RunResults& results = state.results;
    const std::size_t pointCount = static_cast<std::size_t>(std::max(results.pointCount, 0));
    const std::size_t n = std::min(results.placements.size(), pointCount);
    GraphControl::Curve placements{{QStringLiteral("ZLM"), QColor(0, 0, 255), 0}, {}, {}};
    placements.x.resize(n);
    placements.y.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        placements.x[i] = static_cast<float>(results.placements[i].Station);
        placements.y[i] = static_cast<float>(results.placements[i].MaxDeviation);
    }
    GraphControl::Curve profile{{QStringLiteral("Profile"), QColor(110, 110, 110), 1}, {}, {}};
    profile.x.resize(pointCount);
    profile.y.resize(pointCount);
    for (std::size_t m = 0; m < pointCount; ++m) {
        const double elevation = m < state.workingElevations.size() ? state.workingElevations[m] : 0.0;
        profile.x[m] = static_cast<float>(static_cast<double>(m) * results.interval);
        profile.y[m] = static_cast<float>(elevation * DeviationPerLength(results.method.units));
    }
    graph_->SetData({std::move(placements), std::move(profile)});
}

void frmSkiPlot::AddSectionLines(const RunResults& results)
{
    if (!results.HasSectionSummary())
        return;
    // One line closing each section, labelled with its share as the table shows it;
    // the last closes at the last profile point.
    const std::size_t count = results.sections.size();
    const char separator = LocaleDecimalSeparator();
    for (std::size_t i = 0; i < count; ++i) {
        const double at = i + 1 == count
                              ? static_cast<double>(results.pointCount - 1) * results.interval
                              : static_cast<double>(results.sectionLength * static_cast<float>(i + 1));
        graph_->AddVerticalLine(at, QColor(0, 0, 0),
                                FromStd(FormatNumber(results.sections[i].percentExceeding, "##0.0", separator)));
    }
}

void frmSkiPlot::AddCorrectionZones(const SessionState& state)
{
    const RunResults& results = state.results;
    const CorrectionSummary zones = FindCorrectionZones(results, state.workingElevations);
    if (zones.zones.empty())
        return;
    // The supports sit on the profile curve: the same elevation in the same
    // deviation unit, through single precision as the curve is drawn.
    const double perLength = DeviationPerLength(results.method.units);
    const auto profileValue = [&](std::int32_t point) {
        const auto m = static_cast<std::size_t>(point);
        const double elevation = m < state.workingElevations.size() ? state.workingElevations[m] : 0.0;
        return static_cast<double>(static_cast<float>(elevation * perLength));
    };
    const auto distance = [&](std::int32_t point) {
        return static_cast<double>(static_cast<float>(static_cast<double>(point) * results.interval));
    };
    QVector<QPointF> supports;
    for (const CorrectionZone& zone : zones.zones) {
        graph_->AddBand(zone.start, zone.end, QColor(255, 140, 0, 60), QStringLiteral("Exceedance zones"));
        if (zone.HasSupports()) {
            supports.append(QPointF(distance(zone.leftSupport), profileValue(zone.leftSupport)));
            supports.append(QPointF(distance(zone.rightSupport), profileValue(zone.rightSupport)));
        }
    }
    graph_->SetMarkers(supports, 1, QColor(200, 0, 0), QStringLiteral("Supports of worst placement"));
}

void frmSkiPlot::ZoomToDistance(double start, double end)
{
    graph_->ZoomTo(start, end);
}

void frmSkiPlot::LayoutGraphWindow()
{
    QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // The window takes the desktop's work area; maximised, a window manager fits
    // its frame to it as well.
    setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
}

void frmSkiPlot::RefreshReadout(const QPoint& pixel)
{
    const QPointF at = graph_->PixelToGraph(pixel);
    const char separator = LocaleDecimalSeparator();
    lblPoint_->setText(FromStd(FormatNumber(at.x(), "###.000", separator)));
    lblPointY_->setText(FromStd(FormatNumber(at.y(), "###.000", separator)));
}

void frmSkiPlot::cmdPrint_Click()
{
    PrintGraph(*graph_, pagingLimit_, *dialogs_);
}

void frmSkiPlot::cmdSave_Click()
{
    graph_->Export(*dialogs_);
}

void frmSkiPlot::cmdUndoZoom_Click()
{
    graph_->UndoZoom();
}

} // namespace zlm
