#include "core/requests/requests.h"

#include <utility>

#include "core/common/cp1252.h"
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

void Requests::Lookup(std::string key, const std::string& fileName) {
    buffers_.ResetPage();
    buffers_.AppendBlankLine();
    SectionKey = std::move(key);
    DataFileName = programFolder_ / fileName;
    ReadInterpretation(DataFileName, SectionKey, buffers_, notices_);
    buffers_.ShowPage();
}

void Requests::OKSigns_Click() {
    const Selection s = selection;
    if (!InRange(kPlanetCaptions, s.PlanetIndex) || !InRange(kSignCaptions, s.SignIndex)) {
        return;
    }
    if (s.PlanetIndex >= 7 && s.PlanetIndex <= 9) {
        Refuse(kOuterPlanetsRefusal);
        return;
    }
    if (s.PlanetIndex == 10) {
        OKRisingSign_Click();
        return;
    }
    const std::string_view sign = kSignCaptions[s.SignIndex];
    Lookup(ToUpper1252(kPlanetCaptions[s.PlanetIndex]) + " in",
           "SIGN_" + std::string(sign.substr(0, 3)) + ".TXT");
}

void Requests::OKHouses_Click() {
    const Selection s = selection;
    if (!InRange(kPlanetCaptions, s.PlanetIndex) || !InRange(kHouseCaptions, s.HouseIndex)) {
        return;
    }
    if (s.PlanetIndex == 10) {
        Refuse(kAscendantInHouseRefusal);
        return;
    }
    Lookup(ToUpper1252(kPlanetCaptions[s.PlanetIndex]) + " in",
           "HOUSE_" + std::to_string(s.HouseIndex + 1) + ".TXT");
}

void Requests::OKRisingSign_Click() {
    const Selection s = selection;
    if (!InRange(kSignCaptions, s.SignIndex)) {
        return;
    }
    Lookup(ToUpper1252(kSignCaptions[s.SignIndex]) + " rising", "RISING.TXT");
}

void Requests::OKAspects_Click() {
    const Selection s = selection;
    if (!InRange(kPlanetCaptions, s.PlanetIndex) || !InRange(kPlanetCaptions, s.Planet2Index) ||
        !InRange(kAspectPhrases, s.AspectIndex)) {
        return;
    }
    const std::string_view left = kPlanetCaptions[s.PlanetIndex];
    const std::string_view right = kPlanetCaptions[s.Planet2Index];
    if (s.PlanetIndex > s.Planet2Index) {
        Refuse(kOrderRefusal);
    } else if (left == right) {
        Refuse(kSelfAspectRefusal);
    } else if (s.PlanetIndex == 0 && s.Planet2Index == 2 && s.AspectIndex > 0) {
        Refuse(kSunMercuryRefusal);
    } else if (s.PlanetIndex == 0 && s.Planet2Index == 3 && s.AspectIndex > 1) {
        Refuse(kSunVenusRefusal);
    } else if (s.PlanetIndex == 2 && s.Planet2Index == 3 && s.AspectIndex > 1) {
        Refuse(kMercuryVenusRefusal);
    } else {
        Lookup(std::string(left) + " " + std::string(kAspectPhrases[s.AspectIndex]) + " " +
                   std::string(right),
               std::string(left) + ".TXT");
    }
}

}  // namespace tolvaris
