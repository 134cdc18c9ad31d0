#include "support/FakeQuietSettings.h"

#include "gfx/QuietSettings.h"

FakeQuietSettings::FakeQuietSettings() {
    SetQuietSource({ReadAnimations, ReadState});
    Answer(true, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
    ReadQuietSettings();
    animationReads = stateReads = 0;
}

FakeQuietSettings::~FakeQuietSettings() {
    SetQuietSource({});
    ReadQuietSettings();
}

void FakeQuietSettings::Answer(bool animationsOn, int notificationState) {
    animations = animationsOn;
    state = notificationState;
    animationReads = stateReads = 0;
}

bool FakeQuietSettings::ReadAnimations() {
    ++animationReads;
    return animations;
}

int FakeQuietSettings::ReadState() {
    ++stateReads;
    return state;
}
