// The least a durable write of one value can do, as a yardstick for the editor's writes: read
// the file, change the key's line, write a temporary file beside it, flush it, rename it over
// the file and flush the folder. No lock, no attributes, no checks.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/IniDocument.h"

namespace morvane::bench {

// 0, or the errno of the step that failed.
inline int FloorWrite(const std::string& path, std::string_view section, std::string_view key, std::string_view value) {
    std::string bytes;
    {
        const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0) return errno;
        char buffer[1 << 16];
        for (;;) {
            const ssize_t got = ::read(in, buffer, sizeof buffer);
            if (got < 0) {
                const int error = errno;
                ::close(in);
                return error;
            }
            if (got == 0) break;
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(in);
    }
    const std::string edited = platform::IniDocument(std::move(bytes)).WithValue(section, key, value);

    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string temporary = path + ".floor-tmp";
    const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) return errno;
    std::size_t written = 0;
    while (written < edited.size()) {
        const ssize_t put = ::write(out, edited.data() + written, edited.size() - written);
        if (put < 0) {
            const int error = errno;
            ::close(out);
            return error;
        }
        written += static_cast<std::size_t>(put);
    }
    if (::fsync(out) != 0) {
        const int error = errno;
        ::close(out);
        return error;
    }
    ::close(out);
    if (::rename(temporary.c_str(), path.c_str()) != 0) return errno;
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return errno;
    const int synced = ::fsync(dir) == 0 ? 0 : errno;
    ::close(dir);
    return synced;
}

}  // namespace morvane::bench
