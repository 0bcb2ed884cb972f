// Checks of the interpretation files shipped in data/: every request the
// program accepts finds a whole, well-formed entry of its own, and the texts
// follow the file format and do not repeat themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/common/atomic_file.h"
#include "core/engine/interpretation_reader.h"
#include "core/engine/page_buffers.h"
#include "core/forecast/progression_entries.h"
#include "core/forecast/transit_entries.h"
#include "core/relation/relation_entries.h"
#include "core/requests/requests.h"
#include "support/fake_screen.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

namespace fs = std::filesystem;

// Written out here rather than taken from the program, so that a wrong caption
// list there shows up as a wrong key or file name.
const std::vector<std::string> kPlanets = {"Sun",     "Moon",    "Mercury",  "Venus",
                                           "Mars",    "Jupiter", "Saturn",   "Uranus",
                                           "Neptune", "Pluto",   "Ascendant"};
const std::vector<std::string> kSigns = {"Aries",       "Taurus",    "Gemini",   "Cancer",
                                         "Leo",         "Virgo",     "Libra",    "Scorpio",
                                         "Sagittarius", "Capricorn", "Aquarius", "Pisces"};
const std::vector<std::string> kPhrases = {"blending with", "harmonizing with", "discordant to"};

struct Request {
    std::string kind;
    std::string name;
    void (Requests::*click)();
    Selection selection;
    std::string file;
    std::string key;
};

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string WithoutLeadingSpaces(const std::string& line) {
    return line.substr(std::min(line.find_first_not_of(' '), line.size()));
}

bool AsksFor(const std::string& line, const std::string& key) {
    return Upper(WithoutLeadingSpaces(line)).starts_with(Upper(key));
}

bool IsEndMarker(const std::string& line) {
    const std::string rest = WithoutLeadingSpaces(line);
    return rest == "*" || rest == "[]";
}

// Every request that passes the refusal rules, with the file and key it must use.
std::vector<Request> AcceptedRequests() {
    std::vector<Request> all;
    const auto add = [&all](const char* kind, const std::string& name, auto click, Selection sel,
                            const std::string& file, const std::string& key) {
        all.push_back({kind, name, click, sel, file, key});
    };
    for (std::int16_t p = 0; p <= 6; ++p) {
        for (std::int16_t s = 0; s < 12; ++s) {
            add("sign", "Planet in sign: " + kPlanets[p] + " in " + kSigns[s],
                &Requests::OKSigns_Click, {.signIndex = s, .planetIndex = p},
                "SIGN_" + kSigns[s].substr(0, 3) + ".TXT", Upper(kPlanets[p]) + " in");
        }
    }
    for (std::int16_t p = 0; p <= 9; ++p) {
        for (std::int16_t h = 0; h < 12; ++h) {
            const std::string house = std::to_string(h + 1);
            add("house", "Planet in house: " + kPlanets[p] + " in " + house,
                &Requests::OKHouses_Click, {.houseIndex = h, .planetIndex = p},
                "HOUSE_" + house + ".TXT", Upper(kPlanets[p]) + " in");
        }
    }
    for (std::int16_t s = 0; s < 12; ++s) {
        add("rising", "Rising sign: " + kSigns[s], &Requests::OKRisingSign_Click, {.signIndex = s},
            "RISING.TXT", Upper(kSigns[s]) + " rising");
    }
    for (std::int16_t p = 0; p < 11; ++p) {
        for (std::int16_t q = p + 1; q < 11; ++q) {
            for (std::int16_t a = 0; a < 3; ++a) {
                // Mercury and Venus never stand far enough from the Sun, nor Venus from Mercury.
                if ((p == 0 && q == 2 && a > 0) || (p == 0 && q == 3 && a > 1) ||
                    (p == 2 && q == 3 && a > 1)) {
                    continue;
                }
                const std::string key = kPlanets[p] + " " + kPhrases[a] + " " + kPlanets[q];
                add("aspect", "Aspects: " + key, &Requests::OKAspects_Click,
                    {.planetIndex = p, .aspectIndex = a, .planet2Index = q}, kPlanets[p] + ".TXT",
                    key);
            }
        }
    }
    return all;
}

// A transit entry: what the forecast asks for, written out here as well.
struct TransitLookup {
    std::string file;
    std::string key;
    EntryLocation built;  // what the program asks for
};

std::vector<TransitLookup> TransitLookups() {
    std::vector<TransitLookup> all;
    const std::vector<std::string> bodies = {"Sun",    "Mars",    "Jupiter", "Saturn",
                                             "Uranus", "Neptune", "Pluto"};
    const std::vector<Point> points = {Point::Sun,    Point::Mars,    Point::Jupiter, Point::Saturn,
                                       Point::Uranus, Point::Neptune, Point::Pluto};
    std::vector<std::string> natal(kPlanets.begin(), kPlanets.end());
    natal.emplace_back("Midheaven");
    for (std::size_t b = 0; b < bodies.size(); ++b) {
        for (std::size_t n = 0; n < natal.size(); ++n) {
            for (std::size_t a = 0; a < kPhrases.size(); ++a) {
                all.push_back({"TRANSIT_" + bodies[b] + ".TXT",
                               bodies[b] + " " + kPhrases[a] + " natal " + natal[n],
                               TransitAspectEntry(points[b], *AspectFamilyAt(std::ptrdiff_t(a)),
                                                  static_cast<NatalPoint>(n))});
            }
        }
    }
    for (int house = 1; house <= 12; ++house) {
        for (std::size_t b = 2; b < bodies.size(); ++b) {
            all.push_back({"TRANSIT_HOUSE_" + std::to_string(house) + ".TXT",
                           Upper(bodies[b]) + " through", TransitHouseEntry(points[b], house)});
        }
    }
    return all;
}

const std::vector<std::string> kOrdinals = {"1st", "2nd", "3rd", "4th",  "5th",  "6th",
                                            "7th", "8th", "9th", "10th", "11th", "12th"};
const std::vector<std::string> kRelationPoints = {"Sun",     "Moon",    "Mercury",   "Venus",
                                                  "Mars",    "Jupiter", "Saturn",    "Uranus",
                                                  "Neptune", "Pluto",   "Ascendant", "Midheaven"};

bool OneSided(std::size_t point) {
    return point == 0 || point == 1 || point == 3 || point == 4;  // Sun, Moon, Venus, Mars
}

// The entries of two charts: what the relationship reading asks for, with
// the key scheme written out here.
std::vector<TransitLookup> RelationLookups() {
    std::vector<TransitLookup> all;
    const std::vector<std::string> families = {"conjunction", "trine or sextile",
                                               "square or opposition"};
    for (std::size_t x = 0; x < kRelationPoints.size(); ++x) {
        const std::string file = "SYNASTRY_" + kRelationPoints[x] + ".TXT";
        for (std::size_t y = 0; y < kRelationPoints.size(); ++y) {
            const bool yours = x != y && OneSided(x) && OneSided(y);
            if (!yours && y < x) {
                continue;
            }
            for (std::size_t a = 0; a < kPhrases.size(); ++a) {
                const std::string key = yours ? "Your " + kRelationPoints[x] + " " + kPhrases[a] +
                                                    " their " + kRelationPoints[y]
                                              : "Synastry " + kRelationPoints[x] + " " +
                                                    kPhrases[a] + " " + kRelationPoints[y];
                all.push_back({file, key,
                               SynastryAspectEntry(static_cast<NatalPoint>(x),
                                                   *AspectFamilyAt(std::ptrdiff_t(a)),
                                                   static_cast<NatalPoint>(y))});
            }
        }
    }
    for (int house = 1; house <= 12; ++house) {
        for (std::size_t b = 0; b < 10; ++b) {
            all.push_back({"SYNASTRY_HOUSE_" + std::to_string(house) + ".TXT",
                           "Your " + Upper(kPlanets[b]) + " in their " +
                               kOrdinals[std::size_t(house - 1)] + " House",
                           SynastryHouseEntry(static_cast<Point>(b), house)});
        }
    }
    const std::vector<std::size_t> composite = {0, 1, 3, 4};
    for (const std::size_t b : composite) {
        for (int sign = 0; sign < 12; ++sign) {
            all.push_back({"COMPOSITE_SIGNS.TXT",
                           "Composite " + Upper(kPlanets[b]) + " in " + kSigns[std::size_t(sign)],
                           CompositeSignEntry(static_cast<Point>(b), sign)});
        }
    }
    for (int sign = 0; sign < 12; ++sign) {
        all.push_back({"COMPOSITE_SIGNS.TXT",
                       "Composite " + Upper(kSigns[std::size_t(sign)]) + " rising",
                       CompositeRisingEntry(sign)});
    }
    for (const std::size_t b : composite) {
        for (int house = 1; house <= 12; ++house) {
            all.push_back({"COMPOSITE_HOUSES.TXT",
                           "Composite " + Upper(kPlanets[b]) + " in the " +
                               kOrdinals[std::size_t(house - 1)] + " House",
                           CompositeHouseEntry(static_cast<Point>(b), house)});
        }
    }
    return all;
}

// The progression and solar-return entries, the key scheme written out here.
std::vector<TransitLookup> ProgressionLookups() {
    std::vector<TransitLookup> all;
    const std::vector<std::string> families = {"conjunction", "trine or sextile",
                                               "square or opposition"};
    for (std::size_t b = 0; b < 5; ++b) {
        for (std::size_t n = 0; n < kRelationPoints.size(); ++n) {
            for (std::size_t a = 0; a < kPhrases.size(); ++a) {
                all.push_back({"PROGRESSED_" + kPlanets[b] + ".TXT",
                               "Progressed " + kPlanets[b] + " " + kPhrases[a] + " natal " +
                                   kRelationPoints[n] + " (progression, " + families[a] + ")",
                               ProgressedAspectEntry(static_cast<Point>(b),
                                                     *AspectFamilyAt(std::ptrdiff_t(a)),
                                                     static_cast<NatalPoint>(n))});
            }
        }
    }
    for (int i = 0; i < 12; ++i) {
        const std::string ordinal = kOrdinals[std::size_t(i)];
        const std::string sign = kSigns[std::size_t(i)];
        all.push_back({"PROGRESSED_Moon.TXT",
                       "Progressed Moon through the " + ordinal + " House (progression)",
                       ProgressedMoonHouseEntry(i + 1)});
        all.push_back({"PROGRESSED_Moon.TXT", "Progressed Moon in " + sign + " (progression)",
                       ProgressedMoonSignEntry(i)});
        all.push_back({"SOLAR_RETURN.TXT", "Return " + Upper(sign) + " rising (solar return)",
                       SolarReturnRisingEntry(i)});
        all.push_back({"SOLAR_RETURN.TXT", "Return SUN in the " + ordinal + " House (solar return)",
                       SolarReturnSunHouseEntry(i + 1)});
    }
    return all;
}

// An entry as the file's layout shows it: from its first non-blank line up to
// its end marker, found without looking at any key.
struct Entry {
    std::size_t keyLine;
    std::size_t end;  // the end marker's line, or the line count when none follows
};

struct DataFile {
    std::string bytes;
    std::vector<std::string> lines;
    std::vector<Entry> entries;
};

DataFile Parse(std::string bytes) {
    DataFile file{std::move(bytes), {}, {}};
    std::string line;
    for (std::size_t i = 0; i < file.bytes.size(); ++i) {
        if (file.bytes[i] != '\r') {
            line += file.bytes[i];
            continue;
        }
        if (i + 1 < file.bytes.size() && file.bytes[i + 1] == '\n') {
            ++i;
        }
        file.lines.push_back(std::exchange(line, {}));
    }
    if (!line.empty()) {
        file.lines.push_back(line);
    }
    // No std::optional here: g++ 12 at -O2 warns wrongly that it may be uninitialized.
    constexpr std::size_t kOutside = std::string::npos;
    std::size_t start = kOutside;
    for (std::size_t k = 0; k < file.lines.size(); ++k) {
        if (start != kOutside && IsEndMarker(file.lines[k])) {
            file.entries.push_back({start, k});
            start = kOutside;
        } else if (start == kOutside &&
                   file.lines[k].find_first_not_of(" \t") != std::string::npos &&
                   !IsEndMarker(file.lines[k])) {
            start = k;
        }
    }
    if (start != kOutside) {
        file.entries.push_back({start, file.lines.size()});
    }
    return file;
}

// Lower-cased words: runs of letters, digits, apostrophes and accented letters.
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words(1);
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || u >= 0x80 || (c == '\'' && !words.back().empty())) {
            words.back() += static_cast<char>(std::tolower(u));
        } else if (!words.back().empty()) {
            words.emplace_back();
        }
    }
    if (words.back().empty()) {
        words.pop_back();
    }
    return words;
}

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dataDir = test::ShippedDataFolder();
        for (const Request& r : requests) {
            if (!files.contains(r.file)) {
                ASSERT_TRUE(fs::is_regular_file(dataDir / r.file))
                    << "missing " << dataDir / r.file;
                files.emplace(r.file, Parse(test::ReadBytes(dataDir / r.file)));
            }
        }
        for (const TransitLookup& t : transits) {
            if (!transitFiles.contains(t.file)) {
                ASSERT_TRUE(fs::is_regular_file(dataDir / t.file)) << "missing " << t.file;
                transitFiles.emplace(t.file, Parse(test::ReadBytes(dataDir / t.file)));
            }
        }
        for (const std::vector<TransitLookup>* lookups : {&relations, &progressions}) {
            for (const TransitLookup& t : *lookups) {
                if (!transitFiles.contains(t.file)) {
                    ASSERT_TRUE(fs::is_regular_file(dataDir / t.file)) << "missing " << t.file;
                    transitFiles.emplace(t.file, Parse(test::ReadBytes(dataDir / t.file)));
                }
            }
        }
    }
    // Every interpretation file shipped, also those no reading asks yet.
    std::map<std::string, DataFile> AllFiles() const {
        std::map<std::string, DataFile> all = files;
        all.insert(transitFiles.begin(), transitFiles.end());
        for (const auto& entry : fs::directory_iterator(dataDir)) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".TXT") && !all.contains(name)) {
                all.emplace(name, Parse(test::ReadBytes(entry.path())));
            }
        }
        return all;
    }
    static std::string Place(const std::string& file, std::size_t line) {
        return file + ":" + std::to_string(line + 1);
    }

    const std::vector<Request> requests = AcceptedRequests();
    fs::path dataDir;
    std::map<std::string, DataFile> files;
    // Every lookup (transit or relation) finds a whole entry of 80 to 150
    // words through the real reader, and no entry of their files is left
    // unreached.
    void ExpectEachFindsItsEntry(const std::vector<TransitLookup>& lookups) const {
        test::FakeNotices notices;
        PageBuffers buffers(notices);
        std::set<std::pair<std::string, std::size_t>> reached;
        for (const TransitLookup& t : lookups) {
            SCOPED_TRACE(t.key);
            EXPECT_EQ(t.built, (EntryLocation{t.key, t.file}));
            const DataFile& file = transitFiles.at(t.file);
            const auto entry =
                std::find_if(file.entries.begin(), file.entries.end(),
                             [&](const Entry& e) { return AsksFor(file.lines[e.keyLine], t.key); });
            if (entry == file.entries.end()) {
                ADD_FAILURE() << "no entry in " << t.file;
                continue;
            }
            EXPECT_TRUE(reached.emplace(t.file, entry->keyLine).second) << "asked twice";
            std::size_t words = 0;
            std::vector<std::string> expected;
            for (std::size_t k = entry->keyLine; k < entry->end; ++k) {
                expected.push_back("  " + file.lines[k]);
                words += k > entry->keyLine ? Words(file.lines[k]).size() : 0;
            }
            EXPECT_GE(words, 80u) << Place(t.file, entry->keyLine);
            EXPECT_LE(words, 150u) << Place(t.file, entry->keyLine);
            // The real reader takes the same lines.
            buffers.ResetPage();
            EXPECT_EQ(CopyInterpretation(dataDir / t.file, t.key, buffers), EntryCopy::Copied);
            std::vector<std::string> copied;
            for (const Line& line : buffers.PageLines()) {
                copied.emplace_back(line.View());
            }
            EXPECT_EQ(copied, expected);
        }
        std::set<std::string> names;
        for (const TransitLookup& t : lookups) {
            names.insert(t.file);
        }
        for (const std::string& name : names) {
            for (const Entry& entry : transitFiles.at(name).entries) {
                EXPECT_TRUE(reached.contains({name, entry.keyLine}))
                    << "nothing reaches " << Place(name, entry.keyLine);
            }
        }
    }

    const std::vector<TransitLookup> transits = TransitLookups();
    const std::vector<TransitLookup> relations = RelationLookups();
    const std::vector<TransitLookup> progressions = ProgressionLookups();
    // The files of transits and of two charts.
    std::map<std::string, DataFile> transitFiles;
};

TEST_F(LibraryTest, EveryAcceptedRequestShowsAWholeEntryOfItsOwn) {
    // The program writes lastpage.txt into its folder: keep it out of the repository.
    test::TempFolder folder;
    fs::copy(dataDir, folder.Path(), fs::copy_options::recursive);
    test::FakeDisplay display;
    test::FakeNotices notices;
    AtomicFileWriter writer;
    PageBuffers buffers(display, notices, folder.Path(), writer);
    Requests program(buffers, notices, folder.Path());

    std::map<std::string, int> counts;
    std::set<std::pair<std::string, std::size_t>> reached;
    for (const Request& r : requests) {
        SCOPED_TRACE(r.name);
        ++counts[r.kind];
        notices.messages.clear();
        program.SetSelection(r.selection);
        (program.*r.click)();
        EXPECT_TRUE(notices.messages.empty()) << notices.messages.front().text;
        EXPECT_EQ(program.SectionKey(), r.key);
        EXPECT_EQ(program.DataFileName(), folder.Path() / r.file);

        const DataFile& file = files.at(r.file);
        std::size_t key = 0;
        while (key < file.lines.size() && !AsksFor(file.lines[key], r.key)) {
            ++key;
        }
        if (key == file.lines.size()) {
            ADD_FAILURE() << "no entry in " << r.file;
            continue;
        }
        EXPECT_TRUE(file.lines[key].starts_with(r.key))
            << "taken by " << Place(r.file, key) << ": \"" << file.lines[key] << "\"";
        EXPECT_TRUE(reached.emplace(r.file, key).second) << Place(r.file, key) << " asked twice";
        std::size_t end = key + 1;
        while (end < file.lines.size() && !IsEndMarker(file.lines[end])) {
            ++end;
        }
        EXPECT_LT(end, file.lines.size()) << "no end marker after " << Place(r.file, key);
        std::size_t words = 0;
        std::vector<std::string> page = {""};
        for (std::size_t k = key; k < end; ++k) {
            page.push_back("  " + file.lines[k]);
            words += k > key ? Words(file.lines[k]).size() : 0;
        }
        page.push_back("");
        EXPECT_GE(words, 80u) << Place(r.file, key);

        std::vector<std::string> shown;
        std::string shownBytes;
        for (const Line& line : buffers.PageLines()) {
            shown.emplace_back(line.View());
            shownBytes += shown.back() + "\r\n";
        }
        EXPECT_TRUE(shown.size() > 1 && shown[1].starts_with("  " + r.key));
        EXPECT_EQ(shown, page);
        EXPECT_EQ(display.shownText, shownBytes + "\r\n");
    }
    EXPECT_EQ(counts["sign"], 84);
    EXPECT_EQ(counts["house"], 120);
    EXPECT_EQ(counts["rising"], 12);
    EXPECT_EQ(counts["aspect"], 161);
    EXPECT_EQ(requests.size(), 377u);
    // An entry no request reaches is text nobody can ever read.
    for (const auto& [name, file] : files) {
        for (const Entry& entry : file.entries) {
            EXPECT_TRUE(reached.contains({name, entry.keyLine}))
                << "no request reaches " << Place(name, entry.keyLine);
        }
    }
}

TEST_F(LibraryTest, EveryTransitFindsAWholeEntryOfItsOwn) {
    ExpectEachFindsItsEntry(transits);
}

TEST_F(LibraryTest, EveryRelationEntryIsFoundAndEachPairReadsAsWritten) {
    EXPECT_EQ(relations.size(), 252u + 120u + 60u + 48u);
    ExpectEachFindsItsEntry(relations);
    // A pair read from both sides is the same entry whichever side owns which.
    for (std::size_t x = 0; x < kRelationPoints.size(); ++x) {
        for (std::size_t y = 0; y < x; ++y) {
            if (OneSided(x) && OneSided(y)) {
                continue;
            }
            const EntryLocation reversed = SynastryAspectEntry(
                static_cast<NatalPoint>(x), AspectFamily::Discordant, static_cast<NatalPoint>(y));
            EXPECT_EQ(reversed, (EntryLocation{"Synastry " + kRelationPoints[y] +
                                                   " discordant to " + kRelationPoints[x],
                                               "SYNASTRY_" + kRelationPoints[y] + ".TXT"}));
        }
    }
}

TEST_F(LibraryTest, EveryProgressionAndSolarReturnEntryIsFound) {
    EXPECT_EQ(progressions.size(), 5u * 36u + 24u + 24u);
    ExpectEachFindsItsEntry(progressions);
}

TEST_F(LibraryTest, NoSentenceOfEightWordsOrMoreAppearsTwice) {
    std::map<std::string, std::string> seen;  // normalised sentence -> where first met
    std::size_t entries = 0;
    std::size_t words = 0;
    for (const auto& [fileName, file] : AllFiles()) {
        // A named reference: the lambda below may not capture a structured binding.
        const std::string& name = fileName;
        for (const Entry& entry : file.entries) {
            ++entries;
            words += Words(file.lines[entry.keyLine]).size();
            std::string sentence;
            std::size_t from = entry.keyLine + 1;
            bool started = false;
            const auto finish = [&] {
                const std::vector<std::string> w = Words(sentence);
                words += w.size();
                std::string text;
                for (const std::string& word : w) {
                    text += (text.empty() ? "" : " ") + word;
                }
                const auto [first, fresh] = seen.emplace(text, Place(name, from));
                EXPECT_TRUE(w.size() < 8 || fresh)
                    << "\"" << text << "\" stands at " << first->second << " and at "
                    << Place(name, from);
                sentence.clear();
                started = false;
            };
            for (std::size_t k = entry.keyLine + 1; k < entry.end; ++k) {
                for (const char c : file.lines[k]) {
                    if (!started && std::isalnum(static_cast<unsigned char>(c))) {
                        from = k;
                        started = true;
                    }
                    if (c == '.' || c == '!' || c == '?') {
                        finish();
                    } else {
                        sentence += c;
                    }
                }
                sentence += ' ';
            }
            finish();
        }
    }
    EXPECT_GE(entries, 377u + 312u);
    std::cout << "Interpretation library: " << entries << " entries, " << words << " words\n";
    RecordProperty("entries", static_cast<int>(entries));
    RecordProperty("words", static_cast<int>(words));
}

TEST_F(LibraryTest, FilesFollowTheDataFileFormat) {
    std::map<std::string, std::set<std::string>> keysOf;
    for (const Request& r : requests) {
        keysOf[r.file].insert(r.key);
    }
    for (const TransitLookup& t : transits) {
        keysOf[t.file].insert(t.key);
    }
    for (const TransitLookup& t : relations) {
        keysOf[t.file].insert(t.key);
    }
    for (const TransitLookup& t : progressions) {
        keysOf[t.file].insert(t.key);
    }
    for (const auto& [name, file] : AllFiles()) {
        SCOPED_TRACE(name);
        const std::string& b = file.bytes;
        std::size_t line = 0;
        for (std::size_t i = 0; i < b.size(); ++i) {
            const auto c = static_cast<unsigned char>(b[i]);
            const bool crlf = (c == '\r' && i + 1 < b.size() && b[i + 1] == '\n') ||
                              (c == '\n' && i > 0 && b[i - 1] == '\r');
            // Control bytes and the five byte values code page 1252 leaves undefined.
            const bool bad = (c < 0x20 && c != '\t' && !crlf) || c == 0x7F || c == 0x81 ||
                             c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
            if (bad) {
                ADD_FAILURE() << "byte " << static_cast<int>(c) << " in " << Place(name, line);
                break;
            }
            line += c == '\n' ? 1 : 0;
        }
        EXPECT_TRUE(b.ends_with("\r\n")) << "the last line has no line end";
        std::set<std::size_t> keyLines;
        for (const Entry& entry : file.entries) {
            keyLines.insert(entry.keyLine);
            EXPECT_LT(entry.end, file.lines.size())
                << "no end marker closes " << Place(name, entry.keyLine);
        }
        for (std::size_t k = 0; k < file.lines.size(); ++k) {
            for (const std::string& key : keysOf[name]) {
                EXPECT_TRUE(keyLines.contains(k) || !AsksFor(file.lines[k], key))
                    << Place(name, k) << " would be taken for \"" << key << "\": " << file.lines[k];
            }
        }
    }
}

}  // namespace
}  // namespace tolvaris
