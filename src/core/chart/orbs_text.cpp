#include "core/chart/orbs_text.h"

#include <array>

#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"

namespace tolvaris {
namespace {

constexpr std::array<AspectKind, 5> kKinds = {AspectKind::Conjunction, AspectKind::Sextile,
                                              AspectKind::Square, AspectKind::Trine,
                                              AspectKind::Opposition};

double& OrbOf(Orbs& orbs, AspectKind kind) {
    switch (kind) {
        case AspectKind::Conjunction:
            return orbs.conjunction;
        case AspectKind::Sextile:
            return orbs.sextile;
        case AspectKind::Square:
            return orbs.square;
        case AspectKind::Trine:
            return orbs.trine;
        case AspectKind::Opposition:
            break;
    }
    return orbs.opposition;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::string FormatOrbs(const Orbs& orbs) {
    Orbs copy = orbs;
    std::string text;
    for (const AspectKind kind : kKinds) {
        if (!text.empty()) {
            text += ',';
        }
        text += std::string(AspectKindName(kind)) + "=" + FormatShortestDecimal(OrbOf(copy, kind));
    }
    return text;
}

OrbsParse ParseOrbs(std::string_view text, const Orbs& start) {
    OrbsParse result;
    Orbs orbs = start;
    std::array<bool, kKinds.size()> seen{};
    if (Trim(text).empty()) {
        result.error = "the orbs are empty (write them as conjunction=8,sextile=5,...)";
        return result;
    }
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view pair = Trim(text.substr(0, comma));
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos) {
            result.error = "the orb \"" + ShownInMessage(pair) +
                           "\" is not written as kind=degrees, for example sextile=5";
            return result;
        }
        const std::string_view name = Trim(pair.substr(0, equals));
        const std::string_view degrees = Trim(pair.substr(equals + 1));
        std::size_t index = kKinds.size();
        for (std::size_t i = 0; i < kKinds.size(); ++i) {
            if (AspectKindName(kKinds[i]) == name) {
                index = i;
            }
        }
        if (index == kKinds.size()) {
            result.error = "the orb \"" + ShownInMessage(name) +
                           "\" is not one of conjunction, sextile, square, trine, opposition";
            return result;
        }
        const std::string kindName(name);
        if (seen[index]) {
            result.error = "the " + kindName + " orb is given twice";
            return result;
        }
        seen[index] = true;
        const std::optional<double> value = ParsePlainDecimal(degrees);
        if (!value) {
            result.error = "the " + kindName + " orb \"" + ShownInMessage(degrees) +
                           "\" is not a number of degrees";
            return result;
        }
        if (*value < 0.0 || *value > kMaxOrb) {
            result.error = "the " + kindName + " orb " + std::string(degrees) +
                           " is outside 0 to " + FormatShortestDecimal(kMaxOrb);
            return result;
        }
        OrbOf(orbs, kKinds[index]) = *value;
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    result.value = orbs;
    return result;
}

}  // namespace tolvaris
