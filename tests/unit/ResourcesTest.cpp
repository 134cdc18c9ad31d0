// The resource set the executable carries: every picture, window shape, icon, cursor, string
// and menu the program loads, read back through the program's own loaders and from the stored
// bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/RegionResource.h"
#include "resource.h"
#include "support/TestSupport.h"
#include "windows/FrameBitmap.h"
#include "windows/SpriteTypes.h"

namespace {
// The test binaries carry resources of their own from this id up; they are not the program's.
constexpr int FIRST_TEST_ID = 7000;

HINSTANCE Module() {
    return GetModuleHandleA(nullptr);
}

struct SizeRow {
    int first;
    int last;
    int width;
    int height;
};

// Every bitmap of the program and its size.
const SizeRow BITMAP_SIZES[] = {
    {4001, 4002, 122, 98},
    // Sign change.
    {4096, 4099, 185, 70},
    {4100, 4100, 176, 62},
    {4101, 4101, 176, 58},
    {4102, 4102, 175, 78},
    {4103, 4103, 133, 152},
    {4104, 4104, 101, 173},
    {4105, 4105, 89, 179},
    {4106, 4116, 40, 214},
    {4117, 4124, 98, 264},
    {4125, 4133, 40, 186},
    {4134, 4134, 89, 181},
    {4135, 4135, 101, 175},
    {4136, 4136, 133, 152},
    {4137, 4137, 175, 78},
    {4138, 4138, 176, 62},
    {4139, 4142, 185, 70},
    // Ladder visit.
    {4143, 4146, 183, 70},
    {4147, 4147, 176, 57},
    {4148, 4148, 176, 53},
    {4149, 4149, 175, 78},
    {4150, 4150, 133, 152},
    {4151, 4151, 110, 174},
    {4152, 4152, 98, 179},
    {4153, 4164, 43, 219},
    {4165, 4173, 76, 225},
    {4174, 4186, 43, 219},
    {4187, 4187, 98, 179},
    {4188, 4188, 110, 174},
    {4189, 4189, 133, 152},
    {4190, 4190, 175, 78},
    {4191, 4192, 176, 53},
    {4193, 4193, 176, 57},
    {4194, 4197, 183, 70},
    // Placard stroll.
    {4198, 4201, 50, 70},
    {4202, 4202, 40, 61},
    {4203, 4203, 48, 58},
    {4204, 4204, 53, 53},
    {4205, 4205, 49, 58},
    {4206, 4206, 40, 61},
    {4207, 4208, 65, 88},
    {4209, 4209, 29, 63},
    {4210, 4210, 26, 59},
    {4211, 4211, 12, 61},
    {4212, 4212, 10, 57},
    // Sparkle.
    {4213, 4213, 56, 49},
    {4214, 4214, 41, 36},
};

std::vector<int> AllBitmapIds() {
    std::vector<int> ids;
    for (const SizeRow& row : BITMAP_SIZES) {
        for (int id = row.first; id <= row.last; ++id) {
            ids.push_back(id);
        }
    }
    return ids;
}

SIZE ListedSize(int id) {
    for (const SizeRow& row : BITMAP_SIZES) {
        if (id >= row.first && id <= row.last) {
            return {row.width, row.height};
        }
    }
    return {-1, -1};
}

bool IsFace(int id) {
    return id == 4001 || id == 4002;
}

bool StoredPlain(int id) {
    return IsFace(id) || id == 4207 || id == 4208 || id == 4209;
}

const void* ResourceBytes(const char* type, int id, DWORD* size) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (!found) {
        return nullptr;
    }
    *size = SizeofResource(Module(), found);
    HGLOBAL loaded = LoadResource(Module(), found);
    return loaded ? LockResource(loaded) : nullptr;
}

// A bitmap resource as stored: its header, colour table and every pixel's table index, top
// row first. Run-length data must spell out every pixel: a skipped pixel comes out black.
struct StoredBitmap {
    BITMAPINFOHEADER header = {};
    std::vector<RGBQUAD> table;
    std::vector<uint8_t> index;
    std::string fault;

    bool IsMagenta(int x, int y) const {
        const RGBQUAD& c = table[index[size_t(y) * header.biWidth + x]];
        return c.rgbRed == 255 && c.rgbGreen == 0 && c.rgbBlue == 255;
    }
};

StoredBitmap ReadStoredBitmap(int id) {
    StoredBitmap b;
    DWORD size = 0;
    const auto* bytes = static_cast<const uint8_t*>(ResourceBytes(RT_BITMAP, id, &size));
    if (!bytes || size < sizeof(BITMAPINFOHEADER)) {
        b.fault = "missing";
        return b;
    }
    memcpy(&b.header, bytes, sizeof b.header);
    const BITMAPINFOHEADER& h = b.header;
    if (h.biSize != 40 || h.biBitCount != 8 || h.biWidth <= 0 || h.biHeight <= 0 ||
        h.biClrUsed < 4 || h.biClrUsed > 256) {
        b.fault = "not an 8-bit bottom-up DIB with a table of 4 to 256 colours";
        return b;
    }
    const auto* table = reinterpret_cast<const RGBQUAD*>(bytes + 40);
    b.table.assign(table, table + h.biClrUsed);
    const uint8_t* bits = bytes + 40 + 4 * h.biClrUsed;
    const uint8_t* end = bytes + size;
    const int w = h.biWidth;
    const int rows = h.biHeight;
    b.index.assign(size_t(w) * rows, 0);
    std::vector<bool> written(b.index.size(), false);
    auto put = [&](int x, int row, uint8_t v) {
        if (x >= w || row >= rows || v >= h.biClrUsed) {
            return false;
        }
        const size_t k = size_t(rows - 1 - row) * w + x;
        b.index[k] = v;
        written[k] = true;
        return true;
    };
    if (h.biCompression == BI_RGB) {
        const int stride = (w + 3) & ~3;
        if (bits + size_t(stride) * rows > end) {
            b.fault = "pixel data cut short";
            return b;
        }
        for (int row = 0; row < rows; ++row) {
            for (int x = 0; x < w; ++x) {
                if (!put(x, row, bits[size_t(row) * stride + x])) {
                    b.fault = "colour index outside the table";
                    return b;
                }
            }
        }
    } else if (h.biCompression == BI_RLE8) {
        int x = 0, row = 0;
        const uint8_t* p = bits;
        for (;;) {
            if (p + 2 > end) {
                b.fault = "run-length data without an end";
                return b;
            }
            const uint8_t n = *p++;
            const uint8_t v = *p++;
            bool ok = true;
            if (n > 0) {
                for (int i = 0; i < n && ok; ++i) {
                    ok = put(x++, row, v);
                }
            } else if (v == 0) {
                x = 0;
                ++row;
            } else if (v == 1) {
                break;
            } else if (v == 2) {
                b.fault = "a delta skips pixels";
                return b;
            } else {
                for (int i = 0; i < v && ok; ++i) {
                    ok = p < end && put(x++, row, *p++);
                }
                p += v & 1;
            }
            if (!ok) {
                b.fault = "run outside the picture";
                return b;
            }
        }
    } else {
        b.fault = "unexpected compression";
        return b;
    }
    for (bool w : written) {
        if (!w) {
            b.fault = "a pixel is left out";
            return b;
        }
    }
    return b;
}

// The pixels of a loaded bitmap as 0x00RRGGBB, top row first.
std::vector<uint32_t> ScreenPixels(HBITMAP bitmap, int width, int height, int bits) {
    std::vector<uint32_t> pixels(size_t(width) * height);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(bits);
    info.header.biCompression = BI_RGB;
    HDC dc = GetDC(nullptr);
    if (bits == 32) {
        GetDIBits(dc, bitmap, 0, UINT(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS);
    } else {
        const int stride = ((width + 31) / 32) * 4;
        std::vector<uint8_t> rows(size_t(stride) * height);
        GetDIBits(dc, bitmap, 0, UINT(height), rows.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool set = rows[size_t(y) * stride + x / 8] & (0x80 >> (x % 8));
                pixels[size_t(y) * width + x] = set ? 1 : 0;
            }
        }
    }
    ReleaseDC(nullptr, dc);
    return pixels;
}

uint32_t Rgb(const RGBQUAD& c) {
    return (uint32_t(c.rgbRed) << 16) | (uint32_t(c.rgbGreen) << 8) | c.rgbBlue;
}

// ---------------------------------------------------------------------------------------------

TEST(ResourcesTest, EveryPictureLoadsThroughFrameBitmapAtItsSizeAndLooksAsStored) {
    for (int id : AllBitmapIds()) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        const SIZE size = ListedSize(id);
        FrameBitmap frame(id);
        ASSERT_TRUE(frame.Load(Module(), !IsFace(id)));
        EXPECT_EQ(frame.Width(), size.cx);
        EXPECT_EQ(frame.Height(), size.cy);

        // What the platform decoded is what was stored, pixel for pixel, and the mask is
        // clear exactly on the magenta pixels.
        const StoredBitmap stored = ReadStoredBitmap(id);
        ASSERT_EQ(stored.fault, "");
        const auto colours = ScreenPixels(frame.Bitmap(), size.cx, size.cy, 32);
        int wrongColours = 0;
        int wrongMask = 0;
        const auto mask =
            IsFace(id) ? std::vector<uint32_t>() : ScreenPixels(frame.Mask(), size.cx, size.cy, 1);
        for (int y = 0; y < size.cy; ++y) {
            for (int x = 0; x < size.cx; ++x) {
                const size_t k = size_t(y) * size.cx + x;
                wrongColours += (colours[k] & 0xFFFFFF) != Rgb(stored.table[stored.index[k]]);
                if (!mask.empty()) {
                    wrongMask += mask[k] != (stored.IsMagenta(x, y) ? 0u : 1u);
                }
            }
        }
        EXPECT_EQ(wrongColours, 0);
        EXPECT_EQ(wrongMask, 0);
    }
}

TEST(ResourcesTest, PicturesAreStoredAsEightBitDibsWithMagentaOnlyAsBackground) {
    for (int id : AllBitmapIds()) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        const StoredBitmap b = ReadStoredBitmap(id);
        ASSERT_EQ(b.fault, "");
        EXPECT_EQ(b.header.biWidth, ListedSize(id).cx);
        EXPECT_EQ(b.header.biHeight, ListedSize(id).cy);
        EXPECT_EQ(b.header.biCompression, DWORD(StoredPlain(id) ? BI_RGB : BI_RLE8));

        std::vector<bool> used(b.table.size(), false);
        int magenta = 0;
        for (int y = 0; y < b.header.biHeight; ++y) {
            for (int x = 0; x < b.header.biWidth; ++x) {
                used[b.index[size_t(y) * b.header.biWidth + x]] = true;
                magenta += b.IsMagenta(x, y);
            }
        }
        // No opaque colour close to magenta: such a pixel would be drawn as a pink fringe.
        for (size_t i = 0; i < b.table.size(); ++i) {
            const RGBQUAD& c = b.table[i];
            const int distance = (255 - c.rgbRed) + c.rgbGreen + (255 - c.rgbBlue);
            if (used[i] && distance > 0) {
                EXPECT_GE(distance, 100) << "near-magenta colour " << Rgb(c);
            }
        }
        const double share = double(magenta) / (b.header.biWidth * b.header.biHeight);
        if (IsFace(id)) {
            EXPECT_EQ(magenta, 0);
        } else {
            EXPECT_GE(share, 0.30);
            EXPECT_LE(share, 0.88);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Window shapes.

struct ShapeRow {
    int id;
    RECT bound;
    std::vector<int> frames;  // the frames it shapes, for cut-outs over their pixels
    int firstCutRow;
    int lastCutRow;
};

const std::vector<ShapeRow>& Shapes() {
    static const std::vector<ShapeRow> shapes = {
        {5001, {0, 0, 122, 98}, {}, 0, 0},
        {5002, {1, 1, 121, 97}, {}, 0, 0},
        {5003, {1, 1, 97, 263}, {4118}, 4, 88},
        {5004, {1, 1, 97, 263}, {4119}, 4, 93},
        {5005, {1, 1, 97, 263}, {4120}, 4, 93},
        {5006, {1, 1, 97, 263}, {4121}, 4, 93},
        {5007, {1, 1, 97, 263}, {4122}, 4, 87},
        {5008, {-1, -1, 41, 187}, {4125}, 0, 30},
        {5009, {-1, -1, 41, 187}, {4126, 4127, 4128, 4129, 4130, 4131, 4132, 4133}, 0, 24},
        {5010, {-1, -1, 90, 182}, {4134}, 0, 20},
        {5011, {-1, -1, 102, 176}, {4135}, 0, 14},
    };
    return shapes;
}

struct StoredRegion {
    RegionDataHeader header = {};
    std::vector<RECT> rects;
    DWORD size = 0;

    bool Contains(int x, int y) const {
        for (const RECT& r : rects) {
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
                return true;
            }
        }
        return false;
    }
};

StoredRegion ReadStoredRegion(int id) {
    StoredRegion region;
    const auto* bytes = static_cast<const uint8_t*>(ResourceBytes("REGION", id, &region.size));
    if (!bytes || region.size < sizeof(RegionDataHeader)) {
        return region;
    }
    memcpy(&region.header, bytes, sizeof region.header);
    const size_t count = (region.size - sizeof(RegionDataHeader)) / sizeof(RECT);
    region.rects.resize(count);
    memcpy(region.rects.data(), bytes + sizeof(RegionDataHeader), count * sizeof(RECT));
    return region;
}

// Bands of equal top and bottom, top to bottom without overlap; within a band sorted, apart
// and not touching; a band never repeats the spans of the band right above it.
std::string BandFault(const StoredRegion& r) {
    RECT box = r.rects.at(0);
    for (size_t i = 0; i < r.rects.size(); ++i) {
        const RECT& a = r.rects[i];
        if (a.left >= a.right || a.top >= a.bottom) {
            return "empty rectangle";
        }
        box = {std::min(box.left, a.left), std::min(box.top, a.top), std::max(box.right, a.right),
               std::max(box.bottom, a.bottom)};
        if (i == 0) {
            continue;
        }
        const RECT& p = r.rects[i - 1];
        if (a.top == p.top) {
            if (a.bottom != p.bottom || a.left <= p.right) {
                return "rectangles of a band overlap, touch or are out of order";
            }
        } else if (a.top < p.bottom) {
            return "bands overlap or are out of order";
        }
    }
    const int32_t* b = r.header.rcBound;
    if (b[0] != box.left || b[1] != box.top || b[2] != box.right || b[3] != box.bottom) {
        return "rcBound is not the bounding box";
    }
    // Collect the bands to compare neighbours.
    std::vector<std::vector<std::pair<LONG, LONG>>> spans;
    std::vector<std::pair<LONG, LONG>> rows;
    for (const RECT& a : r.rects) {
        if (rows.empty() || rows.back().first != a.top) {
            rows.push_back({a.top, a.bottom});
            spans.emplace_back();
        }
        spans.back().push_back({a.left, a.right});
    }
    for (size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].first == rows[i - 1].second && spans[i] == spans[i - 1]) {
            return "two touching bands with the same spans";
        }
    }
    return "";
}

TEST(ResourcesTest, EveryWindowShapeIsCanonicalAndAppliesWithItsBoundingBox) {
    TestWindowOptions options;
    options.style = WS_POPUP;
    options.width = 200;
    options.height = 280;
    HWND window = CreateTestWindow(options);
    for (const ShapeRow& shape : Shapes()) {
        SCOPED_TRACE("region " + std::to_string(shape.id));
        const StoredRegion r = ReadStoredRegion(shape.id);
        ASSERT_FALSE(r.rects.empty());
        EXPECT_EQ(r.header.dwSize, 32u);
        EXPECT_EQ(r.header.iType, 1u);
        EXPECT_EQ(r.header.nCount, r.rects.size());
        EXPECT_EQ(r.header.nRgnSize, 16 * r.rects.size());
        EXPECT_EQ(r.size, 32 + 16 * r.rects.size());
        EXPECT_EQ(BandFault(r), "");

        ASSERT_NE(ApplyRegionResource(Module(), window, shape.id, false), 0);
        HRGN applied = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(window, applied), ERROR);
        RECT box = {};
        GetRgnBox(applied, &box);
        DeleteObject(applied);
        EXPECT_EQ(box.left, shape.bound.left);
        EXPECT_EQ(box.top, shape.bound.top);
        EXPECT_EQ(box.right, shape.bound.right);
        EXPECT_EQ(box.bottom, shape.bound.bottom);
    }
    DestroyWindow(window);
    PumpMessages();
}

TEST(ResourcesTest, SignShapesFitTheFacesAndTheRimLeavesTheFaceOpen) {
    const StoredRegion outline = ReadStoredRegion(5001);
    const StoredRegion rim = ReadStoredRegion(5002);
    ASSERT_FALSE(outline.rects.empty());
    ASSERT_FALSE(rim.rects.empty());
    // The disc reaches all four sides at their middles, the bracket the right edge.
    EXPECT_TRUE(outline.Contains(49, 0));
    EXPECT_TRUE(outline.Contains(0, 49));
    EXPECT_TRUE(outline.Contains(49, 97));
    EXPECT_FALSE(outline.Contains(0, 0));
    EXPECT_FALSE(outline.Contains(121, 0));
    EXPECT_FALSE(outline.Contains(121, 97));
    int bracketRows = 0;
    for (int y = 0; y < 98; ++y) {
        bracketRows += outline.Contains(121, y);
    }
    EXPECT_GT(bracketRows, 10);
    // The rim is part of the outline and leaves the face open.
    for (const RECT& r : rim.rects) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                ASSERT_TRUE(outline.Contains(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_FALSE(rim.Contains(49, 49));
    EXPECT_TRUE(rim.Contains(49, 2));
    EXPECT_TRUE(rim.Contains(119, 49));
}

TEST(ResourcesTest, FigureShapesCutOutOnlyTransparentPixelsInTheirRows) {
    for (const ShapeRow& shape : Shapes()) {
        if (shape.frames.empty()) {
            continue;
        }
        SCOPED_TRACE("region " + std::to_string(shape.id));
        const StoredRegion r = ReadStoredRegion(shape.id);
        std::vector<StoredBitmap> frames;
        for (int id : shape.frames) {
            frames.push_back(ReadStoredBitmap(id));
            ASSERT_EQ(frames.back().fault, "");
        }
        const int width = frames[0].header.biWidth;
        const int height = frames[0].header.biHeight;
        int cut = 0;
        int firstRow = height, lastRow = -1;
        for (int y = shape.bound.top; y < shape.bound.bottom; ++y) {
            for (int x = shape.bound.left; x < shape.bound.right; ++x) {
                if (r.Contains(x, y)) {
                    continue;
                }
                ++cut;
                firstRow = std::min(firstRow, y);
                lastRow = std::max(lastRow, y);
                ASSERT_TRUE(x >= 0 && y >= 0 && x < width && y < height)
                    << "cut-out outside the picture at " << x << "," << y;
                for (const StoredBitmap& frame : frames) {
                    ASSERT_TRUE(frame.IsMagenta(x, y))
                        << "cut-out over the figure at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(cut, 0);
        EXPECT_GE(firstRow, shape.firstCutRow);
        EXPECT_LE(lastRow, shape.lastCutRow);
    }
}

// ---------------------------------------------------------------------------------------------
// What the figures' frames must agree on.

int LowestOpaqueRow(const StoredBitmap& b) {
    for (int y = b.header.biHeight - 1; y >= 0; --y) {
        for (int x = 0; x < b.header.biWidth; ++x) {
            if (!b.IsMagenta(x, y)) {
                return y;
            }
        }
    }
    return -1;
}

TEST(ResourcesTest, WalkCyclesKeepTheFeetOnOneGroundLine) {
    for (int first : {4096, 4139, 4143, 4194, 4198}) {
        SCOPED_TRACE("walk cycle from " + std::to_string(first));
        const int ground = LowestOpaqueRow(ReadStoredBitmap(first));
        EXPECT_GE(ground, 60);
        for (int id = first + 1; id < first + 4; ++id) {
            EXPECT_EQ(LowestOpaqueRow(ReadStoredBitmap(id)), ground) << "bitmap " << id;
        }
    }
}

TEST(ResourcesTest, VanishingFramesAreCutAtTheRightEdge) {
    // The placard figure passes behind a window edge: each of these frames is cut there, so
    // its last column still shows the figure.
    for (int id = 4209; id <= 4212; ++id) {
        const StoredBitmap b = ReadStoredBitmap(id);
        ASSERT_EQ(b.fault, "");
        int opaque = 0;
        for (int y = 0; y < b.header.biHeight; ++y) {
            opaque += !b.IsMagenta(b.header.biWidth - 1, y);
        }
        EXPECT_GT(opaque, 5) << "bitmap " << id;
    }
}

// ---------------------------------------------------------------------------------------------
// Ids: exactly the program's set.

BOOL CALLBACK CollectProgramId(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name) && LOWORD(name) < FIRST_TEST_ID) {
        reinterpret_cast<std::vector<int>*>(param)->push_back(LOWORD(name));
    }
    return TRUE;
}

std::vector<int> ProgramIdsOfType(const char* type) {
    std::vector<int> ids;
    EnumResourceNamesA(Module(), type, CollectProgramId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

TEST(ResourcesTest, ExactlyTheProgramsPicturesAndShapesExist) {
    EXPECT_EQ(ProgramIdsOfType(RT_BITMAP), AllBitmapIds());
    std::vector<int> shapes;
    for (int id = 5001; id <= 5011; ++id) {
        shapes.push_back(id);
    }
    EXPECT_EQ(ProgramIdsOfType("REGION"), shapes);
    for (int id : {4000, 4003, 4050, 4095, 4215}) {
        EXPECT_EQ(LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR),
                  nullptr)
            << "bitmap " << id;
    }
    EXPECT_EQ(LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(109)), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(109), RT_MENU), nullptr);
    // Everything is US English.
    for (int id : {4001, 4142, 4214}) {
        EXPECT_NE(FindResourceExA(nullptr, RT_BITMAP, MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
                  nullptr);
    }
    EXPECT_NE(FindResourceExA(nullptr, "REGION", MAKEINTRESOURCEA(5005),
                              MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
              nullptr);
}

// ---------------------------------------------------------------------------------------------
// Icons, cursor, strings and the menu.

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::vector<GroupEntry> GroupEntries(const char* type, int id) {
    DWORD size = 0;
    const auto* bytes = static_cast<const uint8_t*>(ResourceBytes(type, id, &size));
    std::vector<GroupEntry> entries;
    if (!bytes || size < 6) {
        return entries;
    }
    const WORD count = *reinterpret_cast<const WORD*>(bytes + 4);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupEntry) <= size; ++i) {
        GroupEntry e;
        memcpy(&e, bytes + 6 + i * sizeof(GroupEntry), sizeof e);
        entries.push_back(e);
    }
    return entries;
}

TEST(ResourcesTest, IconsAndCursorHaveTheirImagesAndHotSpot) {
    const auto big = GroupEntries(RT_GROUP_ICON, 107);
    ASSERT_EQ(big.size(), 2u);
    EXPECT_EQ(big[0].width, 16);
    EXPECT_EQ(big[0].bitCount, 4);
    EXPECT_EQ(big[1].width, 32);
    EXPECT_EQ(big[1].bitCount, 8);
    const auto small = GroupEntries(RT_GROUP_ICON, 5000);
    ASSERT_EQ(small.size(), 1u);
    EXPECT_EQ(small[0].width, 16);
    EXPECT_EQ(small[0].bitCount, 4);

    HICON icon = static_cast<HICON>(
        LoadImageA(Module(), MAKEINTRESOURCEA(5000), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
    EXPECT_NE(LoadIconA(Module(), MAKEINTRESOURCEA(107)), nullptr);

    HCURSOR cursor = LoadCursorA(Module(), MAKEINTRESOURCEA(5012));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 1u);
    // Monochrome: one bitmap holding the AND and XOR halves.
    EXPECT_EQ(info.hbmColor, nullptr);
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

TEST(ResourcesTest, StringsAndMenuAreThoseTheProgramAsksFor) {
    char text[100];
    for (int id = 96; id <= 111; ++id) {
        const int length = LoadStringA(Module(), UINT(id), text, sizeof text);
        if (id == 103) {
            EXPECT_STREQ(text, "Tarvolen");
        } else if (id == 109) {
            EXPECT_STREQ(text, "TARVOLENV10");
        } else {
            EXPECT_EQ(length, 0) << "string " << id;
        }
    }
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(135));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), 2);
    EXPECT_EQ(GetMenuItemID(popup, 0), 32775u);
    EXPECT_EQ(GetMenuItemID(popup, 1), 32774u);
    GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "About");
    GetMenuStringA(popup, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Exit");
    DestroyMenu(menu);
    for (int id : {103, 136}) {
        EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_DIALOG), nullptr);
    }
    EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_VERSION), nullptr);
}
}  // namespace
