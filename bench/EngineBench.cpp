// The straightedge engine against the literal reference on 10-mile profiles at
// 1-inch spacing, in the same run, with the speed-up printed at the end.
#include "bench/TenMileProfile.h"
#include "analysis/StraightedgeEngine.h"
#include "analysis/StraightedgeResults.h"
#include "analysis/reference/ReferenceEngine.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using zlm::DeviationList;

constexpr double kDx = 1.0 / 12.0;

/** Smooth vertical curves, no texture: crests and sags whose tops fall anywhere under the straightedge. */
std::vector<double> TenMileSmoothCrests()
{
    std::vector<double> y(zlm::bench::kTenMilePoints);
    const double pi = std::acos(-1.0);
    for (std::size_t i = 0; i < y.size(); ++i) {
        const double x = static_cast<double>(i) * kDx;
        y[i] = 512.0 + 0.35 * std::sin(2.0 * pi * x / 97.0) + 0.12 * std::sin(2.0 * pi * x / 41.3 + 1.0);
    }
    return y;
}

const std::vector<double>& Profile(const std::string& name)
{
    static std::map<std::string, std::vector<double>> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        auto y = name == "realistic" ? zlm::bench::TenMileElevations() : TenMileSmoothCrests();
        y.push_back(0.0); // the working copy's extra entry
        it = cache.emplace(name, std::move(y)).first;
    }
    return it->second;
}

std::map<std::string, double> secondsPerRun; // "engine/realistic" -> seconds

/** A straightedge method as the engine receives it. */
struct BenchMethod {
    const char* name;
    double length; ///< feet
    double step;   ///< feet; the interval itself for continuous rolling
    float threshold;
};

constexpr BenchMethod kDefaultMethod{"16 ft / 8 ft", 16.0, 8.0, 0.25f};
constexpr BenchMethod kContinuousMethod{"10 ft continuous", 10.0, kDx, 0.125f};

template <bool Reference>
void RunEngine(benchmark::State& state, const std::string& profileName, const BenchMethod& method)
{
    const auto& y = Profile(profileName);
    const auto n = static_cast<std::int32_t>(y.size() - 1);
    zlm::NullProgress none;
    DeviationList out;
    double total = 0.0;
    std::int64_t runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto advance = static_cast<float>(method.step / kDx);
        if constexpr (Reference)
            zlm::reference::SimulateStraightedgeLiteral(y, n, kDx, advance, method.threshold, method.length, out,
                                                        none);
        else
            zlm::SimulateStraightedge(y, n, kDx, advance, method.threshold, method.length, out, none,
                                      zlm::DeviationPerLength(zlm::UnitSystem::US));
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++runs;
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["placements"] = static_cast<double>(out.size());
    secondsPerRun[std::string(Reference ? "reference/" : "engine/") + profileName + "/" + method.name] = total / runs;
}

} // namespace

int main(int argc, char** argv)
{
    for (const BenchMethod* method : {&kDefaultMethod, &kContinuousMethod}) {
        for (const std::string profile : {"realistic", "crests"}) {
            const std::string name = profile + "/" + method->name;
            benchmark::RegisterBenchmark(("Engine/" + name).c_str(), [profile, method](benchmark::State& s) {
                RunEngine<false>(s, profile, *method);
            })->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("LiteralReference/" + name).c_str(), [profile, method](benchmark::State& s) {
                RunEngine<true>(s, profile, *method);
            })->Unit(benchmark::kMillisecond)->Iterations(1);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const BenchMethod* method : {&kDefaultMethod, &kContinuousMethod}) {
        for (const std::string profile : {"realistic", "crests"}) {
            const std::string name = profile + "/" + method->name;
            const auto engine = secondsPerRun.find("engine/" + name);
            const auto reference = secondsPerRun.find("reference/" + name);
            if (engine != secondsPerRun.end() && reference != secondsPerRun.end())
                std::printf("speed-up on the %s 10-mile profile, %s: %.0f x (engine %.1f ms, literal reference "
                            "%.0f ms)\n",
                            profile.c_str(), method->name, reference->second / engine->second,
                            engine->second * 1e3, reference->second * 1e3);
        }
    }
    return 0;
}
