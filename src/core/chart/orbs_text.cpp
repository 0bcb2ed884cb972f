#include "core/chart/orbs_text.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"
#include "core/common/cp1252.h"

namespace tolvaris {
namespace {

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
    std::string text;
    for (const AspectRow& row : kAspects) {
        if (!text.empty()) {
            text += ',';
        }
        text += std::string(row.name) + "=" + FormatShortestDecimal(orbs[row.kind]);
    }
    return text;
}

OrbsParse ParseOrbs(std::string_view text, const Orbs& start) {
    OrbsParse result;
    Orbs orbs = start;
    std::array<bool, kAspects.size()> seen{};
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
        const auto row = std::find_if(kAspects.begin(), kAspects.end(), [name](const AspectRow& r) {
            return EqualIgnoringCase1252(r.name, name);
        });
        if (row == kAspects.end()) {
            result.error =
                "the orb \"" + ShownInMessage(name) + "\" is not one of " + AspectKindNamesText();
            return result;
        }
        const std::size_t index = IndexOf(row->kind);
        const std::string kindName(row->name);
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
        // Adding 0.0 makes "-0" plain 0.
        constexpr double kScale = 1e6;
        static_assert(kOrbDecimals == 6, "kScale is 10 to the power kOrbDecimals");
        orbs[row->kind] = std::round(*value * kScale) / kScale + 0.0;
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    result.value = orbs;
    return result;
}

}  // namespace tolvaris
