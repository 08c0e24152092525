#include <gtest/gtest.h>
#include <sys/stat.h>

#include "SystemOnly.h"
#include "TempDir.h"
#include "schema/CatalogueFile.h"

namespace morvane {
namespace {

TEST(ParseCatalogue, ReadsEntriesAndEscapes) {
    const auto parsed = ParseCatalogue(
        "# a note\n"
        "\n"
        "200\tA|1\\nB|2\\n\n"
        "3022\tNapalm=Napalm plane bomblets\\x20\n"
        "7\tback\\\\slash\\ttab\\xe9\r\n"
        "8\t  keeps inner and leading blanks\n");
    ASSERT_EQ(parsed.index(), 0u);
    const StringTable& table = std::get<0>(parsed);
    EXPECT_EQ(table.Size(), 4u);
    EXPECT_EQ(table.Text(200), "A|1\nB|2\n");
    EXPECT_EQ(table.Text(3022), "Napalm=Napalm plane bomblets ");
    EXPECT_EQ(table.Text(7), "back\\slash\ttab\xe9");
    EXPECT_EQ(table.Text(8), "  keeps inner and leading blanks");
    EXPECT_FALSE(table.Has(9));
}

TEST(ParseCatalogue, NamesTheLineOfEveryMistake) {
    const struct {
        const char* content;
        std::size_t line;
        const char* words;
    } cases[] = {
        {"1\tok\nno tab here\n", 2, "TAB"},   {"1\tok\n\nx1\ttext\n", 3, "not a number"},
        {"65536\ttext\n", 1, "not a number"}, {"0\ttext\n", 1, "not a number"},
        {"-5\ttext\n", 1, "not a number"},    {"5\t\n", 1, "no text"},
        {"5\ta\n5\tb\n", 2, "twice"},         {"5\tbad \\q escape\n", 1, "unknown escape"},
        {"5\tbad \\x4\n", 1, "hexadecimal"},  {"5\tends \\", 1, "backslash"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCatalogue(c.content);
        ASSERT_EQ(parsed.index(), 1u) << c.content;
        const CatalogueError& error = std::get<1>(parsed);
        EXPECT_EQ(error.line, c.line) << c.content;
        EXPECT_NE(error.message.find(c.words), std::string::npos) << error.message;
    }
}

// The build compiles the catalogue file into a table (ids sorted, escapes decoded, texts back to
// back): every entry must read as the text parser reads it from the file.
TEST(BuiltInCatalogue, HoldsExactlyTheEntriesOfTheCatalogueFile) {
    const auto loaded = LoadCatalogueFile(MORVANE_CATALOGUE_FILE);
    if (loaded.index() != 0) GTEST_SKIP() << "the catalogue file cannot be read here";
    const StringTable& parsed = std::get<0>(loaded);
    const StringTable& built = BuiltInCatalogue();
    ASSERT_EQ(built.Size(), parsed.Size());
    std::size_t compared = 0;
    for (std::uint32_t id = 0; id <= 0xFFFF; ++id) {
        const auto expected = parsed.Find(static_cast<std::uint16_t>(id));
        ASSERT_EQ(built.Find(static_cast<std::uint16_t>(id)), expected) << "id " << id;
        if (expected) ++compared;
    }
    EXPECT_EQ(compared, parsed.Size());
}

// A table over compiled texts takes texts for free ids but never replaces a compiled one.
TEST(StringTable, CompiledTextsComeFirstAndFreeIdsCanBeAdded) {
    static const std::uint16_t ids[] = {3, 7, 65535};
    static const std::uint32_t offsets[] = {0, 3, 3 + 5, 3 + 5 + 4};
    static const char text[] = "onethreelast";
    StringTable table(StringTable::Compiled{ids, offsets, text, 3});
    EXPECT_EQ(table.Text(3), "one");
    EXPECT_EQ(table.Text(7), "three");
    EXPECT_EQ(table.Text(65535), "last");
    EXPECT_FALSE(table.Has(0));
    EXPECT_FALSE(table.Has(5));
    EXPECT_FALSE(table.Add(7, "other"));
    EXPECT_EQ(table.Text(7), "three");
    EXPECT_TRUE(table.Add(5, "five"));
    EXPECT_FALSE(table.Add(5, "again"));
    EXPECT_EQ(table.Text(5), "five");
    EXPECT_EQ(table.Size(), 4u);
    const StringTable copy = table;
    EXPECT_EQ(copy.Text(5), "five");
    EXPECT_EQ(copy.Text(65535), "last");
}

TEST(LoadCatalogueFile, MissingFileIsAnErrorNotACrash) {
    const auto loaded = LoadCatalogueFile("/nonexistent/folder/catalogue.txt");
    ASSERT_EQ(loaded.index(), 1u);
    EXPECT_EQ(DescribeCatalogueError("x.txt", std::get<1>(loaded)),
              "x.txt: cannot be read: /nonexistent/folder/catalogue.txt or one of the folders on its path does not "
              "exist. Check the path; create the folder if it is missing.");
    EXPECT_EQ(DescribeCatalogueError("x.txt", CatalogueError{4, "oops"}), "x.txt:4: oops");
}

TEST(LoadCatalogueFile, PipeOrDeviceIsRefusedWithoutWaiting) {
    const test::TempDir dir;
    // Windows has no pipes in its file tree; its devices have names such as NUL and CON.
    std::vector<std::string> paths;
    if (test::kWindows) {
        paths = {"NUL", "\\\\.\\NUL"};
    } else {
        paths = {dir.File("catalogue.fifo"), "/dev/zero"};
        ASSERT_TRUE(test::MakePipe(paths.front()));
    }
    for (const std::string& path : paths) {
        const auto loaded = LoadCatalogueFile(path);  // would block or never end if it were read
        ASSERT_EQ(loaded.index(), 1u) << path;
        EXPECT_NE(std::get<1>(loaded).message.find("not a"), std::string::npos) << path;
    }
}

}  // namespace
}  // namespace morvane
