// Print Preview, Print and Export PDF of the output window: the menu keeps
// its old items, the PDF holds the data buffer's words under the title, a
// missing printer is said and nothing waits, failures leave no file.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <cstdlib>

#include "render/text_pages.h"
#include "support/pdf_tools.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::PdfPages;
using test::PdfText;
using test::TempFolder;
using test::WriteBytes;

class OutputPrintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(folder / "SIGN_Lib.TXT",
                   "SUN in Libra\r\nFair to a fault, and weighing \xE9very side.\r\n*\r\n");
        ASSERT_NE(run.ShowPage("OKSigns"), nullptr);
    }
    OutputWindow* Out() { return run.program.Output(); }
    void ExportTo(const std::filesystem::path& path) {
        Out()->Printing().SetPdfPathChooser(
            [path](QWidget*, const QString&) { return QString::fromStdString(path.string()); });
        run.Action("mnuFileExportPdf")->trigger();
    }

    TempFolder folder;
    test::ProgramRun run{folder.Path()};
};

TEST_F(OutputPrintingTest, FileMenuKeepsItsItemsAndAddsPrintingAfterThem) {
    QMenu* file = nullptr;
    for (QAction* top : Out()->menuBar()->actions()) {
        if (top->objectName() == "mnuFile") {
            file = top->menu();
        }
    }
    ASSERT_NE(file, nullptr);
    const struct {
        const char* text;
        const char* name;
        QKeySequence keys;
    } expected[] = {
        {"&Save", "mnuFileSave", QKeySequence(Qt::Key_F5)},
        {"Save &As", "mnuFileSaveAs", QKeySequence(Qt::Key_F6)},
        {"", "", QKeySequence()},
        {"Print Pre&view...", "mnuFilePrintPreview", QKeySequence()},
        {"&Print...", "mnuFilePrint", QKeySequence()},
        {"&Export PDF...", "mnuFileExportPdf", QKeySequence()},
    };
    const QList<QAction*> actions = file->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(expected)));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        QAction* action = actions[static_cast<qsizetype>(i)];
        EXPECT_EQ(action->isSeparator(), std::string(expected[i].name).empty());
        EXPECT_EQ(action->text(), QString::fromLatin1(expected[i].text));
        EXPECT_EQ(action->objectName(), QString::fromLatin1(expected[i].name));
        EXPECT_EQ(action->shortcut(), expected[i].keys);
    }
}

TEST_F(OutputPrintingTest, ExportPdfHoldsTheDataBufferUnderTheTitle) {
    const struct {
        const char* title;  // null: never set
        const char* header;
    } cases[] = {{nullptr, "Tolvaris"}, {"Anna Example", "Anna Example"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        if (c.title != nullptr) {
            Out()->SetDocumentTitle(QString::fromUtf8(c.title));
        }
        const std::filesystem::path pdf = folder / (std::string(c.header) + ".pdf");
        ExportTo(pdf);
        ASSERT_TRUE(std::filesystem::exists(pdf));
        const std::string text = PdfText(pdf);
        EXPECT_NE(text.find(c.header), std::string::npos) << text;
        EXPECT_NE(text.find("Page 1 of 1"), std::string::npos) << text;
        EXPECT_NE(text.find("SUN in Libra"), std::string::npos) << text;
        // Code page 1252's 0xE9 arrives as é.
        EXPECT_NE(text.find("weighing \xC3\xA9very side."), std::string::npos) << text;
        EXPECT_EQ(PdfPages(pdf), 1);
    }
    EXPECT_TRUE(run.notices.messages.empty());
}

TEST_F(OutputPrintingTest, ExportPdfTakesItsPaperFromTheLocaleVariables) {
    // pdfinfo names the paper it measures.
    const struct {
        const char* lcAll;
        const char* lcPaper;
        const char* pageSize;
    } cases[] = {{"", "en_US.UTF-8", "(letter)"},
                 {"", "de_DE.UTF-8", "(A4)"},
                 {"de_DE.UTF-8", "en_US.UTF-8", "(A4)"}};
    const std::string savedAll = std::getenv("LC_ALL") != nullptr ? std::getenv("LC_ALL") : "";
    const std::string savedPaper =
        std::getenv("LC_PAPER") != nullptr ? std::getenv("LC_PAPER") : "";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lcPaper);
        setenv("LC_ALL", c.lcAll, 1);
        setenv("LC_PAPER", c.lcPaper, 1);
        const std::filesystem::path pdf = folder / "paper.pdf";
        ExportTo(pdf);
        EXPECT_NE(test::PdfInfo(pdf).find(c.pageSize), std::string::npos) << test::PdfInfo(pdf);
    }
    setenv("LC_ALL", savedAll.c_str(), 1);
    setenv("LC_PAPER", savedPaper.c_str(), 1);
}

TEST_F(OutputPrintingTest, TheKeywordPageKeepsItsLineBreaksInThePdf) {
    // The keyword file reaches the data buffer whole, as one stored line.
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(end));
        WriteBytes(folder / "keywords.txt", std::string("Aries: drive") + end + "Taurus: patience" +
                                                end + end + "Gemini: talk");
        run.Press("Command2");
        const std::filesystem::path pdf = folder / "keywords.pdf";
        ExportTo(pdf);
        const std::string text = PdfText(pdf);
        EXPECT_NE(text.find("Aries: drive\nTaurus: patience\n\nGemini: talk\n"), std::string::npos)
            << text;
    }
    EXPECT_TRUE(run.notices.messages.empty());
}

TEST_F(OutputPrintingTest, ExportPdfOfAChartsReadingOpensWithItsWheelPage) {
    BirthData birth;
    birth.name = "Anna Example";
    birth.date = {1990, 1, 1};
    birth.time = CivilTime{12, 0, 0};
    birth.latitude = 52.52;
    birth.longitude = 13.41;
    birth.zone = "Europe/Berlin";
    Ephemeris ephemeris;
    BirthChartResult computed = ComputeBirthChart(ephemeris, birth);
    ASSERT_TRUE(computed.Ok()) << computed.error.message;
    Out()->SetDocumentTitle("Anna Example");
    Out()->SetDocumentChart(*computed.value);
    const std::filesystem::path pdf = folder / "anna.pdf";
    ExportTo(pdf);
    EXPECT_EQ(PdfPages(pdf), 2);
    const std::string text = PdfText(pdf);
    for (const char* expected : {"Anna Example", "Born: 1 January 1990, 12:00 local time",
                                 "Houses: Placidus", "Page 2 of 2", "SUN in Libra"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    Out()->SetDocumentChart(std::nullopt);
    ExportTo(pdf);
    EXPECT_EQ(PdfPages(pdf), 1) << "the text alone again";
}

TEST_F(OutputPrintingTest, ExportPdfToAnUnwritablePathSaysWhyAndLeavesNoFile) {
    const std::filesystem::path pdf = folder / "missing folder" / "out.pdf";
    ExportTo(pdf);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    ASSERT_EQ(run.notices.messages.size(), 1U);
    const std::string& message = run.notices.messages[0].text;
    EXPECT_NE(message.find(pdf.string()), std::string::npos) << message;
    EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
    EXPECT_FALSE(run.notices.busy);
}

TEST_F(OutputPrintingTest, ExportPdfCancelledWritesNothing) {
    Out()->Printing().SetPdfPathChooser([](QWidget*, const QString&) { return QString(); });
    run.Action("mnuFileExportPdf")->trigger();
    EXPECT_TRUE(run.notices.messages.empty());
}

TEST_F(OutputPrintingTest, PrintWithoutPrinterSaysSoAndReturns) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        GTEST_SKIP() << "this machine has a printer";
    }
    run.Action("mnuFilePrint")->trigger();
    ASSERT_EQ(run.notices.messages.size(), 1U);
    EXPECT_EQ(run.notices.messages[0].text, OutputPrinting::kNoPrinterMessage);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(OutputPrintingTest, PreviewOpensAndClosesWithoutAPrinter) {
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            shown = preview->windowTitle();
            preview->reject();
        }
    });
    run.Action("mnuFilePrintPreview")->trigger();
    EXPECT_EQ(shown, "Print Preview");
}

TEST_F(OutputPrintingTest, TenThousandLinesPrintOnTheExpectedNumberOfPages) {
    OutputPrinting printing(run.notices, [] {
        QStringList lines;
        for (int i = 0; i < 10000; ++i) {
            lines.append(QStringLiteral("collected line %1").arg(i));
        }
        return lines;
    });
    const std::filesystem::path pdf = folder / "printed.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QFont font = Out()->PageView()->font();
    TextPageStyle style;
    style.font = font;
    const int perPage = TextPageFormat(printer, style).LinesPerPage();
    ASSERT_GT(perPage, 40);
    const int pages = printing.PaintOn(printer, font);
    EXPECT_EQ(pages, (10000 + perPage - 1) / perPage);
    EXPECT_EQ(PdfPages(pdf), pages);
    EXPECT_NE(PdfText(pdf).find("collected line 9999"), std::string::npos);
}

}  // namespace
}  // namespace tolvaris
