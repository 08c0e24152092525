#include "platform/ProgramLaunch.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "PathParts.h"

extern char** environ;

namespace morvane::platform {
namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The result for a path that stat() could not find, told apart by whether its folder exists.
int MissingResult(const std::string& path, int error) {
    switch (error) {
        case ENOMEM:
            return kLaunchOutOfMemory;
        case ENOENT:
            return IsFolder(FolderOf(path)) ? kLaunchFileNotFound : kLaunchPathNotFound;
        case ENOTDIR:  // a part of the folder is a file
        case ENAMETOOLONG:
        case EACCES:  // a folder on the way cannot be entered
            return kLaunchPathNotFound;
        default:
            return kLaunchFileNotFound;
    }
}

// A regular file the current user may execute. Root may execute anything with at least one
// execute bit, which is also what this asks for.
bool IsExecutableFile(const std::string& path, const struct stat& info) {
    return S_ISREG(info.st_mode) && (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0 &&
           access(path.c_str(), X_OK) == 0;
}

// The first bytes of the file, as many as there are up to `count`; nothing when it cannot be read.
std::optional<std::string> ReadHead(const std::string& path, std::size_t count) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string head(count, '\0');
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = read(fd, head.data() + got, count - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    close(fd);
    head.resize(got);
    return head;
}

// Whether the system can run the file itself. An executable file that cannot be read is left
// to the system to judge, as it may still run it.
bool IsNativeProgram(const std::string& path, const struct stat& info) {
    if (!IsExecutableFile(path, info)) return false;
    const auto head = ReadHead(path, 4);
    if (!head) return true;
    return *head ==
               "\x7f"
               "ELF" ||
           head->starts_with("#!");
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsWindowsProgramName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.size() < 5) return false;  // at least one letter before the extension
    std::string extension;
    for (const char c : name.substr(name.size() - 4)) extension += LowerAscii(c);
    return extension == ".exe" || extension == ".com" || extension == ".bat";
}

// The full path of `wine` in the first folder of the PATH list that has one. Empty entries,
// which a shell would take as the current folder, are skipped so that a file called "wine"
// next to the game is never run by accident.
std::optional<std::string> FindWine(const LaunchEnvironment& env) {
    std::string list;
    if (env.pathVariable) {
        list = *env.pathVariable;
    } else {
        const char* fromProcess = std::getenv("PATH");
        list = fromProcess != nullptr ? fromProcess : "/bin:/usr/bin";
    }
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        std::string folder = list.substr(start, end - start);
        start = end + 1;
        if (folder.empty()) continue;
        if (folder.back() != '/') folder += '/';
        const std::string candidate = folder + "wine";
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && IsExecutableFile(candidate, info)) return candidate;
    }
    return std::nullopt;
}

int ResultOfSpawnError(int error) {
    switch (error) {
        case ENOMEM:
        case EAGAIN:
            return kLaunchOutOfMemory;
        case ENOTDIR:
            return kLaunchPathNotFound;
        default:
            // The file was there a moment ago, so ENOENT here means its interpreter or loader is
            // missing; like ENOEXEC and EACCES, the file cannot be run.
            return kLaunchNotAProgram;
    }
}

// Collects the child's exit status so that it does not stay behind as a zombie.
//
// A thread blocked in waitpid() on this one child touches nothing else in the process. The
// alternatives are worse in a GUI program: a SIGCHLD handler or waitpid(-1) would take the
// exit status of children that other code (the GUI toolkit's process class) waits for, and a
// double fork would need fork() in a process with many threads, after which the child may only
// make async-signal-safe calls.
void ReapWhenItEnds(pid_t child) {
    try {
        std::thread([child] {
            int status = 0;
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the ended child stays a zombie until the editor exits.
    }
}

// Starts `program` with the given arguments, argument 0 first; 0 or an errno value.
int Spawn(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> copies = arguments;  // posix_spawn wants non-const strings
    std::vector<char*> argv;
    argv.reserve(copies.size() + 1);
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) return ENOMEM;
    // The program gets no blocked signals and the default action for the signals a GUI program
    // commonly ignores; its own process group keeps a Ctrl+C meant for the editor away from it.
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int number : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGALRM, SIGUSR1, SIGUSR2})
        sigaddset(&defaults, number);
    int error = posix_spawnattr_setsigmask(&attributes, &noSignals);
    if (error == 0) error = posix_spawnattr_setsigdefault(&attributes, &defaults);
    if (error == 0) error = posix_spawnattr_setpgroup(&attributes, 0);
    if (error == 0) {
        error = posix_spawnattr_setflags(&attributes,
                                         POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    }
    pid_t child = 0;
    if (error == 0) error = posix_spawn(&child, program.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error == 0) ReapWhenItEnds(child);
    return error;
}

}  // namespace

int LaunchProgram(const std::string& programPath, const LaunchEnvironment& env) {
    if (programPath.empty()) return kLaunchFileNotFound;
    struct stat info {};
    if (stat(programPath.c_str(), &info) != 0) return MissingResult(programPath, errno);

    if (IsNativeProgram(programPath, info)) {
        const int error = Spawn(programPath, {programPath});
        return error == 0 ? kLaunchStarted : ResultOfSpawnError(error);
    }
    if (S_ISREG(info.st_mode) && IsWindowsProgramName(programPath)) {
        const auto wine = FindWine(env);
        if (!wine) return kLaunchNeedsWine;
        // A relative name starting with "-" would be read by wine as one of its options.
        const std::string argument = programPath.front() == '-' ? "./" + programPath : programPath;
        const int error = Spawn(*wine, {"wine", argument});
        return error == 0 ? kLaunchStarted : ResultOfSpawnError(error);
    }
    return kLaunchNotAProgram;
}

}  // namespace morvane::platform
