#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace zlm::bench {

/** 10 miles at 1-inch spacing. */
inline constexpr std::int32_t kTenMilePoints = 633600;

/**
 * Elevations in feet of a realistic 10-mile road at 1-inch spacing, the same on
 * every call: long waves of 20 to 300 ft wavelength and a few hundredths of a
 * foot, a slow random walk, and 0.001 to 0.01 ft of texture noise.
 */
inline std::vector<double> TenMileElevations()
{
    struct Wave {
        double wavelengthFeet;
        double amplitudeFeet;
        double phase;
    };
    const Wave waves[] = {
        {300.0, 0.060, 0.3}, {143.0, 0.030, 1.1}, {71.0, 0.018, 2.0}, {37.0, 0.010, 0.7}, {20.0, 0.006, 2.9}};
    std::mt19937_64 random(20240601);
    std::normal_distribution<double> step(0.0, 0.0004);
    std::uniform_real_distribution<double> texture(-0.005, 0.005);
    std::vector<double> elevations(kTenMilePoints);
    double walk = 0.0;
    const double pi = std::acos(-1.0);
    for (std::int32_t i = 0; i < kTenMilePoints; ++i) {
        const double x = i / 12.0;
        double z = walk;
        for (const Wave& wave : waves) {
            z += wave.amplitudeFeet * std::sin(2.0 * pi * x / wave.wavelengthFeet + wave.phase);
        }
        elevations[static_cast<std::size_t>(i)] = z + texture(random);
        walk += step(random);
    }
    return elevations;
}

/** Writes the 10-mile profile as a one-channel ERD file: elevations in feet, interval 1 in. */
inline void WriteTenMileErd(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot create " + path);
    }
    std::fprintf(file,
                 "ERDFILEV2.00\r\n1,%d,1,1,1,1,0\r\nTITLE    Ten-mile benchmark road\r\nUNITSNAM    ft\r\n"
                 "XUNITS      in\r\nEND\r\n",
                 kTenMilePoints);
    for (const double z : TenMileElevations()) {
        std::fprintf(file, "%.6f\r\n", z);
    }
    if (std::fclose(file) != 0) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace zlm::bench
