#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace morvane::platform {

// The standard SHA-1 digest of some bytes, in the usual byte order. It comes from the system's
// own cryptography: OpenSSL's libcrypto on Linux and other POSIX systems, the CNG provider
// (bcrypt) on Windows, so no digest code of our own is involved.
using Sha1Digest = std::array<std::uint8_t, 20>;
Sha1Digest Sha1(std::string_view bytes);

}  // namespace morvane::platform
