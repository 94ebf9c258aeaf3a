// Ride quality on a 10-mile, two-path profile at 1-inch spacing (633,601 points a path):
// the core against the literal transcription of its definitions, in the same run.
//   RideBench [benchmark flags]        runs the benchmarks
//   RideBench --write-profile FILE     only writes the profile as a two-channel ERD file
//                                      (for timing the zlm-batch executable)

#include "bench/TenMileProfile.h"
#include "analysis/ProgressSink.h"
#include "ride_quality/RideQuality.h"
#include "ride_quality/reference/RideReference.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kPathPoints = 633601;

/** The two wheel paths: the bench road and, for the right path, the same road shifted and scaled with its own texture. */
struct TwoPaths {
    std::vector<double> left;
    std::vector<double> right;

    static const TwoPaths& Get()
    {
        static const TwoPaths paths;
        return paths;
    }

private:
    TwoPaths()
    {
        std::vector<double> road = zlm::bench::TenMileElevations();
        road.push_back(road.back());
        left = road;
        right.resize(road.size());
        for (std::size_t i = 0; i < road.size(); ++i) {
            right[i] = 0.8 * road[(i + 5000) % road.size()] + 0.002 * std::sin(static_cast<double>(i) * 0.37);
        }
    }
};

zlm::RideQualityMethod BenchMethod()
{
    zlm::RideQualityMethod method = zlm::DefaultRideQualityMethod(zlm::UnitSystem::US);
    method.sectionLength = 528.0;
    method.localized = true;
    return method;
}

void BM_RideQualityCore(benchmark::State& state)
{
    const TwoPaths& paths = TwoPaths::Get();
    zlm::NullProgress quiet;
    for (auto _ : state) {
        zlm::RideQualityOutcome outcome =
            zlm::AnalyseRideQuality(paths.left, paths.right, 1.0 / 12.0, BenchMethod(), quiet);
        benchmark::DoNotOptimize(outcome.results.mri);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(2 * kPathPoints));
}
BENCHMARK(BM_RideQualityCore)->Unit(benchmark::kMillisecond);

void BM_RideQualityLiteralReference(benchmark::State& state)
{
    const TwoPaths& paths = TwoPaths::Get();
    for (auto _ : state) {
        zlm::RideQualityResults results =
            zlm::reference::LiteralRideQuality(paths.left, paths.right, 1.0 / 12.0, BenchMethod());
        benchmark::DoNotOptimize(results.mri);
    }
}
BENCHMARK(BM_RideQualityLiteralReference)->Unit(benchmark::kMillisecond)->Iterations(1);

void WriteTwoPathErd(const std::string& path)
{
    const TwoPaths& paths = TwoPaths::Get();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot create " + path);
    }
    std::fprintf(file,
                 "ERDFILEV2.00\r\n2,%zu,1,1,1,1,0\r\nTITLE    Ten-mile two-path benchmark road\r\n"
                 "SHORTNAMLeft Right\r\nUNITSNAM    ft ft\r\nXUNITS      in\r\nEND\r\n",
                 paths.left.size());
    for (std::size_t i = 0; i < paths.left.size(); ++i) {
        std::fprintf(file, "%.6f %.6f\r\n", paths.left[i], paths.right[i]);
    }
    if (std::fclose(file) != 0) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-profile") == 0) {
        WriteTwoPathErd(argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
