// zlm-guide-screenshots: the pictures of the user guide (docs/guide), taken from
// the real windows offscreen on the bundled sample profiles, so that the guide
// shows the windows as they are. scripts/guide-screenshots runs it.
//
//   zlm-guide-screenshots [--font-size PT] OUT_DIR
//
// --font-size takes the pictures in another font size (to look at the windows
// with large fonts); the guide's own pictures use the default.
#include "graph/GraphControl.h"
#include "graph/RideQualityGraph.h"
#include "graph/frmSkiPlot.h"
#include "mainwindow/ChannelDialog.h"
#include "mainwindow/RideQualityWindow.h"
#include "mainwindow/UserDialogs.h"
#include "mainwindow/frmSkiMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyleFactory>
#include <QTimer>
#include <qcustomplot.h>

#include <cstdio>

using namespace zlm;

namespace {

/** Simulate runs on a worker: the pictures show its results once they are in. */
void WaitForRun(const frmSkiMain& window)
{
    while (window.RunInProgress()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

constexpr double kGuideFontSize = 10.0;

/** Answers as a user making the pictures would; any message box means the pictures are wrong. */
class ScriptedDialogs final : public UserDialogs {
public:
    bool failed = false;

    QString AskOpenFile(const QString&, const QString&, const QString&, const QString&) override { return {}; }
    QString AskSaveFile(const QString&, const QStringList&, int&) override { return {}; }
    QMessageBox::StandardButton ShowMessage(const QString& title, const QString& text, QMessageBox::Icon,
                                            QMessageBox::StandardButtons) override
    {
        std::fprintf(stderr, "guide-screenshots: unexpected message \"%s\": %s\n", qPrintable(title), qPrintable(text));
        failed = true;
        return QMessageBox::Ok;
    }
    std::optional<ChannelNumber> AskChannel(const std::vector<std::string>&, ChannelNumber) override { return 1; }
    std::optional<DelimitedUnits> AskDelimitedUnits(const DelimitedProbeResult&, const NeededUnits&) override
    {
        return std::nullopt;
    }
};

bool Save(QWidget& widget, const QDir& out, const QString& name)
{
    QApplication::processEvents();
    const QString path = out.filePath(name);
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "guide-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

/** Moves the pointer over the graph to distance `x`, halfway up the plot, as a user would for the readout. */
void PointAt(GraphControl& graph, double x)
{
    QCustomPlot* plot = graph.Plot();
    plot->replot();
    const QPoint pixel(qRound(plot->xAxis->coordToPixel(x)), plot->axisRect()->rect().center().y());
    QMouseEvent move(QEvent::MouseMove, QPointF(pixel), plot->mapToGlobal(QPointF(pixel)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
}

/** The samples under a short, fixed folder name, which the main window shows. */
QString CopySamples(QDir& roads)
{
    roads = QDir(QDir::temp().filePath("roads"));
    if (!roads.mkpath(".")) {
        return {};
    }
    for (const char* name : {"one-channel.erd", "two-channel.erd", "column-text.dat"}) {
        QFile::remove(roads.filePath(name));
        if (!QFile::copy(QStringLiteral(ZLM_SAMPLES_DIR "/") + name, roads.filePath(name))) {
            return {};
        }
    }
    return roads.filePath("one-channel.erd");
}

/** The Ride Quality window on the two-path sample, once its analysis is over, and its graph. */
bool SaveRideQuality(frmSkiMain& window, const QString& profile, const QDir& out)
{
    window.OpenProfile(profile);
    window.findChild<QPushButton*>("cmdRideQuality")->click();
    auto* ride = window.findChild<RideQualityWindow*>();
    if (ride == nullptr) {
        std::fputs("guide-screenshots: the Ride Quality window did not open\n", stderr);
        return false;
    }
    QEventLoop wait;
    QObject::connect(ride, &RideQualityWindow::AnalysisFinished, &wait, &QEventLoop::quit);
    QTimer::singleShot(30000, &wait, &QEventLoop::quit);
    wait.exec();
    if (ride->IsRunning() || !window.State().rideQuality.valid) {
        std::fprintf(stderr, "guide-screenshots: the ride-quality analysis failed: %s\n",
                     qPrintable(ride->ProblemText()));
        return false;
    }
    ride->resize(ride->fontMetrics().averageCharWidth() * 120, ride->fontMetrics().lineSpacing() * 40);
    bool saved = Save(*ride, out, "ride-quality-window.png");

    const RideQualitySlot& slot = window.State().rideQuality;
    frmSkiPlot plot(
        QStringLiteral("Ride Quality Graph"),
        [&](GraphControl& graph) { FillRideQualityGraph(graph, slot, profile, '.'); }, slot.results.ProfileLength(),
        ride);
    plot.setWindowState(Qt::WindowNoState);
    plot.resize(plot.fontMetrics().averageCharWidth() * 150, plot.fontMetrics().lineSpacing() * 42);
    plot.show();
    saved = Save(plot, out, "ride-quality-graph.png") && saved;
    ride->close();
    return saved;
}

int Usage()
{
    std::fputs("Usage: zlm-guide-screenshots [--font-size PT] OUT_DIR\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    double fontSize = kGuideFontSize;
    QString outName;
    const QStringList arguments = QApplication::arguments().mid(1);
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--font-size" && i + 1 < arguments.size()) {
            fontSize = arguments[++i].toDouble();
        } else if (outName.isEmpty() && !arguments[i].startsWith("-")) {
            outName = arguments[i];
        } else {
            return Usage();
        }
    }
    if (outName.isEmpty() || !(fontSize > 0.0)) {
        return Usage();
    }
    QDir out(outName);
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "guide-screenshots: cannot make %s\n", qPrintable(outName));
        return 1;
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(fontSize);
    QApplication::setFont(font);

    QDir roads;
    const QString profile = CopySamples(roads);
    if (profile.isEmpty()) {
        std::fputs("guide-screenshots: cannot copy the samples\n", stderr);
        return 1;
    }

    bool saved = true;
    ScriptedDialogs dialogs;
    frmSkiMain window(&dialogs);
    window.show();
    window.OpenProfile(profile);
    window.cmdSimulate_Click();
    WaitForRun(window);
    saved = Save(window, out, "main-window.png") && saved;

    window.findChild<QCheckBox*>("chkSection")->click();
    window.findChild<QLineEdit*>("txtSectionLength")->setText("100");
    window.cmdSimulate_Click();
    WaitForRun(window);
    saved = Save(window, out, "main-window-sections.png") && saved;

    {
        frmSkiPlot plot(window.State(), window.findChild<QWidget*>("lblFile")->property("text").toString(), &window);
        plot.setWindowState(Qt::WindowNoState);
        plot.resize(plot.fontMetrics().averageCharWidth() * 150, plot.fontMetrics().lineSpacing() * 42);
        plot.show();
        PointAt(*plot.Graph(), 304.0);
        saved = Save(plot, out, "graph-window.png") && saved;
        // Two presses of + around the readout, as the guide describes.
        plot.ZoomIn();
        plot.ZoomIn();
        PointAt(*plot.Graph(), 304.0);
        saved = Save(plot, out, "graph-zoomed.png") && saved;
    }

    saved = SaveRideQuality(window, roads.filePath("two-channel.erd"), out) && saved;

    ChannelDialog channel(&window);
    channel.show();
    saved = Save(channel, out, "channel-window.png") && saved;

    QFile::remove(roads.filePath("one-channel.erd"));
    QFile::remove(roads.filePath("two-channel.erd"));
    QFile::remove(roads.filePath("column-text.dat"));
    roads.rmdir(".");
    return saved && !dialogs.failed ? 0 : 1;
}
