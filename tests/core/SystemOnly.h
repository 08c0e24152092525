#pragma once

#include <gtest/gtest.h>

// Marks a test (or part of one) that only means something on one kind of system. Elsewhere the
// test is reported as skipped, with the reason, rather than left out without a word.
#ifdef _WIN32
#define MORVANE_POSIX_ONLY(reason) GTEST_SKIP() << "POSIX only: " << (reason)
#define MORVANE_WINDOWS_ONLY(reason) static_cast<void>(0)
#else
#define MORVANE_POSIX_ONLY(reason) static_cast<void>(0)
#define MORVANE_WINDOWS_ONLY(reason) GTEST_SKIP() << "Windows only: " << (reason)
#endif

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <optional>
#include <string>

namespace morvane::test {

// Sets an environment variable, or removes it when `value` is nothing.
inline void SetEnvironment(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
    _putenv_s(name, value ? value->c_str() : "");
#else
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
#endif
}

// The value of an environment variable, or nothing.
inline std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

#ifdef _WIN32
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

// Whether the tests run with the powers of the POSIX superuser, for whom permission bits do
// not stop reading or entering.
inline bool RunsAsRoot() {
#ifdef _WIN32
    return false;
#else
    return geteuid() == 0;
#endif
}

// Makes a named pipe (a FIFO) at `path`; false where the system has none in its file tree.
inline bool MakePipe(const std::string& path) {
#ifdef _WIN32
    static_cast<void>(path);
    return false;
#else
    return mkfifo(path.c_str(), 0600) == 0;
#endif
}

}  // namespace morvane::test
