#include "support/FakeQuietSettings.h"

#include "gfx/QuietSettings.h"

namespace {
bool fakeAnimationsOn = true;
int fakeNotificationState = NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS;
int animationReads = 0;
int stateReads = 0;

bool FakeAnimationsOn() {
    ++animationReads;
    return fakeAnimationsOn;
}

int FakeNotificationState() {
    ++stateReads;
    return fakeNotificationState;
}
}  // namespace

FakeQuietSettings::FakeQuietSettings() {
    SetQuietSource({FakeAnimationsOn, FakeNotificationState});
    Answer(true, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
    ReadQuietSettings();
    animationReads = 0;
    stateReads = 0;
}

FakeQuietSettings::~FakeQuietSettings() {
    SetQuietSource({});
    ReadQuietSettings();
}

void FakeQuietSettings::Answer(bool animationsOn, int notificationState) {
    fakeAnimationsOn = animationsOn;
    fakeNotificationState = notificationState;
    animationReads = 0;
    stateReads = 0;
}

int FakeQuietSettings::AnimationReads() const {
    return animationReads;
}

int FakeQuietSettings::StateReads() const {
    return stateReads;
}
