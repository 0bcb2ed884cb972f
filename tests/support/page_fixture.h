#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/common/atomic_file.h"
#include "core/engine/page_buffers.h"
#include "support/fake_screen.h"
#include "support/temp_folder.h"

namespace tolvaris::test {

// The text of each line, to compare with what a test expects.
inline std::vector<std::string> LineTexts(const std::vector<Line>& lines) {
    std::vector<std::string> texts;
    texts.reserve(lines.size());
    for (const Line& line : lines) {
        texts.emplace_back(line.View());
    }
    return texts;
}

// A program folder of its own with the page buffers over fake screen seams:
// what most core tests start from.
class PageFixture : public ::testing::Test {
protected:
    void Append(std::string_view text) { buffers.AppendLine(Line(std::string(text))); }
    std::string PageFile() const { return ReadBytes(folder / "lastpage.txt"); }
    // Some other page, shown as a request shows one.
    void ShowOtherPage(std::string_view text) {
        buffers.ResetPage();
        Append(text);
        buffers.ShowPage();
    }
    static std::vector<std::string> Texts(const std::vector<Line>& lines) {
        return LineTexts(lines);
    }
    // The one message shown; a test failure when there is not exactly one.
    const RecordedMessage& OnlyMessage() const {
        EXPECT_EQ(notices.messages.size(), 1U);
        return notices.messages.at(0);
    }

    TempFolder folder;
    FakeDisplay display;
    FakeNotices notices;
    AtomicFileWriter writer;
    PageBuffers buffers{display, notices, folder.Path(), writer};
};

}  // namespace tolvaris::test
