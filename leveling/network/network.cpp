#include "leveling/network/network.h"

#include <Eigen/SparseCholesky>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "leveling/network/chi_square.h"
#include "leveling/network/selected_inverse.h"
#include "records/records.h"

namespace levara::leveling {

namespace {

constexpr double kMillimetresPerMetre = 1000;
constexpr double kTestLevel = 0.05;  // the global test's and the residuals' α
// An observation no other one checks has r = 0; rounding leaves it at about 1e-16.
constexpr double kNoRedundancy = 1e-10;
// A piece named in a message shows this many of its points, then "…".
constexpr std::size_t kNamedPoints = 12;

// Its lines, without the file the message's place names already.
std::string linesOf(const Observation& observation)
{
    return lineRange(observation.firstLine, observation.lastLine, nullptr);
}

double weightOf(const Observation& observation, Weighting weighting)
{
    if (weighting == Weighting::ByDistance) {
        if (!(observation.lengthKm > 0))
            throw inputErrorIn(observation.file, observation.firstLine,
                               Message(QT_TRANSLATE_NOOP("levara",
                                                         "the section of lines %1 (%2 to %3) has no length to "
                                                         "weigh it by: its sight distances are all zero"),
                                       linesOf(observation), observation.from, observation.to));
        return 1 / observation.lengthKm;
    }
    if (!(observation.stations > 0))
        throw inputErrorIn(observation.file, observation.firstLine,
                           Message(QT_TRANSLATE_NOOP("levara", "the section of lines %1 (%2 to %3) has no station to "
                                                               "weigh it by"),
                                   linesOf(observation), observation.from, observation.to));
    return 1 / observation.stations;
}

struct Pieces {
    std::vector<int> parent;
    int root(int point)
    {
        while (parent[std::size_t(point)] != point)
            point = parent[std::size_t(point)] = parent[std::size_t(parent[std::size_t(point)])];
        return point;
    }
};

// A piece as a message names it: its points (the first few), then its sections' lines.
Message pieceMessage(const std::vector<std::string>& names, const std::vector<const Observation*>& observations)
{
    std::string points;
    for (std::size_t k = 0; k < names.size() && k < kNamedPoints; ++k)
        points += (k ? ", " : "") + names[k];
    if (names.size() > kNamedPoints)
        points += ", …";
    std::string lines;
    for (const Observation* observation : observations)
        lines +=
            (lines.empty() ? "" : ", ") + lineRange(observation->firstLine, observation->lastLine, observation->file);
    return Message(QT_TRANSLATE_NOOP("levara", "%1 (the sections of lines %2)"), points, lines);
}

// Throws naming the pieces of the network that hold no known point.
void checkTied(const NetworkInput& input, const std::vector<std::string>& names,
               const std::vector<std::pair<int, int>>& ends, const std::vector<bool>& known)
{
    Pieces pieces{std::vector<int>(names.size())};
    std::iota(pieces.parent.begin(), pieces.parent.end(), 0);
    for (const auto& [from, to] : ends)
        pieces.parent[std::size_t(pieces.root(from))] = pieces.root(to);
    std::vector<bool> tied(names.size(), false);
    for (std::size_t point = 0; point < names.size(); ++point)
        if (known[point])
            tied[std::size_t(pieces.root(int(point)))] = true;
    // The untied pieces by their roots, in the order their first points appear.
    std::unordered_map<int, std::size_t> slot;
    std::vector<std::vector<std::string>> pieceNames;
    std::vector<std::vector<const Observation*>> pieceObservations;
    std::size_t count = 0;
    std::vector<bool> seen(names.size(), false);
    for (std::size_t point = 0; point < names.size(); ++point) {
        const int root = pieces.root(int(point));
        if (!seen[std::size_t(root)]) {
            seen[std::size_t(root)] = true;
            ++count;
        }
        if (tied[std::size_t(root)])
            continue;
        auto [it, added] = slot.try_emplace(root, pieceNames.size());
        if (added) {
            pieceNames.emplace_back();
            pieceObservations.emplace_back();
        }
        pieceNames[it->second].push_back(names[point]);
    }
    if (pieceNames.empty())
        return;
    for (std::size_t k = 0; k < ends.size(); ++k) {
        const auto found = slot.find(pieces.root(ends[k].first));
        if (found != slot.end())
            pieceObservations[found->second].push_back(&input.observations[k]);
    }
    const Observation& first = *pieceObservations.front().front();
    const LineNumber line = first.firstLine;
    if (count == 1)
        throw inputErrorIn(first.file, line,
                           Message(QT_TRANSLATE_NOOP("levara", "no point of the network has a known height: %1; "
                                                               "give the height of at least one of them"),
                                   pieceMessage(pieceNames.front(), pieceObservations.front())));
    Message list = pieceMessage(pieceNames.back(), pieceObservations.back());
    for (std::size_t k = pieceNames.size() - 1; k-- > 0;)
        list = Message(QT_TRANSLATE_NOOP("levara", "%1; %2"), pieceMessage(pieceNames[k], pieceObservations[k]),
                       std::move(list));
    throw inputErrorIn(first.file, line,
                       Message(QT_TRANSLATE_NOOP("levara", "the network falls into %1 pieces, and no point of "
                                                           "these has a known height: %2; give the height of a "
                                                           "point in each, or join them by sections"),
                               std::to_string(count), std::move(list)));
}

}  // namespace

int NetworkAdjustment::suspects() const
{
    return int(std::count_if(observations.begin(), observations.end(),
                             [](const AdjustedObservation& o) { return o.suspect; }));
}

NetworkAdjustment adjustNetwork(const NetworkInput& input)
{
    NetworkAdjustment result;
    result.weighting = input.weighting;
    result.criticalResidual = normalQuantile(1 - kTestLevel / 2);

    // The points in the order they are first observed.
    std::unordered_map<std::string, int> index;
    std::vector<std::string> names;
    std::vector<std::pair<int, int>> ends;
    std::vector<double> weights;
    ends.reserve(input.observations.size());
    weights.reserve(input.observations.size());
    auto pointOf = [&](const std::string& name) {
        auto [it, added] = index.try_emplace(name, int(names.size()));
        if (added)
            names.push_back(name);
        return it->second;
    };
    for (const Observation& observation : input.observations) {
        weights.push_back(weightOf(observation, input.weighting));
        const int from = pointOf(observation.from);
        ends.emplace_back(from, pointOf(observation.to));
    }
    if (names.empty())
        throw InputError(LineNumber(1),
                         Message(QT_TRANSLATE_NOOP("levara", "the text holds no leveling section to adjust")));
    std::vector<bool> known(names.size(), false);
    std::vector<double> heights(names.size(), 0);
    for (const KnownHeight& given : input.known) {
        const auto found = index.find(given.name);
        if (found != index.end()) {
            known[std::size_t(found->second)] = true;
            heights[std::size_t(found->second)] = given.height;
        }
    }
    checkTied(input, names, ends, known);

    // The unknowns: the points not known, numbered in order.
    std::vector<int> unknown(names.size(), -1);
    int unknowns = 0;
    for (std::size_t point = 0; point < names.size(); ++point)
        if (!known[point])
            unknown[point] = unknowns++;
    result.unknowns = unknowns;
    const int observations = int(input.observations.size());
    result.degreesOfFreedom = observations - unknowns;

    // Normal equations N x = Aᵀ P l, each observation's row +1 at its end, −1 at its
    // start, the known heights moved into l.
    std::vector<Eigen::Triplet<double>> entries;
    entries.reserve(4 * input.observations.size());
    Eigen::VectorXd right = Eigen::VectorXd::Zero(unknowns);
    for (int k = 0; k < observations; ++k) {
        const auto [from, to] = ends[std::size_t(k)];
        const double p = weights[std::size_t(k)];
        double l = input.observations[std::size_t(k)].heightDifference;
        const int f = unknown[std::size_t(from)], t = unknown[std::size_t(to)];
        if (f < 0)
            l += heights[std::size_t(from)];
        if (t < 0)
            l -= heights[std::size_t(to)];
        if (f == t)  // both known, or a section back to its own start
            continue;
        if (t >= 0) {
            entries.emplace_back(t, t, p);
            right[t] += p * l;
        }
        if (f >= 0) {
            entries.emplace_back(f, f, p);
            right[f] -= p * l;
        }
        if (t >= 0 && f >= 0) {
            entries.emplace_back(t, f, -p);
            entries.emplace_back(f, t, -p);
        }
    }
    std::vector<double> cofactor(std::size_t(unknowns), 0);
    std::vector<double> between(std::size_t(observations), 0);  // Qxx(from, to) per observation
    if (unknowns > 0) {
        Eigen::SparseMatrix<double> normal(unknowns, unknowns);
        normal.setFromTriplets(entries.begin(), entries.end());
        entries = {};
        Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> factor(normal);
        if (factor.info() != Eigen::Success)
            throw inputErrorIn(input.observations.front().file, input.observations.front().firstLine,
                               Message(QT_TRANSLATE_NOOP("levara", "the network's normal equations cannot be solved")));
        const Eigen::VectorXd x = factor.solve(right);
        for (std::size_t point = 0; point < names.size(); ++point)
            if (unknown[point] >= 0)
                heights[point] = x[unknown[point]];
        // The factor is of P N Pᵀ: unknown u is its row permuted[u].
        const auto& permuted = factor.permutationP().indices();
        const SelectedInverse inverse(factor.matrixL().nestedExpression(), factor.vectorD());
        for (int u = 0; u < unknowns; ++u)
            cofactor[std::size_t(u)] = inverse.at(permuted[u], permuted[u]);
        for (int k = 0; k < observations; ++k) {
            const int f = unknown[std::size_t(ends[std::size_t(k)].first)];
            const int t = unknown[std::size_t(ends[std::size_t(k)].second)];
            if (f >= 0 && t >= 0 && f != t)
                between[std::size_t(k)] = inverse.at(permuted[f], permuted[t]);
        }
    }

    double weightedSquares = 0;  // vᵀPv, mm²
    result.observations.reserve(std::size_t(observations));
    for (int k = 0; k < observations; ++k) {
        const auto [from, to] = ends[std::size_t(k)];
        AdjustedObservation adjusted;
        adjusted.observed = input.observations[std::size_t(k)];
        adjusted.adjustedHeightDifference = heights[std::size_t(to)] - heights[std::size_t(from)];
        adjusted.correctionMm =
            (adjusted.adjustedHeightDifference - adjusted.observed.heightDifference) * kMillimetresPerMetre;
        const double p = weights[std::size_t(k)];
        weightedSquares += p * adjusted.correctionMm * adjusted.correctionMm;
        // q_vv = 1/p − a Qxx aᵀ
        const int f = unknown[std::size_t(from)], t = unknown[std::size_t(to)];
        double explained = 0;
        if (f != t) {
            if (t >= 0)
                explained += cofactor[std::size_t(t)];
            if (f >= 0)
                explained += cofactor[std::size_t(f)];
            explained -= 2 * between[std::size_t(k)];
        }
        adjusted.redundancy = std::clamp(1 - p * explained, 0.0, 1.0);
        result.observations.push_back(std::move(adjusted));
    }

    if (result.degreesOfFreedom > 0) {
        result.sigma0Mm = std::sqrt(weightedSquares / result.degreesOfFreedom);
        if (input.aprioriSigmaMm && *input.aprioriSigmaMm > 0) {
            GlobalTest test;
            test.aprioriSigmaMm = *input.aprioriSigmaMm;
            test.statistic = weightedSquares / (test.aprioriSigmaMm * test.aprioriSigmaMm);
            test.lower = chiSquareQuantile(kTestLevel / 2, result.degreesOfFreedom);
            test.upper = chiSquareQuantile(1 - kTestLevel / 2, result.degreesOfFreedom);
            test.passed = test.statistic >= test.lower && test.statistic <= test.upper;
            result.test = test;
        }
    }
    if (result.sigma0Mm) {
        double kilometres = 0, stations = 0;
        for (const Observation& observation : input.observations) {
            kilometres += observation.lengthKm;
            stations += observation.stations;
        }
        if (input.weighting == Weighting::ByDistance)
            result.sigma0PerKmMm = result.sigma0Mm;
        else if (kilometres > 0)  // a station's σ over the network's mean stations per km
            result.sigma0PerKmMm = *result.sigma0Mm * std::sqrt(stations / kilometres);
    }

    // Standardized residuals by σ0 a priori where given; heights' σ by σ0 a posteriori
    // where the network has redundancy, else a priori.
    const std::optional<double> residualSigma =
        input.aprioriSigmaMm && *input.aprioriSigmaMm > 0 ? input.aprioriSigmaMm : result.sigma0Mm;
    for (int k = 0; k < observations; ++k) {
        AdjustedObservation& adjusted = result.observations[std::size_t(k)];
        if (!residualSigma || adjusted.redundancy < kNoRedundancy)
            continue;
        const double qvv = adjusted.redundancy / weights[std::size_t(k)];
        adjusted.standardizedResidual = adjusted.correctionMm / (*residualSigma * std::sqrt(qvv));
        adjusted.suspect = std::abs(*adjusted.standardizedResidual) > result.criticalResidual;
    }
    const std::optional<double> heightSigma = result.sigma0Mm ? result.sigma0Mm : input.aprioriSigmaMm;
    result.points.reserve(names.size());
    for (std::size_t point = 0; point < names.size(); ++point) {
        NetworkPoint adjusted{names[point], heights[point], known[point], std::nullopt};
        if (!known[point] && heightSigma)
            adjusted.sigmaMm = *heightSigma * std::sqrt(std::max(cofactor[std::size_t(unknown[point])], 0.0));
        result.points.push_back(std::move(adjusted));
    }
    return result;
}

}  // namespace levara::leveling
