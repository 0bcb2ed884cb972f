// LoadSettings on arbitrary settings files and the lenient number reader on
// arbitrary text. What was loaded must obey the acceptance rules and survive
// a save and a second load; the number reader must ignore blanks wherever
// they stand and agree with strtod on plain decimal text.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/common/atomic_file.h"
#include "core/settings/number_text.h"
#include "core/settings/settings_file.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

std::string Describe(const SettingValues& v) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "size %.17g bold %.17g italic %.17g top %d left %d height %d width %d",
                  v.outputFontSize, v.outputFontBold, v.outputFontItalic, v.outputTop, v.outputLeft,
                  v.outputHeight, v.outputWidth);
    return text;
}

bool SameTo15Digits(double a, double b) {
    if (a == b) {
        return true;
    }
    return std::fabs(a - b) <= std::fabs(a) * 1e-14;
}

void CheckLoad(const std::string& content) {
    const std::filesystem::path file = ScratchFolder() / "Tolvaris.ini";
    WriteWholeFile(file, content);
    const SettingValues loaded = LoadSettings(file);
    const SettingValues defaults;
    const std::string described = Describe(loaded);

    FUZZ_CHECK(std::isfinite(loaded.outputFontSize) && std::isfinite(loaded.outputFontBold) &&
                   std::isfinite(loaded.outputFontItalic),
               described);
    FUZZ_CHECK(loaded.outputFontSize >= 7.75, described);
    // Tested above 0 before rounding: ".5" passes and rounds to 0, never below.
    FUZZ_CHECK(loaded.outputTop >= 0 && loaded.outputHeight >= 0 && loaded.outputWidth >= 0,
               described);
    // Without the key in the text, the default stays.
    if (content.find("FontSize") == std::string::npos) {
        FUZZ_CHECK(loaded.outputFontSize == defaults.outputFontSize, described);
    }
    if (content.find("DataLeft") == std::string::npos) {
        FUZZ_CHECK(loaded.outputLeft == defaults.outputLeft, described);
    }

    // What was loaded is saved and loaded back: window values exactly, font
    // values to the 15 digits the file holds.
    AtomicFileWriter writer;
    const std::string error = SaveSettings(file, loaded, writer);
    FUZZ_CHECK(error.empty(), error);
    const SettingValues again = LoadSettings(file);
    // A 0 that rounding made is written as 0, which is not above 0: that
    // value comes back as its default.
    SettingValues expected = loaded;
    for (auto member :
         {&SettingValues::outputTop, &SettingValues::outputHeight, &SettingValues::outputWidth}) {
        if (expected.*member == 0) {
            expected.*member = defaults.*member;
        }
    }
    FUZZ_CHECK(again.outputTop == expected.outputTop && again.outputLeft == expected.outputLeft &&
                   again.outputHeight == expected.outputHeight &&
                   again.outputWidth == expected.outputWidth,
               described + "\n" + Describe(again));
    FUZZ_CHECK(SameTo15Digits(again.outputFontSize, loaded.outputFontSize) &&
                   SameTo15Digits(again.outputFontBold, loaded.outputFontBold) &&
                   SameTo15Digits(again.outputFontItalic, loaded.outputFontItalic),
               described + "\n" + Describe(again));
    FUZZ_CHECK((again.outputFontBold != 0) == (loaded.outputFontBold != 0), described);
    FUZZ_CHECK((again.outputFontItalic != 0) == (loaded.outputFontItalic != 0), described);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Plain decimal text: optional sign, digits with at most one point (at least
// one digit), an optional exponent with digits. strtod reads exactly that
// when D is written as E.
bool IsPlainDecimal(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    bool digit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digit = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digit) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t digitsFrom = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
        }
        if (i == digitsFrom) {
            return false;
        }
    }
    return i == text.size();
}

void CheckNumber(const std::string& text) {
    const double value = ReadLenientNumber(text);
    FUZZ_CHECK(!std::isnan(value), Printable(text));
    FUZZ_CHECK(!(value == 0 && std::signbit(value)), "negative zero from " + Printable(text));

    std::string squeezed;
    for (const char c : text) {
        if (!IsBlank(c)) {
            squeezed.push_back(c);
        }
    }
    const double again = ReadLenientNumber(squeezed);
    FUZZ_CHECK(again == value || (std::isnan(again) && std::isnan(value)),
               "blanks changed the value of " + Printable(text));

    if (IsPlainDecimal(squeezed)) {
        std::string forStrtod = squeezed;
        for (char& c : forStrtod) {
            if (c == 'd' || c == 'D') {
                c = 'e';
            }
        }
        double expected = std::strtod(forStrtod.c_str(), nullptr);
        if (expected == 0) {
            expected = 0;  // the reader gives no negative zero
        }
        FUZZ_CHECK(value == expected, Printable(text) + " read as " + std::to_string(value));
    }
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvaris::fuzz;
    const std::string content(reinterpret_cast<const char*>(data), size);
    CheckLoad(content);
    CheckNumber(content);
    return 0;
}
