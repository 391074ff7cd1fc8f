// Writes the program's three .ico files into the folder given on the command line.
#include <cstdio>
#include <fstream>
#include <string>

#include "ico_file.h"
#include "icon_art.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen OUTPUT_DIR\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const IconFile& icon : AllIcons()) {
        const std::vector<std::uint8_t> bytes = EncodeIco(icon.images);
        const std::string path = folder + "/" + icon.fileName;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "icongen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
