// The running program on two real monitors as tools/with-monitors.sh lays them out: the
// primary at 0..1024 and its neighbour at -1024..0. A figure comes in over the left edge of
// its sign's own monitor and never shows on the other one, and ends when its monitor is
// switched off under it.
#include <algorithm>
#include <climits>
#include <functional>
#include <numeric>
#include <string>

#include "e2e/support/Desktop.h"

namespace {
constexpr RECT LEFT_MONITOR = {-1024, 0, 0, 768};
constexpr RECT RIGHT_MONITOR = {0, 0, 1024, 768};
constexpr int TOP = 150;
// The sign 138 pixels right of its monitor's edge, so that a figure comes in soon.
constexpr int INDENT = 260;

// The leftmost screen column the window can show, from its rectangle and its shape read
// together (the rectangle before and after the shape, again while it moved in between);
// INT_MAX while it shows nothing.
int LeftmostShown(HWND window) {
    for (;;) {
        RECT before = {}, after = {}, box = {};
        if (!IsWindowVisible(window) || !GetWindowRect(window, &before)) {
            return INT_MAX;
        }
        const int kind = GetWindowRgnBox(window, &box);
        if (!GetWindowRect(window, &after)) {
            return INT_MAX;
        }
        if (EqualRect(&before, &after)) {
            return kind == NULLREGION
                       ? INT_MAX
                       : int(before.left + (kind == ERROR ? 0 : std::max(box.left, 0L)));
        }
    }
}

// Starts a program of the X side, as the user's own tools would run it. Wine cannot wait
// for it: what it did shows in what the desktop answers.
bool StartOnX(std::string command) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    const bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &info);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return started;
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM layout) {
    reinterpret_cast<std::vector<RECT>*>(layout)->push_back(*rect);
    return TRUE;
}

std::vector<RECT> Monitors() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

struct MonitorCase {
    const char* title;
    RECT own;
    // Whether the monitor is switched off under the walking figure at the end.
    bool switchedOff;
};

class TwoMonitors : public testing::TestWithParam<MonitorCase> {};

TEST_P(TwoMonitors, FigureComesInOverItsOwnMonitorsEdgeAndNeverShowsOnTheOther) {
    const MonitorCase& where = GetParam();
    const std::vector<RECT> monitors = Monitors();
    ASSERT_EQ(monitors.size(), 2u) << "run inside tools/with-monitors.sh";
    ASSERT_TRUE(EqualRect(&monitors[0], &RIGHT_MONITOR) && EqualRect(&monitors[1], &LEFT_MONITOR));
    Process program, sample;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);

    // Figures walk below their signs: from the sign's top down, left of it.
    const RECT edgeBand = {where.own.left, TOP, where.own.left + INDENT - SIGN_WIDTH,
                           where.own.bottom};
    const std::vector<uint32_t> edgeBefore = ScreenPixels(edgeBand);
    const int left = where.own.left + INDENT;
    const HWND target = StartSample(sample, where.title, left, TOP, 400, 300);
    ASSERT_NE(target, nullptr);

    // From before the figure comes until it stands wholly on its monitor; its window and
    // shape are read without a pause between the screen reads, so between its moves too.
    HWND figure = nullptr;
    RECT firstSeen = {};
    int shownAtTheEdge = 0, leftmost = INT_MAX, polls = 0;
    const bool entered = WaitUntil(8000, [&] {
        if (!figure && (figure = VisibleFigure(mainWindow))) {
            firstSeen = RectOf(figure);
        }
        if (!figure || !IsWindow(figure)) {
            return false;
        }
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 20; ++polls) {
            leftmost = std::min(leftmost, LeftmostShown(figure));
        }
        if (RectOf(figure).left < where.own.left) {
            const std::vector<uint32_t> now = ScreenPixels(edgeBand);
            shownAtTheEdge = std::max(
                shownAtTheEdge, int(std::inner_product(now.begin(), now.end(), edgeBefore.begin(),
                                                       0, std::plus<>(), std::not_equal_to<>())));
        }
        return RectOf(figure).left >= where.own.left;
    });
    ASSERT_NE(figure, nullptr) << "no figure came";
    EXPECT_TRUE(entered) << "the figure did not come onto its monitor";
    EXPECT_TRUE(SignShownAt(SpritesOwnedBy(target).front(), left - SIGN_WIDTH, TOP));
    // Frames are at most 185 pixels wide.
    EXPECT_TRUE(firstSeen.left < where.own.left && firstSeen.right > where.own.left &&
                firstSeen.left > where.own.left - 185)
        << firstSeen.left << ".." << firstSeen.right;
    EXPECT_GT(shownAtTheEdge, 100) << "the figure must show while it crosses the edge";
    EXPECT_GE(leftmost, where.own.left) << "the figure's window reached the other monitor";
    EXPECT_GT(polls, 100);
    if (where.switchedOff) {
        // The user switches this monitor, X's DUMMY0, off under the walking figure: it ends,
        // and the program goes on.
        ASSERT_TRUE(StartOnX("/usr/bin/xrandr --output DUMMY0 --off"));
        ASSERT_TRUE(WaitUntil(5000, [] { return Monitors().size() == 1; })) << "xrandr failed";
        EXPECT_TRUE(WaitUntil(3000, [&] { return !IsWindow(figure); })) << "the figure walked on";
        EXPECT_TRUE(program.Running());
    }
    ASSERT_TRUE(CloseProgram(program, mainWindow));
    EXPECT_TRUE(SpritesOwnedBy(target).empty());
}

INSTANTIATE_TEST_SUITE_P(SignOnEachMonitor, TwoMonitors,
                         testing::Values(MonitorCase{"Right monitor sample", RIGHT_MONITOR, false},
                                         MonitorCase{"Left monitor sample", LEFT_MONITOR, true}),
                         [](const auto& info) {
                             return info.param.switchedOff ? "Left" : "Right";
                         });
}  // namespace
