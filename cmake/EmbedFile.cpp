// Build-time tool: turns a data file into a C++ source file holding its bytes.
// usage: EmbedFile INPUT OUTPUT HEADER ARRAY_NAME
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: EmbedFile INPUT OUTPUT HEADER ARRAY_NAME\n";
        return 64;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "EmbedFile: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(argv[2], std::ios::binary);
    const std::string name = argv[4];
    out << "// Generated from " << argv[1] << " by EmbedFile; do not edit.\n"
        << "#include \"" << argv[3] << "\"\n\nnamespace morvane {\n\nconst char " << name << "[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 20 == 0) out << "\n   ";
        out << ' ' << static_cast<int>(static_cast<signed char>(bytes[i])) << ',';
    }
    out << "\n    0};\nconst std::size_t " << name << "Size = " << bytes.size() << ";\n\n}  // namespace morvane\n";
    if (!out) {
        std::cerr << "EmbedFile: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
