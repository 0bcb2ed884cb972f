#pragma once

#include <string>

#include "core/chart/birth_data.h"
#include "core/sky/chart.h"

namespace tolvaris::test {

// A birth in Berlin at noon on 1 January 1990 (11:00 UT), the chart the tests
// check against swetest: swetest -b1.1.1990 -ut11:00 -p0123456789
// -house13.405,52.52,P -fPl -head
inline BirthData BerlinNewYear(bool timeKnown = true) {
    BirthData birth;
    birth.name = "Ann Lee";
    birth.date = {1990, 1, 1};
    if (timeKnown) {
        birth.time = CivilTime{12, 0, 0};
    }
    birth.placeName = "Berlin, Land Berlin, Germany";
    birth.latitude = 52.52;
    birth.longitude = 13.405;
    birth.zone = "Europe/Berlin";
    return birth;
}

// The same birth as the chart computes it: 1990-01-01 11:00:00 UT.
inline ChartRequest BerlinNewYearRequest() {
    ChartRequest request;
    request.utSeconds = 631191600;
    request.latitude = 52.52;
    request.longitude = 13.405;
    return request;
}

}  // namespace tolvaris::test
