#include "gfx/WindowFrame.h"

#include "gfx/SystemFunction.h"

namespace {
// dwmapi's attribute ids; headers for Windows XP lack them.
constexpr DWORD EXTENDED_FRAME_BOUNDS = 9;
constexpr DWORD CLOAKED = 14;

using GetWindowAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

// Windows Vista and later only.
GetWindowAttributeFunction DwmWindowAttribute() {
    static const auto function =
        SystemFunction<GetWindowAttributeFunction>("dwmapi.dll", "DwmGetWindowAttribute");
    return function;
}

bool SystemVisibleFrame(HWND window, RECT& frame) {
    const GetWindowAttributeFunction attribute = DwmWindowAttribute();
    if (attribute && attribute(window, EXTENDED_FRAME_BOUNDS, &frame, sizeof(frame)) == S_OK) {
        return true;
    }
    return GetWindowRect(window, &frame) != FALSE;
}

bool SystemCloaked(HWND window) {
    const GetWindowAttributeFunction attribute = DwmWindowAttribute();
    DWORD cloaked = 0;
    return attribute && attribute(window, CLOAKED, &cloaked, sizeof(cloaked)) == S_OK &&
           cloaked != 0;
}

FrameSource frameSource = {SystemVisibleFrame, SystemCloaked};
}  // namespace

FrameSource SetFrameSource(FrameSource source) {
    const FrameSource previous = frameSource;
    frameSource.visibleFrame = source.visibleFrame ? source.visibleFrame : SystemVisibleFrame;
    frameSource.cloaked = source.cloaked ? source.cloaked : SystemCloaked;
    return previous;
}

bool VisibleFrame(HWND window, RECT& frame) {
    return frameSource.visibleFrame(window, frame);
}

bool IsCloaked(HWND window) {
    return frameSource.cloaked(window);
}
