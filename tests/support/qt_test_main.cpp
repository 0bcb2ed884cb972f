#include <gtest/gtest.h>

#include <QApplication>
#include <QRect>
#include <ostream>

#include "core/settings/setting_values.h"

// Readable failure messages; the test files declare these where they compare.
void PrintTo(const QRect& rect, std::ostream* out) {
    *out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", "
         << rect.height() << ")";
}

namespace tolvaris {
void PrintTo(const SettingValues& s, std::ostream* out) {
    *out << "{size " << s.outputFontSize << ", bold " << s.outputFontBold << ", italic "
         << s.outputFontItalic << ", top " << s.outputTop << ", left " << s.outputLeft
         << ", height " << s.outputHeight << ", width " << s.outputWidth << "}";
}
}  // namespace tolvaris

// Read by LeakSanitizer in the sanitizer build, ignored elsewhere: the
// patterns fontconfig makes for font fallback live in Qt's font cache until
// the process ends.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char* argv[]) {
    // Windows are tested without a display; a developer may still pick
    // another platform to watch them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // Tests close windows (and whole runs of the program) one after another;
    // that must not end anything.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
