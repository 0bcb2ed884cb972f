#include "core/output/output_help.h"

#include <cerrno>
#include <string>

#include "core/common/line_reader.h"
#include "core/common/text_file.h"

namespace tolvaris {
namespace {

void ReportUnreadable(Notices& notices, const std::filesystem::path& file,
                      const std::string& reason) {
    notices.Message("The help page cannot be shown: the file " + file.string() +
                        " cannot be read (" + reason + ").",
                    "Warning!", NoticeIcon::Critical);
}

}  // namespace

std::filesystem::path OutputHelpFilePath(const std::filesystem::path& programFolder) {
    return programFolder / "OutputD1.txt";
}

void ShowOutputHelp(PageBuffers& buffers, Notices& notices,
                    const std::filesystem::path& programFolder) {
    const std::filesystem::path file = OutputHelpFilePath(programFolder);
    std::string error;
    // Opened before the page is dropped, so a missing file costs nothing.
    const FileHandle handle = OpenOrdinaryFileForReading(FindFileIgnoringCase(file), error);
    if (!handle) {
        ReportUnreadable(notices, file, error);
        return;
    }

    buffers.ResetPage();
    LineReader reader(handle.get());
    std::string line;
    LineReader::Status status = LineReader::Status::Line;
    errno = 0;
    while ((status = reader.ReadLine(line)) == LineReader::Status::Line) {
        buffers.AppendLine(Line(std::move(line)));
        line.clear();
    }
    if (status == LineReader::Status::Error) {
        ReportUnreadable(notices, file, errno != 0 ? ErrnoText(errno) : "a read failed");
    }
    buffers.AppendBlankLine();
    buffers.ShowPage();
}

}  // namespace tolvaris
