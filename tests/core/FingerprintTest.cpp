// The number the game compares between network players, against numbers computed apart from
// this program: a short Python script that reads the bytes by the loader's rules (line feeds,
// carriage returns dropped, 127 characters a line, the last line without a line feed lost,
// notes cut at ";", empty keys, values and sections dropped), joins what is kept as
// "[NAME]\r\n" + "KEY=VALUE\r\n"... + "\r\n", takes hashlib's SHA-1 and folds the five
// little-endian words with crc = rotl(crc, 1) + w.
#include <gtest/gtest.h>

#include <sstream>

#include "TempDir.h"
#include "cli/CliCommand.h"
#include "compare/Fingerprint.h"
#include "gameview/GameIni.h"
#include "platform/FileAccess.h"

namespace morvane::compare {
namespace {

std::string FingerprintOf(std::string_view bytes) { return FingerprintText(Fingerprint(gameview::GameIni(bytes))); }

struct KnownNumber {
    const char* name;
    std::string bytes;
    const char* expected;
};

TEST(Fingerprint, MatchesNumbersComputedApart) {
    const KnownNumber cases[] = {
        {"one entry", "[General]\nBuildSpeed=.8\n", "4CC83C1D"},
        {"two sections", "[General]\nBuildSpeed=.8\nCurleyShuffle=yes\n\n[E1]\nCost=100\nSight=4\n", "F2C1C7B3"},
        {"duplicates kept", "[E1]\nCost=100\nCost=200\n[E1]\nSight=4\n", "8C1DD2ED"},
        {"letter case kept", "[general]\nbuildspeed=.8\n", "C969E802"},
        // Nothing kept: the digest of no bytes at all.
        {"nothing kept", "; only a note\n[Empty]\n[General]\nKey=\n", "3CC4E73F"},
        {"line cut at 127", "[General]\nName=" + std::string(130, 'x') + "\n", "6A7E8722"},
        {"bytes above ASCII", "[General]\nName=R\xe8gles\n", "62E8202E"},
    };
    for (const KnownNumber& c : cases) EXPECT_EQ(FingerprintOf(c.bytes), c.expected) << c.name;
}

TEST(Fingerprint, TheProjectsRealRulesFile) {
    const auto bytes = platform::ReadFileBytes(MORVANE_TEST_FIXTURES "/real-rules.ini");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(FingerprintOf(*bytes), "31B6ECDD");
}

TEST(Fingerprint, FormattingLeavesTheNumber) {
    const std::string plain = "[General]\nBuildSpeed=.8\nCurleyShuffle=yes\n\n[E1]\nCost=100\n";
    const std::string same[] = {
        "[General]\r\nBuildSpeed=.8\r\nCurleyShuffle=yes\r\n\r\n[E1]\r\nCost=100\r\n",
        "; a note\nabove=the sections\n[General] ; note\n  BuildSpeed = .8   ; note\n\n\nCurleyShuffle\t=\tyes\n"
        "[E1]\nCost=100\n",
        "[ General ]\nBuildSpeed=.8\nEmptied=\nno equals sign\nCurleyShuffle=yes\n[Nothing]\n; note\n[E1]\nCost=100\n",
        // A last line without a line feed is lost.
        "[General]\nBuildSpeed=.8\nCurleyShuffle=yes\n[E1]\nCost=100\nSight=4",
    };
    for (const std::string& bytes : same) EXPECT_EQ(FingerprintOf(bytes), FingerprintOf(plain)) << bytes;

    // What the game keeps changes it: order, letter case, a duplicate, a value.
    const std::string different[] = {
        "[General]\nCurleyShuffle=yes\nBuildSpeed=.8\n[E1]\nCost=100\n",
        "[E1]\nCost=100\n[General]\nBuildSpeed=.8\nCurleyShuffle=yes\n",
        "[General]\nBuildSpeed=.8\nCurleyShuffle=Yes\n[E1]\nCost=100\n",
        "[General]\nBuildSpeed=.8\nCurleyShuffle=yes\n[E1]\nCost=100\nCost=100\n",
        "[General]\nBuildSpeed=80%\nCurleyShuffle=yes\n[E1]\nCost=100\n",
    };
    for (const std::string& bytes : different) EXPECT_NE(FingerprintOf(bytes), FingerprintOf(plain)) << bytes;
}

TEST(Fingerprint, CommandPrintsEightDigits) {
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    ASSERT_EQ(platform::ReplaceFileAtomically(path, "[General]\nBuildSpeed=.8\n"), 0);
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli({"fingerprint", path}, out, err), cli::kExitOk);
    EXPECT_EQ(out.str(), "4CC83C1D\n");
    std::ostringstream out2, err2;
    EXPECT_EQ(cli::RunCli({"fingerprint", dir.File("missing.ini")}, out2, err2), 2);
    EXPECT_NE(err2.str().find("missing.ini"), std::string::npos);
}

}  // namespace
}  // namespace morvane::compare
