// The history of writes: each step keeps the lines it changed, undo and redo put those lines
// back through the document, which never overwrites another program's change unasked.
#include "editor/EditHistory.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <set>

#include "CliRun.h"
#include "TempDir.h"
#include "platform/FileAccess.h"

namespace morvane {
namespace {

using Direction = EditHistory::Direction;

class EditHistoryTest : public testing::Test {
protected:
    // Writes the value through the document, sets the key item's value, and records the step as the
    // window does.
    void Step(const std::string& key, const std::string& value) {
        const LabelPicture labels = TakeLabels(m_tree);
        const platform::ProfileWrite write{"E1", key, value};
        WriteRecord record;
        ASSERT_EQ(m_document.Write(std::span<const platform::ProfileWrite>(&write, 1), &record), 0);
        m_tree.SetItemValue(m_key, value);
        m_history.Record({"Apply " + key, std::move(record), ChangedLabels(labels, m_tree)});
    }
    void WriteFile(const std::string& bytes) { ASSERT_EQ(platform::ReplaceFileAtomically(m_path, bytes), 0); }
    std::string FileText() const { return platform::ReadFileBytes(m_path).value_or("<no file>"); }
    int Undo(bool evenIfChanged = false) { return m_history.Move(Direction::Back, m_document, m_tree, evenIfChanged); }
    int Redo(bool evenIfChanged = false) {
        return m_history.Move(Direction::Forward, m_document, m_tree, evenIfChanged);
    }

    test::TempDir m_dir;
    const std::string m_path = m_dir.File("rules.ini");
    RulesDocument m_document{m_path};
    Tree m_tree;
    const TreeItem m_section = m_tree.InsertItem("Rifle soldier", 0, 0, {});
    const TreeItem m_key = m_tree.InsertKeyItem("Cost", std::nullopt, 0, 0, {}, m_section);
    EditHistory m_history;
};

TEST_F(EditHistoryTest, UndoAndRedoPutTheLinesAndLabelsBack) {
    // The key absent, then a value, then a second value; a note on another line stays.
    WriteFile("[E1]\nName=x ; n\n");
    Step("Cost", "5");
    Step("Cost", "6");
    EXPECT_EQ(m_history.Next(Direction::Back).description, "Apply Cost");
    EXPECT_EQ(m_history.Next(Direction::Back).labels.size(), 1u);

    ASSERT_EQ(Undo(), 0);
    EXPECT_EQ(FileText(), "[E1]\nName=x ; n\nCost=5\n");
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost = 5");
    ASSERT_EQ(Undo(), 0);
    EXPECT_EQ(FileText(), "[E1]\nName=x ; n\n");
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost");
    EXPECT_FALSE(m_history.CanUndo());

    ASSERT_EQ(Redo(), 0);
    EXPECT_EQ(FileText(), "[E1]\nName=x ; n\nCost=5\n");
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost = 5");
    EXPECT_TRUE(m_history.CanRedo());
}

TEST_F(EditHistoryTest, AKeyTakenOutComesBackOnUndo) {
    // Default on a key without a default text takes its line out; undo puts the very line back.
    const std::string file = "[E1]\r\nCost=5 ; five\r\nName=x\r\n";
    WriteFile(file);
    m_tree.SetItemValue(m_key, "5");
    const LabelPicture labels = TakeLabels(m_tree);
    WriteRecord record;
    ASSERT_EQ(m_document.Remove("E1", "Cost", &record), 0);
    EXPECT_EQ(FileText(), "[E1]\r\nName=x\r\n");
    m_tree.SetItemValue(m_key, std::nullopt);
    ASSERT_FALSE(record.Empty());
    m_history.Record({"Default Cost", std::move(record), ChangedLabels(labels, m_tree)});

    ASSERT_EQ(Undo(), 0);
    EXPECT_EQ(FileText(), file);
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost = 5");
    ASSERT_EQ(Redo(), 0);
    EXPECT_EQ(FileText(), "[E1]\r\nName=x\r\n");
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost");

    // Nothing to take out: no write, no step to record.
    WriteRecord none;
    ASSERT_EQ(m_document.Remove("E1", "Cost", &none), 0);
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(FileText(), "[E1]\r\nName=x\r\n");
}

TEST_F(EditHistoryTest, ANewStepDropsTheUndoneSteps) {
    WriteFile("[E1]\nCost=1\n");
    Step("Cost", "2");
    Step("Cost", "3");
    ASSERT_EQ(Undo(), 0);
    ASSERT_EQ(Undo(), 0);
    Step("Power", "9");
    EXPECT_FALSE(m_history.CanRedo()) << "the undone Cost steps are gone";
    EXPECT_EQ(m_history.StepCount(), 1u);
    ASSERT_EQ(Undo(), 0);
    EXPECT_EQ(FileText(), "[E1]\nCost=1\n");
    EXPECT_FALSE(m_history.CanUndo());
    // What comes back is the new step, not one of the dropped ones.
    ASSERT_EQ(Redo(), 0);
    EXPECT_EQ(FileText(), "[E1]\nCost=1\nPower=9\n");
    EXPECT_FALSE(m_history.CanRedo());
}

TEST_F(EditHistoryTest, UndoOfTheStepThatMadeTheFile) {
    const struct {
        const char* name;
        const char* othersWrite;  // another program's file after the step; nullptr: none
        const char* afterUndo;
    } cases[] = {
        {"nothing else in it: the file goes again", nullptr, "<no file>"},
        {"another program's section in it: that stays", "[E1]\nCost=5\n[Mine]\nX=1\n", "[Mine]\nX=1\n"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(m_path);
        m_document.Forget();
        m_history.Clear();
        m_tree.SetItemValue(m_key, std::nullopt);
        Step("Cost", "5");
        ASSERT_TRUE(m_history.Next(Direction::Back).written.madeFile) << c.name;
        const std::string made = FileText();
        if (c.othersWrite != nullptr) WriteFile(c.othersWrite);
        ASSERT_EQ(Undo(), 0) << c.name;
        EXPECT_EQ(FileText(), c.afterUndo) << c.name;
        EXPECT_EQ(m_document.Exists(), c.othersWrite != nullptr) << c.name;
        EXPECT_EQ(m_tree.GetItemText(m_key), "Cost") << c.name;
        ASSERT_EQ(Redo(), 0) << c.name;
        if (c.othersWrite == nullptr) {
            EXPECT_EQ(FileText(), made) << c.name;
        }
        EXPECT_EQ(m_document.Value("E1", "Cost"), "5") << c.name;
    }
}

TEST_F(EditHistoryTest, ALineChangedSinceIsLeftUnlessTheUserAgrees) {
    WriteFile("[E1]\nCost=1\n");
    Step("Cost", "5");
    WriteFile("[E1]\nCost=7\nPower=3\n");  // another program changes the step's own line

    EXPECT_EQ(Undo(), platform::kErrorFileChanged);
    EXPECT_EQ(FileText(), "[E1]\nCost=7\nPower=3\n");
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost = 5");
    EXPECT_TRUE(m_history.CanUndo());

    ASSERT_EQ(Undo(true), 0);
    EXPECT_EQ(FileText(), "[E1]\nCost=1\nPower=3\n") << "only the step's line is put back";
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost");
    EXPECT_TRUE(m_document.LastEditKeptOutsideChange());
    ASSERT_EQ(Redo(), 0);
    EXPECT_FALSE(m_document.LastEditKeptOutsideChange());
}

TEST_F(EditHistoryTest, AFailedPutKeepsTheCursor) {
    WriteFile("[E1]\n");
    Step("Cost", "5");
    // A folder where the file was: nothing can be written, even when the user agrees.
    std::filesystem::remove(m_path);
    std::filesystem::create_directory(m_path);
    for (const bool evenIfChanged : {false, true}) {
        EXPECT_NE(Undo(evenIfChanged), 0);
        EXPECT_EQ(m_tree.GetItemText(m_key), "Cost = 5");
        EXPECT_TRUE(m_history.CanUndo());
        EXPECT_FALSE(m_history.CanRedo());
    }
}

TEST_F(EditHistoryTest, TheOldestStepsGoBeyondTheLimits) {
    WriteFile("[E1]\nCost=0\n");
    const struct {
        const char* name;
        HistoryLimits limits;
        std::size_t kept;
    } cases[] = {
        {"three steps", {3, 1u << 20}, 3},
        {"no room at all", {1000, 0}, 1},  // the newest step is kept whatever its size
    };
    for (const auto& c : cases) {
        WriteFile("[E1]\nCost=0\n");
        m_history = EditHistory(c.limits);
        for (int value = 1; value <= 6; ++value) Step("Cost", std::to_string(value));
        EXPECT_EQ(m_history.StepCount(), c.kept) << c.name;
        std::size_t undone = 0;
        while (m_history.CanUndo()) {
            ASSERT_EQ(Undo(), 0) << c.name;
            ++undone;
        }
        EXPECT_EQ(undone, c.kept) << c.name;
        EXPECT_EQ(m_document.Value("E1", "Cost"), std::to_string(6 - c.kept)) << c.name;
    }
    // By memory: the steps kept take no more than the limit.
    m_history = EditHistory(HistoryLimits{1000, 2000});
    for (int value = 1; value <= 50; ++value) Step("Cost", std::to_string(value));
    EXPECT_LE(m_history.MemoryBytes(), 2000u);
    EXPECT_GT(m_history.StepCount(), 1u);
    EXPECT_LT(m_history.StepCount(), 50u);
}

#ifndef _WIN32
// Another process writes keys of its own, one after another, while this one applies and
// undoes: every write it was told succeeded is in the file at the end.
TEST_F(EditHistoryTest, ASecondWriterLosesNothingToApplyAndUndo) {
    WriteFile("[E1]\nCost=0\n[Other]\n");
    constexpr int kTheirWrites = 150;
    int acknowledged[2];
    ASSERT_EQ(pipe(acknowledged), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        close(acknowledged[0]);
        for (int i = 0; i < kTheirWrites; ++i) {
            const std::string value = std::to_string(i * 7);
            if (cli::Cli({"set", m_path, "Other", "W" + std::to_string(i), value}).code != 0) continue;
            if (write(acknowledged[1], &i, sizeof i) != sizeof i) _exit(2);
        }
        _exit(0);
    }
    close(acknowledged[1]);
    for (int round = 1; round <= 60; ++round) {
        Step("Cost", std::to_string(round));
        if (round % 3 != 0) {
            ASSERT_EQ(Undo(), 0) << round;
        }
        if (round % 5 == 0) {
            ASSERT_EQ(Redo(), 0) << round;
        }
    }
    std::set<int> theirs;
    for (int i = 0; read(acknowledged[0], &i, sizeof i) == sizeof i;) theirs.insert(i);
    close(acknowledged[0]);
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(theirs.empty());

    m_document.Refresh();
    for (const int i : theirs)
        EXPECT_EQ(m_document.Value("Other", "W" + std::to_string(i)), std::to_string(i * 7)) << "write " << i;
    // The last round (60) was applied and kept.
    EXPECT_EQ(m_document.Value("E1", "Cost"), "60");
}
#endif

}  // namespace
}  // namespace morvane
