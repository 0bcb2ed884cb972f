#include <QApplication>
#include <QIcon>

#include "app/program.h"
#include "main_window/message_box_notices.h"
#include "output_window/file_save_dialog.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(":/tolvaris.svg"));

    tolvaris::MessageBoxNotices notices;
    tolvaris::FileSaveDialog saveDialog;
    tolvaris::AtomicFileWriter fileWriter;
    tolvaris::Program program(tolvaris::RunningProgramFolder(), notices, saveDialog, fileWriter);
    program.Window().show();
    return QApplication::exec();
}
