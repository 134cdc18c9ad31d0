// The round sign hanging outside the top-left corner of one target window: its bracket
// touches the target's left edge, its top is level with the target's top.
#pragma once

#include "gfx/Monitors.h"
#include "windows/FrameBitmap.h"

#include <ctime>

constexpr int32_t SIGN_OLD_FACE_BITMAP = 4001;
constexpr int32_t SIGN_NEW_FACE_BITMAP = 4002;
// The whole sign, and its rim and bracket alone while a figure swaps the face.
constexpr int SIGN_SHAPE_REGION = 5001;
constexpr int SIGN_RIM_REGION = 5002;

// The smallest target that gets a sign and lets it show: 11 x 76 pixels at scale 1.
constexpr LONG SIGN_MIN_TARGET_WIDTH = 11;
constexpr LONG SIGN_MIN_TARGET_HEIGHT = 76;

// SetWindowPos flags of a placement: the window is moved, never sized or activated.
constexpr UINT SIGN_PLACE_FLAGS = SWP_NOSIZE | SWP_NOACTIVATE;       // 17
constexpr UINT SIGN_SHOW_FLAGS = SIGN_PLACE_FLAGS | SWP_SHOWWINDOW;  // 81
constexpr UINT SIGN_HIDE_FLAGS = SIGN_PLACE_FLAGS | SWP_HIDEWINDOW;  // 145

// The monitor a sign belongs to, and so its scale and the edge its figures come in over: the
// one holding its target's top-left corner. Not the one under the sign itself, whose size
// would depend on the answer.
ScreenMonitor MonitorForTarget(const RECT& targetFrame);
// Whether a target of this visible frame is large enough to get and show a sign at scale.
bool TargetFitsSign(const RECT& targetFrame, int32_t scale);

// Signs made after this moment (local time, 2001-11-04 00:00:00) start with the new face.
time_t FaceChangeCutover();

class SignWindow : public FrameBitmap {
public:
    SignWindow();

    // Stores the target and creates the hidden sign window owned by it; true when the
    // window exists.
    bool Create(HWND mainWindow, HWND target);

    int HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Follows the target: shows, moves or hides the sign, or closes it when the target is
    // gone. Calls the platform only when the placement changes.
    void Tick() override;
    bool QueryProperty(int id, LONG_PTR& value, ScreenWindow*& object) override;

    int32_t State() const { return state; }
    HWND Target() const { return target; }
    // What was last sent to SetWindowPos; kept unchanged while the target is minimised.
    PointD PlacedPosition() const { return placedPosition; }
    int32_t PlacedFlags() const { return placedFlags; }
    // The monitor it belongs to, as of its last tick.
    const ScreenMonitor& Monitor() const { return monitor; }
    // Screen pixels per picture pixel: that monitor's scale.
    int32_t Scale() const { return scale; }

protected:
    int32_t state = SIGN_OLD_FACE;
    HWND target = nullptr;
    PointD placedPosition;
    PointD wantedPosition;
    int32_t placedFlags = 0;
    int32_t wantedFlags = 0;
    int32_t scale = 1;
    ScreenMonitor monitor;

private:
    void OnCreate(HWND window);
    void OnPaint(HWND window);
    void BeginChange(HWND window);
    void CommitChange(HWND window);
    void CancelChange(HWND window);
    // Loads the face and the shape of the current state at the current scale, and sizes
    // the window to them.
    void LoadFace(HWND window);
    // Takes the monitor and the scale of a target at targetRect.
    void FollowMonitor(const RECT& targetRect);
};
