#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliCommand.h"

namespace morvane::test {

// One run of morvane-cli's command line: the exit code and what it printed.
struct CliRun {
    int code;
    std::string out;
    std::string err;
};

inline CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace morvane::test
