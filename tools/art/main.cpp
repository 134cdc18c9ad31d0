// Draws the program's artwork and writes every generated resource file:
//   tarvolen-art --res <res dir> [--previews <dir>]
//   tarvolen-art --close-up <script> <first frame> <last frame> <png>
// The output depends on nothing but this program, so a second run writes identical files.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "Artwork.h"

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "--close-up") == 0) {
        WriteCloseUp(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
        return 0;
    }
    std::string resDir;
    std::string previewDir;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--res") == 0) {
            resDir = argv[i + 1];
        } else if (std::strcmp(argv[i], "--previews") == 0) {
            previewDir = argv[i + 1];
        }
    }
    if (resDir.empty() && previewDir.empty()) {
        std::fprintf(stderr, "usage: tarvolen-art --res <dir> [--previews <dir>]\n");
        return 2;
    }
    try {
        if (!resDir.empty()) {
            WriteResources(resDir);
        }
        if (!previewDir.empty()) {
            WritePreviews(previewDir);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvolen-art: %s\n", e.what());
        return 1;
    }
    return 0;
}
