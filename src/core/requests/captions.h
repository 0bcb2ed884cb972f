#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/points.h"
#include "core/ephemeris/zodiac.h"

namespace tolvaris {

// The captions of the option groups, by index, drawn from the tables of
// points, signs and aspect families. Requests build file names and keys from
// these exact texts.
namespace captions_detail {

template <typename Row, std::size_t N, typename Field>
constexpr std::array<std::string_view, N> Column(const std::array<Row, N>& rows, Field field) {
    std::array<std::string_view, N> texts{};
    for (std::size_t i = 0; i < N; ++i) {
        texts[i] = rows[i].*field;
    }
    return texts;
}

}  // namespace captions_detail

inline constexpr const std::array<std::string_view, 12>& kSignCaptions = kSigns;

inline constexpr std::array<std::string_view, 12> kHouseCaptions = {
    "1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th", "11th", "12th"};

inline constexpr std::array<std::string_view, kPoints.size()> kPlanetCaptions =
    captions_detail::Column(kPoints, &PointRow::name);

inline constexpr std::array<std::string_view, kAspectFamilies.size()> kAspectCaptions =
    captions_detail::Column(kAspectFamilies, &AspectFamilyRow::name);

inline constexpr std::array<std::string_view, kAspectFamilies.size()> kAspectPhrases =
    captions_detail::Column(kAspectFamilies, &AspectFamilyRow::phrase);

}  // namespace tolvaris
