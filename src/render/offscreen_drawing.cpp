#include "render/offscreen_drawing.h"

#include <QFont>
#include <QGuiApplication>
#include <cstdio>

#include "core/common/atomic_file.h"
#include "core/forecast/forecast_range.h"
#include "render/pdf_document.h"
#include "render/report_html.h"
#include "render/report_pdf.h"
#include "render/wheel_image.h"

namespace tolvaris {

struct OffscreenDrawing::Gui {
    explicit Gui(int& argc, char** argv) : application(argc, argv) {}
    QGuiApplication application;
};

OffscreenDrawing::OffscreenDrawing(int& argc, char** argv) : argc_(argc), argv_(argv) {}

OffscreenDrawing::~OffscreenDrawing() = default;

void OffscreenDrawing::EnsureGui() {
    if (gui_ || QGuiApplication::instance() != nullptr) {
        return;
    }
    // A command-line tool keeps standard error for its own one-line
    // messages: Qt's notes about the session (no runtime folder, no display
    // settings) would read as failures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "tolvaris-chart: %s\n", qPrintable(message));
        }
    });
    // Drawing to a file never needs a display: a platform named in the
    // environment (xcb without one aborts the process) is not asked.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    gui_ = std::make_unique<Gui>(argc_, argv_);
}

std::string OffscreenDrawing::WriteWheel(const BirthChart& chart, const std::filesystem::path& path,
                                         int sizePixels, bool caption) {
    EnsureGui();
    AtomicFileWriter writer;
    if (second_ != nullptr) {
        return WriteBiWheelImage(
            path, chart.chart, second_->chart,
            ComputeSynastry(chart.chart, second_->chart, chart.input.orbs), sizePixels,
            QString::fromStdString(PairName(chart.input.name, second_->input.name)), writer,
            caption ? CaptionOf(chart, *second_) : WheelCaption());
    }
    return WriteWheelImage(path, chart.chart, sizePixels, QString::fromStdString(chart.input.name),
                           writer, caption ? CaptionOf(chart) : WheelCaption());
}

std::string OffscreenDrawing::WriteReport(const BirthChart& chart,
                                          const std::filesystem::path& path,
                                          const ReadingDocument& document, bool html,
                                          bool chartData, const TransitSearch* search,
                                          const TransitSpan& span, const std::string& displayZone) {
    EnsureGui();
    ReportContent content;
    content.document = &document;
    content.chart = &chart;
    content.outerChart = second_;
    content.chartData = chartData;
    if (search != nullptr) {
        content.timeline.search = search;
        content.timeline.span = span;
        content.timeline.offsetAt = [displayZone](std::int64_t ut) {
            return DisplayOffsetAt(displayZone, ut);
        };
    }
    content.pageSize = PageSizeFromEnvironment();
    AtomicFileWriter writer;
    return html ? WriteReportHtml(path, content, writer) : WriteReportPdf(path, content, writer);
}

}  // namespace tolvaris
