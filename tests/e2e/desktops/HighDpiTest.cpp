// The running program at 200 %, in a prefix set to 192 DPI by tools/with-dpi.sh: it draws its
// sign and figures at twice their size itself, crisply, never showing its transparent colour.
#include "e2e/support/Desktop.h"

namespace {
TEST(HighDpi, SignAndFigureShowAtTwiceTheSizeAndTheFigureStepsTwiceAsFar) {
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 192) << "run inside tools/with-dpi.sh 192";
    ReleaseDC(nullptr, screen);
    SignAndWalk run;
    ASSERT_NO_FATAL_FAILURE(run.Run(2));
    ASSERT_TRUE(CloseProgram(run.program, run.mainWindow));
}
}  // namespace
