// Hundreds of complete walks, every script and the sparkle, with the clock hurried along
// between them: nothing the figures create outlives them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/ApiCounter.h"
#include "support/WalkStage.h"

TEST(WalkLeakTest, CompleteWalksLeaveNoGdiObjectOrRegistryEntryBehind) {
    // The first figure changes the old face; after it the scripts are drawn.
    FakeClock clock(LocalTime(2001, 10, 15));
    srand(1234);
    const int liveAtStart = LiveGdiObjects();
    std::map<Script, int> walks;
    {
        // At the left screen edge the walks in and out are short.
        WalkStage stage(0, 250);
        const int liveWithSign = LiveGdiObjects();
        for (int i = 0; i < 200; ++i) {
            for (const ActorTrace& trace : RecordWalks(stage, 1000)) {
                ASSERT_NE(trace.closedTick, 0) << "walk " << i;
                ++walks[trace.script];
            }
            ASSERT_EQ(handleRegistry.Size(), 1u) << "walk " << i;
            ASSERT_EQ(LiveGdiObjects(), liveWithSign) << "walk " << i;
            clock.Advance(10);
        }
    }
    EXPECT_EQ(walks[Script::SignChange], 1);
    EXPECT_GT(walks[Script::LadderVisit], 30);
    EXPECT_EQ(walks[Script::Sparkle], walks[Script::LadderVisit]);
    EXPECT_GT(walks[Script::Placard], 100);
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(LiveGdiObjects(), liveAtStart);
}
