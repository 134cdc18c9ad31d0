// The tick against dozens of windows that misbehave at random: they move, resize, maximise,
// minimise, hide, close and change their titles; the foreground jumps between them, to no
// window, to the hidden main window and to the signs and figures themselves; and now and
// then one vanishes in the middle of a tick, between the Ticks of two objects. A third of
// the windows live on a second thread, as another program's windows do: closing one does
// not take its sign along. The clock runs ahead by whole seconds, so figures are launched
// all the time. After every tick: every registry entry names a live window whose object is
// of the right kind, no window has two signs, no sign outlives its target by more than two
// ticks, no figure outlives a reason to leave (a lost foreground, a changed target) by more
// than one tick, busySign is clear whenever no walker is out, and figures keep coming. At
// the end GDI objects and heap use are back at their starting level.
//
// The seed is printed first. The test command runs a short soak of one fixed seed, so that
// it judges every change by the same storm. To try other storms, replay a run, or soak for
// longer (the environment reaches the test through ctest):
//   TARVOLEN_SOAK_SEED=<seed>          repeat the run of this seed
//   TARVOLEN_SOAK_LAUNCHES=<count>     figures to launch (default 200; 2000 is a long soak)
//   e.g. TARVOLEN_SOAK_LAUNCHES=2000 tools/test.sh -R FaultSoakTest -V
// A replay repeats the same storm of events; where the window system hands out other
// handle numbers, the program's reactions may differ in detail.
#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "actors/Actor.h"
#include "actors/Scheduler.h"
#include "actors/Walker.h"
#include "app/MainWindow.h"
#include "sign/SignWindow.h"
#include "support/ApiCounter.h"
#include "support/MemoryUse.h"
#include "support/TestSupport.h"
#include "support/WalkStage.h"

// Freed blocks are scribbled over first, so that a call on an object already deleted (a
// Tick on a sign whose window went in the middle of a walk) crashes here instead of
// passing unnoticed. Kept out of line: inlined into a delete expression, the free() would
// look mismatched to the compiler.
__attribute__((noinline)) void operator delete(void* block) noexcept {
    if (block) {
        std::memset(block, 0xDD, _msize(block));
        std::free(block);
    }
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace {
constexpr int DEFAULT_LAUNCHES = 200;
// A seed whose long soak (2000 launches) has passed every check.
constexpr unsigned DEFAULT_SEED = 5171301;
constexpr size_t FEWEST_TARGETS = 20;
constexpr size_t MOST_TARGETS = 40;
// A stretch this long without a single launch means the scheduler is stuck.
constexpr int MOST_TICKS_PER_LAUNCH = 1000;
// Every script ends by itself well within this many ticks.
constexpr int MOST_FIGURE_TICKS = 1500;

unsigned EnvironmentNumber(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

// The soak's own generator, so that the program's rand() draws stay the program's.
class SoakRandom {
public:
    explicit SoakRandom(uint32_t seed) : state(seed * 2654435761u + 1u) {}

    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<uint32_t>(bound)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Percent(int chance) { return Below(1000) < chance * 10; }
    bool PerMille(int chance) { return Below(1000) < chance; }

private:
    uint32_t state;
};

// A second thread with its own message loop, standing in for another program: its windows
// are created, changed and destroyed on that thread, and its foreground is taken there.
class OtherProgram {
public:
    OtherProgram() {
        ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, &OtherProgram::Main, this, 0, nullptr);
        WaitForSingleObject(ready, INFINITE);
    }
    ~OtherProgram() {
        SendMessageA(control, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(ready);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    // Runs the action on the other thread and waits for it.
    void Run(const std::function<void()>& action) {
        SendMessageA(control, WM_APP, 0, reinterpret_cast<LPARAM>(&action));
    }

private:
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_APP:
                (*reinterpret_cast<const std::function<void()>*>(lParam))();
                return 0;
            case WM_CLOSE:
                DestroyWindow(window);
                return 0;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                return DefWindowProcA(window, message, wParam, lParam);
        }
    }

    static DWORD WINAPI Main(void* parameter) {
        auto* self = static_cast<OtherProgram*>(parameter);
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = ControlProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TarvolenSoakControl";
        RegisterClassExA(&windowClass);  // fails harmlessly from the second thread on
        self->control = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0,
                                        HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
        SetEvent(self->ready);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return 0;
    }

    HANDLE ready = nullptr;
    HANDLE thread = nullptr;
    HWND control = nullptr;
};

// A registered object of the test whose Tick changes the world in the middle of a walk,
// after the Ticks of the objects below its handle and before those above it.
class MidTickMischief : public ScreenWindow {
public:
    void Arm(std::function<void()> action) { pending = std::move(action); }

    void Tick() override {
        if (pending) {
            const std::function<void()> action = std::move(pending);
            pending = nullptr;
            action();
        }
    }

private:
    std::function<void()> pending;
};

struct Target {
    HWND window = nullptr;
    bool foreign = false;
};

struct SoakCounts {
    int ticks = 0;
    int launches = 0;
    int targetsMade = 0;
    int events = 0;
    int midTickChanges = 0;
    int signsGoneAheadOfWalk = 0;
    int hourJumps = 0;
    int mostFiguresAtOnce = 0;
    int faceChangesBegun = 0;
    int faceChangesDone = 0;
    int faceChangesAbandoned = 0;
    std::map<Script, int> scripts;
};

const char* const TITLES[] = {
    "Soak editor",
    "Soak notes",
    "Screen Saver",
    "screen saver",
    "Tarvolen",
    "Tarvolen ",
    "",
    "A very long window title that goes well beyond the sixty-three characters the watcher reads",
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// What the figure itself is to notice on its next Tick: its target is gone, minimised,
// maximised or hidden, or the user turned to a window that is none of its own, its
// target (unchanged), its sign or another figure.
bool HasReasonToLeave(const Actor& figure, HWND foreground) {
    const HWND target = figure.Target();
    if (!IsWindow(target)) {
        return true;
    }
    const LONG style = GetWindowLongA(target, GWL_STYLE);
    if ((style & (WS_MINIMIZE | WS_MAXIMIZE)) || !(style & WS_VISIBLE)) {
        return true;
    }
    if (!foreground) {
        return true;
    }
    if (foreground == target) {
        RECT now;
        return GetWindowRect(target, &now) && !SameRect(now, figure.StartTargetRect());
    }
    return foreground != figure.Window() && foreground != figure.Sign() &&
           KindForWindow(foreground) != KIND_ACTOR;
}

struct EventDraw {
    int roll;
    uint32_t pick;
    bool preferForeground;
    bool restore;
    int x;
    int y;
    int width;
    int height;
    int title;
};

// Everything a tick of the soak decides at random, drawn in full on every tick, so that the
// sequence of draws never depends on how the windows reacted: a replay stays in step.
struct TickDraw {
    bool hourJump;
    int seconds;
    int eventCount;
    EventDraw events[3];
    bool mischief;
    int mischiefRoll;
    uint32_t mischiefPick;
    bool mischiefAheadOfSign;
    int mischiefX;
    int quietRoll;
    int quietWalkTicks;
};

class FaultSoak {
public:
    FaultSoak(unsigned runSeed, int launches)
        : seed(runSeed),
          wantedLaunches(launches),
          draws(runSeed),
          shapes(runSeed ^ 0x5bd1e995u),
          // Some hours before the face cutover, which the hour jumps soon carry it past: signs
          // come up with either face.
          clock(LocalTime(2001, 11, 3, 8) + draws.Below(3600)) {
        srand(runSeed);
        busySign = nullptr;
        lastLaunchTime = 0;
        other = std::make_unique<OtherProgram>();
        while (targets.size() < (FEWEST_TARGETS + MOST_TARGETS) / 2) {
            AddTarget();
        }
        for (size_t i = 0; i < mischiefs.size(); ++i) {
            RenewMischief();
        }
    }

    ~FaultSoak() {
        DestroyAllSprites();
        for (const Target& target : targets) {
            OnThreadOf(target, [&target] { DestroyWindow(target.window); });
        }
        other.reset();
        PumpMessages();
        busySign = nullptr;
    }

    FaultSoak(const FaultSoak&) = delete;
    FaultSoak& operator=(const FaultSoak&) = delete;

    testing::AssertionResult Run() {
        int ticksSinceLaunch = 0;
        while (counts.launches < wantedLaunches) {
            const int launchesBefore = counts.launches;
            const testing::AssertionResult tick = Tick();
            if (!tick) {
                return tick;
            }
            ticksSinceLaunch = counts.launches > launchesBefore ? 0 : ticksSinceLaunch + 1;
            if (ticksSinceLaunch > MOST_TICKS_PER_LAUNCH) {
                return Failure() << "no figure was launched for " << MOST_TICKS_PER_LAUNCH
                                 << " ticks";
            }
        }
        return testing::AssertionSuccess();
    }

    const SoakCounts& Counts() const { return counts; }

private:
    TickDraw DrawTick() {
        TickDraw draw;
        draw.hourJump = draws.PerMille(2);
        draw.seconds = draws.Between(0, 3);
        draw.eventCount = draws.Percent(35) ? draws.Between(1, 3) : 0;
        for (EventDraw& event : draw.events) {
            event = DrawEvent();
        }
        draw.mischief = draws.Percent(4);
        draw.mischiefRoll = draws.Below(100);
        draw.mischiefPick = draws.Next();
        draw.mischiefAheadOfSign = draws.Percent(50);
        draw.mischiefX = draws.Between(-60, 760);
        // From a short pause to longer than the slowest walk, from the far right of the
        // screen and back: some walks play to their end, some are broken off half-way.
        draw.quietRoll = draws.Below(100);
        draw.quietWalkTicks = draws.Between(50, 1200);
        return draw;
    }

    EventDraw DrawEvent() {
        EventDraw draw;
        draw.roll = draws.Below(100);
        draw.pick = draws.Next();
        draw.preferForeground = draws.Percent(40);
        draw.restore = draws.Percent(50);
        draw.x = draws.Between(-60, 760);
        draw.y = draws.Between(0, 600);
        draw.width = draws.Percent(80) ? draws.Between(120, 420) : draws.Between(5, 120);
        draw.height = draws.Percent(80) ? draws.Between(80, 330) : draws.Between(40, 100);
        draw.title = draws.Below(static_cast<int>(std::size(TITLES)));
        return draw;
    }

    testing::AssertionResult Tick() {
        ++counts.ticks;
        const TickDraw draw = DrawTick();
        if (draw.hourJump) {
            // A figure out for an hour no longer holds the others back.
            clock.Advance(3600);
            ++counts.hourJumps;
        } else {
            clock.Advance(draw.seconds);
        }
        if (counts.ticks % 50 == 0) {
            RenewMischief();
        }

        const bool quiet = quietTicks > 0;
        if (quiet) {
            --quietTicks;
        } else {
            for (int i = 0; i < draw.eventCount; ++i) {
                RandomEvent(draw.events[i]);
                ++counts.events;
            }
            PumpMessages();
            ForgetDeadTargets();
        }
        if (targets.size() < FEWEST_TARGETS) {
            AddTarget();
        }

        const bool mischiefArmed = !quiet && draw.mischief && ArmMischief(draw);
        const HWND foregroundBefore = GetForegroundWindow();
        std::vector<HWND> mustLeave;
        handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
            const auto* figure = dynamic_cast<const Actor*>(object);
            if (figure && HasReasonToLeave(*figure, foregroundBefore)) {
                mustLeave.push_back(window);
            }
        });

        RunTick();
        // The walk itself may move the foreground: a sign in front that hides gives it away.
        const bool foregroundHeld = GetForegroundWindow() == foregroundBefore;
        PumpMessages();
        ForgetDeadTargets();

        if (!mischiefArmed && foregroundHeld) {
            for (HWND figure : mustLeave) {
                if (ObjectForWindow(figure)) {
                    return Failure() << "figure " << figure << " stayed a tick after its "
                                     << "reason to leave";
                }
            }
        }
        return CheckRegistry(draw);
    }

    testing::AssertionResult CheckRegistry(const TickDraw& draw) {
        std::set<HWND> signedTargets;
        std::set<HWND> figures;
        std::map<HWND, int32_t> signStates;
        bool walkerOut = false;
        Script launched = Script::Unknown;
        testing::AssertionResult result = testing::AssertionSuccess();
        handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
            if (!result) {
                return;
            }
            char className[32] = {};
            GetClassNameA(window, className, sizeof(className));
            if (!IsWindow(window) || object->Window() != window ||
                std::string(className) != "TarvolenStrollkin") {
                result = Failure() << "entry " << window << " names no live sprite window";
                return;
            }
            if (auto* sign = dynamic_cast<SignWindow*>(object)) {
                if (sign->Kind() != KIND_SIGN) {
                    result = Failure() << "sign " << window << " has kind " << sign->Kind();
                } else if (!signedTargets.insert(sign->Target()).second) {
                    result = Failure() << "window " << sign->Target() << " has two signs";
                } else if (ObjectForWindow(sign->Target())) {
                    result = Failure() << "sign " << window << " hangs on a sprite";
                } else {
                    CheckSignOutlivesTarget(window, *sign, result);
                }
                signStates[window] = sign->State();
            } else if (auto* figure = dynamic_cast<Actor*>(object)) {
                if (figure->Kind() != KIND_ACTOR) {
                    result = Failure() << "figure " << window << " has kind " << figure->Kind();
                }
                figures.insert(window);
                walkerOut = walkerOut || dynamic_cast<Walker*>(figure) != nullptr;
                if (CountFigure(window, object)) {
                    launched = ScriptOf(object);
                }
                if (counts.ticks - seenFigures[window] > MOST_FIGURE_TICKS) {
                    result = Failure() << "figure " << window << " never ends";
                }
            } else if (!IsMischief(object)) {
                result = Failure() << "entry " << window << " holds an unknown object";
            }
        });
        if (!result) {
            return result;
        }
        if (!walkerOut && busySign) {
            return Failure() << "busySign " << busySign << " is set with no walker out";
        }

        CountFaceChanges(signStates);
        for (auto it = seenFigures.begin(); it != seenFigures.end();) {
            it = figures.count(it->first) ? std::next(it) : seenFigures.erase(it);
        }
        for (auto it = targetGoneSince.begin(); it != targetGoneSince.end();) {
            it = ObjectForWindow(it->first) ? std::next(it) : targetGoneSince.erase(it);
        }
        counts.mostFiguresAtOnce =
            std::max(counts.mostFiguresAtOnce, static_cast<int>(figures.size()));
        // Now and then the user keeps still while a figure is out, so that walks play to
        // their end; face changes, rarer and slower to reach the sign, more often.
        const int quietChance = launched == Script::SignChange ? 40 : 5;
        if (launched != Script::Unknown && draw.quietRoll < quietChance) {
            quietTicks = draw.quietWalkTicks;
        }
        if (!walkerOut) {
            quietTicks = 0;
        }
        return testing::AssertionSuccess();
    }

    void CheckSignOutlivesTarget(HWND window, const SignWindow& sign,
                                 testing::AssertionResult& result) {
        if (IsWindow(sign.Target())) {
            return;
        }
        const auto found = targetGoneSince.emplace(window, counts.ticks).first;
        if (counts.ticks - found->second >= 2) {
            result = Failure() << "sign " << window << " outlived its target by "
                               << counts.ticks - found->second << " ticks";
        }
    }

    // True for a walker seen for the first time.
    bool CountFigure(HWND window, ScreenWindow* object) {
        if (!seenFigures.emplace(window, counts.ticks).second) {
            return false;
        }
        const Script script = ScriptOf(object);
        ++counts.scripts[script];
        if (script == Script::Sparkle) {
            return false;
        }
        ++counts.launches;
        return true;
    }

    void CountFaceChanges(const std::map<HWND, int32_t>& signStates) {
        for (const auto& entry : signStates) {
            const auto before = lastSignStates.find(entry.first);
            if (before == lastSignStates.end() || before->second == entry.second) {
                continue;
            }
            if (entry.second == SIGN_CHANGING) {
                ++counts.faceChangesBegun;
            } else if (entry.second == SIGN_NEW_FACE) {
                ++counts.faceChangesDone;
            } else {
                ++counts.faceChangesAbandoned;
            }
        }
        lastSignStates = signStates;
    }

    testing::AssertionResult Failure() {
        return testing::AssertionFailure() << "seed " << seed << ", tick " << counts.ticks << ": ";
    }

    // --- the misbehaving world ---

    void OnThreadOf(const Target& target, const std::function<void()>& action) {
        if (target.foreign) {
            other->Run(action);
        } else {
            action();
        }
    }

    void AddTarget() {
        Target target;
        target.foreign = shapes.Percent(35);
        TestWindowOptions options;
        options.title =
            TITLES[shapes.Percent(80) ? shapes.Below(2)
                                      : shapes.Below(static_cast<int>(std::size(TITLES)))];
        // Many near the left edge, where walks are short.
        options.x = shapes.Percent(40) ? shapes.Between(122, 260) : shapes.Between(-40, 700);
        options.y = shapes.Between(0, 560);
        options.width = shapes.Percent(85) ? shapes.Between(150, 420) : shapes.Between(5, 150);
        options.height = shapes.Percent(85) ? shapes.Between(90, 330) : shapes.Between(40, 120);
        options.colour = RGB(shapes.Below(256), shapes.Below(256), shapes.Below(256));
        if (shapes.Percent(5)) {
            options.exStyle = WS_EX_TOOLWINDOW;
        }
        const bool owned = shapes.Percent(10);
        const uint32_t ownerPick = shapes.Next();
        if (owned) {
            // An owned window: no sign while its owner is visible.
            const Target* owner = RandomTarget(ownerPick, [&target](const Target& candidate) {
                return candidate.foreign == target.foreign;
            });
            options.owner = owner ? owner->window : nullptr;
        }
        OnThreadOf(target, [&] { target.window = CreateTestWindow(options); });
        if (target.window) {
            targets.push_back(target);
            ++counts.targetsMade;
        }
    }

    template <typename Filter>
    const Target* RandomTarget(uint32_t pick, Filter&& filter) const {
        std::vector<const Target*> candidates;
        for (const Target& target : targets) {
            if (IsWindow(target.window) && filter(target)) {
                candidates.push_back(&target);
            }
        }
        return candidates.empty() ? nullptr : candidates[pick % candidates.size()];
    }

    const Target* RandomTarget(uint32_t pick) const {
        return RandomTarget(pick, [](const Target&) { return true; });
    }

    // Often the window in front, so that the figure at work is the one disturbed.
    const Target* TargetToChange(uint32_t pick, bool preferForeground) const {
        const HWND foreground = GetForegroundWindow();
        if (preferForeground) {
            for (const Target& target : targets) {
                if (target.window == foreground) {
                    return &target;
                }
            }
        }
        return RandomTarget(pick);
    }

    void RandomEvent(const EventDraw& draw) {
        if (draw.roll < 30) {
            BringTargetToFront(draw);
        } else if (draw.roll < 34) {
            // Nothing in front at all, as during a switch between windows.
            SetForegroundWindow(mainWindowHandle);
            SetActiveWindow(nullptr);
        } else if (draw.roll < 36) {
            // The hidden main window itself, as while the tray menu is open.
            SetForegroundWindow(mainWindowHandle);
        } else if (draw.roll < 42) {
            BringSpriteToFront(draw.pick);
        } else if (draw.roll < 45) {
            if (targets.size() < MOST_TARGETS) {
                AddTarget();
            }
        } else {
            const Target* target = TargetToChange(draw.pick, draw.preferForeground);
            if (target) {
                ChangeTarget(*target, draw);
            }
        }
    }

    void BringTargetToFront(const EventDraw& draw) {
        const Target* target = RandomTarget(draw.pick);
        if (target) {
            const HWND window = target->window;
            const bool restore = draw.restore;
            OnThreadOf(*target, [window, restore] {
                if (restore && IsIconic(window)) {
                    ShowWindow(window, SW_RESTORE);
                }
                SetForegroundWindow(window);
            });
        }
    }

    void BringSpriteToFront(uint32_t pick) {
        std::vector<HWND> sprites;
        handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
            if (!IsMischief(object) && IsWindowVisible(window)) {
                sprites.push_back(window);
            }
        });
        if (!sprites.empty()) {
            SetForegroundWindow(sprites[pick % sprites.size()]);
        }
    }

    void ChangeTarget(const Target& target, const EventDraw& draw) {
        const HWND window = target.window;
        const int roll = draw.roll;
        const int x = draw.x;
        const int y = draw.y;
        const int width = draw.width;
        const int height = draw.height;
        const char* title = TITLES[draw.title];
        std::function<void()> change;
        if (roll < 58) {
            change = [=] { SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER); };
        } else if (roll < 66) {
            change = [=] {
                SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
            };
        } else if (roll < 70) {
            change = [=] { ShowWindow(window, SW_MAXIMIZE); };
        } else if (roll < 75) {
            change = [=] { ShowWindow(window, SW_MINIMIZE); };
        } else if (roll < 82) {
            change = [=] { ShowWindow(window, SW_RESTORE); };
        } else if (roll < 86) {
            change = [=] { ShowWindow(window, SW_HIDE); };
        } else if (roll < 90) {
            change = [=] { ShowWindow(window, SW_SHOWNA); };
        } else if (roll < 94) {
            change = [=] { DestroyWindow(window); };
        } else {
            change = [=] { SetWindowTextA(window, title); };
        }
        OnThreadOf(target, change);
    }

    static HWND SignOf(HWND target) {
        HWND sign = nullptr;
        handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
            const auto* found = dynamic_cast<const SignWindow*>(object);
            if (found && found->Target() == target) {
                sign = window;
            }
        });
        return sign;
    }

    // The registry walks in this order.
    static bool HandleBelow(HWND a, HWND b) {
        return reinterpret_cast<uintptr_t>(a) < reinterpret_cast<uintptr_t>(b);
    }

    bool IsMischief(const ScreenWindow* object) const {
        return std::find(mischiefs.begin(), mischiefs.end(), object) != mischiefs.end();
    }

    // One at a time is re-created, so that they sit at changing places in the handle order:
    // the new one takes a handle freed by some other window, not its predecessor's.
    void RenewMischief() {
        MidTickMischief*& slot = mischiefs[renewedMischief];
        renewedMischief = (renewedMischief + 1) % mischiefs.size();
        MidTickMischief* old = slot;
        slot = new MidTickMischief;
        if (!slot->CreateSpriteWindow(mainWindowHandle, mainWindowHandle)) {
            delete slot;
            slot = nullptr;
        }
        if (old) {
            DestroyWindow(old->Window());
        }
    }

    // Either ahead of the victim's sign in the walk, so that the sign's entry goes before
    // the walk reaches it, or behind it, so that the sign has already placed itself beside
    // a window that is gone.
    MidTickMischief* MischiefFor(HWND victim, bool aheadOfSign) const {
        const HWND sign = SignOf(victim);
        MidTickMischief* chosen = nullptr;
        for (MidTickMischief* candidate : mischiefs) {
            if (!candidate) {
                continue;
            }
            const bool ahead = HandleBelow(candidate->Window(), sign);
            if (!chosen || ahead == aheadOfSign) {
                chosen = candidate;
            }
        }
        return chosen;
    }

    bool ArmMischief(const TickDraw& draw) {
        // Mostly a window with a sign, whose entry then goes in the middle of the walk.
        const Target* target =
            draw.mischiefRoll % 5 != 0
                ? RandomTarget(draw.mischiefPick,
                               [](const Target& candidate) { return SignOf(candidate.window); })
                : nullptr;
        if (!target) {
            target = TargetToChange(draw.mischiefPick, draw.mischiefRoll % 2 == 0);
        }
        MidTickMischief* mischief =
            target ? MischiefFor(target->window, draw.mischiefAheadOfSign) : nullptr;
        if (!mischief) {
            return false;
        }
        const Target victim = *target;
        const int roll = draw.mischiefRoll;
        const int x = draw.mischiefX;
        const HWND sign = SignOf(victim.window);
        const bool signAhead = sign && HandleBelow(mischief->Window(), sign);
        mischief->Arm([this, victim, roll, x, signAhead] {
            ++counts.midTickChanges;
            if (signAhead && roll < 50) {
                ++counts.signsGoneAheadOfWalk;
            }
            OnThreadOf(victim, [&] {
                if (roll < 50) {
                    DestroyWindow(victim.window);
                } else if (roll < 70) {
                    ShowWindow(victim.window, SW_HIDE);
                } else if (roll < 85) {
                    ShowWindow(victim.window, SW_MINIMIZE);
                } else {
                    SetWindowPos(victim.window, nullptr, x, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                }
            });
        });
        return true;
    }

    void ForgetDeadTargets() {
        std::vector<Target> alive;
        for (const Target& target : targets) {
            if (IsWindow(target.window)) {
                alive.push_back(target);
            }
        }
        targets.swap(alive);
    }

    const unsigned seed;
    const int wantedLaunches;
    // Two streams: new windows come at moments that depend on the program's reactions, so
    // their shapes must not shift the draws of the ticks.
    SoakRandom draws;
    SoakRandom shapes;
    FakeClock clock;
    std::unique_ptr<OtherProgram> other;
    std::vector<Target> targets;
    std::vector<MidTickMischief*> mischiefs = std::vector<MidTickMischief*>(4, nullptr);
    size_t renewedMischief = 0;
    int quietTicks = 0;
    // Each figure out, with the tick on which it was first seen.
    std::map<HWND, int> seenFigures;
    std::map<HWND, int> targetGoneSince;
    std::map<HWND, int32_t> lastSignStates;
    SoakCounts counts;
};

int CountOf(const SoakCounts& counts, Script script) {
    const auto found = counts.scripts.find(script);
    return found == counts.scripts.end() ? 0 : found->second;
}

void PrintCounts(const SoakCounts& counts) {
    std::printf(
        "  %d ticks, %d launches (sign change %d, ladder visit %d, placard %d), %d sparkles\n"
        "  %d target windows, %d events, %d hour jumps, %d changes in the middle of a tick\n"
        "  (%d of them took a sign away ahead of the walk), at most %d figures out at once\n"
        "  face changes begun %d, done %d, abandoned %d\n",
        counts.ticks, counts.launches, CountOf(counts, Script::SignChange),
        CountOf(counts, Script::LadderVisit), CountOf(counts, Script::Placard),
        CountOf(counts, Script::Sparkle), counts.targetsMade, counts.events, counts.hourJumps,
        counts.midTickChanges, counts.signsGoneAheadOfWalk, counts.mostFiguresAtOnce,
        counts.faceChangesBegun, counts.faceChangesDone, counts.faceChangesAbandoned);
}
}  // namespace

TEST(FaultSoakTest, MisbehavingWindowsNeverBreakTheRegistrySignsOrFigures) {
    const unsigned seed = EnvironmentNumber("TARVOLEN_SOAK_SEED", DEFAULT_SEED);
    const int launches =
        static_cast<int>(EnvironmentNumber("TARVOLEN_SOAK_LAUNCHES", DEFAULT_LAUNCHES));
    std::printf("Fault soak: TARVOLEN_SOAK_SEED=%u TARVOLEN_SOAK_LAUNCHES=%d\n", seed, launches);
    std::fflush(stdout);
    RecordProperty("seed", static_cast<int>(seed));

    // A short round first, so that whatever the runtime sets up once is already there.
    {
        FaultSoak warmUp(seed, 5);
        ASSERT_TRUE(warmUp.Run());
    }
    const int gdiAtStart = LiveGdiObjects();
    const size_t heapAtStart = HeapBytesInUse();
    {
        FaultSoak soak(seed, launches);
        ASSERT_TRUE(soak.Run());
        PrintCounts(soak.Counts());
    }
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(LiveGdiObjects(), gdiAtStart);
    EXPECT_EQ(HeapBytesInUse(), heapAtStart);
}
