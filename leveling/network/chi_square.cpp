#include "leveling/network/chi_square.h"

#include <cmath>
#include <unsupported/Eigen/SpecialFunctions>

namespace levara::leveling {

double normalQuantile(double probability) { return Eigen::numext::ndtri(probability); }

// The χ² distribution function is the regularized incomplete gamma function
// P(f/2, x/2) (Abramowitz & Stegun 26.4.19), which Eigen computes (Cephes' igam). The
// quantile starts from Wilson and Hilferty's approximation (A&S 26.4.17) and is
// refined by Newton's steps on P, kept inside a bracket by bisection.
double chiSquareQuantile(double probability, int degreesOfFreedom)
{
    const double f = degreesOfFreedom;
    const double a = f / 2;
    auto distribution = [&](double x) { return Eigen::numext::igamma(a, x / 2); };
    auto density = [&](double x) { return std::exp((a - 1) * std::log(x / 2) - x / 2 - std::lgamma(a)) / 2; };
    const double z = normalQuantile(probability);
    const double c = 2 / (9 * f);
    double x = f * std::pow(std::max(1 - c + z * std::sqrt(c), 0.01), 3);
    double low = 0, high = std::max(2 * x, f + 20 * std::sqrt(2 * f) + 20);
    for (int step = 0; step < 200; ++step) {
        const double error = distribution(x) - probability;
        if (std::abs(error) < 1e-14)
            break;
        (error < 0 ? low : high) = x;
        const double next = x - error / density(x);
        x = next > low && next < high ? next : (low + high) / 2;
        if (high - low < 1e-13 * x)
            break;
    }
    return x;
}

}  // namespace levara::leveling
