#include "support/program_run.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace tolvaris::test {

std::string CountingFileWriter::WriteFile(const std::filesystem::path& target,
                                          const Producer& produce, Durability durability) {
    ++writes[target.filename().string()];
    return AtomicFileWriter::WriteFile(target, produce, durability);
}

ProgramRun::ProgramRun(const std::filesystem::path& folder)
    : program(folder, notices, dialog, writer) {
    program.Window().show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&program.Window()));
}

void ProgramRun::Press(const char* button) {
    QPushButton* pushButton = program.Window().Button(button);
    ASSERT_NE(pushButton, nullptr) << button;
    QTest::mouseClick(pushButton, Qt::LeftButton);
}

OutputWindow* ProgramRun::ShowPage(const char* button) {
    Press(button);
    OutputWindow* output = program.Output();
    EXPECT_NE(output, nullptr) << button;
    if (output != nullptr) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(output));
    }
    return output;
}

QAction* ProgramRun::Action(const char* name) {
    QAction* action =
        program.Output() != nullptr ? program.Output()->findChild<QAction*>(name) : nullptr;
    EXPECT_NE(action, nullptr) << name;
    return action;
}

QString ProgramRun::Shown() {
    return program.Output() != nullptr ? program.Output()->PageView()->toPlainText() : QString();
}

void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QRect TwipsRect(const SettingValues& s) {
    return QRect(s.outputLeft / 15, s.outputTop / 15, s.outputWidth / 15, s.outputHeight / 15);
}

}  // namespace tolvaris::test
