#include "actors/Actor.h"

#include <shellapi.h>

#include "gfx/ComposeCanvas.h"
#include "gfx/Drawing.h"
#include "gfx/QuietSettings.h"
#include "gfx/RegionResource.h"
#include "gfx/WindowFrame.h"
#include "windows/HandleRegistry.h"

namespace {
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER
constexpr UINT MAKE_TOPMOST_FLAGS = 531;
// SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_NOCOPYBITS |
// SWP_NOOWNERZORDER
constexpr UINT SHOW_FRAME_FLAGS = 884;
constexpr UINT HIDE_FLAGS =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW | SWP_NOOWNERZORDER;

// Toward zero, after the addition, as every position handed to the platform.
int32_t Truncate(double value) {
    return static_cast<int32_t>(value);
}

// The frame at origin into the shared canvas, whose top-left corner is the window's.
void DrawOnCanvas(const FrameBitmap& frame, const PointD& origin, const RectI& window) {
    const PointD drawOffset = frame.Offset();
    composeCanvas.Draw(frame.Bitmap(), frame.Mask(), TRANSPARENT_KEY,
                       Truncate(origin.x + drawOffset.x - window.x),
                       Truncate(origin.y + drawOffset.y - window.y));
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Inside(const RectI& rect, const RECT& area) {
    return rect.x >= area.left && rect.y >= area.top && rect.x + rect.width <= area.right &&
           rect.y + rect.height <= area.bottom;
}
}  // namespace

Actor::Actor(HWND signWindow, HWND targetWindow)
    : sign(signWindow), target(targetWindow), monitorLayout(MonitorLayoutVersion()) {
    VisibleFrame(target, startTargetRect);
    composeCanvas.Hold();
}

Actor::~Actor() {
    if (savedBackground) {
        DeleteObject(savedBackground);
    }
    composeCanvas.Drop();
}

bool Actor::Create(HWND mainWindowHandle) {
    return CreateSpriteWindow(mainWindowHandle, mainWindowHandle);
}

void Actor::SetOrigin(int32_t x, int32_t y) {
    origin = PointD{static_cast<double>(x), static_cast<double>(y)};
}

HBITMAP Actor::ComposedBitmap() const {
    return savedBackground ? composeCanvas.Bitmap() : nullptr;
}

RectI Actor::FrameScreenRect(const FrameBitmap& frame, const PointD& at) {
    const PointD drawOffset = frame.Offset();
    return RectI{Truncate(at.x + drawOffset.x), Truncate(at.y + drawOffset.y), frame.Width(),
                 frame.Height()};
}

int Actor::HandleMessage(HWND handle, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_CREATE:
            LoadFrames();
            SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, MAKE_TOPMOST_FLAGS);
            return 1;
        case WM_DESTROY:
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintComposed(handle);
            return 1;
        case WM_TIMER:
            Tick();
            return 1;
        case WM_LBUTTONUP:
            ShellExecuteA(handle, "Open", SPONSOR_PAGE, nullptr, nullptr, SW_SHOWNORMAL);
            return 1;
        case WM_SPRITE_CLOSE:
            DestroyWindow(handle);
            return 1;
        default:
            return 0;
    }
}

void Actor::LoadScriptFrames(int32_t firstBitmap, int32_t frameCount, const FrameOffset* offsets,
                             const int32_t* regionIds) {
    Reserve(frameCount);
    AddRange(firstBitmap, firstBitmap + frameCount - 1, nullptr);
    LoadAll(instance, true);
    SetOffsets(offsets);
    if (regionIds) {
        SetRegionIds(regionIds);
    }
}

void Actor::PaintComposed(HWND handle) {
    PAINTSTRUCT paint;
    HDC paintDc = BeginPaint(handle, &paint);
    // Nothing was shown before the first frame, and the window is hidden until then.
    if (savedBackground && previousFrame &&
        composeCanvas.Fit(windowRect.width, windowRect.height)) {
        composeCanvas.CopyFrom(savedBackground, 0, 0, windowRect.width, windowRect.height, 0, 0);
        DrawOnCanvas(*previousFrame, previousOrigin, windowRect);
        composeCanvas.Show(paintDc, windowRect.width, windowRect.height);
    }
    EndPaint(handle, &paint);
}

void Actor::RestoreShape() {
    if (appliedRegion > 0) {
        ApplyRegionResource(instance, window, appliedRegion, true, Scale());
    } else {
        SetWindowRgn(window, nullptr, TRUE);
    }
}

void Actor::GiveShape(HRGN shape) {
    // From a successful call on, the window owns the region.
    if (!SetWindowRgn(window, shape, TRUE) && shape) {
        DeleteObject(shape);
    }
}

void Actor::CutToMonitor(HRGN shape, const RectI& at) const {
    const RECT& area = monitor.bounds;
    HRGN onMonitor =
        CreateRectRgn(area.left - at.x, area.top - at.y, area.right - at.x, area.bottom - at.y);
    if (onMonitor) {
        CombineRgn(shape, shape, onMonitor, RGN_AND);
        DeleteObject(onMonitor);
    }
}

HRGN Actor::ShapeBeforeMove(HRGN shape, const RectI& rect) const {
    const bool moves = windowRect.width >= 0 && (windowRect.x != rect.x || windowRect.y != rect.y);
    if (!moves) {
        return nullptr;
    }
    HRGN wanted = CreateRectRgn(0, 0, rect.width, rect.height);
    HRGN before = CreateRectRgn(0, 0, 0, 0);
    if (!wanted || !before) {
        DeleteObject(wanted);
        return before;
    }
    if (shape) {
        CombineRgn(wanted, shape, nullptr, RGN_COPY);
    }
    CombineRgn(before, wanted, nullptr, RGN_COPY);
    CutToMonitor(before, windowRect);
    const bool needed = !EqualRgn(before, wanted);
    DeleteObject(wanted);
    if (!needed) {
        DeleteObject(before);
        return nullptr;
    }
    return before;
}

void Actor::MoveOnMonitor(const RectI& rect) {
    const auto move = [&] {
        SetWindowPos(window, HWND_TOPMOST, rect.x, rect.y, rect.width, rect.height,
                     SHOW_FRAME_FLAGS);
    };
    // On a single monitor nothing beyond its edges can show anyway: the frame's shape is
    // given before the capture, as always.
    if (monitor.monitorCount <= 1) {
        move();
        return;
    }
    const bool sticksOut = !Inside(rect, monitor.bounds);
    if (appliedRegion == shapedRegion &&
        (sticksOut ? rect == clippedRect : clippedRect.width < 0)) {
        move();
        return;
    }
    HRGN shape =
        appliedRegion > 0 ? CreateRegionFromResource(instance, appliedRegion, Scale()) : nullptr;
    if (sticksOut) {
        if (!shape) {
            shape = CreateRectRgn(0, 0, rect.width, rect.height);
        }
        CutToMonitor(shape, rect);
    }
    clippedRect = sticksOut ? rect : RectI{};
    shapedRegion = appliedRegion;
    // Until it has moved, the window stands where it was: what it shows there must stay on
    // the monitor as well, so it shows the smaller of the two shapes in between.
    if (HRGN before = ShapeBeforeMove(shape, rect)) {
        GiveShape(before);
        move();
        GiveShape(shape);
        return;
    }
    GiveShape(shape);
    move();
}

void Actor::Vanish() {
    // What it saved under itself shows a desktop that has changed since: hidden at once, and
    // with nothing kept to paint again until it closes.
    SetWindowPos(window, nullptr, 0, 0, 0, 0, HIDE_FLAGS);
    if (savedBackground) {
        DeleteObject(savedBackground);
        savedBackground = nullptr;
    }
    Close();
}

void Actor::Close() {
    PostMessageA(window, WM_SPRITE_CLOSE, 0, 0);
}

bool Actor::UserStayedWithTarget() {
    const HWND foreground = GetForegroundWindow();
    if (!foreground) {
        return false;
    }
    if (foreground == window) {
        return true;
    }
    if (foreground == target) {
        // A failing query leaves the rectangle as it was: the target counts as unmoved.
        RECT now = startTargetRect;
        VisibleFrame(target, now);
        return SameRect(now, startTargetRect);
    }
    return foreground == sign || KindForWindow(foreground) == KIND_ACTOR;
}

void Actor::Tick() {
    if (!IsWindow(window)) {
        return;
    }
    // The user asked for no motion: the figure must not finish its walk.
    if (!AnimationsOn()) {
        Close();
        return;
    }
    // Its monitor went away, moved or changed scale.
    if (MonitorLayoutVersion() != monitorLayout) {
        Vanish();
        return;
    }
    if (!IsWindow(target)) {
        Close();
        return;
    }
    const LONG style = GetWindowLongA(target, GWL_STYLE);
    if ((style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0 || (style & WS_VISIBLE) == 0 ||
        IsCloaked(target)) {
        Close();
        return;
    }
    if (!UserStayedWithTarget()) {
        Close();
        return;
    }

    double x = origin.x;
    double y = origin.y;
    const int32_t index = NextFrame(x, y);
    if (index < 0) {
        return;
    }
    origin = PointD{x, y};
    HDC dc = GetDC(window);
    Render(dc, index);
    ReleaseDC(window, dc);
}

void Actor::Render(HDC dc, int32_t index) {
    FrameBitmap* frame = FrameAt(index);
    if (!frame) {
        return;
    }
    if (!frame->Bitmap()) {
        // Nothing to draw it with, but it counts as shown: the scripts step on from the
        // current frame, and would otherwise ask for this one forever.
        SetCurrent(index);
        return;
    }

    wantedRegion = frame->RegionId();
    if (wantedRegion != appliedRegion) {
        appliedRegion = wantedRegion;
        // Beside other monitors the shape comes with the move, cut to what may show.
        if (monitor.monitorCount <= 1) {
            RestoreShape();
        }
        if (wantedRegion > 0) {
            // The new shape fits this frame alone, so the window must not span the last one.
            previousFrame = nullptr;
        }
    }

    const RectI frameRect = FrameScreenRect(*frame, origin);
    newRect = frameRect;
    if (previousFrame) {
        const RectI previousRect = FrameScreenRect(*previousFrame, previousOrigin);
        UnionRects(previousRect, frameRect, newRect.x, newRect.y, newRect.width, newRect.height);
        // Only overlapping frames share a window; one that jumped gets its own rectangle.
        if (newRect.width >= frameRect.width + previousRect.width ||
            newRect.height >= frameRect.height + previousRect.height) {
            newRect = frameRect;
        }
    }

    if (newRect != windowRect) {
        const bool captured = composeCanvas.CaptureScreen(newRect);
        int x, y, width, height;
        if (captured && savedBackground &&
            IntersectRects(windowRect, newRect, x, y, width, height)) {
            // There the screen shows the figure itself; the earlier copy is the clean one.
            composeCanvas.CopyFrom(savedBackground, x - newRect.x, y - newRect.y, width, height,
                                   x - windowRect.x, y - windowRect.y);
        }
        if (captured) {
            savedBackground = composeCanvas.SaveTo(savedBackground, newRect.width, newRect.height);
        } else if (savedBackground) {
            DeleteObject(savedBackground);
            savedBackground = nullptr;
        }
    } else if (savedBackground && composeCanvas.Fit(newRect.width, newRect.height)) {
        composeCanvas.CopyFrom(savedBackground, 0, 0, newRect.width, newRect.height, 0, 0);
    }

    DrawOnCanvas(*frame, origin, newRect);

    MoveOnMonitor(newRect);
    // Shown at once, the frame needs no paint message, which would have to compose it again.
    composeCanvas.Show(dc, newRect.width, newRect.height);
    ValidateRect(window, nullptr);

    windowRect = newRect;
    SetCurrent(index);
    previousFrame = FrameAt(index);
    previousOrigin = origin;
}
