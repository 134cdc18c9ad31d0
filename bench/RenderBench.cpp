// Actor::Render per frame of each script, against what showing a frame cannot do without:
// one capture of the screen under the frame's rectangle, one blit into a window and one
// SetWindowPos that moves and shows that window there.
#include "Bench.h"

#include <cstdio>
#include <ctime>
#include <type_traits>

#include "Stopwatch.h"
#include "actors/LadderVisitWalker.h"
#include "actors/PlacardWalker.h"
#include "actors/SignChangeWalker.h"
#include "actors/SparkleActor.h"
#include "app/MainWindow.h"
#include "gfx/ComposeCanvas.h"
#include "gfx/Drawing.h"
#include "sign/SignWindow.h"
#include "support/TestSupport.h"

namespace {
// SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_NOCOPYBITS |
// SWP_NOOWNERZORDER, as the engine moves a figure.
constexpr UINT SHOW_FRAME_FLAGS = 884;
// The ladder figures lean the ladder on the sign from this far left of it.
// A figure whose engine tick is taken step by step, so that Render can be timed alone.
template <typename Figure>
class TimedFigure : public Figure {
public:
    TimedFigure(HWND sign, HWND target) : Figure(sign, target) {}

    // The script picks the frame and the engine renders it, as in the engine's Tick minus
    // the checks of the target; a negative result shows nothing on this tick.
    int32_t Step(double& renderSeconds) {
        double x = this->origin.x;
        double y = this->origin.y;
        const int32_t index = this->NextFrame(x, y);
        if (index < 0) {
            return index;
        }
        this->origin = PointD{x, y};
        HDC dc = GetDC(this->window);
        const Stopwatch watch;
        this->Render(dc, index);
        renderSeconds = watch.Seconds();
        ReleaseDC(this->window, dc);
        return index;
    }
};

// The bare calls, with every DC and bitmap made beforehand.
class RenderFloor {
public:
    RenderFloor() {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TarvolenBenchFloor";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, "",
                                 WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, windowClass.hInstance,
                                 nullptr);
        screen = GetDC(nullptr);
        memory = CreateCompatibleDC(screen);
        capture = CreateCompatibleBitmap(screen, GetSystemMetrics(SM_CXSCREEN),
                                         GetSystemMetrics(SM_CYSCREEN));
        previous = SelectObject(memory, capture);
    }
    ~RenderFloor() {
        SelectObject(memory, previous);
        DeleteObject(capture);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        DestroyWindow(window);
    }
    RenderFloor(const RenderFloor&) = delete;
    RenderFloor& operator=(const RenderFloor&) = delete;

    double Time(const RectI& rect) {
        HDC windowDc = GetDC(window);
        const Stopwatch watch;
        BitBlt(memory, 0, 0, rect.width, rect.height, screen, rect.x, rect.y, SRCCOPY);
        SetWindowPos(window, HWND_TOPMOST, rect.x, rect.y, rect.width, rect.height,
                     SHOW_FRAME_FLAGS);
        BitBlt(windowDc, 0, 0, rect.width, rect.height, memory, 0, 0, SRCCOPY);
        const double seconds = watch.Seconds();
        ReleaseDC(window, windowDc);
        return seconds;
    }

private:
    HWND window = nullptr;
    HDC screen = nullptr;
    HDC memory = nullptr;
    HBITMAP capture = nullptr;
    HGDIOBJ previous = nullptr;
};

// Plays the script to its end (or to mostFrames), timing each frame and its floor.
template <typename Figure>
void PlayScript(const SignWindow& sign, size_t mostFrames, RenderFloor& floor,
                std::vector<double>& renders, std::vector<double>& floors) {
    auto* figure = new TimedFigure<Figure>(sign.Window(), sign.Target());
    if (!StartFigure(figure, sign, std::is_same<Figure, SparkleActor>::value)) {
        return;
    }
    const HWND window = figure->Window();
    for (size_t frames = 0; frames < mostFrames;) {
        if (ObjectForWindow(window) != figure) {
            break;  // its script is over
        }
        double render = 0.0;
        if (figure->Step(render) >= 0) {
            renders.push_back(render);
            floors.push_back(floor.Time(figure->WindowRect()));
            ++frames;
        }
        PumpMessages();
    }
    DestroyFigures();
}

template <typename Figure>
void TimeScript(const char* script, const char* at, int plays, const SignWindow& sign,
                size_t mostFrames, RenderFloor& floor, BenchReport& report) {
    std::vector<double> renders;
    std::vector<double> floors;
    for (int play = 0; play < plays; ++play) {
        PlayScript<Figure>(sign, mostFrames, floor, renders, floors);
    }

    char name[64];
    std::snprintf(name, sizeof(name), "%s%s (%u frames)", script, at,
                  static_cast<unsigned>(renders.size()));
    report.Add({"render", name, Mean(renders) * 1e6, Mean(floors) * 1e6, "us per frame",
                "capture + blit + SetWindowPos of the same rectangle"});
}

// Two parts of a frame, each beside its bare call: the capture of the screen into the
// canvas, and the draw of a frame over it, keeping the key colour's pixels.
void TimeRenderParts(const BenchOptions& options, BenchReport& report) {
    FrameBitmap frame(4143);  // the first frame of the ladder visit
    if (!frame.Load(GetModuleHandleA(nullptr), true)) {
        return;
    }
    const RectI rect{300, 300, frame.Width(), frame.Height()};
    HDC screen = GetDC(nullptr);
    HDC destination = CreateCompatibleDC(screen);
    HDC source = CreateCompatibleDC(screen);
    HBITMAP composed = CreateCompatibleBitmap(screen, rect.width, rect.height);
    const HGDIOBJ previous = SelectObject(destination, composed);

    composeCanvas.Hold();
    composeCanvas.Fit(rect.width, rect.height);
    std::vector<double> captures, bareCaptures, maskedDraws, plainDraws;
    const int repetitions = options.quick ? 10 : 400;
    for (int i = 0; i < repetitions; ++i) {
        Stopwatch watch;
        composeCanvas.CaptureScreen(rect);
        captures.push_back(watch.Seconds());

        watch.Restart();
        BitBlt(destination, 0, 0, rect.width, rect.height, screen, rect.x, rect.y, SRCCOPY);
        bareCaptures.push_back(watch.Seconds());

        watch.Restart();
        composeCanvas.Draw(frame.Bitmap(), frame.Mask(), TRANSPARENT_KEY, 0, 0);
        maskedDraws.push_back(watch.Seconds());

        const HGDIOBJ sourcePrevious = SelectObject(source, frame.Bitmap());
        watch.Restart();
        BitBlt(destination, 0, 0, rect.width, rect.height, source, 0, 0, SRCCOPY);
        plainDraws.push_back(watch.Seconds());
        SelectObject(source, sourcePrevious);
    }
    composeCanvas.Drop();
    SelectObject(destination, previous);
    DeleteObject(composed);
    DeleteDC(source);
    DeleteDC(destination);
    ReleaseDC(nullptr, screen);

    char name[64];
    std::snprintf(name, sizeof(name), "part: screen capture %d x %d", rect.width, rect.height);
    report.Add({"render", name, Median(captures) * 1e6, Median(bareCaptures) * 1e6, "us",
                "one BitBlt from an open screen DC"});
    std::snprintf(name, sizeof(name), "part: masked draw %d x %d", rect.width, rect.height);
    report.Add({"render", name, Median(maskedDraws) * 1e6, Median(plainDraws) * 1e6, "us",
                "one plain BitBlt of the frame"});
}
}  // namespace

void MeasureRenderCost(const BenchOptions& options, BenchReport& report) {
    // The sign starts with the old face, so that the face change really takes place.
    FakeClock clock(BeforeTheNewFace());
    RenderFloor floor;
    const size_t mostFrames = options.quick ? 12 : 100000;
    const bool everySignHung =
        AtEachScale("Bench render target", 300 + 122, [&](const SignWindow& sign, const char* at) {
            TimeScript<SignChangeWalker>("sign change", at, 1, sign, mostFrames, floor, report);
            TimeScript<LadderVisitWalker>("ladder visit", at, 1, sign, mostFrames, floor, report);
            TimeScript<PlacardWalker>("placard stroll", at, 1, sign, mostFrames, floor, report);
            // Seven frames a glint: a few of them.
            TimeScript<SparkleActor>("sparkle", at, options.quick ? 1 : 8, sign, mostFrames, floor,
                                     report);
        });
    if (!everySignHung) {
        std::printf("  render: the target got no sign\n");
    }
    TimeRenderParts(options, report);
}
