#include "page_check.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QStringList>
#include <chrono>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "ui/output_window/output_display_host.h"
#include "ui/output_window/output_window.h"

namespace tolvaris::bench {
namespace {

std::string RandomPage(std::mt19937_64& random, std::size_t size) {
    const std::vector<std::string> pieces = {"\r\n", "\r",    "\n",         "\r\r\n",   "\n\r",
                                             " ",    "word ", "\xe9t\xe9 ", "\x80\x9f", "*"};
    std::string page;
    while (page.size() < size) {
        if (random() % 5000 == 0) {
            page += std::string(100000 + random() % 400000, 'x');  // longer than a slice
        } else {
            page += pieces[random() % pieces.size()];
        }
    }
    return page;
}

// The page view shows a line longer than this as pieces of it, for display
// only; Qt's own loading is broken alike before the two are compared.
constexpr qsizetype kDisplayPieceChars = 1024;

QString InDisplayPieces(const QString& text) {
    QString pieces;
    pieces.reserve(text.size() + text.size() / kDisplayPieceChars);
    const QStringList lines = text.split(QChar('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            pieces += QChar('\n');
        }
        const QString& line = lines[i];
        for (qsizetype at = 0; at < line.size(); at += kDisplayPieceChars) {
            if (at > 0) {
                pieces += QChar('\n');
            }
            pieces += line.mid(at, kDisplayPieceChars);
        }
    }
    return pieces;
}

// Processes events until no filling-in is left in the window; false after 20 s.
bool Settle(OutputWindow* window) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (window->findChild<QObject*>("pageFiller") != nullptr) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    return true;
}

}  // namespace

bool CheckLongPages() {
    SettingValues settings;
    QuietNotices notices;
    OutputDisplayHost host([&] {
        return new OutputWindow(
            settings, 1.5, notices, [] { return std::int32_t{0}; }, "COURIER NEW");
    });
    host.EnsureCreated();
    QPlainTextEdit reference;
    std::mt19937_64 random(7);
    int failures = 0;
    int cases = 0;
    auto check = [&](const std::string& last, const char* what) {
        ++cases;
        reference.setPlainText(DecodeCp1252(last));
        if (!Settle(host.Window()) ||
            host.Window()->PageView()->toPlainText() != InDisplayPieces(reference.toPlainText())) {
            ++failures;
            std::cerr << "long page differs: " << what << ", " << last.size() << " bytes\n";
        }
    };
    for (int i = 0; i < 4; ++i) {
        const std::string page = RandomPage(random, (1U << 20) + random() % (3U << 20));
        host.SetPageText(page);
        check(page, "one page");
    }
    // Line ends at every second or third byte: wherever a slice ends, it
    // must not come between a CR and its LF.
    for (const std::string unit : {"\r\n", "a\r\n", "\r\n\r"}) {
        std::string page;
        while (page.size() < (3U << 20)) {
            page += unit;
        }
        host.SetPageText(page);
        check(page, "dense line ends");
    }
    // A new page while the old one is being filled in: nothing of the old one may stay.
    const std::string first = RandomPage(random, 3U << 20);
    const std::string second = RandomPage(random, 2U << 20);
    host.SetPageText(first);
    QCoreApplication::processEvents();
    host.SetPageText(second);
    check(second, "a long page after a long page");
    host.SetPageText(first);
    QCoreApplication::processEvents();
    host.SetPageText("short\r\npage\r\n");
    check("short\r\npage\r\n", "a short page after a long page");
    host.Close();
    QCoreApplication::processEvents();
    std::cerr << "Long pages checked against Qt's own loading: " << cases << " pages, " << failures
              << " differences" << std::endl;
    return failures == 0;
}

}  // namespace tolvaris::bench
