#include <openssl/evp.h>

#include <cstdlib>

#include "platform/Sha1.h"

namespace morvane::platform {

Sha1Digest Sha1(std::string_view bytes) {
    Sha1Digest digest{};
    unsigned int length = 0;
    // EVP_Digest fails only when the library itself is broken (no SHA-1 provider); a wrong
    // number would then be reported as a right one, so stop instead.
    if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha1(), nullptr) != 1 ||
        length != digest.size())
        std::abort();
    return digest;
}

}  // namespace morvane::platform
