#include "common/line_reader.h"

#include <algorithm>
#include <cstring>

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

}  // namespace

LineReader::LineReader(std::FILE* file, std::size_t chunkSize)
    : file_(file), chunk_(std::max<std::size_t>(chunkSize, 1)) {}

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
            out->append(begin, std::min(taken, limit - out->size()));
        }
        pos_ += taken;
        if (stop != end) {
            skipLineFeed_ = *stop == '\r';
            ++pos_;
            lineOpen_ = false;
            return Status::Line;
        }
    }
    lineOpen_ = false;
    return failed_ ? Status::Error : Status::Line;
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
