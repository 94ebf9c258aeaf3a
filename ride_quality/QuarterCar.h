#pragma once

#include <array>

namespace zlm {

/** A 4 x 4 matrix of doubles, row by row. */
using Matrix4 = std::array<std::array<double, 4>, 4>;

/**
 * The reference quarter car's discrete step for one sample interval: the state
 * (sprung mass position and speed, unsprung mass position and speed, as slopes)
 * moves by z <- transition z + input s for a road slope s. The car is the
 * standard one (k1 = 653, k2 = 63.3, c = 6.0, mu = 0.15) driven at 80 km/h.
 */
struct QuarterCarStep {
    Matrix4 transition{};          ///< exp(A dt)
    std::array<double, 4> input{}; ///< A^-1 (exp(A dt) - I) B
};

/** The car's continuous-time matrix A and input vector B. */
Matrix4 QuarterCarMatrix();
std::array<double, 4> QuarterCarInput();

/**
 * The exponential of a 4 x 4 matrix to full double precision: scaled by a power
 * of two until its norm is at most 1/2, summed as a Taylor series and squared
 * back, all in extended precision, then rounded to double once.
 */
Matrix4 MatrixExponential(const Matrix4& m);

/**
 * The step of the quarter car for a sample interval of `intervalMetres` (dt =
 * interval / speed): exp(A dt) and A^-1 (exp(A dt) - I) B, both to full double
 * precision.
 */
QuarterCarStep QuarterCarStepFor(double intervalMetres);

} // namespace zlm
