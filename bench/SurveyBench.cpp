// A survey of 200 one-mile profiles at 1-inch spacing, on one worker thread and
// on two: files per second, and how much the second core adds.

#include "batch/SurveyRun.h"
#include "bench/TenMileProfile.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

constexpr int kFiles = 200;
constexpr std::int32_t kMilePoints = zlm::bench::kTenMilePoints / 10;

/** The survey's folder: 200 one-mile ERD files cut from the 10-mile road at staggered starts, removed at exit. */
class SurveyFolder {
public:
    static const SurveyFolder& Get()
    {
        static const SurveyFolder folder;
        return folder;
    }
    const std::string& Path() const { return folder_; }

    ~SurveyFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

private:
    SurveyFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zlm-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        folder_ = pattern;
        const std::vector<double> road = zlm::bench::TenMileElevations();
        const std::size_t stride = (road.size() - kMilePoints) / kFiles;
        for (int f = 0; f < kFiles; ++f) {
            char name[32];
            std::snprintf(name, sizeof name, "/mile-%03d.erd", f);
            std::FILE* file = std::fopen((folder_ + name).c_str(), "wb");
            if (file == nullptr) {
                throw std::runtime_error("cannot create " + folder_ + name);
            }
            std::fprintf(file, "ERDFILEV2.00\r\n1,%d,1,1,1,1,0\r\nUNITSNAM    ft\r\nXUNITS      in\r\nEND\r\n",
                         kMilePoints);
            for (std::int32_t i = 0; i < kMilePoints; ++i) {
                std::fprintf(file, "%.6f\r\n", road[static_cast<std::size_t>(f) * stride + i]);
            }
            if (std::fclose(file) != 0) {
                throw std::runtime_error("cannot write " + folder_ + name);
            }
        }
    }

    std::string folder_;
};

void BM_Survey(benchmark::State& state)
{
    const SurveyFolder& folder = SurveyFolder::Get();
    zlm::BatchOptions options;
    options.profilePaths = {folder.Path()};
    options.summaryPath = folder.Path() + "/summary.csv";
    const std::vector<zlm::SurveyEntry> entries = zlm::ListSurveyProfiles(options.profilePaths, false, {});
    const auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        const zlm::SurveyOutcome outcome = zlm::RunSurvey(options, entries, threads, '.');
        if (outcome.analysed != kFiles) {
            state.SkipWithError("a profile of the survey was refused");
            break;
        }
        benchmark::DoNotOptimize(outcome.summary.data());
    }
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(kFiles), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Survey)->Arg(1)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

BENCHMARK_MAIN();
