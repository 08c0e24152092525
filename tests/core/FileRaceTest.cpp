// Writes racing programs that take no lock: `cp` over the file (which truncates it first, then
// fills it) and `sed -i` (which renames its own new file over it), for real and as writers
// that stall in the middle, as a busy system makes them. Neither may lose its work to a write
// of ours, and ours may never be made from a half-copied file.
//
// The default run is short; MORVANE_RACE_ROUNDS=400 (for example) runs a long one (cp and sed
// get an eighth of the rounds: their file is 40 times larger),
// MORVANE_RACE_DIR=/some/folder races in that folder instead of the system's temporary one, and
// MORVANE_RACE_REPORT=1 prints the rounds lost instead of failing on them.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "SystemOnly.h"
#include "TempDir.h"
#include "platform/FileAccess.h"
#include "platform/ProfileApi.h"

namespace morvane::platform {
namespace {

#ifndef _WIN32
int Rounds() {
    const char* asked = std::getenv("MORVANE_RACE_ROUNDS");
    return asked != nullptr && std::atoi(asked) > 0 ? std::atoi(asked) : 16;
}

std::filesystem::path RaceFolder() {
    const char* asked = std::getenv("MORVANE_RACE_DIR");
    return asked != nullptr && asked[0] != 0 ? std::filesystem::path(asked) : std::filesystem::temp_directory_path();
}

bool ReportOnly() { return std::getenv("MORVANE_RACE_REPORT") != nullptr; }

// A rules file of about `size` bytes whose first section is [E1] with Cost=100 and which holds
// one "Power=10" line; `mark` tells two versions apart.
std::string Rules(const std::string& mark, std::size_t size) {
    std::string text = "[E1]\r\nCost=100\r\nPower=10\r\nMark=" + mark + "\r\n";
    for (int i = 0; text.size() < size; ++i)
        text += "[Object" + std::to_string(i) + "]\r\nStrength=" + std::to_string(i % 500) +
                "\r\nArmor=heavy\r\nPrimary=M1Carbine\r\n";
    return text;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Starts `program` with its arguments after `delayMicroseconds`; returns its process id.
pid_t StartLater(int delayMicroseconds, const std::vector<std::string>& argv) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    usleep(static_cast<useconds_t>(delayMicroseconds));
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

// A cp stalled between truncating the file and filling it.
pid_t TruncateLater(int delayMicroseconds, int stallMicroseconds, const std::string& path, const std::string& bytes) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    usleep(static_cast<useconds_t>(delayMicroseconds));
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC);
    usleep(static_cast<useconds_t>(stallMicroseconds));
    const bool wrote = fd >= 0 && write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    _exit(wrote && close(fd) == 0 ? 0 : 1);
}

// A sed -i stalled between reading the file and renaming its edit over it.
pid_t RenameEditLater(int delayMicroseconds, int stallMicroseconds, const std::string& path) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    usleep(static_cast<useconds_t>(delayMicroseconds));
    std::string text = ReadFileBytes(path).value_or("");
    usleep(static_cast<useconds_t>(stallMicroseconds));
    text = Replaced(text, "Power=10\r\n", "Power=77\r\n");
    const std::string temporary = path + ".sed";
    WriteFile(temporary, text);
    _exit(rename(temporary.c_str(), path.c_str()) == 0 ? 0 : 1);
}

bool Succeeded(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Counts the rounds one kind of outside writer loses against our writes.
struct RaceTally {
    const char* writer;
    int lost = 0;
    int rounds = 0;

    void Check(bool whole, int round, const std::string& what) {
        ++rounds;
        if (whole) return;
        ++lost;
        if (!ReportOnly()) ADD_FAILURE() << writer << " round " << round << ": " << what;
    }
    ~RaceTally() {
        std::printf("rounds lost to %s: %d of %d\n", writer, lost, rounds);
        std::fflush(stdout);
    }
};

// After a copy over the file the end is the copy, with or without our edit.
bool CopyKept(const std::string& after, const std::string& theirs, const std::string& cost) {
    return after == theirs || after == Replaced(theirs, "Cost=100\r\n", "Cost=" + cost + "\r\n");
}

// After an edit renamed over the file its edit is there, with or without ours.
bool EditKept(const std::string& after, const std::string& ours, const std::string& cost) {
    const std::string theirs = Replaced(ours, "Power=10\r\n", "Power=77\r\n");
    return after == theirs || after == Replaced(theirs, "Cost=100\r\n", "Cost=" + cost + "\r\n");
}

// Races `rounds` writes of ours against a copier over the file and an editor renaming its edit
// over it, each started by the given function; counts what each loses.
void Race(const std::string& path, const std::string& ours, const std::string& theirs, int rounds,
          const std::function<pid_t()>& startCopier, const std::function<pid_t()>& startEditor, RaceTally& copies,
          RaceTally& edits) {
    for (int round = 0; round < rounds; ++round) {
        const std::string cost = std::to_string(200 + round);

        WriteFile(path, ours);
        const pid_t copier = startCopier();
        const int copyRace = WritePrivateProfileString("E1", "Cost", cost, path);
        ASSERT_TRUE(Succeeded(copier));
        const std::string afterCopy = ReadFileBytes(path).value_or("");
        copies.Check(CopyKept(afterCopy, theirs, cost), round,
                     std::to_string(afterCopy.size()) + " bytes left, write returned " + std::to_string(copyRace));

        WriteFile(path, ours);
        const pid_t editor = startEditor();
        const int editRace = WritePrivateProfileString("E1", "Cost", cost, path);
        ASSERT_TRUE(Succeeded(editor));
        edits.Check(EditKept(ReadFileBytes(path).value_or(""), ours, cost), round,
                    "its edit is lost, write returned " + std::to_string(editRace));
    }
}
#endif

TEST(FileRace, StalledOutsideWritersLoseNothing) {
    MORVANE_POSIX_ONLY("outside writers made with fork");
#ifndef _WIN32
    const test::TempDir dir(RaceFolder());
    const std::string path = dir.File("rules.ini");
    const std::string theirs = Rules("theirs", 60000);
    std::mt19937 random(777);
    std::uniform_int_distribution<int> delay(0, 8000);
    std::uniform_int_distribution<int> stall(0, 30000);
    RaceTally copies{"a stalled truncating writer"};
    RaceTally edits{"a stalled renaming writer"};
    Race(
        path, Rules("ours", 60000), theirs, Rounds(),
        [&] { return TruncateLater(delay(random), stall(random), path, theirs); },
        [&] { return RenameEditLater(delay(random), stall(random), path); }, copies, edits);
#endif
}

TEST(FileRace, CpAndSedLoseNothing) {
    MORVANE_POSIX_ONLY("cp and sed -i started with fork");
#ifndef _WIN32
    const test::TempDir dir(RaceFolder());
    const std::string path = dir.File("rules.ini");
    const std::string source = dir.File("theirs.ini");
    const std::string theirs = Rules("theirs", 2400000);
    WriteFile(source, theirs);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delay(0, 6000);
    RaceTally copies{"cp"};
    RaceTally edits{"sed -i"};
    Race(
        path, Rules("ours", 2400000), theirs, std::max(1, Rounds() / 8),
        [&] {
            return StartLater(delay(random), {"cp", source, path});
        },
        [&] {
            return StartLater(delay(random), {"sed", "-i", "s/^Power=10/Power=77/", path});
        },
        copies, edits);
#endif
}

}  // namespace
}  // namespace morvane::platform
