#include "support/WalkStage.h"

#include "actors/LadderVisitWalker.h"
#include "actors/PlacardWalker.h"
#include "actors/Scheduler.h"
#include "actors/SignChangeWalker.h"
#include "actors/SparkleActor.h"
#include "app/Clock.h"

#include <map>

time_t LocalTime(int year, int month, int day, int hour) {
    std::tm date = {};
    date.tm_year = year - 1900;
    date.tm_mon = month - 1;
    date.tm_mday = day;
    date.tm_hour = hour;
    date.tm_isdst = -1;
    return std::mktime(&date);
}

WalkStage::WalkStage(int signX, int signY, int targetWidth) {
    TestWindowOptions options;
    options.x = signX + SIGN_WIDTH;
    options.y = signY;
    options.width = targetWidth;
    target = CreateTestWindow(options);
    BringToFront(target);
    // Whatever the test's clock says, nothing is launched while the sign comes up.
    const time_t heldLaunch = lastLaunchTime;
    lastLaunchTime = CurrentTime();
    RunTicks(2);
    lastLaunchTime = heldLaunch;
    handleRegistry.Walk([this](HWND window, ScreenWindow* object) {
        auto* sign = dynamic_cast<SignWindow*>(object);
        if (sign && sign->Target() == target) {
            signHandle = window;
        }
    });
}

WalkStage::~WalkStage() {
    DestroyAllSprites();
    DestroyWindow(target);
    PumpMessages();
}

SignWindow* WalkStage::Sign() const {
    return ObjectAs<SignWindow>(signHandle);
}

const FrameStep* ActorTrace::FirstStepOf(int32_t frame) const {
    for (const FrameStep& step : steps) {
        if (step.frame == frame) {
            return &step;
        }
    }
    return nullptr;
}

Script ScriptOf(ScreenWindow* object) {
    if (dynamic_cast<SignChangeWalker*>(object)) {
        return Script::SignChange;
    }
    if (dynamic_cast<LadderVisitWalker*>(object)) {
        return Script::LadderVisit;
    }
    if (dynamic_cast<PlacardWalker*>(object)) {
        return Script::Placard;
    }
    if (dynamic_cast<SparkleActor*>(object)) {
        return Script::Sparkle;
    }
    return Script::Unknown;
}

void WalkRecorder::Run(int maxTicks, const std::function<void(int)>& afterTick) {
    for (int i = 0; i < maxTicks; ++i) {
        if (!TickOnce(afterTick)) {
            return;
        }
    }
}

void WalkRecorder::RunFor(int count, const std::function<void(int)>& afterTick) {
    for (int i = 0; i < count; ++i) {
        TickOnce(afterTick);
    }
}

bool WalkRecorder::TickOnce(const std::function<void(int)>& afterTick) {
    struct Before {
        int32_t frame;
        RectI window;
    };
    std::map<HWND, Before> before;
    for (const ActorTrace& trace : traces) {
        if (auto* actor = ObjectAs<Actor>(trace.window)) {
            before[trace.window] = Before{actor->Current(), actor->WindowRect()};
        }
    }

    ++ticks;
    RunTicks(1);
    const SignWindow* sign = stage.Sign();
    const int32_t signState = sign ? sign->State() : 0;

    handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
        auto* actor = dynamic_cast<Actor*>(object);
        if (!actor) {
            return;
        }
        ActorTrace* trace = nullptr;
        for (ActorTrace& known : traces) {
            if (known.window == window && known.closedTick == 0) {
                trace = &known;
            }
        }
        if (!trace) {
            traces.push_back(ActorTrace{});
            trace = &traces.back();
            trace->window = window;
            trace->script = ScriptOf(object);
            trace->firstSeenTick = ticks;
            // A figure starts on frame 0 with no window rectangle.
            before[window] = Before{0, RectI{}};
        }
        const Before& was = before[window];
        if (actor->Current() != was.frame || actor->WindowRect() != was.window) {
            const FrameBitmap* frame = actor->FrameAt(actor->Current());
            trace->steps.push_back(FrameStep{
                ticks, actor->Current(), actor->Origin(), was.window, actor->WindowRect(),
                frame ? Actor::FrameScreenRect(*frame, actor->Origin()) : RectI{}, signState});
        }
    });

    bool anyOut = false;
    for (ActorTrace& trace : traces) {
        if (trace.closedTick == 0) {
            if (ObjectForWindow(trace.window)) {
                anyOut = true;
            } else {
                trace.closedTick = ticks;
            }
        }
    }
    if (afterTick) {
        afterTick(ticks);
    }
    return anyOut || traces.empty();
}

const ActorTrace* WalkRecorder::Find(Script script) const {
    for (const ActorTrace& trace : traces) {
        if (trace.script == script) {
            return &trace;
        }
    }
    return nullptr;
}

Actor* FigureOut(Script script) {
    Actor* found = nullptr;
    handleRegistry.Walk([&](HWND, ScreenWindow* object) {
        if (!found && ScriptOf(object) == script) {
            found = dynamic_cast<Actor*>(object);
        }
    });
    return found;
}

int FiguresOut() {
    int count = 0;
    handleRegistry.Walk([&](HWND, ScreenWindow* object) {
        if (dynamic_cast<Actor*>(object)) {
            ++count;
        }
    });
    return count;
}

int NextRand(uint32_t& state) {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

unsigned SeedForLadderDraws(const std::vector<bool>& ladder) {
    for (unsigned seed = 1;; ++seed) {
        uint32_t state = seed;
        bool matches = true;
        for (bool wanted : ladder) {
            matches = matches && ((NextRand(state) % 100 < 34) == wanted);
        }
        if (matches) {
            return seed;
        }
    }
}

bool WindowHasShape(HWND window, int regionId) {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(regionId), "REGION");
    if (!resource) {
        return false;
    }
    const auto* data = static_cast<const RGNDATA*>(LockResource(LoadResource(nullptr, resource)));
    HRGN expected = ExtCreateRegion(nullptr, SizeofResource(nullptr, resource), data);
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    const bool same =
        expected && GetWindowRgn(window, actual) != ERROR && EqualRgn(expected, actual);
    DeleteObject(expected);
    DeleteObject(actual);
    return same;
}
