#include "core/requests/requests.h"

#include <optional>
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
            selection_.signIndex = index;
            break;
        case OptionGroup::House:
            selection_.houseIndex = index;
            break;
        case OptionGroup::Planet:
            selection_.planetIndex = index;
            break;
        case OptionGroup::AspectKind:
            selection_.aspectIndex = index;
            break;
        case OptionGroup::SecondPlanet:
            selection_.planet2Index = index;
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
    const std::optional<Point> planet = PointAt(s.planetIndex);
    if (!planet || !InRange(kSignCaptions, s.signIndex)) {
        return;
    }
    if (*planet == Point::Ascendant) {
        OKRisingSign_Click();
        return;
    }
    if (!RowOf(*planet).readBySign) {
        Refuse(kOuterPlanetsRefusal);
        return;
    }
    Lookup(PlanetInSignEntry(*planet, s.signIndex));
}

void Requests::OKHouses_Click() {
    const Selection s = selection_;
    const std::optional<Point> planet = PointAt(s.planetIndex);
    if (!planet || !InRange(kHouseCaptions, s.houseIndex)) {
        return;
    }
    if (*planet == Point::Ascendant) {
        Refuse(kAscendantInHouseRefusal);
        return;
    }
    Lookup(PlanetInHouseEntry(*planet, s.houseIndex + 1));
}

void Requests::OKRisingSign_Click() {
    const Selection s = selection_;
    if (!InRange(kSignCaptions, s.signIndex)) {
        return;
    }
    Lookup(RisingSignEntry(s.signIndex));
}

void Requests::OKAspects_Click() {
    const Selection s = selection_;
    const std::optional<Point> planet = PointAt(s.planetIndex);
    const std::optional<Point> planet2 = PointAt(s.planet2Index);
    const std::optional<AspectFamily> family = AspectFamilyAt(s.aspectIndex);
    if (!planet || !planet2 || !family) {
        return;
    }
    // Mercury and Venus never stray far from the Sun, nor from each other:
    // the library has no entries for the wider aspects of these pairs.
    const auto pair = [&](Point a, Point b) { return *planet == a && *planet2 == b; };
    if (IndexOf(*planet) > IndexOf(*planet2)) {
        Refuse(kOrderRefusal);
    } else if (*planet == *planet2) {
        Refuse(kSelfAspectRefusal);
    } else if (pair(Point::Sun, Point::Mercury) && *family != AspectFamily::Blending) {
        Refuse(kSunMercuryRefusal);
    } else if (pair(Point::Sun, Point::Venus) && *family == AspectFamily::Discordant) {
        Refuse(kSunVenusRefusal);
    } else if (pair(Point::Mercury, Point::Venus) && *family == AspectFamily::Discordant) {
        Refuse(kMercuryVenusRefusal);
    } else {
        Lookup(AspectEntry(*planet, *family, *planet2));
    }
}

}  // namespace tolvaris
