#include "support/TestFrames.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
std::string framePrefix;

void RemoveFrameFiles() {
    for (int i = 0; i < TEST_FRAME_COUNT; ++i) {
        DeleteFileA((framePrefix + std::to_string(i) + ".bmp").c_str());
    }
}

// 8 bits a pixel with a colour table, bottom-up, as the program's own pictures are stored.
bool WriteBmpFile(const std::string& path, int width, int height, COLORREF (*pixel)(int, int)) {
    std::vector<COLORREF> colours;
    const int rowBytes = (width + 3) & ~3;
    std::vector<BYTE> rows(size_t(rowBytes) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto found = std::find(colours.begin(), colours.end(), pixel(x, y));
            rows[size_t(height - 1 - y) * rowBytes + x] = BYTE(found - colours.begin());
            if (found == colours.end()) {
                colours.push_back(pixel(x, y));
            }
        }
    }
    std::vector<RGBQUAD> table;
    for (const COLORREF c : colours) {
        table.push_back({GetBValue(c), GetGValue(c), GetRValue(c), 0});
    }
    const DWORD tableBytes = DWORD(table.size() * sizeof(RGBQUAD));
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + tableBytes;
    const BITMAPFILEHEADER header = {0x4D42 /* BM */, offset + DWORD(rows.size()), 0, 0, offset};
    const BITMAPINFOHEADER info = {
        sizeof(info),        width, height, 1, 8, BI_RGB, DWORD(rows.size()), 0, 0,
        DWORD(table.size()), 0};
    FILE* out = fopen(path.c_str(), "wb");
    if (!out) {
        return false;
    }
    const bool written = fwrite(&header, sizeof(header), 1, out) == 1 &&
                         fwrite(&info, sizeof(info), 1, out) == 1 &&
                         fwrite(table.data(), 1, tableBytes, out) == tableBytes &&
                         fwrite(rows.data(), 1, rows.size(), out) == rows.size();
    return fclose(out) == 0 && written;
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
        WriteBmpFile(
            framePrefix + std::to_string(i) + ".bmp", sizes[i].cx, sizes[i].cy,
            i == FRAME_SQUARE ? +[](int, int) { return SQUARE_COLOUR; }
            : i == FRAME_FIGURE
                ? FigurePixel
                : +[](int x, int y) { return RGB((x * 7 + y * 3) % 200, 240, 90); });
    }
    atexit(RemoveFrameFiles);
    pattern = framePrefix + "%d.bmp";
    return pattern.c_str();
}
