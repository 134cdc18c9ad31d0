// Replaces the program's quiet settings with answers the test gives, at first "go", and
// counts how often the program asks; restores the system's settings when it goes.
#pragma once

class FakeQuietSettings {
public:
    FakeQuietSettings();
    ~FakeQuietSettings();
    FakeQuietSettings(const FakeQuietSettings&) = delete;
    FakeQuietSettings& operator=(const FakeQuietSettings&) = delete;

    // Changes the answers; the program sees them at its next read.
    void Answer(bool animationsOn, int notificationState);
    // Reads of the animation setting and of the notification state since the last Answer.
    int AnimationReads() const { return animationReads; }
    int StateReads() const { return stateReads; }

private:
    static bool ReadAnimations();
    static int ReadState();

    static inline bool animations = true;
    static inline int state = 0, animationReads = 0, stateReads = 0;
};
