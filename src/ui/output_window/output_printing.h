#pragma once

#include <QCoreApplication>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "core/chart/birth_chart.h"
#include "core/common/atomic_file.h"

class QPrinter;
class QWidget;

namespace tolvaris {

class Notices;

// Print preview, printing and PDF export of the collected readings (the data
// buffer), in the output window's font, headed by a title.
class OutputPrinting {
    Q_DECLARE_TR_FUNCTIONS(tolvaris::OutputPrinting)

public:
    using TextQuery = std::function<QStringList()>;
    // Asks where to write a PDF; an empty answer cancels.
    using PdfPathChooser = std::function<QString(QWidget* parent, const QString& suggestedName)>;

    OutputPrinting(Notices& notices, TextQuery text);

    void SetTitle(const QString& title) { title_ = title; }
    // The chart the readings came from: its wheel and data open the PDF.
    void SetChart(std::optional<BirthChart> chart) { chart_ = std::move(chart); }
    const QString& Title() const { return title_; }
    void SetPdfPathChooser(PdfPathChooser chooser) { choosePdfPath_ = std::move(chooser); }
    void SetFileWriter(AtomicFileWriter& writer) { writer_ = &writer; }

    void ShowPreview(QWidget* parent, const QFont& font);
    void Print(QWidget* parent, const QFont& font);
    // Returns "" or the message already shown.
    std::string ExportPdf(QWidget* parent, const QFont& font);

    // Paints the readings on a printer (the preview's pages too).
    int PaintOn(QPrinter& printer, const QFont& font) const;

    // In English; shown through tr().
    static constexpr const char* kNoPrinterMessage = QT_TRANSLATE_NOOP(
        "tolvaris::OutputPrinting",
        "No printer is installed. Export PDF... writes the readings to a PDF file instead.");

private:
    Notices& notices_;
    TextQuery text_;
    QString title_ = QStringLiteral("Tolvaris");
    std::optional<BirthChart> chart_;
    PdfPathChooser choosePdfPath_;
    AtomicFileWriter ownWriter_;
    AtomicFileWriter* writer_ = &ownWriter_;
};

}  // namespace tolvaris
