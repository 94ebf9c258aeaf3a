#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zlm::testing {

/** The kinds of generated road profiles the engine is held to the reference on. */
enum class ProfileShape {
    RandomRoughness, ///< random walk plus white noise, unquantised
    Quantised,       ///< roughness rounded to a coarse step, so that many elevations are equal
    LevelWithDips,   ///< level ground with a few single-point dips (and bumps)
    OffCentreCrests, ///< smooth crests and sags whose tops lie off the straightedge's centre
    Steps,           ///< level runs joined by steps up and down
    Zigzag,          ///< alternating high and low points, often with ties
    Plateaus,        ///< flat runs at a few levels with spikes at their ends
    NearTies,        ///< elevations a hair apart, where single and double precision disagree
    BoundarySpikes   ///< rough ground with spikes and dips at the ends of each candidate half and the midpoint
};

/** All shapes, for iterating in tests. */
std::vector<ProfileShape> AllProfileShapes();

/** A readable name of a shape, for test messages. */
std::string ShapeName(ProfileShape shape);

/**
 * Makes a profile of `points` elevations in feet at interval dx, deterministic for
 * a seed. `baseElevation` shifts the whole profile (real profiles sit at tens to
 * thousands of feet, where single precision is coarse).
 */
std::vector<double> GenerateProfile(ProfileShape shape, std::int32_t points, double dx, std::uint64_t seed,
                                    double baseElevation = 0.0);

} // namespace zlm::testing
