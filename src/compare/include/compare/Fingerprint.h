#pragma once

#include <cstdint>
#include <string>

#include "gameview/GameIni.h"
#include "platform/Sha1.h"

namespace morvane::compare {

// The text the game makes of what it kept of a rules file before it takes the fingerprint:
// every section that kept an entry, in file order, as "[NAME]" and then its entries as
// "KEY=VALUE", each line ended by CR LF, and one more CR LF after each section. Names keep
// their letter case; duplicates stay, in file order.
std::string NormalisedText(const gameview::GameIni& ini);

// The game's 32-bit fold of a SHA-1 digest: five little-endian words w, crc = rotl(crc, 1) + w.
std::uint32_t FoldDigest(const platform::Sha1Digest& digest);

// The number the game compares between players before a network game.
std::uint32_t Fingerprint(const gameview::GameIni& ini);

// Eight upper-case hexadecimal digits.
std::string FingerprintText(std::uint32_t fingerprint);

}  // namespace morvane::compare
