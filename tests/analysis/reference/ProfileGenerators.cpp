#include "analysis/reference/ProfileGenerators.h"

#include <cmath>
#include <random>

namespace zlm::testing {

std::vector<ProfileShape> AllProfileShapes()
{
    return {ProfileShape::RandomRoughness, ProfileShape::Quantised, ProfileShape::LevelWithDips,
            ProfileShape::OffCentreCrests, ProfileShape::Steps,     ProfileShape::Zigzag,
            ProfileShape::Plateaus,        ProfileShape::NearTies,  ProfileShape::BoundarySpikes};
}

std::string ShapeName(ProfileShape shape)
{
    switch (shape) {
    case ProfileShape::RandomRoughness:
        return "random roughness";
    case ProfileShape::Quantised:
        return "quantised";
    case ProfileShape::LevelWithDips:
        return "level with dips";
    case ProfileShape::OffCentreCrests:
        return "off-centre crests";
    case ProfileShape::Steps:
        return "steps";
    case ProfileShape::Zigzag:
        return "zigzag";
    case ProfileShape::Plateaus:
        return "plateaus";
    case ProfileShape::NearTies:
        return "near ties";
    case ProfileShape::BoundarySpikes:
        return "boundary spikes";
    }
    return "?";
}

std::vector<double> GenerateProfile(ProfileShape shape, std::int32_t points, double dx, std::uint64_t seed,
                                    double baseElevation)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::vector<double> y(static_cast<std::size_t>(points), baseElevation);

    switch (shape) {
    case ProfileShape::RandomRoughness: {
        const double walkStep = 0.002 * (0.2 + unit(rng));
        const double noise = 0.004 * unit(rng);
        double walk = 0.0;
        for (auto& v : y) {
            walk += walkStep * normal(rng);
            v += walk + noise * normal(rng);
        }
        break;
    }
    case ProfileShape::Quantised: {
        const double quantum = unit(rng) < 0.5 ? 0.01 : 0.001;
        const double walkStep = quantum * (0.5 + 2.0 * unit(rng));
        double walk = 0.0;
        for (auto& v : y) {
            walk += walkStep * normal(rng);
            v += std::round(walk / quantum) * quantum;
        }
        break;
    }
    case ProfileShape::LevelWithDips: {
        const int dips = 1 + static_cast<int>(unit(rng) * 4);
        for (int k = 0; k < dips; ++k) {
            const auto at = static_cast<std::size_t>(unit(rng) * points) % y.size();
            const double depth = (unit(rng) < 0.8 ? -1.0 : 1.0) * (0.001 + 0.05 * unit(rng));
            y[at] += depth;
        }
        break;
    }
    case ProfileShape::OffCentreCrests: {
        // Parabolic vertical curves of random curvature and sign, centred anywhere.
        const double length = points * dx;
        const double centre = unit(rng) * length;
        const double curvature = (unit(rng) < 0.7 ? -1.0 : 1.0) * std::pow(10.0, -5.0 + 3.0 * unit(rng));
        const double grade = 0.03 * (unit(rng) - 0.5);
        for (std::size_t i = 0; i < y.size(); ++i) {
            const double x = static_cast<double>(i) * dx - centre;
            y[i] += curvature * x * x + grade * x;
        }
        break;
    }
    case ProfileShape::Steps: {
        double level = 0.0;
        for (auto& v : y) {
            if (unit(rng) < 0.03)
                level += 0.02 * std::round(4.0 * normal(rng)) / 4.0;
            v += level;
        }
        break;
    }
    case ProfileShape::Zigzag: {
        const double amplitude = unit(rng) < 0.5 ? 0.01 : 0.001 * (1 + static_cast<int>(unit(rng) * 5));
        const int period = 2 + static_cast<int>(unit(rng) * 3);
        for (std::size_t i = 0; i < y.size(); ++i)
            y[i] += (i % period == 0) ? amplitude : 0.0;
        break;
    }
    case ProfileShape::Plateaus: {
        double level = 0.0;
        std::size_t runLeft = 0;
        for (std::size_t i = 0; i < y.size(); ++i) {
            if (runLeft == 0) {
                level = 0.01 * std::round(3.0 * normal(rng));
                runLeft = 3 + static_cast<std::size_t>(unit(rng) * 40);
                if (i > 0 && unit(rng) < 0.5)
                    y[i - 1] += 0.005; // a spike at the end of the previous run
            }
            --runLeft;
            y[i] += level;
        }
        break;
    }
    case ProfileShape::NearTies: {
        // Values within a few double ulps and a few single ulps of each other, so
        // that single-precision comparisons see ties where double sees order.
        const float baseF = static_cast<float>(baseElevation + 1.0);
        const double fUlp = std::nextafter(baseF, 2.0f * baseF + 1.0f) - baseF;
        for (auto& v : y) {
            const double r = unit(rng);
            if (r < 0.4)
                v = static_cast<double>(baseF);
            else if (r < 0.6)
                v = std::nextafter(static_cast<double>(baseF), 1e300);
            else if (r < 0.8)
                v = static_cast<double>(baseF) + fUlp * std::round(2.0 * normal(rng)) * 0.5;
            else
                v = static_cast<double>(baseF) - fUlp * unit(rng);
        }
        break;
    }
    case ProfileShape::BoundarySpikes: {
        // Placements start every 8 ft; put spikes where the candidate halves of a
        // placement end and at its midpoint, so that the first and last
        // candidates and the midpoint decide.
        const auto L = static_cast<std::int32_t>(std::nearbyint(16.0 / dx));
        const auto A = static_cast<std::int32_t>(std::nearbyint(8.0 / dx));
        for (auto& v : y)
            v += 0.0005 * std::round(4.0 * normal(rng));
        for (std::int32_t s = 0; s + L < points; s += std::max(1, A)) {
            const std::int32_t marks[] = {s, s + L / 2 - 1, s + L / 2, s + L / 2 + 1, s + L, s + 1, s + L - 1};
            for (const std::int32_t at : marks) {
                if (at >= 0 && at < points && unit(rng) < 0.5)
                    y[static_cast<std::size_t>(at)] += (unit(rng) < 0.6 ? 1.0 : -1.0) * 0.002 * (1 + (rng() % 4));
            }
        }
        break;
    }
    }
    return y;
}

} // namespace zlm::testing
