// The three walks and the sparkle, played through the main tick with the real frames beside a
// real sign: where each frame shows, for how long, what the sign does meanwhile, and how a
// figure cut short leaves the sign.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "actors/Scheduler.h"
#include "gfx/Drawing.h"
#include "support/TestBitmaps.h"
#include "support/WalkStage.h"

namespace {
// With the stage's sign at (300, 250) every figure's origin stays 2 pixels above the sign's top.
constexpr int SIGN_X = 300;
constexpr int SIGN_Y = 250;
constexpr double ORIGIN_Y = SIGN_Y - 2;

int Right(const RectI& rect) {
    return rect.x + rect.width;
}

// The walk in: frames 1, 2, 3, 0, ... 6 pixels and 3 ticks a step from firstX, never
// reaching stopX; the next step shows frame 4 exactly on stopX.
void ExpectWalkIn(const ActorTrace& trace, double firstX, double stopX, size_t walkingSteps) {
    ASSERT_GT(trace.steps.size(), walkingSteps);
    for (size_t i = 0; i <= walkingSteps; ++i) {
        const FrameStep& step = trace.steps[i];
        SCOPED_TRACE(testing::Message() << "walking step " << i);
        const double x = i < walkingSteps ? firstX + 6.0 * static_cast<double>(i) : stopX;
        EXPECT_EQ(step.frame, i < walkingSteps ? static_cast<int32_t>((i + 1) % 4) : 4);
        EXPECT_EQ(step.origin, (PointD{x, ORIGIN_Y}));
        EXPECT_EQ(step.tick - trace.steps[0].tick, static_cast<int>(3 * i));
    }
    EXPECT_LT(trace.steps[walkingSteps - 1].origin.x, stopX);
}

// The walk out: 6 pixels a step while the window still reached into the screen, then one
// frame in place, then the window closes on the next frame step.
void ExpectWalkOut(const ActorTrace& trace, int32_t firstFrame, double fromX) {
    size_t first = 0;
    while (first < trace.steps.size() && trace.steps[first].frame != firstFrame) {
        ++first;
    }
    ASSERT_LT(first + 1, trace.steps.size());
    double x = fromX;
    for (size_t i = first; i < trace.steps.size(); ++i) {
        const FrameStep& step = trace.steps[i];
        const bool last = i + 1 == trace.steps.size();
        SCOPED_TRACE(testing::Message() << "walking out, step " << i - first);
        EXPECT_EQ(step.frame, firstFrame + static_cast<int32_t>((i - first) % 4));
        EXPECT_EQ(Right(trace.steps[i - 1].window) > 0, !last);
        x -= last ? 0.0 : 6.0;
        EXPECT_EQ(step.origin, (PointD{x, ORIGIN_Y}));
    }
    EXPECT_EQ(trace.closedTick, trace.steps.back().tick + 3);
}

// While the figure stands where it stopped, pictures of one size are drawn at one place: a
// pose that comes back, or lasts several frames, never jitters.
void ExpectNoJitterWhileStanding(const ActorTrace& trace) {
    const PointD stop = trace.FirstSteps().at(4).origin;
    std::map<std::pair<int32_t, int32_t>, RectI> placeOfSize;
    for (const FrameStep& step : trace.steps) {
        if (step.origin == stop) {
            const auto size = std::pair{step.frameRect.width, step.frameRect.height};
            EXPECT_EQ(step.frameRect, placeOfSize.emplace(size, step.frameRect).first->second)
                << "frame " << step.frame;
        }
    }
}

// The share of the middle of the sign's face whose screen pixels show this face.
double ShareOfFaceOnScreen(HWND sign, int faceId) {
    HBITMAP face = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(faceId));
    RECT rect = {};
    GetWindowRect(sign, &rect);
    PumpMessages();
    HBITMAP shown = CaptureScreenRect({rect.left, rect.top, 122, 98});
    const std::vector<uint32_t> want = PixelsOf(face), got = PixelsOf(shown);
    DeleteObject(face);
    DeleteObject(shown);
    int same = 0;
    for (int y = 20; y < 80; ++y) {
        same += std::equal(&got[y * 122 + 20], &got[y * 122 + 80], &want[y * 122 + 20]);
    }
    return same / 60.0;
}

// Ticks from frame 4 to the first showing of each frame; the ticks add up, so a wrong
// countdown anywhere before shows at the next point.
void ExpectTicksAfterStanding(const ActorTrace& trace, const std::map<int32_t, int>& points) {
    const auto first = trace.FirstSteps();
    for (const auto& [frame, ticks] : points) {
        EXPECT_EQ(first.at(frame).tick - first.at(4).tick, ticks) << "frame " << frame;
    }
}

class WalkerScriptTest : public testing::Test {
protected:
    void SetUp() override { ResetScheduler(); }
    void TearDown() override {
        DestroyAllSprites();
        ResetScheduler();
    }

    // Signs made before 4 November 2001 show the old face, which is due for a change.
    void ClockInFaceChangeSeason() { clock.Set(LocalTime(2001, 10, 15)); }
    // Later signs show the new face and the script is drawn at random.
    void ClockWithNextDraws(const std::vector<bool>& ladder) {
        clock.Set(LocalTime(2005, 6, 1));
        srand(SeedForLadderDraws(ladder));
    }

    // Once the figure has gone: the sign in this state, shape and face, on the screen too,
    // and the scheduler free since now.
    void ExpectSignLeftWith(const WalkStage& stage, int32_t state, int faceId) {
        PumpMessages();
        EXPECT_EQ(stage.Sign()->State(), state);
        EXPECT_EQ(stage.Sign()->ResourceId(), faceId);
        EXPECT_TRUE(WindowHasShape(stage.SignHandle(), SIGN_SHAPE_REGION));
        EXPECT_GT(ShareOfFaceOnScreen(stage.SignHandle(), faceId), 0.95);
        EXPECT_EQ(busySign, nullptr);
        EXPECT_EQ(lastLaunchTime, clock.Now());
    }

    FakeClock clock{LocalTime(2005, 6, 1)};
};

TEST_F(WalkerScriptTest, SignChangeWalksToTheSignSwapsItsFaceAndWalksOut) {
    ClockInFaceChangeSeason();
    WalkStage stage;
    ASSERT_EQ(stage.Sign()->State(), SIGN_OLD_FACE);

    // The frames with an outline of their own, and whether the window had it meanwhile.
    std::map<int32_t, int> regions = {{22, 5003}, {23, 5004}, {24, 5005}, {25, 5006}, {26, 5007},
                                      {29, 5008}, {30, 5009}, {37, 5009}, {38, 5010}, {39, 5011}};
    std::map<int32_t, bool> shaped;
    const auto traces = RecordWalks(stage, 1500, [&](int) {
        Actor* walker = FigureOut(Script::SignChange);
        if (walker && regions.count(walker->Current())) {
            shaped[walker->Current()] =
                WindowHasShape(walker->Window(), regions[walker->Current()]);
        }
    });
    ASSERT_EQ(traces.size(), 1u);
    const ActorTrace& walk = traces[0];
    ASSERT_EQ(walk.script, Script::SignChange);

    // One step in from one frame width (185) beyond the left edge; the ladder stands 88
    // pixels left of the sign, reached after 66 walking frames.
    EXPECT_EQ(walk.steps[0].window, (RectI{-179, 451, 185, 70}));
    ExpectWalkIn(walk, -179, 212, 66);

    // Frame 5 pauses 10 ticks, the others 4: the face change begins with frame 21, commits
    // with 28, and the walk out starts with 43.
    ExpectTicksAfterStanding(walk, {{5, 3}, {6, 13}, {20, 69}, {21, 73}, {28, 101}, {43, 161}});
    const auto first = walk.FirstSteps();

    // The sign has changed state before the frame that needs it shows; the work on the face
    // is drawn exactly over it.
    EXPECT_EQ(first.at(20).signState, SIGN_OLD_FACE);
    for (int32_t frame = 21; frame <= 28; ++frame) {
        EXPECT_EQ(first.at(frame).signState, frame < 28 ? SIGN_CHANGING : SIGN_NEW_FACE);
        EXPECT_EQ(first.at(frame).frameRect, (RectI{SIGN_X, SIGN_Y, 98, 264}));
    }
    for (const auto& [frame, region] : regions) {
        EXPECT_TRUE(shaped[frame]) << "frame " << frame << ", region " << region;
    }

    ExpectWalkOut(walk, 43, 212);
    ExpectNoJitterWhileStanding(walk);
    // The new face, not a stale old one, once the figure has gone.
    ExpectSignLeftWith(stage, SIGN_NEW_FACE, SIGN_NEW_FACE_BITMAP);
}

TEST_F(WalkerScriptTest, LadderVisitPolishesTheSignAndLeavesASparkle) {
    ClockWithNextDraws({true});
    WalkStage stage;

    const auto traces = RecordWalks(stage, 1500);
    ASSERT_EQ(traces.size(), 2u);
    const ActorTrace* walk = FindTrace(traces, Script::LadderVisit);
    const ActorTrace* sparkle = FindTrace(traces, Script::Sparkle);
    ASSERT_NE(walk, nullptr);
    ASSERT_NE(sparkle, nullptr);

    // Frame 0 is 183 wide: 65 walking frames from -177 to the stop at 212.
    EXPECT_EQ(walk->steps[0].window, (RectI{-177, 453, 183, 70}));
    ExpectWalkIn(*walk, -177, 212, 65);

    // The sparkle goes with frame 44 at 165 ticks, the long pause on 48 takes 30, the walk
    // out starts at 219.
    ExpectTicksAfterStanding(*walk, {{5, 3}, {6, 13}, {44, 165}, {48, 181}, {49, 211}, {51, 219}});
    const auto first = walk->FirstSteps();
    ExpectWalkOut(*walk, 51, 212);
    ExpectNoJitterWhileStanding(*walk);
    for (const FrameStep& step : walk->steps) {
        EXPECT_EQ(step.signState, SIGN_NEW_FACE);
    }

    // Lower right first, then upper left, seven glints half a second apart; it closes 70
    // ticks after the first, long before the walker, and frees nothing of the scheduler's.
    EXPECT_EQ(sparkle->firstSeenTick, first.at(44).tick);
    ASSERT_EQ(sparkle->steps.size(), 7u);
    const int glint = sparkle->steps[0].tick;
    EXPECT_LE(glint - first.at(44).tick, 1);
    for (size_t i = 0; i < 7; ++i) {
        const FrameStep& step = sparkle->steps[i];
        EXPECT_EQ(step.tick - glint, static_cast<int>(10 * i)) << "glint " << i;
        EXPECT_EQ(step.window, i % 2 == 0 ? (RectI{SIGN_X + 62, SIGN_Y + 38, 41, 36})
                                          : (RectI{SIGN_X - 18, SIGN_Y + 8, 56, 49}))
            << "glint " << i;
    }
    EXPECT_EQ(sparkle->closedTick - glint, 70);
    EXPECT_LT(sparkle->closedTick, walk->closedTick);
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(lastLaunchTime, clock.Now());
}

TEST_F(WalkerScriptTest, PlacardStrollStopsBelowTheSignThenVanishesAtTheTargetsEdge) {
    ClockWithNextDraws({false});
    WalkStage stage;
    const int targetLeft = SIGN_X + SIGN_WIDTH;

    const auto traces = RecordWalks(stage, 1000);
    ASSERT_EQ(traces.size(), 1u);
    const ActorTrace& walk = traces[0];
    ASSERT_EQ(walk.script, Script::Placard);

    // 23 of frame 1's 50 columns show on the first step; it stops on the sign's own x.
    EXPECT_EQ(walk.steps[0].window, (RectI{-27, 472, 50, 70}));
    ExpectWalkIn(walk, -44, SIGN_X, 58);

    // Frame 4 stands 10 ticks, 9 holds the placard up for 20, the others stay 5.
    ExpectTicksAfterStanding(walk, {{5, 10}, {6, 15}, {7, 20}, {8, 25}, {9, 30}, {10, 50}});
    ExpectNoJitterWhileStanding(walk);
    const int standing = walk.FirstSteps().at(4).tick;
    const size_t on = 65;  // 59 steps in, then frames 5 to 10
    // The walk on starts in place with frame 0 at 55 ticks; tested before each step, it
    // passes the limit (target left - 67) by 5 pixels, and the next step puts it back for
    // the vanishing frames 11 to 14, cut off on the target's left edge.
    ASSERT_EQ(walk.steps.size(), on + 15);
    for (size_t i = 0; i < 15; ++i) {
        const FrameStep& step = walk.steps[on + i];
        SCOPED_TRACE(testing::Message() << "walking on, step " << i);
        EXPECT_EQ(step.frame, static_cast<int32_t>(i > 10 ? i : i % 4));
        EXPECT_EQ(step.origin.x,
                  i > 10 ? targetLeft - 67.0 : SIGN_X + 6.0 * static_cast<double>(i));
        EXPECT_EQ(step.tick - standing, i == 0 ? 55 : 57 + 3 * static_cast<int>(i));
        if (i >= 10) {
            EXPECT_EQ(Right(step.frameRect), targetLeft + (i == 10 ? 5 : 0));
        }
    }
    EXPECT_EQ(walk.closedTick, walk.steps.back().tick + 3);
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(lastLaunchTime, clock.Now());
}

// A frame whose picture failed to load takes its turn unseen, the last picture staying for
// its ticks; the figure plays on and ends on the tick it would with every picture, also when
// no frame of its walk out has one and its window never moves.
TEST_F(WalkerScriptTest, FramesWithoutTheirPicturesTakeTheirTurnsAndTheFigurePlaysOn) {
    // The frames without pictures, when the first shows and when the figure closes, in ticks
    // after frame 4.
    const struct {
        Script script;
        int32_t first, last;
        int shown, closed;
    } cases[] = {{Script::Placard, 7, 7, 20, 102}, {Script::LadderVisit, 51, 54, 219, 423}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "frames " << c.first << " to " << c.last);
        ResetScheduler();
        ClockWithNextDraws({c.script == Script::LadderVisit});
        WalkStage stage;
        const auto walk = RecordWalks(stage, 1500, [&](int) {
            for (int32_t frame = c.first; FigureOut(c.script) && frame <= c.last; ++frame) {
                FigureOut(c.script)->FrameAt(frame)->Unload();
            }
        }).at(0);
        const auto first = walk.FirstSteps();
        ExpectTicksAfterStanding(walk, {{c.first, c.shown}});
        EXPECT_EQ(first.at(c.first).window, first.at(c.first - 1).window);
        EXPECT_EQ(walk.closedTick - first.at(4).tick, c.closed);
        EXPECT_EQ(busySign, nullptr);
    }
}

// Cut short between the face change's begin (frame 21) and commit (28) the posted cancel
// puts the old face back, after the commit the new face stays; a ladder visit cut short
// after frame 44 leaves its sparkle to run to its own end.
TEST_F(WalkerScriptTest, FigureCutShortLeavesTheFaceItReachedAndItsSparkle) {
    const struct {
        Script script;
        int32_t closeAt, stateRightAfterClose, finalState, face;
    } cases[] = {
        {Script::SignChange, 24, SIGN_CHANGING, SIGN_OLD_FACE, SIGN_OLD_FACE_BITMAP},
        {Script::SignChange, 30, SIGN_NEW_FACE, SIGN_NEW_FACE, SIGN_NEW_FACE_BITMAP},
        {Script::LadderVisit, 43, SIGN_NEW_FACE, SIGN_NEW_FACE, SIGN_NEW_FACE_BITMAP},
        {Script::LadderVisit, 46, SIGN_NEW_FACE, SIGN_NEW_FACE, SIGN_NEW_FACE_BITMAP},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "closed on frame " << c.closeAt);
        ResetScheduler();
        if (c.script == Script::SignChange) {
            ClockInFaceChangeSeason();
        } else {
            ClockWithNextDraws({true});
        }
        WalkStage stage;
        int32_t stateRightAfterClose = 0;
        int closedTick = 0;
        const auto traces = RecordWalks(stage, 1000, [&](int tick) {
            Actor* walker = FigureOut(c.script);
            if (walker && walker->Current() == c.closeAt) {
                clock.Advance(5);  // the end, not the launch, is stamped
                DestroyWindow(walker->Window());
                stateRightAfterClose = stage.Sign()->State();
                closedTick = tick;
            }
        });
        EXPECT_EQ(stateRightAfterClose, c.stateRightAfterClose);
        ExpectSignLeftWith(stage, c.finalState, c.face);
        const ActorTrace* sparkle = FindTrace(traces, Script::Sparkle);
        ASSERT_EQ(sparkle != nullptr, c.closeAt == 46);
        if (sparkle) {
            EXPECT_EQ(sparkle->steps.size(), 7u);
            EXPECT_EQ(sparkle->closedTick - sparkle->steps[0].tick, 70);
            EXPECT_GT(sparkle->closedTick, closedTick);
        }
    }
}
}  // namespace
