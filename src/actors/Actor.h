// One animated figure: a frame set bound to a top-most popup that looks transparent because
// it keeps a clean copy of the screen under itself and composes every frame over it.
// Derived classes load the frames and decide, tick by tick, which frame to show and where.
#pragma once

#include "gfx/Monitors.h"
#include "windows/FrameSet.h"

class Actor : public FrameSet {
public:
    // Remembers the target's rectangle: the figure leaves as soon as it changes while the
    // target is in front.
    Actor(HWND sign, HWND target);
    ~Actor() override;

    int HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Closes the figure when the user left its target or turned animations off, else shows
    // at most one new frame.
    void Tick() override;

    // Moves the point (a copy of the origin) and returns the frame to show now, or a
    // negative value to keep the picture and the origin as they are.
    virtual int32_t NextFrame(double& x, double& y) = 0;
    // Fills the frame set while the window is being created.
    virtual int32_t LoadFrames() = 0;

    // Creates the hidden popup, owned by the main window; the frames load during the call.
    bool Create(HWND mainWindow);
    void SetOrigin(int32_t x, int32_t y);
    // The monitor the figure belongs to: with neighbours, nothing of it shows beyond.
    void SetMonitor(const ScreenMonitor& screen) { monitor = screen; }

    // Where a frame stands on the screen when drawn at this origin.
    static RectI FrameScreenRect(const FrameBitmap& frame, const PointD& origin);

    HWND Sign() const { return sign; }
    HWND Target() const { return target; }
    const RECT& StartTargetRect() const { return startTargetRect; }
    const FrameBitmap* PreviousFrame() const { return previousFrame; }
    PointD PreviousOrigin() const { return previousOrigin; }
    PointD Origin() const { return origin; }
    RectI WindowRect() const { return windowRect; }
    // The picture the last frame was composed on; all figures share it.
    HBITMAP ComposedBitmap() const;
    HBITMAP SavedBackground() const { return savedBackground; }
    int32_t AppliedRegion() const { return appliedRegion; }
    const ScreenMonitor& Monitor() const { return monitor; }

protected:
    // The usual LoadFrames: frames firstBitmap onward with masks, placed by the offset table
    // and, when one is given, shaped by the region table.
    void LoadScriptFrames(int32_t firstBitmap, int32_t frameCount, const FrameOffset* offsets,
                          const int32_t* regionIds = nullptr);

    // Shows frame index at origin: reshapes the window when the frame asks for another
    // region, then captures, composes and moves the window over the dirty rectangle.
    void Render(HDC dc, int32_t index);

    HWND sign = nullptr;
    HWND target = nullptr;
    RECT startTargetRect = {};
    FrameBitmap* previousFrame = nullptr;
    PointD previousOrigin;
    PointD origin;
    RectI windowRect;
    RectI newRect;
    HBITMAP savedBackground = nullptr;
    int32_t wantedRegion = -1;
    int32_t appliedRegion = -1;
    ScreenMonitor monitor;
    // The desktop's monitors as they were when the figure set out.
    uint32_t monitorLayout = 0;

private:
    void Close();
    // False when the user left the target, or changed it, since the figure set out.
    bool UserStayedWithTarget();
    void PaintComposed(HWND window);
    // Gives the window the shape of the frame it shows, or none.
    void RestoreShape();
    // Leaves at once, unseen, when the desktop changed under the figure.
    void Vanish();
    // Gives the window a shape, or none; the window owns it from then on.
    void GiveShape(HRGN shape);
    void CutToMonitor(HRGN shape, const RectI& at) const;
    // Moves the window to rect with the frame's shape, cut off beyond its monitor when another
    // monitor could show it there; gives it its own shape back once it is inside again.
    void MoveOnMonitor(const RectI& rect);
    // The shape the window must take before it moves from windowRect to rect, so that it shows
    // nothing beyond its monitor at either place; null when shape itself will do.
    HRGN ShapeBeforeMove(HRGN shape, const RectI& rect) const;

    // Where the window was last cut off at its monitor's edges (unset while it is not), and
    // the region its shape was last made from.
    RectI clippedRect;
    int32_t shapedRegion = -1;
};
