#pragma once

#include <cstdint>
#include <span>

namespace morvane {

// The object-list ids of the game objects that have a picture in the value editor.
std::span<const std::uint16_t> ObjectPictureIds();
bool HasObjectPicture(std::uint16_t objectId);

}  // namespace morvane
