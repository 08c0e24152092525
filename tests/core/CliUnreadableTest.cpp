// A rules file that cannot be read is never taken for an empty one: every command on it says
// why and exits with 2, and a file with a copy left by a cut write is announced.
#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "SystemOnly.h"
#include "TempDir.h"
#include "cli/CliCommand.h"
#include "platform/FileAccess.h"
#include "platform/FileFaults.h"
#include "platform/ProfileApi.h"

namespace morvane::cli {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

// Runs the command as an ordinary user where the tests run as root, for whom no permission bit
// stops a read.
CliRun CliAsOrdinaryUser(const std::vector<std::string>& args) {
#ifdef _WIN32
    return Cli(args);
#else
    if (!test::RunsAsRoot()) return Cli(args);
    int channel[2];
    if (pipe(channel) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
        const CliRun run = dropped ? Cli(args) : CliRun{};
        const std::string report = std::to_string(run.code) + "\n" + run.out + "\x1f" + run.err;
        (void)!write(channel[1], report.data(), report.size());
        _exit(0);
    }
    close(channel[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    waitpid(child, nullptr, 0);
    CliRun run;
    const std::size_t line = report.find('\n');
    const std::size_t split = report.find('\x1f');
    if (line == std::string::npos || split == std::string::npos) return run;
    run.code = std::atoi(report.substr(0, line).c_str());
    run.out = report.substr(line + 1, split - line - 1);
    run.err = report.substr(split + 1);
    return run;
#endif
}

// Every command that reads a rules file, with FILE where the path goes.
const std::vector<std::vector<std::string>> kCommands = {
    {"tree", "FILE"},
    {"get", "FILE", "General", "CrateMinimum"},
    {"set", "FILE", "General", "CrateMinimum", "3"},
    {"show", "FILE", "General\\Crates\\CrateMinimum"},
    {"default", "FILE", "General\\Crates\\CrateMinimum"},
    {"match-all", "FILE", "Units\\Infantry\\Rifle soldier\\Cost", "--dry-run"},
    {"check", "FILE"},
    {"effective", "FILE", "E1", "Cost"},
};

std::vector<std::string> WithFile(std::vector<std::string> command, const std::string& path) {
    for (std::string& arg : command)
        if (arg == "FILE") arg = path;
    return command;
}

TEST(CliUnreadable, EveryCommandSaysWhyAndExitsWithTwo) {
    const test::TempDir dir;
    fs::create_directory(dir.PathOf("folder.ini"));
    struct Kind {
        const char* name;
        std::string path;
        const char* words;
        bool ordinaryUser = false;
    };
    std::vector<Kind> kinds = {{"a folder", dir.File("folder.ini"), "is a folder, not a file"}};
    {
        std::ofstream(dir.PathOf("huge.ini"), std::ios::binary) << "[General]\r\nCrateMinimum=1\r\n";
        fs::resize_file(dir.PathOf("huge.ini"), platform::kMaxFileBytes + 1);
        kinds.push_back({"a file over the size limit", dir.File("huge.ini"), "larger than 16 MiB"});
    }
    if (!test::kWindows) {
        if (test::MakePipe(dir.File("pipe.ini"))) kinds.push_back({"a pipe", dir.File("pipe.ini"), "is a named pipe"});
        kinds.push_back({"a device", "/dev/null", "is a device"});
        fs::create_symlink("loop-b.ini", dir.PathOf("loop-a.ini"));
        fs::create_symlink("loop-a.ini", dir.PathOf("loop-b.ini"));
        kinds.push_back({"a loop of links", dir.File("loop-a.ini"), "loop of symbolic links"});
        std::ofstream(dir.PathOf("locked.ini"), std::ios::binary) << "[General]\r\nCrateMinimum=1\r\n";
        fs::permissions(dir.PathOf("locked.ini"), fs::perms::none);
        kinds.push_back({"no permission to read", dir.File("locked.ini"), "permission", true});
    }
    for (const Kind& kind : kinds) {
        for (const auto& command : kCommands) {
            SCOPED_TRACE(std::string(kind.name) + ", " + command[0]);
            const auto args = WithFile(command, kind.path);
            const CliRun run = kind.ordinaryUser ? CliAsOrdinaryUser(args) : Cli(args);
            EXPECT_EQ(run.code, 2) << run.err;
            EXPECT_EQ(run.out, "");
            EXPECT_NE(run.err.find(kind.words), std::string::npos) << run.err;
        }
    }
}

TEST(CliUnreadable, CheckAndGetAnnounceACopyLeftByACutWrite) {
    MORVANE_POSIX_ONLY("the fault hook plays a kill on POSIX systems");
    const test::TempDir state;
    const auto saved = test::Environment("XDG_STATE_HOME");
    test::SetEnvironment("XDG_STATE_HOME", state.Path().string());
    const test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    std::ofstream(dir.PathOf("rules.ini"), std::ios::binary) << "[General]\r\nCrateMinimum=1\r\nCrateMaximum=9\r\n";
    fs::create_hard_link(dir.PathOf("rules.ini"), dir.PathOf("other.ini"));
    platform::InjectFileFault(platform::FileFault::DropCopy, EIO);
    ASSERT_EQ(platform::WritePrivateProfileString("General", "CrateMinimum", "2", path), 0);
    platform::ClearFileFaults();
    fs::resize_file(dir.PathOf("rules.ini"), 20);  // cut in the middle of a line

    for (const std::vector<std::string>& args : {std::vector<std::string>{"check", dir.File("other.ini")},
                                                 {"get", dir.File("other.ini"), "General", "CrateMinimum"}}) {
        const CliRun run = Cli(args);
        EXPECT_NE(run.err.find("was interrupted; its contents before that write are kept in " +
                               dir.File(".rules.ini.morvane-old")),
                  std::string::npos)
            << args[0] << ": " << run.err;
    }
    const CliRun denied = Cli({"set", dir.File("other.ini"), "General", "CrateMinimum", "3"});
    EXPECT_EQ(denied.code, kExitWriteFailed);
    EXPECT_NE(denied.err.find(dir.File(".rules.ini.morvane-old")), std::string::npos) << denied.err;
    test::SetEnvironment("XDG_STATE_HOME", saved);
}

}  // namespace
}  // namespace morvane::cli
