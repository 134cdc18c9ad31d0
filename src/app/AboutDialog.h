// The modeless About dialog and the routine that places it.
#pragma once

#include <windows.h>

enum : UINT {
    ALIGN_TOP = 1,
    ALIGN_BOTTOM = 2,
    ALIGN_LEFT = 4,
    ALIGN_RIGHT = 8,
};

// The open About dialog; null while none is open.
extern HWND aboutDialog;

// Moves the window onto the reference's edges named by the flags, keeping its size; an axis
// without either of its edge flags is centred. Left wins over right, top over bottom.
void AlignWindow(HWND window, HWND reference, UINT flags);
// Opens the dialog, or gives the open one the focus.
void ShowAboutDialog();
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
