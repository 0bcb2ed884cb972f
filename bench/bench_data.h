#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>

namespace tolvaris::bench {

// A generated interpretation data file: entries of 5 to 30 CR LF lines of 40
// to 120 bytes, each closed by an end marker, the wanted entry last.
struct InterpretationFile {
    std::filesystem::path path;
    std::uint64_t bytes = 0;
    std::string key;              // appears as a key line only in the last entry
    std::int32_t entryLines = 0;  // lines the reader stores for it
};

InterpretationFile WriteInterpretationFile(const std::filesystem::path& path,
                                           std::uint64_t targetBytes, std::uint64_t seed);

// An interpretation file written on first use, so that a run of only some
// of the benchmarks writes only the files they need.
class LazyInterpretationFile {
public:
    LazyInterpretationFile(std::filesystem::path path, std::uint64_t targetBytes,
                           std::uint64_t seed)
        : path_(std::move(path)), targetBytes_(targetBytes), seed_(seed) {}
    const InterpretationFile& Get();

private:
    std::filesystem::path path_;
    std::uint64_t targetBytes_;
    std::uint64_t seed_;
    bool written_ = false;
    InterpretationFile file_;
};

// Plain text of CR LF lines of 40 to 120 bytes, about `targetBytes` long;
// returns the bytes written.
std::uint64_t WriteTextFile(const std::filesystem::path& path, std::uint64_t targetBytes,
                            std::uint64_t seed);

// One line of text of exactly `length` bytes, without a line end; the same
// seed gives the same line.
std::string TextLine(std::uint64_t seed, std::size_t length);

}  // namespace tolvaris::bench
