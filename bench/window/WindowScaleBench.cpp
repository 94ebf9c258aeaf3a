// How the windows hold up on very long results: 5 million points at 1-inch
// spacing (about 79 miles), and 633,480 placements of a straightedge rolled
// continuously over 10 miles. Prints the time of each step a user takes, and
// how long Report... keeps the window from its events.
#include "analysis/MethodPresets.h"
#include "commands/SimulateCommand.h"
#include "graph/GraphControl.h"
#include "graph/frmSkiPlot.h"
#include "mainwindow/ReportRunner.h"
#include "mainwindow/frmSkiMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

using namespace zlm;

namespace {

bool WriteProfile(const QString& path, int kPoints)
{
    std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (file == nullptr)
        return false;
    std::fprintf(file,
                 "ERDFILEV2.00\r\n1,%d,1,1,1,1,0\r\nTITLE    Long road\r\nUNITSNAM    ft\r\n"
                 "XUNITS      in\r\nEND\r\n",
                 kPoints);
    std::mt19937_64 random(5);
    std::normal_distribution<double> step(0.0, 0.0004);
    std::uniform_real_distribution<double> texture(-0.004, 0.004);
    double walk = 0.0;
    for (int i = 0; i < kPoints; ++i) {
        const double x = i / 12.0;
        const double z = walk + 0.05 * std::sin(x / 40.0) + 0.01 * std::sin(x / 7.0) + texture(random);
        std::fprintf(file, "%.6f\r\n", z);
        walk += step(random);
    }
    return std::fclose(file) == 0;
}

double Milliseconds(QElapsedTimer& timer)
{
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    return ms;
}

/**
 * Times Report... of the run in `state`, and the longest the window's thread is
 * kept from its events meanwhile: a timer ticking every millisecond finds the
 * longest gap between two of its ticks.
 */
int TimeReport(QApplication& app, const QTemporaryDir& folder, const SessionState& state, const QString& path)
{
    ReportRunner runner;
    ReportRequest request;
    request.profilePath = path.toStdString();
    request.commandLine = "zlm-batch " + request.profilePath;
    QElapsedTimer sinceTick;
    double longestGap = 0.0;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    QElapsedTimer timer;
    timer.start();
    sinceTick.start();
    ticks.start(1);
    runner.Start(state, request, folder.filePath("report.pdf").toStdString());
    while (runner.Running())
        app.processEvents(QEventLoop::WaitForMoreEvents);
    ticks.stop();
    if (!runner.Result().ok) {
        std::fprintf(stderr, "report: %s\n", runner.Result().message.c_str());
        return 1;
    }
    std::printf("Report... written:                %8.0f ms\n", Milliseconds(timer));
    std::printf("  the window's longest wait:      %8.1f ms\n", longestGap);
    return 0;
}

/** Times each step a user takes on `points` points at 1-inch spacing with `method`. */
int TimeSteps(QApplication& app, const QTemporaryDir& folder, int kPoints, const StraightedgeMethod& method)
{
    const QString path = folder.filePath(QString("road-%1.erd").arg(kPoints));
    if (!WriteProfile(path, kPoints)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("\n%d points, %s\n", kPoints, DescribeMethod(method).c_str());

    frmSkiMain window;
    window.resize(800, 700);
    window.show();
    window.ApplyMethod(method);
    app.processEvents();

    QElapsedTimer timer;
    timer.start();
    window.OpenProfile(path);
    app.processEvents();
    std::printf("open the profile:                 %8.0f ms\n", Milliseconds(timer));
    window.cmdSimulate_Click();
    while (window.RunInProgress())
        app.processEvents(QEventLoop::WaitForMoreEvents);
    app.processEvents();
    std::printf("simulate (%zu placements):      %8.0f ms\n", window.State().straightedge.results.placements.size(),
                Milliseconds(timer));
    {
        // The engine alone on a copy of the session: the rest of Simulate is the table.
        SessionState copy;
        copy.profile = window.State().profile;
        copy.straightedge.method = window.State().straightedge.method;
        copy.units = window.State().units;
        NullProgress none;
        RunSimulation(copy, "", none);
        std::printf("  of which the engine alone:      %8.0f ms\n", Milliseconds(timer));
    }

    auto* table = window.findChild<QTableView*>("grdSKI");
    double worstScroll = 0.0;
    for (int step = 0; step <= 50; ++step) {
        QElapsedTimer one;
        one.start();
        table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum() * step / 50);
        table->viewport()->repaint();
        worstScroll = std::max(worstScroll, static_cast<double>(one.nsecsElapsed()) / 1e6);
    }
    std::printf("scroll the table, worst of 51 jumps: %5.1f ms\n", worstScroll);
    timer.restart();

    frmSkiPlot plot(window.State(), path);
    plot.resize(1600, 900);
    plot.show();
    app.processEvents();
    std::printf("open the graph window:            %8.0f ms\n", Milliseconds(timer));

    GraphControl* graph = plot.Graph();
    const double end = (kPoints - 1) / 12.0;
    double worstZoom = 0.0;
    for (const double width : {end, end / 4, end / 50, 500.0}) {
        QElapsedTimer one;
        one.start();
        graph->ZoomTo(end / 3, end / 3 + width);
        for (auto* plotArea : graph->findChildren<QCustomPlot*>())
            plotArea->replot(QCustomPlot::rpImmediateRefresh);
        worstZoom = std::max(worstZoom, static_cast<double>(one.nsecsElapsed()) / 1e6);
    }
    std::printf("zoom the graph, worst of 4 zooms:  %6.1f ms\n", worstZoom);
    return TimeReport(app, folder, window.State(), path);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The method the windows start with is the bench's own, not the user's.
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath("settings").toLocal8Bit());
    QApplication app(argc, argv);
    // About 79 miles with the default method, and 10 miles with a 10-ft
    // straightedge rolled continuously: 633,480 placements in the table and graph.
    if (TimeSteps(app, folder, 5'000'000, StraightedgeMethod{}) != 0)
        return 1;
    return TimeSteps(app, folder, 633'600, {10.0, 5.0, true, 0.125f, UnitSystem::US});
}
