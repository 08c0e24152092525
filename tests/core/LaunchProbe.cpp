// Started by the launch tests on Windows: writes how it was started (its name as the system
// gave it, the number of arguments and its current folder) into launch-probe.txt in its
// current folder, ending with "end".
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    std::ofstream out("launch-probe.txt", std::ios::binary);
    out << (argc > 0 ? argv[0] : "") << '\n'
        << argc - 1 << '\n'
        << std::filesystem::current_path().string() << "\nend\n";
    return 0;
}
