// Runs another program of the build and waits for it: for benchmarks that time whole processes.
#pragma once

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace morvane::bench {

// The folder of the running benchmark program, where the build puts every program.
inline std::string ProgramFolder() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

// The kernel counts a program's peak memory from the process it was started from (it starts as a
// copy of it), so the child's peak is only its own while this process is smaller than the
// child: measure memory in a run of its own, before this process has grown.
struct ProcessResult {
    int exitCode = -1;         // -1 when it could not start or did not exit normally
    long peakResidentKiB = 0;  // the child's peak resident memory (see above)
    double cpuSeconds = 0;     // the child's user and system time
};

// Runs `arguments` (the first names the program) with the environment of this process plus
// `extraEnvironment` ("NAME=value"), its output thrown away.
inline ProcessResult RunProcess(const std::vector<std::string>& arguments,
                                const std::vector<std::string>& extraEnvironment = {}) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& entry : extraEnvironment) envp.push_back(const_cast<char*>(entry.c_str()));
    for (char** entry = environ; *entry != nullptr; ++entry) envp.push_back(*entry);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ProcessResult result;
    if (spawned != 0) return result;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.peakResidentKiB = usage.ru_maxrss;
    result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return result;
}

}  // namespace morvane::bench
