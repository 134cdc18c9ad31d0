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

#include <cstdio>
#include <cstring>
#include <functional>
#include <algorithm>
#include <set>
#include <tuple>

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
unsigned FromEnvironment(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

template <typename Container, typename Predicate>
void EraseIf(Container& container, Predicate predicate) {
    for (auto it = container.begin(); it != container.end();) {
        it = predicate(*it) ? container.erase(it) : std::next(it);
    }
}

// Its own generator, so that the program's rand() draws stay the program's.
struct Random {
    uint32_t state;
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<uint32_t>(bound)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }
};

// Another program: a thread with its own message loop that runs actions on its windows.
class OtherProgram {
public:
    OtherProgram() {
        ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
        WaitForSingleObject(ready, INFINITE);
    }
    ~OtherProgram() {
        PostMessageA(control, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(ready);
    }
    void Run(const std::function<void()>& action) {
        SendMessageA(control, WM_APP, 0, reinterpret_cast<LPARAM>(&action));
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static DWORD WINAPI Main(void* parameter) {
        auto* self = static_cast<OtherProgram*>(parameter);
        self->control = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr);
        SetWindowLongPtrA(self->control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
        SetEvent(self->ready);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
        DestroyWindow(self->control);
        return 0;
    }
    HANDLE ready = nullptr, thread = nullptr;
    HWND control = nullptr;
};

// A registered object whose Tick changes the world between the Ticks of two others.
struct Mischief : ScreenWindow {
    std::function<void()> pending;
    void Tick() override {
        if (pending) {
            std::function<void()> action = std::move(pending);
            pending = nullptr;
            action();
        }
    }
};

const char* const TITLES[] = {"Soak editor",
                              "Soak notes",
                              "Screen Saver",
                              "Tarvolen",
                              "",
                              "A title much longer than the sixty-three characters the "
                              "watcher reads at most"};

bool Gone(const Actor& figure, HWND foreground) {
    const HWND target = figure.Target();
    const LONG style = GetWindowLongA(target, GWL_STYLE);
    RECT now = {};
    if (!IsWindow(target) || (style & (WS_MINIMIZE | WS_MAXIMIZE)) || !(style & WS_VISIBLE) ||
        !foreground) {
        return true;
    }
    if (foreground == target) {
        GetWindowRect(target, &now);
        return !EqualRect(&now, &figure.StartTargetRect());
    }
    return foreground != figure.Window() && foreground != figure.Sign() &&
           KindForWindow(foreground) != KIND_ACTOR;
}

class Soak {
public:
    Soak(unsigned seed, int launches)
        : seed(seed),
          wanted(launches),
          random{seed * 2654435761u + 1},
          clock(LocalTime(2001, 11, 3, 23)) {
        srand(seed);
        ResetScheduler();
        while (targets.size() < 30) {
            AddTarget();
        }
        for (int i = 0; i < 4; ++i) {
            RenewMischief(i);
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
        for (int quiet = 0, sinceLaunch = 0; Count("launch") < wanted; ++tick, ++sinceLaunch) {
            clock.Advance(random.Below(1000) < 2 ? 3600 : random.Between(0, 3));
            if (tick % 50 == 0) {
                RenewMischief(tick / 50 % 4);
            }
            if (quiet > 0) {
                --quiet;
            } else {
                for (int events = random.Below(100) < 35 ? random.Between(1, 3) : 0; events > 0;
                     --events) {
                    RandomEvent();
                }
                PumpMessages();
            }
            const bool mischief = quiet == 0 && random.Below(100) < 4 && ArmMischief();
            const HWND foreground = GetForegroundWindow();
            std::vector<HWND> mustGo;
            for (Actor* figure : Figures()) {
                if (Gone(*figure, foreground)) {
                    mustGo.push_back(figure->Window());
                }
            }
            const int launchesBefore = Count("launch");
            RunTick();
            // A sign in front that hides gives the foreground away within the tick itself.
            const bool foregroundHeld = GetForegroundWindow() == foreground;
            PumpMessages();
            for (HWND figure : mustGo) {
                if (!mischief && foregroundHeld && ObjectForWindow(figure)) {
                    return Failure() << "figure " << figure << " stayed after its reason to go";
                }
            }
            if (testing::AssertionResult checked = Check(); !checked) {
                return checked;
            }
            sinceLaunch = Count("launch") > launchesBefore ? 0 : sinceLaunch;
            if (sinceLaunch > 1000) {
                return Failure() << "no figure for 1000 ticks";
            }
            // Now and then the user keeps still, so that walks play to their end: the longer
            // scripts more often.
            for (const auto& [script, percent, longest] : {std::tuple{"sign change", 50, 900},
                                                           {"ladder visit", 30, 600},
                                                           {"placard", 5, 300}}) {
                if (Count(script) > launched[script]) {
                    quiet = random.Below(100) < percent ? random.Between(50, longest) : quiet;
                }
                launched[script] = Count(script);
            }
            quiet = Figures().empty() ? 0 : quiet;
        }
        return testing::AssertionSuccess();
    }

    int Count(const std::string& what) const {
        const auto found = counts.find(what);
        return found == counts.end() ? 0 : found->second;
    }
    void Print() const {
        std::printf("  %d ticks\n", tick);
        for (const auto& [what, count] : counts) {
            std::printf("  %s: %d\n", what.c_str(), count);
        }
    }

private:
    testing::AssertionResult Failure() {
        return testing::AssertionFailure() << "seed " << seed << ", tick " << tick << ": ";
    }

    // Every entry a live sprite of the right kind, one sign a window, no sign long beyond its
    // target, no figure forever, busySign clear with no walker out.
    testing::AssertionResult Check() {
        std::set<HWND> signed_, out;
        bool walkerOut = false;
        std::string problem;
        handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
            char className[32] = {};
            GetClassNameA(window, className, sizeof(className));
            const auto* sign = dynamic_cast<SignWindow*>(object);
            const auto* figure = dynamic_cast<Actor*>(object);
            if (!IsWindow(window) || object->Window() != window ||
                std::strcmp(className, "TarvolenStrollkin") != 0) {
                problem = "an entry names no live sprite window";
            } else if (sign) {
                if (sign->Kind() != KIND_SIGN || !signed_.insert(sign->Target()).second ||
                    ObjectForWindow(sign->Target())) {
                    problem = "a sign of the wrong kind, a second sign, or a sign on a sprite";
                } else if (!IsWindow(sign->Target()) &&
                           tick - goneSince.emplace(window, tick).first->second >= 2) {
                    problem = "a sign outlived its target by two ticks";
                }
                const auto [last, fresh] = states.emplace(window, sign->State());
                if (!fresh && last->second != sign->State()) {
                    ++counts[sign->State() == SIGN_CHANGING   ? "face change begun"
                             : sign->State() == SIGN_NEW_FACE ? "face change done"
                                                              : "face change abandoned"];
                }
                last->second = sign->State();
            } else if (figure) {
                out.insert(window);
                walkerOut = walkerOut || dynamic_cast<const Walker*>(figure);
                const auto [seen, fresh] = firstSeen.emplace(window, tick);
                if (fresh) {
                    static const char* const NAMES[] = {"?", "sign change", "ladder visit",
                                                        "placard", "sparkle"};
                    ++counts[NAMES[static_cast<int>(ScriptOf(object))]];
                    counts["launch"] += ScriptOf(object) != Script::Sparkle;
                }
                if (figure->Kind() != KIND_ACTOR || tick - seen->second > 1500) {
                    problem = "a figure of the wrong kind, or one that never ends";
                }
            } else if (std::find(std::begin(mischiefs), std::end(mischiefs), object) ==
                       std::end(mischiefs)) {
                problem = "an entry holds an unknown object";
            }
        });
        EraseIf(firstSeen, [&](const auto& entry) { return !out.count(entry.first); });
        EraseIf(goneSince, [](const auto& entry) { return !ObjectForWindow(entry.first); });
        EraseIf(states, [](const auto& entry) { return !ObjectForWindow(entry.first); });
        if (problem.empty() && busySign && !walkerOut) {
            problem = "busySign is set with no walker out";
        }
        return problem.empty() ? testing::AssertionSuccess() : Failure() << problem;
    }

    void OnThreadOf(HWND window, const std::function<void()>& action) {
        if (foreignWindows.count(window)) {
            other.Run(action);
        } else {
            action();
        }
    }

    void AddTarget() {
        TestWindowOptions options;
        options.title = TITLES[random.Below(100) < 80 ? random.Below(2) : random.Below(6)];
        // Many near the left edge, where walks are short.
        options.x = random.Below(100) < 40 ? random.Between(122, 260) : random.Between(-40, 700);
        options.y = random.Between(0, 560);
        options.width = random.Below(100) < 85 ? random.Between(150, 420) : random.Between(5, 150);
        options.height = random.Below(100) < 85 ? random.Between(90, 330) : random.Between(40, 120);
        options.colour = random.Next() & 0xFFFFFF;
        options.exStyle = random.Below(100) < 5 ? WS_EX_TOOLWINDOW : 0;
        const bool foreign = random.Below(100) < 35;
        // An owned window gets no sign while its owner shows.
        options.owner = random.Below(100) < 10 ? Pick(foreign) : nullptr;
        HWND window = nullptr;
        const auto create = [&] { window = CreateTestWindow(options); };
        foreign ? other.Run(create) : create();
        if (window) {
            targets.emplace_back(window, foreign);
            if (foreign) {
                foreignWindows.insert(window);
            }
        }
    }

    // A live target, often the one in front, so that the figure at work is disturbed.
    HWND Pick(int foreign) {
        EraseIf(targets, [](const auto& target) { return !IsWindow(target.first); });
        std::vector<HWND> candidates;
        for (const auto& [window, isForeign] : targets) {
            if (foreign < 0 || isForeign == bool(foreign)) {
                candidates.push_back(window);
            }
        }
        const HWND front = GetForegroundWindow();
        if (random.Below(100) < 40 && std::count(candidates.begin(), candidates.end(), front)) {
            return front;
        }
        return candidates.empty() ? nullptr : candidates[random.Below(int(candidates.size()))];
    }

    void RandomEvent() {
        static const struct {
            int weight;
            void (*act)(HWND, int x, int y, const char* title);
        } changes[] = {
            {30,
             [](HWND w, int, int, const char*) {
                 if (IsIconic(w)) {
                     ShowWindow(w, SW_RESTORE);
                 }
                 SetForegroundWindow(w);
             }},
            {13,
             [](HWND w, int x, int y, const char*) {
                 SetWindowPos(w, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
             }},
            {8,
             [](HWND w, int x, int y, const char*) {
                 SetWindowPos(w, nullptr, 0, 0, x / 2 + 5, y / 2 + 40, SWP_NOMOVE | SWP_NOZORDER);
             }},
            {4, [](HWND w, int, int, const char*) { ShowWindow(w, SW_MAXIMIZE); }},
            {5, [](HWND w, int, int, const char*) { ShowWindow(w, SW_MINIMIZE); }},
            {7, [](HWND w, int, int, const char*) { ShowWindow(w, SW_RESTORE); }},
            {4, [](HWND w, int, int, const char*) { ShowWindow(w, SW_HIDE); }},
            {4, [](HWND w, int, int, const char*) { ShowWindow(w, SW_SHOWNA); }},
            {4, [](HWND w, int, int, const char*) { DestroyWindow(w); }},
            {6, [](HWND w, int, int, const char* title) { SetWindowTextA(w, title); }},
        };
        int roll = random.Below(100);
        if (roll < 6) {
            // Nothing in front, or the main window, as while the tray menu is open.
            SetForegroundWindow(mainWindowHandle);
            if (roll < 4) {
                SetActiveWindow(nullptr);
            }
        } else if (roll < 12) {
            std::vector<HWND> sprites;
            handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
                if (!dynamic_cast<Mischief*>(object) && IsWindowVisible(window)) {
                    sprites.push_back(window);
                }
            });
            if (!sprites.empty()) {
                SetForegroundWindow(sprites[random.Below(int(sprites.size()))]);
            }
        } else if (roll < 15) {
            if (targets.size() < 40) {
                AddTarget();
            }
        } else if (const HWND window = Pick(-1)) {
            const int x = random.Between(-60, 760), y = random.Between(0, 600);
            const char* title = TITLES[random.Below(6)];
            int pick = random.Below(85);
            for (const auto& change : changes) {
                if (pick < change.weight) {
                    OnThreadOf(window, [&] { change.act(window, x, y, title); });
                    break;
                }
                pick -= change.weight;
            }
        }
        if (targets.size() < 20) {
            AddTarget();
        }
    }

    // Made anew now and then, so that they sit at changing places in the handle order.
    void RenewMischief(int slot) {
        if (mischiefs[slot]) {
            DestroyWindow(mischiefs[slot]->Window());
        }
        mischiefs[slot] = new Mischief;
        if (!mischiefs[slot]->CreateSpriteWindow(mainWindowHandle, mainWindowHandle)) {
            delete mischiefs[slot];
            mischiefs[slot] = nullptr;
        }
    }

    // Mostly a window with a sign: either the sign's entry goes before the walk reaches it,
    // or the sign has already placed itself beside a window that is gone.
    bool ArmMischief() {
        const HWND victim = Pick(-1);
        Mischief* mischief = mischiefs[random.Below(4)];
        if (!victim || !mischief) {
            return false;
        }
        const int roll = random.Below(100), x = random.Between(-60, 760);
        mischief->pending = [this, victim, roll, x] {
            ++counts["change in the middle of a tick"];
            OnThreadOf(victim, [&] {
                if (roll < 50) {
                    DestroyWindow(victim);
                } else if (roll < 70) {
                    ShowWindow(victim, SW_HIDE);
                } else if (roll < 85) {
                    ShowWindow(victim, SW_MINIMIZE);
                } else {
                    SetWindowPos(victim, nullptr, x, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                }
            });
        };
        return true;
    }

    const unsigned seed;
    const int wanted;
    Random random;
    FakeClock clock;
    OtherProgram other;
    std::vector<std::pair<HWND, bool>> targets;
    std::set<HWND> foreignWindows;
    Mischief* mischiefs[4] = {};
    int tick = 0;
    std::map<std::string, int> launched;
    std::map<HWND, int> firstSeen, goneSince;
    std::map<HWND, int32_t> states;
    std::map<std::string, int> counts;
};
}  // namespace

TEST(FaultSoakTest, MisbehavingWindowsNeverBreakTheRegistrySignsOrFigures) {
    const unsigned seed = FromEnvironment("TARVOLEN_SOAK_SEED", 5171301);
    const int launches = static_cast<int>(FromEnvironment("TARVOLEN_SOAK_LAUNCHES", 60));
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
        soak.Print();
        for (const char* needed : {"sign change", "ladder visit", "placard", "sparkle",
                                   "face change done", "change in the middle of a tick"}) {
            EXPECT_GT(soak.Count(needed), 0) << needed;
        }
    }
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(LiveGdiObjects(), gdiAtStart);
    EXPECT_EQ(HeapBytesInUse(), heapAtStart);
}
