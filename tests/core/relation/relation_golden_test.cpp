// Two charts compared with pairs that scripts/make-relation-golden wrote
// from Debian's swetest: inter-aspects, house overlays, composite points and
// cusps, the Davison moment, place and positions.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/relation/relation.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

constexpr double kTolerance = 0.001;

struct GoldenPair {
    std::string name;
    std::vector<BirthData> births;
    std::vector<std::string> aspects;  // "Sun Mars square", in order
    std::vector<double> orbs;
    std::vector<std::string> overlays;   // first-in-second, second-in-first: "7 11 ..." or "none"
    std::vector<double> compositeCusps;  // empty without houses
    std::vector<std::string> compositeNames;
    std::vector<double> compositeLongitudes;
    std::vector<int> compositeHouses;  // 0: none
    std::int64_t davisonUt = 0;
    double davisonLatitude = 0.0;
    double davisonLongitude = 0.0;
    std::vector<std::string> davisonNames;
    std::vector<double> davisonLongitudes;
    std::vector<int> davisonHouses;
};

BirthData BirthAt(std::int64_t ut, double latitude, double longitude, const std::string& system,
                  bool known) {
    BirthData birth;
    const std::int64_t days = ut >= 0 ? ut / 86400 : (ut - 86399) / 86400;
    const auto second = static_cast<int>(ut - days * 86400);
    birth.date = DateFromDaysSinceEpoch(days);
    if (known) {
        birth.time = CivilTime{second / 3600, second / 60 % 60, second % 60};
    }
    birth.latitude = latitude;
    birth.longitude = longitude;
    birth.utcOffsetSeconds = 0;
    birth.houseSystem = ParseHouseSystem(system).value_or(kDefaultHouseSystem);
    return birth;
}

std::vector<GoldenPair> ReadPairs() {
    std::ifstream in(TOLVARIS_RELATION_GOLDEN);
    EXPECT_TRUE(in) << TOLVARIS_RELATION_GOLDEN;
    std::vector<GoldenPair> pairs;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string tag;
        words >> tag;
        if (tag == "pair") {
            pairs.emplace_back();
            words >> pairs.back().name;
            continue;
        }
        if (tag.empty() || tag[0] == '#' || tag == "end") {
            continue;
        }
        GoldenPair& pair = pairs.back();
        std::string a, b, c;
        double value = 0.0;
        int house = 0;
        if (tag == "birth") {
            std::int64_t ut = 0;
            double latitude = 0.0, longitude = 0.0;
            int known = 0;
            words >> ut >> latitude >> longitude >> a >> known;
            pair.births.push_back(BirthAt(ut, latitude, longitude, a, known == 1));
        } else if (tag == "aspect") {
            words >> a >> b >> c >> value;
            pair.aspects.push_back(a + " " + b + " " + c);
            pair.orbs.push_back(value);
        } else if (tag == "overlays") {
            words >> a;
            std::getline(words, b);
            pair.overlays.push_back(b.substr(1));
        } else if (tag == "composite-cusps") {
            while (words >> value) {
                pair.compositeCusps.push_back(value);
            }
        } else if (tag == "composite" || tag == "davison-point") {
            words >> a >> value >> house;
            (tag == "composite" ? pair.compositeNames : pair.davisonNames).push_back(a);
            (tag == "composite" ? pair.compositeLongitudes : pair.davisonLongitudes)
                .push_back(value);
            (tag == "composite" ? pair.compositeHouses : pair.davisonHouses).push_back(house);
        } else if (tag == "davison") {
            words >> pair.davisonUt >> pair.davisonLatitude >> pair.davisonLongitude;
        } else {
            ADD_FAILURE() << "unknown line: " << line;
        }
        EXPECT_FALSE(words.fail() && tag != "composite-cusps") << line;
    }
    return pairs;
}

std::string OverlaysText(const std::optional<std::vector<HouseOverlay>>& overlays) {
    if (!overlays) {
        return "none";
    }
    std::string text;
    for (const HouseOverlay& overlay : *overlays) {
        text += (text.empty() ? "" : " ") + std::to_string(overlay.house);
    }
    return text;
}

// Sun ... Pluto, then the angles a chart has, with their houses (0 for
// none and for the angles), as the golden file lists them.
void ExpectPoints(const Chart& chart, const std::vector<std::string>& names,
                  const std::vector<double>& longitudes, const std::vector<int>& houses) {
    std::vector<std::pair<std::string, double>> points;
    std::vector<int> ourHouses;
    for (const BodyPlacement& body : chart.bodies) {
        points.emplace_back(std::string(body.name), body.longitude);
        ourHouses.push_back(body.house.value_or(0));
    }
    for (const auto& [name, angle] :
         {std::pair{"Ascendant", chart.ascendant}, std::pair{"Midheaven", chart.midheaven}}) {
        if (angle) {
            points.emplace_back(name, angle->longitude);
            ourHouses.push_back(0);
        }
    }
    ASSERT_EQ(points.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto at = std::find(names.begin(), names.end(), points[i].first) - names.begin();
        ASSERT_LT(static_cast<std::size_t>(at), names.size()) << points[i].first;
        EXPECT_LE(AngularSeparation(points[i].second, longitudes[at]), kTolerance)
            << points[i].first;
        EXPECT_EQ(ourHouses[i], houses[at]) << points[i].first;
    }
}

TEST(RelationGolden, PairsMatchSwetest) {
    const std::vector<GoldenPair> pairs = ReadPairs();
    ASSERT_GE(pairs.size(), 10U);
    Ephemeris ephemeris;
    for (const GoldenPair& golden : pairs) {
        SCOPED_TRACE(golden.name);
        ASSERT_EQ(golden.births.size(), 2U);
        BirthChartResult first = ComputeBirthChart(ephemeris, golden.births[0]);
        BirthChartResult second = ComputeBirthChart(ephemeris, golden.births[1]);
        ASSERT_TRUE(first.Ok() && second.Ok());

        const Synastry synastry =
            ComputeSynastry(first.value->chart, second.value->chart, golden.births[0].orbs);
        ASSERT_EQ(synastry.aspects.size(), golden.aspects.size());
        for (std::size_t i = 0; i < golden.aspects.size(); ++i) {
            const InterAspect& aspect = synastry.aspects[i];
            EXPECT_EQ(std::string(NatalPointName(aspect.first)) + " " +
                          std::string(NatalPointName(aspect.second)) + " " +
                          std::string(AspectKindName(aspect.kind)),
                      golden.aspects[i]);
            EXPECT_NEAR(aspect.orb, golden.orbs[i], kTolerance) << golden.aspects[i];
        }
        ASSERT_EQ(golden.overlays.size(), 2U);
        EXPECT_EQ(OverlaysText(synastry.firstInSecondHouses), golden.overlays[0]);
        EXPECT_EQ(OverlaysText(synastry.secondInFirstHouses), golden.overlays[1]);

        const CompositeResult composite = ComputeComposite(ephemeris, *first.value, *second.value);
        ASSERT_TRUE(composite.Ok()) << composite.error;
        const Chart& chart = composite.value->chart;
        ASSERT_EQ(chart.cusps.has_value(), !golden.compositeCusps.empty());
        for (std::size_t i = 0; chart.cusps && i < 12; ++i) {
            EXPECT_LE(AngularSeparation((*chart.cusps)[i], golden.compositeCusps[i]), kTolerance)
                << "cusp " << i + 1;
        }
        ExpectPoints(chart, golden.compositeNames, golden.compositeLongitudes,
                     golden.compositeHouses);

        const DavisonMoment moment = DavisonMomentOf(*first.value, *second.value);
        EXPECT_EQ(moment.utSeconds, golden.davisonUt);
        EXPECT_NEAR(moment.latitude, golden.davisonLatitude, 1e-6);
        EXPECT_NEAR(moment.longitude, golden.davisonLongitude, 1e-6);
        const DavisonResult davison = ComputeDavison(ephemeris, *first.value, *second.value);
        ASSERT_TRUE(davison.Ok()) << davison.error;
        ExpectPoints(davison.value->chart, golden.davisonNames, golden.davisonLongitudes,
                     golden.davisonHouses);
    }
}

}  // namespace
}  // namespace tolvaris
