#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace morvane::gameview {

// Finds a name of a fixed list by hashing: the position of the first name exactly equal to a
// given one. The list itself stays with its owner; the index keeps positions only, so it stays
// right when the owner is copied or moved.
class NameIndex {
public:
    NameIndex() = default;
    // Indexes `count` names; nameAt(i) gives the i-th.
    template <typename NameAt>
    NameIndex(std::size_t count, const NameAt& nameAt) {
        std::size_t size = 8;
        while (size < 2 * count) size *= 2;
        m_slots.assign(count == 0 ? 0 : size, Slot{});
        // Linear probing and no removals: of two equal names the first indexed is met first.
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t hash = Hash(nameAt(i));
            std::size_t at = hash & (m_slots.size() - 1);
            while (m_slots[at].position != 0) at = (at + 1) & (m_slots.size() - 1);
            m_slots[at] = {hash, static_cast<std::uint32_t>(i + 1)};
        }
    }

    // The position of the first name equal to `name`, or -1.
    template <typename NameAt>
    int Find(std::string_view name, const NameAt& nameAt) const {
        if (m_slots.empty()) return -1;
        const std::uint32_t hash = Hash(name);
        for (std::size_t at = hash & (m_slots.size() - 1);; at = (at + 1) & (m_slots.size() - 1)) {
            const Slot& slot = m_slots[at];
            if (slot.position == 0) return -1;
            if (slot.hash == hash && std::string_view(nameAt(slot.position - 1)) == name)
                return static_cast<int>(slot.position - 1);
        }
    }

    // Eight bytes at a time, mixed by multiplication: names are short, and most differ early.
    static std::uint32_t Hash(std::string_view name) {
        constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15u;
        std::uint64_t hash = name.size() * kMix;
        while (!name.empty()) {
            std::uint64_t word = 0;
            const std::size_t bytes = name.size() < 8 ? name.size() : 8;
            for (std::size_t i = 0; i < bytes; ++i)
                word |= static_cast<std::uint64_t>(static_cast<unsigned char>(name[i])) << (8 * i);
            hash = (hash ^ word) * kMix;
            hash ^= hash >> 29;
            name.remove_prefix(bytes);
        }
        return static_cast<std::uint32_t>(hash >> 32);
    }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t position = 0;  // in the list, plus one; 0: an empty slot
    };
    std::vector<Slot> m_slots;
};

}  // namespace morvane::gameview
