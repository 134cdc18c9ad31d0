// Sends figures, one at a time and well apart, to the sign of the window the user keeps in
// front, and chooses which script each one plays.
#pragma once

#include <windows.h>

#include <ctime>

class SignWindow;

// The sign whose figure is out; null while none is. Only whether it is null matters.
extern HWND busySign;
// When the last figure was launched or ended, whichever came later.
extern time_t lastLaunchTime;
// From this day on, a sign that still shows the old face gets the figure that swaps it.
// mktime normalises the record in place each time the rule is evaluated.
extern std::tm FaceChangeStart;

// Called by the tick, right after the sign's own Tick, while its target is in front.
void ScheduleWalker(SignWindow* sign, HWND foreground);
