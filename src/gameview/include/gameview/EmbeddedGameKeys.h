#pragma once

#include <cstddef>

namespace morvane {

// The bytes of resources/game-keys.tsv, compiled into the program by the build.
extern const char kEmbeddedGameKeys[];
extern const std::size_t kEmbeddedGameKeysSize;

}  // namespace morvane
