#pragma once
// Quantiles of the distributions the network's tests are held to.
namespace levara::leveling {

// x with P(χ²(f) ≤ x) = probability, for f > 0 degrees of freedom.
double chiSquareQuantile(double probability, int degreesOfFreedom);
// z with P(N(0, 1) ≤ z) = probability.
double normalQuantile(double probability);

}  // namespace levara::leveling
