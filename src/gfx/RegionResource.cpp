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

HRGN CreateRegionFromResource(HINSTANCE instance, int id, int32_t scale) {
    const WORD resourceNumber = static_cast<WORD>(id & 0xFFFF);
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(resourceNumber), "Region");
    if (!resource) {
        return nullptr;
    }
    HGLOBAL loaded = LoadResource(instance, resource);
    if (!loaded) {
        return nullptr;
    }
    HRGN region = nullptr;
    const auto* data = static_cast<const RegionDataHeader*>(LockResource(loaded));
    const DWORD byteCount = data ? RegionByteCount(instance, resource, data) : 0;
    if (byteCount) {
        // Whole multiples keep every edge on a pixel: the shape stays as hard as the picture.
        XFORM magnify = {};
        magnify.eM11 = static_cast<FLOAT>(scale);
        magnify.eM22 = static_cast<FLOAT>(scale);
        region = ExtCreateRegion(scale > 1 ? &magnify : nullptr, byteCount,
                                 reinterpret_cast<const RGNDATA*>(data));
    }
    FreeResource(loaded);
    return region;
}

int ApplyRegionResource(HINSTANCE instance, HWND window, int id, bool redraw, int32_t scale) {
    HRGN region = CreateRegionFromResource(instance, id, scale);
    if (!region) {
        return 0;
    }
    // From a successful call on, the window owns the region.
    const int result = SetWindowRgn(window, region, redraw ? TRUE : FALSE);
    if (!result) {
        DeleteObject(region);
    }
    return result;
}
