// How a figure chooses its window rectangle and shape, reuses its copy of the screen, and
// what the user sees of it over a patterned window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ApiCounter.h"
#include "support/ScriptedActor.h"
#include "support/TestSupport.h"

// Rectangles read as x, y, width x height in failure messages.
static void PrintTo(const RectI& rect, std::ostream* out) {
    *out << "(" << rect.x << ", " << rect.y << ", " << rect.width << " x " << rect.height << ")";
}

namespace {
constexpr const char* PATTERN_CLASS = "TarvolenTestPattern";
constexpr RECT PATTERN_AREA = {60, 40, 860, 640};

// Stripes three pixels wide and two high in three colours: any misplaced or stale copy of
// the background shows up as a wrong colour.
COLORREF PatternColour(int screenX, int screenY) {
    static const COLORREF colours[] = {RGB(200, 40, 40), RGB(40, 40, 200), RGB(60, 150, 60)};
    return colours[(screenX / 3 + screenY / 2) % 3];
}

std::vector<DWORD> PatternPixels() {
    const int width = PATTERN_AREA.right - PATTERN_AREA.left;
    const int height = PATTERN_AREA.bottom - PATTERN_AREA.top;
    std::vector<DWORD> pixels(static_cast<size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = PatternColour(x + PATTERN_AREA.left, y + PATTERN_AREA.top);
            pixels[static_cast<size_t>(y * width + x)] =
                (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        }
    }
    return pixels;
}

LRESULT CALLBACK PatternWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        return 1;
    }
    if (message == WM_PAINT) {
        static const std::vector<DWORD> pixels = PatternPixels();
        const int width = PATTERN_AREA.right - PATTERN_AREA.left;
        const int height = PATTERN_AREA.bottom - PATTERN_AREA.top;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info,
                          DIB_RGB_COLORS);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreatePatternWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = PatternWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = PATTERN_CLASS;
        RegisterClassExA(&windowClass);
        registered = true;
    }
    // A borderless window, so that client and screen pixels differ only by its position.
    HWND window = CreateWindowExA(0, PATTERN_CLASS, "Pattern", WS_POPUP, PATTERN_AREA.left,
                                  PATTERN_AREA.top, PATTERN_AREA.right - PATTERN_AREA.left,
                                  PATTERN_AREA.bottom - PATTERN_AREA.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    BringToFront(window);
    PumpFor(100);
    return window;
}

// Pixels of a device context inside area, row by row, as COLORREF values.
std::vector<COLORREF> ReadPixels(HDC source, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP copy = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels(static_cast<size_t>(width * height));
    const auto* read = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = RGB((read[i] >> 16) & 0xFF, (read[i] >> 8) & 0xFF, read[i] & 0xFF);
    }
    SelectObject(memory, previous);
    DeleteObject(copy);
    DeleteDC(memory);
    return pixels;
}

std::vector<COLORREF> ReadScreen(const RECT& area) {
    PumpMessages();
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels = ReadPixels(screen, area);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<COLORREF> ReadBitmap(HBITMAP bitmap, int width, int height) {
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    std::vector<COLORREF> pixels = ReadPixels(memory, RECT{0, 0, width, height});
    SelectObject(memory, previous);
    DeleteDC(memory);
    return pixels;
}

// Compares the screen inside area with what it should show; an empty text when it does.
template <typename Expected>
std::string ScreenMismatch(const RECT& area, Expected expected) {
    const std::vector<COLORREF> screen = ReadScreen(area);
    const int width = area.right - area.left;
    int wrong = 0;
    std::string first;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF seen =
                screen[static_cast<size_t>((y - area.top) * width + x - area.left)];
            if (seen != expected(x, y) && wrong++ == 0) {
                first = std::to_string(x) + ", " + std::to_string(y);
            }
        }
    }
    return wrong == 0 ? std::string()
                      : std::to_string(wrong) + " wrong pixels, the first at " + first;
}

RectI ScreenRectOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return RectI{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The bounding box of the window's shape, or an unset rectangle when it has none.
RectI RegionBox(HWND window) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    RectI box;
    if (GetWindowRgn(window, region) != ERROR) {
        RECT bounds;
        GetRgnBox(region, &bounds);
        box =
            RectI{bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
    }
    DeleteObject(region);
    return box;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

class ActorRenderTest : public testing::Test {
protected:
    void SetUp() override { pattern = CreatePatternWindow(); }

    void TearDown() override {
        DestroyAllSprites();
        DestroyWindow(pattern);
        PumpMessages();
    }

    ScriptedActor* Launch(std::vector<int32_t> regionIds = {}, int32_t firstResource = -1,
                          int32_t lastResource = -1) {
        ScriptedActor* actor = LaunchScriptedActor(nullptr, pattern, std::move(regionIds),
                                                   firstResource, lastResource);
        EXPECT_NE(actor, nullptr);
        return actor;
    }

    HWND pattern = nullptr;
};
}  // namespace

// Frames that share at least one pixel share a window; touching or distant ones do not,
// so a figure that jumps never stretches its window over the gap.
TEST_F(ActorRenderTest, WindowCoversBothFramesOnlyWhileTheyOverlap) {
    ScriptedActor* actor = Launch();
    const HWND window = actor->Window();
    EXPECT_FALSE(IsWindowVisible(window));

    struct Step {
        double x, y;
        RectI expected;
    };
    const Step steps[] = {
        {300, 300, {300, 300, 10, 10}},  // first frame: its own rectangle
        {310, 300, {310, 300, 10, 10}},  // touching on the right
        {300, 300, {300, 300, 10, 10}},  // touching on the left
        {309, 300, {300, 300, 19, 10}},  // one column shared
        {309, 310, {309, 310, 10, 10}},  // touching below
        {309, 301, {309, 301, 10, 19}},  // one row shared
        {500, 500, {500, 500, 10, 10}},  // far away
        {495, 495, {495, 495, 15, 15}},  // corners overlap
    };
    for (const Step& step : steps) {
        actor->ShowAt(FRAME_SQUARE, step.x, step.y);
        PumpMessages();
        SCOPED_TRACE(testing::Message() << "frame at " << step.x << ", " << step.y);
        EXPECT_EQ(actor->WindowRect(), step.expected);
        EXPECT_EQ(ScreenRectOf(window), step.expected);
        EXPECT_TRUE(IsWindowVisible(window));
    }
}

TEST_F(ActorRenderTest, PositionsAreTruncatedTowardZeroAfterTheOffsetIsAdded) {
    ScriptedActor* actor = Launch();
    actor->ShowAt(FRAME_SQUARE, -7.9, 300.9);
    EXPECT_EQ(actor->WindowRect(), (RectI{-7, 300, 10, 10}));

    actor->FrameAt(FRAME_SQUARE)->SetOffset(0.6, 0.7);
    actor->ShowAt(FRAME_SQUARE, 400.6, 200.5);
    EXPECT_EQ(actor->WindowRect(), (RectI{401, 201, 10, 10}));

    // Inside a shared window the picture lands at the truncated distance from its corner.
    actor->FrameAt(FRAME_SQUARE)->SetOffset(0, 0);
    actor->ShowAt(FRAME_SQUARE, 400.0, 250.0);
    actor->ShowAt(FRAME_SQUARE, 403.9, 250.0);
    EXPECT_EQ(actor->WindowRect(), (RectI{400, 250, 13, 10}));
    EXPECT_EQ(ScreenPixel(403, 255), SQUARE_COLOUR);
    EXPECT_EQ(ScreenPixel(412, 255), SQUARE_COLOUR);
    EXPECT_EQ(ScreenPixel(402, 255), PatternColour(402, 255));
}

// A new window shape fits the new frame alone; removing it keeps the shared window; a shape
// that cannot be loaded is not retried and leaves the window as it was.
TEST_F(ActorRenderTest, WindowShapeFollowsTheFramesRegionIds) {
    ScriptedActor* actor =
        Launch({0, -1, -1, -1, -1, 5003, -1, 4999});  // FRAME_SQUARE 0 ... FRAME_SHAPED_THIRD
    const HWND window = actor->Window();
    const RectI shape5003{1, 1, 96, 262};

    actor->ShowAt(FRAME_SHAPED, 200, 100);
    EXPECT_EQ(actor->AppliedRegion(), 5003);
    EXPECT_EQ(RegionBox(window), shape5003);
    EXPECT_EQ(actor->WindowRect(), (RectI{200, 100, 98, 264}));

    actor->ShowAt(FRAME_SHAPED_TWIN, 206, 100);
    EXPECT_EQ(actor->AppliedRegion(), -1);
    EXPECT_EQ(RegionBox(window), RectI{});
    EXPECT_EQ(actor->WindowRect(), (RectI{200, 100, 104, 264}));

    actor->ShowAt(FRAME_SHAPED, 212, 100);
    EXPECT_EQ(RegionBox(window), shape5003);
    EXPECT_EQ(actor->WindowRect(), (RectI{212, 100, 98, 264}));

    actor->ShowAt(FRAME_SHAPED, 218, 100);
    EXPECT_EQ(actor->WindowRect(), (RectI{212, 100, 104, 264}));

    ResetCallCounts();
    actor->ShowAt(FRAME_SHAPED_THIRD, 224, 100);
    EXPECT_EQ(actor->AppliedRegion(), 4999);
    EXPECT_EQ(RegionBox(window), shape5003);
    EXPECT_EQ(actor->WindowRect(), (RectI{224, 100, 98, 264}));
    actor->ShowAt(FRAME_SHAPED_THIRD, 224, 100);
    EXPECT_EQ(CallCount("FindResourceA"), 1);

    actor->ShowAt(FRAME_SQUARE, 230, 100);
    EXPECT_EQ(actor->AppliedRegion(), 0);
    EXPECT_EQ(RegionBox(window), RectI{});
}

// Pixel by pixel: the figure's opaque pixels over the untouched pattern, at every small step,
// with no trace of where it stood before.
TEST_F(ActorRenderTest, ScreenShowsTheFigureOverTheTrueBackgroundAsItMoves) {
    ScriptedActor* actor = Launch();
    const RECT watched = {300, 200, 420, 300};

    struct Move {
        int dx, dy;
    };
    const Move moves[] = {{0, 0}, {3, 2},  {3, 2},  {3, 2},   {3, 1},  {2, 0},  {1, 0},
                          {0, 1}, {-2, 1}, {-3, 0}, {-3, -2}, {1, -1}, {4, 0},  {5, 3},
                          {5, 3}, {-1, 0}, {0, 0},  {6, 0},   {6, 0},  {-40, 0}};
    int x = 320;
    int y = 220;
    for (size_t step = 0; step < sizeof(moves) / sizeof(moves[0]); ++step) {
        x += moves[step].dx;
        y += moves[step].dy;
        actor->ShowAt(FRAME_FIGURE, x, y);
        PumpFor(20);

        const std::string mismatch = ScreenMismatch(watched, [&](int sx, int sy) {
            const int fx = sx - x;
            const int fy = sy - y;
            if (fx >= 0 && fy >= 0 && fx < FIGURE_SIZE && fy < FIGURE_SIZE &&
                FigurePixel(fx, fy) != TRANSPARENT_KEY) {
                return FigurePixel(fx, fy);
            }
            return PatternColour(sx, sy);
        });
        EXPECT_EQ(mismatch, "") << "step " << step << ", figure at " << x << ", " << y;
    }
}

// The screen is read once per move and not at all while the window stays put; the copy of
// the background is handed on, not copied.
TEST_F(ActorRenderTest, CapturesTheScreenOnlyWhenTheWindowMoves) {
    ScriptedActor* actor = Launch();

    ResetCallCounts();
    actor->ShowAt(FRAME_FIGURE, 300, 300);
    EXPECT_EQ(CallCount("CreateDCA"), 1);
    const HBITMAP background = actor->SavedBackground();
    EXPECT_NE(background, nullptr);

    ResetCallCounts();
    actor->ShowAt(FRAME_FIGURE, 300, 300);
    EXPECT_EQ(CallCount("CreateDCA"), 0);
    EXPECT_EQ(actor->SavedBackground(), background);

    ResetCallCounts();
    actor->ShowAt(FRAME_FIGURE, 302, 301);
    EXPECT_EQ(CallCount("CreateDCA"), 1);
    EXPECT_EQ(CallCount("SetWindowPos"), 1);

    ResetCallCounts();
    actor->ShowAt(FRAME_FIGURE, 600, 300);
    EXPECT_EQ(CallCount("CreateDCA"), 1);
}

TEST_F(ActorRenderTest, ComposedBitmapIsOnlyEverRegrown) {
    ScriptedActor* actor = Launch();
    actor->ShowAt(FRAME_WIDE, 100, 100);
    ASSERT_NE(actor->ComposedBitmap(), nullptr);
    EXPECT_EQ(BitmapSize(actor->ComposedBitmap()).cx, 100);
    EXPECT_EQ(BitmapSize(actor->ComposedBitmap()).cy, 50);

    actor->ShowAt(FRAME_TALL, 400, 400);
    EXPECT_EQ(BitmapSize(actor->ComposedBitmap()).cx, 80);
    EXPECT_EQ(BitmapSize(actor->ComposedBitmap()).cy, 60);

    const HBITMAP grown = actor->ComposedBitmap();
    ResetCallCounts();
    actor->ShowAt(FRAME_SMALL, 100, 500);
    EXPECT_EQ(actor->ComposedBitmap(), grown);
    EXPECT_EQ(BitmapSize(grown).cx, 80);
    EXPECT_EQ(BitmapSize(grown).cy, 60);
    EXPECT_EQ(CallCount("CreateCompatibleBitmap"), 1);  // the screen capture's own
    EXPECT_EQ(actor->WindowRect(), (RectI{100, 500, 70, 40}));
}

// A frame without a picture, or an index past the set, is skipped: the picture stays, and
// the script's new position is kept.
TEST_F(ActorRenderTest, FramesWithoutPictureAreSkipped) {
    ScriptedActor* actor = Launch();
    actor->ShowAt(FRAME_SQUARE, 300, 300);
    ASSERT_EQ(actor->FrameAt(FRAME_MISSING)->Bitmap(), nullptr);

    for (int32_t frame : {static_cast<int32_t>(FRAME_MISSING), actor->Count()}) {
        ResetCallCounts();
        actor->ShowAt(frame, 350, 320);
        EXPECT_EQ(CallCount("SetWindowPos"), 0);
        EXPECT_EQ(CallCount("CreateDCA"), 0);
        EXPECT_EQ(actor->WindowRect(), (RectI{300, 300, 10, 10}));
        EXPECT_EQ(actor->Current(), FRAME_SQUARE);
        EXPECT_EQ(actor->Origin(), (PointD{350, 320}));
    }
}

// The window repaints its composed picture on its own, e.g. after it was covered.
TEST_F(ActorRenderTest, RepaintsTheComposedPictureWhenUncovered) {
    ScriptedActor* actor = Launch();
    actor->ShowAt(FRAME_SQUARE, 500, 300);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(505, 305), SQUARE_COLOUR);

    HDC dc = GetDC(actor->Window());
    RECT all = {0, 0, 10, 10};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(actor->Window(), dc);
    GdiFlush();
    ASSERT_EQ(ScreenPixel(505, 305), RGB(0, 0, 0));

    InvalidateRect(actor->Window(), nullptr, TRUE);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(505, 305), SQUARE_COLOUR);
}

// The program's own frames with their window shapes: opaque pixels inside the shape show the
// frame, everything else the pattern, whether seen through the cut-out or through the copy.
TEST_F(ActorRenderTest, RealFramesShowThroughTheirWindowShapes) {
    ScriptedActor* actor = Launch({5003, 5004, 5005, 5006, 5007}, 4118, 4122);
    const HWND window = actor->Window();
    for (int32_t index = 0; index < actor->Count(); ++index) {
        const FrameBitmap* frame = actor->FrameAt(index);
        ASSERT_NE(frame->Bitmap(), nullptr);
        const int x = 300 + 3 * index;
        const int y = 150;
        actor->ShowAt(index, x, y);
        PumpFor(20);
        ASSERT_EQ(actor->WindowRect(), (RectI{x, y, frame->Width(), frame->Height()}));

        const std::vector<COLORREF> picture =
            ReadBitmap(frame->Bitmap(), frame->Width(), frame->Height());
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(window, shape), ERROR);
        const RECT watched = {x - 20, y - 10, x + frame->Width() + 20, y + frame->Height() + 10};
        const std::string mismatch = ScreenMismatch(watched, [&](int sx, int sy) {
            const int fx = sx - x;
            const int fy = sy - y;
            if (fx >= 0 && fy >= 0 && fx < frame->Width() && fy < frame->Height() &&
                PtInRegion(shape, fx, fy)) {
                const COLORREF colour = picture[static_cast<size_t>(fy * frame->Width() + fx)];
                if (colour != TRANSPARENT_KEY) {
                    return colour;
                }
            }
            return PatternColour(sx, sy);
        });
        DeleteObject(shape);
        EXPECT_EQ(mismatch, "") << "frame " << 4118 + index;
    }
}
