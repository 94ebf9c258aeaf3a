#include "graph/frmSkiPlot.h"

#include "analysis/DisplayFormat.h"
#include "analysis/RunResults.h"
#include "commands/SessionState.h"
#include "graph/DeviationGraph.h"
#include "graph/GraphCode.h"
#include "graph/GraphControl.h"
#include "graph/LocaleText.h"
#include "graph/StandardGraphDialogs.h"

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

frmSkiPlot::frmSkiPlot(const SessionState& state, const QString& lblFileCaption, QWidget* parent, GraphDialogs* dialogs)
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
    FillDeviationGraph(*graph_, state, lblFileCaption, LocaleDecimalSeparator());
    pagingLimit_ = static_cast<double>(state.results.pointCount - 1) * state.results.interval;
    hourglass.Restore();
    graph_->Redraw();
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
