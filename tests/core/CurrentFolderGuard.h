#pragma once

#include <cstdlib>
#include <filesystem>

namespace morvane::test {

// Makes a folder the current one and goes back to the previous one when it ends, so that a
// test working with relative paths leaves the others undisturbed.
class CurrentFolderGuard {
public:
    explicit CurrentFolderGuard(const std::filesystem::path& folder) : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolderGuard() {
        std::error_code error;
        std::filesystem::current_path(m_previous, error);
        if (error) std::abort();
    }
    CurrentFolderGuard(const CurrentFolderGuard&) = delete;
    CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

private:
    std::filesystem::path m_previous;
};

}  // namespace morvane::test
