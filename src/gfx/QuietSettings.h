// Whether the user asked Windows for calm: no motion ("Show animations in Windows" off), or
// no interruptions now (a full-screen program, a presentation, quiet hours). The answers
// are read at chosen moments and kept, so that every tick may ask for nothing. Behind a
// swappable source, like the clock, so that tests can give any answer.
#pragma once

// What SHQueryUserNotificationState answers (QUNS_*); headers for Windows XP lack them.
enum NotificationState : int {
    NOTIFICATION_STATE_NOT_PRESENT = 1,
    NOTIFICATION_STATE_BUSY = 2,
    NOTIFICATION_STATE_D3D_FULL_SCREEN = 3,
    NOTIFICATION_STATE_PRESENTATION_MODE = 4,
    NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS = 5,
    NOTIFICATION_STATE_QUIET_TIME = 6,
    NOTIFICATION_STATE_APP = 7,
};

struct QuietSource {
    // What SPI_GETCLIENTAREAANIMATION says.
    bool (*animationsOn)();
    // What SHQueryUserNotificationState says.
    int (*notificationState)();
};

// Swaps the source, returning the one it replaces; a null member restores the system's.
QuietSource SetQuietSource(QuietSource source);

// Reads both answers now.
void ReadQuietSettings();
// Reads the animation setting alone, when the system says that a setting changed.
void ReadAnimationSetting();

// The answers of the last reads; before the first, animations are on and nobody is busy.
bool AnimationsOn();
bool UserWantsQuiet();
