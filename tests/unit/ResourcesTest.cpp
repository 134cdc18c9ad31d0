// The pictures, window shapes, icons and cursor the program loads, read back through its own
// loaders and from the stored bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gfx/RegionResource.h"
#include "support/TestBitmaps.h"
#include "support/TestSupport.h"
#include "support/WalkStage.h"
#include "windows/FrameBitmap.h"

namespace {
constexpr uint32_t MAGENTA = 0xFF00FF;

HINSTANCE Module() {
    return GetModuleHandleA(nullptr);
}

// Every bitmap of the program and its size, from rows of first id, last id, width, height:
// the faces, then the sign change, the ladder visit, the placard stroll and the sparkle.
const std::map<int, SIZE>& BitmapSizes() {
    static const int rows[][4] = {
        {4001, 4002, 122, 98},  {4096, 4099, 185, 70},  {4100, 4100, 176, 62},
        {4101, 4101, 176, 58},  {4102, 4102, 175, 78},  {4103, 4103, 133, 152},
        {4104, 4104, 101, 173}, {4105, 4105, 89, 179},  {4106, 4116, 40, 214},
        {4117, 4124, 98, 264},  {4125, 4133, 40, 186},  {4134, 4134, 89, 181},
        {4135, 4135, 101, 175}, {4136, 4136, 133, 152}, {4137, 4137, 175, 78},
        {4138, 4138, 176, 62},  {4139, 4142, 185, 70},  {4143, 4146, 183, 70},
        {4147, 4147, 176, 57},  {4148, 4148, 176, 53},  {4149, 4149, 175, 78},
        {4150, 4150, 133, 152}, {4151, 4151, 110, 174}, {4152, 4152, 98, 179},
        {4153, 4164, 43, 219},  {4165, 4173, 76, 225},  {4174, 4186, 43, 219},
        {4187, 4187, 98, 179},  {4188, 4188, 110, 174}, {4189, 4189, 133, 152},
        {4190, 4190, 175, 78},  {4191, 4192, 176, 53},  {4193, 4193, 176, 57},
        {4194, 4197, 183, 70},  {4198, 4201, 50, 70},   {4202, 4202, 40, 61},
        {4203, 4203, 48, 58},   {4204, 4204, 53, 53},   {4205, 4205, 49, 58},
        {4206, 4206, 40, 61},   {4207, 4208, 65, 88},   {4209, 4209, 29, 63},
        {4210, 4210, 26, 59},   {4211, 4211, 12, 61},   {4212, 4212, 10, 57},
        {4213, 4213, 56, 49},   {4214, 4214, 41, 36}};
    static const std::map<int, SIZE> sizes = [] {
        std::map<int, SIZE> listed;
        for (const auto& row : rows) {
            for (int id = row[0]; id <= row[1]; ++id) {
                listed[id] = {row[2], row[3]};
            }
        }
        return listed;
    }();
    return sizes;
}

const uint8_t* ResourceBytes(const char* type, int id, DWORD& size) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    size = found ? SizeofResource(Module(), found) : 0;
    return found ? static_cast<const uint8_t*>(LockResource(LoadResource(Module(), found)))
                 : nullptr;
}

// A bitmap resource as stored: its header, and its pixels (0x00RRGGBB, top row first) as
// GDI decodes the stored bytes onto a filled picture. Decoded onto two fills, the pixels that
// differ are those the data leaves out: run-length data that skips one shows it black.
struct StoredBitmap {
    BITMAPINFOHEADER header = {};
    std::vector<uint32_t> pixels;
    int leftOut = 0;

    bool IsMagenta(int x, int y) const { return pixels[size_t(y) * header.biWidth + x] == MAGENTA; }
};

StoredBitmap ReadStoredBitmap(int id) {
    StoredBitmap b;
    DWORD size = 0;
    const uint8_t* bytes = ResourceBytes(RT_BITMAP, id, size);
    if (!bytes || size < sizeof(b.header)) {
        return b;
    }
    memcpy(&b.header, bytes, sizeof(b.header));
    const int width = b.header.biWidth, height = b.header.biHeight;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> decoded[2];
    for (uint32_t fill : {0x123456u, 0x654321u}) {
        void* bits = nullptr;
        HBITMAP picture = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* first = static_cast<uint32_t*>(bits);
        std::fill_n(first, width * height, fill);
        HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ previous = SelectObject(dc, picture);
        SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height,
                          bytes + b.header.biSize + 4 * b.header.biClrUsed,
                          reinterpret_cast<const BITMAPINFO*>(bytes), DIB_RGB_COLORS);
        GdiFlush();
        decoded[fill & 1].assign(first, first + width * height);
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(picture);
    }
    b.pixels = decoded[0];
    for (size_t k = 0; k < b.pixels.size(); ++k) {
        b.leftOut += decoded[0][k] != decoded[1][k];
    }
    return b;
}

// Loaded through FrameBitmap::Load: the listed size, every stored pixel (none left out, which
// shows black), a mask clear exactly on magenta, no pink fringe.
TEST(ResourcesTest, EveryPictureLoadsAtItsSizeAsStoredWithAMaskClearOnMagenta) {
    ASSERT_EQ(BitmapSizes().size(), 121u);
    for (const auto& [id, size] : BitmapSizes()) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        const bool face = id == 4001 || id == 4002;
        FrameBitmap frame(id);
        ASSERT_TRUE(frame.Load(Module(), !face));
        EXPECT_EQ(frame.Width(), size.cx);
        EXPECT_EQ(frame.Height(), size.cy);
        EXPECT_EQ(frame.Mask() != nullptr, !face);

        const StoredBitmap stored = ReadStoredBitmap(id);
        EXPECT_EQ(stored.header.biBitCount, 8);
        EXPECT_EQ(stored.leftOut, 0);
        const std::vector<uint32_t> colours = PixelsOf(frame.Bitmap());
        const std::vector<uint32_t> mask = face ? colours : PixelsOf(frame.Mask());
        ASSERT_EQ(colours.size(), stored.pixels.size());
        int wrongColours = 0, wrongMask = 0, magenta = 0, nearMagenta = 0;
        for (size_t k = 0; k < colours.size(); ++k) {
            const uint32_t c = stored.pixels[k];
            wrongColours += colours[k] != c;
            magenta += c == MAGENTA;
            wrongMask += !face && (mask[k] == 0) != (c == MAGENTA);
            // An opaque colour close to magenta would be drawn as a pink fringe.
            const int distance =
                (255 - int(c >> 16)) + int((c >> 8) & 0xFF) + (255 - int(c & 0xFF));
            nearMagenta += distance > 0 && distance < 100;
        }
        EXPECT_EQ(wrongColours, 0);
        EXPECT_EQ(wrongMask, 0);
        EXPECT_EQ(nearMagenta, 0);
        EXPECT_EQ(face, magenta == 0);
    }
}

}  // namespace
