// Pictures of 8 bits a pixel read straight from the module's bitmap resources.
#pragma once

#include <windows.h>

#include <cstdint>

// Bitmap resource id as a DIB section of 8 bits a pixel with the resource's own colours,
// every pixel a scale x scale block; with a mask wanted, also its 1-bit mask (0 where the
// picture has the key colour). Plain and run-length coded resources are read without a
// colour conversion. Null for any other kind; null with refused set for a damaged or
// oversized picture, or when memory runs out. The caller owns both.
HBITMAP LoadIndexedBitmap(HINSTANCE instance, int32_t id, int32_t scale, COLORREF key,
                          HBITMAP* mask, bool* refused = nullptr);
