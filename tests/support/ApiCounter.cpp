#include "support/ApiCounter.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <map>
#include <set>

namespace {
struct Watch {
    void* real = nullptr;
    int calls = 0;
};

// Keyed by export name; filled when the import table is patched.
std::map<std::string, Watch>& Watches() {
    static std::map<std::string, Watch> watches;
    return watches;
}

std::set<HANDLE> liveObjects;
std::multiset<HDC> windowDcs;
std::multiset<HDC> screenDcs;
ShellRequest lastShellRequest;

void* CountCall(const char* name) {
    Watch& watch = Watches()[name];
    ++watch.calls;
    return watch.real;
}

// Counts one call of the function and gives back its real entry point, properly typed.
#define COUNT_AND_FIND(function) reinterpret_cast<decltype(&function)>(CountCall(#function))

template <typename Handle>
Handle Track(Handle handle) {
    if (handle) {
        liveObjects.insert(handle);
    }
    return handle;
}

// Only calls that actually released something stop tracking the handle.
template <typename Result>
Result Untrack(HANDLE handle, Result succeeded) {
    if (succeeded) {
        liveObjects.erase(handle);
    }
    return succeeded;
}

HDC WINAPI CreateDCAShim(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode) {
    return Track(COUNT_AND_FIND(CreateDCA)(driver, device, port, mode));
}
HDC WINAPI CreateCompatibleDCShim(HDC dc) {
    return Track(COUNT_AND_FIND(CreateCompatibleDC)(dc));
}
BOOL WINAPI DeleteDCShim(HDC dc) {
    return Untrack(dc, COUNT_AND_FIND(DeleteDC)(dc));
}
HBITMAP WINAPI CreateCompatibleBitmapShim(HDC dc, int width, int height) {
    return Track(COUNT_AND_FIND(CreateCompatibleBitmap)(dc, width, height));
}
HBITMAP WINAPI CreateBitmapShim(int width, int height, UINT planes, UINT bits, const void* data) {
    return Track(COUNT_AND_FIND(CreateBitmap)(width, height, planes, bits, data));
}
HBITMAP WINAPI CreateDIBSectionShim(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                    HANDLE section, DWORD offset) {
    return Track(COUNT_AND_FIND(CreateDIBSection)(dc, info, usage, bits, section, offset));
}
HANDLE WINAPI LoadImageAShim(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                             UINT flags) {
    HANDLE image = COUNT_AND_FIND(LoadImageA)(instance, name, type, width, height, flags);
    // Icons and cursors are not released with DeleteObject, so only bitmaps are followed.
    return type == IMAGE_BITMAP ? Track(image) : image;
}
HRGN WINAPI ExtCreateRegionShim(const XFORM* transform, DWORD size, const RGNDATA* data) {
    return Track(COUNT_AND_FIND(ExtCreateRegion)(transform, size, data));
}
HRGN WINAPI CreateRectRgnShim(int left, int top, int right, int bottom) {
    return Track(COUNT_AND_FIND(CreateRectRgn)(left, top, right, bottom));
}
HRGN WINAPI CreateEllipticRgnShim(int left, int top, int right, int bottom) {
    return Track(COUNT_AND_FIND(CreateEllipticRgn)(left, top, right, bottom));
}
HBRUSH WINAPI CreateSolidBrushShim(COLORREF colour) {
    return Track(COUNT_AND_FIND(CreateSolidBrush)(colour));
}
BOOL WINAPI DeleteObjectShim(HGDIOBJ object) {
    return Untrack(object, COUNT_AND_FIND(DeleteObject)(object));
}
int WINAPI SetWindowRgnShim(HWND window, HRGN region, BOOL redraw) {
    // From a successful call on, the window owns the region and deletes it itself.
    return Untrack(region, COUNT_AND_FIND(SetWindowRgn)(window, region, redraw));
}
HDC WINAPI GetDCShim(HWND window) {
    HDC dc = COUNT_AND_FIND(GetDC)(window);
    if (dc) {
        windowDcs.insert(dc);
        if (!window) {
            screenDcs.insert(dc);
        }
    }
    return dc;
}
HDC WINAPI GetWindowDCShim(HWND window) {
    HDC dc = COUNT_AND_FIND(GetWindowDC)(window);
    if (dc) {
        windowDcs.insert(dc);
    }
    return dc;
}
int WINAPI ReleaseDCShim(HWND window, HDC dc) {
    const int released = COUNT_AND_FIND(ReleaseDC)(window, dc);
    const auto found = windowDcs.find(dc);
    if (released && found != windowDcs.end()) {
        windowDcs.erase(found);
        const auto screen = screenDcs.find(dc);
        if (screen != screenDcs.end()) {
            screenDcs.erase(screen);
        }
    }
    return released;
}
BOOL WINAPI BitBltShim(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                       int sourceY, DWORD operation) {
    if (screenDcs.count(source) != 0) {
        CountCall(SCREEN_COPY);
    }
    return COUNT_AND_FIND(BitBlt)(target, x, y, width, height, source, sourceX, sourceY, operation);
}
HINSTANCE WINAPI ShellExecuteAShim(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
    CountCall("ShellExecuteA");
    lastShellRequest.verb = verb ? verb : "";
    lastShellRequest.file = file ? file : "";
    lastShellRequest.showCommand = show;
    // Anything above 32 reads as success.
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}
BOOL WINAPI SetWindowPosShim(HWND window, HWND after, int x, int y, int width, int height,
                             UINT flags) {
    return COUNT_AND_FIND(SetWindowPos)(window, after, x, y, width, height, flags);
}
BOOL WINAPI DestroyWindowShim(HWND window) {
    return COUNT_AND_FIND(DestroyWindow)(window);
}
BOOL WINAPI PostMessageAShim(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return COUNT_AND_FIND(PostMessageA)(window, message, wParam, lParam);
}
LRESULT WINAPI SendMessageAShim(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return COUNT_AND_FIND(SendMessageA)(window, message, wParam, lParam);
}
UINT_PTR WINAPI SetTimerShim(HWND window, UINT_PTR id, UINT elapse, TIMERPROC callback) {
    return COUNT_AND_FIND(SetTimer)(window, id, elapse, callback);
}
BOOL WINAPI KillTimerShim(HWND window, UINT_PTR id) {
    return COUNT_AND_FIND(KillTimer)(window, id);
}
void WINAPI PostQuitMessageShim(int exitCode) {
    COUNT_AND_FIND(PostQuitMessage)(exitCode);
}
BOOL WINAPI Shell_NotifyIconAShim(DWORD message, PNOTIFYICONDATAA data) {
    return COUNT_AND_FIND(Shell_NotifyIconA)(message, data);
}
BOOL WINAPI TrackPopupMenuShim(HMENU menu, UINT flags, int x, int y, int reserved, HWND window,
                               const RECT* rect) {
    return COUNT_AND_FIND(TrackPopupMenu)(menu, flags, x, y, reserved, window, rect);
}
HWND WINAPI CreateDialogParamAShim(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc,
                                   LPARAM parameter) {
    return COUNT_AND_FIND(CreateDialogParamA)(instance, name, parent, proc, parameter);
}

HRSRC WINAPI FindResourceAShim(HMODULE module, LPCSTR name, LPCSTR type) {
    return COUNT_AND_FIND(FindResourceA)(module, name, type);
}

// clang-format off
#define SHIM(function) {#function, reinterpret_cast<void*>(&function##Shim)}
// clang-format on

const std::map<std::string, void*> shims = {
    SHIM(CreateDCA),        SHIM(CreateCompatibleDC),
    SHIM(DeleteDC),         SHIM(CreateCompatibleBitmap),
    SHIM(CreateBitmap),     SHIM(CreateDIBSection),
    SHIM(LoadImageA),       SHIM(ExtCreateRegion),
    SHIM(CreateRectRgn),    SHIM(CreateEllipticRgn),
    SHIM(CreateSolidBrush), SHIM(DeleteObject),
    SHIM(SetWindowRgn),     SHIM(GetDC),
    SHIM(GetWindowDC),      SHIM(ReleaseDC),
    SHIM(BitBlt),           SHIM(ShellExecuteA),
    SHIM(SetWindowPos),     SHIM(DestroyWindow),
    SHIM(PostMessageA),     SHIM(SendMessageA),
    SHIM(SetTimer),         SHIM(KillTimer),
    SHIM(PostQuitMessage),  SHIM(Shell_NotifyIconA),
    SHIM(TrackPopupMenu),   SHIM(CreateDialogParamA),
    SHIM(FindResourceA),
};

bool IsWatchedLibrary(const char* name) {
    return _stricmp(name, "user32.dll") == 0 || _stricmp(name, "gdi32.dll") == 0 ||
           _stricmp(name, "shell32.dll") == 0 || _stricmp(name, "kernel32.dll") == 0;
}

void WriteImportSlot(IMAGE_THUNK_DATA* slot, void* value) {
    DWORD oldProtection;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &oldProtection);
    slot->u1.Function = reinterpret_cast<ULONG_PTR>(value);
    VirtualProtect(slot, sizeof(*slot), oldProtection, &oldProtection);
}
}  // namespace

void InstallApiCounter() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;

    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dosHeader = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* ntHeaders = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dosHeader->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        ntHeaders->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; descriptor->Name; ++descriptor) {
        if (!IsWatchedLibrary(reinterpret_cast<const char*>(base + descriptor->Name)) ||
            !descriptor->OriginalFirstThunk) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const auto shim = shims.find(reinterpret_cast<const char*>(byName->Name));
            if (shim == shims.end()) {
                continue;
            }
            Watches()[shim->first].real = reinterpret_cast<void*>(slots->u1.Function);
            WriteImportSlot(slots, shim->second);
        }
    }
}

int CallCount(const char* functionName) {
    const auto found = Watches().find(functionName);
    return found == Watches().end() ? 0 : found->second.calls;
}

void ResetCallCounts() {
    for (auto& entry : Watches()) {
        entry.second.calls = 0;
    }
}

int LiveGdiObjects() {
    return static_cast<int>(liveObjects.size() + windowDcs.size());
}

const ShellRequest& LastShellRequest() {
    return lastShellRequest;
}
