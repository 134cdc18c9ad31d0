// The byte formats the resource compiler takes: 8-bit DIB files, REGION blobs (the platform's
// RGNDATA), icon and cursor files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Canvas.h"

using Bytes = std::vector<uint8_t>;

// Bottom-up 8-bit DIB with a 40-byte header and the image's own colour table; run-length
// encoded (every pixel written explicitly, no deltas) or plain.
Bytes EncodeBmp(const IndexedImage& image, bool runLength);
// Decodes what EncodeBmp wrote, for the generator's own checks.
IndexedImage DecodeBmp(const Bytes& file);

// A set of pixels in region coordinates, e.g. the opaque part of a picture.
struct PixelMask {
    int left = 0;  // region coordinates of cell (0, 0)
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> on;

    PixelMask() = default;
    PixelMask(int left, int top, int width, int height);
    bool At(int x, int y) const;  // region coordinates; false outside
    void Set(int x, int y, bool value);
};

struct RegionRect {
    int left, top, right, bottom;
};

// Rectangles in the platform's canonical banded order: one band per run of rows with the
// same spans, bands top to bottom, spans left to right, never touching.
std::vector<RegionRect> BandedRects(const PixelMask& mask);
Bytes EncodeRegion(const std::vector<RegionRect>& rects);

struct IconImage {
    int size = 0;          // square, pixels
    int bitsPerPixel = 0;  // 4 or 8
    IndexedImage colours;
    std::vector<uint8_t> transparent;  // 1 where the AND mask lets the screen through
};
Bytes EncodeIcon(const std::vector<IconImage>& images);

// 32 x 32 monochrome cursor. Each row is 32 characters: '#' black, 'o' white, '.' screen.
Bytes EncodeMonoCursor(const std::vector<std::string>& rows, int hotX, int hotY);

void WriteFile(const std::string& path, const Bytes& bytes);
