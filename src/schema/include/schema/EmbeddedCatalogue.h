#pragma once

#include <cstddef>

namespace morvane {

// The bytes of resources/catalogue.txt, compiled into the program by the build.
extern const char kEmbeddedCatalogue[];
extern const std::size_t kEmbeddedCatalogueSize;

}  // namespace morvane
