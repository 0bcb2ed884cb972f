#include "support/pdf_tools.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tolvaris::test {

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "could not run " << command;
        return output;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, got);
    }
    pclose(pipe);
    return output;
}

std::string PdfText(const std::filesystem::path& pdf) {
    return RunCommand("pdftotext -layout '" + pdf.string() + "' - 2>&1");
}

std::string PdfInfo(const std::filesystem::path& pdf) {
    return RunCommand("pdfinfo '" + pdf.string() + "' 2>&1");
}

int PdfPages(const std::filesystem::path& pdf) {
    const std::string info = PdfInfo(pdf);
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

}  // namespace tolvaris::test
