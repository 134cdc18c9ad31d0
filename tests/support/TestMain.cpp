// Brings up the program's classes and hidden main window once per test binary. The tick
// timer is stopped: tests drive the ticks themselves.
#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace {
class ProgramEnvironment : public testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(StartProgramHere()); }
    void TearDown() override { StopProgramHere(); }
};
}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new ProgramEnvironment);
    return RUN_ALL_TESTS();
}
