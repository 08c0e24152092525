#pragma once

#include <string>

namespace morvane::app {

// Where the window finds its files: the rules file to open and the folders and program of the
// settings. The program hands it to the window whole; the window keeps it current (the file it
// opened, the settings the user confirmed in Properties).
struct WindowPaths {
    std::string rulesPath;  // from the command line at first; then the file that is open
    std::string startDir;   // the folder the program started in
    std::string workDir;
    std::string gameDir;
    std::string gameExe;

    // Paths that name only the rules file; the rest comes from the settings at the start.
    static WindowPaths ForFile(std::string rulesPath) {
        WindowPaths paths;
        paths.rulesPath = std::move(rulesPath);
        return paths;
    }
};

}  // namespace morvane::app
