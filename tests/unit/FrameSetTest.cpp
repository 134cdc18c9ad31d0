// Frame pictures from resources and files, their masks, and the sets that hold them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/TestSupport.h"
#include "windows/FrameSet.h"

namespace {
// Test bitmap resources: 12 x 9 green, 20 x 7 yellow, 8 x 8 with a magenta left half.
constexpr int32_t GREEN_BITMAP = 7101;
constexpr int32_t WIDE_BITMAP = 7102;
constexpr int32_t HALF_MAGENTA_BITMAP = 7103;
constexpr int32_t NO_SUCH_BITMAP = 7104;

HINSTANCE Module() {
    return GetModuleHandleA(nullptr);
}

std::string TempPath(const char* name) {
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

// Magenta, near-magenta and black pixels in a pattern, so a mask off by one shows.
COLORREF SpeckledPixel(int x, int y) {
    if ((x * 3 + y) % 4 == 0) {
        return TRANSPARENT_KEY;
    }
    if ((x + y) % 5 == 0) {
        return RGB(255, 0, 254);
    }
    return (x + y) % 7 == 0 ? RGB(0, 0, 0) : RGB(40 + x * 5, 200, y * 9);
}

// The pixel at (x, y) after painting onto a dark 12 x 12 bitmap.
COLORREF PaintedPixel(ScreenWindow& frames, int x, int y) {
    HBITMAP target = MakeBitmap(12, 12, [](int, int) { return RGB(9, 9, 9); });
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, target);
    frames.Paint(dc);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), target);
    SelectObject(dc, previous);
    DeleteDC(dc);
    const COLORREF pixel = BitmapPixel(target, x, y);
    DeleteObject(target);
    return pixel;
}

// Reserved again, a set starts empty; the current frame stays inside the filled slots.
TEST(FrameSetTest, AddRangeFillsInOrderIsCutToTheFreeSlotsAndBoundsTheCurrentFrame) {
    FrameSet set;
    EXPECT_FALSE(set.AddRange(1, 3, nullptr)) << "no slot array yet";
    ASSERT_TRUE(set.Reserve(47));
    ASSERT_TRUE(set.AddRange(4096, 4142, nullptr));
    for (int32_t i = 0; i < 47; ++i) {
        ASSERT_EQ(set.FrameAt(i)->ResourceId(), 4096 + i);
        EXPECT_EQ(set.FrameAt(i)->FileName(), nullptr);
        EXPECT_EQ(set.FrameAt(i)->Bitmap(), nullptr) << "nothing loads before LoadAll";
    }
    EXPECT_FALSE(set.AddRange(5000, 5000, nullptr));
    EXPECT_EQ(set.Count(), 47);

    ASSERT_TRUE(set.Reserve(6));
    EXPECT_EQ(set.Count(), 0);
    EXPECT_FALSE(set.AddRange(9, 8, nullptr));
    EXPECT_TRUE(set.AddRange(1, 3, nullptr));
    for (const auto& [index, current] : {std::pair{2, 2}, {-1, 2}, {3, 2}, {1, 1}}) {
        set.SetCurrent(index);
        EXPECT_EQ(set.Current(), current) << index;
    }
    EXPECT_TRUE(set.AddRange(10, 19, nullptr));
    EXPECT_EQ(set.Count(), 6);
    EXPECT_EQ(set.FrameAt(3)->ResourceId(), 10);
    EXPECT_EQ(set.FrameAt(5)->ResourceId(), 12);
    EXPECT_EQ(set.FrameAt(6), nullptr);
    EXPECT_EQ(set.FrameAt(-1), nullptr);
}

// 126 characters before the number: 9 still fits 128 bytes with the terminator, 10 does not,
// and its slot stays empty. Every loop steps over it without shifting the tables. Frames
// that cannot load (files that do not exist, a missing resource) fail LoadAll while the
// others load.
TEST(FrameSetTest, PatternNamesFileFramesAndANameTooLongLeavesItsSlotEmpty) {
    const std::string pattern = std::string(126, 'x') + "%d";
    FrameSet set;
    set.Reserve(6);
    ASSERT_TRUE(set.AddRange(8, 10, pattern.c_str()));
    ASSERT_TRUE(set.AddRange(GREEN_BITMAP, WIDE_BITMAP, nullptr));
    ASSERT_TRUE(set.AddRange(NO_SUCH_BITMAP, NO_SUCH_BITMAP, nullptr));
    EXPECT_EQ(set.FrameAt(0)->ResourceId(), -1);
    EXPECT_EQ(std::string(set.FrameAt(0)->FileName()), std::string(126, 'x') + "8");
    EXPECT_EQ(strlen(set.FrameAt(1)->FileName()), 127u);
    EXPECT_EQ(set.FrameAt(2), nullptr);
    EXPECT_EQ(set.FrameAt(4)->ResourceId(), WIDE_BITMAP);

    const FrameOffset offsets[] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}};
    const int32_t regions[] = {11, 12, 13, 14, 15, 16};
    set.SetOffsets(offsets);
    set.SetRegionIds(regions);
    EXPECT_EQ(set.FrameAt(0)->Offset(), (PointD{1.0, 2.0}));
    EXPECT_EQ(set.FrameAt(3)->Offset(), (PointD{7.0, 8.0}));
    EXPECT_EQ(set.FrameAt(4)->RegionId(), 15);
    ResetCallCounts();
    EXPECT_FALSE(set.LoadAll(Module(), true));
    EXPECT_EQ(CallCount("LoadImageA"), 5);
    EXPECT_EQ(set.FrameAt(0)->Bitmap(), nullptr);
    EXPECT_EQ(set.FrameAt(3)->Width(), 12);
    EXPECT_EQ(set.FrameAt(3)->Height(), 9);
    EXPECT_NE(set.FrameAt(4)->Mask(), nullptr);
    EXPECT_EQ(set.FrameAt(5)->Bitmap(), nullptr);
    EXPECT_EQ(set.FrameAt(5)->Width(), -1);
    set.SetCurrent(2);
    EXPECT_EQ(PaintedPixel(set, 1, 1), RGB(9, 9, 9));
    set.UnloadAll();
    EXPECT_EQ(set.FrameAt(3)->Bitmap(), nullptr);
    EXPECT_TRUE(FrameSet().LoadAll(Module(), true));
}

// A frame loads once, so a second Load neither reloads nor adds a mask; Unload and a failed
// load keep the last size.
TEST(FrameBitmapTest, LoadsOnceAndKeepsItsSizeThroughUnloadAndFailure) {
    FrameBitmap frame;
    EXPECT_FALSE(frame.Load(Module(), false)) << "no id, no name";
    EXPECT_FALSE(FrameBitmap("").Load(Module(), true));
    EXPECT_EQ(FrameBitmap("").FileName(), nullptr);
    frame.SetResourceId(HALF_MAGENTA_BITMAP);
    ASSERT_TRUE(frame.Load(Module(), false));
    const HBITMAP first = frame.Bitmap();
    ResetCallCounts();
    EXPECT_TRUE(frame.Load(Module(), true));
    EXPECT_EQ(frame.Bitmap(), first);
    EXPECT_EQ(frame.Mask(), nullptr);
    EXPECT_EQ(CallCount("LoadImageA") + CallCount("CreateBitmap"), 0);

    frame.SetResourceId(WIDE_BITMAP);
    frame.Unload();
    ASSERT_TRUE(frame.Load(Module(), true));
    frame.Unload();
    EXPECT_EQ(frame.Bitmap(), nullptr);
    EXPECT_EQ(frame.Mask(), nullptr);
    frame.SetResourceId(NO_SUCH_BITMAP);
    EXPECT_FALSE(frame.Load(Module(), false));
    EXPECT_EQ(frame.Width(), 20);
    EXPECT_EQ(frame.Height(), 7);
}

TEST(FrameBitmapTest, FileFrameMaskIsZeroExactlyOnMagenta) {
    constexpr int W = 23, H = 17;
    const std::string path = TempPath("tarvolen-speckled.bmp");
    ASSERT_TRUE(WriteBmpFile(path.c_str(), W, H, SpeckledPixel));
    FrameBitmap frame(path.c_str());
    EXPECT_NE(frame.FileName(), path.c_str()) << "the frame keeps its own copy";
    EXPECT_STREQ(frame.FileName(), path.c_str());
    ASSERT_TRUE(frame.Load(Module(), true));
    EXPECT_EQ(frame.Width(), W);
    EXPECT_EQ(frame.Height(), H);
    ASSERT_NE(frame.Mask(), nullptr);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const bool transparent = SpeckledPixel(x, y) == TRANSPARENT_KEY;
            ASSERT_EQ(BitmapPixel(frame.Mask(), x, y), transparent ? 0 : RGB(255, 255, 255))
                << x << "," << y;
            ASSERT_EQ(BitmapPixel(frame.Bitmap(), x, y), SpeckledPixel(x, y));
        }
    }
    DeleteFileA(path.c_str());
}

// The whole picture, copied opaquely to the origin whatever the frame's offset; a set
// paints its current frame.
TEST(FrameBitmapTest, PaintCopiesThePictureOpaquelyToTheOriginAndSetsPaintTheirCurrentFrame) {
    FrameBitmap frame(HALF_MAGENTA_BITMAP);
    frame.SetOffset(3.0, 4.0);
    ASSERT_TRUE(frame.Load(Module(), true));
    EXPECT_EQ(PaintedPixel(frame, 0, 0), TRANSPARENT_KEY) << "the mask plays no part";
    EXPECT_EQ(PaintedPixel(frame, 7, 7), RGB(40, 60, 220));
    EXPECT_EQ(PaintedPixel(frame, 8, 8), RGB(9, 9, 9));

    FrameSet set;
    set.Reserve(2);
    set.AddRange(GREEN_BITMAP, WIDE_BITMAP, nullptr);
    set.LoadAll(Module(), true);
    EXPECT_EQ(PaintedPixel(set, 1, 1), RGB(30, 200, 60));
    set.SetCurrent(1);
    EXPECT_EQ(PaintedPixel(set, 1, 1), RGB(200, 180, 30));
}

TEST(FrameLeakTest, FramesAndSetsReleaseWhatTheyOwnExactlyOnce) {
    const std::string path = TempPath("tarvolen-leak-%d.bmp");
    char first[MAX_PATH];
    snprintf(first, sizeof(first), path.c_str(), 1);
    ASSERT_TRUE(WriteBmpFile(first, 6, 5, SpeckledPixel));
    const int before = LiveGdiObjects();
    ResetCallCounts();
    for (int i = 0; i < 500; ++i) {
        auto* set = new FrameSet;
        set->Reserve(3);
        set->AddRange(GREEN_BITMAP, HALF_MAGENTA_BITMAP, nullptr);
        set->LoadAll(Module(), true);
        // Reserved again while loaded: the old frames go, with their bitmaps and masks.
        set->Reserve(2);
        set->AddRange(1, 1, path.c_str());
        set->AddRange(NO_SUCH_BITMAP, NO_SUCH_BITMAP, nullptr);
        set->LoadAll(Module(), true);
        set->UnloadAll();
        set->LoadAll(Module(), true);
        delete set;

        FrameBitmap sign(WIDE_BITMAP);
        sign.Load(Module(), false);
        sign.Unload();
        sign.SetResourceId(GREEN_BITMAP);
        sign.Load(Module(), false);
        ASSERT_EQ(LiveGdiObjects(), before + 1) << "round " << i;
    }
    EXPECT_EQ(LiveGdiObjects(), before);
    // Every loaded bitmap and every mask was deleted once, none twice (two loads a round fail).
    EXPECT_EQ(CallCount("DeleteObject"),
              CallCount("LoadImageA") - 1000 + CallCount("CreateBitmap"));
    DeleteFileA(first);
}
}  // namespace
