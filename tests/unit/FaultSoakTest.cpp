// The tick against dozens of windows that misbehave at random: they move, resize, maximise,
// minimise, hide, close and change their titles, the foreground jumps between them, to no
// window, to the main window and to the signs and figures, and now and then one goes in the
// middle of a tick. A third live on a second thread, as another program's windows do. The
// clock runs ahead, so figures come all the time. After every tick one checker holds the
// program to its rules; at the end GDI objects and heap use are back where they started.
//   TARVOLEN_SOAK_SEED=<seed>        repeat the storm of a seed (printed first)
//   TARVOLEN_SOAK_LAUNCHES=<count>   figures to launch (default 60; 2000 is a long soak)
#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <set>
#include <thread>

#include "actors/Scheduler.h"
#include "actors/Walker.h"
#include "app/MainWindow.h"
#include "support/ApiCounter.h"
#include "support/MemoryUse.h"
#include "support/WalkStage.h"

// Freed blocks are scribbled over, so that a call on an object already deleted crashes here.
// Out of line: inlined into a delete expression, free() would look mismatched.
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

const char* const TITLES[] = {"Soak editor",
                              "Soak notes",
                              "Screen Saver",
                              "Tarvolen",
                              "",
                              "A title longer than the sixty-three characters the watcher reads"};

// What the figure itself is to notice on its next Tick.
bool ReasonToGo(const Actor& figure, HWND foreground) {
    const HWND target = figure.Target();
    const LONG style = GetWindowLongA(target, GWL_STYLE);
    RECT now = {};
    if (!IsWindow(target) || (style & (WS_MINIMIZE | WS_MAXIMIZE)) || !(style & WS_VISIBLE) ||
        !foreground) {
        return true;
    }
    if (foreground == target) {
        return GetWindowRect(target, &now) && !EqualRect(&now, &figure.StartTargetRect());
    }
    return foreground != figure.Window() && foreground != figure.Sign() &&
           KindForWindow(foreground) != KIND_ACTOR;
}

class Soak {
public:
    Soak(unsigned seed, int launches)
        : seed(seed), wanted(launches), state(seed * 2654435761u + 1) {
        srand(seed);
        ResetScheduler();
        while (targets.size() < 30) {
            AddTarget();
        }
    }
    ~Soak() {
        DestroyAllSprites();
        for (const auto& [window, foreign] : targets) {
            OnThreadOf(window, [w = window] { DestroyWindow(w); });
        }
        PumpMessages();
        ResetScheduler();
    }

    testing::AssertionResult Run() {
        for (int quiet = 0, idle = 0; counts["launch"] < wanted; ++tick, ++idle) {
            // Its own generator, so that the program's rand() draws stay the program's.
            clock.Advance(Below(1000) < 2 ? 3600 : Below(4));
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
            PumpMessages();
            quiet = std::max(quiet - 1, 0);
            const bool armed = quiet == 0 && Below(100) < 4 && ArmMischief();
            const HWND foreground = GetForegroundWindow();
            std::vector<HWND> mustGo;
            for (Actor* figure : Figures()) {
                if (ReasonToGo(*figure, foreground)) {
                    mustGo.push_back(figure->Window());
                }
            }
            const std::map<std::string, int> before = counts;
            RunTick();
            // A sign in front that hides gives the foreground away within the tick itself.
            const bool held = GetForegroundWindow() == foreground;
            PumpMessages();
            for (HWND figure : mustGo) {
                if (!armed && held && ObjectForWindow(figure)) {
                    return Failure() << "figure " << figure << " stayed after its reason to go";
                }
            }
            if (const std::string problem = Check(); !problem.empty()) {
                return Failure() << problem;
            }
            if ((idle = counts["launch"] > before.at("launch") ? 0 : idle) > 1000) {
                return Failure() << "no figure for 1000 ticks";
            }
            // Now and then the user keeps still so that walks play to their end, the longer
            // ones more often.
            for (const auto& [script, percent, longest] : {std::tuple{"sign change", 50, 900},
                                                           {"ladder visit", 30, 600},
                                                           {"placard", 5, 300}}) {
                if (counts[script] > before.at(script) && Below(100) < percent) {
                    quiet = 50 + Below(longest - 50);
                }
            }
            quiet = Figures().empty() ? 0 : quiet;
        }
        return testing::AssertionSuccess();
    }

    // Each must happen for the soak to have shown anything.
    std::map<std::string, int> counts = {
        {"launch", 0},  {"sign change", 0}, {"ladder visit", 0},
        {"placard", 0}, {"sparkle", 0},     {"change in the middle of a tick", 0}};

private:
    testing::AssertionResult Failure() {
        return testing::AssertionFailure() << "seed " << seed << ", tick " << tick << ": ";
    }
    int Below(int bound) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return int(state % uint32_t(bound));
    }

    // Every entry a live sprite of the right kind, one sign a window, none on a sprite or
    // two ticks beyond its target, no figure forever, busySign clear with no walker out.
    std::string Check() {
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
            const auto since = [window](std::map<HWND, int>& was, int now) {
                return was.count(window) ? was[window] : now;
            };
            if (!IsWindow(window) || object->Window() != window ||
                std::strcmp(className, "TarvolenStrollkin") != 0) {
                problem = "an entry names no live sprite window";
            } else if (sign) {
                if (sign->Kind() != KIND_SIGN || !signed_.insert(sign->Target()).second ||
                    ObjectForWindow(sign->Target())) {
                    problem = "a sign of the wrong kind, a second sign, or a sign on a sprite";
                } else if (!IsWindow(sign->Target()) &&
                           tick - (gone[window] = since(goneSince, tick)) >= 2) {
                    problem = "a sign outlived its target by two ticks";
                }
            } else if (figure) {
                walkerOut = walkerOut || dynamic_cast<const Walker*>(figure);
                seen[window] = since(firstSeen, tick);
                if (!firstSeen.count(window)) {
                    ++counts[SCRIPTS[int(ScriptOf(object))]];
                    counts["launch"] += ScriptOf(object) != Script::Sparkle;
                }
                if (figure->Kind() != KIND_ACTOR || tick - seen[window] > 1500) {
                    problem = "a figure of the wrong kind, or one that never ends";
                }
            } else if (object != mischief) {
                problem = "an entry holds an unknown object";
            }
        });
        firstSeen.swap(seen);
        goneSince.swap(gone);
        return problem.empty() && busySign && !walkerOut ? "busySign is set with no walker out"
                                                         : problem;
    }

    void OnThreadOf(HWND window, const Action& action) {
        foreign.count(window) ? other.Run(action) : action();
    }

    void AddTarget() {
        TestWindowOptions options;
        options.title = TITLES[Below(100) < 80 ? Below(2) : Below(6)];
        // Many near the left edge, where walks are short.
        options.x = Below(100) < 40 ? 122 + Below(140) : Below(740) - 40;
        options.y = Below(560);
        options.width = Below(100) < 85 ? 150 + Below(270) : 5 + Below(145);
        options.height = Below(100) < 85 ? 90 + Below(240) : 40 + Below(80);
        options.colour = RGB(Below(256), Below(256), Below(256));
        options.exStyle = Below(100) < 5 ? WS_EX_TOOLWINDOW : 0;
        const bool elsewhere = Below(100) < 35;
        // An owned window gets no sign while its owner shows.
        options.owner = Below(100) < 10 ? Pick(elsewhere ? 1 : 0) : nullptr;
        HWND window = nullptr;
        const Action create = [&] { window = CreateTestWindow(options); };
        elsewhere ? other.Run(create) : create();
        if (window) {
            targets.emplace_back(window, elsewhere);
            if (elsewhere) {
                foreign.insert(window);
            }
        }
    }

    // A live target of either thread (-1) or of one; often the one in front.
    HWND Pick(int elsewhere) {
        std::vector<HWND> candidates;
        for (const auto& [window, isForeign] : targets) {
            if (IsWindow(window) && (elsewhere < 0 || isForeign == bool(elsewhere))) {
                candidates.push_back(window);
            }
        }
        const HWND front = GetForegroundWindow();
        if (Below(100) < 40 && std::count(candidates.begin(), candidates.end(), front)) {
            return front;
        }
        return candidates.empty() ? nullptr : candidates[Below(int(candidates.size()))];
    }

    void RandomEvent() {
        const int roll = Below(100), x = Below(820) - 60, y = Below(600), pick = Below(1000);
        const HWND window = Pick(-1);
        const char* title = TITLES[Below(6)];
        std::vector<HWND> sprites;
        handleRegistry.Walk([&](HWND sprite, ScreenWindow*) {
            if (IsWindowVisible(sprite)) {
                sprites.push_back(sprite);
            }
        });
        // Chances in percent; the first four do not act on the picked window.
        const std::pair<int, Action> events[] = {
            {4, [] { SetForegroundWindow(mainWindowHandle), SetActiveWindow(nullptr); }},
            {2, [] { SetForegroundWindow(mainWindowHandle); }},
            {6,
             [&] {
                 sprites.empty() ? void()
                                 : void(SetForegroundWindow(sprites[pick % sprites.size()]));
             }},
            {3, [this] { targets.size() < 40 ? AddTarget() : void(); }},
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
        int rest = roll;
        for (size_t i = 0; i < std::size(events); rest -= events[i++].first) {
            if (rest < events[i].first) {
                i < 4 ? events[i].second() : window ? OnThreadOf(window, events[i].second) : void();
                break;
            }
        }
        if (std::count_if(targets.begin(), targets.end(),
                          [](auto& t) { return IsWindow(t.first); }) < 20) {
            AddTarget();
        }
    }

    // Mostly a window with a sign: either its entry goes before the walk reaches it, or it
    // has already placed itself beside a window that is gone.
    bool ArmMischief() {
        const HWND victim = Pick(-1);
        const int roll = Below(100), x = Below(820) - 60;
        if (!victim || !mischief) {
            return false;
        }
        mischief->pending = [this, victim, roll, x] {
            ++counts["change in the middle of a tick"];
            OnThreadOf(victim, [&] {
                roll < 50   ? void(DestroyWindow(victim))
                : roll < 70 ? void(ShowWindow(victim, SW_HIDE))
                : roll < 85
                    ? void(ShowWindow(victim, SW_MINIMIZE))
                    : void(SetWindowPos(victim, nullptr, x, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
            });
        };
        return true;
    }

    const unsigned seed;
    const int wanted;
    uint32_t state;
    FakeClock clock{LocalTime(2001, 11, 3, 23)};
    OtherProgram other;
    std::vector<std::pair<HWND, bool>> targets;
    std::set<HWND> foreign;
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
    {
        // Whatever the runtime sets up once is there before the counting starts.
        Soak warmUp(seed, 3);
        ASSERT_TRUE(warmUp.Run());
    }
    const int gdiAtStart = LiveGdiObjects();
    const size_t heapAtStart = HeapBytesInUse();
    {
        Soak soak(seed, launches);
        ASSERT_TRUE(soak.Run());
        for (const auto& [what, count] : soak.counts) {
            std::printf("  %s: %d\n", what.c_str(), count);
            EXPECT_GT(count, 0) << what;
        }
    }
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(LiveGdiObjects(), gdiAtStart);
    EXPECT_EQ(HeapBytesInUse(), heapAtStart);
}
