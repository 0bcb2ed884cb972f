#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "core/chart/birth_chart.h"
#include "core/forecast/transits.h"
#include "core/reading/reading_document.h"

namespace tolvaris {

// Paints charts into files from a program without windows (tolvaris-chart).
// The QGuiApplication painting needs is made on first use, on the offscreen
// platform unless QT_QPA_PLATFORM names another, so no display is needed and
// a run that draws nothing never starts Qt. This header includes no Qt.
class OffscreenDrawing {
public:
    OffscreenDrawing(int& argc, char** argv);
    ~OffscreenDrawing();
    OffscreenDrawing(const OffscreenDrawing&) = delete;
    OffscreenDrawing& operator=(const OffscreenDrawing&) = delete;

    // The next wheels and wheel pages are bi-wheels: `second` (which must
    // outlive its use) on the outer ring with the contacts; nullptr for one chart.
    void SetSecondChart(const BirthChart* second) { second_ = second; }

    // PNG or SVG by the extension; "" or a message naming the path and reason.
    std::string WriteWheel(const BirthChart& chart, const std::filesystem::path& path,
                           int sizePixels, bool caption = true);
    // The report of `document` on the locale's paper, or as HTML; the second
    // chart of SetSecondChart makes it a relationship's, `search` a forecast's.
    std::string WriteReport(const BirthChart& chart, const std::filesystem::path& path,
                            const ReadingDocument& document, bool html, bool chartData,
                            const TransitSearch* search, const TransitSpan& span,
                            const std::string& displayZone);

private:
    void EnsureGui();
    struct Gui;
    int& argc_;
    char** argv_;
    std::unique_ptr<Gui> gui_;
    const BirthChart* second_ = nullptr;
};

}  // namespace tolvaris
