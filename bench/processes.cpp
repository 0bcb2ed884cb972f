#include "processes.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace tolvaris::bench {

ProcessResult RunProcess(const std::vector<std::string>& arguments,
                         const std::filesystem::path& output,
                         const std::vector<std::string>& extraEnvironment) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    std::vector<char*> envp;
    for (const std::string& entry : extraEnvironment) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    for (char** entry = environ; *entry != nullptr; ++entry) {
        bool overridden = false;
        for (const std::string& extra : extraEnvironment) {
            const std::size_t nameLength = extra.find('=') + 1;
            overridden = overridden || std::strncmp(*entry, extra.c_str(), nameLength) == 0;
        }
        if (!overridden) {
            envp.push_back(*entry);
        }
    }
    envp.push_back(nullptr);

    const std::string target = output.empty() ? std::string("/dev/null") : output.string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, target.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);

    ProcessResult result;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return result;
        }
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}

std::filesystem::path SelfExecutable() {
    return std::filesystem::read_symlink("/proc/self/exe");
}

std::uint64_t StatusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            std::istringstream value(line.substr(prefix.size()));
            std::uint64_t kib = 0;
            value >> kib;
            return kib * 1024;
        }
    }
    return 0;
}

bool ResetPeakResidentSize() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

}  // namespace tolvaris::bench
