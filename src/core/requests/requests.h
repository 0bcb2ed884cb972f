#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"
#include "core/requests/entry_keys.h"

namespace tolvaris {

// The five option groups of the main window.
enum class OptionGroup { Sign, House, Planet, AspectKind, SecondPlanet };

// The index last focused in each option group.
struct Selection {
    std::int16_t signIndex = 6;     // Libra
    std::int16_t houseIndex = 6;    // 7th
    std::int16_t planetIndex = 0;   // Sun
    std::int16_t aspectIndex = 2;   // discordant
    std::int16_t planet2Index = 1;  // Moon
};

inline constexpr const char* kOuterPlanetsRefusal =
    "Uranus - Pluto sign positions are not delineated.";
inline constexpr const char* kAscendantInHouseRefusal =
    "The Ascendant is always the 1st house cusp. It cannot be in a house.";
inline constexpr const char* kOrderRefusal =
    "Please select a higher planet on the left than on the right.";
inline constexpr const char* kSelfAspectRefusal =
    "A planet cannot aspect itself. Select a different planet.";
inline constexpr const char* kSunMercuryRefusal =
    "Mercury can never by far enough away from the Sun to have this kind of aspect.";
inline constexpr const char* kSunVenusRefusal =
    "Venus can never by far enough away from the Sun to have this kind of aspect.";
inline constexpr const char* kMercuryVenusRefusal =
    "Venus can never by far enough away from Mercury to have this kind of aspect.";

// The four interpretation requests: each checks the selection, refuses what
// is not interpreted, or names the data file and the entry key and has the
// engine show that entry as a new page.
class Requests {
public:
    Requests(PageBuffers& buffers, Notices& notices, std::filesystem::path programFolder);

    const Selection& CurrentSelection() const { return selection_; }
    void Select(OptionGroup group, std::int16_t index);
    void SetSelection(const Selection& selection) { selection_ = selection; }

    // The last request's key and file; a refused request leaves them alone.
    const std::string& SectionKey() const { return sectionKey_; }
    const std::filesystem::path& DataFileName() const { return dataFileName_; }

    void OKSigns_Click();
    void OKHouses_Click();
    void OKRisingSign_Click();
    void OKAspects_Click();

private:
    void Refuse(const char* message);
    void Lookup(EntryLocation entry);

    PageBuffers& buffers_;
    Notices& notices_;
    std::filesystem::path programFolder_;
    Selection selection_;
    std::string sectionKey_;
    std::filesystem::path dataFileName_;
};

}  // namespace tolvaris
