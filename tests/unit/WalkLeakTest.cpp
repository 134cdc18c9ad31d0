// Hundreds of complete walks, every script and the sparkle, with the clock hurried along
// between them: nothing the figures create outlives them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "actors/Scheduler.h"
#include "support/ApiCounter.h"
#include "support/WalkStage.h"

namespace {
TEST(WalkLeakTest, CompleteWalksLeaveNoGdiObjectOrRegistryEntryBehind) {
    // The first figure changes the old face; after it the scripts are drawn.
    FakeClock clock(LocalTime(2001, 10, 15));
    srand(1234);
    busySign = nullptr;
    lastLaunchTime = 0;
    const int liveAtStart = LiveGdiObjects();

    std::map<Script, int> walks;
    {
        // At the left screen edge the walks in and out are short.
        WalkStage stage(0, 250);
        const int liveWithSign = LiveGdiObjects();
        constexpr int WALKS = 200;
        for (int i = 0; i < WALKS; ++i) {
            WalkRecorder recorder(stage);
            recorder.Run(1000);
            ASSERT_FALSE(recorder.Traces().empty()) << "walk " << i;
            for (const ActorTrace& trace : recorder.Traces()) {
                ASSERT_NE(trace.closedTick, 0) << "walk " << i;
                ++walks[trace.script];
            }
            ASSERT_EQ(handleRegistry.Size(), 1u) << "walk " << i;
            ASSERT_EQ(LiveGdiObjects(), liveWithSign) << "walk " << i;
            clock.Advance(10);
        }
        EXPECT_EQ(walks[Script::SignChange], 1);
        EXPECT_GT(walks[Script::LadderVisit], 30);
        EXPECT_EQ(walks[Script::Sparkle], walks[Script::LadderVisit]);
        EXPECT_GT(walks[Script::Placard], 100);
        EXPECT_EQ(busySign, nullptr);
    }
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(LiveGdiObjects(), liveAtStart);
}
}  // namespace
