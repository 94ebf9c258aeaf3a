#include "analysis/StraightedgeSearch.h"

#include "analysis/NumberText.h"
#include "analysis/StraightedgeEngine.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace zlm {

namespace {

constexpr double kUnitRoundoff = 0x1p-53;
// The fast support search reasons about magnitudes; beyond these it hands the
// placement to the literal search, which is exact for any input.
constexpr double kFastElevationLimit = 1e30;
constexpr double kFastLineLimit = 1e37;

// The slacks of the fast search for a span of L intervals whose elevations lie
// within lowest .. highest. Each grows with the elevations' extent, so those of
// a stretch of several spans bound those of each span.
struct Slacks {
    double magnitude;  // bounds every elevation and line height of the span
    double comparison; // T: two single-precision units of the magnitude
    double rounding;   // E: far above the rounding of any line, chord or slope
    double allowance;  // how far below the chain a candidate may lie: T + 8E

    Slacks(double lowest, double highest, double L)
    {
        const double largest = std::max(std::fabs(lowest), std::fabs(highest));
        // Any slope between two span points is at most the range per point, so no
        // line height anywhere in the span exceeds this magnitude.
        magnitude = (largest + L * (highest - lowest)) * (1.0 + 1e-12) + 1e-300;
        comparison = 0x1p-22 * magnitude + 0x1p-140;
        rounding = 16.0 * kUnitRoundoff * (L + 2.0) * magnitude;
        allowance = comparison + 8.0 * rounding;
    }
};

// An upper chain of the current span's points, kept from one placement to the
// next: each point carries its depth below the chord of two chain vertices
// around it (0 for a vertex), which is what the candidate filter of
// SupportSearch compares with its allowance.
//
// Moving the straightedge on by one point changes the chain only at its ends:
// the first vertex s leaves, so the points up to the old second vertex get a
// chain of their own, and the new last point joins with the pops of the
// monotone-chain rule. Only the points under a changed edge need a new depth:
// every other point keeps a depth below the chord of two vertices that are
// still span points (the left vertex of a point's depth is never left of the
// vertex before it in the chain, so it leaves the span only with the first
// edge, whose points are rebuilt). Fact (2) needs no more than that. A popped
// vertex gets its depth below the new last edge; the points under its old
// edges keep theirs, which is safe though less sharp.
class UpperChain {
public:
    /**
     * Prepares for the spans of the points first .. last, whose allowances are
     * at most `shallowest`; no span is followed yet.
     */
    void Reset(std::int32_t first, std::int32_t last, double shallowest)
    {
        base_ = first;
        const auto size = static_cast<std::size_t>(last - first) + 1;
        depth_.resize(size);
        previous_.resize(size);
        next_.resize(size);
        shallow_.assign((size + 63) / 64, 0);
        shallowest_ = shallowest;
        following_ = false;
    }

    /** Makes the chain one of the span s .. e, stepping on from the last span where that is cheaper. */
    void Follow(std::span<const double> y, std::int32_t s, std::int32_t e)
    {
        const std::int32_t steps = s - s_;
        if (following_ && e - s == e_ - s_ && steps >= 0 && steps <= std::max(1, (e - s) / 4)) {
            while (s_ < s)
                Step(y);
            return;
        }
        Build(y, s, e);
        s_ = s;
        e_ = e;
        following_ = true;
    }

    /** How far point x lies below the chain (not below it: 0 or less). */
    double Depth(std::int32_t x) const { return depth_[static_cast<std::size_t>(x - base_)]; }

    /**
     * Calls visit(x) for every point of first .. last, in order, whose depth is
     * within the block's largest allowance: a superset of the points near the
     * top for any span of the block, found without looking at the others.
     */
    template <typename Visit> void ForEachShallow(std::int32_t first, std::int32_t last, const Visit& visit) const
    {
        const std::size_t begin = at(first);
        const std::size_t end = at(last) + 1;
        for (std::size_t word = begin / 64; word * 64 < end; ++word) {
            std::uint64_t bits = shallow_[word];
            if (word == begin / 64)
                bits &= ~std::uint64_t{0} << (begin % 64);
            if ((word + 1) * 64 > end)
                bits &= ~(~std::uint64_t{0} << (end % 64));
            while (bits != 0) {
                visit(base_ + static_cast<std::int32_t>(word * 64 + static_cast<std::size_t>(std::countr_zero(bits))));
                bits &= bits - 1;
            }
        }
    }

private:
    std::size_t at(std::int32_t x) const { return static_cast<std::size_t>(x - base_); }

    // An upper hull of first .. last as the chain of those points, with their depths.
    void Build(std::span<const double> y, std::int32_t first, std::int32_t last)
    {
        auto& chain = stack_;
        chain.clear();
        chain.push_back(first);
        if (last > first) {
            // Points below the chord of the ends cannot be vertices of the upper
            // hull, so the chain skips them (it stays a chain of the points either way).
            const double endSlope = (y[last] - y[first]) / static_cast<double>(last - first);
            for (std::int32_t x = first + 1; x <= last; ++x) {
                if (x != last && y[x] < y[first] + endSlope * static_cast<double>(x - first))
                    continue;
                while (chain.size() >= 2) {
                    const std::int32_t o = chain[chain.size() - 2];
                    const std::int32_t p = chain.back();
                    const double cross =
                        static_cast<double>(p - o) * (y[x] - y[o]) - (y[p] - y[o]) * static_cast<double>(x - o);
                    if (cross < 0.0)
                        break;
                    chain.pop_back();
                }
                chain.push_back(x);
            }
        }
        previous_[at(first)] = -1;
        SetDepth(first, 0.0);
        for (std::size_t c = 0; c + 1 < chain.size(); ++c) {
            const std::int32_t v1 = chain[c];
            const std::int32_t v2 = chain[c + 1];
            next_[at(v1)] = v2;
            previous_[at(v2)] = v1;
            SetDepthsUnder(y, v1, v2, v1 + 1, v2 - 1);
            SetDepth(v2, 0.0);
        }
    }

    // The depths of the points first .. last below the chord of v1 and v2.
    void SetDepthsUnder(std::span<const double> y, std::int32_t v1, std::int32_t v2, std::int32_t first,
                        std::int32_t last)
    {
        const double slope = (y[v2] - y[v1]) / static_cast<double>(v2 - v1);
        for (std::int32_t x = first; x <= last; ++x)
            SetDepth(x, (y[v1] + slope * static_cast<double>(x - v1)) - y[x]);
    }

    // Keeps the shallow bit of x with its depth (set for NaN, so that it stays conservative).
    void SetDepth(std::int32_t x, double depth)
    {
        const std::size_t i = at(x);
        depth_[i] = depth;
        const std::uint64_t bit = std::uint64_t{1} << (i % 64);
        shallow_[i / 64] = (shallow_[i / 64] & ~bit) | (depth > shallowest_ ? 0 : bit);
    }

    // From the span s .. e to s + 1 .. e + 1.
    void Step(std::span<const double> y)
    {
        const std::int32_t front = s_ + 1;
        const std::int32_t second = next_[at(s_)];
        Build(y, front, second); // links only up to `second`, whose link onwards stays

        const std::int32_t x = e_ + 1;
        std::int32_t back = e_;
        popped_.clear();
        while (back != front) {
            const std::int32_t o = previous_[at(back)];
            const double cross =
                static_cast<double>(back - o) * (y[x] - y[o]) - (y[back] - y[o]) * static_cast<double>(x - o);
            if (cross < 0.0)
                break;
            popped_.push_back(back);
            back = o;
        }
        next_[at(back)] = x;
        previous_[at(x)] = back;
        SetDepth(x, 0.0);
        for (const std::int32_t p : popped_)
            SetDepthsUnder(y, back, x, p, p);
        s_ = front;
        e_ = x;
    }

    std::int32_t base_ = 0;
    std::int32_t s_ = 0;
    std::int32_t e_ = 0;
    bool following_ = false;
    std::vector<double> depth_;          // per point of the window
    std::vector<std::int32_t> previous_; // per chain vertex: the vertex before it (-1 for the first)
    std::vector<std::int32_t> next_;     // per chain vertex but the last: the vertex after it
    std::vector<std::int32_t> stack_;    // the hull being built
    std::vector<std::int32_t> popped_;   // vertices the last point popped
    std::vector<std::uint64_t> shallow_; // per point: is its depth within shallowest_?
    double shallowest_ = 0.0;
};

// Reusable buffers of one thread, so that a placement allocates nothing, and
// what the placements of its current block share: the block's points run from
// `base` (its first start) to its last end.
struct Scratch {
    std::vector<std::int32_t> left;
    std::vector<std::int32_t> right;
    // Buffers of at least L + 1 entries that are never shrunk, so that filling
    // them costs no initialisation; a placement keeps its own counts.
    std::vector<std::int32_t> pairRight;       // surviving right candidates of one left candidate
    std::vector<double> pairSlope;             // and their slopes
    std::vector<std::int32_t> leftCandidates;  // near-top left candidates, highest first
    std::vector<std::int32_t> rightCandidates; // near-top right candidates, highest first
    std::vector<double> reciprocals;           // 1 / k for k = 0 .. L (index 0 unused)

    std::int32_t base = 0;
    std::vector<float> singles;               // ToSingle of each point of the block
    std::vector<std::int32_t> unusableBefore; // points beyond the fast magnitudes (or NaN) before each point
    // The block is cut into chunks of one span's length; per point, the lowest
    // and highest elevation from the start of its chunk up to it, and from it to
    // the end of its chunk. A span covers the end of one chunk and the start of
    // the next (or one whole chunk), so its lowest and highest take two lookups.
    std::vector<double> lowestUpTo;
    std::vector<double> highestUpTo;
    std::vector<double> lowestFrom;
    std::vector<double> highestFrom;
    UpperChain chain;

    /** Takes on the block whose placements, of L intervals each, span the points first .. last. */
    void BeginBlock(std::span<const double> y, std::int32_t first, std::int32_t last, std::int32_t L)
    {
        base = first;
        const auto size = static_cast<std::size_t>(last - first) + 1;
        singles.resize(size);
        unusableBefore.resize(size + 1);
        unusableBefore[0] = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const double v = y[static_cast<std::size_t>(first) + i];
            singles[i] = ToSingle(v);
            unusableBefore[i + 1] = unusableBefore[i] + (std::fabs(v) <= kFastElevationLimit ? 0 : 1); // also NaN
        }

        lowestUpTo.resize(size);
        highestUpTo.resize(size);
        lowestFrom.resize(size);
        highestFrom.resize(size);
        const double* const v = y.data() + first;
        const auto width = static_cast<std::size_t>(L) + 1;
        for (std::size_t chunk = 0; chunk < size; chunk += width) {
            const std::size_t end = std::min(size, chunk + width);
            lowestUpTo[chunk] = highestUpTo[chunk] = v[chunk];
            for (std::size_t i = chunk + 1; i < end; ++i) {
                lowestUpTo[i] = std::min(lowestUpTo[i - 1], v[i]);
                highestUpTo[i] = std::max(highestUpTo[i - 1], v[i]);
            }
            lowestFrom[end - 1] = highestFrom[end - 1] = v[end - 1];
            for (std::size_t i = end - 1; i > chunk; --i) {
                lowestFrom[i - 1] = std::min(lowestFrom[i], v[i - 1]);
                highestFrom[i - 1] = std::max(highestFrom[i], v[i - 1]);
            }
        }
        // The largest allowance of the block's spans, for the chain's shallow points.
        double shallowest = std::numeric_limits<double>::infinity();
        if (unusableBefore[size] == 0) {
            const auto [lowest, highest] = std::minmax_element(v, v + size);
            shallowest = Slacks(*lowest, *highest, static_cast<double>(L)).allowance;
        }
        chain.Reset(first, last, shallowest);
    }

    /** The lowest and highest elevation of the span s .. s + L of this block (no NaN in it). */
    std::pair<double, double> Range(std::int32_t s, std::int32_t e) const
    {
        const auto i = static_cast<std::size_t>(s - base);
        const auto j = static_cast<std::size_t>(e - base);
        return {std::min(lowestFrom[i], lowestUpTo[j]), std::max(highestFrom[i], highestUpTo[j])};
    }

    /** Makes the buffers and the reciprocals ready for spans of L intervals. */
    void ReadyFor(std::int32_t L)
    {
        const auto size = static_cast<std::size_t>(L) + 1;
        if (pairRight.size() < size) {
            pairRight.resize(size);
            pairSlope.resize(size);
            leftCandidates.resize(size);
            rightCandidates.resize(size);
        }
        if (reciprocals.size() < size) {
            reciprocals.resize(size);
            for (std::size_t k = 1; k < size; ++k)
                reciprocals[k] = 1.0 / static_cast<double>(k);
        }
    }

    /** Whether every point of s .. e is within the fast magnitudes. */
    bool Usable(std::int32_t s, std::int32_t e) const
    {
        return unusableBefore[static_cast<std::size_t>(e + 1 - base)] ==
               unusableBefore[static_cast<std::size_t>(s - base)];
    }
};

// The candidate lists of the span s .. e in the literal search's order: the d
// points from each end, sorted by elevation with ZLM's quicksort and then
// taken highest first. Equal elevations keep the order that sort leaves them in.
void OrderCandidatesLiterally(std::span<const double> y, std::int32_t s, std::int32_t e, std::int32_t d,
                              std::vector<std::int32_t>& left, std::vector<std::int32_t>& right)
{
    left.resize(d);
    right.resize(d);
    for (std::int32_t k = 0; k < d; ++k) {
        left[k] = s + k;
        right[k] = e - k;
    }
    SortByElevation(left, 0, d - 1, y);
    SortByElevation(right, 0, d - 1, y);
    // Highest first: the reversal swaps k with d - 1 - k, which is a plain reversal.
    std::reverse(left.begin(), left.end());
    std::reverse(right.begin(), right.end());
}

// The search for the first support pair, in the order the literal search tries
// them, that skips only pairs which provably fail the single-precision
// clearance test. Every pair it does test is tested, and its gap measured, with
// the very arithmetic of TestSupportPair, so the result is bit-identical to the
// literal search.
//
// Three facts carry the skipping:
//
// (1) For a fixed left support a, the clearance verdict depends on the right
//     support b only through the computed slope g = (y_b - y_a) / (b - a): the
//     line heights are y_a - ((a - s) - k) * g. For a point right of a the
//     coefficient (a - s) - k is negative, so its rounded line height, and its
//     single-precision value, can only grow with g (each rounding is monotone;
//     no value reaches the single-precision overflow on this path). For a point
//     left of a they can only shrink. So a pair that fails because of a point
//     right of a fails for every smaller slope from a, and one that fails
//     because of a point left of a fails for every larger slope. Which point
//     failed first is irrelevant: any failing point proves it.
// (2) A passing pair puts every point x below its line up to the rounding of the
//     comparison: F(y_x) <= F(line_x) implies y_x <= line_x + T, where T is at
//     least one single-precision unit of the largest magnitude involved, and the
//     computed line differs from the exact line through (a, y_a) with slope g by
//     at most E. So that exact line lies at least y_x - T - E above every point,
//     and hence, between any two points v1 < x < v2, above their chord lowered by
//     T + E. Taking v1, v2 from any chain of span points (no hull property is
//     needed), a candidate lying clearly below that chord cannot be a support.
//     The same holds at b, where the exact line is within E of y_b.
// (3) At the midpoint m the passing line must reach y_m - T - E, which needs
//     g >= (y_m - y_a - T - E) / (m - a); if no right candidate of a gives such
//     a slope, no pair with a can pass. All these minimum lines pass through
//     the pivot P = (m, y_m - T - E), and a point b right of m lies above the
//     line through a and P exactly when its slope from P is at least that
//     line's slope. So when no right candidate's slope from P reaches a's
//     minimum slope, less the rounding of both slopes (the slope error of a
//     pair grows by at most the factor L + 1 when it is carried to P), no right
//     candidate can survive for a, and a is passed over without trying them.
//
// The candidates that survive (2) are tried in the literal order: among
// distinct elevations that order is by elevation whatever sort produced it; where
// two survivors share an elevation, the literal sort itself orders them.
//
// T is taken as two single-precision units of V, a bound on every elevation and
// line height of the span, and E as 16 (L + 2) double-precision units of V, far
// above the rounding of any line, chord or slope computed here.
//
// A candidate is dropped by (2) when its depth below the chord of the two
// vertices of an UpperChain around it exceeds T + 8E: both vertices are points
// of the current span, and the extra 7E is far above the rounding of the chord
// and of the depth, whichever earlier placement computed them. Points that are
// vertices themselves have depth 0 and always stay.
//
// The clearance test itself checks first the point that failed the last pair,
// then the midpoint: the verdict is a conjunction over all points, so the order
// of checking cannot change it. A point is rounded to single precision only when
// it stands above the line in double precision, since on this path rounding is
// monotone and no value reaches the single-precision overflow.
//
// V is the span's own; the chain's bits of shallow points use the V of the
// whole block, which bounds it, so they mark a superset of the points that any
// span of the block keeps.
class SupportSearch {
public:
    SupportSearch(std::span<const double> y, std::int32_t s, std::int32_t e, std::int32_t m, Scratch& scratch)
        : y_(y), s_(s), e_(e), m_(m), scratch_(scratch)
    {
    }

    /** False when the span is outside the magnitudes the reasoning covers. */
    bool Prepare()
    {
        if (!scratch_.Usable(s_, e_))
            return false;
        const auto [lowest, highest] = scratch_.Range(s_, e_);
        const Slacks slacks(lowest, highest, static_cast<double>(e_ - s_));
        if (!(slacks.magnitude <= kFastLineLimit))
            return false;
        largest_ = std::max(std::fabs(lowest), std::fabs(highest));
        comparisonSlack_ = slacks.comparison;
        roundingSlack_ = slacks.rounding;
        allowance_ = slacks.allowance;
        singles_ = scratch_.singles.data() + (s_ - scratch_.base);
        scratch_.ReadyFor(e_ - s_);

        scratch_.chain.Follow(y_, s_, e_);
        return true;
    }

    /**
     * Lists the left and right candidates that may be supports at all, highest
     * first, in the order the literal search would try them. Among candidates of
     * distinct elevations that order is simply by elevation, whatever sort made
     * it; only equal elevations need the literal sort's own order, so they get
     * it (the scratch lists are then filled in the literal order).
     */
    void OrderCandidates()
    {
        const std::int32_t d = m_ - s_;
        const bool leftDistinct = CollectByElevation(s_, s_ + d - 1, scratch_.leftCandidates, leftCount_);
        const bool rightDistinct = CollectByElevation(e_ - d + 1, e_, scratch_.rightCandidates, rightCount_);
        if (leftDistinct && rightDistinct)
            return;
        auto& left = scratch_.left;
        auto& right = scratch_.right;
        OrderCandidatesLiterally(y_, s_, e_, d, left, right);
        leftCount_ = 0;
        for (const std::int32_t a : left)
            if (nearTop(a))
                scratch_.leftCandidates[leftCount_++] = a;
        rightCount_ = 0;
        for (const std::int32_t b : right)
            if (nearTop(b))
                scratch_.rightCandidates[rightCount_++] = b;
    }

    /** The first passing pair with its deviation, or no supports and 0 when no pair passes. */
    StraightedgePlacement FindDeviation()
    {
        const std::span<const std::int32_t> left(scratch_.leftCandidates.data(), leftCount_);
        const std::span<const std::int32_t> right(scratch_.rightCandidates.data(), rightCount_);
        const double slack = comparisonSlack_ + roundingSlack_;
        const double slopeErrorBound = 8.0 * kUnitRoundoff * (2.0 * largest_ + slack);
        // The steepest slope from the pivot of fact (3) to a right candidate; a
        // candidate at the midpoint itself (odd L) lies above every line through it.
        double steepestFromPivot = -std::numeric_limits<double>::infinity();
        for (const std::int32_t b : right) {
            const double fromPivot = b > m_ ? ((y_[b] - y_[m_]) + slack) / static_cast<double>(b - m_)
                                            : std::numeric_limits<double>::infinity();
            steepestFromPivot = std::max(steepestFromPivot, fromPivot);
        }
        const double pivotMargin = (static_cast<double>(e_ - s_) + 3.0) * slopeErrorBound;
        for (const std::int32_t a : left) {
            const double ya = y_[a];
            const double minimumSlope = ((y_[m_] - ya) - slack) / static_cast<double>(m_ - a) - slopeErrorBound;
            if (steepestFromPivot + pivotMargin < minimumSlope)
                continue;

            // Right candidates that may still pair with a, in the order they are tried.
            std::int32_t* const rights = scratch_.pairRight.data();
            double* const slopes = scratch_.pairSlope.data();
            // Kept without a branch: whether a candidate survives is as good as
            // random, and a mispredicted branch per candidate cost more than the
            // test. A product with the reciprocal of the distance first rules out
            // the candidates whose slope is clearly too small; it differs from the
            // quotient by at most three roundings, so the margin of four units
            // keeps every candidate the quotient would keep. The survivors then
            // get the quotient itself, which decides.
            std::size_t kept = 0;
            for (const std::int32_t b : right) {
                const double estimate = (y_[b] - ya) * reciprocal(b - a);
                rights[kept] = b;
                kept += estimate + (4.0 * kUnitRoundoff * std::fabs(estimate) + 0x1p-1000) < minimumSlope ? 0 : 1;
            }
            std::size_t survivors = 0;
            for (std::size_t i = 0; i < kept; ++i) {
                const std::int32_t b = rights[i];
                const double g = (y_[b] - ya) / static_cast<double>(b - a);
                rights[survivors] = b;
                slopes[survivors] = g;
                survivors += g < minimumSlope ? 0 : 1;
            }

            double failsAtOrBelow = -std::numeric_limits<double>::infinity();
            double failsAtOrAbove = std::numeric_limits<double>::infinity();
            for (std::size_t i = 0; i < survivors; ++i) {
                const double g = slopes[i];
                if (g <= failsAtOrBelow || g >= failsAtOrAbove)
                    continue;
                std::int32_t offender = -1;
                if (Carries(a, g, offender))
                    return {GapBetweenSupports(a, rights[i], g), a, rights[i]};
                if (s_ + offender > a)
                    failsAtOrBelow = std::max(failsAtOrBelow, g);
                else
                    failsAtOrAbove = std::min(failsAtOrAbove, g);
                if (failsAtOrBelow >= failsAtOrAbove)
                    break;
            }
        }
        return {};
    }

private:
    // Whether x lies no further below the chain than the slack of fact (2) allows.
    bool nearTop(std::int32_t x) const { return scratch_.chain.Depth(x) <= allowance_; }

    // 1 / distance for the distances of one span, 1 <= distance <= e - s.
    double reciprocal(std::int32_t distance) const { return scratch_.reciprocals[static_cast<std::size_t>(distance)]; }

    // The near-top points of first..last, highest first, into out (count of
    // them); false when two of them share an elevation. Only the chain's
    // shallow points are looked at, and they are collected without a branch:
    // which of them are near the top is as good as random.
    bool CollectByElevation(std::int32_t first, std::int32_t last, std::vector<std::int32_t>& out,
                            std::size_t& count) const
    {
        const double allowance = allowance_;
        std::int32_t* const list = out.data();
        std::size_t n = 0;
        scratch_.chain.ForEachShallow(first, last, [&](std::int32_t x) {
            list[n] = x;
            n += scratch_.chain.Depth(x) <= allowance ? 1 : 0;
        });
        count = n;
        std::sort(list, list + n, [this](std::int32_t p, std::int32_t q) { return y_[p] > y_[q]; });
        for (std::size_t i = 1; i < n; ++i)
            if (!(y_[list[i - 1]] > y_[list[i]]))
                return false;
        return true;
    }

    // The gap measurement of TestSupportPair for a pair that carries: the
    // largest of line - elevation between the supports, in the same arithmetic
    // and order.
    double GapBetweenSupports(std::int32_t a, std::int32_t b, double g) const
    {
        double deviation = -1.0;
        for (std::int32_t k = a - s_; k <= b - s_; ++k) {
            const double gap = (y_[a] - static_cast<double>((a - s_) - k) * g) - y_[s_ + k];
            deviation = gap > deviation ? gap : deviation;
        }
        return deviation;
    }

    // The clearance test of TestSupportPair for the line through a with slope g;
    // on failure `offender` is the span offset of a point that pokes through.
    bool Carries(std::int32_t a, double g, std::int32_t& offender)
    {
        const auto fails = [&](std::int32_t k) {
            return singles_[k] > ToSingle(y_[a] - static_cast<double>((a - s_) - k) * g);
        };
        if (lastOffender_ >= 0 && fails(lastOffender_)) {
            offender = lastOffender_;
            return false;
        }
        if (fails(m_ - s_)) {
            offender = lastOffender_ = m_ - s_;
            return false;
        }
        // A point on or below the line in double precision is on or below it in
        // single precision too: rounding is monotone, and no elevation or line
        // height here reaches the single-precision overflow. So the points are
        // first compared in double precision, eight at a time without a branch,
        // and only where one of them stands above the line are they rounded.
        const double* const span = y_.data() + s_;
        const double ya = y_[a];
        const auto above = [&](std::int32_t k) { return span[k] > ya - static_cast<double>((a - s_) - k) * g; };
        const std::int32_t K = e_ - s_;
        for (std::int32_t k = 0; k <= K; k += 8) {
            const std::int32_t stop = std::min(k + 7, K);
            bool any = false;
            for (std::int32_t j = k; j <= stop; ++j)
                any |= above(j);
            if (!any)
                continue;
            for (std::int32_t j = k; j <= stop; ++j) {
                if (above(j) && fails(j)) {
                    offender = lastOffender_ = j;
                    return false;
                }
            }
        }
        return true;
    }

    std::span<const double> y_;
    std::int32_t s_;
    std::int32_t e_;
    std::int32_t m_;
    Scratch& scratch_;
    double largest_ = 0.0;
    double comparisonSlack_ = 0.0;
    double roundingSlack_ = 0.0;
    double allowance_ = 0.0;
    const float* singles_ = nullptr; // ToSingle of each span point, from s
    std::int32_t lastOffender_ = -1;
    std::size_t leftCount_ = 0;  // entries of scratch_.leftCandidates
    std::size_t rightCount_ = 0; // entries of scratch_.rightCandidates
};

// The literal search: every pair in order, each tested over the whole span.
StraightedgePlacement FindDeviationLiterally(std::span<const double> y, std::int32_t s, std::int32_t e,
                                             const std::vector<std::int32_t>& left,
                                             const std::vector<std::int32_t>& right)
{
    for (const std::int32_t a : left) {
        for (const std::int32_t b : right) {
            double deviation = 0.0;
            if (TestSupportPair(y, s, e, a, b, deviation))
                return {deviation, a, b};
        }
    }
    return {};
}

// The support search of the placement spanning s .. e with midpoint m.
StraightedgePlacement Search(std::span<const double> y, std::int32_t s, std::int32_t e, std::int32_t m,
                             Scratch& scratch)
{
    const std::int32_t d = m - s;
    SupportSearch search(y, s, e, m, scratch);
    if (search.Prepare()) {
        search.OrderCandidates();
        return search.FindDeviation();
    }
    OrderCandidatesLiterally(y, s, e, d, scratch.left, scratch.right);
    return FindDeviationLiterally(y, s, e, scratch.left, scratch.right);
}

// The outcome of the placement spanning s .. e with midpoint m.
StraightedgePlacement ComputePlacement(std::span<const double> y, std::int32_t s, std::int32_t e, std::int32_t m,
                                       Scratch& scratch)
{
    const std::int32_t d = m - s;
    if (d <= 0)
        return {};
    // The midpoint shortcut compares it with the highest candidate of each half,
    // which is the highest elevation whatever the order of equal ones. For even
    // L the halves hold every point but the midpoint, so a span whose highest
    // point stands above the midpoint cannot take it (NaN spans are not usable
    // and take the comparisons themselves).
    if ((e - s) % 2 == 0 && scratch.Usable(s, e) && scratch.Range(s, e).second > y[m])
        return Search(y, s, e, m, scratch);
    double leftHighest = y[s];
    double rightHighest = y[e];
    for (std::int32_t k = 1; k < d; ++k) {
        leftHighest = std::max(leftHighest, y[s + k]);
        rightHighest = std::max(rightHighest, y[e - k]);
    }
    if (leftHighest < y[m] && rightHighest < y[m])
        return {};
    return Search(y, s, e, m, scratch);
}

} // namespace

struct StraightedgeSearch::Buffers {
    Scratch scratch;
};

StraightedgeSearch::StraightedgeSearch() : buffers_(std::make_unique<Buffers>()) {}

StraightedgeSearch::~StraightedgeSearch() = default;

void StraightedgeSearch::BeginBlock(std::span<const double> y, std::int32_t first, std::int32_t last, std::int32_t L)
{
    buffers_->scratch.BeginBlock(y, first, last, L);
}

StraightedgePlacement StraightedgeSearch::Compute(std::span<const double> y, std::int32_t s, std::int32_t e,
                                                  std::int32_t m)
{
    return ComputePlacement(y, s, e, m, buffers_->scratch);
}

} // namespace zlm
