#pragma once
// Least-squares adjustment of a leveling network by parameters, the heights of the
// points not known being the unknowns: any number of known (fixed) points, junctions,
// loops and lines. Each observed height difference is weighed by 1 / its length in
// km or 1 / its station count, so that the unit weight is one km or one station.
//
// The normal equations are solved by Eigen's sparse LDLᵀ factorisation; the
// standard deviations of all heights come from the factor by selected inversion
// (selected_inverse.h), never from a dense inverse.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "records/records.h"

namespace levara::leveling {

enum class Weighting { ByDistance, ByStations };

// One observed height difference: a section, or a forward/return pair's mean.
struct Observation {
    std::string from, to;
    double heightDifference = 0;  // m, to less from
    double lengthKm = 0;
    double stations = 0;             // a pair's mean may end in .5
    LineNumber firstLine, lastLine;  // in the text it comes from
    // The file of its lines, when the text joins several (Section::file).
    const std::filesystem::path* file = nullptr;
};

struct KnownHeight {
    std::string name;
    double height = 0;  // m
};

struct NetworkPoint {
    std::string name;
    double height = 0;  // m
    bool known = false;
    std::optional<double> sigmaMm;  // none for a known point, or without any σ0
};

struct AdjustedObservation {
    Observation observed;
    double adjustedHeightDifference = 0;  // m
    double correctionMm = 0;              // v: adjusted less observed
    double redundancy = 0;                // r = p·q_vv, between 0 and 1
    // v / (σ0 √q_vv), σ0 a priori where given, else a posteriori; none where the
    // observation is not checked by any other (r = 0) or no σ0 exists.
    std::optional<double> standardizedResidual;
    bool suspect = false;  // |standardized residual| over the critical value
};

// The global test of the model: (f · σ̂0² / σ0²) against the χ²(f) distribution,
// two-sided at 95 %.
struct GlobalTest {
    double aprioriSigmaMm = 0;
    double statistic = 0;
    double lower = 0, upper = 0;  // χ²(f) at 2.5 % and 97.5 %
    bool passed = false;
};

struct NetworkAdjustment {
    Weighting weighting = Weighting::ByDistance;
    std::vector<NetworkPoint> points;  // in the order of their first observation
    std::vector<AdjustedObservation> observations;
    int unknowns = 0;
    int degreesOfFreedom = 0;  // observations less unknowns; 0: no redundancy
    // A posteriori σ0 in mm, per unit weight (km or station), and per km.
    std::optional<double> sigma0Mm, sigma0PerKmMm;
    std::optional<GlobalTest> test;
    // The normal distribution's two-sided 95 % value that standardized residuals are
    // held to (1.96), the value gama-local's default confidence uses.
    double criticalResidual = 0;

    int suspects() const;
};

struct NetworkInput {
    std::vector<Observation> observations;
    std::vector<KnownHeight> known;  // those the network does not reach are passed over
    Weighting weighting = Weighting::ByDistance;
    // σ0 a priori in mm per unit weight, for the global test; none without a standard.
    std::optional<double> aprioriSigmaMm;
};

// Throws InputError naming the observation's lines when one cannot be weighed (no
// length, no station), and naming the pieces of the network (their points and lines)
// that are tied to no known point.
NetworkAdjustment adjustNetwork(const NetworkInput& input);

}  // namespace levara::leveling
