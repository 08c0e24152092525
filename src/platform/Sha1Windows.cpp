#include <cstdlib>

#include "WindowsApi.h"
// bcrypt.h needs the types of windows.h first.
#include <bcrypt.h>

#include "platform/Sha1.h"

namespace morvane::platform {

Sha1Digest Sha1(std::string_view bytes) {
    Sha1Digest digest{};
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    // The data is handed over in pieces that fit the API's 32-bit length.
    bool ok = BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA1_ALGORITHM, nullptr, 0)) &&
              BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
    std::string_view rest = bytes;
    while (ok && !rest.empty()) {
        const std::size_t piece = rest.size() < 0x40000000u ? rest.size() : 0x40000000u;
        ok = BCRYPT_SUCCESS(BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(rest.data())),
                                           static_cast<ULONG>(piece), 0));
        rest.remove_prefix(piece);
    }
    ok = ok && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
    if (hash != nullptr) BCryptDestroyHash(hash);
    if (algorithm != nullptr) BCryptCloseAlgorithmProvider(algorithm, 0);
    // Only a broken system fails here; a wrong number must never pass for a right one.
    if (!ok) std::abort();
    return digest;
}

}  // namespace morvane::platform
