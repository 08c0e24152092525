#include "schema/CatalogueFile.h"

#include "CatalogueSyntax.h"
#include "platform/FileAccess.h"
#include "schema/EmbeddedCatalogue.h"

namespace morvane {

std::variant<StringTable, CatalogueError> ParseCatalogue(std::string_view content) {
    StringTable table;
    const auto error = catalogue_syntax::ReadEntries(
        content, [&table](std::uint16_t id, std::string&& text) { return table.Add(id, std::move(text)); });
    if (error) return CatalogueError{error->line, error->message};
    return table;
}

std::variant<StringTable, CatalogueError> LoadCatalogueFile(const std::string& path) {
    // The safe read: a pipe or a device given as the catalogue is refused, never waited on.
    const auto content = platform::ReadRegularFile(path);
    if (!content.bytes) return CatalogueError{0, "cannot be read: " + platform::DescribeFileError(content.error, path)};
    return ParseCatalogue(*content.bytes);
}

const StringTable& BuiltInCatalogue() {
    // The build checked and decoded the catalogue file into this table: nothing is parsed here.
    static const StringTable table(StringTable::Compiled{kEmbeddedCatalogueIds, kEmbeddedCatalogueOffsets,
                                                         kEmbeddedCatalogueText, kEmbeddedCatalogueCount});
    return table;
}

std::string DescribeCatalogueError(const std::string& path, const CatalogueError& error) {
    if (error.line == 0) return path + ": " + error.message;
    return path + ":" + std::to_string(error.line) + ": " + error.message;
}

}  // namespace morvane
