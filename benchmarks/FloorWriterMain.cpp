// The floor writer as a program, the yardstick of `morvane-cli set`:
//   morvane_floor_writer FILE SECTION KEY VALUE
#include <cstdio>
#include <cstring>

#include "FloorWriter.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fputs("usage: morvane_floor_writer FILE SECTION KEY VALUE\n", stderr);
        return 64;
    }
    if (const int error = morvane::bench::FloorWrite(argv[1], argv[2], argv[3], argv[4])) {
        std::fprintf(stderr, "morvane_floor_writer: %s\n", std::strerror(error));
        return 2;
    }
    return 0;
}
