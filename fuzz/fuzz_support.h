#pragma once

// Shared pieces of the fuzz targets: a check that stops the run with a
// readable reason, a scratch folder per process, quiet screen fakes, and a
// plain reference splitter for text lines.

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/screen.h"

namespace tolvaris::fuzz {

// libFuzzer keeps the input that made this abort as a crash artifact.
[[noreturn]] inline void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, detail.c_str());
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                   \
    do {                                                \
        if (!(condition)) {                             \
            ::tolvaris::fuzz::Fail(#condition, detail); \
        }                                               \
    } while (false)

// Bytes shown with escapes, for failure reports.
inline std::string Printable(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127 && c != '\\') {
            out.push_back(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", u);
            out += hex;
        }
    }
    return out;
}

// A folder of its own for this fuzzing process, removed when it exits
// normally; libFuzzer ends a timed run without that, so scripts/fuzz names a
// parent folder in TOLVARIS_FUZZ_SCRATCH and removes it afterwards. Else in
// /dev/shm when there is one: every run writes files, and memory is faster.
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        const char* parent = std::getenv("TOLVARIS_FUZZ_SCRATCH");
        const std::string base = parent != nullptr                           ? parent
                                 : std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                                             : "/tmp";
        std::string pattern = base + "/tolvaris-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            Fail("mkdtemp", pattern);
        }
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchFolder(), ec);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

inline void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        Fail("writing a scratch file", path.string());
    }
}

inline std::string ReadWholeFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class RecordingNotices : public Notices {
public:
    void Message(std::string_view text, std::string_view, NoticeIcon) override {
        messages.emplace_back(text);
    }
    void SetBusy(bool on) override { busy = on; }

    std::vector<std::string> messages;
    bool busy = false;
};

class NullDisplay : public OutputDisplay {
public:
    void EnsureCreated() override {}
    int InnerHeight() const override { return 400; }
    void LoadPageFile(const std::filesystem::path&) override {}
    void SetPageText(std::string_view) override {}
    void ShowModeless() override {}
    void SetCaption(std::string_view) override {}
};

// Lines end at CR LF, a lone CR or a lone LF; the end of the bytes ends the
// last line, and a line end at the very end starts no further line. Written
// over the whole text at once, to be compared with the chunked reader.
inline std::vector<std::string> ReferenceLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", from);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(from));
            break;
        }
        lines.emplace_back(bytes.substr(from, end - from));
        from = end + 1;
        if (bytes[end] == '\r' && from < bytes.size() && bytes[from] == '\n') {
            ++from;
        }
    }
    return lines;
}

}  // namespace tolvaris::fuzz
