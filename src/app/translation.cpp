#include "app/translation.h"

#include <QFile>
#include <QStandardPaths>

namespace tolvaris {

QStringList TranslationFolders(const std::filesystem::path& programFolder) {
    QStringList folders{QFile::decodeName((programFolder / "translations").c_str())};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation)) {
        folders.append(data + QStringLiteral("/translations"));
    }
    return folders;
}

std::unique_ptr<QTranslator> LoadTranslation(const QLocale& locale, const QStringList& folders) {
    for (const QString& folder : folders) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(locale, QStringLiteral("tolvaris"), QStringLiteral("_"), folder)) {
            return translator;
        }
    }
    return nullptr;
}

}  // namespace tolvaris
