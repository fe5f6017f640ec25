// The least-squares adjustment of leveling networks: against a network whose
// adjustment gama-local published, against adjustments computed here from the
// observation equations written out by hand, and its refusals.
#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <cmath>
#include <random>

#include "leveling/network/chi_square.h"
#include "leveling/network/network.h"
#include "records/records.h"

namespace levara::leveling {
namespace {

Observation observed(std::string from, std::string to, double dh, double km, int line = 1)
{
    return Observation{std::move(from), std::move(to), dh, km, 1, LineNumber(line), LineNumber(line)};
}

const NetworkPoint& point(const NetworkAdjustment& adjustment, const std::string& name)
{
    for (const NetworkPoint& p : adjustment.points)
        if (p.name == name)
            return p;
    throw std::out_of_range(name);
}

// gama-local 1.5.09's sample "1D vertical least square adjustment", its input and
// output published at http://www.vrmapper.com/gama/1doutput.html: four points, each
// leg levelled forward and reverse (8 observations of equal weight, σ0 a priori
// 5.00 mm), point 1a fixed at 1000.000 m.
TEST(Network, AgreesWithGamaLocalsPublishedSample)
{
    NetworkInput input;
    input.observations = {observed("1a", "4", -1.225, 1), observed("4", "3", -0.848, 1),  observed("3", "2", 1.342, 1),
                          observed("2", "1a", 0.720, 1),  observed("1a", "2", -0.724, 1), observed("2", "3", -1.335, 1),
                          observed("3", "4", 0.842, 1),   observed("4", "1a", 1.231, 1)};
    input.known = {{"1a", 1000.000}};
    input.aprioriSigmaMm = 5.00;
    const NetworkAdjustment adjustment = adjustNetwork(input);

    EXPECT_EQ(adjustment.unknowns, 3);
    EXPECT_EQ(adjustment.degreesOfFreedom, 5);
    // "m0' aposteriori: 5.42  [pvv] : 1.46625e+002"
    EXPECT_NEAR(*adjustment.sigma0Mm, 5.42, 0.005);
    EXPECT_NEAR(adjustment.test->statistic * 25, 146.625, 1e-6);
    // "Adjusted heights": 998.77513, 997.93325, 999.27487, σ 3.1, 3.5, 3.1 mm with σ0 a priori.
    // (to the half unit of the last decimal printed: 4 is 998.775125 m)
    constexpr double printed = 0.000005 + 1e-9;
    EXPECT_NEAR(point(adjustment, "4").height, 998.77513, printed);
    EXPECT_NEAR(point(adjustment, "3").height, 997.93325, printed);
    EXPECT_NEAR(point(adjustment, "2").height, 999.27487, printed);
    const double apriori = 5.00 / *adjustment.sigma0Mm;
    EXPECT_NEAR(*point(adjustment, "4").sigmaMm * apriori, 3.1, 0.05);
    EXPECT_NEAR(*point(adjustment, "3").sigmaMm * apriori, 3.5, 0.05);
    EXPECT_NEAR(*point(adjustment, "2").sigmaMm * apriori, 3.1, 0.05);
    EXPECT_FALSE(point(adjustment, "1a").sigmaMm);
    // "Maximal normalized residual 1.68 does not exceed critical value 1.96 ... for
    // observation #6"
    EXPECT_NEAR(adjustment.criticalResidual, 1.96, 0.005);
    EXPECT_NEAR(std::abs(*adjustment.observations[5].standardizedResidual), 1.68, 0.005);
    for (const AdjustedObservation& o : adjustment.observations)
        EXPECT_LE(std::abs(*o.standardizedResidual), 1.68 + 0.005);
    EXPECT_EQ(adjustment.suspects(), 0);
    EXPECT_TRUE(adjustment.test->passed);
}

// The adjustment computed here densely, from the design matrix A written out: x̂ =
// (AᵀPA)⁻¹AᵀPl, Qxx = (AᵀPA)⁻¹, Qvv = P⁻¹ − A Qxx Aᵀ.
struct Dense {
    Eigen::VectorXd x, v, qvv;
    Eigen::MatrixXd qxx;
    double sigma0 = 0;
};

Dense denseAdjustment(const Eigen::MatrixXd& a, const Eigen::VectorXd& l, const Eigen::VectorXd& p)
{
    Dense d;
    const Eigen::MatrixXd n = a.transpose() * p.asDiagonal() * a;
    d.qxx = n.inverse();
    d.x = d.qxx * a.transpose() * p.asDiagonal() * l;
    d.v = (a * d.x - l) * 1000;
    d.qvv = (p.cwiseInverse().asDiagonal().toDenseMatrix() - a * d.qxx * a.transpose()).diagonal();
    d.sigma0 = std::sqrt(d.v.dot(p.asDiagonal() * d.v) / double(a.rows() - a.cols()));
    return d;
}

// Two benchmarks A (100 m) and B (103 m), three new points P, Q, R: six sections.
TEST(Network, AgreesWithTheNormalEquationsWrittenOut)
{
    NetworkInput input;
    input.observations = {observed("A", "P", 1.0032, 1.2), observed("P", "Q", 0.9981, 0.8),
                          observed("Q", "B", 1.0004, 1.5), observed("P", "R", 0.4990, 2.0),
                          observed("R", "B", 1.5015, 0.6), observed("A", "Q", 2.0010, 2.5)};
    input.known = {{"A", 100}, {"B", 103}};
    input.aprioriSigmaMm = 1;
    const NetworkAdjustment adjustment = adjustNetwork(input);

    // Unknowns P, Q, R; l moves the known heights to the right.
    Eigen::MatrixXd a(6, 3);
    a << 1, 0, 0,  //
        -1, 1, 0,  //
        0, -1, 0,  //
        -1, 0, 1,  //
        0, 0, -1,  //
        0, 1, 0;
    Eigen::VectorXd l(6), p(6);
    l << 100 + 1.0032, 0.9981, 1.0004 - 103, 0.4990, 1.5015 - 103, 100 + 2.0010;
    p << 1 / 1.2, 1 / 0.8, 1 / 1.5, 1 / 2.0, 1 / 0.6, 1 / 2.5;
    const Dense d = denseAdjustment(a, l, p);

    ASSERT_EQ(adjustment.degreesOfFreedom, 3);
    EXPECT_NEAR(point(adjustment, "P").height, d.x[0], 1e-9);
    EXPECT_NEAR(point(adjustment, "Q").height, d.x[1], 1e-9);
    EXPECT_NEAR(point(adjustment, "R").height, d.x[2], 1e-9);
    EXPECT_NEAR(*adjustment.sigma0Mm, d.sigma0, 1e-9);
    for (int u = 0; u < 3; ++u)
        EXPECT_NEAR(*point(adjustment, std::string(1, "PQR"[u])).sigmaMm, d.sigma0 * std::sqrt(d.qxx(u, u)), 1e-9);
    for (int k = 0; k < 6; ++k) {
        const AdjustedObservation& o = adjustment.observations[std::size_t(k)];
        EXPECT_NEAR(o.correctionMm, d.v[k], 1e-6);
        EXPECT_NEAR(o.redundancy, p[k] * d.qvv[k], 1e-9);
        EXPECT_NEAR(*o.standardizedResidual, d.v[k] / std::sqrt(d.qvv[k]), 1e-6);
    }
    // Σr = f
    double redundancy = 0;
    for (const AdjustedObservation& o : adjustment.observations)
        redundancy += o.redundancy;
    EXPECT_NEAR(redundancy, 3, 1e-9);
}

// A grid whose factor fills in, so that the selected inverse must use its fill: the
// heights' σ and the redundancies as a dense inverse gives them.
TEST(Network, SelectedInverseAgreesWithTheDenseOneOnAFilledFactor)
{
    constexpr int side = 7;
    auto name = [](int r, int c) { return "G" + std::to_string(r * side + c); };
    std::mt19937 random(27);
    std::uniform_real_distribution<double> noise(-0.002, 0.002), km(0.3, 2.5);
    NetworkInput input;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            if (c + 1 < side)
                input.observations.push_back(observed(name(r, c), name(r, c + 1), 0.1 + noise(random), km(random)));
            if (r + 1 < side)
                input.observations.push_back(observed(name(r, c), name(r + 1, c), -0.2 + noise(random), km(random)));
        }
    input.known = {{name(0, 0), 50}, {name(side - 1, side - 1), 50 + 0.1 * 6 - 0.2 * 6}};
    const NetworkAdjustment adjustment = adjustNetwork(input);

    // Unknowns in the order the points appear, less the two known.
    std::vector<std::string> unknowns;
    for (const NetworkPoint& p : adjustment.points)
        if (!p.known)
            unknowns.push_back(p.name);
    const int m = int(input.observations.size()), u = int(unknowns.size());
    Eigen::MatrixXd a = Eigen::MatrixXd::Zero(m, u);
    Eigen::VectorXd l(m), p(m);
    auto column = [&](const std::string& n) {
        return int(std::find(unknowns.begin(), unknowns.end(), n) - unknowns.begin());
    };
    for (int k = 0; k < m; ++k) {
        const Observation& o = input.observations[std::size_t(k)];
        l[k] = o.heightDifference;
        p[k] = 1 / o.lengthKm;
        for (const auto& [n, sign] : {std::pair{o.to, 1.0}, std::pair{o.from, -1.0}}) {
            if (column(n) < u)
                a(k, column(n)) = sign;
            else
                l[k] -= sign * (n == name(0, 0) ? input.known[0].height : input.known[1].height);
        }
    }
    const Dense d = denseAdjustment(a, l, p);
    for (const NetworkPoint& point : adjustment.points)
        if (!point.known) {
            const int c = column(point.name);
            EXPECT_NEAR(point.height, d.x[c], 1e-9) << point.name;
            EXPECT_NEAR(*point.sigmaMm, d.sigma0 * std::sqrt(d.qxx(c, c)), 1e-9) << point.name;
        }
    for (int k = 0; k < m; ++k)
        EXPECT_NEAR(adjustment.observations[std::size_t(k)].redundancy, p[k] * d.qvv[k], 1e-9) << k;
}

TEST(Network, WithoutRedundancyIsAdjustedAndSaysSo)
{
    NetworkInput input;
    input.observations = {observed("A", "P", 1.5, 1), observed("P", "Q", -0.5, 2)};
    input.known = {{"A", 10}};
    input.aprioriSigmaMm = 2;
    const NetworkAdjustment adjustment = adjustNetwork(input);
    EXPECT_EQ(adjustment.degreesOfFreedom, 0);
    EXPECT_FALSE(adjustment.sigma0Mm);
    EXPECT_FALSE(adjustment.test);
    EXPECT_DOUBLE_EQ(point(adjustment, "Q").height, 11);
    // σ of Q from σ0 a priori: 2 mm × √3 km
    EXPECT_NEAR(*point(adjustment, "Q").sigmaMm, 2 * std::sqrt(3.0), 1e-12);
    for (const AdjustedObservation& o : adjustment.observations) {
        EXPECT_NEAR(o.correctionMm, 0, 1e-9);
        EXPECT_FALSE(o.standardizedResidual);
    }
}

TEST(Network, ABlunderIsFlagged)
{
    NetworkInput input;
    input.observations = {observed("A", "P", 1.000, 1), observed("P", "B", 1.000, 1), observed("A", "Q", 0.500, 1),
                          observed("Q", "B", 1.508, 1), observed("P", "Q", -0.500, 1)};
    input.known = {{"A", 10}, {"B", 12}};
    input.aprioriSigmaMm = 1;
    const NetworkAdjustment adjustment = adjustNetwork(input);
    EXPECT_FALSE(adjustment.test->passed);
    EXPECT_TRUE(adjustment.observations[3].suspect);
    EXPECT_FALSE(adjustment.observations[0].suspect);
}

TEST(Network, PiecesTiedToNoKnownPointAreNamed)
{
    NetworkInput input;
    input.observations = {observed("A", "P", 1, 1, 3), observed("X", "Y", 1, 1, 9), observed("Y", "Z", 1, 1, 15)};
    input.known = {{"A", 10}};
    try {
        adjustNetwork(input);
        FAIL();
    } catch (const InputError& e) {
        EXPECT_EQ(e.line(), LineNumber(9));
        EXPECT_STREQ(e.what(), "line 9: the network falls into 2 pieces, and no point of these has a known height: "
                               "X, Y, Z (the sections of lines 9–9, 15–15); give the height of a point in each, or "
                               "join them by sections");
    }
    // Sections of a text joined from several files name theirs.
    const std::filesystem::path day2 = "day2.dat";
    input.observations[1].file = input.observations[2].file = &day2;
    try {
        adjustNetwork(input);
        FAIL();
    } catch (const InputError& e) {
        EXPECT_EQ(e.locatedMessage().english(),
                  "day2.dat:9: the network falls into 2 pieces, and no point of these has a known height: X, Y, Z (the "
                  "sections of lines day2.dat:9–9, day2.dat:15–15); give the height of a point in each, or join them "
                  "by sections");
    }
    input.known = {};
    input.observations.resize(1);
    EXPECT_THROW(
        {
            try {
                adjustNetwork(input);
            } catch (const InputError& e) {
                EXPECT_STREQ(e.what(), "line 3: no point of the network has a known height: A, P (the sections of "
                                       "lines 3–3); give the height of at least one of them");
                throw;
            }
        },
        InputError);
}

TEST(Network, ASectionWithoutLengthIsRefusedByDistance)
{
    NetworkInput input;
    input.observations = {observed("A", "P", 1, 0, 4)};
    input.known = {{"A", 10}};
    EXPECT_THROW(adjustNetwork(input), InputError);
    input.weighting = Weighting::ByStations;
    EXPECT_NO_THROW(adjustNetwork(input));
}

// χ² quantiles as tabulated in the NIST/SEMATECH e-Handbook of Statistical Methods,
// 1.3.6.7.4 "Critical Values of the Chi-Square Distribution".
TEST(Network, ChiSquareQuantilesAsTabulated)
{
    EXPECT_NEAR(chiSquareQuantile(0.025, 1), 0.001, 0.0005);
    EXPECT_NEAR(chiSquareQuantile(0.975, 1), 5.024, 0.0005);
    EXPECT_NEAR(chiSquareQuantile(0.025, 5), 0.831, 0.0005);
    EXPECT_NEAR(chiSquareQuantile(0.975, 5), 12.833, 0.0005);
    EXPECT_NEAR(chiSquareQuantile(0.025, 100), 74.222, 0.0005);
    EXPECT_NEAR(chiSquareQuantile(0.975, 100), 129.561, 0.0005);
    EXPECT_NEAR(normalQuantile(0.975), 1.95996, 0.00001);
}

}  // namespace
}  // namespace levara::leveling
