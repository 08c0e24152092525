#pragma once

#include <cstddef>
#include <cstdint>

namespace morvane {

// resources/catalogue.txt as the build's embed tool compiles it: the ids in ascending order,
// and for the id at index i its decoded text at kEmbeddedCatalogueText[offsets[i], offsets[i+1]).
extern const std::uint16_t kEmbeddedCatalogueIds[];
extern const std::uint32_t kEmbeddedCatalogueOffsets[];
extern const char kEmbeddedCatalogueText[];
extern const std::size_t kEmbeddedCatalogueCount;

}  // namespace morvane
