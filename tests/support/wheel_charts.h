#pragma once

#include <string>
#include <vector>

#include "core/sky/chart.h"

namespace tolvaris::test {

// A chart made by hand: bodies Sun .. Pluto at the given longitudes, equal
// houses from the Ascendant (none when it is absent), aspects found with the
// default orbs.
struct HandChart {
    std::string name;
    std::optional<double> ascendant;
    std::vector<double> longitudes;  // ten, Sun first
    std::vector<bool> retrograde;    // empty: all direct
};

Chart MakeChart(const HandChart& hand);

// Two charts to compare: the first with equal houses from 75 (so the
// Midheaven at 345), the second without a birth time. Worked out by hand from
// the longitudes: 36 contacts with the default orbs, five of them
// conjunctions.
struct HandPair {
    HandChart first;
    HandChart second;
};
HandPair ComparisonPair();

// Clusters and spreads that a wheel must keep readable.
std::vector<HandChart> WheelTestCharts();

}  // namespace tolvaris::test
