#include <QApplication>
#include <QIcon>

#include "app/program.h"
#include "app/translation.h"
#include "ui/main_window/message_box_notices.h"
#include "ui/output_window/file_save_dialog.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The name fixes the user's data folder (~/.local/share/tolvaris) however
    // the executable is called; the desktop file name lets the desktop match
    // the windows to the menu entry and its icon.
    QApplication::setApplicationName("tolvaris");
    QGuiApplication::setDesktopFileName("org.tolvaris.Tolvaris");
    QApplication::setWindowIcon(QIcon(":/tolvaris.svg"));

    const std::filesystem::path folder = tolvaris::RunningProgramFolder();
    // The windows' texts in the user's language where a catalogue has them.
    const std::unique_ptr<QTranslator> translation =
        tolvaris::LoadTranslation(QLocale::system(), tolvaris::TranslationFolders(folder));
    if (translation) {
        QCoreApplication::installTranslator(translation.get());
    }

    tolvaris::MessageBoxNotices notices;
    tolvaris::FileSaveDialog saveDialog;
    tolvaris::AtomicFileWriter fileWriter;
    tolvaris::Program program(folder, notices, saveDialog, fileWriter,
                              tolvaris::ChooseWriteFolders(folder));
    program.Window().show();
    return QApplication::exec();
}
