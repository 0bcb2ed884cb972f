#include "output_window/output_display_host.h"

#include <QFile>
#include <QPlainTextEdit>

#include "common/cp1252.h"

namespace tolvaris {

QString DecodeCp1252(std::string_view bytes) {
    const auto& table = Cp1252ToUnicodeTable();
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        *out++ = QChar(table[static_cast<unsigned char>(byte)]);
    }
    return text;
}

void OutputDisplayHost::EnsureCreated() {
    if (!window_) {
        window_ = factory_();
    }
}

int OutputDisplayHost::InnerHeight() const {
    if (!window_ || window_->isMinimized()) {
        return 0;
    }
    return window_->centralWidget()->height();
}

void OutputDisplayHost::LoadPageFile(const std::filesystem::path& pageFile) {
    QFile file(QString::fromStdString(pageFile.string()));
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
    }
    SetPageText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void OutputDisplayHost::SetPageText(std::string_view bytes) {
    EnsureCreated();
    window_->SetPageText(DecodeCp1252(bytes));
}

void OutputDisplayHost::ShowModeless() {
    EnsureCreated();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void OutputDisplayHost::SetCaption(std::string_view caption) {
    EnsureCreated();
    window_->setWindowTitle(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
}

void OutputDisplayHost::Close() {
    if (OutputWindow* window = window_) {
        window->close();
    }
}

}  // namespace tolvaris
