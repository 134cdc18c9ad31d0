#include "gfx/QuietSettings.h"

#include "gfx/SystemFunction.h"

#include <windows.h>

namespace {
// Windows Vista and later; older systems refuse it, and animations stay on there.
constexpr UINT GET_CLIENT_AREA_ANIMATION = 0x1042;

using QueryNotificationStateFunction = HRESULT(WINAPI*)(int*);

bool SystemAnimationsOn() {
    BOOL on = TRUE;
    if (!SystemParametersInfoA(GET_CLIENT_AREA_ANIMATION, 0, &on, 0)) {
        return true;
    }
    return on != FALSE;
}

// Windows Vista and later only.
int SystemNotificationState() {
    static const auto query = SystemFunction<QueryNotificationStateFunction>(
        "shell32.dll", "SHQueryUserNotificationState");
    int state = NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS;
    if (!query || query(&state) != S_OK) {
        return NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS;
    }
    return state;
}

QuietSource quietSource = {SystemAnimationsOn, SystemNotificationState};
bool animationsOn = true;
bool userWantsQuiet = false;
}  // namespace

QuietSource SetQuietSource(QuietSource source) {
    const QuietSource previous = quietSource;
    quietSource.animationsOn = source.animationsOn ? source.animationsOn : SystemAnimationsOn;
    quietSource.notificationState =
        source.notificationState ? source.notificationState : SystemNotificationState;
    return previous;
}

void ReadQuietSettings() {
    ReadAnimationSetting();
    switch (quietSource.notificationState()) {
        case NOTIFICATION_STATE_BUSY:
        case NOTIFICATION_STATE_D3D_FULL_SCREEN:
        case NOTIFICATION_STATE_PRESENTATION_MODE:
        case NOTIFICATION_STATE_QUIET_TIME:
            userWantsQuiet = true;
            break;
        default:
            userWantsQuiet = false;
            break;
    }
}

void ReadAnimationSetting() {
    animationsOn = quietSource.animationsOn();
}

bool AnimationsOn() {
    return animationsOn;
}

bool UserWantsQuiet() {
    return userWantsQuiet;
}
