#include "ui/output_window/output_display_host.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <chrono>
#include <fstream>
#include <memory>

#include "core/common/cp1252.h"

namespace tolvaris {
namespace {

// A page of this many bytes goes into the page view at once. Qt builds a text
// block per line at a few microseconds each, so a longer page (a large
// keyword file, say) would keep the user waiting: its first part is shown at
// once, and the rest is filled in while the user reads, a slice at a time
// between the window's own events.
constexpr qsizetype kPageAtOnce = qsizetype{1} << 20;
// The first part: some hundred lines, more than a screen.
constexpr qsizetype kFirstPartBytes = qsizetype{1} << 16;
// Slices of some thousand lines: Qt's own work for each insertion then
// counts for little, and the window still answers every few hundredths of
// a second.
constexpr qsizetype kSliceBytes = qsizetype{1} << 18;
constexpr std::chrono::milliseconds kFillTimePerTurn{15};
// Qt lays out a line as one block, over and over while it grows, and the
// cost rises faster than its length: a line of megabytes with no space
// (a damaged file, a file of zero bytes) kept the window busy for minutes.
// The page view therefore shows a line longer than this in pieces of this
// many characters, each a line of its own; the page file and the data
// buffer keep the line whole.
constexpr qsizetype kDisplayPieceChars = 1024;

// OutputWindow::SetPageText ends a filling-in by this name: a new page
// replaces what is left of the old one.
constexpr const char* kPageFillerName = "pageFiller";

// Where a slice of about `length` bytes that starts at `from` may end:
// after the first line feed from `from + length` on, looking no further than
// `length` more bytes, and never between a CR and its LF.
qsizetype SliceEnd(const QByteArray& bytes, qsizetype from, qsizetype length) {
    const qsizetype size = bytes.size();
    qsizetype at = std::min(from + length, size);
    const qsizetype limit = std::min(at + length, size);
    for (; at < limit; ++at) {
        if (bytes[at] == '\n') {
            return at + 1;
        }
    }
    if (at < size && at > 0 && bytes[at - 1] == '\r' && bytes[at] == '\n') {
        ++at;
    }
    return at;
}

std::string_view Bytes(const QByteArray& bytes, qsizetype from, qsizetype to) {
    return {bytes.constData() + from, static_cast<std::size_t>(to - from)};
}

// Decodes code page 1252 for the page view, breaking each line after every
// kDisplayPieceChars characters. `column` is where the last call stopped
// within its line, so that a page decoded in slices is broken alike.
QString DecodeForDisplay(std::string_view bytes, qsizetype& column) {
    const auto& table = Cp1252ToUnicodeTable();
    const auto size = static_cast<qsizetype>(bytes.size());
    QString text(size + size / kDisplayPieceChars + 1, Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        if (byte == '\r' || byte == '\n') {
            column = 0;
        } else if (column == kDisplayPieceChars) {
            *out++ = QChar('\n');
            column = 1;
        } else {
            ++column;
        }
        *out++ = QChar(table[static_cast<unsigned char>(byte)]);
    }
    text.truncate(out - text.constData());
    return text;
}

// Fills in the rest of a long page, a slice at a time between the window's
// own events. The bytes come from memory, or are read from the page file as
// the filling goes on: reading a page of a hundred megabytes at once would
// keep its first screen waiting.
class PageFiller : public QObject {
public:
    PageFiller(OutputWindow* window, QByteArray bytes, qsizetype done, qsizetype column,
               std::unique_ptr<std::ifstream> file = {})
        : QObject(window),
          document_(window->PageView()->document()),
          bytes_(std::move(bytes)),
          file_(std::move(file)),
          done_(done),
          column_(column) {
        setObjectName(kPageFillerName);
        // Filling in is no edit of the user's to undo.
        document_->setUndoRedoEnabled(false);
        connect(&timer_, &QTimer::timeout, this, [this] { FillSome(); });
        timer_.start(0);
    }
    ~PageFiller() override {
        if (document_) {
            document_->setUndoRedoEnabled(true);
        }
    }
    PageFiller(const PageFiller&) = delete;
    PageFiller& operator=(const PageFiller&) = delete;

private:
    // Enough bytes ahead of `done_` for SliceEnd to decide as it would with
    // the whole page in memory.
    void ReadAhead() {
        if (!file_ || bytes_.size() - done_ > 2 * kSliceBytes) {
            return;
        }
        bytes_.remove(0, done_);
        done_ = 0;
        const qsizetype had = bytes_.size();
        bytes_.resize(had + 2 * kSliceBytes + 1);
        file_->read(bytes_.data() + had, 2 * kSliceBytes + 1);
        bytes_.resize(had + static_cast<qsizetype>(file_->gcount()));
        if (!*file_) {
            file_.reset();
        }
    }

    void FillSome() {
        if (document_) {
            const auto until = std::chrono::steady_clock::now() + kFillTimePerTurn;
            QTextCursor cursor(document_);
            cursor.movePosition(QTextCursor::End);
            ReadAhead();
            while (done_ < bytes_.size() && std::chrono::steady_clock::now() < until) {
                const qsizetype end = SliceEnd(bytes_, done_, kSliceBytes);
                cursor.insertText(DecodeForDisplay(Bytes(bytes_, done_, end), column_));
                done_ = end;
                ReadAhead();
            }
        }
        if (!document_ || done_ >= bytes_.size()) {
            timer_.stop();
            deleteLater();
        }
    }

    QPointer<QTextDocument> document_;
    QByteArray bytes_;
    std::unique_ptr<std::ifstream> file_;  // the rest of the page; none once read
    qsizetype done_;
    qsizetype column_;  // within the line the last slice ended in
    QTimer timer_;
};

void ShowPageBytes(OutputWindow* window, QByteArray bytes) {
    qsizetype column = 0;
    if (bytes.size() <= kPageAtOnce) {
        window->SetPageText(DecodeForDisplay(Bytes(bytes, 0, bytes.size()), column));
        return;
    }
    const qsizetype first = SliceEnd(bytes, 0, kFirstPartBytes);
    window->SetPageText(DecodeForDisplay(Bytes(bytes, 0, first), column));
    new PageFiller(window, std::move(bytes), first, column);
}

}  // namespace

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
    // Read by its own bytes: a folder named in another encoding than UTF-8
    // has no QString that opens it.
    auto file = std::make_unique<std::ifstream>(pageFile, std::ios::binary);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(pageFile, error);
    QByteArray bytes;
    if (*file && !error) {
        // A long page's first part only; the filler reads on from the open
        // file, which stays the one written even when a later page replaces it.
        const bool whole = size <= static_cast<std::uintmax_t>(kPageAtOnce);
        bytes.resize(whole ? static_cast<qsizetype>(size) : 2 * kFirstPartBytes + 1);
        file->read(bytes.data(), bytes.size());
        bytes.resize(static_cast<qsizetype>(file->gcount()));
        if (whole || !*file) {
            file.reset();
        }
    } else {
        file.reset();
    }
    EnsureCreated();
    if (!file) {
        ShowPageBytes(window_, std::move(bytes));
        return;
    }
    qsizetype column = 0;
    const qsizetype first = SliceEnd(bytes, 0, kFirstPartBytes);
    window_->SetPageText(DecodeForDisplay(Bytes(bytes, 0, first), column));
    new PageFiller(window_, std::move(bytes), first, column, std::move(file));
}

void OutputDisplayHost::SetPageText(std::string_view bytes) {
    EnsureCreated();
    ShowPageBytes(window_, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void OutputDisplayHost::ShowModeless() {
    EnsureCreated();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void OutputDisplayHost::SetCaption(std::string_view caption) {
    EnsureCreated();
    window_->setWindowTitle(
        QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
}

void OutputDisplayHost::Close() {
    if (OutputWindow* window = window_) {
        window->close();
    }
}

}  // namespace tolvaris
