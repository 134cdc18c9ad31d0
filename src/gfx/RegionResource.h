// Window shapes stored as REGION resources.
#pragma once

#include <windows.h>

#include <cstdint>

// Byte layout of a REGION resource: the platform's RGNDATA, a 32-byte header followed by
// nCount rectangles (left, top, right, bottom; right and bottom exclusive), little-endian.
#pragma pack(push, 1)
struct RegionDataHeader {
    uint32_t dwSize;  // 32
    uint32_t iType;   // 1, RDH_RECTANGLES
    uint32_t nCount;
    uint32_t nRgnSize;  // 16 * nCount
    int32_t rcBound[4];
};
#pragma pack(pop)
static_assert(sizeof(RegionDataHeader) == 32, "REGION header is 32 bytes");

// The shape stored as REGION resource id (its low 16 bits), every length times scale; null
// when there is none. The caller owns the region.
HRGN CreateRegionFromResource(HINSTANCE instance, int id, int32_t scale = 1);

// Shapes the window with REGION resource id at the given scale; nonzero when the window got
// the new shape. A window whose shape cannot be applied keeps the one it had.
int ApplyRegionResource(HINSTANCE instance, HWND window, int id, bool redraw, int32_t scale = 1);
