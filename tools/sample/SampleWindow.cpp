// A plain document-like window to hang the sign on, for the run command, demonstrations,
// benchmarks and end-to-end tests. Usage: SampleWindow.exe [title] [x y width height]
// Tests move, resize, maximise, minimise, hide and close it from their own process with
// SetWindowPos, ShowWindow and WM_CLOSE; it accepts any size, however small.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
void PaintPage(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    HBRUSH line = CreateSolidBrush(RGB(210, 214, 222));
    const int lineCount = (area.bottom - 40) / 22;
    for (int i = 0; i < lineCount; ++i) {
        const int width = (area.right - 48) * (60 + (i * 37) % 40) / 100;
        RECT bar = {24, 28 + i * 22, 24 + width, 36 + i * 22};
        FillRect(dc, &bar, line);
    }
    DeleteObject(line);
    EndPaint(window, &paint);
}

LRESULT CALLBACK SampleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintPage(window);
            return 0;
        case WM_GETMINMAXINFO:
            // The system's smallest tracking size would stop a test from making it tiny.
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {1, 1};
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const char* title = "Notes - Sample";
    int x = 320, y = 180, width = 480, height = 340;
    if (__argc > 1) {
        title = __argv[1];
    }
    if (__argc > 5) {
        x = atoi(__argv[2]);
        y = atoi(__argv[3]);
        width = atoi(__argv[4]);
        height = atoi(__argv[5]);
    }

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = SampleProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = "TarvolenSampleWindow";
    RegisterClassExA(&windowClass);

    HWND window = CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, x, y,
                                  width, height, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
