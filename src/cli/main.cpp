#include <iostream>

#include "cli/CliCommand.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const int code = morvane::cli::RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
