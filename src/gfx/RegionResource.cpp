#include "gfx/RegionResource.h"

namespace {
// The header's rectangle count decides how many bytes the region reads, so a resource
// shorter than that is refused instead of read past its end.
DWORD RegionByteCount(HINSTANCE instance, HRSRC resource, const RegionDataHeader* data) {
    const DWORD available = SizeofResource(instance, resource);
    if (available < sizeof(RegionDataHeader) || data->nCount > available / sizeof(RECT) - 2) {
        return 0;
    }
    return (data->nCount + 2) * sizeof(RECT);
}
}  // namespace

int ApplyRegionResource(HINSTANCE instance, HWND window, int id, bool redraw) {
    const WORD resourceNumber = static_cast<WORD>(id & 0xFFFF);
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(resourceNumber), "Region");
    if (!resource) {
        return 0;
    }
    HGLOBAL loaded = LoadResource(instance, resource);
    if (!loaded) {
        return 0;
    }
    int result = 0;
    const auto* data = static_cast<const RegionDataHeader*>(LockResource(loaded));
    const DWORD byteCount = data ? RegionByteCount(instance, resource, data) : 0;
    if (byteCount) {
        HRGN region = ExtCreateRegion(nullptr, byteCount, reinterpret_cast<const RGNDATA*>(data));
        if (region) {
            // From a successful call on, the window owns the region.
            result = SetWindowRgn(window, region, redraw ? TRUE : FALSE);
            if (!result) {
                DeleteObject(region);
            }
        }
    }
    FreeResource(loaded);
    return result;
}
