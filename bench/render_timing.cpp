// Times the wheel painted at 800 x 800 (scale 1 and 2), a reading of 400
// lines with its wheel page written as a PDF, and a typeset natal report of
// 30 pages, on the offscreen platform.
// Prints rows for the benchmark table; bench/run runs it.
//   tolvaris_render_timing
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/chart/birth_chart.h"
#include "render/pdf_document.h"
#include "render/report_pdf.h"
#include "render/wheel_painter.h"
#include "timing_rows.h"

namespace {

using namespace tolvaris::bench;

constexpr int kWheelRuns = 101;
constexpr int kPdfRuns = 11;
constexpr int kReadingLines = 400;
constexpr int kReportPages = 30;

double Largest(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

// The wheel on a fresh image each time, as a widget's paint or an export does.
std::vector<double> TimeWheel(const tolvaris::BirthChart& chart, qreal ratio) {
    std::vector<double> times;
    for (int run = 0; run <= kWheelRuns; ++run) {
        const Clock::time_point start = Clock::now();
        QImage image(qRound(800 * ratio), qRound(800 * ratio), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            tolvaris::PaintWheel(painter, QRectF(0, 0, 800, 800), chart);
        }
        if (run > 0) {  // the first paint loads the fonts
            times.push_back(MillisecondsSince(start));
        }
    }
    return times;
}

// A reading of the usual shape: a heading, a paragraph of long lines, a gap.
QStringList Reading() {
    QStringList lines;
    for (int i = 0; lines.size() < kReadingLines; ++i) {
        lines.append(QStringLiteral("ENTRY %1: A BODY IN A SIGN").arg(i));
        for (int j = 0; j < 6; ++j) {
            lines.append(
                QStringLiteral(
                    "Words of an interpretation that run across the page and wrap now and then, "
                    "line %1 of entry %2.")
                    .arg(j)
                    .arg(i));
        }
        lines.append(QString());
    }
    return lines;
}

// A report's document of the usual shape: a title, the chart's facts, then
// entries of a heading and three paragraphs, `entries` of them.
tolvaris::ReadingDocument ReportDocument(int entries) {
    tolvaris::ReadingDocument document;
    document.AddHeading(1, "FULL READING: Bench");
    document.AddHeading(2, "The planets");
    const std::string sentence =
        "Words of an interpretation that run across the page and wrap now and then. ";
    for (int i = 0; i < entries; ++i) {
        document.AddHeading(3, "Body " + std::to_string(i) + " aspect another body", "family");
        std::vector<std::string> lines = {"KEY " + std::to_string(i)};
        for (int paragraph = 0; paragraph < 3; ++paragraph) {
            for (int line = 0; line < 5; ++line) {
                lines.push_back("  " + sentence);
            }
            lines.emplace_back();
        }
        document.AddEntryLines(std::vector<std::string_view>(lines.begin(), lines.end()));
    }
    return document;
}

// The pages of a PDF as Qt writes them: one "/Type /Page" object each.
int PageCount(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                            pdf.count("/Type /Page "));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    tolvaris::BirthData birth;
    birth.name = "Bench";
    birth.date = {1990, 1, 1};
    birth.time = tolvaris::CivilTime{12, 0, 0};
    birth.latitude = 52.52;
    birth.longitude = 13.41;
    birth.zone = "Europe/Berlin";
    tolvaris::Ephemeris ephemeris;
    const tolvaris::BirthChartResult computed = tolvaris::ComputeBirthChart(ephemeris, birth);
    if (!computed.Ok()) {
        std::fprintf(stderr, "the chart could not be computed: %s\n",
                     computed.error.message.c_str());
        return 1;
    }
    const tolvaris::BirthChart& chart = *computed.value;

    const std::vector<double> wheel = TimeWheel(chart, 1.0);
    const std::vector<double> wheelTwice = TimeWheel(chart, 2.0);

    tolvaris::PdfContent content;
    content.style.font = QFont(QStringLiteral("Liberation Mono"), 10);
    content.style.title = QStringLiteral("Bench");
    content.lines = Reading();
    content.chart = &chart;
    const std::filesystem::path pdf =
        std::filesystem::temp_directory_path() / "tolvaris-render-timing.pdf";
    tolvaris::AtomicFileWriter writer;
    std::vector<double> pdfMs;
    for (int run = 0; run < kPdfRuns; ++run) {
        const Clock::time_point start = Clock::now();
        const std::string error = tolvaris::WritePdf(pdf, content, writer);
        pdfMs.push_back(MillisecondsSince(start));
        if (!error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    const auto pdfBytes = std::filesystem::file_size(pdf);
    std::filesystem::remove(pdf);

    // The entries that make the report's reading 30 pages after its first.
    tolvaris::ReportContent report;
    report.chart = &chart;
    int entries = 10;
    tolvaris::ReadingDocument document;
    QByteArray reportBytes;
    for (;; entries += 5) {
        document = ReportDocument(entries);
        report.document = &document;
        reportBytes = tolvaris::ReportPdfBytes(report);
        if (reportBytes.isEmpty() || PageCount(reportBytes) >= kReportPages) {
            break;
        }
    }
    std::vector<double> reportMs;
    for (int run = 0; run < kPdfRuns; ++run) {
        const Clock::time_point start = Clock::now();
        reportBytes = tolvaris::ReportPdfBytes(report);
        reportMs.push_back(MillisecondsSince(start));
    }

    const double wheelMedian = Median(wheel);
    PrintRow("Wheel painted, 800 x 800, scale 1",
             Format("%.2f ms", wheelMedian) + Format(" (max %.2f ms)", Largest(wheel)), "", "",
             "<= 16 ms", wheelMedian <= 16.0 ? "yes" : "NO");
    PrintRow("  the same at scale 2 (1600 x 1600 pixels)",
             Format("%.2f ms", Median(wheelTwice)) + Format(" (max %.2f ms)", Largest(wheelTwice)),
             "", "", "", "");
    const double pdfMedian = Median(pdfMs);
    PrintRow("PDF: wheel page and a reading of " + std::to_string(kReadingLines) + " lines",
             Format("%.1f ms", pdfMedian) + Format(", %.0f KiB", pdfBytes / 1024.0), "", "",
             "<= 1 s", pdfMedian <= 1000.0 ? "yes" : "NO");
    const double reportMedian = Median(reportMs);
    PrintRow("Report PDF, " + std::to_string(PageCount(reportBytes)) + " pages (" +
                 std::to_string(entries) + " entries)",
             Format("%.1f ms", reportMedian) + Format(", %.0f KiB", reportBytes.size() / 1024.0),
             "", "", "<= 500 ms", reportMedian <= 500.0 ? "yes" : "NO");
    return 0;
}
