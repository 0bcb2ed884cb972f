#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/common/atomic_file.h"
#include "core/engine/line.h"
#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"
#include "core/output/save_dialog.h"

namespace tolvaris {

inline constexpr const char* kNoDataMessage = "No data to write to file.";

// Writes `DataBuffer` and its implied spare empty slot, one CR LF line each,
// bytes unchanged, then the closing form-feed line: a buffer line that is
// exactly a form feed is written twice instead, and then no closing one.
// An existing file is replaced only once everything is written. Returns an
// empty string on success, else why it failed.
std::string WriteDataFile(const std::filesystem::path& path, const std::vector<Line>& dataBuffer,
                          AtomicFileWriter& writer);

// The bytes WriteDataFile writes, for a data buffer bound elsewhere than a
// file (standard output).
std::string DataFileText(const std::vector<Line>& dataBuffer);

// File Save and Save As of the output window. It lives for the whole run,
// not with the window, so that the remembered name survives closing it.
class OutputSaving {
public:
    OutputSaving(PageBuffers& buffers, Notices& notices, SaveDialog& dialog,
                 AtomicFileWriter& writer, std::filesystem::path programFolder);

    // The file that Save writes to: empty until the first Save As, then the
    // name last chosen there, even when writing it failed, so that the next
    // Save never silently writes an earlier file instead (it fails again,
    // and says so). "Clear all data" keeps it.
    const std::filesystem::path& SaveFileName() const { return saveFileName_; }
    void SetSaveFileName(std::filesystem::path path) { saveFileName_ = std::move(path); }

    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();

    SaveDialogOptions DialogOptions() const;

private:
    bool RefuseWithoutData();
    // Tells the user when writing fails; returns whether it succeeded.
    bool WriteAndReport(const std::filesystem::path& path);

    PageBuffers& buffers_;
    Notices& notices_;
    SaveDialog& dialog_;
    AtomicFileWriter& writer_;
    std::filesystem::path programFolder_;
    std::filesystem::path saveFileName_;
};

}  // namespace tolvaris
