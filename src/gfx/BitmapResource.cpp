#include "gfx/BitmapResource.h"

#include <cstring>
#include <new>
#include <vector>

#include "gfx/IndexedPicture.h"

namespace {
// Far beyond what any monitor asks for, and small enough that no size below overflows.
constexpr int32_t LARGEST_SCALE = 8;

struct IndexedInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

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
                          HBITMAP* mask, bool* refused) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    const size_t size = found ? SizeofResource(instance, found) : 0;
    // A picture refused is damaged, oversized, or finds no memory: the system's loader is
    // not to try it again.
    auto refuse = [refused]() -> HBITMAP {
        if (refused) {
            *refused = true;
        }
        return nullptr;
    };
    if (!data) {
        return nullptr;
    }
    if (scale < 1 || scale > LARGEST_SCALE) {
        return refuse();
    }
    IndexedPicture stored;
    const IndexedPicture::Result result = stored.Read(data, size);
    if (result == IndexedPicture::Result::Refused) {
        return refuse();
    }
    if (result != IndexedPicture::Result::Read) {
        return nullptr;
    }
    const int32_t width = stored.Width();
    const int32_t height = stored.Height();
    const int32_t scaledWidth = width * scale;
    const size_t stride = (static_cast<size_t>(scaledWidth) + 3) & ~size_t{3};
    // Rows of a monochrome bitmap made from bits are padded to whole 16-bit words.
    const size_t maskStride = (static_cast<size_t>(scaledWidth) + 15) / 16 * 2;
    std::vector<uint8_t> maskBits;
    try {
        maskBits.assign(mask ? maskStride * height * scale : 0, 0);
    } catch (const std::bad_alloc&) {
        return refuse();
    }

    IndexedInfo info = {};
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = scaledWidth;
    // Bottom-up: GDI reports every DIB section's height as positive, so whoever reads its
    // bits takes them for bottom-up.
    info.header.biHeight = height * scale;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = stored.ColourCount();
    std::memcpy(info.colours, stored.Colours(), stored.ColourCount() * sizeof(RGBQUAD));
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!picture || !bits) {
        if (picture) {
            DeleteObject(picture);
        }
        return refuse();
    }
    bool transparent[256] = {};
    for (DWORD i = 0; i < stored.ColourCount(); ++i) {
        const RGBQUAD& colour = info.colours[i];
        transparent[i] = RGB(colour.rgbRed, colour.rgbGreen, colour.rgbBlue) == key;
    }
    auto* out = static_cast<uint8_t*>(bits);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = stored.Row(height - 1 - y);
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
