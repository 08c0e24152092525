#include <dlfcn.h>
#include <openssl/evp.h>

#include <cstdio>
#include <cstdlib>

#include "platform/Sha1.h"

namespace morvane::platform {
namespace {

// libcrypto is loaded the first time a digest is asked for, not with the program: it is a large
// library, and relocating it when a program starts costs every command that never hashes.
struct Crypto {
    decltype(&EVP_Digest) digest = nullptr;
    decltype(&EVP_sha1) sha1 = nullptr;
    const char* error = nullptr;
};

const Crypto& LoadCrypto() {
    static const Crypto crypto = [] {
        Crypto loaded;
        void* library = nullptr;
        for (const char* name : {MORVANE_LIBCRYPTO_SONAME, MORVANE_LIBCRYPTO_PATH})
            if ((library = dlopen(name, RTLD_NOW | RTLD_LOCAL)) != nullptr) break;
        if (library == nullptr) {
            loaded.error = dlerror();
            return loaded;
        }
        loaded.digest = reinterpret_cast<decltype(&EVP_Digest)>(dlsym(library, "EVP_Digest"));
        loaded.sha1 = reinterpret_cast<decltype(&EVP_sha1)>(dlsym(library, "EVP_sha1"));
        if (loaded.digest == nullptr || loaded.sha1 == nullptr) loaded.error = "EVP_Digest or EVP_sha1 is missing";
        return loaded;
    }();
    return crypto;
}

}  // namespace

Sha1Digest Sha1(std::string_view bytes) {
    const Crypto& crypto = LoadCrypto();
    // Without the library no digest can be made; a made-up number would be reported as a right
    // one, so stop with the reason instead.
    if (crypto.error != nullptr) {
        std::fprintf(stderr, "cannot load the SHA-1 library %s: %s\n", MORVANE_LIBCRYPTO_SONAME, crypto.error);
        std::abort();
    }
    Sha1Digest digest{};
    unsigned int length = 0;
    // EVP_Digest fails only when the library itself is broken (no SHA-1 provider); stop then too.
    if (crypto.digest(bytes.data(), bytes.size(), digest.data(), &length, crypto.sha1(), nullptr) != 1 ||
        length != digest.size())
        std::abort();
    return digest;
}

}  // namespace morvane::platform
