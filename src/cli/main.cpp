#include <iostream>

#include "cli/CliCommand.h"
#include "platform/CommandLine.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args = morvane::platform::CommandLineArguments(argc, argv);
    const int code = morvane::cli::RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
