#pragma once

#include <QLocale>
#include <QTranslator>
#include <filesystem>
#include <memory>
#include <vector>

namespace tolvaris {

// Where the catalogues of the windows' texts are looked for, in this order:
// "translations" in the program folder (where the build and the install put
// them), then "translations" in each of the user's and the system's data
// folders for Tolvaris (~/.local/share/tolvaris, /usr/share/tolvaris...).
std::vector<std::filesystem::path> TranslationFolders(const std::filesystem::path& programFolder);

// The catalogue for `locale` (tolvaris_de_AT.qm, else tolvaris_de.qm, ...)
// from the first folder that has one (file names are taken as bytes); null when none has, and the
// windows then keep their English texts. Install it with QCoreApplication::installTranslator and
// keep it while windows live.
std::unique_ptr<QTranslator> LoadTranslation(const QLocale& locale,
                                             const std::vector<std::filesystem::path>& folders);

}  // namespace tolvaris
