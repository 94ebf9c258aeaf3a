// Times the deviation graph window on a 10-mile profile at 1-inch spacing
// (633,600 points, 6,600 placements): construction with the first full drawing
// at a 1920 x 1040 work area, and one zoom with its redraw. Targets: under 1 s
// to open, under 100 ms per zoom redraw.

#include "analysis/ResultsGrid.h"
#include "bench/TenMileProfile.h"
#include "commands/SessionState.h"
#include "graph/GraphControl.h"
#include "graph/GraphDialogs.h"
#include "graph/frmSkiPlot.h"

#include <QApplication>
#include <qcustomplot.h>

#include <benchmark/benchmark.h>
#include <memory>
#include <random>

using namespace zlm;

namespace {

/** The dialogs are never shown in the benchmark. */
class NoDialogs : public GraphDialogs {
public:
    bool ChoosePrint(QPrinter&, bool, bool&) override { return false; }
    QString ChooseExportFile(QString&) override { return QString(); }
    bool ConfirmReplace(const QString&) override { return false; }
    void ShowError(const QString&, const QString&) override {}
};

const zlm::SessionState& TenMileRun()
{
    static const zlm::SessionState state = [] {
        zlm::SessionState s;
        s.profile.elevations = zlm::bench::TenMileElevations();
        s.profile.pointCount = zlm::bench::kTenMilePoints;
        s.profile.interval = 1.0 / 12.0;
        s.workingElevations = s.profile.elevations;
        s.workingElevations.push_back(0.0);
        std::mt19937 random(7);
        std::gamma_distribution<double> gap(2.0, 0.06);
        const double lastStation = (s.profile.pointCount - 1) * s.profile.interval - 16.0;
        for (double station = 0.0; station <= lastStation; station += 8.0) {
            const double deviation = gap(random);
            s.straightedge.results.placements.push_back(
                {station, deviation, deviation > 0.25 ? deviation - 0.25 : 0.0});
        }
        s.straightedge.results.pointCount = s.profile.pointCount;
        s.straightedge.results.interval = s.profile.interval;
        s.straightedge.results.overallPercentExceeding = 12.5f;
        // A section summary of 100 sections of 528 ft.
        s.straightedge.results.sectionLength = 528.0f;
        for (int row = 1; row <= 100; ++row) {
            zlm::SectionRow section;
            section.percentExceeding = static_cast<float>(row % 40);
            s.straightedge.results.sections.push_back(section);
        }
        s.profileTitle = "Ten-mile benchmark road";
        return s;
    }();
    return state;
}

std::unique_ptr<frmSkiPlot> OpenWindow(NoDialogs& dialogs)
{
    auto window = std::make_unique<frmSkiPlot>(TenMileRun(), QStringLiteral("/data/ten-mile.erd"), nullptr, &dialogs);
    window->setWindowState(Qt::WindowNoState);
    window->resize(1920, 1040);
    window->show();
    QCoreApplication::processEvents();
    window->Graph()->Plot()->replot();
    return window;
}

void BM_OpenGraphWindow(benchmark::State& state)
{
    TenMileRun();
    NoDialogs dialogs;
    for (auto _ : state) {
        auto window = OpenWindow(dialogs);
        benchmark::DoNotOptimize(window.get());
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenGraphWindow)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_ZoomRedraw(benchmark::State& state)
{
    NoDialogs dialogs;
    auto window = OpenWindow(dialogs);
    GraphControl& graph = *window->Graph();
    const double length = graph.ZoomEnd();
    const double width = length * static_cast<double>(state.range(0)) / 100.0;
    double start = 0.0;
    for (auto _ : state) {
        graph.ZoomTo(start, start + width);
        graph.Plot()->replot();
        start += width / 3.0;
        if (start + width > length)
            start = 0.0;
    }
}
// Zoom windows of 100 %, 25 % and 2 % of the road.
BENCHMARK(BM_ZoomRedraw)->Arg(100)->Arg(25)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
