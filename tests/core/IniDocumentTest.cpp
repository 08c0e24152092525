#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "platform/IniDocument.h"

namespace morvane::platform {
namespace {

struct ReadCase {
    const char* file;
    const char* section;
    const char* key;
    std::optional<std::string> value;
};

TEST(IniDocument, Reads) {
    const ReadCase cases[] = {
        {"[General]\r\nCrateMinimum=1\r\n", "General", "CrateMinimum", "1"},
        {"[general]\nCRATEMINIMUM = 7 \n", "GENERAL", "crateminimum", "7"},             // any case, blanks trimmed
        {"[General]\rA=1\rB=2", "General", "B", "2"},                                   // CR alone, no final break
        {"\xEF\xBB\xBF[General]\r\nA=1\r\n", "General", "A", "1"},                      // byte-order mark skipped
        {"[General]\r\nA=5          ; five\r\n", "General", "A", "5          ; five"},  // comment kept
        {"[General]\r\n; A=9\r\nA=1\r\n", "General", "A", "1"},                         // commented line is no key
        {"[General]\r\n  ;A = 9\r\n", "General", "A", std::nullopt},
        {"[General]\r\n;B=2\r\n", "General", ";B", std::nullopt},                  // not even under its own spelling
        {"A=0\r\n[General]\r\nB=1\r\n", "", "A", std::nullopt},                    // before any section
        {"[General]\r\nA=1\r\nA=2\r\n[General]\r\nA=3\r\n", "General", "A", "1"},  // first match counts
        {"[X]\r\nA=1\r\n[General]\r\nB=1\r\n[General]\r\nA=3\r\n", "General", "A",
         std::nullopt},                                                       // only the first section
        {"[general]\r\nA=1\r\n[GENERAL]\r\nA=2\r\n", "General", "A", "1"},    // the first in any case
        {"[\xC4x]\r\nA=1\r\n", "\xE4X", "A", std::nullopt},                   // only ASCII letters fold
        {"  [ Spaced Name ]  \r\n A = x=y \r\n", "Spaced Name", "A", "x=y"},  // value holds "="
        {"[General]\r\nA=\r\n", "General", "A", ""},
        {"[General]\r\nA\r\n", "General", "A", std::nullopt},                 // no "=": no key
        {"[NoClose\r\nA=1\r\n", "NoClose", "A", std::nullopt},                // no "]": no header, as for the game
        {"[General]\r\nA=\t\"quoted\"\t\r\n", "General", "A", "\"quoted\""},  // no quote stripping
        {"", "General", "A", std::nullopt},
    };
    for (const ReadCase& c : cases) {
        const IniDocument document(c.file);
        const auto value = document.Find(c.section, c.key);
        EXPECT_EQ(value ? std::optional<std::string>(std::string(*value)) : std::nullopt, c.value) << c.file;
    }
}

TEST(IniDocument, ReadsLongValuesWhole) {
    const std::string longValue(5000, 'x');
    const IniDocument document("[S]\r\nK=" + longValue + "\r\n");
    EXPECT_EQ(document.Find("S", "K"), longValue);
}

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }

class IniDocumentWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(IniDocumentWrite, ChangesOnlyItsLine) {
    const WriteCase& c = GetParam();
    EXPECT_EQ(IniDocument(c.before).WithValue(c.section, c.key, c.value), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniDocumentWrite,
    testing::Values(
        WriteCase{"ReplaceCrLf", "[General]\r\nA=1\r\nB=2\r\n", "General", "A", "9", "[General]\r\nA=9\r\nB=2\r\n"},
        // The game matches key names exactly: the caller's spelling is written.
        WriteCase{"ReplaceTakesCallersSpelling", "[general]\n  crateMINIMUM = 1\n", "General", "CrateMinimum", "22",
                  "[general]\n  CrateMinimum = 22\n"},
        WriteCase{"ReplaceDropsTrailingBlanks", "[S]\r\nA=1   \r\n", "S", "A", "2", "[S]\r\nA=2\r\n"},
        WriteCase{"ReplaceNoFinalBreak", "[S]\r\nA=1", "S", "A", "2", "[S]\r\nA=2"},
        WriteCase{"ReplaceEmptyValue", "[S]\r\nA=1\r\n", "S", "A", "", "[S]\r\nA=\r\n"},
        WriteCase{"CommentKeepsColumn", "[S]\r\nCrateMinimum=1          ; crates are normally few\r\n", "S",
                  "CrateMinimum", "12", "[S]\r\nCrateMinimum=12         ; crates are normally few\r\n"},
        WriteCase{"CommentPushedRight", "[S]\r\nA=1 ;c\r\n", "S", "A", "12345", "[S]\r\nA=12345 ;c\r\n"},
        WriteCase{"CommentWithoutBlank", "[S]\r\nA=1;c\r\n", "S", "A", "2", "[S]\r\nA=2 ;c\r\n"},
        WriteCase{"CommentOnEmptyValue", "[S]\r\nA=;c\r\n", "S", "A", "7", "[S]\r\nA=7 ;c\r\n"},
        WriteCase{"FirstOfDuplicateKeys", "[S]\r\nA=1\r\nA=2\r\n", "S", "A", "3", "[S]\r\nA=3\r\nA=2\r\n"},
        WriteCase{"FirstOfDuplicateSections", "[S]\r\nA=1\r\n[S]\r\nA=2\r\n", "S", "A", "3",
                  "[S]\r\nA=3\r\n[S]\r\nA=2\r\n"},
        WriteCase{"NewKeyAfterLastKey", "[S]\r\nA=1\r\n\r\n; about T\r\n[T]\r\nB=2\r\n", "S", "C", "3",
                  "[S]\r\nA=1\r\nC=3\r\n\r\n; about T\r\n[T]\r\nB=2\r\n"},
        WriteCase{"NewKeyAfterLastOfSeveralKeys", "[S]\r\nA=1\r\n; note\r\nB=2\r\n\r\n[T]\r\nD=4\r\n", "S", "C", "3",
                  "[S]\r\nA=1\r\n; note\r\nB=2\r\nC=3\r\n\r\n[T]\r\nD=4\r\n"},
        // A commented-out key is no key: the new one follows the last real key.
        WriteCase{"NewKeyBeforeCommentedKey", "[S]\r\nA=1\r\n;B=2\r\n[T]\r\n", "S", "C", "3",
                  "[S]\r\nA=1\r\nC=3\r\n;B=2\r\n[T]\r\n"},
        WriteCase{"NewKeyInEmptySection", "[S]\r\n; note\r\n[T]\r\n", "S", "C", "3", "[S]\r\nC=3\r\n; note\r\n[T]\r\n"},
        WriteCase{"NewKeyLfFile", "[S]\nA=1\n", "S", "B", "2", "[S]\nA=1\nB=2\n"},
        WriteCase{"NewKeyAtEndWithoutBreak", "[S]\r\nA=1", "S", "B", "2", "[S]\r\nA=1\r\nB=2"},
        WriteCase{"NewSection", "[S]\r\nA=1\r\n", "T", "B", "2", "[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n"},
        WriteCase{"NewSectionNoFinalBreak", "[S]\nA=1", "T", "B", "2", "[S]\nA=1\n\n[T]\nB=2\n"},
        WriteCase{"NewSectionEmptyFile", "", "T", "B", "2", "[T]\r\nB=2\r\n"},
        WriteCase{"NewSectionCrFile", "[S]\rA=1\r", "T", "B", "2", "[S]\rA=1\r\r[T]\rB=2\r"},
        WriteCase{"ByteOrderMarkKept", "\xEF\xBB\xBF[S]\r\nA=1\r\n", "S", "A", "2", "\xEF\xBB\xBF[S]\r\nA=2\r\n"},
        WriteCase{"ValueWithEquals", "[S]\r\nA=1\r\n", "S", "A", "a=b", "[S]\r\nA=a=b\r\n"},
        // Mixed line endings: a new line ends as the line before it, so no ending merges with
        // the next one into a CR LF and no blank line is lost.
        WriteCase{"NewKeyAfterLfLineInCrFile", "[s]\rk=1\n\n[t]\n", "s", "new", "v", "[s]\rk=1\nnew=v\n\n[t]\n"},
        WriteCase{"NewSectionAfterLoneCr", "a\nb\r", "s", "k", "v", "a\nb\r\r[s]\nk=v\n"},
        WriteCase{"EmptyValueKeepsCommentColumn", "[s]\r\nk=   ;c\r\n", "s", "k", "", "[s]\r\nk=   ;c\r\n"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(IniDocument, SeveralEditsFromOneParse) {
    const struct {
        const char* before;
        std::vector<IniDocument::Edit> edits;
        const char* after;
    } cases[] = {
        // the value replaced and a key added after the same last line, which has no line break
        {"[S]\r\nA=1", {{"S", "A", "5"}, {"S", "B", "2"}}, "[S]\r\nA=5\r\nB=2"},
        {"[S]\nA=1\n[T]\nX=1\n",
         {{"T", "Y", "2"}, {"S", "B", "3"}, {"U", "Z", "4"}, {"u", "W", "5"}},
         "[S]\nA=1\nB=3\n[T]\nX=1\nY=2\n\n[U]\nZ=4\nW=5\n"},
        {"[S]\r\n", {{"S", "A", "1"}, {"S", "a", "2"}}, "[S]\r\na=2\r\n"},  // the later one counts
        {"", {{"S", "A", "1"}, {"T", "B", "2"}}, "[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(IniDocument(c.before).WithValues(c.edits), c.after) << c.before;
}

// Writes made for the game's reader: they land where the game reads them.
TEST(IniDocument, WritesForTheGame) {
    const struct {
        const char* what;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } cases[] = {
        {"header in other case fixed", "[e1]\r\ncost=5\r\n", "E1", "Cost", "150", "[E1]\r\nCost=150\r\n"},
        {"exact section wins over other case", "[e1]\r\nCost=1\r\n[E1]\r\nSpeed=4\r\n", "E1", "Cost", "2",
         "[e1]\r\nCost=1\r\n[E1]\r\nSpeed=4\r\nCost=2\r\n"},
        {"added key after a last line without break", "[S]\r\nA=1", "S", "B", "2", "[S]\r\nA=1\r\nB=2\r\n"},
        {"replaced last line without break", "[S]\nA=1", "S", "A", "2", "[S]\nA=2\n"},
        {"every copy of a key", "[S]\r\nA=1\r\nB=0\r\nA=2\r\n", "S", "A", "3", "[S]\r\nA=3\r\nB=0\r\nA=3\r\n"},
        {"every copy of a section", "[S]\r\nA=1\r\n[S]\r\nB=2\r\n", "S", "A", "3",
         "[S]\r\nA=3\r\n[S]\r\nB=2\r\nA=3\r\n"},
        {"header without bracket is no section", "[S]\r\nA=1\r\n[T\r\nB=2\r\n", "T", "B", "3",
         "[S]\r\nA=1\r\n[T\r\nB=2\r\n\r\n[T]\r\nB=3\r\n"},
        {"carriage returns alone", "[S]\rA=1\rB=2", "S", "A", "3", "[S]\r\nA=3\r\nB=2\r\n"},
        {"carriage return alone at the end", "[S]\r\nA=1\r", "S", "A", "2", "[S]\r\nA=2\r\n"},
        {"carriage return right before a CR LF", "[S]\r\r\nA=1\r\n", "S", "A", "2", "[S]\r\n\r\nA=2\r\n"},
        {"mark and lone returns together", "\xEF\xBB\xBF[S]\rA=1\r\nB=2", "S", "B", "3", "[S]\r\nA=1\r\nB=3\r\n"},
        {"nothing to fix", "[S]\nA=1\n", "S", "A", "2", "[S]\nA=2\n"},
        {"a carriage return in the value written", "[S]\r\nA=1\r\n", "S", "A", "2\r3", "[S]\r\nA=2\r\n3\r\n"},
        {"a carriage return in a new section's name", "[S]\r\nA=1\r\n", "T\rU", "B", "2",
         "[S]\r\nA=1\r\n\r\n[T\r\nU]\r\nB=2\r\n"},
        {"byte-order mark dropped", "\xEF\xBB\xBF[S]\r\nA=1\r\n", "S", "A", "2", "[S]\r\nA=2\r\n"},
        {"new section in an empty file", "", "S", "A", "1", "[S]\r\nA=1\r\n"},
    };
    for (const auto& c : cases) {
        const IniDocument::Edit edit{c.section, c.key, c.value};
        EXPECT_EQ(IniDocument(c.before).WithValuesForTheGame(std::span<const IniDocument::Edit>(&edit, 1)), c.after)
            << c.what;
    }
}

// The game keeps 127 characters of a line: an edit past that is reported with its length, a
// note pushed past it is not.
TEST(IniDocument, ReportsLinesTheGameCuts) {
    const std::string longValue(125, 'x');
    const auto cutOf = [](const std::string& file, const IniDocument::Edit& edit) {
        std::vector<IniDocument::CutLine> cut;
        IniDocument(file).WithValuesForTheGame(std::span<const IniDocument::Edit>(&edit, 1), &cut);
        return cut;
    };
    auto cut = cutOf("[S]\r\nAB=1\r\n", {"S", "AB", longValue});
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].length, 128u);
    EXPECT_EQ(cut[0].key, "AB");
    EXPECT_EQ(cutOf("[S]\r\n", {"S", "A", longValue}).size(), 0u);  // 127 exactly
    EXPECT_EQ(cutOf("[S]\r\n", {"S", "AB", longValue}).size(), 1u);
    EXPECT_EQ(cutOf("[S]\r\nA=1" + std::string(130, ' ') + "; note\r\n", {"S", "A", "2"}).size(), 0u);
    EXPECT_EQ(cutOf("[S]\r\n    A  =  1\r\n", {"S", "A", std::string(118, 'x')}).size(), 1u);
}

}  // namespace
}  // namespace morvane::platform
