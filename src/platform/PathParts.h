#pragma once

#include <string>
#include <string_view>

// The folder and the name of a path, as each system's half of the platform layer splits it.
namespace morvane::platform {

namespace detail {

template <typename Char>
std::basic_string<Char> FolderOf(const std::basic_string<Char>& path, std::basic_string_view<Char> separators) {
    const std::size_t separator = path.find_last_of(separators);
    if (separator == std::basic_string<Char>::npos) return std::basic_string<Char>(1, Char('.'));
    // A root keeps its separator: "/" rather than "", "C:\" rather than "C:" (the drive's
    // current folder).
    const bool root = separator == 0 || (separator == 2 && path[1] == Char(':'));
    return path.substr(0, root ? separator + 1 : separator);
}

template <typename Char>
std::basic_string<Char> NameOf(const std::basic_string<Char>& path, std::basic_string_view<Char> separators) {
    const std::size_t separator = path.find_last_of(separators);
    return separator == std::basic_string<Char>::npos ? path : path.substr(separator + 1);
}

}  // namespace detail

// A POSIX path: "/" separates.
inline std::string FolderOf(const std::string& path) { return detail::FolderOf<char>(path, "/"); }
inline std::string NameOf(const std::string& path) { return detail::NameOf<char>(path, "/"); }

// A Windows path: "\" and "/" both separate.
inline std::wstring FolderOf(const std::wstring& path) { return detail::FolderOf<wchar_t>(path, L"\\/"); }
inline std::wstring NameOf(const std::wstring& path) { return detail::NameOf<wchar_t>(path, L"\\/"); }

}  // namespace morvane::platform
