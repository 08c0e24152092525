#pragma once

#include <string>
#include <string_view>

// Paths travel through the program as UTF-8; the Windows API takes them as UTF-16.
namespace morvane::platform {

// UTF-16 from UTF-8. Bytes that are not valid UTF-8 become U+FFFD, so such a path names a file
// that does not exist rather than a different one.
std::wstring WideFromUtf8(std::string_view text);

// UTF-8 from UTF-16. A lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace morvane::platform
