#include "actors/Scheduler.h"

#include "actors/LadderVisitWalker.h"
#include "actors/PlacardWalker.h"
#include "actors/SignChangeWalker.h"
#include "gfx/Clock.h"
#include "gfx/QuietSettings.h"
#include "sign/SignWindow.h"

#include <cstdint>
#include <cstdlib>
#include <new>

HWND busySign = nullptr;
time_t lastLaunchTime = 0;
// 10 September 2001, midnight, taken as daylight-saving time.
std::tm FaceChangeStart = {
    0,    // tm_sec
    0,    // tm_min
    0,    // tm_hour
    10,   // tm_mday
    8,    // tm_mon
    101,  // tm_year
    0,    // tm_wday
    0,    // tm_yday
    1,    // tm_isdst
};

namespace {
constexpr int64_t WALKER_SPACING_SECONDS = 10;
// A figure that never ends must not silence the program for good.
constexpr int64_t BUSY_ESCAPE_SECONDS = 3600;
constexpr int LADDER_VISIT_PERCENT = 34;

// Widened, so that a stamp near the end of the 32-bit range cannot wrap.
bool Within(time_t now, time_t since, int64_t seconds) {
    return static_cast<int64_t>(now) < static_cast<int64_t>(since) + seconds;
}

bool FaceChangeDue(const SignWindow& sign) {
    return sign.State() == SIGN_OLD_FACE && std::mktime(&FaceChangeStart) < CurrentTime();
}
}  // namespace

void ScheduleWalker(SignWindow* sign, HWND foreground) {
    if (!sign) {
        return;
    }
    if (!AnimationsOn() || UserWantsQuiet()) {
        return;
    }
    if (busySign && Within(CurrentTime(), lastLaunchTime, BUSY_ESCAPE_SECONDS)) {
        return;
    }
    if (sign->PlacedFlags() & SWP_HIDEWINDOW) {
        return;
    }
    // Asked after the spacing, which settles most ticks without a look at the monitors.
    if (Within(CurrentTime(), lastLaunchTime, WALKER_SPACING_SECONDS)) {
        return;
    }
    // A sign sticking out over its monitor's left edge leaves no room to walk in.
    const ScreenMonitor& monitor = sign->Monitor();
    if (sign->PlacedPosition().x < monitor.bounds.left) {
        return;
    }

    const HWND signWindow = sign->Window();
    Walker* walker = nullptr;
    if (FaceChangeDue(*sign)) {
        walker = new (std::nothrow) SignChangeWalker(signWindow, foreground);
    } else if (rand() % 100 < LADDER_VISIT_PERCENT) {
        // The ladder would stand in the way of the face being swapped.
        if (sign->State() == SIGN_CHANGING) {
            return;
        }
        walker = new (std::nothrow) LadderVisitWalker(signWindow, foreground);
    } else {
        walker = new (std::nothrow) PlacardWalker(signWindow, foreground);
    }
    if (!walker) {
        return;
    }

    walker->SetKind(KIND_ACTOR);
    // The whole walk keeps the sign's scale and monitor.
    walker->SetScale(sign->Scale());
    walker->SetMonitor(monitor);
    if (walker->Create(sign->MainWindow())) {
        busySign = signWindow;
    } else {
        // Never registered, so nobody else will delete it.
        delete walker;
    }
    lastLaunchTime = CurrentTime();
}
