#pragma once

#include <QCoreApplication>
#include <filesystem>
#include <optional>

class QPrinter;
class QWidget;

namespace tolvaris {

// The file dialogs of the Chart menu, behind an interface so that tests can
// answer them without a modal window.
class ChartFileDialogs {
public:
    virtual ~ChartFileDialogs() = default;
    // The chart file to open, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> AskOpenChart(
        const std::filesystem::path& folder) = 0;
    // Where to save, ".chart" added to a bare name and any overwrite
    // confirmed; nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> AskSaveChart(
        const std::filesystem::path& suggested) = 0;

    // Where to export the wheel (PNG or SVG, by the name's extension) and,
    // for a PNG, its size in pixels; nothing when the user cancelled.
    struct WheelImage {
        std::filesystem::path path;
        int sizePixels = 1600;
    };
    virtual std::optional<WheelImage> AskWheelImage(const std::filesystem::path& suggested) = 0;

    // Where to export the report: PDF, or HTML when the name ends in .html
    // or .htm; nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> AskReportFile(
        const std::filesystem::path& suggested) = 0;

    // Whether to print on `printer`, set up as the user chose; NoPrinter
    // when there is none to choose.
    enum class PrintAnswer { Print, Cancel, NoPrinter };
    virtual PrintAnswer AskPrint(QPrinter& printer) = 0;
};

// The dialogs as QFileDialog, filter "Charts (*.chart)", over the given
// window, or over the active one when none is given.
class QtChartFileDialogs : public ChartFileDialogs {
    Q_DECLARE_TR_FUNCTIONS(tolvaris::QtChartFileDialogs)

public:
    explicit QtChartFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<std::filesystem::path> AskOpenChart(const std::filesystem::path& folder) override;
    std::optional<std::filesystem::path> AskSaveChart(
        const std::filesystem::path& suggested) override;
    std::optional<WheelImage> AskWheelImage(const std::filesystem::path& suggested) override;
    std::optional<std::filesystem::path> AskReportFile(
        const std::filesystem::path& suggested) override;
    PrintAnswer AskPrint(QPrinter& printer) override;

private:
    QWidget* Parent() const;
    static QString Filter();

    QWidget* parent_;
};

}  // namespace tolvaris
