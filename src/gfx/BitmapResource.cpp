#include "gfx/BitmapResource.h"

#include <cstring>
#include <vector>

namespace {
constexpr int32_t LARGEST_SIDE = 4096;

struct IndexedInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

// Run-length coded rows, bottom row first, into top-down rows of width pixels. Pixels the
// coding skips stay 0. False when the data runs out or points outside the picture.
bool DecodeRunLength(const uint8_t* data, size_t size, int32_t width, int32_t height,
                     std::vector<uint8_t>& pixels) {
    int32_t x = 0;
    int32_t row = 0;  // counted from the bottom
    size_t at = 0;
    auto put = [&](uint8_t index) {
        if (x < width && row < height) {
            pixels[static_cast<size_t>(height - 1 - row) * width + x] = index;
        }
        ++x;
    };
    while (at + 2 <= size) {
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                put(value);
            }
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (at + 2 > size) {
                return false;
            }
            x += data[at];
            row += data[at + 1];
            at += 2;
        } else {
            const size_t padded = (value + 1u) & ~1u;
            if (at + padded > size) {
                return false;
            }
            for (int i = 0; i < value; ++i) {
                put(data[at + i]);
            }
            at += padded;
        }
    }
    return row >= height - 1;
}
// Sets bits first to end - 1 of a row of a monochrome bitmap, the highest bit first.
void SetBits(uint8_t* row, int32_t first, int32_t end) {
    for (int32_t bit = first; bit < end;) {
        if (bit % 8 == 0 && end - bit >= 8) {
            const int32_t wholeBytes = (end - bit) / 8;
            std::memset(row + bit / 8, 0xFF, static_cast<size_t>(wholeBytes));
            bit += wholeBytes * 8;
        } else {
            row[bit / 8] |= static_cast<uint8_t>(0x80 >> (bit % 8));
            ++bit;
        }
    }
}
}  // namespace

HBITMAP LoadIndexedBitmap(HINSTANCE instance, int32_t id, int32_t scale, COLORREF key,
                          HBITMAP* mask) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    const size_t size = found ? SizeofResource(instance, found) : 0;
    if (!data || size < sizeof(BITMAPINFOHEADER) || scale < 1) {
        return nullptr;
    }
    BITMAPINFOHEADER stored;
    std::memcpy(&stored, data, sizeof(stored));
    const int32_t width = stored.biWidth;
    const bool topDown = stored.biHeight < 0;
    const int32_t height = topDown ? -stored.biHeight : stored.biHeight;
    const DWORD colourCount = stored.biClrUsed ? stored.biClrUsed : 256;
    if (stored.biSize < sizeof(BITMAPINFOHEADER) || stored.biSize > size ||
        stored.biBitCount != 8 || stored.biPlanes != 1 || width <= 0 || height <= 0 ||
        width > LARGEST_SIDE || height > LARGEST_SIDE || colourCount > 256 ||
        (stored.biCompression != BI_RGB && stored.biCompression != BI_RLE8) ||
        (topDown && stored.biCompression == BI_RLE8)) {
        return nullptr;
    }
    const size_t bitsAt = stored.biSize + colourCount * sizeof(RGBQUAD);
    if (bitsAt > size) {
        return nullptr;
    }

    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height, 0);
    if (stored.biCompression == BI_RLE8) {
        if (!DecodeRunLength(data + bitsAt, size - bitsAt, width, height, pixels)) {
            return nullptr;
        }
    } else {
        const size_t storedStride = (static_cast<size_t>(width) + 3) & ~size_t{3};
        if (bitsAt + storedStride * height > size) {
            return nullptr;
        }
        for (int32_t y = 0; y < height; ++y) {
            const int32_t from = topDown ? y : height - 1 - y;
            std::memcpy(&pixels[static_cast<size_t>(y) * width],
                        data + bitsAt + storedStride * from, width);
        }
    }

    IndexedInfo info = {};
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = width * scale;
    // Bottom-up: GDI reports every DIB section's height as positive, so whoever reads its
    // bits takes them for bottom-up.
    info.header.biHeight = height * scale;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = colourCount;
    std::memcpy(info.colours, data + stored.biSize, colourCount * sizeof(RGBQUAD));
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!picture || !bits) {
        if (picture) {
            DeleteObject(picture);
        }
        return nullptr;
    }
    bool transparent[256] = {};
    for (DWORD i = 0; i < colourCount; ++i) {
        const RGBQUAD& colour = info.colours[i];
        transparent[i] = RGB(colour.rgbRed, colour.rgbGreen, colour.rgbBlue) == key;
    }
    const int32_t scaledWidth = width * scale;
    const size_t stride = (static_cast<size_t>(scaledWidth) + 3) & ~size_t{3};
    // Rows of a monochrome bitmap made from bits are padded to whole 16-bit words.
    const size_t maskStride = (static_cast<size_t>(scaledWidth) + 15) / 16 * 2;
    std::vector<uint8_t> maskBits(mask ? maskStride * height * scale : 0, 0);
    auto* out = static_cast<uint8_t*>(bits);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = &pixels[static_cast<size_t>(height - 1 - y) * width];
        uint8_t* row = out + stride * y * scale;
        if (scale == 1) {
            std::memcpy(row, in, static_cast<size_t>(width));
        } else {
            uint8_t* to = row;
            for (int32_t x = 0; x < width; ++x) {
                for (int32_t copy = 0; copy < scale; ++copy) {
                    *to++ = in[x];
                }
            }
        }
        if (mask) {
            // Whole runs of opaque pixels at a time: the pictures are mostly long runs.
            uint8_t* maskRow = &maskBits[maskStride * (height - 1 - y) * scale];
            for (int32_t x = 0; x < width;) {
                while (x < width && transparent[in[x]]) {
                    ++x;
                }
                const int32_t runStart = x;
                while (x < width && !transparent[in[x]]) {
                    ++x;
                }
                SetBits(maskRow, runStart * scale, x * scale);
            }
        }
        for (int32_t copy = 1; copy < scale; ++copy) {
            std::memcpy(row + stride * copy, row, stride);
            if (mask) {
                uint8_t* maskRow = &maskBits[maskStride * (height - 1 - y) * scale];
                std::memcpy(maskRow + maskStride * copy, maskRow, maskStride);
            }
        }
    }
    if (mask) {
        *mask = CreateBitmap(scaledWidth, height * scale, 1, 1, maskBits.data());
    }
    return picture;
}
