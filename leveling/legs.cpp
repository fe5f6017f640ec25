#include "leveling/legs.h"

#include <cmath>
#include <map>
#include <numeric>

#include "leveling/exact_units.h"
#include "leveling/units.h"

namespace levara::leveling {

namespace {

void checkHeightDifference(const Section& section)
{
    if (!heightInRange(section.heightDifference))
        throw inputErrorIn(section.file, section.firstLine,
                           Message(QT_TRANSLATE_NOOP("levara",
                                                     "the section of lines %1 has a height difference of %2 m, "
                                                     "beyond ±%3 m: no two points differ that much in height"),
                                   section.firstLine.text() + "–" + section.lastLine.text(),
                                   stripLeadingBlanks(signedNumberText(section.heightDifference)), kLargestHeightText));
}

Leg pairOf(const Section& forward, int forwardIndex, const Section& back, int backIndex);

}  // namespace

Leg legOf(const Section& section, int index)
{
    checkHeightDifference(section);
    Leg leg;
    leg.forward = index;
    leg.from = pointName(section.startPoint);
    leg.to = pointName(section.endPoint);
    leg.firstLine = section.firstLine;
    leg.lastLine = section.lastLine;
    leg.file = section.file;
    leg.lengthKm = nineDecimals(section.length() / kMetresPerKilometre);
    leg.stations = section.stationCount();
    leg.measured = toHundredthsOfMm(section.heightDifference);
    return leg;
}

namespace {

Leg pairOf(const Section& forward, int forwardIndex, const Section& back, int backIndex)
{
    checkHeightDifference(back);
    Leg leg = legOf(forward, forwardIndex);
    leg.back = backIndex;
    leg.lastLine = back.lastLine;
    leg.lengthKm = nineDecimals((forward.length() + back.length()) / 2 / kMetresPerKilometre);
    leg.stations = (forward.stationCount() + back.stationCount()) / 2.0;
    // The mean of two sums of 0.01 mm may end in a half: half to even, as every printed
    // value (leveling/exact_units.h), not by the binary accident of a double's halving.
    leg.measured =
        halfEvenQuotient(toHundredthsOfMm(forward.heightDifference) - toHundredthsOfMm(back.heightDifference), 2);
    return leg;
}

// The points' sets joined so far, for the spanning forest.
class Forest {
public:
    int node(const std::string& name)
    {
        const auto [it, added] = nodes_.try_emplace(name, int(parent_.size()));
        if (added) {
            parent_.push_back(it->second);
            edges_.emplace_back();
        }
        return it->second;
    }
    int root(int node)
    {
        while (parent_[std::size_t(node)] != node)
            node = parent_[std::size_t(node)] = parent_[std::size_t(parent_[std::size_t(node)])];
        return node;
    }
    void join(int a, int b, std::size_t leg)
    {
        parent_[std::size_t(root(a))] = root(b);
        edges_[std::size_t(a)].push_back({leg, b});
        edges_[std::size_t(b)].push_back({leg, a});
    }
    // The forest's path from a to b as (leg, node reached) steps; a and b joined.
    std::vector<std::pair<std::size_t, int>> path(int a, int b) const
    {
        std::vector<std::pair<std::size_t, int>> via(parent_.size(), {0, -1});  // how each node was reached
        std::vector<int> queue = {a};
        via[std::size_t(a)] = {0, a};
        for (std::size_t k = 0; k < queue.size() && via[std::size_t(b)].second < 0; ++k)
            for (const Edge& edge : edges_[std::size_t(queue[k])])
                if (via[std::size_t(edge.to)].second < 0) {
                    via[std::size_t(edge.to)] = {edge.leg, queue[k]};
                    queue.push_back(edge.to);
                }
        std::vector<std::pair<std::size_t, int>> steps;
        for (int at = b; at != a; at = via[std::size_t(at)].second)
            steps.insert(steps.begin(), {via[std::size_t(at)].first, at});
        return steps;
    }

private:
    struct Edge {
        std::size_t leg;
        int to;
    };
    std::map<std::string, int> nodes_;
    std::vector<int> parent_;
    std::vector<std::vector<Edge>> edges_;
};

// Sums the loop's height differences and lengths and names it by its points.
Loop closed(std::vector<LoopLeg> steps, const std::vector<Leg>& legs)
{
    Loop loop;
    loop.legs = std::move(steps);
    double length = 0;
    for (const LoopLeg& step : loop.legs) {
        const Leg& leg = legs[step.leg];
        loop.misclosure += step.along ? leg.measured : -leg.measured;
        length += leg.lengthKm;
        loop.closing = std::max(loop.closing, step.leg);
        loop.name += (step.along ? leg.from : leg.to) + "–";
    }
    const Leg& first = legs[loop.legs.front().leg];
    loop.name += loop.legs.front().along ? first.from : first.to;
    if (loop.legs.size() == 1)
        loop.name = first.from;  // a line back to its start: named by its point
    loop.lengthKm = nineDecimals(length);
    return loop;
}

}  // namespace

bool heightInRange(double metres) { return std::abs(metres) <= kLargestHeightM; }

Message heightOutOfRange(std::string_view text)
{
    return Message(QT_TRANSLATE_NOOP("levara", "the height \"%1\" is beyond ±%2 m: no point is that high or that deep"),
                   excerpt(text), kLargestHeightText);
}

HundredthsOfMm toHundredthsOfMm(double metres) { return std::llround(nineDecimals(metres) * kHundredthsOfMmPerMetre); }

double toMetres(HundredthsOfMm value) { return nineDecimals(double(value) / kHundredthsOfMmPerMetre); }

std::string pointName(std::string_view window) { return std::string(stripBlanks(window)); }

std::vector<Leg> legsOf(const std::vector<Section>& sections)
{
    std::vector<int> measured;
    for (std::size_t i = 0; i < sections.size(); ++i)
        if (!sections[i].stations.empty())
            measured.push_back(int(i));
    std::vector<int> partner(measured.size(), -1);
    for (std::size_t i = 0; i < measured.size(); ++i) {
        const Section& forward = sections[std::size_t(measured[i])];
        if (partner[i] >= 0 || forward.startPoint == forward.endPoint)
            continue;
        for (std::size_t j = i + 1; j < measured.size(); ++j) {
            const Section& back = sections[std::size_t(measured[j])];
            if (partner[j] < 0 && back.startPoint == forward.endPoint && back.endPoint == forward.startPoint) {
                partner[i] = int(j);
                partner[j] = int(i);
                break;
            }
        }
    }
    std::vector<Leg> legs;
    for (std::size_t i = 0; i < measured.size(); ++i) {
        const int index = measured[i];
        if (partner[i] < 0)
            legs.push_back(legOf(sections[std::size_t(index)], index));
        else if (std::size_t(partner[i]) > i)
            legs.push_back(pairOf(sections[std::size_t(index)], index,
                                  sections[std::size_t(measured[std::size_t(partner[i])])],
                                  measured[std::size_t(partner[i])]));
    }
    // The first leg between two points in one direction is the one measured; a later
    // one the same way measures it again.
    std::map<std::pair<std::string, std::string>, int> first;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        Leg& leg = legs[i];
        if (leg.from == leg.to)
            continue;
        const auto [it, added] = first.try_emplace({leg.from, leg.to}, int(i));
        if (!added)
            leg.repeats = it->second;
    }
    return legs;
}

Loop routeLoop(const std::vector<Leg>& legs)
{
    std::vector<LoopLeg> steps(legs.size());
    for (std::size_t i = 0; i < legs.size(); ++i)
        steps[i] = {i, true};
    return closed(std::move(steps), legs);
}

std::vector<Loop> loopsOf(const std::vector<Leg>& legs)
{
    std::vector<std::size_t> used;
    for (std::size_t i = 0; i < legs.size(); ++i)
        if (legs[i].repeats < 0)
            used.push_back(i);
    if (used.empty())
        return {};
    bool chained = used.size() == legs.size();
    for (std::size_t k = 1; chained && k < legs.size(); ++k)
        chained = legs[k].from == legs[k - 1].to;
    if (chained && legs.back().to == legs.front().from)
        return {routeLoop(legs)};

    std::vector<Loop> loops;
    Forest forest;
    for (std::size_t i : used) {
        const Leg& leg = legs[i];
        if (leg.from == leg.to) {
            loops.push_back(closed({{i, true}}, legs));
            continue;
        }
        const int from = forest.node(leg.from), to = forest.node(leg.to);
        if (forest.root(from) != forest.root(to)) {
            forest.join(from, to, i);
            continue;
        }
        // From the leg's end back to its start through the forest, then the leg.
        std::vector<LoopLeg> steps;
        int at = to;
        for (const auto& [step, reached] : forest.path(to, from)) {
            steps.push_back({step, forest.node(legs[step].from) == at});
            at = reached;
        }
        steps.push_back({i, true});
        loops.push_back(closed(std::move(steps), legs));
    }
    return loops;
}

}  // namespace levara::leveling
