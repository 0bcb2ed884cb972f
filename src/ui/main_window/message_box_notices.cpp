#include "ui/main_window/message_box_notices.h"

#include <QApplication>
#include <QMessageBox>

namespace tolvaris {
namespace {

QString FromUtf8(std::string_view text) {
    // A label breaks lines at LF; a CR before it would show as a stray glyph.
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QMessageBox::Icon ToIcon(NoticeIcon icon) {
    switch (icon) {
        case NoticeIcon::Exclamation:
            return QMessageBox::Warning;
        case NoticeIcon::Critical:
            return QMessageBox::Critical;
        case NoticeIcon::Information:
            break;
    }
    return QMessageBox::Information;
}

}  // namespace

void MessageBoxNotices::Message(std::string_view text, std::string_view caption, NoticeIcon icon) {
    // The user answers with the ordinary pointer, even in the middle of a read.
    if (busy_) {
        QApplication::restoreOverrideCursor();
    }
    QMessageBox box(ToIcon(icon), FromUtf8(caption), FromUtf8(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
    if (busy_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void MessageBoxNotices::SetBusy(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace tolvaris
