// Where a window really shows, and whether it shows at all. Windows 10 and 11 report a
// window rectangle 7 pixels (at 100 %) wider on the left, right and bottom than the frame
// they draw, and may cloak a window whose style still says visible (on another virtual
// desktop, or a suspended app); DWM tells both. Behind a swappable source, like the clock,
// so that tests can give a window such borders.
#pragma once

#include <windows.h>

struct FrameSource {
    // The frame as drawn, in screen coordinates; false when the window is gone.
    bool (*visibleFrame)(HWND window, RECT& frame);
    bool (*cloaked)(HWND window);
};

// Swaps the source, returning the one it replaces; a null member restores the system's.
FrameSource SetFrameSource(FrameSource source);

// What DWM gives as the window's frame where it can, else its window rectangle.
bool VisibleFrame(HWND window, RECT& frame);
// What DWM says; a window it cannot tell about is not cloaked.
bool IsCloaked(HWND window);
