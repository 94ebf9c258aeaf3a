// Reader throughput and the batch tool end to end on a 10-mile profile at 1-inch spacing.
//   BatchBench [benchmark flags]        runs the benchmarks
//   BatchBench --write-profile FILE     only writes the profile (for timing the zlm-batch executable)

#include "analysis/ProgressSink.h"
#include "batch/BatchRun.h"
#include "bench/TenMileProfile.h"
#include "profile_input/ErdProfileReader.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace {

/** The profile file, written once into a temporary folder that is removed at exit. */
class TenMileFile {
public:
    static const TenMileFile& Get()
    {
        static const TenMileFile file;
        return file;
    }
    const std::string& Path() const { return path_; }
    std::int64_t Size() const { return size_; }
    const std::string& Folder() const { return folder_; }

    ~TenMileFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

private:
    TenMileFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zlm-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        folder_ = pattern;
        path_ = folder_ + "/ten-miles.erd";
        zlm::bench::WriteTenMileErd(path_);
        size_ = static_cast<std::int64_t>(std::filesystem::file_size(path_));
    }

    std::string folder_;
    std::string path_;
    std::int64_t size_ = 0;
};

void BM_ReadErdProfile(benchmark::State& state)
{
    const TenMileFile& file = TenMileFile::Get();
    for (auto _ : state) {
        zlm::ChannelNumber channel = 1;
        zlm::ErdReadResult read = zlm::ReadErdProfile(file.Path(), channel, {});
        if (!read.ok || read.profile.pointCount != zlm::bench::kTenMilePoints) {
            state.SkipWithError(("the reader refused the profile: " + read.failureText).c_str());
            break;
        }
        benchmark::DoNotOptimize(read.profile.elevations.data());
    }
    state.SetBytesProcessed(state.iterations() * file.Size());
}
BENCHMARK(BM_ReadErdProfile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BatchEndToEnd(benchmark::State& state)
{
    const TenMileFile& file = TenMileFile::Get();
    zlm::BatchOptions options;
    options.profilePath = file.Path();
    options.outputPath = file.Folder() + "/summary.txt";
    zlm::NullProgress progress;
    for (auto _ : state) {
        const zlm::BatchOutcome outcome = zlm::RunBatch(options, '.', progress);
        if (outcome.exitCode != 0) {
            state.SkipWithError(outcome.message.c_str());
            break;
        }
        state.counters["percent_exceeding"] = outcome.overallPercentExceeding;
    }
    state.counters["points"] = zlm::bench::kTenMilePoints;
}
BENCHMARK(BM_BatchEndToEnd)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-profile") == 0) {
        try {
            zlm::bench::WriteTenMileErd(argv[2]);
        } catch (const std::exception& error) {
            std::cerr << error.what() << '\n';
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
