#include "ui/output_window/output_printing.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <algorithm>

#include "core/engine/screen.h"
#include "render/pdf_document.h"
#include "render/text_pages.h"

namespace tolvaris {
namespace {

QString DefaultPdfPath(QWidget* parent, const QString& suggestedName) {
    return QFileDialog::getSaveFileName(parent, OutputPrinting::tr("Export PDF"), suggestedName,
                                        OutputPrinting::tr("PDF files (*.pdf)"));
}

}  // namespace

OutputPrinting::OutputPrinting(Notices& notices, TextQuery text)
    : notices_(notices), text_(std::move(text)), choosePdfPath_(DefaultPdfPath) {}

int OutputPrinting::PaintOn(QPrinter& printer, const QFont& font) const {
    TextPageStyle style;
    style.font = font;
    style.title = title_;
    return PrintTextPages(printer, text_(), style);
}

void OutputPrinting::ShowPreview(QWidget* parent, const QFont& font) {
    // The preview needs no printer: it draws the pages on the screen.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(PageSizeFromEnvironment()));
    printer.setDocName(title_);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(tr("Print Preview"));
    // Qt's default size shows a page too small to read.
    if (const QScreen* screen = parent != nullptr ? parent->screen() : nullptr) {
        const QRect available = screen->availableGeometry();
        preview.resize(std::min(available.width(), available.height() * 9 / 10),
                       available.height() * 9 / 10);
    }
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [this, &font](QPrinter* target) { PaintOn(*target, font); });
    preview.exec();
}

void OutputPrinting::Print(QWidget* parent, const QFont& font) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        notices_.Message(tr(kNoPrinterMessage).toStdString(), tr("Print").toStdString(),
                         NoticeIcon::Information);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(PageSizeFromEnvironment()));
    printer.setDocName(title_);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (PaintOn(printer, font) == 0) {
        notices_.Message(tr("The printer could not be used.").toStdString(),
                         tr("Print").toStdString(), NoticeIcon::Exclamation);
    }
}

std::string OutputPrinting::ExportPdf(QWidget* parent, const QFont& font) {
    QString suggested = title_;
    suggested.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString path = choosePdfPath_(parent, suggested + QStringLiteral(".pdf"));
    if (path.isEmpty()) {
        return {};
    }
    PdfContent content;
    content.style.font = font;
    content.style.title = title_;
    content.lines = text_();
    content.chart = chart_ ? &*chart_ : nullptr;
    content.pageSize = PageSizeFromEnvironment();
    std::string error;
    {
        BusyPointer busy(notices_);
        error = WritePdf(path.toStdString(), content, *writer_);
    }
    if (!error.empty()) {
        notices_.Message(tr("The PDF could not be written: %1.")
                             .arg(QString::fromStdString(error))
                             .toStdString(),
                         tr("Export PDF").toStdString(), NoticeIcon::Exclamation);
    }
    return error;
}

}  // namespace tolvaris
