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
void WriteBmpFile(const std::string& path, int width, int height, COLORREF (*pixel)(int, int)) {
    std::vector<uint32_t> table;  // laid out as RGBQUAD: 0x00RRGGBB
    const int rowBytes = (width + 3) & ~3;
    std::vector<BYTE> rows(size_t(rowBytes) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            const uint32_t entry = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
            const auto found = std::find(table.begin(), table.end(), entry);
            rows[size_t(height - 1 - y) * rowBytes + x] = BYTE(found - table.begin());
            if (found == table.end()) {
                table.push_back(entry);
            }
        }
    }
    const DWORD tableBytes = DWORD(table.size() * sizeof(RGBQUAD));
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + tableBytes;
    const BITMAPFILEHEADER header = {0x4D42 /* BM */, offset + DWORD(rows.size()), 0, 0, offset};
    const BITMAPINFOHEADER info = {
        sizeof(info),        width, height, 1, 8, BI_RGB, DWORD(rows.size()), 0, 0,
        DWORD(table.size()), 0};
    if (FILE* out = fopen(path.c_str(), "wb")) {
        fwrite(&header, sizeof(header), 1, out);
        fwrite(&info, sizeof(info), 1, out);
        fwrite(table.data(), 1, tableBytes, out);
        fwrite(rows.data(), 1, rows.size(), out);
        fclose(out);
    }
}
}  // namespace

COLORREF FigurePixel(int x, int y) {
    const bool disc = (x - 20) * (x - 20) + (y - 17) * (y - 17) <= 14 * 14;
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
