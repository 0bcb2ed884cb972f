#include "core/reading/reading_document.h"

namespace tolvaris {

std::string_view TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

void ReadingDocument::AddHeading(int level, std::string_view text, std::string_view note) {
    // A section with nothing in it (a chart's heading whose facts the
    // report's first page shows) gives way to the next; the title stays.
    if (blocks_.size() > 1 && blocks_.back().kind == ReadingBlock::Kind::Heading &&
        blocks_.back().level >= level) {
        blocks_.pop_back();
    }
    blocks_.push_back({ReadingBlock::Kind::Heading, std::string(text), level, std::string(note)});
}

void ReadingDocument::AddFact(std::string_view text) {
    blocks_.push_back({ReadingBlock::Kind::Fact, std::string(TrimSpaces(text)), 0, {}});
}

void ReadingDocument::AddMissing(std::string_view text) {
    blocks_.push_back({ReadingBlock::Kind::Missing, std::string(text), 0, {}});
}

void ReadingDocument::AddEntryLines(const std::vector<std::string_view>& lines) {
    std::string paragraph;
    const auto close = [&] {
        if (!paragraph.empty()) {
            blocks_.push_back({ReadingBlock::Kind::Paragraph, std::move(paragraph), 0, {}});
            paragraph.clear();
        }
    };
    if (lines.empty()) {
        return;
    }
    // The entry's block may have said its heading and then lines of its own
    // (a transit's dates); only an entry with none is headed by its key line.
    auto last = blocks_.rbegin();
    while (last != blocks_.rend() && last->kind == ReadingBlock::Kind::Fact) {
        ++last;
    }
    const bool headed = last != blocks_.rend() && last->kind == ReadingBlock::Kind::Heading &&
                        (last == blocks_.rbegin() || last->level >= 3);
    const std::string_view key = TrimSpaces(lines.front());
    if (!headed) {
        AddHeading(3, key);
    }
    if (const auto given = entriesGiven_.find(key); given != entriesGiven_.end()) {
        AddFact("Its text stands above, under \x93" + given->second + "\x94.");
        return;
    }
    entriesGiven_.emplace(key, headed ? last->text : std::string(key));
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view words = TrimSpaces(line);
        if (words.empty()) {
            close();
            continue;
        }
        if (!paragraph.empty()) {
            paragraph += ' ';
        }
        paragraph += words;
    }
    close();
}

std::string ReadingDocument::Title() const {
    for (const ReadingBlock& block : blocks_) {
        if (block.kind == ReadingBlock::Kind::Heading) {
            return block.text;
        }
    }
    return {};
}

}  // namespace tolvaris
