// A figure's start, from its creation to its first frame on the screen, against loading
// its pictures as they are stored: 8 bits a pixel, no conversion, no masks.
#include <algorithm>
#include <cstdio>
#include <type_traits>

#include "Bench.h"
#include "Stopwatch.h"
#include "actors/LadderVisitWalker.h"
#include "actors/PlacardWalker.h"
#include "actors/SignChangeWalker.h"
#include "actors/SparkleActor.h"
#include "gfx/Monitors.h"
#include "sign/SignWindow.h"
#include "support/TestSupport.h"
#include "windows/FrameSet.h"
#include "windows/HandleRegistry.h"

namespace {
// Renders are reached through the engine's own tick minus its checks of the target.
template <typename Figure>
class StartingFigure : public Figure {
public:
    StartingFigure(HWND sign, HWND target) : Figure(sign, target) {}

    bool ShowFirstFrame() {
        for (int tick = 0; tick < 100; ++tick) {
            double x = this->origin.x;
            double y = this->origin.y;
            const int32_t index = this->NextFrame(x, y);
            if (index >= 0) {
                this->origin = PointD{x, y};
                HDC dc = GetDC(this->window);
                this->Render(dc, index);
                ReleaseDC(this->window, dc);
                return true;
            }
        }
        return false;
    }
};

template <typename Figure>
void TimeStart(const char* script, const char* at, int repetitions, const SignWindow& sign,
               BenchReport& report) {
    std::vector<double> starts;
    std::vector<double> loads;
    std::vector<double> floors;
    for (int i = 0; i < repetitions; ++i) {
        const Stopwatch watch;
        auto* figure = new StartingFigure<Figure>(sign.Window(), sign.Target());
        if (!StartFigure(figure, sign, std::is_same<Figure, SparkleActor>::value)) {
            return;
        }
        if (!figure->ShowFirstFrame()) {
            return;
        }
        starts.push_back(watch.Seconds());

        double floor = 0.0;
        for (int32_t frame = 0; frame < figure->Count(); ++frame) {
            const int32_t id = figure->FrameAt(frame)->ResourceId();
            const Stopwatch load;
            HANDLE picture = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
            floor += load.Seconds();
            DeleteObject(picture);
        }
        floors.push_back(floor);

        // The same pictures and masks alone, as the figure loads them.
        FrameSet pictures;
        pictures.SetScale(sign.Scale());
        pictures.Reserve(figure->Count());
        const int32_t first = figure->FrameAt(0)->ResourceId();
        pictures.AddRange(first, first + figure->Count() - 1, nullptr);
        const Stopwatch load;
        pictures.LoadAll(GetModuleHandleA(nullptr), true);
        loads.push_back(load.Seconds());
        DestroyFigures();
        PumpMessages();
    }
    char name[64];
    std::snprintf(name, sizeof(name), "%s%s", script, at);
    report.Add({"start", name, Median(starts) * 1e3, Median(floors) * 1e3, "ms",
                "LoadImageA of its pictures as stored"});
    std::snprintf(name, sizeof(name), "part: %s%s pictures and masks", script, at);
    report.Add({"start", name, Median(loads) * 1e3, Median(floors) * 1e3, "ms",
                "LoadImageA of its pictures as stored"});
}
}  // namespace

void MeasureFigureStart(const BenchOptions& options, BenchReport& report) {
    FakeClock clock(BeforeTheNewFace());
    const int repetitions = options.quick ? 1 : 15;
    AtEachScale("Bench start target", 300 + 122, [&](const SignWindow& sign, const char* at) {
        TimeStart<SignChangeWalker>("sign change", at, repetitions, sign, report);
        TimeStart<LadderVisitWalker>("ladder visit", at, repetitions, sign, report);
        TimeStart<PlacardWalker>("placard stroll", at, repetitions, sign, report);
        TimeStart<SparkleActor>("sparkle", at, repetitions, sign, report);
    });
}
