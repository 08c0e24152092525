#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliCommand.h"

namespace morvane::cli {

// One run of morvane-cli's command line: its exit code and what it printed.
struct CliRun {
    int code;
    std::string out;
    std::string err;
};

inline CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace morvane::cli
