// Clicks on the running program's sign and figures, as a user makes them, reach the shell
// with the sponsor's page; the browser is a recorder in the test's Wine prefix.
#include <gtest/gtest.h>

#include <cstdio>

#include "e2e/support/BrowserRecorder.h"
#include "e2e/support/DesktopProbe.h"
#include "e2e/support/SpriteWatch.h"

namespace {
constexpr DWORD ARRIVAL_MS = 3000;
// The shell starts Wine's browser launcher, which starts the recorder: give it time.
constexpr DWORD BROWSER_MS = 10000;
constexpr DWORD QUIET_MS = 1500;
// Long enough for a figure that did reach the sign to finish there and walk away.
constexpr DWORD STAND_CLEAR_MS = 40000;
// Figures walk in at ground level and reach up over the sign only from their stop beside
// it; one whose window ends this far left of a spot is seconds of walking away from it.
constexpr LONG CLEAR_PIXELS = 120;

bool IsSponsorPage(const std::string& page) {
    const std::string path = "/desktop/";
    return page.rfind("http://", 0) == 0 && page.size() > path.size() &&
           page.compare(page.size() - path.size(), path.size(), path) == 0;
}

bool NoFigureNear(HWND mainWindow, POINT spot) {
    for (HWND figure : FiguresOf(mainWindow)) {
        if (IsWindowVisible(figure) && RectOf(figure).right > spot.x - CLEAR_PIXELS) {
            return false;
        }
    }
    return true;
}

TEST(SponsorPage, ClicksOnTheSignsFaceAndOnTheFigureOpenItButNotOnTheSignsCorner) {
    BrowserRecorder browser;
    ASSERT_TRUE(browser.Ready());
    ProgramProcess program;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    // The sign hangs far right: its figure walks in for many seconds, through every click.
    ProgramProcess sample;
    const HWND target = StartSample(sample, "Click sample", 760, 150, 250, 300);
    ASSERT_NE(target, nullptr);
    HWND figure = nullptr;
    ASSERT_TRUE(WaitUntil(ARRIVAL_MS, [&] {
        figure = VisibleFigure(mainWindow);
        return figure && RectOf(figure).right > 60;
    }));

    const HWND sign = SignsOf(target).front();
    const RECT signRect = RectOf(sign);
    const POINT face = {signRect.left + 50, signRect.top + SIGN_HEIGHT / 2};
    ASSERT_TRUE(WaitUntil(STAND_CLEAR_MS, [&] { return NoFigureNear(mainWindow, face); }));
    ClickAt(face.x, face.y);
    ASSERT_TRUE(WaitUntil(BROWSER_MS, [&] { return browser.Pages().size() == 1; }));
    EXPECT_TRUE(IsSponsorPage(browser.Pages().front())) << browser.Pages().front();
    EXPECT_EQ(GetForegroundWindow(), sign);
    EXPECT_TRUE(IsWindow(figure)) << "the figure walks on while its sign is in front";

    // The window spans the last two frames, the newer one on the right: a point near its
    // right edge stays inside the figure's frames for several more steps.
    const RECT walking = RectOf(figure);
    const DWORD clicked = GetTickCount();
    ClickAt(walking.right - 10, (walking.top + walking.bottom) / 2);
    ASSERT_TRUE(WaitUntil(BROWSER_MS, [&] { return browser.Pages().size() == 2; }));
    std::printf("page opened %lu ms after the click on the figure\n", GetTickCount() - clicked);
    EXPECT_EQ(browser.Pages()[1], browser.Pages()[0]);
    EXPECT_EQ(GetForegroundWindow(), figure);
    EXPECT_TRUE(IsWindow(figure)) << "the clicked figure walks on";

    // The round sign's square corner is not part of it: the click goes to the desktop, which
    // takes the foreground and so sends the figure away; hence this click comes last.
    const POINT corner = {2, SIGN_HEIGHT - 3};
    const OwnedRegion shape = WindowShape(sign);
    ASSERT_NE(shape, nullptr);
    ASSERT_FALSE(PtInRegion(shape.get(), corner.x, corner.y));
    const POINT cornerSpot = {signRect.left + corner.x, signRect.top + corner.y};
    ASSERT_TRUE(WaitUntil(STAND_CLEAR_MS, [&] { return NoFigureNear(mainWindow, cornerSpot); }));
    ClickAt(cornerSpot.x, cornerSpot.y);
    Sleep(QUIET_MS);
    EXPECT_EQ(browser.Pages().size(), 2u);
    ASSERT_TRUE(CloseProgram(program, mainWindow));
}
}  // namespace
