#include "support/ApiCounter.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <map>
#include <set>
#include <utility>

namespace {
struct Watch {
    void* real = nullptr;
    int calls = 0;
};
std::map<std::string, Watch> watches;
std::multiset<HANDLE> live;
std::multiset<HDC> screenDcs;
ShellRequest lastShellRequest;

void* CountCall(const char* name) {
    ++watches[name].calls;
    return watches[name].real;
}
#define REAL(function) reinterpret_cast<decltype(&function)>(CountCall(#function))

template <typename Handle>
Handle Track(Handle handle) {
    if (handle) {
        live.insert(handle);
    }
    return handle;
}
// Only a call that released something stops following the handle.
BOOL Untrack(HANDLE handle, BOOL released) {
    const auto found = live.find(handle);
    if (released && found != live.end()) {
        live.erase(found);
    }
    return released;
}

HDC WINAPI CreateDCAShim(LPCSTR a, LPCSTR b, LPCSTR c, const DEVMODEA* d) {
    return Track(REAL(CreateDCA)(a, b, c, d));
}
HDC WINAPI CreateCompatibleDCShim(HDC dc) {
    return Track(REAL(CreateCompatibleDC)(dc));
}
BOOL WINAPI DeleteDCShim(HDC dc) {
    return Untrack(dc, REAL(DeleteDC)(dc));
}
HBITMAP WINAPI CreateCompatibleBitmapShim(HDC dc, int width, int height) {
    return Track(REAL(CreateCompatibleBitmap)(dc, width, height));
}
HBITMAP WINAPI CreateBitmapShim(int width, int height, UINT planes, UINT bits, const void* data) {
    return Track(REAL(CreateBitmap)(width, height, planes, bits, data));
}
HBITMAP WINAPI CreateDIBSectionShim(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                    HANDLE section, DWORD offset) {
    return Track(REAL(CreateDIBSection)(dc, info, usage, bits, section, offset));
}
HANDLE WINAPI LoadImageAShim(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT f) {
    // Icons and cursors are not released with DeleteObject.
    HANDLE image = REAL(LoadImageA)(instance, name, type, cx, cy, f);
    return type == IMAGE_BITMAP ? Track(image) : image;
}
HRGN WINAPI ExtCreateRegionShim(const XFORM* transform, DWORD size, const RGNDATA* data) {
    return Track(REAL(ExtCreateRegion)(transform, size, data));
}
HRGN WINAPI CreateRectRgnShim(int left, int top, int right, int bottom) {
    return Track(REAL(CreateRectRgn)(left, top, right, bottom));
}
BOOL WINAPI DeleteObjectShim(HGDIOBJ object) {
    return Untrack(object, REAL(DeleteObject)(object));
}
std::function<void(HWND)> windowWatcher;
template <typename Result>
Result Watched(HWND window, Result result) {
    if (windowWatcher) {
        windowWatcher(window);
    }
    return result;
}
int WINAPI SetWindowRgnShim(HWND window, HRGN region, BOOL redraw) {
    // Accepted, the region is the window's.
    return Watched(window, Untrack(region, REAL(SetWindowRgn)(window, region, redraw)));
}
HDC WINAPI GetDCShim(HWND window) {
    HDC dc = Track(REAL(GetDC)(window));
    if (dc && !window) {
        screenDcs.insert(dc);
    }
    return dc;
}
int WINAPI ReleaseDCShim(HWND window, HDC dc) {
    const auto screen = screenDcs.find(dc);
    if (!window && screen != screenDcs.end()) {
        screenDcs.erase(screen);
    }
    return Untrack(dc, REAL(ReleaseDC)(window, dc));
}
BOOL WINAPI BitBltShim(HDC target, int x, int y, int cx, int cy, HDC source, int sx, int sy,
                       DWORD operation) {
    if (screenDcs.count(source) != 0) {
        CountCall(SCREEN_COPY);
    }
    return REAL(BitBlt)(target, x, y, cx, cy, source, sx, sy, operation);
}
HINSTANCE WINAPI ShellExecuteAShim(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
    CountCall("ShellExecuteA");
    lastShellRequest = {verb ? verb : "", file ? file : "", show};
    // Above 32 reads as success.
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}
BOOL WINAPI SetWindowPosShim(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags) {
    return Watched(window, REAL(SetWindowPos)(window, after, x, y, cx, cy, flags));
}
HWND WINAPI CreateDialogParamAShim(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc,
                                   LPARAM parameter) {
    return REAL(CreateDialogParamA)(instance, name, parent, proc, parameter);
}
BOOL WINAPI Shell_NotifyIconAShim(DWORD message, PNOTIFYICONDATAA data) {
    return REAL(Shell_NotifyIconA)(message, data);
}
HRSRC WINAPI FindResourceAShim(HMODULE module, LPCSTR name, LPCSTR type) {
    return REAL(FindResourceA)(module, name, type);
}

#define SHIM(function) \
    { #function, reinterpret_cast < void*>(&function##Shim) }
const std::map<std::string, void*> shims = {
    SHIM(CreateDCA),     SHIM(CreateCompatibleDC), SHIM(DeleteDC),
    SHIM(CreateBitmap),  SHIM(CreateDIBSection),   SHIM(CreateCompatibleBitmap),
    SHIM(LoadImageA),    SHIM(ExtCreateRegion),    SHIM(CreateRectRgn),
    SHIM(DeleteObject),  SHIM(SetWindowRgn),       SHIM(GetDC),
    SHIM(ReleaseDC),     SHIM(ShellExecuteA),      SHIM(SetWindowPos),
    SHIM(BitBlt),        SHIM(CreateDialogParamA), SHIM(Shell_NotifyIconA),
    SHIM(FindResourceA),
};
}  // namespace

void InstallApiCounter() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; library->Name; ++library) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; library->OriginalFirstThunk && names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto shim = shims.find(reinterpret_cast<const char*>(
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name));
            if (shim != shims.end()) {
                watches[shim->first].real = reinterpret_cast<void*>(slots->u1.Function);
                DWORD protection;
                VirtualProtect(slots, sizeof(*slots), PAGE_READWRITE, &protection);
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(shim->second);
                VirtualProtect(slots, sizeof(*slots), protection, &protection);
            }
        }
    }
}

int CallCount(const char* functionName) {
    const auto found = watches.find(functionName);
    return found == watches.end() ? 0 : found->second.calls;
}

void ResetCallCounts() {
    for (auto& entry : watches) {
        entry.second.calls = 0;
    }
}

int LiveGdiObjects() {
    return static_cast<int>(live.size());
}

const ShellRequest& LastShellRequest() {
    return lastShellRequest;
}

void WatchWindowChanges(std::function<void(HWND)> watcher) {
    windowWatcher = std::move(watcher);
}
