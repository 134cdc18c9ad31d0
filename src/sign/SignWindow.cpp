#include "sign/SignWindow.h"

#include "gfx/Clock.h"
#include "gfx/Monitors.h"
#include "gfx/RegionResource.h"
#include "gfx/WindowFrame.h"

#include <shellapi.h>

namespace {
// Sizes the hidden window to its face and leaves everything else as it is.
constexpr UINT SIZE_ONLY_FLAGS =
    SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER;  // 790

// Where a sign of this width hangs beside the target: bracket on its left edge, tops level.
PointD PositionBeside(const RECT& targetRect, int32_t width) {
    return PointD{static_cast<double>(targetRect.left - width),
                  static_cast<double>(targetRect.top)};
}
}  // namespace

ScreenMonitor MonitorForTarget(const RECT& targetFrame) {
    return MonitorForPoint(targetFrame.left, targetFrame.top);
}

bool TargetFitsSign(const RECT& targetFrame, int32_t scale) {
    return targetFrame.bottom - targetFrame.top >= SIGN_MIN_TARGET_HEIGHT * scale &&
           targetFrame.right - targetFrame.left >= SIGN_MIN_TARGET_WIDTH * scale;
}

time_t FaceChangeCutover() {
    // Standard time on purpose (tm_isdst 0): the library must not guess daylight saving.
    // mktime normalises its argument, so every call converts a fresh copy.
    std::tm cutover = {};
    cutover.tm_sec = 0;
    cutover.tm_min = 0;
    cutover.tm_hour = 0;
    cutover.tm_mday = 4;
    cutover.tm_mon = 10;
    cutover.tm_year = 101;
    cutover.tm_wday = 0;
    cutover.tm_yday = 0;
    cutover.tm_isdst = 0;
    return std::mktime(&cutover);
}

SignWindow::SignWindow() {
    // A failed conversion gives -1, which every real time exceeds: the new face.
    state = CurrentTime() > FaceChangeCutover() ? SIGN_NEW_FACE : SIGN_OLD_FACE;
}

bool SignWindow::Create(HWND mainWindowHandle, HWND targetWindow) {
    target = targetWindow;
    return CreateSpriteWindow(mainWindowHandle, targetWindow);
}

int SignWindow::HandleMessage(HWND handle, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_CREATE:
            OnCreate(handle);
            return 1;
        case WM_PAINT:
            OnPaint(handle);
            return 1;
        case WM_TIMER:
            Tick();
            return 1;
        case WM_LBUTTONUP:
            ShellExecuteA(handle, "Open", SPONSOR_PAGE, nullptr, nullptr, SW_SHOWNORMAL);
            return 1;
        case WM_ERASEBKGND:
            return 1;
        case WM_SPRITE_CLOSE:
            DestroyWindow(handle);
            return 1;
        case WM_SIGN_BEGIN_CHANGE:
            BeginChange(handle);
            return 1;
        case WM_SIGN_COMMIT_CHANGE:
            CommitChange(handle);
            return 1;
        case WM_SIGN_CANCEL_CHANGE:
            CancelChange(handle);
            return 1;
        default:
            return 0;
    }
}

void SignWindow::OnCreate(HWND handle) {
    SetResourceId(state == SIGN_OLD_FACE ? SIGN_OLD_FACE_BITMAP : SIGN_NEW_FACE_BITMAP);
    RECT targetRect;
    if (VisibleFrame(target, targetRect)) {
        monitor = MonitorForTarget(targetRect);
        scale = ScaleForDpi(monitor.dpi);
    }
    LoadFace(handle);
}

void SignWindow::LoadFace(HWND handle) {
    Load(instance, false, scale);
    ApplyRegionResource(instance, handle,
                        state == SIGN_CHANGING ? SIGN_RIM_REGION : SIGN_SHAPE_REGION, true, scale);
    SetWindowPos(handle, HWND_TOPMOST, 0, 0, width, height, SIZE_ONLY_FLAGS);
}

void SignWindow::FollowMonitor(const RECT& targetRect) {
    monitor = MonitorForTarget(targetRect);
    const int32_t monitorScale = ScaleForDpi(monitor.dpi);
    if (monitorScale == scale) {
        return;
    }
    scale = monitorScale;
    Unload();
    LoadFace(window);
}

void SignWindow::OnPaint(HWND handle) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle, &paint);
    if (dc) {
        Paint(dc);
    }
    EndPaint(handle, &paint);
}

void SignWindow::BeginChange(HWND handle) {
    if (state != SIGN_OLD_FACE) {
        return;
    }
    ApplyRegionResource(instance, handle, SIGN_RIM_REGION, false, scale);
    state = SIGN_CHANGING;
}

void SignWindow::CommitChange(HWND handle) {
    if (state != SIGN_CHANGING) {
        return;
    }
    Unload();
    SetResourceId(SIGN_NEW_FACE_BITMAP);
    Load(instance, false, scale);
    // Repainted at once, unseen under the figure that still covers the face: a window
    // whose contents the system keeps would otherwise show the old face again when the
    // figure moves away, as nothing would make it paint.
    ApplyRegionResource(instance, handle, SIGN_SHAPE_REGION, true, scale);
    state = SIGN_NEW_FACE;
}

void SignWindow::CancelChange(HWND handle) {
    if (state != SIGN_CHANGING) {
        return;
    }
    ApplyRegionResource(instance, handle, SIGN_SHAPE_REGION, true, scale);
    state = SIGN_OLD_FACE;
}

void SignWindow::Tick() {
    if (!target) {
        return;
    }
    RECT targetRect;
    if (!VisibleFrame(target, targetRect)) {
        // Destroying here would pull the entry out from under the registry walk.
        PostMessageA(window, WM_SPRITE_CLOSE, 0, 0);
        return;
    }
    wantedFlags = SIGN_PLACE_FLAGS;
    const LONG style = GetWindowLongA(target, GWL_STYLE);
    if (style & WS_MINIMIZE) {
        return;
    }
    // Hidden too: the target may have reached a monitor of another scale, or the user
    // changed it, and the size rule below goes by the scale.
    FollowMonitor(targetRect);
    // A target too small for a new sign does not show its old one either.
    const bool hide = (style & WS_MAXIMIZE) || !(style & WS_VISIBLE) ||
                      !TargetFitsSign(targetRect, scale) || IsCloaked(target);
    if (hide) {
        wantedFlags = SIGN_HIDE_FLAGS;
    } else {
        wantedPosition = PositionBeside(targetRect, width);
        wantedFlags = SIGN_SHOW_FLAGS;
    }
    if (wantedPosition == placedPosition && wantedFlags == placedFlags) {
        return;
    }
    placedPosition = wantedPosition;
    placedFlags = wantedFlags;
    SetWindowPos(window, target, static_cast<int>(placedPosition.x),
                 static_cast<int>(placedPosition.y), 0, 0, static_cast<UINT>(placedFlags));
}

bool SignWindow::QueryProperty(int id, LONG_PTR& value, ScreenWindow*& object) {
    switch (id) {
        case PROP_SIGN:
            value = 0;
            object = this;
            return true;
        case PROP_TARGET:
            value = reinterpret_cast<LONG_PTR>(target);
            object = this;
            return true;
        default:
            return FrameBitmap::QueryProperty(id, value, object);
    }
}
