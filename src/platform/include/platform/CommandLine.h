#pragma once

#include <string>
#include <vector>

// The arguments the program was started with.
namespace morvane::platform {

// The arguments after the program's name. On Windows they are taken from the system's wide
// command line and given as UTF-8, so that any path typed there arrives whole; elsewhere they
// are the bytes of `argv` as they are.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace morvane::platform
