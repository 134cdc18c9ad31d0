#include "actors/Scheduler.h"

void ScheduleWalker(ScreenWindow*, HWND) {}
