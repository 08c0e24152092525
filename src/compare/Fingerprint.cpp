#include "compare/Fingerprint.h"

#include <cstdio>

namespace morvane::compare {

std::string NormalisedText(const gameview::GameIni& ini) {
    std::string text;
    for (const gameview::GameSection& section : ini.Sections()) {
        // A section that kept no entry is not in the game's database.
        if (section.entries.empty()) continue;
        text += '[';
        text += section.name;
        text += "]\r\n";
        for (const gameview::GameEntry& entry : section.entries) {
            text += entry.key;
            text += '=';
            text += entry.value;
            text += "\r\n";
        }
        text += "\r\n";
    }
    return text;
}

std::uint32_t FoldDigest(const platform::Sha1Digest& digest) {
    std::uint32_t crc = 0;
    for (std::size_t at = 0; at + 4 <= digest.size(); at += 4) {
        const std::uint32_t word =
            static_cast<std::uint32_t>(digest[at]) | static_cast<std::uint32_t>(digest[at + 1]) << 8 |
            static_cast<std::uint32_t>(digest[at + 2]) << 16 | static_cast<std::uint32_t>(digest[at + 3]) << 24;
        crc = ((crc << 1) | (crc >> 31)) + word;
    }
    return crc;
}

std::uint32_t Fingerprint(const gameview::GameIni& ini) { return FoldDigest(platform::Sha1(NormalisedText(ini))); }

std::string FingerprintText(std::uint32_t fingerprint) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(fingerprint));
    return text;
}

}  // namespace morvane::compare
