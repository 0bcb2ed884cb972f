#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tolvaris {

// A reading's structure for a typeset report, made by the same calls that
// write its page: headings, paragraphs of the entries' text, short lines of
// facts, the entries not found. Text is in code page 1252, as on the page.
struct ReadingBlock {
    enum class Kind { Heading, Paragraph, Fact, Missing };
    Kind kind = Kind::Paragraph;
    std::string text;
    // A heading's level: 1 for the reading's title, 2 for a section, 3 for
    // one entry's subject.
    int level = 0;
    // Beside a heading in smaller type (an aspect's family).
    std::string note;
    bool operator==(const ReadingBlock&) const = default;
};

class ReadingDocument {
public:
    void AddHeading(int level, std::string_view text, std::string_view note = {});
    void AddFact(std::string_view text);
    void AddMissing(std::string_view text);
    // An entry's lines as copied, its key line first: the key line heads it
    // unless a heading of ours just did; then a blank line ends a paragraph,
    // the line breaks inside one are joined with a space, the indentation
    // dropped. An entry given before (a transit's next pass) is not given
    // again: a line points to the heading it stands under.
    void AddEntryLines(const std::vector<std::string_view>& lines);

    const std::vector<ReadingBlock>& Blocks() const { return blocks_; }
    // The first heading's text, the title of the report's pages.
    std::string Title() const;

private:
    std::vector<ReadingBlock> blocks_;
    // Each entry's key line, with the heading it was first given under.
    std::map<std::string, std::string, std::less<>> entriesGiven_;
};

// "  a line  " -> "a line".
std::string_view TrimSpaces(std::string_view text);

}  // namespace tolvaris
