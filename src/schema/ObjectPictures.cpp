#include "schema/ObjectPictures.h"

#include <algorithm>
#include <array>

namespace morvane {
namespace {

constexpr auto kPictureIds = [] {
    // Runs of consecutive ids, first and last.
    constexpr std::uint16_t runs[][2] = {
        {2100, 2101}, {2103, 2109}, {2201, 2213}, {2215, 2219}, {2301, 2301}, {2303, 2314},
        {2316, 2330}, {2332, 2333}, {2336, 2336}, {2341, 2345}, {2400, 2403}, {2405, 2406},
    };
    std::array<std::uint16_t, 69> ids{};
    std::size_t at = 0;
    for (const auto& run : runs)
        for (std::uint16_t id = run[0]; id <= run[1]; ++id) ids[at++] = id;
    return ids;
}();

}  // namespace

std::span<const std::uint16_t> ObjectPictureIds() { return kPictureIds; }

bool HasObjectPicture(std::uint16_t objectId) {
    return std::binary_search(kPictureIds.begin(), kPictureIds.end(), objectId);
}

}  // namespace morvane
