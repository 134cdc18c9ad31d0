#include "support/WalkStage.h"

#include <algorithm>

#include "actors/LadderVisitWalker.h"
#include "actors/PlacardWalker.h"
#include "actors/Scheduler.h"
#include "actors/SignChangeWalker.h"
#include "actors/SparkleActor.h"
#include "app/MainWindow.h"
#include "gfx/Clock.h"

void ResetScheduler() {
    busySign = nullptr;
    lastLaunchTime = 0;
}

time_t LocalTime(int year, int month, int day, int hour) {
    std::tm date = {0, 0, hour, day, month - 1, year - 1900, 0, 0, -1};
    return std::mktime(&date);
}

WalkStage::WalkStage(int signX, int signY, int scale, int border, int targetHeight) {
    target =
        CreateTestWindow({"Test target", signX + 122 * scale - border, signY, 300, targetHeight});
    BringToFront(target);
    // Whatever the test's clock says, nothing is launched while the sign comes up.
    const time_t heldLaunch = lastLaunchTime;
    lastLaunchTime = CurrentTime();
    RunTicks(2);
    lastLaunchTime = heldLaunch;
}

WalkStage::~WalkStage() {
    DestroyAllSprites();
    DestroyWindow(target);
    PumpMessages();
}

SignWindow* WalkStage::Sign() const {
    SignWindow* found = nullptr;
    handleRegistry.Walk([&](HWND, ScreenWindow* object) {
        auto* sign = dynamic_cast<SignWindow*>(object);
        found = sign && sign->Target() == target ? sign : found;
    });
    return found;
}

Script ScriptOf(ScreenWindow* object) {
    return dynamic_cast<SignChangeWalker*>(object)    ? Script::SignChange
           : dynamic_cast<LadderVisitWalker*>(object) ? Script::LadderVisit
           : dynamic_cast<PlacardWalker*>(object)     ? Script::Placard
           : dynamic_cast<SparkleActor*>(object)      ? Script::Sparkle
                                                      : Script::Unknown;
}

std::map<int32_t, FrameStep> ActorTrace::FirstSteps() const {
    std::map<int32_t, FrameStep> first;
    for (const FrameStep& step : steps) {
        first.emplace(step.frame, step);
    }
    return first;
}

std::vector<ActorTrace> RecordWalks(const WalkStage& stage, int maxTicks,
                                    const std::function<void(int)>& afterTick) {
    std::vector<ActorTrace> traces;
    SignWindow* sign = stage.Sign();
    for (int tick = 1; tick <= maxTicks; ++tick) {
        // The sign's state before the posted messages run: what the figure's frame met.
        RunTick();
        const int32_t signState = sign ? sign->State() : 0;
        PumpMessages();
        for (Actor* actor : Figures()) {
            auto trace = std::find_if(traces.begin(), traces.end(), [&](const ActorTrace& known) {
                return known.window == actor->Window() && known.closedTick == 0;
            });
            if (trace == traces.end()) {
                trace = traces.insert(traces.end(),
                                      ActorTrace{actor->Window(), ScriptOf(actor), tick, 0, {}});
            }
            // A figure starts on frame 0 with no window rectangle.
            const FrameStep last = trace->steps.empty() ? FrameStep{} : trace->steps.back();
            if (actor->Current() != last.frame || actor->WindowRect() != last.window) {
                const FrameBitmap* frame = actor->FrameAt(actor->Current());
                trace->steps.push_back(FrameStep{
                    tick, actor->Current(), actor->Origin(), actor->WindowRect(),
                    frame ? Actor::FrameScreenRect(*frame, actor->Origin()) : RectI{}, signState});
            }
        }
        bool anyOut = traces.empty();
        for (ActorTrace& trace : traces) {
            if (trace.closedTick == 0 && !ObjectForWindow(trace.window)) {
                trace.closedTick = tick;
            }
            anyOut = anyOut || trace.closedTick == 0;
        }
        if (afterTick) {
            afterTick(tick);
        }
        if (!anyOut) {
            break;
        }
    }
    return traces;
}

const ActorTrace* FindTrace(const std::vector<ActorTrace>& traces, Script script) {
    const auto found =
        std::find_if(traces.begin(), traces.end(),
                     [script](const ActorTrace& trace) { return trace.script == script; });
    return found == traces.end() ? nullptr : &*found;
}

std::vector<Actor*> Figures() {
    std::vector<Actor*> figures;
    handleRegistry.Walk([&](HWND, ScreenWindow* object) {
        if (auto* actor = dynamic_cast<Actor*>(object)) {
            figures.push_back(actor);
        }
    });
    return figures;
}

Actor* FigureOut(Script script) {
    const std::vector<Actor*> out = Figures();
    const auto found = std::find_if(out.begin(), out.end(),
                                    [script](Actor* figure) { return ScriptOf(figure) == script; });
    return found == out.end() ? nullptr : *found;
}

unsigned SeedForLadderDraws(const std::vector<bool>& ladder) {
    for (unsigned seed = 1;; ++seed) {
        uint32_t state = seed;
        bool matches = true;
        for (size_t i = 0; i < ladder.size(); ++i) {
            // The C runtime's generator, one rand() at a time.
            state = state * 214013u + 2531011u;
            const int draw = int((state >> 16) & 0x7FFF) % 100;
            matches = matches && (i > 0 ? (draw < 34) == ladder[i] : draw == (ladder[0] ? 33 : 34));
        }
        if (matches) {
            return seed;
        }
    }
}

bool WindowHasShape(HWND window, int regionId, int scale) {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(regionId), "REGION");
    const XFORM magnify = {FLOAT(scale), 0, 0, FLOAT(scale), 0, 0};
    HRGN expected =
        resource ? ExtCreateRegion(
                       &magnify, SizeofResource(nullptr, resource),
                       static_cast<const RGNDATA*>(LockResource(LoadResource(nullptr, resource))))
                 : nullptr;
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    const bool same =
        expected && GetWindowRgn(window, actual) != ERROR && EqualRgn(expected, actual);
    DeleteObject(expected);
    DeleteObject(actual);
    return same;
}
