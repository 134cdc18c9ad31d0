#include "app/AboutDialog.h"

#include "app/MainWindow.h"
#include "resource.h"

HWND aboutDialog = nullptr;

namespace {
// No edge bit set: centred on both axes.
constexpr UINT ALIGN_CENTRE = 48;
}  // namespace

void AlignWindow(HWND window, HWND reference, UINT flags) {
    RECT area;
    RECT own;
    GetWindowRect(reference, &area);
    GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;

    int left;
    if (flags & ALIGN_LEFT) {
        left = area.left;
    } else if (flags & ALIGN_RIGHT) {
        left = area.right - width;
    } else {
        left = area.left + (area.right - area.left - width) / 2;
    }
    int top;
    if (flags & ALIGN_TOP) {
        top = area.top;
    } else if (flags & ALIGN_BOTTOM) {
        top = area.bottom - height;
    } else {
        top = area.top + (area.bottom - area.top - height) / 2;
    }
    MoveWindow(window, left, top, width, height, TRUE);
}

void ShowAboutDialog() {
    if (aboutDialog) {
        SetFocus(aboutDialog);
        return;
    }
    aboutDialog =
        CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, AboutDialogProc, 0);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            AlignWindow(dialog, GetDesktopWindow(), ALIGN_CENTRE);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                // A modeless dialog must be destroyed: EndDialog would only hide it.
                DestroyWindow(dialog);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            // However it goes, the next About makes a new one.
            if (aboutDialog == dialog) {
                aboutDialog = nullptr;
            }
            return FALSE;
        default:
            return FALSE;
    }
}
