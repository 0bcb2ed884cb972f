#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace tolvaris {

// Reads text lines from an open file in fixed-size chunks, so that a line of
// any length is read without holding the file twice. A line ends at CR LF, at
// a lone CR and at a lone LF (files written on Linux end lines with LF); the
// end of the file ends the last line.
class LineReader {
public:
    enum class Status { Line, End, Error };

    // How SkipToLineStartingWith scans for candidate lines: the widest the
    // processor offers, or one chosen so tests can check each against the rest.
    enum class SearchPath { Fastest, Avx2, Sse2, Plain };
    static bool Supports(SearchPath path);

    explicit LineReader(std::FILE* file, std::size_t chunkSize = std::size_t{1} << 16,
                        SearchPath path = SearchPath::Fastest);

    // Appends the next whole line to `line` (without its line end).
    Status ReadLine(std::string& line);

    // Starts the next line: skips its leading spaces (code 32 only), counting
    // them, and reads at most `limit` bytes of the rest into `head`. Then call
    // either ReadRest to append the rest of the line to `head`, or SkipRest.
    Status ReadHead(std::string& head, std::size_t limit, std::size_t& leadingSpaces);
    Status ReadRest(std::string& head);
    Status SkipRest();

    // What the text of a line of interest begins with, after its leading
    // spaces: for each of its first bytes, the one or two bytes it may be,
    // such as both cases of a letter (an empty set: any byte). A set that
    // holds CR or LF makes every line one of interest.
    using LineStart = std::vector<std::string>;

    // Skips the rest of the current line and then every line that cannot
    // begin with `start`, without reading them, and stops at the start of
    // the next line that may. It may stop at other lines too, never past a
    // wanted one; ReadHead then reads the line. Returns End at the end of
    // the file.
    Status SkipToLineStartingWith(const LineStart& start);

private:
    bool Fill();
    // Consumes bytes up to the end of the current line; appends at most
    // `limit` of them to `out` when `out` is not null.
    Status Consume(std::string* out, std::size_t limit);
    void ReserveForLongLine(std::string& line, std::size_t adding, std::size_t limit) const;
    void GiveBackRoom(std::string* line);

    std::FILE* file_;
    std::vector<char> chunk_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool lineOpen_ = false;      // ReadHead stopped inside a line
    bool skipLineFeed_ = false;  // the previous line ended with CR
    bool failed_ = false;
    SearchPath path_;
};

}  // namespace tolvaris
