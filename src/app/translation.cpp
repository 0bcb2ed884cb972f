#include "app/translation.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tolvaris {
namespace {

// A catalogue loaded from bytes read here: the translator reads them in
// place, so they live as long as it does. Reading the file ourselves keeps a
// folder whose name is not UTF-8 reachable; QTranslator opens only QStrings.
class OwnedCatalogue : public QTranslator {
public:
    explicit OwnedCatalogue(QByteArray bytes) : bytes_(std::move(bytes)) {}
    // Out of use before the bytes go.
    ~OwnedCatalogue() override { QCoreApplication::removeTranslator(this); }
    OwnedCatalogue(const OwnedCatalogue&) = delete;
    OwnedCatalogue& operator=(const OwnedCatalogue&) = delete;
    bool Load() {
        return load(reinterpret_cast<const uchar*>(bytes_.constData()),
                    static_cast<int>(bytes_.size()));
    }

private:
    QByteArray bytes_;
};

std::unique_ptr<QTranslator> LoadCatalogueFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return nullptr;
    }
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto catalogue = std::make_unique<OwnedCatalogue>(
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!in.bad() && catalogue->Load()) {
        return catalogue;
    }
    return nullptr;
}

// The catalogue names to try for a locale, most particular first: each of
// its interface languages ("de-AT", "de"), dashes as underscores, then cut
// at each underscore from the end ("de_AT", "de"), each also in lower case.
QStringList CatalogueNames(const QLocale& locale) {
    QStringList names;
    for (QString language : locale.uiLanguages()) {
        language.replace(u'-', u'_');
        for (;;) {
            for (const QString& name : {language, language.toLower()}) {
                const QString file = QStringLiteral("tolvaris_") + name + QStringLiteral(".qm");
                if (!names.contains(file)) {
                    names.append(file);
                }
            }
            const qsizetype cut = language.lastIndexOf(u'_');
            if (cut <= 0) {
                break;
            }
            language.truncate(cut);
        }
    }
    return names;
}

}  // namespace

std::vector<std::filesystem::path> TranslationFolders(const std::filesystem::path& programFolder) {
    std::vector<std::filesystem::path> folders{programFolder / "translations"};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation)) {
        folders.emplace_back(
            QFile::encodeName(data + QStringLiteral("/translations")).toStdString());
    }
    return folders;
}

std::unique_ptr<QTranslator> LoadTranslation(const QLocale& locale,
                                             const std::vector<std::filesystem::path>& folders) {
    const QStringList names = CatalogueNames(locale);
    for (const std::filesystem::path& folder : folders) {
        for (const QString& name : names) {
            if (auto catalogue =
                    LoadCatalogueFile(folder / QFile::encodeName(name).toStdString())) {
                return catalogue;
            }
        }
    }
    return nullptr;
}

}  // namespace tolvaris
