// Clicks on the running program's sign and figures, as a user makes them, reach the shell
// with the sponsor's page; the browser is a recorder in the test's Wine prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "e2e/support/BrowserRecorder.h"
#include "e2e/support/DesktopProbe.h"
#include "e2e/support/SpriteWatch.h"

namespace {
constexpr DWORD ARRIVAL_MS = 3000;
// The shell starts Wine's browser launcher, which starts the recorder: give it time.
constexpr DWORD BROWSER_MS = 10000;
constexpr DWORD QUIET_MS = 1500;

bool IsSponsorPage(const std::string& page) {
    const std::string path = "/desktop/";
    return page.rfind("http://", 0) == 0 && page.size() > path.size() &&
           page.compare(page.size() - path.size(), path.size(), path) == 0;
}

TEST(SponsorPage, ClicksOnTheFigureAndOnTheSignsFaceOpenItButNotOnTheSignsCorner) {
    BrowserRecorder browser;
    ASSERT_TRUE(browser.Ready());
    ProgramProcess program;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    ProgramProcess sample;
    const HWND target = StartSample(sample, "Click sample", 360, 150, 400, 300);
    ASSERT_NE(target, nullptr);
    HWND figure = nullptr;
    ASSERT_TRUE(WaitUntil(ARRIVAL_MS, [&] {
        figure = VisibleFigure(mainWindow);
        return figure && RectOf(figure).right > 60;
    }));

    // Aim at the part already on the screen. The window stands over the last two frames, so
    // it moves only one step while the click is on its way.
    const RECT walking = RectOf(figure);
    const DWORD clicked = GetTickCount();
    ClickAt((std::max(walking.left, 0L) + walking.right) / 2, (walking.top + walking.bottom) / 2);
    ASSERT_TRUE(WaitUntil(BROWSER_MS, [&] { return browser.Pages().size() == 1; }));
    std::printf("page opened %lu ms after the click\n", GetTickCount() - clicked);
    EXPECT_TRUE(IsSponsorPage(browser.Pages().front())) << browser.Pages().front();
    EXPECT_EQ(GetForegroundWindow(), figure);
    EXPECT_TRUE(IsWindow(figure)) << "the clicked figure walks on";

    const HWND sign = SignsOf(target).front();
    const RECT signRect = RectOf(sign);
    ClickAt(signRect.left + 50, signRect.top + SIGN_HEIGHT / 2);
    ASSERT_TRUE(WaitUntil(BROWSER_MS, [&] { return browser.Pages().size() == 2; }));
    EXPECT_EQ(browser.Pages()[1], browser.Pages()[0]);
    EXPECT_EQ(GetForegroundWindow(), sign);
    EXPECT_TRUE(IsWindow(figure)) << "the figure walks on while its sign is in front";

    // The round sign's square corner is not part of it: the click goes to the desktop.
    const POINT corner = {2, SIGN_HEIGHT - 3};
    const OwnedRegion shape = WindowShape(sign);
    ASSERT_NE(shape, nullptr);
    ASSERT_FALSE(PtInRegion(shape.get(), corner.x, corner.y));
    ClickAt(signRect.left + corner.x, signRect.top + corner.y);
    Sleep(QUIET_MS);
    EXPECT_EQ(browser.Pages().size(), 2u);
    ASSERT_TRUE(CloseProgram(program, mainWindow));
}
}  // namespace
