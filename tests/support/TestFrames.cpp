#include "support/TestFrames.h"

#include "support/TestBitmaps.h"

#include <cstdlib>
#include <string>

#include "windows/SpriteTypes.h"

namespace {
struct FrameFile {
    int width;
    int height;
    COLORREF (*pixel)(int x, int y);
};

COLORREF Square(int, int) {
    return SQUARE_COLOUR;
}

// Opaque pictures with a gradient, so that a shifted copy would not pass for the right one.
COLORREF Gradient(int x, int y) {
    return RGB((x * 7) % 200, 240, (y * 3) % 200);
}

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
    if (!disc && !leg) {
        return TRANSPARENT_KEY;
    }
    return RGB(x * 6, 230 + (y % 20), 250 - y * 5);
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

    const FrameFile files[] = {
        {10, 10, Square},    {FIGURE_SIZE, FIGURE_SIZE, FigurePixel},
        {100, 50, Gradient}, {80, 60, Gradient},
        {70, 40, Gradient},  {98, 264, Gradient},
        {98, 264, Gradient}, {98, 264, Gradient},
    };
    for (int i = 0; i < FRAME_MISSING; ++i) {
        WriteBmpFile((framePrefix + std::to_string(i) + ".bmp").c_str(), files[i].width,
                     files[i].height, files[i].pixel);
    }
    atexit(RemoveFrameFiles);
    pattern = framePrefix + "%d.bmp";
    return pattern.c_str();
}
