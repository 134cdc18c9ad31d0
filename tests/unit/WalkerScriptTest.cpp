// The three scripted walks and the sparkle, played tick by tick through the main tick with
// the real frames beside a real sign: where each frame shows, for how long, what the sign
// does meanwhile, and how a figure that is cut short leaves the sign.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "actors/Scheduler.h"
#include "actors/SignChangeWalker.h"
#include "app/MainWindow.h"
#include "support/WalkStage.h"

static void PrintTo(const RectI& rect, std::ostream* out) {
    *out << "(" << rect.x << ", " << rect.y << ", " << rect.width << " x " << rect.height << ")";
}

static void PrintTo(const PointD& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

namespace {
// With the sign at (300, 250) every figure's origin stays 2 pixels above the sign's top.
constexpr int SIGN_X = 300;
constexpr int SIGN_Y = 250;
constexpr double ORIGIN_Y = SIGN_Y - 2;

// Of a grid over the middle of the sign's face, the share of screen pixels that show this
// face bitmap.
double ShareOfFaceOnScreen(HWND sign, int faceId) {
    auto face = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(faceId),
                                                IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    RECT rect = {};
    GetWindowRect(sign, &rect);
    PumpMessages();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, face);
    int same = 0;
    int all = 0;
    for (int y = 20; y < 80; y += 4) {
        for (int x = 20; x < 80; x += 4) {
            same += GetPixel(screen, rect.left + x, rect.top + y) == GetPixel(memory, x, y) ? 1 : 0;
            ++all;
        }
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(face);
    return static_cast<double>(same) / all;
}

int Right(const RectI& rect) {
    return rect.x + rect.width;
}

// Frames first..last: their bitmaps' size and their draw offset from the figure's origin.
struct FrameRun {
    int32_t first;
    int32_t last;
    int32_t width;
    int32_t height;
    int32_t x;
    int32_t y;
};

const FrameRun SIGN_CHANGE_FRAMES[] = {
    {0, 3, 185, 70, 0, 203},     {4, 4, 176, 62, 4, 207},    {5, 5, 176, 58, 4, 211},
    {6, 6, 175, 78, 4, 191},     {7, 7, 133, 152, 47, 117},  {8, 8, 101, 173, 62, 96},
    {9, 9, 89, 179, 73, 90},     {10, 20, 40, 214, 117, 57}, {21, 28, 98, 264, 88, 2},
    {29, 37, 40, 186, 117, 85},  {38, 38, 89, 181, 73, 90},  {39, 39, 101, 175, 62, 96},
    {40, 40, 133, 152, 47, 117}, {41, 41, 175, 78, 4, 191},  {42, 42, 176, 62, 4, 207},
    {43, 46, 185, 70, 0, 203},
};

const FrameRun LADDER_VISIT_FRAMES[] = {
    {0, 3, 183, 70, 0, 205},     {4, 4, 176, 57, 4, 214},    {5, 5, 176, 53, 4, 218},
    {6, 6, 175, 78, 4, 193},     {7, 7, 133, 152, 47, 119},  {8, 8, 110, 174, 53, 97},
    {9, 9, 98, 179, 64, 92},     {10, 21, 43, 219, 114, 53}, {22, 30, 76, 225, 99, 42},
    {31, 43, 43, 219, 114, 53},  {44, 44, 98, 179, 64, 92},  {45, 45, 110, 174, 53, 97},
    {46, 46, 133, 152, 47, 119}, {47, 47, 175, 78, 4, 193},  {48, 49, 176, 53, 4, 218},
    {50, 50, 176, 57, 4, 214},   {51, 54, 183, 70, 0, 205},
};

const FrameRun PLACARD_FRAMES[] = {
    {0, 3, 50, 70, 17, 224},   {4, 4, 40, 61, 27, 229},   {5, 5, 48, 58, 19, 232},
    {6, 6, 53, 53, 14, 237},   {7, 7, 49, 58, 18, 232},   {8, 8, 40, 61, 27, 229},
    {9, 10, 65, 88, 2, 202},   {11, 11, 29, 63, 38, 227}, {12, 12, 26, 59, 41, 231},
    {13, 13, 12, 61, 55, 229}, {14, 14, 10, 57, 57, 233},
};

const FrameRun SPARKLE_FRAMES[] = {
    {0, 0, 56, 49, 70, 10},
    {1, 1, 41, 36, 150, 40},
};

// Every frame of the script shows, each with its size at its offset from the origin.
template <size_t N>
void ExpectFramesDrawnAsGiven(const ActorTrace& trace, const FrameRun (&runs)[N]) {
    for (const FrameRun& run : runs) {
        for (int32_t frame = run.first; frame <= run.last; ++frame) {
            const FrameStep* step = trace.FirstStepOf(frame);
            if (!step) {
                ADD_FAILURE() << "frame " << frame << " never shown";
                continue;
            }
            const RectI expected{static_cast<int32_t>(step->origin.x + run.x),
                                 static_cast<int32_t>(step->origin.y + run.y), run.width,
                                 run.height};
            EXPECT_EQ(step->frameRect, expected) << "frame " << frame;
        }
    }
}

// The first step that showed the frame; a failure when it never showed.
const FrameStep& StepOf(const ActorTrace& trace, int32_t frame) {
    static const FrameStep none{};
    const FrameStep* step = trace.FirstStepOf(frame);
    if (!step) {
        ADD_FAILURE() << "frame " << frame << " never shown";
        return none;
    }
    return *step;
}

// Tick of the first step showing each frame.
std::map<int32_t, int> FirstTicks(const ActorTrace& trace) {
    std::map<int32_t, int> ticks;
    for (const FrameStep& step : trace.steps) {
        ticks.emplace(step.frame, step.tick);
    }
    return ticks;
}

// Checks the walk in from the first step: frames cycle 1, 2, 3, 0 while x moves 6 a step
// from firstX, never reaching stopX; the next step shows frame 4 exactly on stopX.
void ExpectWalkIn(const ActorTrace& trace, double firstX, double stopX, size_t walkingSteps) {
    ASSERT_GT(trace.steps.size(), walkingSteps);
    for (size_t i = 0; i < walkingSteps; ++i) {
        const FrameStep& step = trace.steps[i];
        SCOPED_TRACE(testing::Message() << "walking step " << i);
        EXPECT_EQ(step.frame, static_cast<int32_t>((i + 1) % 4));
        EXPECT_EQ(step.origin, (PointD{firstX + 6.0 * static_cast<double>(i), ORIGIN_Y}));
        EXPECT_LT(step.origin.x, stopX);
        if (i > 0) {
            EXPECT_EQ(step.tick - trace.steps[i - 1].tick, 3);
        }
    }
    const FrameStep& stop = trace.steps[walkingSteps];
    EXPECT_EQ(stop.frame, 4);
    EXPECT_EQ(stop.origin, (PointD{stopX, ORIGIN_Y}));
    EXPECT_EQ(stop.tick - trace.steps[0].tick, static_cast<int>(3 * walkingSteps));
}

// Checks the walk out to the left: 6 pixels a step while the window still reached into the
// screen, then one more frame in place, then the window closes on the next frame step.
void ExpectWalkOut(const ActorTrace& trace, int32_t firstFrame, double fromX) {
    size_t first = 0;
    while (first < trace.steps.size() && trace.steps[first].frame != firstFrame) {
        ++first;
    }
    ASSERT_LT(first + 1, trace.steps.size());
    double x = fromX;
    for (size_t i = first; i + 1 < trace.steps.size(); ++i) {
        const FrameStep& step = trace.steps[i];
        SCOPED_TRACE(testing::Message() << "walking out, step " << i - first);
        EXPECT_EQ(step.frame, firstFrame + static_cast<int32_t>((i - first) % 4));
        EXPECT_GT(Right(step.windowBefore), 0);
        x -= 6.0;
        EXPECT_EQ(step.origin, (PointD{x, ORIGIN_Y}));
    }
    const FrameStep& last = trace.steps.back();
    EXPECT_EQ(last.frame, firstFrame + static_cast<int32_t>((trace.steps.size() - 1 - first) % 4));
    EXPECT_LE(Right(last.windowBefore), 0);
    EXPECT_EQ(last.origin, (PointD{x, ORIGIN_Y}));
    EXPECT_EQ(trace.closedTick, last.tick + 3);
}

class WalkerScriptTest : public testing::Test {
protected:
    void SetUp() override {
        busySign = nullptr;
        lastLaunchTime = 0;
    }

    void TearDown() override {
        DestroyAllSprites();
        for (HWND window : others) {
            DestroyWindow(window);
        }
        PumpMessages();
        busySign = nullptr;
        lastLaunchTime = 0;
    }

    // The face-change walk is due for old faces from 10 September 2001, and signs made
    // before 4 November 2001 start with the old face.
    void ClockInFaceChangeSeason() { clock.Set(LocalTime(2001, 10, 15)); }
    // Later, signs start with the new face and the script is drawn at random.
    void ClockWithNextDraws(const std::vector<bool>& ladder) {
        clock.Set(LocalTime(2005, 6, 1));
        srand(SeedForLadderDraws(ladder));
    }

    HWND OtherWindow() {
        TestWindowOptions options;
        options.x = 700;
        options.y = 20;
        options.width = 200;
        options.height = 150;
        options.title = "Elsewhere";
        others.push_back(CreateTestWindow(options));
        return others.back();
    }

    FakeClock clock{LocalTime(2005, 6, 1)};
    std::vector<HWND> others;
};

TEST_F(WalkerScriptTest, SignChangeWalksToTheSignSwapsItsFaceAndWalksOut) {
    ClockInFaceChangeSeason();
    WalkStage stage(SIGN_X, SIGN_Y);
    SignWindow* sign = stage.Sign();
    ASSERT_NE(sign, nullptr);
    ASSERT_EQ(sign->PlacedPosition(), (PointD{SIGN_X, SIGN_Y}));
    ASSERT_EQ(sign->State(), SIGN_OLD_FACE);

    std::map<int32_t, bool> shapedAsItsFrame;
    WalkRecorder recorder(stage);
    recorder.Run(1500, [&](int) {
        Actor* walker = FigureOut(Script::SignChange);
        if (!walker) {
            return;
        }
        static const std::map<int32_t, int> regions = {
            {22, 5003}, {23, 5004}, {24, 5005}, {25, 5006}, {26, 5007},
            {29, 5008}, {30, 5009}, {37, 5009}, {38, 5010}, {39, 5011}};
        const auto region = regions.find(walker->Current());
        if (region != regions.end()) {
            shapedAsItsFrame[region->first] = WindowHasShape(walker->Window(), region->second);
        }
    });

    ASSERT_EQ(recorder.Traces().size(), 1u);
    const ActorTrace& walk = recorder.Traces()[0];
    ASSERT_EQ(walk.script, Script::SignChange);
    ASSERT_NE(walk.closedTick, 0);
    ASSERT_GT(walk.steps.size(), 70u);

    // Frame 1 first, one step in from one frame width (185) beyond the left edge.
    const FrameStep& first = walk.steps[0];
    EXPECT_EQ(first.frame, 1);
    EXPECT_EQ(first.origin, (PointD{-179, ORIGIN_Y}));
    EXPECT_EQ(first.window, (RectI{-179, 451, 185, 70}));
    EXPECT_EQ(first.windowBefore, RectI{});

    // The ladder stands 88 pixels left of the sign: 66 walking frames, the last at 211.
    ExpectWalkIn(walk, -179, 212, 66);
    EXPECT_EQ(walk.steps[65].origin.x, 211);

    const std::map<int32_t, int> ticks = FirstTicks(walk);
    const int standing = ticks.at(4);
    EXPECT_EQ(ticks.at(5) - standing, 3);
    for (int32_t frame = 6; frame <= 42; ++frame) {
        EXPECT_EQ(ticks.at(frame) - standing, 13 + 4 * (frame - 6)) << "frame " << frame;
    }
    EXPECT_EQ(ticks.at(21) - standing, 73);
    EXPECT_EQ(ticks.at(28) - standing, 101);
    EXPECT_EQ(ticks.at(43) - standing, 161);

    // The sign has changed state by the time the frame that needs it shows.
    EXPECT_EQ(StepOf(walk, 20).signState, SIGN_OLD_FACE);
    EXPECT_EQ(StepOf(walk, 21).signState, SIGN_CHANGING);
    EXPECT_EQ(StepOf(walk, 27).signState, SIGN_CHANGING);
    EXPECT_EQ(StepOf(walk, 28).signState, SIGN_NEW_FACE);

    // The work on the face is drawn exactly over the sign's face.
    for (int32_t frame = 21; frame <= 28; ++frame) {
        EXPECT_EQ(StepOf(walk, frame).frameRect, (RectI{SIGN_X, SIGN_Y, 98, 264}))
            << "frame " << frame;
    }
    // A frame with its own outline gets a window of exactly its size, in that outline.
    for (int32_t frame : {22, 23, 24, 25, 26, 29, 30, 38, 39}) {
        const FrameStep& step = StepOf(walk, frame);
        EXPECT_EQ(step.window, step.frameRect) << "frame " << frame;
    }
    for (const auto& [frame, shaped] : shapedAsItsFrame) {
        EXPECT_TRUE(shaped) << "frame " << frame;
    }
    EXPECT_EQ(shapedAsItsFrame.size(), 10u);

    ExpectWalkOut(walk, 43, 212);
    ExpectFramesDrawnAsGiven(walk, SIGN_CHANGE_FRAMES);

    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(lastLaunchTime, clock.Now());
    PumpMessages();
    EXPECT_EQ(sign->State(), SIGN_NEW_FACE);
    EXPECT_EQ(sign->ResourceId(), SIGN_NEW_FACE_BITMAP);
    EXPECT_TRUE(WindowHasShape(stage.SignHandle(), SIGN_SHAPE_REGION));
    // What the user sees once the figure has gone: the new face, not a stale old one.
    EXPECT_GT(ShareOfFaceOnScreen(stage.SignHandle(), SIGN_NEW_FACE_BITMAP), 0.95);
}

TEST_F(WalkerScriptTest, LadderVisitPolishesTheSignAndLeavesASparkle) {
    ClockWithNextDraws({true});
    WalkStage stage(SIGN_X, SIGN_Y);
    ASSERT_EQ(stage.Sign()->State(), SIGN_NEW_FACE);

    WalkRecorder recorder(stage);
    recorder.Run(1500);
    ASSERT_EQ(recorder.Traces().size(), 2u);
    const ActorTrace* walk = recorder.Find(Script::LadderVisit);
    const ActorTrace* sparkle = recorder.Find(Script::Sparkle);
    ASSERT_NE(walk, nullptr);
    ASSERT_NE(sparkle, nullptr);
    ASSERT_GT(walk->steps.size(), 70u);

    // Frame 0 is 183 wide: the first step shows frame 1 at -177, and the stop at 212 comes
    // after 65 walking frames, the last at 207.
    EXPECT_EQ(walk->steps[0].frame, 1);
    EXPECT_EQ(walk->steps[0].window, (RectI{-177, 453, 183, 70}));
    ExpectWalkIn(*walk, -177, 212, 65);

    const std::map<int32_t, int> ticks = FirstTicks(*walk);
    const int standing = ticks.at(4);
    EXPECT_EQ(ticks.at(5) - standing, 3);
    for (int32_t frame = 6; frame <= 48; ++frame) {
        EXPECT_EQ(ticks.at(frame) - standing, 13 + 4 * (frame - 6)) << "frame " << frame;
    }
    EXPECT_EQ(ticks.at(44) - standing, 165);
    EXPECT_EQ(ticks.at(49) - standing, 211);
    EXPECT_EQ(ticks.at(50) - standing, 215);
    EXPECT_EQ(ticks.at(51) - standing, 219);
    ExpectWalkOut(*walk, 51, 212);
    ExpectFramesDrawnAsGiven(*walk, LADDER_VISIT_FRAMES);

    // The polishing leaves the face alone.
    for (const FrameStep& step : walk->steps) {
        EXPECT_EQ(step.signState, SIGN_NEW_FACE);
    }

    // Launched with frame 44; it glints lower right first, then upper left, seven times,
    // half a second each, and closes 70 ticks after its first glint.
    EXPECT_EQ(sparkle->firstSeenTick, ticks.at(44));
    ASSERT_EQ(sparkle->steps.size(), 7u);
    const int glint = sparkle->steps[0].tick;
    EXPECT_LE(glint - ticks.at(44), 1);
    for (size_t i = 0; i < 7; ++i) {
        const FrameStep& step = sparkle->steps[i];
        EXPECT_EQ(step.frame, i % 2 == 0 ? 1 : 0) << "glint " << i;
        EXPECT_EQ(step.tick - glint, static_cast<int>(10 * i)) << "glint " << i;
        EXPECT_EQ(step.window, i % 2 == 0 ? (RectI{SIGN_X + 62, SIGN_Y + 38, 41, 36})
                                          : (RectI{SIGN_X - 18, SIGN_Y + 8, 56, 49}))
            << "glint " << i;
    }
    EXPECT_EQ(sparkle->closedTick - glint, 70);
    ExpectFramesDrawnAsGiven(*sparkle, SPARKLE_FRAMES);
    // It ends long before the walker has left, and frees nothing of the scheduler's.
    EXPECT_LT(sparkle->closedTick, walk->closedTick);
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(lastLaunchTime, clock.Now());
}

TEST_F(WalkerScriptTest, PlacardStrollStopsBelowTheSignThenVanishesAtTheTargetsEdge) {
    ClockWithNextDraws({false});
    WalkStage stage(SIGN_X, SIGN_Y);
    const int targetLeft = SIGN_X + SIGN_WIDTH;

    WalkRecorder recorder(stage);
    recorder.Run(1000);
    ASSERT_EQ(recorder.Traces().size(), 1u);
    const ActorTrace& walk = recorder.Traces()[0];
    ASSERT_EQ(walk.script, Script::Placard);
    ASSERT_GT(walk.steps.size(), 60u);

    // 23 of frame 1's 50 columns show on the first step.
    EXPECT_EQ(walk.steps[0].frame, 1);
    EXPECT_EQ(walk.steps[0].window, (RectI{-27, 472, 50, 70}));
    // It stops on the sign's own x: 58 walking frames, the last at 298.
    ExpectWalkIn(walk, -44, SIGN_X, 58);
    EXPECT_EQ(walk.steps[57].origin.x, 298);

    const std::map<int32_t, int> ticks = FirstTicks(walk);
    const int standing = ticks.at(4);
    const std::map<int32_t, int> act = {{5, 10}, {6, 15}, {7, 20}, {8, 25}, {9, 30}, {10, 50}};
    for (const auto& [frame, after] : act) {
        EXPECT_EQ(ticks.at(frame) - standing, after) << "frame " << frame;
    }

    // The walk on starts in place with frame 0, then steps on; the test before each step
    // lets it pass the limit (target left - 67) by 5 pixels, and the next step puts it back.
    const FrameStep* placardDown = walk.FirstStepOf(10);
    ASSERT_NE(placardDown, nullptr);
    const size_t on = static_cast<size_t>(placardDown - walk.steps.data()) + 1;
    ASSERT_LT(on + 14, walk.steps.size());
    EXPECT_EQ(walk.steps[on].frame, 0);
    EXPECT_EQ(walk.steps[on].origin.x, SIGN_X);
    EXPECT_EQ(walk.steps[on].tick - standing, 55);
    EXPECT_EQ(walk.steps[on + 1].tick - standing, 60);
    for (size_t i = 1; i <= 10; ++i) {
        const FrameStep& step = walk.steps[on + i];
        EXPECT_EQ(step.frame, static_cast<int32_t>(i % 4)) << "step on " << i;
        EXPECT_EQ(step.origin, (PointD{SIGN_X + 6.0 * static_cast<double>(i), ORIGIN_Y}));
    }
    EXPECT_EQ(Right(walk.steps[on + 10].frameRect), targetLeft + 5);

    const double limit = targetLeft - 67;
    for (int32_t frame = 11; frame <= 14; ++frame) {
        const FrameStep& step = walk.steps[on + 11 + static_cast<size_t>(frame - 11)];
        EXPECT_EQ(step.frame, frame);
        EXPECT_EQ(step.origin, (PointD{limit, ORIGIN_Y}));
        // Cut off more and more, always ending on the target's left edge.
        EXPECT_EQ(Right(step.frameRect), targetLeft) << "frame " << frame;
        EXPECT_EQ(step.tick - walk.steps[on + 10].tick, 3 * (frame - 10));
    }
    EXPECT_EQ(walk.steps.size(), on + 15);
    ExpectFramesDrawnAsGiven(walk, PLACARD_FRAMES);
    EXPECT_EQ(walk.closedTick, walk.steps.back().tick + 3);
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(lastLaunchTime, clock.Now());
}

TEST_F(WalkerScriptTest, FaceChangeCutShortBetweenTheTwoMessagesPutsTheOldFaceBack) {
    ClockInFaceChangeSeason();
    WalkStage stage(SIGN_X, SIGN_Y);
    SignWindow* sign = stage.Sign();

    int32_t stateRightAfterClose = 0;
    WalkRecorder recorder(stage);
    recorder.Run(1000, [&](int) {
        Actor* walker = FigureOut(Script::SignChange);
        if (walker && walker->Current() == 24 && stateRightAfterClose == 0) {
            ASSERT_EQ(sign->State(), SIGN_CHANGING);
            DestroyWindow(walker->Window());
            // The cancel is posted: the sign hears of it only from the message queue.
            stateRightAfterClose = sign->State();
        }
    });
    EXPECT_EQ(stateRightAfterClose, SIGN_CHANGING);
    PumpMessages();
    EXPECT_EQ(sign->State(), SIGN_OLD_FACE);
    EXPECT_EQ(sign->ResourceId(), SIGN_OLD_FACE_BITMAP);
    EXPECT_TRUE(WindowHasShape(stage.SignHandle(), SIGN_SHAPE_REGION));
    EXPECT_GT(ShareOfFaceOnScreen(stage.SignHandle(), SIGN_OLD_FACE_BITMAP), 0.95);
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(lastLaunchTime, clock.Now());
}

TEST_F(WalkerScriptTest, FaceChangeCutShortAfterTheCommitKeepsTheNewFace) {
    ClockInFaceChangeSeason();
    WalkStage stage(SIGN_X, SIGN_Y);
    SignWindow* sign = stage.Sign();
    HWND elsewhere = OtherWindow();
    BringToFront(stage.Target());

    int leftAt = 0;
    WalkRecorder recorder(stage);
    recorder.Run(1000, [&](int tick) {
        Actor* walker = FigureOut(Script::SignChange);
        if (walker && walker->Current() == 30 && leftAt == 0) {
            // The user turns to another window: the figure closes on its next tick.
            BringToFront(elsewhere);
            leftAt = tick;
        }
    });
    ASSERT_NE(leftAt, 0);
    EXPECT_EQ(recorder.Traces()[0].closedTick, leftAt + 1);
    PumpMessages();
    EXPECT_EQ(sign->State(), SIGN_NEW_FACE);
    EXPECT_EQ(sign->ResourceId(), SIGN_NEW_FACE_BITMAP);
    EXPECT_TRUE(WindowHasShape(stage.SignHandle(), SIGN_SHAPE_REGION));
    EXPECT_GT(ShareOfFaceOnScreen(stage.SignHandle(), SIGN_NEW_FACE_BITMAP), 0.95);
    EXPECT_EQ(busySign, nullptr);
}

TEST_F(WalkerScriptTest, SparkleOutlivesALadderVisitClosedAfterItsLaunch) {
    ClockWithNextDraws({true});
    WalkStage stage(SIGN_X, SIGN_Y);

    int closedAt = 0;
    HWND sparkleWindow = nullptr;
    WalkRecorder recorder(stage);
    recorder.Run(1000, [&](int tick) {
        Actor* walker = FigureOut(Script::LadderVisit);
        if (walker && walker->Current() == 46 && closedAt == 0) {
            PostMessageA(walker->Window(), WM_SPRITE_CLOSE, 0, 0);
            PumpMessages();
            closedAt = tick;
            EXPECT_EQ(busySign, nullptr);
            Actor* sparkle = FigureOut(Script::Sparkle);
            ASSERT_NE(sparkle, nullptr);
            sparkleWindow = sparkle->Window();
        }
    });
    ASSERT_NE(closedAt, 0);
    const ActorTrace* sparkle = recorder.Find(Script::Sparkle);
    ASSERT_NE(sparkle, nullptr);
    EXPECT_EQ(sparkle->window, sparkleWindow);
    ASSERT_EQ(sparkle->steps.size(), 7u);
    EXPECT_EQ(sparkle->closedTick - sparkle->steps[0].tick, 70);
    EXPECT_GT(sparkle->closedTick, closedAt);
}

TEST_F(WalkerScriptTest, LadderVisitClosedBeforeFrame44LaunchesNoSparkle) {
    ClockWithNextDraws({true});
    WalkStage stage(SIGN_X, SIGN_Y);

    WalkRecorder recorder(stage);
    recorder.Run(1000, [&](int) {
        Actor* walker = FigureOut(Script::LadderVisit);
        if (walker && walker->Current() == 43) {
            DestroyWindow(walker->Window());
        }
    });
    recorder.RunFor(100);
    ASSERT_EQ(recorder.Traces().size(), 1u);
    ASSERT_FALSE(recorder.Traces()[0].steps.empty());
    EXPECT_EQ(recorder.Traces()[0].steps.back().frame, 43);
    EXPECT_EQ(recorder.Find(Script::Sparkle), nullptr);
}

TEST_F(WalkerScriptTest, WalkerWithoutARegisteredSignClosesUndrawnAndStillFreesTheScheduler) {
    ClockInFaceChangeSeason();
    WalkStage stage(SIGN_X, SIGN_Y);
    // A window that is no sign of this program.
    HWND notASign = OtherWindow();
    BringToFront(stage.Target());

    auto* walker = new SignChangeWalker(notASign, stage.Target());
    walker->SetKind(KIND_ACTOR);
    ASSERT_TRUE(walker->Create(mainWindowHandle));
    const HWND walkerWindow = walker->Window();
    busySign = stage.SignHandle();
    lastLaunchTime = 0;

    // A tick may reach it before its close does; it shows nothing then.
    walker->Tick();
    EXPECT_FALSE(IsWindowVisible(walkerWindow));
    RunTicks(1);
    EXPECT_EQ(ObjectForWindow(walkerWindow), nullptr);
    EXPECT_FALSE(IsWindow(walkerWindow));
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(lastLaunchTime, clock.Now());
}
}  // namespace
