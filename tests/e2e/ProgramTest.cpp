// The real program on the suite's desktop, watched and driven from another process: start-up
// and shutdown, a sign beside a window, a figure walking in, clicks reaching the browser and
// the tray.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "e2e/support/Desktop.h"

namespace {
// Closed from outside in mid-walk, the program takes the figure and the sign along.
TEST(Program, SignHangsBesideTheWindowAndAFigureWalksInToIt) {
    SignAndWalk run;
    ASSERT_NO_FATAL_FAILURE(run.Run(1));
    Process second;
    DWORD exitCode = 99;
    ASSERT_TRUE(second.Start("Tarvolen.exe"));
    ASSERT_TRUE(second.Ended(STARTUP_MS, exitCode));
    EXPECT_EQ(exitCode, 0u) << "a second copy leaves at once";
    EXPECT_EQ(FindWindowA("TARVOLENV10", "Tarvolen"), run.mainWindow);
    EXPECT_FALSE(GetWindowLongA(run.sign, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongA(run.figure, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetForegroundWindow(), run.target) << "neither sign nor figure takes the activation";
    ASSERT_TRUE(IsWindow(run.figure));
    ASSERT_TRUE(CloseProgram(run.program, run.mainWindow));
    EXPECT_EQ(FindWindowExA(nullptr, nullptr, "TarvolenStrollkin", nullptr), nullptr);
    EXPECT_TRUE(IsWindow(run.target));
}

// Far right, the sign's figure walks in for many seconds, through every click, until its
// window moves. The sign follows its window and goes with it.
TEST(Program, ClicksOnTheSignsFaceAndOnAFigureOpenTheSponsorsPageAndTheSignFollowsItsWindow) {
    BrowserRecorder browser;
    Process program, sample;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    const HWND target = StartSample(sample, "Click sample", 760, 150, 250, 300);
    ASSERT_NE(target, nullptr);
    HWND figure = nullptr;
    ASSERT_TRUE(WaitUntil(ARRIVAL_MS, [&] {
        figure = VisibleFigure(mainWindow);
        return figure && RectOf(figure).right > 60;
    }));
    const HWND sign = SpritesOwnedBy(target).front();
    const RECT signRect = RectOf(sign);
    ClickAt(signRect.left + 50, signRect.top + SIGN_HEIGHT / 2);
    ASSERT_TRUE(WaitUntil(10000, [&] { return browser.Pages().size() == 1; }));
    const std::string page = browser.Pages()[0];
    EXPECT_EQ(page, "http://www.tarvolen.example/desktop/");
    EXPECT_EQ(GetForegroundWindow(), sign);
    EXPECT_TRUE(IsWindow(figure)) << "the figure walks on while its sign is in front";

    // Near its right edge, the window shows the newest frame for several more steps.
    const RECT walking = RectOf(figure);
    ClickAt(walking.right - 10, (walking.top + walking.bottom) / 2);
    ASSERT_TRUE(WaitUntil(10000, [&] { return browser.Pages().size() == 2; }));
    EXPECT_EQ(browser.Pages()[1], page);
    EXPECT_EQ(GetForegroundWindow(), figure);

    SetForegroundWindow(target);
    SetWindowPos(target, nullptr, 700, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil(1500, [&] { return !IsWindow(figure); }));
    EXPECT_TRUE(WaitUntil(ARRIVAL_MS, [&] { return SignShownAt(sign, 700 - SIGN_WIDTH, 260); }));
    // The round sign's square corner is not part of it: the click goes to the desktop.
    ClickAt(700 - SIGN_WIDTH + 2, 260 + SIGN_HEIGHT - 3);
    Sleep(1500);
    EXPECT_EQ(browser.Pages().size(), 2u);
    PostMessageA(target, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil(ARRIVAL_MS, [&] { return !IsWindow(sign); }));
    ASSERT_TRUE(CloseProgram(program, mainWindow));
}

// The program's visible top-level windows of a class, its menu (#32768) or dialogs (#32770),
// once there is one or the time is up.
std::vector<HWND> WindowsOf(const Process& program, const char* className, DWORD timeoutMs = 0) {
    std::vector<HWND> found;
    WaitUntil(timeoutMs, [&] {
        found.clear();
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, className, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == program.Id() && IsWindowVisible(w)) {
                found.push_back(w);
            }
        }
        return !found.empty();
    });
    return found;
}

HWND WindowOf(const Process& program, const char* className, DWORD timeoutMs) {
    const std::vector<HWND> found = WindowsOf(program, className, timeoutMs);
    return found.empty() ? nullptr : found[0];
}

// Right-clicks the icon as the taskbar would report it, and picks menu items with keys.
HWND Choose(const Process& program, HWND mainWindow, std::initializer_list<WPARAM> keys) {
    PostMessageA(mainWindow, WM_USER + 4, 0, WM_RBUTTONUP);
    const HWND menu = WindowOf(program, "#32768", 5000);
    for (WPARAM key : keys) {
        PostMessageA(menu, WM_KEYDOWN, key, 0);
        PostMessageA(menu, WM_KEYUP, key, 0);
    }
    return menu;
}

TEST(Program, TrayMenuAtTheMouseOpensOneAboutAndExitEndsTheProgramWithItsIcon) {
    Process program;
    const HWND mainWindow = StartProgram(program);
    ASSERT_TRUE(WaitUntil(5000, [&] { return TaskbarHolds(mainWindow); }));

    ASSERT_TRUE(SetCursorPos(700, 600));
    const HWND menu = Choose(program, mainWindow, {VK_DOWN, VK_RETURN});
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(RectOf(menu).right, 700);
    EXPECT_EQ(RectOf(menu).bottom, 600);
    const HWND about = WindowOf(program, "#32770", 5000);
    ASSERT_NE(about, nullptr);
    const RECT area = RectOf(about);
    EXPECT_EQ(area.left, (1024 - (area.right - area.left)) / 2);
    EXPECT_EQ(area.top, (768 - (area.bottom - area.top)) / 2);
    ASSERT_NE(Choose(program, mainWindow, {VK_DOWN, VK_RETURN}), nullptr);
    Sleep(500);
    EXPECT_EQ(WindowsOf(program, "#32770"), std::vector<HWND>{about}) << "a second About";
    // Closed, it opens again.
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil(5000, [&] { return !IsWindow(about); }));
    ASSERT_NE(Choose(program, mainWindow, {VK_DOWN, VK_RETURN}), nullptr);
    EXPECT_NE(WindowOf(program, "#32770", 5000), nullptr) << "About opens nothing again";

    // A restarted taskbar comes up empty and asks every program for its icons again.
    TaskbarHolds(mainWindow, NIM_DELETE);
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil(5000, [&] { return TaskbarHolds(mainWindow); }));

    ASSERT_NE(Choose(program, mainWindow, {VK_DOWN, VK_DOWN, VK_RETURN}), nullptr);
    DWORD exitCode = 99;
    ASSERT_TRUE(program.Ended(STARTUP_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(TaskbarHolds(mainWindow));
}
}  // namespace
