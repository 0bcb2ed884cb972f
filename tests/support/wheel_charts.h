#pragma once

#include <string>
#include <vector>

#include "core/ephemeris/chart.h"

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

// Clusters and spreads that a wheel must keep readable.
std::vector<HandChart> WheelTestCharts();

}  // namespace tolvaris::test
