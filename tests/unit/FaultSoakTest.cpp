// The tick against dozens of windows that misbehave at random: they move, resize, maximise,
// minimise, hide, close and change their titles, the foreground jumps between them, to no
// window, to the main window and to the signs and figures, and now and then one goes in the
// middle of a tick. A third live on a second thread, as another program's windows do. The
// desktop changes too: monitors come, go, move and change scale, announced or not, and window
// frames get Windows 10's invisible borders or lose them. The clock runs ahead, so figures
// come all the time, and now and then the user turns animations off for a tick. After every
// tick one checker holds the program to its rules; at the end the user quits in the middle of
// whatever walks are out, and GDI objects and heap use are back where they started.
//   TARVOLEN_SOAK_SEED=<seed>        repeat the storm of a seed (printed first)
//   TARVOLEN_SOAK_LAUNCHES=<count>   figures to launch (default 60; 2000 is a long soak)
#include <gtest/gtest.h>

#include <malloc.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <new>
#include <set>
#include <thread>

#include "actors/Scheduler.h"
#include "actors/Walker.h"
#include "app/MainWindow.h"
#include "gfx/QuietSettings.h"
#include "support/ApiCounter.h"
#include "support/WalkStage.h"

// Bytes allocated with new and not yet deleted, as the program allocates everything. Freed
// blocks are scribbled over, so that a call on an object already deleted crashes here.
std::atomic<size_t> heapInUse{0};
// Both out of line: inlined into new and delete expressions, malloc() and free() would look
// mismatched.
__attribute__((noinline)) void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) {
        throw std::bad_alloc();
    }
    heapInUse += _msize(block);
    return block;
}
__attribute__((noinline)) void operator delete(void* block) noexcept {
    if (block) {
        heapInUse -= _msize(block);
        std::memset(block, 0xDD, _msize(block));
        std::free(block);
    }
}
void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace {
using Action = std::function<void()>;

// Another program: a thread with its own message loop that runs actions for the soak.
class OtherProgram {
public:
    OtherProgram() {
        while (!control) {
            Sleep(1);
        }
    }
    ~OtherProgram() {
        PostMessageA(control, WM_QUIT, 0, 0);
        thread.join();
    }
    void Run(const Action& action) { SendMessageA(control, WM_APP, 0, LPARAM(&action)); }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            (*reinterpret_cast<const Action*>(lParam))();
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    std::atomic<HWND> control{nullptr};
    std::thread thread{[this] {
        HWND window = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
        control = window;
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
        DestroyWindow(window);
    }};
};

// A registered object whose Tick changes the world between the Ticks of two others.
struct Mischief : ScreenWindow {
    Action pending;
    void Tick() override {
        if (const Action action = std::exchange(pending, nullptr)) {
            action();
        }
    }
};

// The real screen cut into monitors in several ways, the primary first.
const std::vector<std::vector<RECT>> LAYOUTS = {
    {{0, 0, 1024, 768}},
    {{0, 0, 512, 768}, {512, 0, 1024, 768}},
    {{512, 0, 1024, 768}, {0, 0, 512, 768}},
    {{0, 0, 1024, 384}, {0, 384, 1024, 768}},
    {{0, 0, 700, 768}},
};
const UINT DPIS[] = {96, 96, 120, 144, 192, 288};

constexpr const char* LONG_TITLE =
    "A title longer than the sixty-three characters the watcher reads";
const char* const TITLES[] = {"Soak editor", "Soak notes", "Screen Saver",
                              "Tarvolen",    "",           LONG_TITLE};

class Soak {
public:
    Soak(unsigned seed, int launches)
        : seed(seed), wanted(launches), state(seed * 2654435761u + 1) {
        layoutVersion = MonitorLayoutVersion();
        srand(seed);
        ResetScheduler();
        for (const char* what : {"launch", "sign change", "ladder visit", "placard", "sparkle",
                                 "change in the middle of a tick", "new monitors",
                                 "figure out when the monitors changed"}) {
            counts[what] = 0;
        }
        while (targets.size() < 30) {
            AddTarget();
        }
    }
    ~Soak() {
        DestroyAllSprites();
        for (const auto& [window, foreign] : targets) {
            OnThread(foreign, [w = window] { DestroyWindow(w); });
        }
        PumpMessages();
        ResetScheduler();
    }

    testing::AssertionResult Run() {
        for (int quiet = 0, idle = 0; counts["launch"] < wanted; ++tick) {
            // Its own generator, so that the program's rand() draws stay the program's.
            clock.Advance(Below(1000) < 2 ? 3600 : Below(4));
            if (!AnimationsOn()) {
                Animate(true);
            }
            if (tick % 50 == 0) {
                // Made anew now and then, so that it sits at changing places in the walk.
                if (mischief) {
                    DestroyWindow(mischief->Window());
                }
                mischief = new Mischief;
                mischief->CreateSpriteWindow(mainWindowHandle, mainWindowHandle);
            }
            for (int events = quiet > 0 || Below(100) >= 35 ? 0 : 1 + Below(3); events > 0;
                 --events) {
                RandomEvent();
            }
            if (quiet == 0 && Below(100) < 4) {
                ArmMischief();
            } else if (quiet > 0 && Below(1000) < 1) {
                // Even a user who keeps still may dock the laptop.
                ChangeDesktop();
            }
            const int launches = counts["launch"];
            PumpMessages();
            RunTicks(1);
            if (const std::string problem = Check(); !problem.empty()) {
                return testing::AssertionFailure()
                       << "seed " << seed << ", tick " << tick << ": " << problem;
            }
            if ((idle = counts["launch"] > launches ? 0 : idle + 1) > 1000) {
                return testing::AssertionFailure() << "seed " << seed << ": no figure for long";
            }
            // Now and then the user keeps still, so that walks play to their end.
            quiet = idle == 0 && Below(100) < 60 ? 100 + Below(1400) : std::max(quiet - 1, 0);
            quiet = Figures().empty() ? 0 : quiet;
        }
        return testing::AssertionSuccess();
    }

    // Each must happen for the soak to have shown anything.
    std::map<std::string, int> counts;

private:
    // As the system tells the program of the user's change.
    void Animate(bool on) {
        settings.Answer(on, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
        SendMessageA(mainWindowHandle, WM_SETTINGCHANGE, 0x1043 /* client area animation */, 0);
    }

    int Below(int bound) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return int(state % uint32_t(bound));
    }

    // Every entry a live sprite of the right kind, one sign a window, none on a sprite or
    // two ticks beyond its target, no figure forever or a tick beyond its monitors, a sign
    // at its target's scale while neither moved, busySign clear with no walker out.
    std::string Check() {
        const bool newMonitors = MonitorLayoutVersion() != layoutVersion;
        layoutVersion = MonitorLayoutVersion();
        counts["figure out when the monitors changed"] += newMonitors && !firstSeen.empty();
        static const char* const SCRIPTS[] = {"?", "sign change", "ladder visit", "placard",
                                              "sparkle"};
        std::set<HWND> signed_;
        std::map<HWND, int> seen, gone;
        bool walkerOut = false;
        std::string problem;
        handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
            char className[32] = {};
            GetClassNameA(window, className, sizeof(className));
            const auto* sign = dynamic_cast<SignWindow*>(object);
            const auto* figure = dynamic_cast<Actor*>(object);
            const auto since = [window, this](std::map<HWND, int>& was) {
                return was.count(window) ? was[window] : tick;
            };
            if (!IsWindow(window) || object->Window() != window ||
                std::strcmp(className, "TarvolenStrollkin") != 0) {
                problem = "an entry names no live sprite window";
            } else if (sign) {
                if (sign->Kind() != KIND_SIGN || !signed_.insert(sign->Target()).second ||
                    ObjectForWindow(sign->Target())) {
                    problem = "a sign of the wrong kind, a second sign, or a sign on a sprite";
                } else if (!IsWindow(sign->Target()) &&
                           tick - (gone[window] = since(goneSince)) >= 2) {
                    problem = "a sign outlived its target by two ticks";
                } else if (!ScaleHeld(*sign, newMonitors)) {
                    problem = "a sign changed scale while its target and the monitors stayed";
                }
            } else if (figure) {
                walkerOut = walkerOut || dynamic_cast<const Walker*>(figure);
                if (!firstSeen.count(window)) {
                    ++counts[SCRIPTS[int(ScriptOf(object))]];
                    counts["launch"] += ScriptOf(object) != Script::Sparkle;
                }
                if (figure->Kind() != KIND_ACTOR ||
                    tick - (seen[window] = since(firstSeen)) > 1500 || !AnimationsOn()) {
                    problem =
                        "a figure of the wrong kind, one that never ends, or one out with "
                        "animations off";
                } else if (outlived.count(window)) {
                    problem = "a figure outlived its monitors by more than a tick";
                }
            } else if (object != mischief) {
                problem = "an entry holds an unknown object";
            }
        });
        firstSeen.swap(seen);
        goneSince.swap(gone);
        outlived.clear();
        for (const auto& [window, since] : firstSeen) {
            // Out before this tick, so it set out on the monitors as they were.
            if (newMonitors && since < tick) {
                outlived.insert(window);
            }
        }
        return problem.empty() && busySign && !walkerOut ? "busySign is set with no walker out"
                                                         : problem;
    }

    // Once it had a tick to follow its target's frame and the monitors, its scale holds while
    // neither changes.
    bool ScaleHeld(const SignWindow& sign, bool newMonitors) {
        RECT frame = {};
        SignSeen& seen = seenSigns[sign.Window()];
        const bool still = VisibleFrame(sign.Target(), frame) && !IsIconic(sign.Target()) &&
                           !newMonitors && EqualRect(&seen.frame, &frame);
        const bool held = !still || seen.stillChecks < 1 || seen.scale == sign.Scale();
        seen = {frame, sign.Scale(), still ? seen.stillChecks + 1 : 0};
        return held;
    }

    // New monitors, new scales or new frames, told to the program as the system would tell it,
    // or not at all for a scale.
    void ChangeDesktop() {
        const int roll = Below(100);
        if (roll < 25) {
            frames.SetBorder(Below(3) * 7);
            return;
        }
        std::vector<MonitorArea> monitors;
        for (const RECT& bounds : LAYOUTS[Below(int(LAYOUTS.size()))]) {
            monitors.push_back({bounds, DPIS[Below(6)]});
        }
        desktop.Lay(monitors);
        ++counts["new monitors"];
        if (roll < 80) {
            SendMessageA(mainWindowHandle, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
        }
    }

    void OnThread(bool foreign, const Action& action) { foreign ? other.Run(action) : action(); }

    // The live targets of either thread (-1) or of one.
    std::vector<HWND> Live(int foreign = -1) {
        std::vector<HWND> live;
        for (const auto& [window, isForeign] : targets) {
            if (IsWindow(window) && (foreign < 0 || isForeign == bool(foreign))) {
                live.push_back(window);
            }
        }
        return live;
    }
    // Often the one in front.
    HWND Pick(int foreign = -1) {
        const std::vector<HWND> live = Live(foreign);
        if (Below(100) < 40 && std::count(live.begin(), live.end(), GetForegroundWindow())) {
            return GetForegroundWindow();
        }
        return live.empty() ? nullptr : live[Below(int(live.size()))];
    }

    void AddTarget() {
        TestWindowOptions options;
        options.title = TITLES[Below(100) < 80 ? Below(2) : Below(6)];
        // Many near the left edge, where walks are short.
        options.x = Below(100) < 40 ? 122 + Below(140) : Below(740) - 40;
        options.y = Below(560);
        const bool small = Below(100) < 15;
        options.width = small ? 5 + Below(145) : 150 + Below(270);
        options.height = small ? 40 + Below(80) : 90 + Below(240);
        options.colour = RGB(Below(256), Below(256), Below(256));
        options.exStyle = Below(100) < 5 ? WS_EX_TOOLWINDOW : 0;
        const bool foreign = Below(100) < 35;
        // An owned window gets no sign while its owner shows.
        options.owner = Below(100) < 10 ? Pick(foreign) : nullptr;
        HWND window = nullptr;
        OnThread(foreign, [&] { window = CreateTestWindow(options); });
        if (window) {
            targets[window] = foreign;
        }
    }

    void RandomEvent() {
        const int x = Below(820) - 60, y = Below(600);
        const HWND window = Pick();
        const char* title = TITLES[Below(6)];
        std::vector<HWND> sprites;
        handleRegistry.Walk([&](HWND sprite, ScreenWindow*) {
            if (IsWindowVisible(sprite)) {
                sprites.push_back(sprite);
            }
        });
        const HWND sprite = sprites.empty() ? nullptr : sprites[Below(int(sprites.size()))];
        // Chances in percent; the first six do not act on the picked window.
        const std::pair<int, Action> events[] = {
            {2, [this] { Animate(false); }},
            {3, [this] { ChangeDesktop(); }},
            {4, [] { SetForegroundWindow(mainWindowHandle), SetActiveWindow(nullptr); }},
            {2, [] { SetForegroundWindow(mainWindowHandle); }},
            {6, [=] { sprite ? void(SetForegroundWindow(sprite)) : void(); }},
            {3, [this] { Live().size() < 40 ? AddTarget() : void(); }},
            {30,
             [=] {
                 if (IsIconic(window)) {
                     ShowWindow(window, SW_RESTORE);
                 }
                 SetForegroundWindow(window);
             }},
            {13, [=] { SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }},
            {8,
             [=] {
                 SetWindowPos(window, nullptr, 0, 0, 5 + x / 2, 40 + y / 2,
                              SWP_NOMOVE | SWP_NOZORDER);
             }},
            {4, [=] { ShowWindow(window, SW_MAXIMIZE); }},
            {5, [=] { ShowWindow(window, SW_MINIMIZE); }},
            {7, [=] { ShowWindow(window, SW_RESTORE); }},
            {4, [=] { ShowWindow(window, SW_HIDE); }},
            {4, [=] { ShowWindow(window, SW_SHOWNA); }},
            {4, [=] { DestroyWindow(window); }},
            {100, [=] { SetWindowTextA(window, title); }},
        };
        size_t event = 0;
        for (int rest = Below(100); rest >= events[event].first; ++event) {
            rest -= events[event].first;
        }
        event < 6 ? events[event].second()
        : window  ? OnThread(targets[window], events[event].second)
                  : void();
        if (Live().size() < 20) {
            AddTarget();
        }
    }

    // Mostly a window with a sign: either its entry goes before the walk reaches it, or it
    // has already placed itself beside a window that is gone.
    void ArmMischief() {
        const HWND victim = Pick();
        const int roll = Below(100), x = Below(820) - 60;
        if (!victim || !mischief) {
            return;
        }
        mischief->pending = [this, victim, roll, x, foreign = targets[victim]] {
            ++counts["change in the middle of a tick"];
            if (roll % 10 == 0) {
                ChangeDesktop();
                return;
            }
            OnThread(foreign, [&] {
                roll < 50   ? void(DestroyWindow(victim))
                : roll < 70 ? void(ShowWindow(victim, SW_HIDE))
                : roll < 85
                    ? void(ShowWindow(victim, SW_MINIMIZE))
                    : void(SetWindowPos(victim, nullptr, x, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
            });
        };
    }

    const unsigned seed;
    const int wanted;
    uint32_t state;
    FakeClock clock{LocalTime(2001, 11, 3, 18)};
    FakeMonitors desktop{{{LAYOUTS[0][0]}}};
    FakeFrames frames{0};
    FakeQuietSettings settings;
    uint32_t layoutVersion = 0;
    struct SignSeen {
        RECT frame;
        int32_t scale;
        int stillChecks;
    };
    std::map<HWND, SignSeen> seenSigns;
    std::set<HWND> outlived;
    OtherProgram other;
    std::map<HWND, bool> targets;  // whether each lives on the other thread
    Mischief* mischief = nullptr;
    int tick = 0;
    std::map<HWND, int> firstSeen, goneSince;
};

unsigned FromEnvironment(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text && *text ? unsigned(std::strtoul(text, nullptr, 10)) : fallback;
}
}  // namespace

TEST(FaultSoakTest, MisbehavingWindowsNeverBreakTheRegistrySignsOrFigures) {
    const unsigned seed = FromEnvironment("TARVOLEN_SOAK_SEED", 5171301);
    const int launches = int(FromEnvironment("TARVOLEN_SOAK_LAUNCHES", 60));
    std::printf("TARVOLEN_SOAK_SEED=%u TARVOLEN_SOAK_LAUNCHES=%d\n", seed, launches);
    // What the figures share goes with the last of them: no GDI object stays from the warm-up.
    const int gdiAtStart = LiveGdiObjects();
    {
        // Whatever the runtime sets up once is there before the heap is counted.
        Soak warmUp(seed, 3);
        ASSERT_TRUE(warmUp.Run());
    }
    const size_t heapAtStart = heapInUse;
    {
        Soak soak(seed, launches);
        ASSERT_TRUE(soak.Run());
        for (const auto& [what, count] : soak.counts) {
            std::printf("  %s: %d\n", what.c_str(), count);
            EXPECT_GT(count, 0) << what;
        }
        DestroyWindow(mainWindowHandle);
    }
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(LiveGdiObjects(), gdiAtStart);
    EXPECT_EQ(heapInUse, heapAtStart);
    ASSERT_TRUE(RestartMainWindow());
}
