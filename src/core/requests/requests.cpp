#include "core/requests/requests.h"

#include <utility>

#include "core/engine/interpretation_reader.h"
#include "core/requests/captions.h"

namespace tolvaris {
namespace {

// The selection comes from the option groups, but an index outside its list
// must never reach an array.
template <typename List>
bool InRange(const List& list, std::int16_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

}  // namespace

Requests::Requests(PageBuffers& buffers, Notices& notices, std::filesystem::path programFolder)
    : buffers_(buffers), notices_(notices), programFolder_(std::move(programFolder)) {}

void Requests::Refuse(const char* message) {
    notices_.Message(message, "Information", NoticeIcon::Exclamation);
}

void Requests::Select(OptionGroup group, std::int16_t index) {
    switch (group) {
        case OptionGroup::Sign:
            selection_.SignIndex = index;
            break;
        case OptionGroup::House:
            selection_.HouseIndex = index;
            break;
        case OptionGroup::Planet:
            selection_.PlanetIndex = index;
            break;
        case OptionGroup::AspectKind:
            selection_.AspectIndex = index;
            break;
        case OptionGroup::SecondPlanet:
            selection_.Planet2Index = index;
            break;
    }
}

void Requests::Lookup(EntryLocation entry) {
    buffers_.ResetPage();
    buffers_.AppendBlankLine();
    sectionKey_ = std::move(entry.key);
    dataFileName_ = programFolder_ / entry.fileName;
    ReadInterpretation(dataFileName_, sectionKey_, buffers_, notices_);
    buffers_.ShowPage();
}

void Requests::OKSigns_Click() {
    const Selection s = selection_;
    if (!InRange(kPlanetCaptions, s.PlanetIndex) || !InRange(kSignCaptions, s.SignIndex)) {
        return;
    }
    if (s.PlanetIndex >= kUranus && s.PlanetIndex <= kPluto) {
        Refuse(kOuterPlanetsRefusal);
        return;
    }
    if (s.PlanetIndex == kAscendant) {
        OKRisingSign_Click();
        return;
    }
    Lookup(PlanetInSignEntry(s.PlanetIndex, s.SignIndex));
}

void Requests::OKHouses_Click() {
    const Selection s = selection_;
    if (!InRange(kPlanetCaptions, s.PlanetIndex) || !InRange(kHouseCaptions, s.HouseIndex)) {
        return;
    }
    if (s.PlanetIndex == kAscendant) {
        Refuse(kAscendantInHouseRefusal);
        return;
    }
    Lookup(PlanetInHouseEntry(s.PlanetIndex, s.HouseIndex));
}

void Requests::OKRisingSign_Click() {
    const Selection s = selection_;
    if (!InRange(kSignCaptions, s.SignIndex)) {
        return;
    }
    Lookup(RisingSignEntry(s.SignIndex));
}

void Requests::OKAspects_Click() {
    const Selection s = selection_;
    if (!InRange(kPlanetCaptions, s.PlanetIndex) || !InRange(kPlanetCaptions, s.Planet2Index) ||
        !InRange(kAspectPhrases, s.AspectIndex)) {
        return;
    }
    // Mercury and Venus never stray far from the Sun, nor from each other:
    // the library has no entries for the wider aspects of these pairs.
    if (s.PlanetIndex > s.Planet2Index) {
        Refuse(kOrderRefusal);
    } else if (s.PlanetIndex == s.Planet2Index) {
        Refuse(kSelfAspectRefusal);
    } else if (s.PlanetIndex == kSun && s.Planet2Index == kMercury && s.AspectIndex > kBlending) {
        Refuse(kSunMercuryRefusal);
    } else if (s.PlanetIndex == kSun && s.Planet2Index == kVenus && s.AspectIndex > kHarmonizing) {
        Refuse(kSunVenusRefusal);
    } else if (s.PlanetIndex == kMercury && s.Planet2Index == kVenus &&
               s.AspectIndex > kHarmonizing) {
        Refuse(kMercuryVenusRefusal);
    } else {
        Lookup(AspectEntry(s.PlanetIndex, s.AspectIndex, s.Planet2Index));
    }
}

}  // namespace tolvaris
