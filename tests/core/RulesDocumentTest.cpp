// The open rules file as one document: read once, made into its parses on demand, written
// through one locked edit, and its writes put back line by line.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "ValueEditorFixture.h"
#include "gameview/GameLayers.h"
#include "rulesfile/RulesDocument.h"

namespace morvane {
namespace {

using platform::FileReadCount;

class RulesDocumentTest : public testing::Test {
protected:
    void WriteFile(const std::string& bytes) { ASSERT_EQ(platform::ReplaceFileAtomically(m_path, bytes), 0); }
    std::string FileText() const { return platform::ReadFileBytes(m_path).value_or("<no file>"); }
    int Set(RulesDocument& document, const std::string& section, const std::string& key, const std::string& value,
            WriteRecord* record = nullptr) {
        const platform::ProfileWrite write{section, key, value};
        return document.Write(std::span<const platform::ProfileWrite>(&write, 1), record);
    }

    test::TempDir m_dir;
    const std::string m_path = m_dir.File("rules.ini");
};

TEST_F(RulesDocumentTest, ReadsTheFileOnceForEveryView) {
    WriteFile("[General]\r\nCrateMinimum=Empty\r\nCrateMaximum=7 ; seven\r\n[E1]\r\ncost=100\r\n");
    const auto reads = FileReadCount();
    RulesDocument document(m_path);
    EXPECT_EQ(FileReadCount(), reads) << "nothing is read before it is asked for";
    EXPECT_EQ(document.Value("General", "CrateMinimum"), "Empty") << "Empty is a value like any other";
    EXPECT_EQ(document.Value("general", "cratemaximum"), "7");
    EXPECT_EQ(document.Value("General", "Missing"), std::nullopt);
    ASSERT_NE(document.GameEntry("General", "CrateMaximum"), nullptr);
    EXPECT_EQ(document.GameEntry("E1", "Cost"), nullptr) << "the game matches names exactly";
    EXPECT_FALSE(document.Findings().empty());
    EXPECT_EQ(FileReadCount(), reads + 1);
    // One reading per change of the bytes, which the layers share rather than parse again.
    const std::shared_ptr<const gameview::GameIni> reading = document.SharedGame();
    EXPECT_EQ(reading.get(), &document.Game());
    gameview::LayerStack stack;
    stack.SetFile(gameview::Layer::Rules, m_path, reading);
    EXPECT_EQ(stack.Ini(gameview::Layer::Rules), reading.get());
    // The bytes are held once: the profile parse and a holder beyond the next change share them.
    const std::shared_ptr<const std::string> held = document.SharedBytes();
    EXPECT_EQ(held->data(), document.Bytes().data());
    EXPECT_EQ(document.Ini().Bytes().data(), held->data());

    EXPECT_FALSE(document.Refresh()) << "an unchanged file is not read again";
    EXPECT_EQ(FileReadCount(), reads + 1);
    WriteFile("[General]\r\nCrateMinimum=3\r\n");
    EXPECT_TRUE(document.Refresh());
    EXPECT_EQ(document.Value("General", "CrateMinimum"), "3");
    EXPECT_EQ(document.GameEntry("General", "CrateMaximum"), nullptr) << "the game's reading follows the bytes";
    EXPECT_NE(document.SharedGame(), reading);
    EXPECT_NE(reading->Find("General", "CrateMaximum"), nullptr) << "a reading held elsewhere stays whole";
    EXPECT_NE(held->find("CrateMaximum"), std::string::npos) << "and so do bytes held elsewhere";

    std::filesystem::remove(m_path);
    EXPECT_TRUE(document.Refresh());
    EXPECT_FALSE(document.Exists());
    EXPECT_EQ(document.Value("General", "CrateMinimum"), std::nullopt);
    EXPECT_TRUE(document.Findings().empty());
}

TEST_F(RulesDocumentTest, AWriteReadsOnceUnderTheLockAndKeepsWhatItWrote) {
    WriteFile("[General]\r\nCrateMinimum=2\r\n");
    RulesDocument document(m_path);
    EXPECT_EQ(document.Value("General", "CrateMinimum"), "2");
    const auto reads = FileReadCount();
    WriteRecord record;
    ASSERT_EQ(Set(document, "General", "CrateMinimum", "5", &record), 0);
    EXPECT_EQ(FileReadCount(), reads + 1);
    EXPECT_EQ(document.Value("General", "CrateMinimum"), "5");
    EXPECT_FALSE(document.Refresh()) << "its own write is not news";
    EXPECT_EQ(FileReadCount(), reads + 1);
    EXPECT_EQ(document.Bytes(), FileText());
    ASSERT_EQ(record.lines.size(), 1u);
    EXPECT_EQ(record.lines[0].before, "CrateMinimum=2");
    EXPECT_EQ(record.lines[0].after, "CrateMinimum=5");
    EXPECT_FALSE(record.madeFile);

    // Another program's write in between is edited, not overwritten.
    WriteFile("[General]\r\nCrateMinimum=5\r\nCrateMaximum=9\r\n");
    ASSERT_EQ(Set(document, "General", "CrateMinimum", "6"), 0);
    EXPECT_EQ(FileText(), "[General]\r\nCrateMinimum=6\r\nCrateMaximum=9\r\n");
    EXPECT_EQ(document.Value("General", "CrateMaximum"), "9");

    // A refused write changes nothing.
    EXPECT_EQ(Set(document, "General", "CrateMinimum", "1;2"), platform::kErrorInvalidParameter);
    EXPECT_EQ(document.Value("General", "CrateMinimum"), "6");
}

TEST_F(RulesDocumentTest, PuttingTheLinesBackRestoresTheBytes) {
    const struct {
        const char* name;
        std::optional<std::string> file;  // nothing: the file does not exist
        std::vector<platform::ProfileWrite> writes;
    } cases[] = {
        {"a value replaced, with its note", "[S]\r\nA=1 ; one\r\nB=2\r\n", {{"S", "A", "3"}}},
        {"a key added after the last key", "[S]\r\nA=1\r\nB=2\r\n\r\n[T]\r\nC=1\r\n", {{"S", "New", "x"}}},
        {"a key added to a section whose last line has no line ending", "[S]\r\nA=1", {{"S", "B", "2"}}},
        {"a section added", "[S]\r\nA=1\r\n", {{"T", "A", "1"}, {"T", "B", "2"}}},
        {"a section added to an empty file", "", {{"T", "A", "1"}}},
        {"several sections added",
         "[S]\r\nA=1\r\n",
         {{"S", "A", "2"}, {"T", "A", "1"}, {"U", "A", "1"}, {"V", "A", "1"}}},
        {"the file did not exist", std::nullopt, {{"T", "A", "1"}}},
        {"keys in several sections",
         "[S]\n;note\nA=1\n[T]\nA=2\n",
         {{"S", "A", "9"}, {"T", "A", "9"}, {"U", "A", "9"}}},
        {"a name written in other letter case", "[S]\r\ncost=1\r\n", {{"S", "Cost", "2"}}},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(m_path);
        if (c.file) WriteFile(*c.file);
        RulesDocument document(m_path);
        WriteRecord record;
        ASSERT_EQ(document.Write(c.writes, &record), 0) << c.name;
        const std::string after = FileText();
        ASSERT_EQ(document.PutLines(record, RulesDocument::Direction::Back, false), 0) << c.name;
        // A file that did not exist is gone again.
        EXPECT_EQ(FileText(), c.file.value_or("<no file>")) << c.name;
        ASSERT_EQ(document.PutLines(record, RulesDocument::Direction::Forward, false), 0) << c.name;
        EXPECT_EQ(FileText(), after) << c.name;
        EXPECT_EQ(document.Bytes(), after) << c.name;
    }
}

TEST_F(RulesDocumentTest, AKeyTakenOutGoesBackWhereItWas) {
    const struct {
        const char* name;
        const char* file;
        const char* without;  // the file after [S] A is taken out
    } cases[] = {
        {"between two keys, with its note", "[S]\r\nB=1\r\nA=2 ; two\r\nC=3\r\n", "[S]\r\nB=1\r\nC=3\r\n"},
        {"first in its section", "[S]\nA=2\nB=1\n[T]\nA=1\n", "[S]\nB=1\n[T]\nA=1\n"},
        {"the last line, without a line break", "[S]\nB=1\nA=2", "[S]\nB=1"},
    };
    for (const auto& c : cases) {
        WriteFile(c.file);
        RulesDocument document(m_path);
        WriteRecord record;
        ASSERT_EQ(document.Remove("S", "A", &record), 0) << c.name;
        EXPECT_EQ(FileText(), c.without) << c.name;
        ASSERT_EQ(document.PutLines(record, RulesDocument::Direction::Back, false), 0) << c.name;
        EXPECT_EQ(FileText(), c.file) << c.name;
        ASSERT_EQ(document.PutLines(record, RulesDocument::Direction::Forward, false), 0) << c.name;
        EXPECT_EQ(FileText(), c.without) << c.name;
    }
}

TEST_F(RulesDocumentTest, AKeyTakenOutBeforeItsDuplicateGoesBackFirstWhenAsked) {
    // The game reads the first of two lines of a name: taking it out lets the other one play,
    // which undo cannot tell from another program's line, so it asks; agreed, the taken line
    // goes back first again and the other one stays.
    const std::string file = "[S]\nA=2\nB=1\nA=9\n";
    WriteFile(file);
    RulesDocument document(m_path);
    WriteRecord record;
    ASSERT_EQ(document.Remove("S", "A", &record), 0);
    EXPECT_EQ(FileText(), "[S]\nB=1\nA=9\n");
    EXPECT_EQ(document.PutLines(record, RulesDocument::Direction::Back, false), platform::kErrorFileChanged);
    ASSERT_EQ(document.PutLines(record, RulesDocument::Direction::Back, true), 0);
    EXPECT_EQ(FileText(), file);
}

TEST_F(RulesDocumentTest, PuttingLinesBackKeepsAnotherProgramsWrites) {
    WriteFile("[S]\r\nA=1\r\nB=2\r\n");
    RulesDocument document(m_path);
    WriteRecord changes;
    ASSERT_EQ(Set(document, "S", "A", "5", &changes), 0);

    // Another program adds a key and a section: undo takes back A only.
    WriteFile("[S]\r\nA=5\r\nB=2\r\nC=3\r\n[Mine]\r\nX=1\r\n");
    ASSERT_EQ(document.PutLines(changes, RulesDocument::Direction::Back, false), 0);
    EXPECT_EQ(FileText(), "[S]\r\nA=1\r\nB=2\r\nC=3\r\n[Mine]\r\nX=1\r\n");

    // Another program changes the very line: nothing is written unless the caller insists.
    WriteFile("[S]\r\nA=7\r\nB=2\r\n");
    EXPECT_EQ(document.PutLines(changes, RulesDocument::Direction::Forward, false), platform::kErrorFileChanged);
    EXPECT_EQ(FileText(), "[S]\r\nA=7\r\nB=2\r\n");
    ASSERT_EQ(document.PutLines(changes, RulesDocument::Direction::Forward, true), 0);
    EXPECT_EQ(FileText(), "[S]\r\nA=5\r\nB=2\r\n");
}

// One Apply in the editor: the file is read once, under the write's lock; the "game reads"
// line comes from the bytes written, not from a second read.
class ApplyReadsTest : public test::ValueEditorTest {};

TEST_F(ApplyReadsTest, OneApplyReadsTheFileOnce) {
    WriteFile("[General]\r\nCrateMinimum=2\r\n");
    m_rules.Document().Refresh();
    SelectKey("CrateMinimum = 2", test::kIntCrates);
    m_editor.m_strValue = "7";
    const auto reads = FileReadCount();
    ASSERT_TRUE(m_editor.OnApply());
    EXPECT_EQ(FileReadCount() - reads, 1u);
    EXPECT_NE(m_editor.m_strGameReads.find('7'), std::string::npos) << m_editor.m_strGameReads;
    EXPECT_EQ(m_rules.Document().Findings().size(), m_rules.Document().Findings().size());
    EXPECT_EQ(FileReadCount() - reads, 1u) << "the findings come from the written bytes";
}

}  // namespace
}  // namespace morvane
