#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/atomic_file.h"
#include "core/settings/setting_values.h"

namespace tolvaris {

// The settings file, in the program folder.
inline constexpr std::string_view kSettingsFileName = "Tolvaris.ini";

inline constexpr std::string_view kSettingsSectionLine =
    "[Tolvaris] - Do NOT change the order of these variables.";

// Reads the settings from `file`. Never fails and never reports: a missing,
// unreadable or damaged file gives the defaults for whatever it does not
// supply.
//
// Each line is matched by its start against the keys (FontSize, FontBold,
// FontItalic, DataTop, DataLeft, DataHeight, DataWidth; letter case counts,
// no leading blank). Its value is the text after the first "=" (the whole
// line without one), read by ReadLenientNumber, and stored only when
// accepted: a font size from 7.75 up, any bold, italic or left value, a top,
// height or width above 0. Window values are then rounded half to even. The
// last accepted line of a key wins. Reading ends early, keeping what was
// stored so far, on a read error, on a window value whose rounded number does
// not fit 16 bits, and on a value beyond the double range for a key (such a
// number cannot be stored faithfully; lines without a key are never used,
// so their values do not matter). Only the first MiB of a line is looked at.
//
// A file whose name differs only in letter case (copied from Windows) is read
// when the exact name does not exist.
SettingValues LoadSettings(const std::filesystem::path& file);

// Writes the eight lines of the settings file, CR LF ended, replacing `file`
// only when everything was written. Returns "" on success, else the reason.
std::string SaveSettings(const std::filesystem::path& file, const SettingValues& values,
                         AtomicFileWriter& writer);

}  // namespace tolvaris
