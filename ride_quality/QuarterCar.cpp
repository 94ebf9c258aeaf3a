#include "ride_quality/QuarterCar.h"

#include <cmath>
#include <cstddef>

namespace zlm {

namespace {

// The reference quarter car and its speed.
constexpr double kTyreSpring = 653.0;      // k1, 1/s^2
constexpr double kSuspensionSpring = 63.3; // k2, 1/s^2
constexpr double kDamper = 6.0;            // c, 1/s
constexpr double kMassRatio = 0.15;        // mu, unsprung over sprung mass
constexpr double kSpeed = 80.0 / 3.6;      // 80 km/h in m/s

// The exponential is worked out in extended precision and rounded once, so the
// squarings' error stays below the double's last bit.
template <std::size_t N> using Wide = std::array<std::array<long double, N>, N>;

template <std::size_t N> Wide<N> Product(const Wide<N>& a, const Wide<N>& b)
{
    Wide<N> p{};
    for (std::size_t r = 0; r < N; ++r) {
        for (std::size_t c = 0; c < N; ++c) {
            long double sum = 0.0L;
            for (std::size_t k = 0; k < N; ++k) {
                sum += a[r][k] * b[k][c];
            }
            p[r][c] = sum;
        }
    }
    return p;
}

template <std::size_t N> long double RowSumNorm(const Wide<N>& m)
{
    long double norm = 0.0L;
    for (const auto& row : m) {
        long double sum = 0.0L;
        for (const long double value : row) {
            sum += std::fabs(value);
        }
        norm = std::fmax(norm, sum);
    }
    return norm;
}

// Scaling and squaring: exp(M) = exp(M / 2^s)^(2^s), with the scaled norm at
// most 1/2 so the Taylor series converges fast and without cancellation.
template <std::size_t N> Wide<N> Exponential(const Wide<N>& m)
{
    int squarings = 0;
    const long double norm = RowSumNorm(m);
    if (norm > 0.5L) {
        squarings = static_cast<int>(std::ceil(std::log2(norm / 0.5L)));
    }
    const long double scale = std::ldexp(1.0L, -squarings);
    Wide<N> sum{};
    Wide<N> term{};
    Wide<N> scaled{};
    for (std::size_t r = 0; r < N; ++r) {
        sum[r][r] = term[r][r] = 1.0L;
        for (std::size_t c = 0; c < N; ++c) {
            scaled[r][c] = m[r][c] * scale;
        }
    }
    // With a norm of at most 1/2 the 30th term is below 1e-41 of the sum.
    for (int n = 1; n <= 30; ++n) {
        term = Product(term, scaled);
        for (std::size_t r = 0; r < N; ++r) {
            for (std::size_t c = 0; c < N; ++c) {
                term[r][c] /= n;
                sum[r][c] += term[r][c];
            }
        }
    }
    for (int i = 0; i < squarings; ++i) {
        sum = Product(sum, sum);
    }
    return sum;
}

} // namespace

Matrix4 QuarterCarMatrix()
{
    const double k2 = kSuspensionSpring;
    const double c = kDamper;
    const double mu = kMassRatio;
    return Matrix4{{{0.0, 1.0, 0.0, 0.0},
                    {-k2, -c, k2, c},
                    {0.0, 0.0, 0.0, 1.0},
                    {k2 / mu, c / mu, -(kTyreSpring + k2) / mu, -c / mu}}};
}

std::array<double, 4> QuarterCarInput()
{
    return {0.0, 0.0, 0.0, kTyreSpring / kMassRatio};
}

Matrix4 MatrixExponential(const Matrix4& m)
{
    Wide<4> wide{};
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            wide[r][c] = m[r][c];
        }
    }
    const Wide<4> e = Exponential(wide);
    Matrix4 result{};
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            result[r][c] = static_cast<double>(e[r][c]);
        }
    }
    return result;
}

QuarterCarStep QuarterCarStepFor(double intervalMetres)
{
    const double dt = intervalMetres / kSpeed;
    const Matrix4 a = QuarterCarMatrix();
    const std::array<double, 4> b = QuarterCarInput();
    // exp([[A dt, B dt], [0, 0]]) holds exp(A dt) and, in its last column,
    // A^-1 (exp(A dt) - I) B: the input term without the cancellation of
    // subtracting the identity from a matrix close to it.
    Wide<5> augmented{};
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            augmented[r][c] = static_cast<long double>(a[r][c]) * dt;
        }
        augmented[r][4] = static_cast<long double>(b[r]) * dt;
    }
    const Wide<5> e = Exponential(augmented);
    QuarterCarStep step;
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            step.transition[r][c] = static_cast<double>(e[r][c]);
        }
        step.input[r] = static_cast<double>(e[r][4]);
    }
    return step;
}

} // namespace zlm
