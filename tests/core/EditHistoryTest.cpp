// The history of writes: undo and redo put the whole file and the labels back.
#include "editor/EditHistory.h"

#include <gtest/gtest.h>
#include <filesystem>

#include "TempDir.h"
#include "platform/FileAccess.h"

namespace morvane {
namespace {

class EditHistoryTest : public testing::Test {
protected:
    // Writes `after`, sets the key's value, and records the step as the window does.
    void Step(const std::string& after, const std::string& value) {
        const std::string before = FileText();
        const LabelPicture labels = TakeLabels(m_tree);
        ASSERT_EQ(platform::ReplaceFileAtomically(m_path, after), 0);
        m_tree.SetItemValue(m_key, value);
        m_history.Record({"Apply Cost", before, after, ChangedLabels(labels, m_tree)});
    }
    std::string FileText() const { return platform::ReadFileBytes(m_path).value_or(""); }

    test::TempDir m_dir;
    const std::string m_path = m_dir.File("rules.ini");
    Tree m_tree;
    const TreeItem m_section = m_tree.InsertItem("Rifle soldier", 0, 0, {});
    const TreeItem m_key = m_tree.InsertKeyItem("Cost", std::nullopt, 0, 0, {}, m_section);
    EditHistory m_history;
};

TEST_F(EditHistoryTest, UndoAndRedoRestoreBytesAndLabels) {
    // The key absent, then a value with a comment kept, then a second value.
    ASSERT_EQ(platform::ReplaceFileAtomically(m_path, "[E1]\nName=x ; n\n"), 0);
    Step("[E1]\nName=x ; n\nCost=5\n", "5");
    Step("[E1]\nName=x ; n\nCost=6\n", "6");
    EXPECT_EQ(m_history.NextUndo().labels.size(), 1u);

    ASSERT_EQ(m_history.Undo(m_path, m_tree, false), 0);
    EXPECT_EQ(FileText(), "[E1]\nName=x ; n\nCost=5\n");
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost = 5");
    ASSERT_EQ(m_history.Undo(m_path, m_tree, false), 0);
    EXPECT_EQ(FileText(), "[E1]\nName=x ; n\n");
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost");
    EXPECT_FALSE(m_history.CanUndo());

    ASSERT_EQ(m_history.Redo(m_path, m_tree, false), 0);
    EXPECT_EQ(FileText(), "[E1]\nName=x ; n\nCost=5\n");
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost = 5");

    // A new step drops what was undone.
    Step("[E1]\nName=x ; n\nCost=7\n", "7");
    EXPECT_FALSE(m_history.CanRedo());
    ASSERT_EQ(m_history.Undo(m_path, m_tree, false), 0);
    EXPECT_EQ(FileText(), "[E1]\nName=x ; n\nCost=5\n");
}

TEST_F(EditHistoryTest, AFileChangedSinceIsLeftUnlessTheUserAgrees) {
    ASSERT_EQ(platform::ReplaceFileAtomically(m_path, "[E1]\n"), 0);
    Step("[E1]\nCost=5\n", "5");
    EXPECT_EQ(m_history.CheckUndo(m_path), EditHistory::FileState::AsLeft);
    ASSERT_EQ(platform::ReplaceFileAtomically(m_path, "[E1]\nCost=5\n[E2]\n"), 0);  // another program's change
    EXPECT_EQ(m_history.CheckUndo(m_path), EditHistory::FileState::Changed);

    EXPECT_EQ(m_history.Undo(m_path, m_tree, false), platform::kErrorFileChanged);
    EXPECT_EQ(FileText(), "[E1]\nCost=5\n[E2]\n");
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost = 5");
    EXPECT_TRUE(m_history.CanUndo());

    ASSERT_EQ(m_history.Undo(m_path, m_tree, true), 0);
    EXPECT_EQ(FileText(), "[E1]\n");
    EXPECT_EQ(m_tree.GetItemText(m_key), "Cost");
    EXPECT_EQ(m_history.CheckRedo(m_path), EditHistory::FileState::AsLeft);
}

TEST_F(EditHistoryTest, AFailedReplaceKeepsTheCursor) {
    ASSERT_EQ(platform::ReplaceFileAtomically(m_path, "[E1]\n"), 0);
    Step("[E1]\nCost=5\n", "5");
    // A folder where the file was: no replace can succeed, even when the user agrees.
    std::filesystem::remove(m_path);
    std::filesystem::create_directory(m_path);
    for (const bool evenIfChanged : {false, true}) {
        EXPECT_NE(m_history.Undo(m_path, m_tree, evenIfChanged), 0);
        EXPECT_EQ(m_tree.GetItemText(m_key), "Cost = 5");
        EXPECT_TRUE(m_history.CanUndo());
        EXPECT_FALSE(m_history.CanRedo());
    }
}

}  // namespace
}  // namespace morvane
