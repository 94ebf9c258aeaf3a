#include "graph/frmSkiPlot.h"

#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"
#include "analysis/ResultsGrid.h"
#include "graph/GraphCode.h"
#include "graph/GraphControl.h"
#include "graph/StandardGraphDialogs.h"
#include "commands/SessionState.h"
#include "profile_input/PathText.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

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

char DecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    const char separator = point.isEmpty() ? '.' : point.front().toLatin1();
    return separator != 0 ? separator : '.';
}

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

frmSkiPlot::frmSkiPlot(const zlm::SessionState& state, const QString& lblFileCaption, const QString& sectionLengthText,
                       const zlm::ResultsGrid& grid, QWidget* parent, GraphDialogs* dialogs)
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

    Load(state, lblFileCaption, sectionLengthText, grid);
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

void frmSkiPlot::Load(const zlm::SessionState& state, const QString& lblFileCaption, const QString& sectionLengthText,
                      const zlm::ResultsGrid& grid)
{
    LoadHourglass hourglass;
    LayoutGraphWindow();

    graph_->SetMainTitle(FromStd(PlainDecimalText(state.straightedgeLength)) + QStringLiteral("-Foot") +
                           QStringLiteral(" Evenrule (ZLM)"));
    std::string directory;
    graph_->SetSubtitle(FromStd(zlm::SplitFilePath(lblFileCaption.toStdString(), directory)));

    const std::string thresholdText = PlainDecimalText(state.threshold);
    const QString threshold = FromStd(thresholdText);
    const QString deviationUnit = FromStd(state.units.deviation);
    graph_->SetExtraTitleLine(0, QStringLiteral("|Threshold Value = ") + threshold + QStringLiteral(" (") +
                                       deviationUnit + QStringLiteral(")|"));
    graph_->SetExtraTitleLine(1, QStringLiteral("|") + FromStd(state.profileTitle) + QStringLiteral("|"));
    graph_->SetExtraTitleLine(
        2, QStringLiteral("|Percent Exceeded Threshold (") + threshold + QStringLiteral(" ") + deviationUnit +
               QStringLiteral(") = ") +
               FromStd(zlm::FormatNumber(state.overallPercentExceeding, "#0.00", DecimalSeparator())) +
               QStringLiteral("% Overall|"));

    graph_->SetXAxisLabel(QStringLiteral("Distance (") + FromStd(state.units.length) + QStringLiteral(")"));
    graph_->SetYAxisLabel(0, QStringLiteral("Deviation From Straightedge (") + deviationUnit + QStringLiteral(")"));
    graph_->AddHorizontalLine(zlm::ParseDouble(thresholdText), 0, QColor(255, 0, 0),
                                QStringLiteral("|R") + threshold);

    // X and Y hold the placements at 0..N-1 and the profile at N..2N-1, in
    // single precision; index 2N is filled but not drawn.
    const int pointCount = std::max(state.profile.pointCount, 0);
    const double dx = state.profile.interval;
    const std::size_t n = std::min(state.deviations.size(), static_cast<std::size_t>(pointCount));
    std::vector<double> stations(n);
    std::vector<double> deviations(n);
    for (std::size_t i = 0; i < n; ++i) {
        stations[i] = state.deviations[i].Station;
        deviations[i] = state.deviations[i].MaxDeviation;
    }
    if (static_cast<int>(n) < pointCount) {
        PadWithNull(stations, static_cast<int>(n), pointCount);
        PadWithNull(deviations, static_cast<int>(n), pointCount);
    }
    const std::size_t size = 2 * static_cast<std::size_t>(pointCount) + 1;
    std::vector<float> x(size);
    std::vector<float> y(size);
    const std::size_t count = static_cast<std::size_t>(pointCount);
    for (std::size_t i = 0; i < count; ++i) {
        x[i] = static_cast<float>(stations[i]);
        y[i] = static_cast<float>(deviations[i]);
    }
    for (std::size_t m = 0; m <= count; ++m) {
        const double elevation = m < state.workingElevations.size() ? state.workingElevations[m] : 0.0;
        x[count + m] = static_cast<float>(static_cast<double>(m) * dx);
        y[count + m] = static_cast<float>(elevation * 12.0);
    }
    graph_->SetData(
        x, y, {{QStringLiteral("ZLM"), QColor(0, 0, 255), 0}, {QStringLiteral("Profile"), QColor(110, 110, 110), 1}},
        pointCount);
    graph_->SetYAxisLabel(1, QStringLiteral("Elevation (") + deviationUnit + QStringLiteral(")"));

    const float sectionLength = zlm::ParseSingle(zlm::TrimBlanks(sectionLengthText.toStdString()));
    if (sectionLength > 0.0f) {
        const int rows = grid.Rows();
        for (int i = 0; i <= rows - 2; ++i) {
            const double at = i == rows - 2 ? static_cast<double>(pointCount - 1) * dx
                                            : static_cast<double>(sectionLength * static_cast<float>(i + 1));
            graph_->AddVerticalLine(at, QColor(0, 0, 0), QStringLiteral("|H") + FromStd(grid.TextMatrix(i + 1, 2)));
        }
    }
    pagingLimit_ = static_cast<double>(pointCount - 1) * dx;

    hourglass.Restore();
    graph_->Redraw();
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
    const char separator = DecimalSeparator();
    lblPoint_->setText(FromStd(zlm::FormatNumber(at.x(), "###.000", separator)));
    lblPointY_->setText(FromStd(zlm::FormatNumber(at.y(), "###.000", separator)));
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
