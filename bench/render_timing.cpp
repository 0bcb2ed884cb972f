// Times the wheel painted at 800 x 800 (scale 1 and 2) and a reading of 400
// lines with its wheel page written as a PDF, on the offscreen platform.
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
#include "render/wheel_painter.h"
#include "timing_rows.h"

namespace {

using namespace tolvaris::bench;

constexpr int kWheelRuns = 101;
constexpr int kPdfRuns = 11;
constexpr int kReadingLines = 400;

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
    return 0;
}
