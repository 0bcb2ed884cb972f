#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace tolvaris {

namespace line_storage {

// Lines are stored by the million, so each costs little beyond its text:
// short lines are packed one after another into shared blocks, each behind
// a record head of 8 bytes (where its block begins, and its length); a long
// line has a block of its own and keeps the string it came in. A block
// lives as long as any line in it.
struct Block {
    std::atomic<std::size_t> references;  // its lines, and the filling cursor below
    std::size_t used = 0;                 // bytes of records so far
    std::size_t capacity;                 // bytes of records it can hold
    std::string longText;                 // a long line's text; empty in a shared block

    explicit Block(std::size_t recordBytes, std::size_t initialReferences)
        : references(initialReferences), capacity(recordBytes) {}
    char* Records() { return reinterpret_cast<char*>(this + 1); }
};

inline constexpr std::size_t kHeadBytes = 8;
inline constexpr std::size_t kBlockBytes = std::size_t{64} << 10;
// Longer lines get their own block: a shared block then wastes little room
// at its end, and a very long line is never copied.
inline constexpr std::size_t kLongLine = 2048;
inline constexpr std::uint32_t kLongMark = 0xFFFFFFFF;

inline Block* NewBlock(std::size_t recordBytes, std::size_t initialReferences) {
    void* memory = ::operator new(sizeof(Block) + recordBytes);
    return new (memory) Block(recordBytes, initialReferences);
}

inline void Release(Block* block, std::size_t references = 1) noexcept {
    if (block->references.fetch_sub(references, std::memory_order_acq_rel) == references) {
        block->~Block();
        ::operator delete(block);
    }
}

inline std::uint32_t ReadHead(const char* record, std::size_t at) {
    std::uint32_t value;
    std::memcpy(&value, record + at, sizeof value);
    return value;
}

inline Block* BlockOf(const char* record) {
    return reinterpret_cast<Block*>(const_cast<char*>(record) - ReadHead(record, 0));
}

inline char* WriteHead(Block* block, char* record, std::uint32_t length) {
    const auto offset = static_cast<std::uint32_t>(record - reinterpret_cast<char*>(block));
    std::memcpy(record, &offset, sizeof offset);
    std::memcpy(record + sizeof offset, &length, sizeof length);
    return record;
}

inline const char* StoreLong(std::string text) {
    Block* block = NewBlock(kHeadBytes, 1);
    block->longText = std::move(text);
    return WriteHead(block, block->Records(), kLongMark);
}

// The shared block that new short lines go into, one per thread. It takes
// the references for all the lines a block can hold when it starts the
// block, and gives back those it did not use when it moves on, so that
// storing a line needs no atomic operation.
class Filling {
public:
    Filling() = default;
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;
    ~Filling() { Leave(); }

    const char* Store(std::string_view text) {
        const std::size_t bytes = kHeadBytes + text.size();
        if (block_ == nullptr || block_->capacity - block_->used < bytes) {
            Block* fresh = NewBlock(kBlockBytes, 1 + kMostLines);
            Leave();
            block_ = fresh;
            unusedReferences_ = kMostLines;
        }
        char* record = WriteHead(block_, block_->Records() + block_->used,
                                 static_cast<std::uint32_t>(text.size()));
        std::memcpy(record + kHeadBytes, text.data(), text.size());
        block_->used += bytes;
        --unusedReferences_;
        return record;
    }

private:
    // Every record takes more than its head.
    static constexpr std::size_t kMostLines = kBlockBytes / kHeadBytes;

    void Leave() {
        if (block_ != nullptr) {
            Release(block_, 1 + unusedReferences_);
            block_ = nullptr;
        }
    }

    Block* block_ = nullptr;
    std::size_t unusedReferences_ = 0;
};

inline thread_local Filling filling;

}  // namespace line_storage

// An immutable stored line. The page buffer and the data buffer hold the same
// lines, so they share one copy of the text; empty lines need no storage.
class Line {
public:
    Line() = default;
    explicit Line(std::string_view text)
        : record_(text.empty() ? nullptr
                  : text.size() > line_storage::kLongLine
                      ? line_storage::StoreLong(std::string(text))
                      : line_storage::filling.Store(text)) {}
    explicit Line(const char* text) : Line(std::string_view(text)) {}
    // A long string is kept as it is, not copied; a short one is copied and
    // left to the caller, who may fill it again.
    explicit Line(std::string&& text)
        : record_(text.size() > line_storage::kLongLine ? line_storage::StoreLong(std::move(text))
                                                        : Line(std::string_view(text)).Take()) {}

    Line(const Line& other) noexcept : record_(other.record_) { Acquire(); }
    Line(Line&& other) noexcept : record_(other.Take()) {}
    Line& operator=(const Line& other) noexcept {
        Line(other).Swap(*this);
        return *this;
    }
    Line& operator=(Line&& other) noexcept {
        Line(std::move(other)).Swap(*this);
        return *this;
    }
    ~Line() {
        if (record_ != nullptr) {
            line_storage::Release(line_storage::BlockOf(record_));
        }
    }

    std::string_view View() const {
        if (record_ == nullptr) {
            return {};
        }
        const std::uint32_t length = line_storage::ReadHead(record_, 4);
        if (length == line_storage::kLongMark) {
            return line_storage::BlockOf(record_)->longText;
        }
        return {record_ + line_storage::kHeadBytes, length};
    }
    bool Empty() const { return record_ == nullptr; }

    // Two copies for the price of one: appending puts every line into two
    // buffers, and the reference count is shared by other threads' lines.
    std::pair<Line, Line> CopyTwice() const {
        if (record_ != nullptr) {
            line_storage::BlockOf(record_)->references.fetch_add(2, std::memory_order_relaxed);
        }
        return {Line(Counted{}, record_), Line(Counted{}, record_)};
    }
    std::size_t Size() const { return View().size(); }

    friend bool operator==(const Line& a, const Line& b) { return a.View() == b.View(); }

private:
    // Takes over a reference already counted.
    struct Counted {};
    Line(Counted, const char* record) : record_(record) {}

    void Acquire() const {
        if (record_ != nullptr) {
            line_storage::BlockOf(record_)->references.fetch_add(1, std::memory_order_relaxed);
        }
    }
    const char* Take() { return std::exchange(record_, nullptr); }
    void Swap(Line& other) noexcept { std::swap(record_, other.record_); }

    const char* record_ = nullptr;
};

}  // namespace tolvaris
