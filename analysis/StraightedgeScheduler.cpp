#include "analysis/StraightedgeScheduler.h"

#include "analysis/NumberText.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <thread>

namespace zlm {

namespace {

// Placements are shared between two threads in blocks of kBlock, and only when
// there are enough of them for a second thread to pay.
constexpr std::size_t kBlock = 64;
constexpr std::size_t kPlacementsForSecondThread = 4 * kBlock;

} // namespace

std::vector<std::int32_t> StraightedgePlacementStarts(std::int32_t pointCount, std::int32_t L, float advance)
{
    std::vector<std::int32_t> starts;
    for (std::int32_t s = 0, e = L; e <= pointCount - 1;) {
        starts.push_back(s);
        s = RoundToInt32(static_cast<double>(s) + static_cast<double>(advance));
        e = s + L;
    }
    return starts;
}

void ComputeStraightedgePlacements(std::span<const double> y, const std::vector<std::int32_t>& starts, std::int32_t L,
                                   const PlacementDelivery& deliver)
{
    const std::size_t n = starts.size();
    std::vector<StraightedgePlacement> results(n);
    const auto compute = [&](std::size_t block, StraightedgeSearch& search) {
        const std::size_t end = std::min(n, (block + 1) * kBlock);
        search.BeginBlock(y, starts[block * kBlock], starts[end - 1] + L, L);
        for (std::size_t i = block * kBlock; i < end; ++i) {
            const std::int32_t s = starts[i];
            const std::int32_t m = RoundToInt32(static_cast<double>(L) / 2.0 + static_cast<double>(s));
            results[i] = search.Compute(y, s, s + L, m);
        }
    };

    const std::size_t blocks = (n + kBlock - 1) / kBlock;
    std::unique_ptr<std::atomic<bool>[]> done(new std::atomic<bool>[blocks]);
    for (std::size_t b = 0; b < blocks; ++b)
        done[b].store(false);
    std::exception_ptr workerFailure; // written by the worker before it sets workerFailed
    std::atomic<bool> workerFailed{false};
    std::atomic<bool> stopping{false}; // delivery failed (or was cancelled): the worker need not go on
    std::thread worker;
    const bool twoThreads = n >= kPlacementsForSecondThread && std::thread::hardware_concurrency() > 1;
    if (twoThreads) {
        worker = std::thread([&] {
            StraightedgeSearch search;
            for (std::size_t b = 1; b < blocks; b += 2) {
                try {
                    if (!workerFailed.load(std::memory_order_relaxed) && !stopping.load(std::memory_order_relaxed))
                        compute(b, search);
                } catch (...) {
                    workerFailure = std::current_exception();
                    workerFailed.store(true, std::memory_order_release);
                }
                done[b].store(true, std::memory_order_release);
                done[b].notify_one();
            }
        });
    }

    StraightedgeSearch search;
    try {
        for (std::size_t b = 0; b < blocks; ++b) {
            if (!twoThreads || b % 2 == 0)
                compute(b, search);
            else
                done[b].wait(false, std::memory_order_acquire);
            const std::size_t end = std::min(n, (b + 1) * kBlock);
            for (std::size_t i = b * kBlock; i < end; ++i) {
                if (workerFailed.load(std::memory_order_acquire))
                    break;
                deliver(i, results[i]);
            }
        }
    } catch (...) {
        stopping.store(true, std::memory_order_relaxed);
        if (worker.joinable())
            worker.join();
        throw;
    }
    if (worker.joinable())
        worker.join();
    if (workerFailed.load(std::memory_order_acquire))
        std::rethrow_exception(workerFailure);
}

} // namespace zlm
