// The pictures, window shapes, icons and cursor the program loads, read back through its own
// loaders and from the stored bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/RegionResource.h"
#include "support/TestBitmaps.h"
#include "windows/FrameBitmap.h"

namespace {
constexpr uint32_t MAGENTA = 0xFF00FF;

const HINSTANCE MODULE = GetModuleHandleA(nullptr);

// A bitmap resource as stored: its header, and its pixels (0x00RRGGBB, top row first) as
// GDI decodes the stored bytes onto a picture of a colour none of them uses. Pixels still of
// that colour are those the data leaves out: run-length data that skips one shows it black.
struct StoredBitmap {
    BITMAPINFOHEADER header = {};
    std::vector<uint32_t> pixels;
    int leftOut = 0;

    bool IsMagenta(int x, int y) const { return pixels[size_t(y) * header.biWidth + x] == MAGENTA; }
};

StoredBitmap ReadStoredBitmap(int id) {
    constexpr uint32_t UNUSED = 0x123456;
    StoredBitmap b;
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_BITMAP);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(MODULE, found)));
    if (!bytes || SizeofResource(MODULE, found) < sizeof(b.header)) {
        return b;
    }
    memcpy(&b.header, bytes, sizeof(b.header));
    const int width = b.header.biWidth, height = b.header.biHeight;
    const BITMAPINFO format = TopDownFormat(width, height);
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* first = static_cast<uint32_t*>(bits);
    std::fill_n(first, width * height, UNUSED);
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, picture);
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height,
                      bytes + b.header.biSize + 4 * b.header.biClrUsed,
                      reinterpret_cast<const BITMAPINFO*>(bytes), DIB_RGB_COLORS);
    GdiFlush();
    b.pixels.assign(first, first + width * height);
    b.leftOut = int(std::count(b.pixels.begin(), b.pixels.end(), UNUSED));
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(picture);
    return b;
}

// Loaded through FrameBitmap::Load: the stored size, every stored pixel (none left out, which
// shows black), a mask clear exactly on magenta, no pink fringe.
TEST(ResourcesTest, EveryPictureLoadsAtItsSizeAsStoredWithAMaskClearOnMagenta) {
    // The two faces, then the frames of the sign change, the ladder visit, the placard stroll
    // and the sparkle, numbered without a gap.
    for (int id = 4001; id <= 4214; id = id == 4002 ? 4096 : id + 1) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        const bool face = id == 4001 || id == 4002;
        FrameBitmap frame(id);
        ASSERT_TRUE(frame.Load(MODULE, !face));
        const StoredBitmap stored = ReadStoredBitmap(id);
        EXPECT_EQ(frame.Width(), stored.header.biWidth);
        EXPECT_EQ(frame.Height(), stored.header.biHeight);
        EXPECT_EQ(frame.Mask() != nullptr, !face);
        EXPECT_EQ(stored.header.biBitCount, 8);
        EXPECT_EQ(stored.leftOut, 0);
        const std::vector<uint32_t> colours = PixelsOf(frame.Bitmap());
        ASSERT_EQ(colours, stored.pixels);
        const std::vector<uint32_t> mask = face ? colours : PixelsOf(frame.Mask());
        int wrongMask = 0, nearMagenta = 0;
        for (size_t k = 0; k < colours.size(); ++k) {
            const uint32_t c = colours[k];
            wrongMask += !face && (mask[k] == 0) != (c == MAGENTA);
            // An opaque colour close to magenta would be drawn as a pink fringe.
            const int distance =
                (255 - int(c >> 16)) + int((c >> 8) & 0xFF) + (255 - int(c & 0xFF));
            nearMagenta += distance > 0 && distance < 100;
        }
        EXPECT_EQ(wrongMask, 0);
        EXPECT_EQ(nearMagenta, 0);
        EXPECT_EQ(face, std::count(colours.begin(), colours.end(), MAGENTA) == 0);
    }
}

// Every shape has its fixed bounds, and a frame shown under it loses no opaque pixel to it:
// shapes cut away only magenta.
TEST(ResourcesTest, EveryShapeHasItsBoundsAndKeepsEveryOpaquePixelOfItsFrames) {
    const RECT overSign = {1, 1, 97, 263}, climbing = {-1, -1, 41, 187};
    const struct {
        int region, firstFrame, lastFrame;
        RECT bound;
    } shaped[] = {{5003, 4118, 4118, overSign},          {5004, 4119, 4119, overSign},
                  {5005, 4120, 4120, overSign},          {5006, 4121, 4121, overSign},
                  {5007, 4122, 4122, overSign},          {5008, 4125, 4125, climbing},
                  {5009, 4126, 4133, climbing},          {5010, 4134, 4134, {-1, -1, 90, 182}},
                  {5011, 4135, 4135, {-1, -1, 102, 176}}};
    for (const auto& shape : shaped) {
        HRGN region = CreateRegionFromResource(MODULE, shape.region);
        ASSERT_NE(region, nullptr) << shape.region;
        RECT box = {};
        GetRgnBox(region, &box);
        EXPECT_TRUE(EqualRect(&box, &shape.bound)) << "bounds of " << shape.region;
        for (int id = shape.firstFrame; id <= shape.lastFrame; ++id) {
            const StoredBitmap frame = ReadStoredBitmap(id);
            int cut = 0;
            for (int y = 0; y < frame.header.biHeight; ++y) {
                for (int x = 0; x < frame.header.biWidth; ++x) {
                    cut += !PtInRegion(region, x, y) && !frame.IsMagenta(x, y);
                }
            }
            EXPECT_EQ(cut, 0) << "opaque pixels of " << id << " outside shape " << shape.region;
        }
        DeleteObject(region);
    }
}

TEST(ResourcesTest, TheIconsAndCursorTheProgramAsksForLoad) {
    HICON icon = static_cast<HICON>(
        LoadImageA(MODULE, MAKEINTRESOURCEA(5000), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
    EXPECT_NE(LoadIconA(MODULE, MAKEINTRESOURCEA(107)), nullptr);
    // The hand's fingertip clicks.
    ICONINFO cursor = {};
    ASSERT_TRUE(GetIconInfo(LoadCursorA(MODULE, MAKEINTRESOURCEA(5012)), &cursor));
    EXPECT_EQ(cursor.xHotspot, 5u);
    EXPECT_EQ(cursor.yHotspot, 1u);
    DeleteObject(cursor.hbmMask);
    DeleteObject(cursor.hbmColor);
}
}  // namespace
