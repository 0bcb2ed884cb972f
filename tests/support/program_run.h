#pragma once

#include <QRect>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>

#include "app/program.h"
#include "core/common/atomic_file.h"
#include "core/settings/setting_values.h"
#include "support/fake_screen.h"

class QAction;

// Readable failure messages; defined in qt_test_main.cpp.
void PrintTo(const QRect& rect, std::ostream* out);
namespace tolvaris {
void PrintTo(const SettingValues& values, std::ostream* out);
}  // namespace tolvaris

namespace tolvaris::test {

// Writes for real and counts the writes of each file name.
class CountingFileWriter : public AtomicFileWriter {
public:
    std::string WriteFile(const std::filesystem::path& target, const Producer& produce,
                          Durability durability) override;
    std::map<std::string, int> writes;
};

// One run of the whole program in a folder, with fake message boxes and a
// fake save dialog; its main window is shown and active.
struct ProgramRun {
    explicit ProgramRun(const std::filesystem::path& folder);

    // Clicks one of the main window's buttons by its object name.
    void Press(const char* button);
    // A request whose page is shown; the output window is then the active
    // one, where its shortcuts work. Null (and a failure) if none shows.
    OutputWindow* ShowPage(const char* button);
    // An action of the output window by its object name.
    QAction* Action(const char* name);
    // What the output window shows; empty while there is none.
    QString Shown();

    FakeNotices notices;
    FakeSaveDialog dialog;
    CountingFileWriter writer;
    Program program;
};

// Lets closed windows' deferred deletion happen.
void DeleteClosedWindows();

// The output window's stored outer frame in pixels.
QRect TwipsRect(const SettingValues& settings);

}  // namespace tolvaris::test
