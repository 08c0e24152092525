#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#endif

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "CurrentFolderGuard.h"
#include "SystemOnly.h"
#include "TempDir.h"
#include "platform/FileAccess.h"
#include "platform/ProgramLaunch.h"

namespace morvane::platform {
namespace {

namespace fs = std::filesystem;

void WriteFile(const std::string& path, const std::string& bytes, fs::perms mode) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    fs::permissions(path, mode);
}

constexpr fs::perms kExecutable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec;
constexpr fs::perms kPlain =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;

// A shell script that writes, one per line, its own name ($0), its number of arguments, the
// arguments, its current folder and "end" into `marker`.
std::string RecordingScript(const std::string& marker) {
    return "#!/bin/sh\n"
           "{ printf '%s\\n' \"$0\" \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done;"
           " pwd -P; printf 'end\\n'; } > '" +
           marker + "'\n";
}

// The marker's content once it is complete, or what there is after ten seconds.
std::string WaitForMarker(const std::string& marker) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string content;
    while (std::chrono::steady_clock::now() < deadline) {
        content = ReadFileBytes(marker).value_or("");
        if (content.ends_with("end\n")) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return content;
}

const LaunchEnvironment kNoWine{""};

// Whether the process has ended and been reaped (a zombie still answers kill(pid, 0)).
bool ProcessIsGone(long pid) {
#ifdef _WIN32
    static_cast<void>(pid);
    return false;
#else
    return kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
#endif
}

TEST(ProgramLaunch, ReportsWhyAPathCannotBeStarted) {
    test::TempDir dir;
    WriteFile(dir.File("notes.txt"), "just text\n", kPlain);
    WriteFile(dir.File("script.sh"), "#!/bin/sh\nexit 0\n", kPlain);  // no execute bit
    WriteFile(dir.File("plain-x"), "echo hello\n", kExecutable);      // a shell would run it
    WriteFile(dir.File("broken-elf"),
              "\x7f"
              "ELF not really\n",
              kExecutable);                                     // the system refuses it
    WriteFile(dir.File("dosprog"), "MZ\x90\x00", kExecutable);  // Windows code, wrong name
    WriteFile(dir.File("setup.exe.txt"), "MZ", kPlain);
    fs::create_directory(dir.File("Folder.exe"));

    const struct {
        std::string path;
        int expected;
    } cases[] = {
        {"", kLaunchFileNotFound},
        {dir.File("missing"), kLaunchFileNotFound},
        {"missing-name-in-current-folder", kLaunchFileNotFound},
        {dir.File("no folder/game.exe"), kLaunchPathNotFound},
        {dir.File("notes.txt/game"), kLaunchPathNotFound},
        {dir.Path().string(), kLaunchNotAProgram},
        {dir.File("Folder.exe"), kLaunchNotAProgram},
        {dir.File("notes.txt"), kLaunchNotAProgram},
        {dir.File("script.sh"), kLaunchNotAProgram},
        {dir.File("plain-x"), kLaunchNotAProgram},
        {dir.File("broken-elf"), kLaunchNotAProgram},
        {dir.File("dosprog"), kLaunchNotAProgram},
        {dir.File("setup.exe.txt"), kLaunchNotAProgram},
    };
    for (const auto& c : cases) EXPECT_EQ(LaunchProgram(c.path, kNoWine), c.expected) << c.path;
}

TEST(ProgramLaunch, FolderThatCannotBeEnteredCountsAsMissingPath) {
    MORVANE_POSIX_ONLY("permission bits do not keep a folder from being entered on Windows");
    if (test::RunsAsRoot()) GTEST_SKIP() << "root enters every folder";
    test::TempDir dir;
    WriteFile(dir.File("locked/run.sh"), "#!/bin/sh\n", kExecutable);
    fs::permissions(dir.File("locked"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(LaunchProgram(dir.File("locked/run.sh"), kNoWine), kLaunchPathNotFound);
    fs::permissions(dir.File("locked"), fs::perms::owner_all);
}

// The path is the program's name as a whole: a blank does not end it and shell characters mean
// nothing. A decoy at the part before the first blank shows a split if there were one.
TEST(ProgramLaunch, StartsAScriptByItsWholePathInTheCurrentFolder) {
    MORVANE_POSIX_ONLY("Windows does not run shell scripts");
    test::TempDir dir;
    const std::string decoyMarker = dir.File("decoy-ran");
    WriteFile(dir.File("Game"), RecordingScript(decoyMarker), kExecutable);
    const std::string currentFolder = fs::canonical(fs::current_path()).string();

    for (const std::string name : {"run.sh", "run me.sh", "semi;colon $HOME `x`.sh", "it is (here) & there"}) {
        const std::string marker = dir.File("marker");
        fs::remove(marker);
        const std::string script = dir.File("Game Folder/" + name);
        WriteFile(script, RecordingScript(marker), kExecutable);

        ASSERT_EQ(LaunchProgram(script, kNoWine), kLaunchStarted) << name;
        EXPECT_EQ(WaitForMarker(marker), script + "\n0\n" + currentFolder + "\nend\n") << name;
    }
    EXPECT_FALSE(fs::exists(decoyMarker));
}

TEST(ProgramLaunch, ReturnsWithoutWaitingAndReapsTheEndedProgram) {
    MORVANE_POSIX_ONLY("a shell script and zombie processes");
    test::TempDir dir;
    const std::string marker = dir.File("marker");
    WriteFile(dir.File("slow.sh"), "#!/bin/sh\nsleep 1\nprintf '%s\\nend\\n' \"$$\" > '" + marker + "'\n", kExecutable);

    ASSERT_EQ(LaunchProgram(dir.File("slow.sh"), kNoWine), kLaunchStarted);
    EXPECT_FALSE(fs::exists(marker)) << "the launch waited for the program to end";

    const std::string content = WaitForMarker(marker);
    ASSERT_TRUE(content.ends_with("\nend\n")) << content;
    const long child = std::stol(content);
    // An ended child that nobody waits for stays a zombie.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!ProcessIsGone(child) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(ProcessIsGone(child));
}

TEST(ProgramLaunch, WindowsProgramWithoutWineSaysSo) {
    MORVANE_POSIX_ONLY("Windows runs its programs itself");
    test::TempDir dir;
    // Folders on the PATH that have something called wine that cannot be run.
    fs::create_directories(dir.File("folder-bin/wine"));
    WriteFile(dir.File("plain-bin/wine"), "#!/bin/sh\n", kPlain);
    const LaunchEnvironment unusableWine{dir.File("folder-bin") + "::" + dir.File("plain-bin") + ":" +
                                         dir.File("missing-bin")};

    for (const std::string name : {"ra95.exe", "SETUP.COM", "Install.Bat", "Game.eXe"}) {
        WriteFile(dir.File(name), "MZ", kPlain);
        EXPECT_EQ(LaunchProgram(dir.File(name), kNoWine), kLaunchNeedsWine) << name;
        EXPECT_EQ(LaunchProgram(dir.File(name), unusableWine), kLaunchNeedsWine) << name;
    }
}

// A fake wine found on the given PATH records what it was started with.
TEST(ProgramLaunch, WindowsProgramIsHandedToWineAsOneArgument) {
    MORVANE_POSIX_ONLY("Windows runs its programs itself");
    test::TempDir dir;
    const std::string marker = dir.File("marker");
    const std::string wine = dir.File("wine bin/wine");
    WriteFile(wine, RecordingScript(marker), kExecutable);
    fs::create_directories(dir.File("other bin"));
    const LaunchEnvironment env{dir.File("other bin") + ":" + dir.File("wine bin") + "/"};
    const std::string currentFolder = fs::canonical(fs::current_path()).string();

    // Files on a Windows-formatted stick often carry execute bits; they still need wine.
    for (const fs::perms mode : {kPlain, kExecutable}) {
        fs::remove(marker);
        const std::string program = dir.File("Red Alert/RA95 Setup.EXE");
        WriteFile(program, "MZ\x90\x00", mode);
        ASSERT_EQ(LaunchProgram(program, env), kLaunchStarted);
        EXPECT_EQ(WaitForMarker(marker), wine + "\n1\n" + program + "\n" + currentFolder + "\nend\n");
    }

    // A relative name that begins with "-" must not look like an option of wine.
    test::CurrentFolderGuard inside(dir.Path());
    fs::remove(marker);
    WriteFile(dir.File("-setup.exe"), "MZ", kPlain);
    ASSERT_EQ(LaunchProgram("-setup.exe", env), kLaunchStarted);
    EXPECT_EQ(WaitForMarker(marker), wine + "\n1\n./-setup.exe\n" + fs::canonical(dir.Path()).string() + "\nend\n");
}

// The probe program (LaunchProbe.cpp), copied under names with blanks and shell characters,
// records how it was started. A decoy at the part before the first blank shows a split if
// there were one.
TEST(ProgramLaunch, StartsAProgramByItsWholePathInTheCurrentFolder) {
    MORVANE_WINDOWS_ONLY("runs a Windows program");
#ifdef MORVANE_LAUNCH_PROBE
    // The build names the probe as the build machine spells it; a path without a drive lies on
    // the drive the tests start on, which is where Wine puts the build machine's files.
    const fs::path probePath = fs::absolute(MORVANE_LAUNCH_PROBE);
#else
    const fs::path probePath;
#endif
    test::TempDir dir;
    fs::create_directories(dir.File("Game Folder"));
    fs::copy_file(probePath, dir.File("Game.exe"));
    test::CurrentFolderGuard inside(dir.Path());
    const std::string marker = dir.File("launch-probe.txt");

    for (const std::string name : {"RA95.exe", "run me.exe", "semi;colon %PATH% & (x).exe"}) {
        fs::remove(marker);
        const std::string program = dir.File("Game Folder/" + name);
        fs::copy_file(probePath, program);
        ASSERT_EQ(LaunchProgram(program), kLaunchStarted) << name;
        const std::string content = WaitForMarker(marker);
        EXPECT_EQ(content, program + "\n0\n" + dir.Path().string() + "\nend\n") << name;
    }
}

// A batch file would run through the command interpreter, which reads the line differently.
TEST(ProgramLaunch, BatchFileIsNotStarted) {
    MORVANE_WINDOWS_ONLY("only Windows hands batch files to its command interpreter");
    test::TempDir dir;
    test::CurrentFolderGuard inside(dir.Path());
    for (const std::string name : {"install.bat", "SETUP.CMD"}) {
        WriteFile(dir.File(name), "echo ran > ran.txt\r\n", kPlain);
        EXPECT_EQ(LaunchProgram(dir.File(name)), kLaunchNotAProgram) << name;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(fs::exists(dir.File("ran.txt")));
}

}  // namespace
}  // namespace morvane::platform
