#include "graph/frmSkiPlot.h"

#include "analysis/DisplayFormat.h"
#include "analysis/StraightedgeResults.h"
#include "commands/SessionState.h"
#include "graph/DeviationGraph.h"
#include "graph/GraphControl.h"
#include "graph/GraphPrinting.h"
#include "graph/LocaleText.h"
#include "graph/StandardGraphDialogs.h"
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

/** Screen sizes of the window's design are in twips; at 96 dots per inch 15 twips make a pixel. */
constexpr int Pixels(int twips)
{
    return twips / 15;
}

/**
 * A readout box at least `width` pixels wide, or as wide as `widestText` needs in
 * the box's font, whichever is more.
 */
QLabel* ReadoutBox(QWidget* parent, const char* name, const QString& text, int width, const QString& widestText)
{
    auto* box = new QLabel(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setBackgroundRole(QPalette::Button);
    box->setAutoFillBackground(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int textWidth = box->fontMetrics().horizontalAdvance(widestText) + 2 * box->frameWidth() +
                          box->fontMetrics().averageCharWidth();
    box->setFixedSize(std::max(width, textWidth), std::max(Pixels(285), box->sizeHint().height()));
    return box;
}

} // namespace

frmSkiPlot::frmSkiPlot(const SessionState& state, const QString& lblFileCaption, QWidget* parent, GraphDialogs* dialogs)
    : frmSkiPlot(
          QStringLiteral("Deviation Graph"),
          [&](GraphControl& graph) { FillDeviationGraph(graph, state, lblFileCaption, LocaleDecimalSeparator()); },
          static_cast<double>(state.straightedge.results.pointCount - 1) * state.straightedge.results.interval, parent,
          dialogs)
{
}

frmSkiPlot::frmSkiPlot(const QString& windowTitle, const GraphFiller& fill, double pagingLimit, QWidget* parent,
                       GraphDialogs* dialogs)
    : QDialog(parent), dialogs_(dialogs)
{
    if (dialogs_ == nullptr) {
        ownDialogs_ = std::make_unique<StandardGraphDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    setObjectName(QStringLiteral("frmSkiPlot"));
    setWindowTitle(windowTitle);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);

    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("PowerButton1"));
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(Pixels(120) - Pixels(10), 0, 0, 0);
    barLayout->setSpacing(Pixels(1680 - 120 - 1455));
    const auto makeButton = [bar, barLayout](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, bar);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        barLayout->addWidget(button);
        return button;
    };
    cmdPrint_ = makeButton("cmdPrint", QStringLiteral("&Print"));
    cmdSave_ = makeButton("cmdSave", QStringLiteral("&Save/Export"));
    cmdUndoZoom_ = makeButton("cmdUndoZoom", QStringLiteral("&Undo Zoom"));
    barLayout->addStretch(1);
    // The design's size, or what the widest caption needs in the font in use,
    // with a character's room on either side.
    QSize buttonSize(Pixels(1455), Pixels(375));
    for (QPushButton* button : {cmdPrint_, cmdSave_, cmdUndoZoom_})
        buttonSize = buttonSize.expandedTo(button->sizeHint() + QSize(2 * button->fontMetrics().averageCharWidth(), 0));
    for (QPushButton* button : {cmdPrint_, cmdSave_, cmdUndoZoom_})
        button->setFixedSize(buttonSize);
    bar->setFixedHeight(buttonSize.height());

    graph_ = new GraphControl(this);
    graph_->setObjectName(QStringLiteral("Pesgoa1"));

    const QString widestReading = QStringLiteral("-000000.000");
    lblx_ = ReadoutBox(this, "lblx", QStringLiteral("x="), Pixels(255), QStringLiteral("x="));
    lblPoint_ = ReadoutBox(this, "lblPoint", QString(), Pixels(855), widestReading);
    lbly_ = ReadoutBox(this, "lbly", QStringLiteral("y="), Pixels(255), QStringLiteral("y="));
    lblPointY_ = ReadoutBox(this, "lblPointY", QString(), Pixels(855), widestReading);

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
    connect(graph_, &GraphControl::PointerMoved, this, &frmSkiPlot::RefreshReadout);
    ConnectKeys();

    Load(fill, pagingLimit);
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

void frmSkiPlot::Load(const GraphFiller& fill, double pagingLimit)
{
    LoadHourglass hourglass;
    LayoutGraphWindow();
    fill(*graph_);
    pagingLimit_ = pagingLimit;
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

void frmSkiPlot::ConnectKeys()
{
    // Window shortcuts, so that they work wherever the focus is in the window.
    const auto onKeys = [this](std::initializer_list<QKeySequence> keys, auto action) {
        for (const QKeySequence& key : keys)
            connect(new QShortcut(key, this), &QShortcut::activated, this, action);
    };
    onKeys({QKeySequence::Print}, [this] { cmdPrint_->click(); });
    onKeys({QKeySequence::Save}, [this] { cmdSave_->click(); });
    onKeys({QKeySequence::Undo, QKeySequence(Qt::Key_Home)}, [this] { cmdUndoZoom_->click(); });
    onKeys({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal), QKeySequence(QKeySequence::ZoomIn)},
           [this] { ZoomIn(); });
    onKeys({QKeySequence(Qt::Key_Minus), QKeySequence(QKeySequence::ZoomOut)}, [this] { ZoomOut(); });
    onKeys({QKeySequence(Qt::Key_Left)}, [this] { PanBy(-1); });
    onKeys({QKeySequence(Qt::Key_Right)}, [this] { PanBy(1); });
    onKeys({QKeySequence(QKeySequence::HelpContents)}, [this] { emit HelpRequested(); });
}

double frmSkiPlot::ZoomCentre() const
{
    // The graph takes a readout outside the view for the view's middle as well.
    return readoutDistance_.value_or((graph_->ZoomStart() + graph_->ZoomEnd()) / 2.0);
}

void frmSkiPlot::ZoomIn()
{
    graph_->ZoomAround(ZoomCentre(), kKeyZoomFactor);
}

void frmSkiPlot::ZoomOut()
{
    graph_->ZoomAround(ZoomCentre(), 1.0 / kKeyZoomFactor);
}

void frmSkiPlot::PanBy(int direction)
{
    graph_->Pan(direction * kKeyPanShare);
}

void frmSkiPlot::RefreshReadout(const QPoint& pixel)
{
    const QPointF at = graph_->PixelToGraph(pixel);
    readoutDistance_ = at.x();
    const char separator = LocaleDecimalSeparator();
    lblPoint_->setText(FromCoreText(FormatNumber(at.x(), "###.000", separator)));
    lblPointY_->setText(FromCoreText(FormatNumber(at.y(), "###.000", separator)));
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
