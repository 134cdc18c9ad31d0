// Brings up the program's classes and hidden main window once per test binary. The tick
// timer is stopped: tests drive the ticks themselves.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/TestSupport.h"

namespace {
class ProgramEnvironment : public testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(StartProgramHere()); }
    void TearDown() override { StopProgramHere(); }
};

// A crash fails the run: Wine's own handler would start its debugger, and the process could
// end with code 0.
LONG WINAPI FailOnCrash(EXCEPTION_POINTERS* crash) {
    std::printf("crashed: exception %08lX at %p\n", crash->ExceptionRecord->ExceptionCode,
                crash->ExceptionRecord->ExceptionAddress);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
}  // namespace

int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(FailOnCrash);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new ProgramEnvironment);
    return RUN_ALL_TESTS();
}
