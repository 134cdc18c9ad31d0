#include "support/TestFrames.h"

#include <cstdlib>
#include <string>

#include "support/TestBitmaps.h"

namespace {
std::string framePrefix;

void RemoveFrameFiles() {
    for (int i = 0; i < TEST_FRAME_COUNT; ++i) {
        DeleteFileA((framePrefix + std::to_string(i) + ".bmp").c_str());
    }
}
}  // namespace

COLORREF FigurePixel(int x, int y) {
    const int dx = x - 20;
    const int dy = y - 17;
    const bool disc = dx * dx + dy * dy <= 14 * 14;
    const bool leg = x >= 24 && x < 28 && y >= 30;
    // Under 256 colours, so that it is stored as the program's own pictures are.
    const int shade = (x + 41 * y) % 240;
    return disc || leg ? RGB(shade, 230, 250 - shade / 2) : TRANSPARENT_KEY;
}

const char* TestFramePattern() {
    static std::string pattern;
    if (!pattern.empty()) {
        return pattern.c_str();
    }
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    framePrefix =
        std::string(folder) + "tarvolen-test-frame-" + std::to_string(GetCurrentProcessId()) + "-";
    const SIZE sizes[FRAME_MISSING] = {
        {10, 10}, {FIGURE_SIZE, FIGURE_SIZE}, {100, 50}, {80, 60}, {70, 40}, {98, 264}, {98, 264},
        {98, 264}};
    for (int i = 0; i < FRAME_MISSING; ++i) {
        WriteBmpFile((framePrefix + std::to_string(i) + ".bmp").c_str(), sizes[i].cx, sizes[i].cy,
                     [i](int x, int y) {
                         if (i == FRAME_SQUARE) {
                             return SQUARE_COLOUR;
                         }
                         // A gradient, so that a shifted copy would not pass for the right one.
                         return i == FRAME_FIGURE ? FigurePixel(x, y)
                                                  : RGB((x * 7) % 200, 240, (y * 3) % 200);
                     });
    }
    atexit(RemoveFrameFiles);
    pattern = framePrefix + "%d.bmp";
    return pattern.c_str();
}
