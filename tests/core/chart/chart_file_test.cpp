#include "core/chart/chart_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <string>

#include "support/temp_folder.h"

namespace tolvaris {
namespace {

constexpr std::string_view kBerlinFile =
    "tolvaris-chart 1\n"
    "name: Anna Beispiel\n"
    "date: 1990-01-01\n"
    "time: 12:00:00\n"
    "place: Berlin, Land Berlin, Germany\n"
    "latitude: 52.520000\n"
    "longitude: 13.410000\n"
    "zone: Europe/Berlin\n"
    "houses: placidus\n"
    "orbs: conjunction=8,sextile=5,square=7,trine=7,opposition=8\n";

BirthData BerlinBirth() {
    BirthData birth;
    birth.name = "Anna Beispiel";
    birth.date = {1990, 1, 1};
    birth.time = CivilTime{12, 0, 0};
    birth.placeName = "Berlin, Land Berlin, Germany";
    birth.latitude = 52.52;
    birth.longitude = 13.41;
    birth.zone = "Europe/Berlin";
    return birth;
}

void ExpectSameBirth(const BirthData& a, const BirthData& b) {
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.date, b.date);
    EXPECT_EQ(a.time, b.time);
    EXPECT_EQ(a.placeName, b.placeName);
    EXPECT_DOUBLE_EQ(a.latitude, b.latitude);
    EXPECT_DOUBLE_EQ(a.longitude, b.longitude);
    EXPECT_EQ(a.zone, b.zone);
    EXPECT_EQ(a.utcOffsetSeconds, b.utcOffsetSeconds);
    EXPECT_EQ(a.fold, b.fold);
    EXPECT_EQ(a.houseSystem, b.houseSystem);
    EXPECT_DOUBLE_EQ(a.orbs[AspectKind::Conjunction], b.orbs[AspectKind::Conjunction]);
    EXPECT_DOUBLE_EQ(a.orbs[AspectKind::Sextile], b.orbs[AspectKind::Sextile]);
    EXPECT_DOUBLE_EQ(a.orbs[AspectKind::Square], b.orbs[AspectKind::Square]);
    EXPECT_DOUBLE_EQ(a.orbs[AspectKind::Trine], b.orbs[AspectKind::Trine]);
    EXPECT_DOUBLE_EQ(a.orbs[AspectKind::Opposition], b.orbs[AspectKind::Opposition]);
}

TEST(ChartFile, WritesTheDocumentedTextAndReadsItBack) {
    EXPECT_EQ(FormatChartFile(BerlinBirth()), kBerlinFile);
    const ChartFileResult parsed = ParseChartFile(kBerlinFile, "berlin.chart");
    ASSERT_TRUE(parsed.value) << parsed.error;
    EXPECT_EQ(parsed.error, "");
    ExpectSameBirth(*parsed.value, BerlinBirth());
}

TEST(ChartFile, RoundTripsEveryKindOfBirth) {
    BirthData unknownTime = BerlinBirth();
    unknownTime.time.reset();
    unknownTime.houseSystem = HouseSystem::WholeSign;

    BirthData byOffset = BerlinBirth();
    byOffset.zone.clear();
    byOffset.utcOffsetSeconds = 5 * 3600 + 45 * 60;
    byOffset.latitude = -33.868820;
    byOffset.longitude = -151.209295;

    BirthData lmtOffset = byOffset;
    lmtOffset.utcOffsetSeconds = -(53 * 60 + 28);

    BirthData repeated = BerlinBirth();
    repeated.fold = FoldChoice::Later;
    repeated.time = CivilTime{2, 30, 15};
    repeated.houseSystem = HouseSystem::Regiomontanus;
    repeated.orbs = Orbs({10.5, 0, 15, 6.25, 0.125});

    BirthData accents = BerlinBirth();
    accents.name = "Zoë Ørsted 李";
    accents.placeName = "Zürich, Zurich, Switzerland";
    accents.zone = "Europe/Zurich";
    accents.fold = FoldChoice::Earlier;

    BirthData extremes = BerlinBirth();
    extremes.name.clear();
    extremes.placeName.clear();
    extremes.latitude = -90;
    extremes.longitude = 180;
    extremes.date = {1, 1, 1};
    extremes.houseSystem = HouseSystem::Koch;

    for (const BirthData& birth : {unknownTime, byOffset, lmtOffset, repeated, accents, extremes}) {
        const std::string text = FormatChartFile(birth);
        const ChartFileResult parsed = ParseChartFile(text, "x.chart");
        ASSERT_TRUE(parsed.value) << parsed.error << "\n" << text;
        ExpectSameBirth(*parsed.value, birth);
        EXPECT_EQ(FormatChartFile(*parsed.value), text);
    }
}

TEST(ChartFile, KeepsEachNameOnOneLine) {
    BirthData birth = BerlinBirth();
    birth.name = "  Anna\nzone: Asia/Tokyo\t";
    birth.placeName = "Berlin\r\n";
    const ChartFileResult parsed = ParseChartFile(FormatChartFile(birth), "x.chart");
    ASSERT_TRUE(parsed.value) << parsed.error;
    EXPECT_EQ(parsed.value->name, "Anna zone: Asia/Tokyo");
    EXPECT_EQ(parsed.value->placeName, "Berlin");
    EXPECT_EQ(parsed.value->zone, "Europe/Berlin");

    birth.name = "Z\xFCrich \xE2\x82";  // Latin-1 and a cut-off character
    const ChartFileResult latin1 = ParseChartFile(FormatChartFile(birth), "x.chart");
    ASSERT_TRUE(latin1.value) << latin1.error;
    EXPECT_EQ(latin1.value->name, "Z?rich ??");
}

TEST(ChartFile, ReadsWhatPeopleWriteByHand) {
    const struct {
        const char* label;
        std::string text;
    } cases[] = {
        {"CRLF line ends and a byte order mark",
         "\xEF\xBB\xBFtolvaris-chart 1\r\ndate: 1990-01-01\r\ntime: 12:00\r\nlatitude: "
         "52.52\r\nlongitude: 13.41\r\nzone: Europe/Berlin\r\n"},
        {"blank lines, spaces, another order, no final line end",
         "tolvaris-chart 1\n\n  zone :  Europe/Berlin  \nlongitude:13.41\ntime: 12:00:00\n\n"
         "latitude: +52.52\ndate: 1990-01-01"},
        {"house system by display name, part of the orbs",
         "tolvaris-chart 1\ndate: 1990-01-01\ntime: 12:00\nlatitude: 52.52\nlongitude: 13.41\n"
         "zone: Europe/Berlin\nhouses: Placidus\norbs: conjunction=8\n"},
        // 52°31'12" = 52.52 and 13°24'36" = 13.41; written back as decimals.
        {"coordinates as an atlas prints them",
         "tolvaris-chart 1\ndate: 1990-01-01\ntime: 12:00\nlatitude: 52°31'12\"N\n"
         "longitude: 13e24:36\nzone: Europe/Berlin\n"},
    };
    for (const auto& c : cases) {
        const ChartFileResult parsed = ParseChartFile(c.text, "hand.chart");
        ASSERT_TRUE(parsed.value) << c.label << ": " << parsed.error;
        BirthData expected = BerlinBirth();
        expected.name.clear();
        expected.placeName.clear();
        ExpectSameBirth(*parsed.value, expected);
        EXPECT_NE(
            FormatChartFile(*parsed.value).find("latitude: 52.520000\nlongitude: 13.410000\n"),
            std::string::npos);
    }
}

// One line of the Berlin file replaced (or, with an empty replacement, removed).
std::string WithLine(int lineNumber, std::string_view replacement) {
    std::string text(kBerlinFile);
    std::size_t start = 0;
    for (int line = 1; line < lineNumber; ++line) {
        start = text.find('\n', start) + 1;
    }
    const std::size_t end = text.find('\n', start) + 1;
    text.replace(start, end - start,
                 replacement.empty() ? std::string() : std::string(replacement) + "\n");
    return text;
}

TEST(ChartFile, NamesTheFileTheLineAndTheFieldOfEveryFault) {
    const struct {
        const char* label;
        std::string text;
        const char* message;
    } cases[] = {
        {"empty", "",
         "c.chart, line 1: the file is empty; a chart file begins with "
         "\"tolvaris-chart 1\"."},
        {"garbage", "\x01\x02garbage\n",
         "c.chart, line 1: the format version line holds a control character."},
        {"another program's file", "[Settings]\nFontSize=12\n",
         "c.chart, line 1: the format version line should be \"tolvaris-chart 1\" but is "
         "\"[Settings]\": this is not a chart file."},
        {"newer version", WithLine(1, "tolvaris-chart 2"),
         "c.chart, line 1: the format version \"2\" is not one this program reads (it reads 1)."},
        {"truncated in a key", std::string(kBerlinFile.substr(0, kBerlinFile.find("latitude") + 3)),
         "c.chart, line 6: the line \"lat\" is not written as \"field: value\"."},
        {"truncated at a line end",
         std::string(kBerlinFile.substr(0, kBerlinFile.find("latitude"))),
         "c.chart, line 5: the file ends without the field \"latitude\"."},
        {"no zone", WithLine(8, ""),
         "c.chart, line 9: the file ends without the field \"zone\" or \"utc-offset\"."},
        {"latitude out of range", WithLine(6, "latitude: 95"),
         "c.chart, line 6: the latitude 95 is outside -90 to 90."},
        {"longitude not a number", WithLine(7, "longitude: 13.41.2"),
         "c.chart, line 7: the longitude \"13.41.2\" is not understood; write decimal degrees, "
         "east positive (13.405, -74.006), or degrees and minutes (13e24, 13°24'30\"E, 13 24 E, "
         "74:00:21W)."},
        {"longitude with two hemisphere letters", WithLine(7, "longitude: 1e2e3"),
         "c.chart, line 7: the longitude \"1e2e3\" is not understood; write decimal degrees, "
         "east positive (13.405, -74.006), or degrees and minutes (13e24, 13°24'30\"E, 13 24 E, "
         "74:00:21W)."},
        {"longitude out of range", WithLine(7, "longitude: -180.000001"),
         "c.chart, line 7: the longitude -180.000001 is outside -180 to 180."},
        {"date that never was", WithLine(3, "date: 1990-02-30"),
         "c.chart, line 3: the date 1990-02-30 does not exist."},
        {"time past midnight", WithLine(4, "time: 24:00"),
         "c.chart, line 4: time must lie between 00:00 and 23:59:59."},
        {"unknown zone", WithLine(8, "zone: Europe/Atlantis"),
         "c.chart, line 8: unknown time zone \"Europe/Atlantis\"."},
        {"offset too far", WithLine(8, "utc-offset: +16:00"),
         "c.chart, line 8: UTC offset must lie between -15:00 and +15:00."},
        {"zone and offset", std::string(kBerlinFile) + "utc-offset: +01:00\n",
         "c.chart, line 11: the fields \"zone\" and \"utc-offset\" exclude each other; keep "
         "one."},
        {"duplicated field", WithLine(9, "date: 1990-01-02"),
         "c.chart, line 9: the field \"date\" appears a second time (first on line 3)."},
        {"unknown field", WithLine(9, "colour: blue"),
         "c.chart, line 9: unknown field \"colour\"."},
        {"bad fold", WithLine(9, "fold: both"),
         "c.chart, line 9: the fold \"both\" is neither earlier nor later."},
        {"bad house system", WithLine(9, "houses: topocentric"),
         "c.chart, line 9: the house system \"topocentric\" is not one of placidus, koch, "
         "porphyry, regiomontanus, campanus, equal, whole-sign."},
        {"unknown orb", WithLine(10, "orbs: quincunx=3"),
         "c.chart, line 10: the orb \"quincunx\" is not one of conjunction, sextile, square, "
         "trine, opposition."},
        {"orb too wide", WithLine(10, "orbs: square=16"),
         "c.chart, line 10: the square orb 16 is outside 0 to 15."},
        {"orb twice", WithLine(10, "orbs: trine=6,trine=7"),
         "c.chart, line 10: the trine orb is given twice."},
        {"invalid UTF-8 in a name", WithLine(2, "name: Z\xFCrich"),
         "c.chart, line 2: the field \"name\" is not valid UTF-8 text."},
        {"overlong UTF-8", WithLine(5, "place: \xC0\xAF"),
         "c.chart, line 5: the field \"place\" is not valid UTF-8 text."},
        {"NUL in a value", WithLine(2, std::string("name: A\0B", 9)),
         "c.chart, line 2: the field \"name\" holds a control character."},
        {"name too long", WithLine(2, "name: " + std::string(201, 'a')),
         "c.chart, line 2: the name is longer than 200 characters."},
        {"ten megabytes of junk", std::string(10 * 1024 * 1024, 'x'),
         "c.chart, line 1: the file is 10485760 bytes long, more than a chart file's 65536, so it "
         "is not one."},
    };
    for (const auto& c : cases) {
        const ChartFileResult parsed = ParseChartFile(c.text, "c.chart");
        EXPECT_FALSE(parsed.value) << c.label;
        EXPECT_EQ(parsed.error, c.message) << c.label;
    }
}

TEST(ChartFile, ReadsAndWritesFilesOnDisk) {
    test::TempFolder folder;
    AtomicFileWriter writer;
    const std::filesystem::path path = folder / "anna.chart";
    ASSERT_EQ(WriteChartFile(path, BerlinBirth(), writer), "");
    EXPECT_EQ(test::ReadBytes(path), kBerlinFile);
    const ChartFileResult read = ReadChartFile(path);
    ASSERT_TRUE(read.value) << read.error;
    ExpectSameBirth(*read.value, BerlinBirth());

    test::WriteBytes(folder / "big.chart", std::string(kMaxChartFileBytes + 1, '\n'));
    ASSERT_EQ(mkfifo((folder / "pipe.chart").c_str(), 0600), 0);
    const struct {
        std::filesystem::path path;
        std::string message;
    } cases[] = {
        {folder / "missing.chart", (folder / "missing.chart").string() + ": no such file."},
        {folder.Path(), folder.Path().string() + ": not an ordinary file, so not a chart file."},
        {folder / "pipe.chart",
         (folder / "pipe.chart").string() + ": not an ordinary file, so not a chart file."},
        {folder / "big.chart", (folder / "big.chart").string() +
                                   ": the file is larger than 64 KiB, too large for a "
                                   "chart file."},
    };
    for (const auto& c : cases) {
        const ChartFileResult result = ReadChartFile(c.path);
        EXPECT_FALSE(result.value) << c.path;
        EXPECT_EQ(result.error, c.message);
    }
}

}  // namespace
}  // namespace tolvaris
