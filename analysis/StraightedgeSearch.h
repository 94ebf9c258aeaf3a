#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace zlm {

/**
 * The outcome of one placement: its gap in length units and the support pair
 * that carried the straightedge. A placement that no pair carries (none was
 * searched, or none passed) keeps a gap of 0 and no supports.
 */
struct StraightedgePlacement {
    double Deviation = 0.0;
    std::int32_t LeftSupport = -1;
    std::int32_t RightSupport = -1;
};

/**
 * The straightedge engine's search for the supports of each placement, for one
 * thread: it finds exactly the pair the literal search (every pair in order,
 * each tested over the whole span with TestSupportPair) finds, bit for bit, while
 * skipping the pairs that provably fail. Its buffers are kept from one placement
 * to the next, so that a placement allocates nothing.
 */
class StraightedgeSearch {
public:
    StraightedgeSearch();
    ~StraightedgeSearch();
    StraightedgeSearch(const StraightedgeSearch&) = delete;
    StraightedgeSearch& operator=(const StraightedgeSearch&) = delete;

    /**
     * Takes on a block of placements of L intervals each that together span the
     * points first .. last of `y`; the placements computed next must lie in it.
     */
    void BeginBlock(std::span<const double> y, std::int32_t first, std::int32_t last, std::int32_t L);

    /** The outcome of the placement spanning s .. e with midpoint m, within the current block. */
    StraightedgePlacement Compute(std::span<const double> y, std::int32_t s, std::int32_t e, std::int32_t m);

private:
    struct Buffers;
    std::unique_ptr<Buffers> buffers_;
};

} // namespace zlm
