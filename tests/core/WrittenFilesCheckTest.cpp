// What Morvane itself writes must pass its own check: the file of `morvane-cli new`, and a
// file after Default on every key of the tree.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include <string>

#include "RecordingMessageSink.h"
#include "TempDir.h"
#include "cli/CliCommand.h"
#include "editor/ValueEditor.h"
#include "gameview/GameCheck.h"
#include "gameview/GameKeys.h"
#include "platform/FileAccess.h"
#include "rulesfile/RulesFileAccess.h"
#include "schema/CatalogueFile.h"
#include "schema/DefaultRulesFile.h"
#include "tree/ItemFileAccess.h"
#include "tree/TreeBuilder.h"

namespace morvane {
namespace {

// The errors and warnings of a check, one a line; empty when there are none. A key the game
// never reads is a warning by right; Default writes one where the tree offers it, and only
// `skipUnread` passes over those.
std::string SeriousFindings(const std::string& bytes, bool skipUnread = false) {
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    std::string listed;
    for (const gameview::Finding& f : gameview::CheckRulesFile(gameview::GameIni(bytes), keys)) {
        if (f.level == gameview::Level::Note) continue;
        if (skipUnread && keys.IgnoresKey(f.section, f.key) && f.message.find("does not read") != std::string::npos)
            continue;
        listed += std::to_string(f.line) + ": " + gameview::LevelWord(f.level) + ": [" + f.section + "] " + f.key +
                  ": " + f.message + "\n";
    }
    return listed;
}

TEST(WrittenFilesCheck, NewFileHasNoErrorOrWarning) {
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    std::ostringstream out, err;
    ASSERT_EQ(cli::RunCli({"new", path}, out, err), cli::kExitOk) << err.str();
    const auto bytes = platform::ReadFileBytes(path);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(SeriousFindings(*bytes), "");
}

// Five thousand durable writes: in memory where the system has a memory file system.
std::filesystem::path FastTemporaryFolder() {
    std::error_code error;
    const char* memory = "/dev/shm";
    if (std::filesystem::is_directory(memory, error) && access(memory, W_OK) == 0) return memory;
    return std::filesystem::temp_directory_path();
}

TEST(WrittenFilesCheck, DefaultOnEveryKeyLeavesNoErrorOrWarning) {
    test::TempDir dir(FastTemporaryFolder());
    const std::string path = dir.File("rules.ini");
    ASSERT_EQ(platform::ReplaceFileAtomically(path, "[General]\r\n"), 0);
    Tree tree;
    test::RecordingMessageSink messages;
    RulesFileAccess rules(messages);
    rules.SetRulesPath(path);
    ItemFileAccess items(BuiltInCatalogue(), tree, rules);
    TreeBuilder(tree, BuiltInCatalogue(), rules).BuildTree();
    ValueEditor editor(tree, BuiltInCatalogue(), items);

    std::size_t defaults = 0;
    for (TreeItem item = 1; item <= tree.ItemCount(); ++item) {
        if (tree.ItemHasChildren(item) || tree.GetItemData(item).infoId == 0) continue;
        if (items.FindSectionItem(item) == kNoItem) continue;
        editor.OnSelchangedTree(item);
        if (!editor.m_bDefaultEnabled) continue;
        editor.OnDefault();
        ++defaults;
    }
    EXPECT_GT(defaults, 4000u);
    EXPECT_TRUE(messages.messages.empty());
    const auto bytes = platform::ReadFileBytes(path);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(SeriousFindings(*bytes, true), "");
}

}  // namespace
}  // namespace morvane
