// PDFs as a reader sees them: poppler's pdftotext finds the words and the
// title, pdfinfo counts the pages and names the paper; failures leave no file.
#include "render/pdf_document.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QPdfWriter>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "support/pdf_tools.h"
#include "support/temp_folder.h"
#include "support/wheel_charts.h"

namespace tolvaris {
namespace {

using test::PdfPages;
using test::PdfText;
using test::RunCommand;

TextPageStyle Style(const QString& title) {
    TextPageStyle style;
    style.font = QFont(QStringLiteral("DejaVu Sans Mono"), 10);
    style.title = title;
    return style;
}

// Lines per page as the PDF's own page format measures them.
int LinesPerPdfPage(const TextPageStyle& style, QPageSize::PageSizeId size) {
    QByteArray ignored;
    QBuffer buffer(&ignored);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(size));
    return TextPageFormat(writer, style).LinesPerPage();
}

TEST(PageSizeForLocale, IsLetterInTheAmericasThatUseItAndA4Elsewhere) {
    const struct {
        const char* locale;
        QPageSize::PageSizeId expected;
    } cases[] = {
        {"en_US", QPageSize::Letter}, {"fr_CA", QPageSize::Letter}, {"es_MX", QPageSize::Letter},
        {"en_PH", QPageSize::Letter}, {"de_DE", QPageSize::A4},     {"en_GB", QPageSize::A4},
        {"fr_FR", QPageSize::A4},     {"ja_JP", QPageSize::A4},     {"C", QPageSize::A4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(PageSizeForLocale(QLocale(QString::fromLatin1(c.locale))), c.expected);
    }
}

TEST(PageSizeForEnvironment, FollowsLcAllThenLcPaperThenLang) {
    EXPECT_EQ(PageSizeForEnvironment(nullptr, "en_US.UTF-8", "de_DE"), QPageSize::Letter);
    EXPECT_EQ(PageSizeForEnvironment("", "en_CA", "de_DE"), QPageSize::Letter);
    EXPECT_EQ(PageSizeForEnvironment("de_DE.UTF-8", "en_US", "en_US"), QPageSize::A4);
}

TEST(Pdf, HoldsTheWheelPageThenEveryLineAsSelectableText) {
    test::TempFolder folder;
    const Chart chart = test::MakeChart(test::WheelTestCharts()[1]);
    BirthChart birth;
    birth.input.name = "Anna Example";
    birth.input.date = {1990, 1, 1};
    birth.input.time = CivilTime{12, 0, 0};
    birth.input.placeName = "Berlin, Germany";
    birth.input.latitude = 52.52;
    birth.input.longitude = 13.41;
    birth.universalTime.offsetSeconds = 3600;
    birth.chart = chart;
    PdfContent content;
    content.style = Style(QStringLiteral("Anna Example"));
    content.chart = &birth;
    const QStringList reading = {"SUN IN CAPRICORN",
                                 "Patient ambition marks the quiet climber.",
                                 "\f",
                                 "MOON IN PISCES",
                                 "Feelings flow wide and deep, tidal and kind.",
                                 "VENUS RETROGRADE",
                                 "Old affections return for a second look."};
    content.lines = reading;
    AtomicFileWriter writer;
    const std::filesystem::path pdf = folder / "reading.pdf";
    ASSERT_EQ(WritePdf(pdf, content, writer), "");
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Anna Example"), std::string::npos);
    EXPECT_NE(text.find("Berlin, Germany"), std::string::npos);
    EXPECT_NE(text.find("1 January 1990"), std::string::npos);
    for (const QString& line : reading) {
        for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (word != QStringLiteral("\f")) {
                EXPECT_NE(text.find(word.toStdString()), std::string::npos) << word.toStdString();
            }
        }
    }
    // The wheel page, the page before the form feed, the page after it.
    EXPECT_EQ(PdfPages(pdf), 3);
    EXPECT_NE(text.find("Page 3 of 3"), std::string::npos);
    const std::string info = RunCommand("pdfinfo '" + pdf.string() + "'");
    const std::size_t title = info.find("Title:");
    ASSERT_NE(title, std::string::npos) << info;
    EXPECT_NE(info.substr(title, info.find('\n', title) - title).find("Anna Example"),
              std::string::npos)
        << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos);
    const std::string fonts = RunCommand("pdffonts '" + pdf.string() + "'");
    EXPECT_NE(fonts.find("Symbola"), std::string::npos);
    // Every font embedded: the "emb" column, fifth from the end of a row.
    std::istringstream rows(fonts);
    std::string row;
    int fontRows = 0;
    while (std::getline(rows, row)) {
        if (row.find("Identity-H") == std::string::npos) {
            continue;
        }
        std::istringstream words(row);
        std::vector<std::string> columns{std::istream_iterator<std::string>(words), {}};
        ASSERT_GE(columns.size(), 5U);
        EXPECT_EQ(columns[columns.size() - 5], "yes") << row;
        ++fontRows;
    }
    EXPECT_GE(fontRows, 2);
}

TEST(Pdf, TenThousandLinesGiveTheExpectedPageCountOnLetter) {
    test::TempFolder folder;
    PdfContent content;
    content.style = Style(QStringLiteral("Tolvaris"));
    content.pageSize = QPageSize::Letter;
    for (int i = 0; i < 10000; ++i) {
        content.lines.append(QStringLiteral("entry %1 of the collected readings").arg(i));
    }
    const int perPage = LinesPerPdfPage(content.style, QPageSize::Letter);
    // 10 point text on Letter with 18 mm margins: some 55 to 70 lines.
    EXPECT_GT(perPage, 50);
    EXPECT_LT(perPage, 75);
    const int expected = (10000 + perPage - 1) / perPage;
    AtomicFileWriter writer;
    const std::filesystem::path pdf = folder / "long.pdf";
    ASSERT_EQ(WritePdf(pdf, content, writer), "");
    EXPECT_EQ(PdfPages(pdf), expected);
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("entry 9999 of the collected readings"), std::string::npos);
    EXPECT_NE(text.find("Page " + std::to_string(expected) + " of " + std::to_string(expected)),
              std::string::npos);
    EXPECT_NE(RunCommand("pdfinfo '" + pdf.string() + "'").find("612 x 792"), std::string::npos);
}

TEST(Pdf, AnUnwritablePathGivesAMessageNamingItAndLeavesNoFile) {
    test::TempFolder folder;
    PdfContent content;
    content.style = Style(QStringLiteral("Tolvaris"));
    content.lines = {"a line"};
    AtomicFileWriter writer;
    const std::filesystem::path missing = folder / "no such folder" / "out.pdf";
    const std::string error = WritePdf(missing, content, writer);
    EXPECT_NE(error.find(missing.string() + ": "), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(missing));

    std::filesystem::create_directory(folder / "a folder.pdf");
    const std::string folderError = WritePdf(folder / "a folder.pdf", content, writer);
    EXPECT_NE(folderError.find("a folder.pdf: "), std::string::npos) << folderError;
    EXPECT_TRUE(std::filesystem::is_directory(folder / "a folder.pdf"));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "no temporary file left beside the target";
}

}  // namespace
}  // namespace tolvaris
