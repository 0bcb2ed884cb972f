// A reading typeset and printed, or exported as PDF or HTML.
#include "ui/chart_window/report_output.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QEvent>
#include <QPrinter>
#include <QPushButton>
#include <utility>

#include "render/report_html.h"
#include "ui/chart_window/chart_file_dialogs.h"

namespace tolvaris {
namespace {

// The texts' translation context.
class ReportTexts {
    Q_DECLARE_TR_FUNCTIONS(tolvaris::ReportOutput)
};

void Tell(const ReportOutput& output, const QString& text, NoticeIcon icon) {
    output.notices.Message(text.toStdString(), output.caption, icon);
}

void Print(const ReportOutput& output, ReportContent content,
           const std::function<ReadingDocument()>& makeDocument) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(content.pageSize));
    printer.setDocName(QString::fromStdString(content.chart->input.name));
    switch (output.dialogs.AskPrint(printer)) {
        case ChartFileDialogs::PrintAnswer::Print:
            break;
        case ChartFileDialogs::PrintAnswer::Cancel:
            return;
        case ChartFileDialogs::PrintAnswer::NoPrinter:
            Tell(output, ReportTexts::tr("No printer is set up on this computer."),
                 NoticeIcon::Information);
            return;
    }
    const ReadingDocument document = makeDocument();
    content.document = &document;
    // The report is laid out in its own coordinates.
    printer.setResolution(kReportResolution);
    printer.setPageMargins(kReportMargins, QPageLayout::Millimeter);
    if (!PaintReport(printer, content)) {
        Tell(output, ReportTexts::tr("The printer could not be used."), NoticeIcon::Exclamation);
    }
}

void Export(const ReportOutput& output, ReportContent content,
            const std::filesystem::path& suggested,
            const std::function<ReadingDocument()>& makeDocument) {
    const std::optional<std::filesystem::path> chosen = output.dialogs.AskReportFile(suggested);
    if (!chosen) {
        return;
    }
    const ReadingDocument document = makeDocument();
    content.document = &document;
    const QString extension = QString::fromStdString(chosen->extension().string()).toLower();
    const bool html = extension == QStringLiteral(".html") || extension == QStringLiteral(".htm");
    const std::string error = html ? WriteReportHtml(*chosen, content, output.writer)
                                   : WriteReportPdf(*chosen, content, output.writer);
    if (!error.empty()) {
        Tell(output,
             ReportTexts::tr("The report could not be exported: %1.")
                 .arg(QString::fromStdString(error)),
             NoticeIcon::Critical);
    }
}

// Keeps buttons enabled exactly when the button watched is.
class EnabledMirror : public QObject {
public:
    EnabledMirror(QPushButton& watched, std::vector<QPushButton*> followers)
        : QObject(&watched), watched_(watched), followers_(std::move(followers)) {
        watched.installEventFilter(this);
        Follow();
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange) {
            Follow();
        }
        return false;
    }

private:
    void Follow() {
        for (QPushButton* follower : followers_) {
            follower->setEnabled(watched_.isEnabled());
        }
    }

    QPushButton& watched_;
    std::vector<QPushButton*> followers_;
};

}  // namespace

void OutputReport(const ReportOutput& output, ReportAction action, ReportContent content,
                  const std::filesystem::path& suggested,
                  const std::function<ReadingDocument()>& makeDocument) {
    if (content.chart == nullptr) {
        return;
    }
    content.pageSize = PageSizeFromEnvironment();
    if (action == ReportAction::Print) {
        Print(output, content, makeDocument);
    } else {
        Export(output, content, suggested, makeDocument);
    }
}

void AddReportButtons(QBoxLayout& row, QPushButton& reading, const QString& what,
                      const std::function<void(ReportAction)>& asked) {
    std::vector<QPushButton*> buttons;
    for (const ReportAction action : {ReportAction::Print, ReportAction::Export}) {
        const bool print = action == ReportAction::Print;
        auto* button = new QPushButton(
            print ? ReportTexts::tr("Print report...") : ReportTexts::tr("Export report..."),
            reading.parentWidget());
        button->setObjectName(reading.objectName() + (print ? "Print" : "Export"));
        button->setToolTip(print ? ReportTexts::tr("%1, typeset and printed").arg(what)
                                 : ReportTexts::tr("%1, typeset as a PDF or HTML file").arg(what));
        QObject::connect(button, &QPushButton::clicked, button, [asked, action] { asked(action); });
        row.insertWidget(row.indexOf(&reading) + static_cast<int>(buttons.size()) + 1, button, 0,
                         row.itemAt(row.indexOf(&reading))->alignment());
        buttons.push_back(button);
    }
    new EnabledMirror(reading, std::move(buttons));
}

}  // namespace tolvaris
