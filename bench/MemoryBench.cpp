// What each sign and each figure holds: heap, GDI objects and the bytes of its bitmaps, at
// the peak of its life, beside what it holds at the very least: the object itself, one
// picture per frame, and the pictures' pixels at the 8 bits they are stored with.
#include "Bench.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <type_traits>

#include "actors/LadderVisitWalker.h"
#include "actors/PlacardWalker.h"
#include "actors/SignChangeWalker.h"
#include "actors/SparkleActor.h"
#include "app/MainWindow.h"
#include "sign/SignWindow.h"
#include "support/ApiCounter.h"
#include "support/MemoryUse.h"
#include "support/TestSupport.h"

namespace {
size_t BitmapBytes(HBITMAP bitmap) {
    BITMAP info;
    if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info)) {
        return 0;
    }
    return static_cast<size_t>(info.bmWidthBytes) * info.bmHeight * info.bmPlanes;
}

struct Held {
    double heap = 0.0;
    double gdiObjects = 0.0;
    double bitmapBytes = 0.0;
};

struct Baseline {
    Baseline() : heap(HeapBytesInUse()), gdiObjects(LiveGdiObjects()) {}
    Held Now(double bitmapBytes) const {
        return Held{static_cast<double>(HeapBytesInUse()) - static_cast<double>(heap),
                    static_cast<double>(LiveGdiObjects() - gdiObjects), bitmapBytes};
    }
    size_t heap;
    int gdiObjects;
};

// The shared canvas at its largest, and the largest window a figure showed, at 24 bits.
double canvasPeak = 0.0;
double largestWindow = 0.0;

struct FloorNotes {
    const char* heap;
    const char* gdiObjects;
};

void Report(BenchReport& report, const char* what, const Held& held, const Held& floor,
            const FloorNotes& notes) {
    char name[64];
    std::snprintf(name, sizeof(name), "heap per %s", what);
    report.Add({"memory", name, held.heap, floor.heap, "bytes", notes.heap});
    std::snprintf(name, sizeof(name), "GDI objects per %s", what);
    report.Add({"memory", name, held.gdiObjects, floor.gdiObjects, "objects", notes.gdiObjects});
    std::snprintf(name, sizeof(name), "bitmap bytes per %s", what);
    report.Add({"memory", name, held.bitmapBytes, floor.bitmapBytes, "bytes",
                "the pictures' pixels at 8 bits, and 1-bit masks"});
}

void MeasureSigns(const BenchOptions& options, BenchReport& report) {
    const int count = options.quick ? 2 : 10;
    std::vector<HWND> targets;
    for (int i = 0; i < count; ++i) {
        TestWindowOptions targetOptions;
        targetOptions.title = "Bench memory target";
        targetOptions.x = 200 + 30 * i;
        targetOptions.y = 100 + 20 * i;
        targets.push_back(CreateTestWindow(targetOptions));
    }
    PumpMessages();
    const Baseline before;
    double bitmapBytes = 0.0;
    double pixels = 0.0;
    for (HWND target : targets) {
        const auto* sign = ObjectAs<SignWindow>(HangSignOn(target));
        if (sign) {
            bitmapBytes += BitmapBytes(sign->Bitmap());
            pixels += static_cast<double>(sign->Width()) * sign->Height();
        }
    }
    Held held = before.Now(bitmapBytes);
    Report(report, "sign",
           Held{held.heap / count, held.gdiObjects / count, held.bitmapBytes / count},
           Held{static_cast<double>(sizeof(SignWindow)), 1.0, pixels / count},
           {"the sign object itself", "the face picture"});
    DestroyAllSprites();
    for (HWND target : targets) {
        DestroyWindow(target);
    }
    PumpMessages();
}

template <typename Figure>
void MeasureFigure(const char* script, const char* at, const SignWindow& sign, int mostTicks,
                   BenchReport& report) {
    const Baseline before;
    auto* figure = new Figure(sign.Window(), sign.Target());
    if (!StartFigure(figure, sign, std::is_same<Figure, SparkleActor>::value)) {
        return;
    }
    const HWND window = figure->Window();

    // The figure and, for each frame, a slot and the frame object.
    Held floor{static_cast<double>(sizeof(Figure) +
                                   figure->Count() * (sizeof(FrameBitmap*) + sizeof(FrameBitmap))),
               static_cast<double>(figure->Count()), 0.0};
    double frameBytes = 0.0;
    for (int32_t i = 0; i < figure->Count(); ++i) {
        const FrameBitmap* frame = figure->FrameAt(i);
        if (frame) {
            frameBytes += BitmapBytes(frame->Bitmap()) + BitmapBytes(frame->Mask());
            // 8 bits a pixel and a 1-bit mask.
            floor.bitmapBytes += static_cast<double>(frame->Width()) * frame->Height() * 9 / 8;
        }
    }

    // The peak comes while it runs: the composed picture and the copy of the screen
    // behind it grow with the largest rectangle it shows.
    Held peak;
    for (int tick = 0; tick < mostTicks && ObjectForWindow(window) == figure; ++tick) {
        figure->Tick();
        // A sparkle that the ladder figure leaves is counted on its own.
        std::vector<HWND> others;
        handleRegistry.Walk([&](HWND handle, ScreenWindow* object) {
            if (handle != window && dynamic_cast<Actor*>(object)) {
                others.push_back(handle);
            }
        });
        for (HWND other : others) {
            DestroyWindow(other);
        }
        // The picture figures compose on is shared by all of them, and counted on its own.
        Held now = before.Now(frameBytes + BitmapBytes(figure->SavedBackground()));
        if (figure->ComposedBitmap()) {
            now.gdiObjects -= 3;  // the shared canvas's picture, its DC and the screen's DC
        }
        canvasPeak =
            std::max(canvasPeak, static_cast<double>(BitmapBytes(figure->ComposedBitmap())));
        const RectI shown = figure->WindowRect();
        largestWindow = std::max(largestWindow, 3.0 * shown.width * shown.height);
        peak.heap = std::max(peak.heap, now.heap);
        peak.gdiObjects = std::max(peak.gdiObjects, now.gdiObjects);
        peak.bitmapBytes = std::max(peak.bitmapBytes, now.bitmapBytes);
        PumpMessages();
    }
    DestroyFigures();

    char what[48];
    std::snprintf(what, sizeof(what), "%s figure%s", script, at);
    Report(report, what, peak, floor,
           {"the figure, its frame slots and frame objects", "one picture per frame"});
}

}  // namespace

void MeasureMemory(const BenchOptions& options, BenchReport& report) {
    FakeClock clock(BeforeTheNewFace());
    MeasureSigns(options, report);
    const int mostTicks = options.quick ? 40 : 20000;
    AtEachScale("Bench memory target", 122 + 200, [&](const SignWindow& sign, const char* at) {
        MeasureFigure<SignChangeWalker>("sign change", at, sign, mostTicks, report);
        MeasureFigure<LadderVisitWalker>("ladder visit", at, sign, mostTicks, report);
        MeasureFigure<PlacardWalker>("placard stroll", at, sign, mostTicks, report);
        MeasureFigure<SparkleActor>("sparkle", at, sign, mostTicks, report);
        char name[64];
        std::snprintf(name, sizeof(name), "bitmap bytes of the canvas all figures share%s", at);
        report.Add({"memory", name, canvasPeak, largestWindow, "bytes",
                    "the largest window a figure showed, at 24 bits"});
        canvasPeak = 0.0;
        largestWindow = 0.0;
    });
}
