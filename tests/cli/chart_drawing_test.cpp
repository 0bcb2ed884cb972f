// RunChartTool with a drawing seam that records its calls: --wheel and --pdf
// reach it with the chart, failures become status 1 and one line, and
// nothing is printed after a failed drawing.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/chart_tool.h"
#include "core/common/cp1252.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

class RecordingDrawing : public ChartDrawing {
public:
    std::string WriteWheel(const BirthChart& chart, const std::string& path, int sizePixels,
                           bool caption) override {
        wheels.push_back(path + " " + std::to_string(sizePixels) + (caption ? "" : " bare"));
        sunLongitude = chart.chart.bodies.at(0).longitude;
        outerSun = second ? second->chart.bodies.at(0).longitude : -1.0;
        return failWith;
    }
    std::string WriteReport(const BirthChart& chart, const std::string& path,
                            const ReadingDocument& document, bool html, bool chartData,
                            const TransitSearch* search, const TransitSpan& span,
                            const std::string& displayZone) override {
        std::string call = path + " " + Cp1252ToUtf8(document.Title()) + (html ? " (html)" : "") +
                           (chartData ? "" : " (no birth data)");
        if (search != nullptr) {
            call += " (timeline of " + std::to_string(search->transits.size()) + ", " +
                    std::to_string((span.toUt - span.fromUt) / 3600) + " h in " + displayZone + ")";
        }
        pdfs.push_back(call);
        sunLongitude = chart.chart.bodies.at(0).longitude;
        pdfLines.clear();
        for (const ReadingBlock& block : document.Blocks()) {
            pdfLines.push_back(Cp1252ToUtf8(block.text));
        }
        return failWith;
    }
    void SetSecondChart(const BirthChart* chart) override { second = chart; }
    const BirthChart* second = nullptr;
    double outerSun = -1.0;
    std::vector<std::string> wheels;
    std::vector<std::string> pdfs;
    std::vector<std::string> pdfLines;
    double sunLongitude = 0;
    std::string failWith;
};

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun RunTool(std::vector<std::string> more, ChartDrawing* drawing) {
    std::vector<std::string> all = {"--date", "1990-01-01",  "--time", "12:00",  "--latitude",
                                    "52.52",  "--longitude", "13.41",  "--zone", "Europe/Berlin"};
    all.insert(all.end(), more.begin(), more.end());
    const std::vector<std::string_view> views(all.begin(), all.end());
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunChartTool(views, out, err, ".", drawing);
    return {status, out.str(), err.str()};
}

TEST(ChartDrawingSeam, ReceivesTheChartThePathsAndTheReading) {
    test::TempFolder folder;
    test::WriteBytes(folder / "SIGN_Cap.TXT",
                     "SUN in Capricorn\r\nSteady and sure, \xE9lan.\r\n*\r\n");
    RecordingDrawing drawing;
    const ToolRun run = RunTool({"--name", "Anna", "--wheel", "a.svg", "--size", "640", "--pdf",
                                 "a.pdf", "--data", folder.Path().string()},
                                &drawing);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(drawing.wheels, std::vector<std::string>{"a.svg 640"});
    EXPECT_EQ(drawing.pdfs, std::vector<std::string>{"a.pdf FULL READING: Anna"});
    // swetest -b1.1.1990 -ut11:00 -p0: 280.7717825.
    EXPECT_NEAR(drawing.sunLongitude, 280.7717825, 1e-5);
    ASSERT_FALSE(drawing.pdfLines.empty());
    // The reading's structure: our heading for the entry, its text as a
    // paragraph, code page 1252 decoded to UTF-8, the missing one listed.
    bool key = false;
    bool decoded = false;
    bool missing = false;
    for (const std::string& line : drawing.pdfLines) {
        EXPECT_EQ(line.find('\n'), std::string::npos);
        key = key || line == "Sun in Capricorn";
        decoded = decoded || line == "Steady and sure, \xC3\xA9lan.";
        missing =
            missing || line.find("No entry \"MERCURY in\" in SIGN_Cap.TXT") != std::string::npos;
    }
    EXPECT_TRUE(key);
    EXPECT_TRUE(decoded);
    EXPECT_TRUE(missing);
    EXPECT_NE(run.err.find("entries were not found"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "") << "the files are the output";

    const ToolRun untitled =
        RunTool({"--pdf", "b.pdf", "--data", folder.Path().string()}, &drawing);
    ASSERT_EQ(untitled.status, 0);
    EXPECT_EQ(drawing.pdfs.back(), "b.pdf FULL READING");
    // A forecast's PDF has its timeline, over the day in the chart's zone, and no wheel.
    RunTool({"--transits", "2027-01-01..2027-01-01", "--pdf", "c.pdf"}, &drawing);
    EXPECT_TRUE(drawing.pdfs.back().starts_with("c.pdf FORECAST (timeline of "))
        << drawing.pdfs.back();
    EXPECT_TRUE(drawing.pdfs.back().ends_with(", 24 h in Europe/Berlin)")) << drawing.pdfs.back();
    // A solar return's: the return chart, whose Sun is back at the natal one.
    const ToolRun solar = RunTool({"--solar-return", "2027", "--wheel", "d.png", "--pdf", "d.pdf",
                                   "--data", folder.Path().string()},
                                  &drawing);
    ASSERT_EQ(solar.status, 0) << solar.err;
    EXPECT_EQ(drawing.pdfs.back(), "d.pdf SOLAR RETURN");
    EXPECT_NEAR(drawing.sunLongitude, 280.7717825, 1e-4);
    ASSERT_GT(drawing.pdfLines.size(), 1U);
    EXPECT_TRUE(drawing.pdfLines[1].starts_with("The return chart of 2027: "));
}

TEST(ChartDrawingSeam, OnlyAPlainSynastryDrawsTheSecondChartAround) {
    test::TempFolder folder;
    // The same moment as RunTool's chart, so its Sun is swetest's 280.7717825 too.
    test::WriteBytes(folder / "b.chart",
                     "tolvaris-chart 1\nname: Ben\ndate: 1990-01-01\ntime: 12:00\n"
                     "latitude: 52n31\nlongitude: 13e24\nzone: Europe/Berlin\n");
    const struct {
        const char* pair;
        double outerSun;
    } cases[] = {{"", 280.7717825}, {"--composite", -1.0}, {"--davison", -1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pair);
        RecordingDrawing drawing;
        std::vector<std::string> more = {"--with", (folder / "b.chart").string(), "--wheel",
                                         "w.svg"};
        if (*c.pair != '\0') {
            more.emplace_back(c.pair);
        }
        const ToolRun run = RunTool(more, &drawing);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NEAR(drawing.outerSun, c.outerSun, 1e-5);
        EXPECT_EQ(drawing.second, nullptr) << "the second chart is let go after the run";
    }
}

TEST(ChartDrawingSeam, AFailedDrawingIsStatusOneWithOneLineAndNoTable) {
    const struct {
        std::vector<std::string> more;
        const char* prefix;
    } cases[] = {{{"--wheel", "x.png"}, "tolvaris-chart: --wheel: x.png: Permission denied\n"},
                 {{"--pdf", "x.pdf"}, "tolvaris-chart: --pdf: x.pdf: Permission denied\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prefix);
        RecordingDrawing drawing;
        drawing.failWith = c.more[1] + ": Permission denied";
        const ToolRun run = RunTool(c.more, &drawing);
        EXPECT_EQ(run.status, kExitFailure);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.prefix);
    }
    const ToolRun none = RunTool({"--wheel", "x.png"}, nullptr);
    EXPECT_EQ(none.status, kExitFailure);
    EXPECT_EQ(none.err, "tolvaris-chart: --wheel: drawing is not available in this program\n");
}

}  // namespace
}  // namespace tolvaris
