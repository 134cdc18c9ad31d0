// Sends figures to signs whose target window stays in front.
#pragma once

#include "windows/ScreenWindow.h"

void ScheduleWalker(ScreenWindow* sign, HWND foreground);
