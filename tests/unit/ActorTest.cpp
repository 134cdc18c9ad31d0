// A figure's life and looks: when it goes on and when it leaves, how it chooses its window
// rectangle and shape, reuses its copy of the screen, and what the user sees of it over a
// patterned window.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "actors/Actor.h"
#include "app/MainWindow.h"
#include "gfx/QuietSettings.h"
#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/TestSupport.h"

namespace {
// The tests' frames, bitmap resources stored as the program's own pictures are, 8 bits a pixel
// with a colour table; by index from 7201.
enum TestFrame : int32_t {
    FRAME_SQUARE,        // 10 x 10, opaque SQUARE_COLOUR
    FRAME_FIGURE,        // 40 x 40, FigurePixel on magenta
    FRAME_WIDE,          // 100 x 50, the rest opaque gradients
    FRAME_TALL,          // 80 x 60
    FRAME_SMALL,         // 70 x 40
    FRAME_SHAPED,        // 98 x 264, the size the shapes 5003..5007 fit
    FRAME_SHAPED_TWIN,   // the same again, for other region ids
    FRAME_SHAPED_THIRD,  //
    FRAME_MISSING,       // 1025 x 1, wider than any picture the program takes: refused
    TEST_FRAME_COUNT,
};
constexpr int FIGURE_SIZE = 40;
constexpr COLORREF SQUARE_COLOUR = RGB(250, 240, 10);

// TRANSPARENT_KEY where see-through; opaque colours have green >= 230, unlike any background.
COLORREF FigurePixel(int x, int y) {
    const bool disc = (x - 20) * (x - 20) + (y - 17) * (y - 17) <= 14 * 14;
    const bool leg = x >= 24 && x < 28 && y >= 30;
    const int shade = (x + 41 * y) % 240;
    return disc || leg ? RGB(shade, 230, 250 - shade / 2) : TRANSPARENT_KEY;
}

// A figure of the tests' frames whose every frame and move the test decides.
class ScriptedActor : public Actor {
public:
    // Region ids by frame index, -1 for the rest.
    ScriptedActor(HWND sign, HWND target, std::vector<int32_t> regionIds)
        : Actor(sign, target), regions(std::move(regionIds)) {
        regions.resize(TEST_FRAME_COUNT, -1);
    }
    // Runs one Tick in which NextFrame answers this frame (negative: none) and point.
    void ShowAt(int32_t frame, double x, double y) {
        planned = frame;
        point = PointD{x, y};
        Tick();
    }
    int32_t NextFrame(double& x, double& y) override {
        x = point.x;
        y = point.y;
        return planned;
    }
    int32_t LoadFrames() override {
        static const FrameOffset atOrigin[TEST_FRAME_COUNT] = {};
        LoadScriptFrames(7201, TEST_FRAME_COUNT, atOrigin, regions.data());
        return 0;
    }

private:
    std::vector<int32_t> regions;
    int32_t planned = -1;
    PointD point;
};

// Marked as a figure and created, owned by the main window.
ScriptedActor* LaunchScriptedActor(HWND sign, HWND target, std::vector<int32_t> regionIds = {}) {
    auto* actor = new ScriptedActor(sign, target, std::move(regionIds));
    actor->SetKind(KIND_ACTOR);
    EXPECT_TRUE(actor->Create(mainWindowHandle));
    return actor;
}

constexpr RECT PATTERN_AREA = {60, 40, 860, 640};

// Stripes three pixels wide and two high in three colours: any misplaced or stale copy of
// the background shows up as a wrong colour.
COLORREF PatternColour(int screenX, int screenY) {
    static const COLORREF colours[] = {RGB(200, 40, 40), RGB(40, 40, 200), RGB(60, 150, 60)};
    return colours[(screenX / 3 + screenY / 2) % 3];
}

// Compares the screen inside area with expected(x, y); an empty text when all match.
template <typename Expected>
std::string ScreenMismatch(const RECT& area, Expected expected) {
    PumpMessages();
    const int width = area.right - area.left;
    const std::vector<uint32_t> seen = ScreenPixels(area);
    int wrong = 0;
    std::string first;
    for (size_t i = 0; i < seen.size(); ++i) {
        const int x = area.left + int(i) % width, y = area.top + int(i) / width;
        if (RGB(seen[i] >> 16, seen[i] >> 8 & 0xFF, seen[i] & 0xFF) != expected(x, y) &&
            wrong++ == 0) {
            first = std::to_string(x) + ", " + std::to_string(y);
        }
    }
    return wrong == 0 ? "" : std::to_string(wrong) + " wrong pixels, the first at " + first;
}

// The bounding box of the window's shape; an unset rectangle when it has none.
RectI RegionBox(HWND window) {
    RECT box = {};
    return GetWindowRgnBox(window, &box) == ERROR
               ? RectI{}
               : RectI{box.left, box.top, box.right - box.left, box.bottom - box.top};
}

// The figures' target in front: a borderless picture of the stripes, so that its pixels and
// the screen's differ only by its position; a stand-in for their sign, and another window.
class ActorTest : public testing::Test {
protected:
    void SetUp() override {
        static const HBITMAP picture =
            MakeBitmap(PATTERN_AREA.right - PATTERN_AREA.left,
                       PATTERN_AREA.bottom - PATTERN_AREA.top, [](int x, int y) {
                           return PatternColour(x + PATTERN_AREA.left, y + PATTERN_AREA.top);
                       });
        target =
            CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE | SS_BITMAP, PATTERN_AREA.left,
                            PATTERN_AREA.top, 0, 0, nullptr, nullptr, nullptr, nullptr);
        SendMessageA(target, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
        sign = CreateTestWindow({"Sign", 0, 0, 122, 98, WS_POPUP | WS_VISIBLE});
        other = CreateTestWindow({"Other", 900, 100, 100, 100});
        BringToFront(target);
        PumpFor(100);
    }
    void TearDown() override {
        DestroyAllSprites();
        for (HWND window : {target, sign, other}) {
            DestroyWindow(window);
        }
        PumpMessages();
    }
    ScriptedActor* Launch(std::vector<int32_t> regionIds = {}) {
        return LaunchScriptedActor(sign, target, std::move(regionIds));
    }

    HWND target, sign, other;
    FakeQuietSettings quiet;
    FakeFrames frames{0};
};

constexpr UINT SET_CLIENT_AREA_ANIMATION = 0x1043;

// After a figure's first frame, the user leaves or changes its target, or turns the system's
// own animation setting off: it goes on its next tick.
TEST_F(ActorTest, LeavesWhenTheUserLeavesOrChangesTheTargetOrTurnsAnimationsOff) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"target destroyed", [this] { DestroyWindow(target); }},
        {"target minimised", [this] { ShowWindow(target, SW_MINIMIZE); }},
        {"target maximised", [this] { ShowWindow(target, SW_MAXIMIZE); }},
        {"target hidden", [this] { ShowWindow(target, SW_HIDE); }},
        {"each edge of the target moved", [this] { MoveWindow(target, 61, 41, 801, 600, TRUE); }},
        {"another window in front", [this] { BringToFront(other); }},
        {"a sign in front",
         [this] {
             ScriptedActor* another = Launch();
             another->SetKind(KIND_SIGN);
             another->ShowAt(FRAME_SQUARE, 700, 600);
             BringToFront(another->Window());
         }},
        {"target cloaked", [this] { frames.Cloak(target); }},
        {"animations turned off",
         [] {
             SetQuietSource({});
             SystemParametersInfoA(SET_CLIENT_AREA_ANIMATION, 0, nullptr, 0);
             ReadQuietSettings();
         }},
    };
    for (const auto& [what, act] : cases) {
        SCOPED_TRACE(what);
        TearDown();
        SetUp();
        ScriptedActor* actor = Launch();
        actor->ShowAt(FRAME_SQUARE, 250, 150);
        act();
        const HWND window = actor->Window();
        actor->Tick();
        PumpMessages();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(ObjectForWindow(window), nullptr);
    }
    SystemParametersInfoA(SET_CLIENT_AREA_ANIMATION, 0, reinterpret_cast<void*>(TRUE), 0);
}

// Frames that share at least one pixel share a window; touching or distant ones do not, so a
// figure that jumps never stretches its window over the gap, and a frame with a new shape
// gets a window of its own. Removing a shape keeps the shared window; a shape that cannot be
// loaded is not retried and leaves the window as it was. The screen is read once for each new
// window rectangle; the copy of it is made anew, and the picture all figures compose on
// grows, only for a new size. A frame without a picture counts as shown, unseen; an index
// without a frame does not; the origin moves on either way. Positions are truncated toward
// zero after the offset is added.
TEST_F(ActorTest, WindowShapeAndScreenCopiesFollowTheFrames) {
    // By frame: FRAME_SQUARE 0, FRAME_SHAPED 5003, FRAME_SHAPED_THIRD 4999, which does not exist.
    ScriptedActor* actor = Launch({0, -1, -1, -1, -1, 5003, -1, 4999});
    EXPECT_FALSE(IsWindowVisible(actor->Window()));
    const struct {
        int32_t frame;
        double x, y;
        RectI window;
        int32_t applied;
    } steps[] = {
        {FRAME_SQUARE, 300, 300, {300, 300, 10, 10}, 0},  // first frame: its own rectangle
        {FRAME_SQUARE, 310, 300, {310, 300, 10, 10}, 0},  // touching on the right
        {FRAME_SQUARE, 300, 300, {300, 300, 10, 10}, 0},  // touching on the left
        {FRAME_SQUARE, 309, 300, {300, 300, 19, 10}, 0},  // one column shared
        {FRAME_SQUARE, 309, 310, {309, 310, 10, 10}, 0},  // touching below
        {FRAME_SQUARE, 309, 301, {309, 301, 10, 19}, 0},  // one row shared
        {FRAME_SQUARE, 500, 500, {500, 500, 10, 10}, 0},  // far away
        {FRAME_SQUARE, 495, 495, {495, 495, 15, 15}, 0},  // corners overlap
        {FRAME_SQUARE, -7.9, 300.9, {-7, 300, 10, 10}, 0},
        {FRAME_SHAPED, 200, 100, {200, 100, 98, 264}, 5003},
        {FRAME_SHAPED_TWIN, 206, 100, {200, 100, 104, 264}, -1},
        {FRAME_SHAPED, 212, 100, {212, 100, 98, 264}, 5003},
        {FRAME_SHAPED, 218, 100, {212, 100, 104, 264}, 5003},
        {FRAME_SHAPED_THIRD, 224, 100, {224, 100, 98, 264}, 4999},
        {FRAME_SHAPED_THIRD, 224, 100, {224, 100, 98, 264}, 4999},
        {FRAME_SQUARE, 230, 100, {224, 100, 98, 264}, 0},
        {FRAME_FIGURE, 300, 300, {300, 300, 40, 40}, -1},
        {FRAME_FIGURE, 300, 300, {300, 300, 40, 40}, -1},
        {FRAME_FIGURE, 302, 301, {300, 300, 42, 41}, -1},
        {FRAME_FIGURE, 304, 302, {302, 301, 42, 41}, -1},
        {FRAME_WIDE, 100, 100, {100, 100, 100, 50}, -1},
        {FRAME_TALL, 400, 400, {400, 400, 80, 60}, -1},
        {FRAME_SMALL, 100, 500, {100, 500, 70, 40}, -1},
        {FRAME_MISSING, 350, 320, {100, 500, 70, 40}, -1},
        {TEST_FRAME_COUNT, 360, 330, {100, 500, 70, 40}, -1},
    };
    RectI window;
    int canvasWidth = 0, canvasHeight = 0, shapesGiven = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message()
                     << "frame " << step.frame << " at " << step.x << ", " << step.y);
        ResetCallCounts();
        actor->ShowAt(step.frame, step.x, step.y);
        const RectI now = actor->WindowRect();
        EXPECT_EQ(now, step.window);
        EXPECT_EQ(actor->Origin(), (PointD{step.x, step.y}));
        EXPECT_EQ(actor->AppliedRegion(), step.applied);
        const bool shaped = step.applied == 5003 || step.applied == 4999;
        EXPECT_EQ(RegionBox(actor->Window()), shaped ? (RectI{1, 1, 96, 262}) : RectI{});
        const bool resized = now.width != window.width || now.height != window.height;
        const bool grown = now.width > canvasWidth || now.height > canvasHeight;
        canvasWidth = std::max(canvasWidth, now.width);
        canvasHeight = std::max(canvasHeight, now.height);
        EXPECT_EQ(CallCount(SCREEN_COPY), now != window ? 1 : 0);
        EXPECT_EQ(CallCount("SetWindowPos"), step.frame < FRAME_MISSING ? 1 : 0);
        EXPECT_EQ(CallCount("CreateDIBSection"), int(resized) + int(grown));
        BITMAP info = {};
        GetObjectA(actor->ComposedBitmap(), sizeof(info), &info);
        EXPECT_TRUE(info.bmWidth == canvasWidth && info.bmHeight == canvasHeight);
        GetObjectA(actor->SavedBackground(), sizeof(info), &info);
        EXPECT_TRUE(info.bmWidth == now.width && info.bmHeight == now.height);
        shapesGiven += CallCount("SetWindowRgn");
        window = now;
    }
    EXPECT_EQ(shapesGiven, 6);  // none, 5003, none, 5003, none, none
    EXPECT_EQ(actor->Current(), FRAME_MISSING);
    EXPECT_TRUE(IsWindowVisible(actor->Window()));

    actor->FrameAt(FRAME_SQUARE)->SetOffset(0.6, 0.7);
    actor->ShowAt(FRAME_SQUARE, 400.6, 200.5);
    EXPECT_EQ(actor->WindowRect(), (RectI{401, 201, 10, 10}));
    // Inside a shared window the picture lands at the truncated distance from its corner.
    actor->FrameAt(FRAME_SQUARE)->SetOffset(0, 0);
    actor->ShowAt(FRAME_SQUARE, 400.0, 250.0);
    actor->ShowAt(FRAME_SQUARE, 403.9, 250.0);
    EXPECT_EQ(actor->WindowRect(), (RectI{400, 250, 13, 10}));
    EXPECT_EQ(ScreenMismatch({400, 255, 414, 256},
                             [](int x, int) {
                                 return x >= 403 && x < 413 ? SQUARE_COLOUR : PatternColour(x, 255);
                             }),
              "");
}

// Pixel by pixel at every small step: the figure's opaque pixels over the untouched pattern,
// with no trace of where it stood before; and the window repaints itself when uncovered.
TEST_F(ActorTest, ScreenShowsTheFigureOverTheTrueBackgroundAsItMoves) {
    ScriptedActor* actor = Launch();
    const int moves[][2] = {{0, 0}, {3, 2},  {3, 2},  {3, 2},   {3, 1},  {2, 0},  {1, 0},
                            {0, 1}, {-2, 1}, {-3, 0}, {-3, -2}, {1, -1}, {4, 0},  {5, 3},
                            {5, 3}, {-1, 0}, {0, 0},  {6, 0},   {6, 0},  {-40, 0}};
    int x = 320;
    int y = 220;
    const auto figureOverPattern = [&](int sx, int sy) {
        const int fx = sx - x;
        const int fy = sy - y;
        const bool inside = fx >= 0 && fy >= 0 && fx < FIGURE_SIZE && fy < FIGURE_SIZE;
        return inside && FigurePixel(fx, fy) != TRANSPARENT_KEY ? FigurePixel(fx, fy)
                                                                : PatternColour(sx, sy);
    };
    for (const auto& move : moves) {
        x += move[0];
        y += move[1];
        actor->ShowAt(FRAME_FIGURE, x, y);
        PumpFor(20);
        EXPECT_EQ(ScreenMismatch({300, 200, 420, 300}, figureOverPattern), "")
            << "figure at " << x << ", " << y;
    }

    HDC dc = GetDC(actor->Window());
    const RECT all = {0, 0, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(actor->Window(), dc);
    ASSERT_NE(ScreenMismatch({300, 200, 420, 300}, figureOverPattern), "");
    InvalidateRect(actor->Window(), nullptr, TRUE);
    EXPECT_EQ(ScreenMismatch({300, 200, 420, 300}, figureOverPattern), "");
}

}  // namespace
