#include "core/common/line_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "core/common/text_file.h"

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tolvaris {
namespace {

// Finds the first CR or LF; memchr is much faster than a byte loop on long lines.
const char* FindLineEnd(const char* begin, const char* end) {
    const auto count = static_cast<std::size_t>(end - begin);
    const void* lf = std::memchr(begin, '\n', count);
    const char* limit = lf != nullptr ? static_cast<const char*>(lf) : end;
    const void* cr = std::memchr(begin, '\r', static_cast<std::size_t>(limit - begin));
    return cr != nullptr ? static_cast<const char*>(cr) : limit;
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// A set of one or two bytes as a test that lets at least them through:
// (byte | mask) == value. Two bytes that differ in one bit, as the two cases
// of a letter do, pass and nothing else; an empty set lets every byte pass.
struct ByteTest {
    unsigned char mask;
    unsigned char value;

    bool Passes(char c) const { return (static_cast<unsigned char>(c) | mask) == value; }
};

ByteTest TestFor(const std::string& set) {
    if (set.empty()) {
        return {0xFF, 0xFF};
    }
    const auto a = static_cast<unsigned char>(set.front());
    const auto b = static_cast<unsigned char>(set.back());
    const auto mask = static_cast<unsigned char>(a ^ b);
    return {mask, static_cast<unsigned char>(a | mask)};
}

// Three of the wanted bytes: the first two, and one further on (the last
// one of the key, as far as 15 bytes on), which passes over far more of
// the places that merely begin like the key.
struct Pattern {
    ByteTest first;
    ByteTest second;
    ByteTest further;
    std::size_t furtherAt;  // 1 .. 15
};

Pattern PatternFor(const LineReader::LineStart& start) {
    auto test = [&](std::size_t i) { return TestFor(i < start.size() ? start[i] : std::string()); };
    const std::size_t furtherAt = std::clamp<std::size_t>(start.size(), 2, 16) - 1;
    return {test(0), test(1), test(furtherAt), furtherAt};
}

bool Matches(const Pattern& p, const char* at) {
    return p.first.Passes(at[0]) && p.second.Passes(at[1]) && p.further.Passes(at[p.furtherAt]);
}

// One byte at a time: the reference the wider searches must agree with.
const char* FindPatternPlain(const char* from, const char* end, const Pattern& p) {
    for (const char* at = from; static_cast<std::size_t>(end - at) > p.furtherAt; ++at) {
        if (Matches(p, at)) {
            return at;
        }
    }
    return nullptr;
}

// Finds the first place in [from, end - furtherAt) where the pattern's bytes
// are, or null. This looks at every byte of the file, so it takes many at a
// time.
const char* FindPatternSse2(const char* from, const char* end, const Pattern& p) {
    const char* at = from;
#if defined(__SSE2__)
    const __m128i firstMask = _mm_set1_epi8(static_cast<char>(p.first.mask));
    const __m128i firstValue = _mm_set1_epi8(static_cast<char>(p.first.value));
    const __m128i secondMask = _mm_set1_epi8(static_cast<char>(p.second.mask));
    const __m128i secondValue = _mm_set1_epi8(static_cast<char>(p.second.value));
    const __m128i furtherMask = _mm_set1_epi8(static_cast<char>(p.further.mask));
    const __m128i furtherValue = _mm_set1_epi8(static_cast<char>(p.further.value));
    auto passes = [](const char* bytes, __m128i mask, __m128i value) {
        const __m128i loaded = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
        return _mm_cmpeq_epi8(_mm_or_si128(loaded, mask), value);
    };
    for (; static_cast<std::size_t>(end - at) > 16 + p.furtherAt; at += 16) {
        const __m128i all = _mm_and_si128(_mm_and_si128(passes(at, firstMask, firstValue),
                                                        passes(at + 1, secondMask, secondValue)),
                                          passes(at + p.furtherAt, furtherMask, furtherValue));
        if (const int found = _mm_movemask_epi8(all); found != 0) {
            return at + __builtin_ctz(static_cast<unsigned>(found));
        }
    }
#endif
    return FindPatternPlain(at, end, p);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TOLVARIS_HAVE_AVX2_SEARCH 1

// Which of 32 bytes pass the test given by `mask` and `value`.
[[gnu::target("avx2")]] inline __m256i Passes32(const char* bytes, __m256i mask, __m256i value) {
    const __m256i loaded = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
    return _mm256_cmpeq_epi8(_mm256_or_si256(loaded, mask), value);
}

// The same, 32 bytes at a time, for processors that can.
[[gnu::target("avx2")]] const char* FindPatternAvx2(const char* from, const char* end,
                                                    const Pattern& p) {
    const char* at = from;
    const __m256i firstMask = _mm256_set1_epi8(static_cast<char>(p.first.mask));
    const __m256i firstValue = _mm256_set1_epi8(static_cast<char>(p.first.value));
    const __m256i secondMask = _mm256_set1_epi8(static_cast<char>(p.second.mask));
    const __m256i secondValue = _mm256_set1_epi8(static_cast<char>(p.second.value));
    const __m256i furtherMask = _mm256_set1_epi8(static_cast<char>(p.further.mask));
    const __m256i furtherValue = _mm256_set1_epi8(static_cast<char>(p.further.value));
    for (; static_cast<std::size_t>(end - at) > 32 + p.furtherAt; at += 32) {
        const __m256i all =
            _mm256_and_si256(_mm256_and_si256(Passes32(at, firstMask, firstValue),
                                              Passes32(at + 1, secondMask, secondValue)),
                             Passes32(at + p.furtherAt, furtherMask, furtherValue));
        if (const int found = _mm256_movemask_epi8(all); found != 0) {
            return at + __builtin_ctz(static_cast<unsigned>(found));
        }
    }
    return FindPatternSse2(at, end, p);
}
#endif

const char* FindPattern(const char* from, const char* end, const Pattern& p,
                        LineReader::SearchPath path) {
    switch (path) {
        case LineReader::SearchPath::Plain:
            return FindPatternPlain(from, end, p);
        case LineReader::SearchPath::Sse2:
            return FindPatternSse2(from, end, p);
        case LineReader::SearchPath::Avx2:
        case LineReader::SearchPath::Fastest:
#if defined(TOLVARIS_HAVE_AVX2_SEARCH)
            if (LineReader::Supports(LineReader::SearchPath::Avx2)) {
                return FindPatternAvx2(from, end, p);
            }
#endif
            return FindPatternSse2(from, end, p);
    }
    return FindPatternPlain(from, end, p);
}

// The last CR or LF in [begin, end), or null.
const char* FindLastLineEnd(const char* begin, const char* end) {
    const char* at = end;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; at - begin >= 16; at -= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at - 16));
        const int found =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (found != 0) {
            return at - 16 + (31 - __builtin_clz(static_cast<unsigned>(found)));
        }
    }
#endif
    while (at != begin) {
        if (IsLineEnd(*--at)) {
            return at;
        }
    }
    return nullptr;
}

}  // namespace

LineReader::LineReader(std::FILE* file, std::size_t chunkSize, SearchPath path)
    : file_(file), chunk_(std::max<std::size_t>(chunkSize, 1)), path_(path) {}

bool LineReader::Supports(SearchPath path) {
    if (path == SearchPath::Avx2) {
#if defined(TOLVARIS_HAVE_AVX2_SEARCH)
        static const bool avx2 = __builtin_cpu_supports("avx2");
        return avx2;
#else
        return false;
#endif
    }
    if (path == SearchPath::Sse2) {
#if defined(__SSE2__)
        return true;
#else
        return false;
#endif
    }
    return true;
}

bool LineReader::Fill() {
    if (pos_ < len_) {
        return true;
    }
    if (failed_) {
        return false;
    }
    pos_ = 0;
    len_ = std::fread(chunk_.data(), 1, chunk_.size(), file_);
    if (len_ == 0 && std::ferror(file_) != 0) {
        failed_ = true;
    }
    return len_ > 0;
}

LineReader::Status LineReader::Consume(std::string* out, std::size_t limit) {
    while (Fill()) {
        const char* begin = chunk_.data() + pos_;
        const char* end = chunk_.data() + len_;
        const char* stop = FindLineEnd(begin, end);
        const auto taken = static_cast<std::size_t>(stop - begin);
        if (out != nullptr && out->size() < limit) {
            const std::size_t adding = std::min(taken, limit - out->size());
            if (out->size() + adding > out->capacity() && out->size() >= chunk_.size()) {
                ReserveForLongLine(*out, adding, limit);
            }
            out->append(begin, adding);
        }
        pos_ += taken;
        if (stop != end) {
            skipLineFeed_ = *stop == '\r';
            ++pos_;
            lineOpen_ = false;
            GiveBackRoom(out);
            return Status::Line;
        }
    }
    lineOpen_ = false;
    GiveBackRoom(out);
    return failed_ ? Status::Error : Status::Line;
}

// A line longer than a chunk may run on to the end of the file: room for
// all of that at once, rather than a copy of the line each time it doubles.
void LineReader::ReserveForLongLine(std::string& line, std::size_t adding,
                                    std::size_t limit) const {
    std::size_t rest = len_ - pos_;
    struct stat seen {};
    const long at = std::ftell(file_);
    if (at >= 0 && ::fstat(::fileno(file_), &seen) == 0 && seen.st_size > at) {
        rest += static_cast<std::size_t>(seen.st_size - at);
    }
    ReserveRoom(line, line.size() + std::max(std::min(rest, limit - line.size()), adding));
}

// A long line that ended well before the file did gives back the room it
// was given, so that many long lines never hold many times the file.
void LineReader::GiveBackRoom(std::string* line) {
    if (line != nullptr && line->size() >= chunk_.size() && line->capacity() / 2 > line->size()) {
        line->shrink_to_fit();
    }
}

LineReader::Status LineReader::ReadHead(std::string& head, std::size_t limit,
                                        std::size_t& leadingSpaces) {
    head.clear();
    leadingSpaces = 0;
    if (lineOpen_) {
        if (const Status status = SkipRest(); status == Status::Error) {
            return status;
        }
    }
    if (skipLineFeed_) {
        if (!Fill()) {
            return failed_ ? Status::Error : Status::End;
        }
        skipLineFeed_ = false;
        if (chunk_[pos_] == '\n') {
            ++pos_;
        }
    }
    if (!Fill()) {
        return failed_ ? Status::Error : Status::End;
    }
    // Leading spaces, possibly across chunks.
    while (Fill()) {
        const char* begin = chunk_.data() + pos_;
        const char* end = chunk_.data() + len_;
        const char* first = std::find_if(begin, end, [](char c) { return c != ' '; });
        leadingSpaces += static_cast<std::size_t>(first - begin);
        pos_ += static_cast<std::size_t>(first - begin);
        if (first != end) {
            break;
        }
    }
    if (failed_) {
        return Status::Error;
    }
    lineOpen_ = true;
    // Take the head without passing the line end.
    while (head.size() < limit && Fill()) {
        const char* begin = chunk_.data() + pos_;
        const char* end = begin + std::min(len_ - pos_, limit - head.size());
        const char* stop = FindLineEnd(begin, end);
        head.append(begin, stop);
        pos_ += static_cast<std::size_t>(stop - begin);
        if (stop != end) {
            break;
        }
    }
    if (failed_) {
        return Status::Error;
    }
    return Status::Line;
}

LineReader::Status LineReader::ReadRest(std::string& head) {
    if (!lineOpen_) {
        return Status::Line;
    }
    return Consume(&head, std::string::npos);
}

LineReader::Status LineReader::SkipRest() {
    if (!lineOpen_) {
        return Status::Line;
    }
    return Consume(nullptr, 0);
}

LineReader::Status LineReader::SkipToLineStartingWith(const LineStart& start) {
    const Pattern pattern = PatternFor(start);
    // Searching for a line end would find line starts where there are none.
    const bool everyLine = std::any_of(start.begin(), start.end(), [](const std::string& set) {
        return set.find_first_of("\r\n") != std::string::npos;
    });
    for (;;) {
        if (lineOpen_ && Consume(nullptr, 0) == Status::Error) {
            return Status::Error;
        }
        if (!Fill()) {
            return failed_ ? Status::Error : Status::End;
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (chunk_[pos_] == '\n') {
                ++pos_;
                continue;
            }
        }
        if (everyLine) {
            return Status::Line;
        }
        // A line starts at `begin`. Rather than going from line to line, look
        // for the wanted bytes anywhere, and then at whether only spaces stand
        // between them and the start of their line.
        const char* begin = chunk_.data() + pos_;
        const char* end = chunk_.data() + len_;
        for (const char* at = begin; (at = FindPattern(at, end, pattern, path_)) != nullptr; ++at) {
            const char* lineStart = at;
            while (lineStart != begin && lineStart[-1] == ' ') {
                --lineStart;
            }
            if (lineStart == begin || IsLineEnd(lineStart[-1])) {
                pos_ = static_cast<std::size_t>(lineStart - chunk_.data());
                return Status::Line;
            }
        }
        // No line that ends in this chunk is wanted. The last one may go on
        // in the next chunk, with too little of it here to tell.
        const char* lastLineEnd = FindLastLineEnd(begin, end);
        const char* lastLine = lastLineEnd != nullptr ? lastLineEnd + 1 : begin;
        pos_ = len_;
        if (lastLine == end) {
            skipLineFeed_ = *lastLineEnd == '\r';
            continue;
        }
        const char* text = lastLine;
        while (text != end && *text == ' ') {
            ++text;
        }
        if (static_cast<std::size_t>(end - text) <= pattern.furtherAt) {
            pos_ = static_cast<std::size_t>(lastLine - chunk_.data());
            return Status::Line;
        }
        lineOpen_ = true;
    }
}

LineReader::Status LineReader::ReadLine(std::string& line) {
    std::string none;
    std::size_t spaces = 0;
    const Status status = ReadHead(none, 0, spaces);
    if (status != Status::Line) {
        return status;
    }
    line.append(spaces, ' ');
    return ReadRest(line);
}

}  // namespace tolvaris
