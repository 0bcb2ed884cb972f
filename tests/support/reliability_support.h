#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/engine/screen.h"
#include "core/output/save_dialog.h"
#include "support/temp_folder.h"

namespace tolvaris::test {

// Opens nothing and reads no 100 MB page back in: the page file's size is
// all it takes note of.
class PageSizeDisplay : public OutputDisplay {
public:
    void EnsureCreated() override {}
    int InnerHeight() const override { return 400; }
    void LoadPageFile(const std::filesystem::path& pageFile) override {
        shownBytes = std::filesystem::file_size(pageFile);
        ++pages;
    }
    // Only when no page file could be written.
    void SetPageText(std::string_view bytes) override {
        shownBytes = bytes.size();
        ++failedPageFiles;
    }
    void ShowModeless() override {}
    void SetCaption(std::string_view) override {}

    std::uintmax_t shownBytes = 0;
    long pages = 0;
    long failedPageFiles = 0;
};

// Runs `body` in a forked child and returns what it returned: "" when all
// its checks held, else what went wrong. A child that crashes, is killed or
// runs past `seconds` (a hang) is reported as such. Gtest assertions must
// not be used inside `body`: they would be lost with the child.
std::string InChild(const std::function<std::string()>& body, unsigned seconds = 60);

// In a child: becomes the unprivileged user 65534 when running as root, since
// root ignores file permissions. Returns "" or why it could not.
std::string BecomeUnprivileged();

// Open file descriptors of this process.
std::size_t OpenDescriptorCount();

// A "kB" field of /proc/self/status such as VmRSS or VmHWM; 0 when absent.
std::size_t StatusKilobytes(const char* field);

// Every file of a folder with its bytes, to compare a folder before and after.
std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& folder);

// Appends a line to `failures` when `condition` is false; returns `condition`.
bool Require(std::string& failures, bool condition, const std::string& what);

// True when the test binary runs under AddressSanitizer.
constexpr bool kUnderSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

// TOLVARIS_LONG_TESTS=1 asks for the full-size cases that CI leaves out.
bool LongTestsWanted();

// A fresh folder in /dev/shm when the system has one, else an ordinary
// temporary folder; removed with everything in it. For tests that measure the
// program rather than the disk.
class FastFolder {
public:
    FastFolder();
    ~FastFolder();
    FastFolder(const FastFolder&) = delete;
    FastFolder& operator=(const FastFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    bool InMemory() const { return !fallback_; }

private:
    std::optional<TempFolder> fallback_;
    std::filesystem::path path_;
};

class AnsweringSaveDialog : public SaveDialog {
public:
    std::optional<std::filesystem::path> AskSaveFileName(const SaveDialogOptions&) override {
        ++asked;
        return answer;
    }
    std::optional<std::filesystem::path> answer;
    int asked = 0;
};

}  // namespace tolvaris::test
