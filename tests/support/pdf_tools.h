#pragma once

#include <filesystem>
#include <string>

namespace tolvaris::test {

// Poppler's tools (Debian's poppler-utils) read PDFs independently of Qt.
std::string RunCommand(const std::string& command);
std::string PdfText(const std::filesystem::path& pdf);  // pdftotext -layout
std::string PdfInfo(const std::filesystem::path& pdf);  // pdfinfo
int PdfPages(const std::filesystem::path& pdf);         // -1 when unreadable

}  // namespace tolvaris::test
