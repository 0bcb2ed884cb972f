#include "support/reliability_support.h"

#include <grp.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "support/temp_folder.h"

namespace tolvaris::test {

std::string InChild(const std::function<std::string()>& body, unsigned seconds) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return std::string("pipe: ") + std::strerror(errno);
    }
    const pid_t child = ::fork();
    if (child < 0) {
        return std::string("fork: ") + std::strerror(errno);
    }
    if (child == 0) {
        ::close(channel[0]);
        ::alarm(seconds);
        const std::string result = body();
        std::size_t sent = 0;
        while (sent < result.size()) {
            const ssize_t n = ::write(channel[1], result.data() + sent, result.size() - sent);
            if (n <= 0) {
                std::_Exit(3);
            }
            sent += static_cast<std::size_t>(n);
        }
        std::_Exit(0);
    }
    ::close(channel[1]);
    std::string result;
    char chunk[4096];
    ssize_t n = 0;
    while ((n = ::read(channel[0], chunk, sizeof chunk)) != 0) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            break;
        }
        result.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        if (WTERMSIG(status) == SIGALRM) {
            return "the child hung for " + std::to_string(seconds) + " s. " + result;
        }
        return "the child died of signal " + std::to_string(WTERMSIG(status)) + ". " + result;
    }
    if (WEXITSTATUS(status) != 0) {
        return "the child exited with " + std::to_string(WEXITSTATUS(status)) + ". " + result;
    }
    return result;
}

std::string BecomeUnprivileged() {
    if (::geteuid() != 0) {
        return "";
    }
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
        return std::string("cannot become user 65534: ") + std::strerror(errno);
    }
    return "";
}

std::size_t OpenDescriptorCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

std::size_t StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::strtoul(line.c_str() + prefix.size(), nullptr, 10);
        }
    }
    return 0;
}

std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] =
            entry.is_regular_file() ? ReadBytes(entry.path()) : std::string("<not a file>");
    }
    return files;
}

bool Require(std::string& failures, bool condition, const std::string& what) {
    if (!condition) {
        failures += what + "\n";
    }
    return condition;
}

FastFolder::FastFolder() {
    std::string pattern = "/dev/shm/tolvaris-test-XXXXXX";
    if (std::filesystem::is_directory("/dev/shm") && ::mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    } else {
        fallback_.emplace();
        path_ = fallback_->Path();
    }
}

FastFolder::~FastFolder() {
    std::error_code ec;
    if (!fallback_) {
        std::filesystem::remove_all(path_, ec);
    }
}

bool LongTestsWanted() {
    const char* value = std::getenv("TOLVARIS_LONG_TESTS");
    return value != nullptr && std::string(value) == "1";
}

}  // namespace tolvaris::test
