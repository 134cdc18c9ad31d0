// The three walks and the sparkle, played through the main tick with the real frames beside a
// real sign, at 100 % and 200 % and with window frames drawn inside their rectangles as on
// Windows 10: where each frame shows, for how long, what the sign does meanwhile, and how a
// figure cut short leaves the sign. Every length grows with the scale; no time does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "actors/Scheduler.h"
#include "support/TestBitmaps.h"
#include "support/WalkStage.h"

namespace {
// The sign hangs here at every scale; every figure's origin stays 2 pixels (a scale) above it.
constexpr int SIGN_X = 300;
constexpr int SIGN_Y = 250;

int Right(const RectI& rect) {
    return rect.x + rect.width;
}

class WalkerScriptTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override { ResetScheduler(); }
    void TearDown() override {
        stage.reset();
        ResetScheduler();
    }

    // Signs made before 4 November 2001 show the old face, which is due for a change; later
    // signs show the new face and get the scripts the draws pick.
    std::vector<ActorTrace> Walk(bool faceChange, const std::vector<bool>& ladderDraws,
                                 const std::function<void(int)>& afterTick = {}) {
        ResetScheduler();
        clock.Set(faceChange ? LocalTime(2001, 10, 15) : LocalTime(2005, 6, 1));
        srand(SeedForLadderDraws(ladderDraws));
        stage.emplace(SIGN_X, SIGN_Y, s, 7 * s);
        EXPECT_EQ(stage->Sign()->PlacedPosition(), (PointD{SIGN_X, SIGN_Y}));
        return RecordWalks(*stage, 1500, afterTick);
    }

    // The walk in: frames 1, 2, 3, 0, ... 6 pixels and 3 ticks a step from firstX while short
    // of stopX; the next step shows frame 4 exactly on stopX. The number of steps walked.
    size_t ExpectWalkIn(const ActorTrace& trace, double firstX, double stopX) {
        size_t i = 0;
        for (; i < trace.steps.size() && trace.steps[i].frame != 4; ++i) {
            const FrameStep& step = trace.steps[i];
            EXPECT_EQ(step.frame, int32_t((i + 1) % 4)) << "walking step " << i;
            EXPECT_EQ(step.origin, (PointD{firstX + 6.0 * s * double(i), originY}));
            EXPECT_EQ(step.tick - trace.steps[0].tick, int(3 * i));
        }
        EXPECT_LT(trace.steps.at(i - 1).origin.x, stopX);
        EXPECT_EQ(trace.steps.at(i).origin, (PointD{stopX, originY}));
        EXPECT_EQ(trace.steps[i].tick - trace.steps[i - 1].tick, 3);
        return i;
    }

    // Ticks from frame 4 to the first showing of each frame, which add up, so a wrong
    // countdown anywhere before shows at the next point; while the figure stands, a pose that
    // comes back or lasts several frames never jitters. Then the walk out from outFrame on:
    // 6 pixels a step while the window still reached into the screen, then one frame in
    // place, then the window closes on the next frame step. No walk out for outFrame -1.
    void ExpectActAndWalkOut(const ActorTrace& trace, const std::map<int32_t, int>& points,
                             int32_t outFrame) {
        const auto first = trace.FirstSteps();
        for (const auto& [frame, ticks] : points) {
            EXPECT_EQ(first.at(frame).tick - first.at(4).tick, ticks) << "frame " << frame;
        }
        std::map<std::pair<int32_t, int32_t>, RectI> placeOfSize;
        size_t out = 0;
        for (size_t i = 0; i < trace.steps.size(); ++i) {
            const FrameStep& step = trace.steps[i];
            if (step.origin == first.at(4).origin) {
                const auto size = std::pair{step.frameRect.width, step.frameRect.height};
                EXPECT_EQ(step.frameRect, placeOfSize.emplace(size, step.frameRect).first->second)
                    << "frame " << step.frame;
            }
            out = step.frame == outFrame && out == 0 ? i : out;
        }
        if (outFrame < 0) {
            return;
        }
        ASSERT_GT(out, 0u);
        double x = first.at(4).origin.x;
        for (size_t i = out; i < trace.steps.size(); ++i) {
            const bool last = i + 1 == trace.steps.size();
            SCOPED_TRACE(testing::Message() << "walking out, step " << i - out);
            EXPECT_EQ(trace.steps[i].frame, outFrame + int32_t((i - out) % 4));
            EXPECT_EQ(Right(trace.steps[i - 1].window) > 0, !last);
            x -= last ? 0.0 : 6.0 * s;
            EXPECT_EQ(trace.steps[i].origin, (PointD{x, originY}));
        }
        EXPECT_EQ(trace.closedTick, trace.steps.back().tick + 3);
    }

    // Once the figure has gone: the sign in this state, shape and face, the middle of the face
    // on the screen too, and the scheduler free since now.
    void ExpectSignLeftWith(int32_t state, int faceId) {
        PumpMessages();
        EXPECT_EQ(stage->Sign()->State(), state);
        EXPECT_EQ(stage->Sign()->ResourceId(), faceId);
        EXPECT_TRUE(WindowHasShape(stage->Sign()->Window(), SIGN_SHAPE_REGION, s));
        HBITMAP face = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(faceId));
        const std::vector<uint32_t> want = PixelsOf(face),
                                    got =
                                        ScreenPixels({SIGN_X, SIGN_Y, frameLeft, SIGN_Y + 98 * s});
        DeleteObject(face);
        int wrong = 0;
        for (int y = 20 * s; y < 80 * s; ++y) {
            for (int x = 20 * s; x < 80 * s; ++x) {
                wrong += got[y * 122 * s + x] != want[y / s * 122 + x / s];
            }
        }
        EXPECT_LT(wrong, 180 * s * s);
        EXPECT_EQ(busySign, nullptr);
        EXPECT_EQ(lastLaunchTime, clock.Now());
    }

    const int s = GetParam();
    const double originY = SIGN_Y - 2.0 * s;
    // The target's frame as drawn, where the sign's bracket touches it.
    const int frameLeft = SIGN_X + 122 * s;
    FakeClock clock{LocalTime(2005, 6, 1)};
    FakeMonitors monitors{{{{0, 0, 1024, 768}, UINT(96 * s)}}};
    FakeFrames frames{7 * s};
    std::optional<WalkStage> stage;
};

TEST_P(WalkerScriptTest, SignChangeWalksToTheSignSwapsItsFaceAndWalksOut) {
    // The frames with an outline of their own, and whether the window had it meanwhile.
    std::map<int32_t, int> regions = {{22, 5003}, {23, 5004}, {24, 5005}, {25, 5006}, {26, 5007},
                                      {29, 5008}, {30, 5009}, {37, 5009}, {38, 5010}, {39, 5011}};
    std::map<int32_t, bool> shaped;
    const auto traces = Walk(true, {}, [&](int) {
        Actor* walker = FigureOut(Script::SignChange);
        if (walker && regions.count(walker->Current())) {
            shaped[walker->Current()] =
                WindowHasShape(walker->Window(), regions[walker->Current()], s);
        }
    });
    ASSERT_EQ(traces.size(), 1u);
    const ActorTrace& walk = traces[0];
    ASSERT_EQ(walk.script, Script::SignChange);

    // One step in from one frame width (185) beyond the left edge; the ladder stands 88
    // pixels left of the sign.
    EXPECT_EQ(walk.steps[0].window, (RectI{-179 * s, SIGN_Y + 201 * s, 185 * s, 70 * s}));
    ExpectWalkIn(walk, -179 * s, SIGN_X - 88 * s);
    // Frame 5 pauses 10 ticks, the others 4: the face change begins with frame 21, commits
    // with 28, and the walk out starts with 43.
    ExpectActAndWalkOut(walk, {{5, 3}, {6, 13}, {20, 69}, {21, 73}, {28, 101}, {43, 161}}, 43);

    // The sign has changed state before the frame that needs it shows; the work on the face
    // is drawn exactly over it.
    const auto first = walk.FirstSteps();
    EXPECT_EQ(first.at(20).signState, SIGN_OLD_FACE);
    for (int32_t frame = 21; frame <= 28; ++frame) {
        EXPECT_EQ(first.at(frame).signState, frame < 28 ? SIGN_CHANGING : SIGN_NEW_FACE);
        EXPECT_EQ(first.at(frame).frameRect, (RectI{SIGN_X, SIGN_Y, 98 * s, 264 * s}));
    }
    for (const auto& [frame, region] : regions) {
        EXPECT_TRUE(shaped[frame]) << "frame " << frame << ", region " << region;
    }
    // The new face, not a stale old one, once the figure has gone.
    ExpectSignLeftWith(SIGN_NEW_FACE, SIGN_NEW_FACE_BITMAP);
}

TEST_P(WalkerScriptTest, LadderVisitPolishesTheSignAndLeavesASparkle) {
    const auto traces = Walk(false, {true});
    ASSERT_EQ(traces.size(), 2u);
    const ActorTrace* walk = FindTrace(traces, Script::LadderVisit);
    const ActorTrace* sparkle = FindTrace(traces, Script::Sparkle);
    ASSERT_TRUE(walk && sparkle);

    // Frame 0 is 183 wide.
    EXPECT_EQ(walk->steps[0].window, (RectI{-177 * s, SIGN_Y + 203 * s, 183 * s, 70 * s}));
    ExpectWalkIn(*walk, -177 * s, SIGN_X - 88 * s);
    // The sparkle goes with frame 44 at 165 ticks, the long pause on 48 takes 30, the walk
    // out starts at 219.
    ExpectActAndWalkOut(*walk, {{5, 3}, {6, 13}, {44, 165}, {48, 181}, {49, 211}, {51, 219}}, 51);
    for (const FrameStep& step : walk->steps) {
        EXPECT_EQ(step.signState, SIGN_NEW_FACE);
    }

    // Lower right first, then upper left, seven glints half a second apart; it closes 70
    // ticks after the first, long before the walker.
    const int launched = walk->FirstSteps().at(44).tick;
    EXPECT_EQ(sparkle->firstSeenTick, launched);
    ASSERT_EQ(sparkle->steps.size(), 7u);
    const int glint = sparkle->steps[0].tick;
    EXPECT_LE(glint - launched, 1);
    for (size_t i = 0; i < 7; ++i) {
        const FrameStep& step = sparkle->steps[i];
        EXPECT_EQ(step.tick - glint, int(10 * i)) << "glint " << i;
        EXPECT_EQ(step.window, i % 2 == 0
                                   ? (RectI{SIGN_X + 62 * s, SIGN_Y + 38 * s, 41 * s, 36 * s})
                                   : (RectI{SIGN_X - 18 * s, SIGN_Y + 8 * s, 56 * s, 49 * s}))
            << "glint " << i;
    }
    EXPECT_EQ(sparkle->closedTick - glint, 70);
    EXPECT_LT(sparkle->closedTick, walk->closedTick);
}

// A frame whose picture failed to load (here frame 7) takes its turn unseen, the last picture
// staying for its ticks; the figure plays on to its end.
TEST_P(WalkerScriptTest, PlacardStrollStopsBelowTheSignThenVanishesAtTheTargetsFrame) {
    const auto traces = Walk(false, {false}, [](int) {
        if (Actor* walker = FigureOut(Script::Placard)) {
            walker->FrameAt(7)->Unload();
        }
    });
    ASSERT_EQ(traces.size(), 1u);
    const ActorTrace& walk = traces[0];
    ASSERT_EQ(walk.script, Script::Placard);

    // 23 of frame 1's 50 columns show on the first step; it stops on the sign's own x.
    EXPECT_EQ(walk.steps[0].window, (RectI{-27 * s, SIGN_Y + 222 * s, 50 * s, 70 * s}));
    const size_t on = ExpectWalkIn(walk, -44 * s, SIGN_X) + 7;  // then frames 4 to 10
    // Frame 4 stands 10 ticks, 9 holds the placard up for 20, the others stay 5.
    ExpectActAndWalkOut(walk, {{5, 10}, {6, 15}, {7, 20}, {8, 25}, {9, 30}, {10, 50}}, -1);
    const auto first = walk.FirstSteps();
    EXPECT_EQ(first.at(7).window, first.at(6).window);
    // The walk on starts in place with frame 0 at 55 ticks; tested before each step, it
    // passes the limit (67 pixels left of the frame) by 5, and the next step puts it back
    // for the vanishing frames 11 to 14, cut off on the target's frame.
    ASSERT_EQ(walk.steps.size(), on + 15);
    for (size_t i = 0; i < 15; ++i) {
        const FrameStep& step = walk.steps[on + i];
        SCOPED_TRACE(testing::Message() << "walking on, step " << i);
        EXPECT_EQ(step.frame, int32_t(i > 10 ? i : i % 4));
        EXPECT_EQ(step.origin.x, i > 10 ? frameLeft - 67.0 * s : SIGN_X + 6.0 * s * double(i));
        EXPECT_EQ(step.tick - first.at(4).tick, i == 0 ? 55 : 57 + 3 * int(i));
        if (i >= 10) {
            EXPECT_EQ(Right(step.frameRect), frameLeft + (i == 10 ? 5 * s : 0));
        }
    }
    EXPECT_EQ(walk.closedTick, walk.steps.back().tick + 3);
}

// A figure none of whose walk-out frames has a picture never moves its window, yet leaves on
// the tick it would with every picture.
TEST_P(WalkerScriptTest, FigureWithoutItsWalkOutPicturesLeavesOnTime) {
    const auto closing = [this](bool pictures) {
        const auto traces = Walk(false, {true}, [pictures](int) {
            for (int32_t frame = 51; !pictures && FigureOut(Script::LadderVisit) && frame <= 54;
                 ++frame) {
                FigureOut(Script::LadderVisit)->FrameAt(frame)->Unload();
            }
        });
        const ActorTrace* walk = FindTrace(traces, Script::LadderVisit);
        return walk ? walk->closedTick - walk->FirstSteps().at(4).tick : -1;
    };
    const int drawn = closing(true);
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(closing(false), drawn);
    EXPECT_EQ(busySign, nullptr);
}

// Cut short between the face change's begin (frame 21) and commit (28) the posted cancel
// puts the old face back, after the commit the new face stays; a ladder visit cut short
// after frame 44 leaves its sparkle to run to its own end.
TEST_P(WalkerScriptTest, FigureCutShortLeavesTheFaceItReachedAndItsSparkle) {
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
        int32_t stateRightAfterClose = 0;
        int closedTick = 0;
        const bool change = c.script == Script::SignChange;
        const auto traces = Walk(change, {!change}, [&](int tick) {
            Actor* walker = FigureOut(c.script);
            if (walker && walker->Current() == c.closeAt) {
                clock.Advance(5);  // the end, not the launch, is stamped
                DestroyWindow(walker->Window());
                stateRightAfterClose = stage->Sign()->State();
                closedTick = tick;
            }
        });
        EXPECT_EQ(stateRightAfterClose, c.stateRightAfterClose);
        ExpectSignLeftWith(c.finalState, c.face);
        const ActorTrace* sparkle = FindTrace(traces, Script::Sparkle);
        ASSERT_EQ(sparkle != nullptr, c.closeAt == 46);
        if (sparkle) {
            EXPECT_EQ(sparkle->steps.size(), 7u);
            EXPECT_EQ(sparkle->closedTick - sparkle->steps[0].tick, 70);
            EXPECT_GT(sparkle->closedTick, closedTick);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AtEachScale, WalkerScriptTest, testing::Values(1, 2));
}  // namespace
