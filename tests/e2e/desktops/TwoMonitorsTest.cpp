// The running program on two real monitors side by side, as tools/with-monitors.sh lays
// them out: the primary one at 0..1024 and its neighbour at -1024..0. A figure comes in
// over the left edge of its sign's own monitor, and never shows on the other one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "e2e/support/DesktopProbe.h"
#include "e2e/support/SpriteWatch.h"

namespace {
constexpr RECT LEFT_MONITOR = {-1024, 0, 0, 768};
constexpr RECT RIGHT_MONITOR = {0, 0, 1024, 768};
constexpr int TARGET_TOP = 150;
// A sign 138 pixels right of its monitor's edge, so that a figure comes in soon.
constexpr int TARGET_INDENT = 260;
// The widest frame a figure walks with is 185 pixels.
constexpr int WIDEST_FRAME = 185;
constexpr DWORD ARRIVAL_MS = 3000;
constexpr DWORD ENTRY_MS = 8000;
constexpr DWORD NO_FIGURE_MS = 1500;

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM layout) {
    *reinterpret_cast<std::string*>(layout) += Describe(*rect) + " ";
    return TRUE;
}

std::string MonitorLayout() {
    std::string layout;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&layout));
    return layout;
}

// Pixels of the screen inside an area that differ from an earlier look at it.
int ChangedPixels(const RECT& area, const PixelImage& before) {
    const PixelImage now = CaptureScreen(area);
    int changed = 0;
    for (size_t i = 0; i < now.pixels.size(); ++i) {
        changed += now.pixels[i] != before.pixels[i];
    }
    return changed;
}

struct MonitorCase {
    const char* title;
    RECT own;
    RECT other;
    // The window first stands where its sign sticks out over the monitor's left edge.
    bool firstOverTheEdge;
};

class TwoMonitors : public testing::TestWithParam<MonitorCase> {};

TEST_P(TwoMonitors, FigureComesInOverItsOwnMonitorsEdgeAndNeverShowsOnTheOther) {
    const MonitorCase& where = GetParam();
    ASSERT_EQ(MonitorLayout(), Describe(RIGHT_MONITOR) + " " + Describe(LEFT_MONITOR) + " ")
        << "run inside tools/with-monitors.sh";
    ProgramProcess program;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);

    // Figures walk below their signs: from the signs' top down, on each monitor.
    const RECT otherBand = {where.other.left, TARGET_TOP, where.other.right, where.other.bottom};
    const RECT edgeBand = {where.own.left, TARGET_TOP, where.own.left + TARGET_INDENT - SIGN_WIDTH,
                           where.own.bottom};
    const PixelImage otherBefore = CaptureScreen(otherBand);
    const PixelImage edgeBefore = CaptureScreen(edgeBand);

    const int left = where.own.left + TARGET_INDENT;
    ProgramProcess sample;
    const HWND target =
        StartSample(sample, where.title, where.firstOverTheEdge ? where.own.left + 60 : left,
                    TARGET_TOP, 400, 300);
    ASSERT_NE(target, nullptr);
    if (where.firstOverTheEdge) {
        ASSERT_TRUE(WaitUntil(ARRIVAL_MS, [&] {
            const std::vector<HWND> signs = SignsOf(target);
            return signs.size() == 1 &&
                   SignShownAt(signs.front(), where.own.left + 60 - SIGN_WIDTH, TARGET_TOP);
        }));
        Sleep(NO_FIGURE_MS);
        EXPECT_TRUE(FiguresOf(mainWindow).empty())
            << "a sign over its monitor's left edge gets no figure";
        SetWindowPos(target, nullptr, left, TARGET_TOP, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

    // From before the figure comes until it stands wholly on its monitor.
    HWND figure = nullptr;
    RECT firstSeen = {};
    int leaked = 0;
    int shownAtTheEdge = 0;
    const bool entered = WaitUntil(ENTRY_MS, [&] {
        leaked = std::max(leaked, ChangedPixels(otherBand, otherBefore));
        if (!figure && (figure = VisibleFigure(mainWindow)) != nullptr) {
            firstSeen = RectOf(figure);
        }
        if (!figure || !IsWindow(figure)) {
            return false;
        }
        const RECT now = RectOf(figure);
        if (now.left < where.own.left) {
            shownAtTheEdge = std::max(shownAtTheEdge, ChangedPixels(edgeBand, edgeBefore));
        }
        return now.left >= where.own.left;
    });
    ASSERT_NE(figure, nullptr) << "no figure came";
    std::printf("figure first seen at %s\n", Describe(firstSeen).c_str());
    EXPECT_TRUE(entered) << "the figure did not come onto its monitor";
    EXPECT_TRUE(SignShownAt(SignsOf(target).front(), left - SIGN_WIDTH, TARGET_TOP));
    EXPECT_LT(firstSeen.left, where.own.left) << "figures come in over the monitor's left edge";
    EXPECT_GT(firstSeen.right, where.own.left);
    EXPECT_GT(firstSeen.left, where.own.left - WIDEST_FRAME);
    EXPECT_GT(shownAtTheEdge, 100) << "the figure must show while it crosses the edge";
    EXPECT_EQ(leaked, 0) << "pixels of the figure showed on the other monitor";
    ASSERT_TRUE(CloseProgram(program, mainWindow));
}

INSTANTIATE_TEST_SUITE_P(
    SignOnEachMonitor, TwoMonitors,
    testing::Values(MonitorCase{"Left monitor sample", LEFT_MONITOR, RIGHT_MONITOR, true},
                    MonitorCase{"Right monitor sample", RIGHT_MONITOR, LEFT_MONITOR, false}),
    [](const testing::TestParamInfo<MonitorCase>& info) {
        return info.param.firstOverTheEdge ? "Left" : "Right";
    });
}  // namespace
