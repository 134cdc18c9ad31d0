#include "support/ApiCounter.h"

#include <map>
#include <set>
#include <string>
#include <utility>

namespace {
// Never destroyed: the program's own statics may still release GDI objects through the shims
// while the process ends.
auto& watches = *new std::map<std::string, std::pair<void*, int>>;  // the real one, its calls
auto& live = *new std::multiset<HANDLE>;
auto& screenDcs = *new std::multiset<HDC>;
auto& windowWatcher = *new std::function<void(HWND)>;

void* CountCall(const char* name) {
    ++watches[name].second;
    return watches[name].first;
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
template <typename Result>
Result Watched(HWND window, Result result) {
    if (windowWatcher) {
        windowWatcher(window);
    }
    return result;
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
HRGN WINAPI ExtCreateRegionShim(const XFORM* transform, DWORD size, const RGNDATA* data) {
    return Track(REAL(ExtCreateRegion)(transform, size, data));
}
HRGN WINAPI CreateRectRgnShim(int left, int top, int right, int bottom) {
    return Track(REAL(CreateRectRgn)(left, top, right, bottom));
}
BOOL WINAPI DeleteObjectShim(HGDIOBJ object) {
    return Untrack(object, REAL(DeleteObject)(object));
}
int WINAPI SetWindowRgnShim(HWND window, HRGN region, BOOL redraw) {
    // Accepted, the region is the window's.
    return Watched(window, Untrack(region, REAL(SetWindowRgn)(window, region, redraw)));
}
BOOL WINAPI SetWindowPosShim(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags) {
    return Watched(window, REAL(SetWindowPos)(window, after, x, y, cx, cy, flags));
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

#define SHIM(function) \
    { #function, reinterpret_cast < void*>(&function##Shim) }
const std::map<std::string, void*> shims = {
    SHIM(CreateDCA),
    SHIM(CreateCompatibleDC),
    SHIM(DeleteDC),
    SHIM(CreateBitmap),
    SHIM(CreateDIBSection),
    SHIM(CreateCompatibleBitmap),
    SHIM(ExtCreateRegion),
    SHIM(CreateRectRgn),
    SHIM(DeleteObject),
    SHIM(SetWindowRgn),
    SHIM(GetDC),
    SHIM(ReleaseDC),
    SHIM(SetWindowPos),
    SHIM(BitBlt),
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
                watches[shim->first].first = reinterpret_cast<void*>(slots->u1.Function);
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
    return found == watches.end() ? 0 : found->second.second;
}

void ResetCallCounts() {
    for (auto& entry : watches) {
        entry.second.second = 0;
    }
}

int LiveGdiObjects() {
    return static_cast<int>(live.size());
}

void WatchWindowChanges(std::function<void(HWND)> watcher) {
    windowWatcher = std::move(watcher);
}
