// The running program on two real monitors as tools/with-monitors.sh lays them out: the
// primary at 0..1024 and its neighbour at -1024..0. A figure comes in over the left edge of
// its sign's own monitor and never shows on the other one.
#include <algorithm>
#include <string>

#include "e2e/support/Desktop.h"

namespace {
constexpr RECT LEFT_MONITOR = {-1024, 0, 0, 768};
constexpr RECT RIGHT_MONITOR = {0, 0, 1024, 768};
constexpr int TOP = 150;
// The sign 138 pixels right of its monitor's edge, so that a figure comes in soon.
constexpr int INDENT = 260;

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM layout) {
    reinterpret_cast<std::vector<RECT>*>(layout)->push_back(*rect);
    return TRUE;
}

int ChangedPixels(const RECT& area, const Image& before) {
    const Image now = CaptureScreen(area);
    int changed = 0;
    for (size_t i = 0; i < now.pixels.size(); ++i) {
        changed += now.pixels[i] != before.pixels[i];
    }
    return changed;
}

struct MonitorCase {
    const char* title;
    RECT own, other;
    // The window first stands where its sign sticks out over the monitor's left edge.
    bool firstOverTheEdge;
};

class TwoMonitors : public testing::TestWithParam<MonitorCase> {};

TEST_P(TwoMonitors, FigureComesInOverItsOwnMonitorsEdgeAndNeverShowsOnTheOther) {
    const MonitorCase& where = GetParam();
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    ASSERT_EQ(monitors.size(), 2u) << "run inside tools/with-monitors.sh";
    ASSERT_TRUE(EqualRect(&monitors[0], &RIGHT_MONITOR) && EqualRect(&monitors[1], &LEFT_MONITOR));
    Process program, sample;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);

    // Figures walk below their signs: from the signs' top down, on each monitor.
    const RECT otherBand = {where.other.left, TOP, where.other.right, where.other.bottom};
    const RECT edgeBand = {where.own.left, TOP, where.own.left + INDENT - SIGN_WIDTH,
                           where.own.bottom};
    const Image otherBefore = CaptureScreen(otherBand), edgeBefore = CaptureScreen(edgeBand);
    const int left = where.own.left + INDENT;
    const HWND target = StartSample(
        sample, where.title, where.firstOverTheEdge ? where.own.left + 60 : left, TOP, 400, 300);
    ASSERT_NE(target, nullptr);
    if (where.firstOverTheEdge) {
        ASSERT_NE(WaitForSign(target, where.own.left + 60 - SIGN_WIDTH, TOP), nullptr);
        Sleep(1500);
        EXPECT_TRUE(SpritesOwnedBy(mainWindow).empty()) << "a sign over the edge gets no figure";
        SetWindowPos(target, nullptr, left, TOP, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

    // From before the figure comes until it stands wholly on its monitor.
    HWND figure = nullptr;
    RECT firstSeen = {};
    int leaked = 0, shownAtTheEdge = 0;
    const bool entered = WaitUntil(8000, [&] {
        leaked = std::max(leaked, ChangedPixels(otherBand, otherBefore));
        if (!figure && (figure = VisibleFigure(mainWindow))) {
            firstSeen = RectOf(figure);
        }
        if (!figure || !IsWindow(figure)) {
            return false;
        }
        if (RectOf(figure).left < where.own.left) {
            shownAtTheEdge = std::max(shownAtTheEdge, ChangedPixels(edgeBand, edgeBefore));
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
    EXPECT_EQ(leaked, 0) << "pixels of the figure showed on the other monitor";
    ASSERT_TRUE(CloseProgram(program, mainWindow));
}

INSTANTIATE_TEST_SUITE_P(
    SignOnEachMonitor, TwoMonitors,
    testing::Values(MonitorCase{"Left monitor sample", LEFT_MONITOR, RIGHT_MONITOR, true},
                    MonitorCase{"Right monitor sample", RIGHT_MONITOR, LEFT_MONITOR, false}),
    [](const auto& info) { return info.param.firstOverTheEdge ? "Left" : "Right"; });
}  // namespace
