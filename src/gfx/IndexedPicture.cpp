#include "gfx/IndexedPicture.h"

#include <cstring>
#include <new>

namespace {
// The fields of a BITMAPINFOHEADER, which newer headers begin with too.
constexpr size_t INFO_HEADER_SIZE = 40;
constexpr uint32_t PLAIN = 0;
constexpr uint32_t RUN_LENGTH_8 = 1;

uint32_t Read32(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}
uint16_t Read16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}
}  // namespace

IndexedPicture::Result IndexedPicture::Read(const uint8_t* data, size_t size) {
    *this = IndexedPicture{};
    if (!data || size < 4) {
        return Result::Refused;
    }
    const uint32_t headerSize = Read32(data);
    if (headerSize < INFO_HEADER_SIZE) {
        // An old core header: not ours to read.
        return Result::OtherKind;
    }
    if (size < INFO_HEADER_SIZE || headerSize > size) {
        return Result::Refused;
    }
    const uint32_t compression = Read32(data + 16);
    if (Read16(data + 14) != 8 || (compression != PLAIN && compression != RUN_LENGTH_8)) {
        return Result::OtherKind;
    }
    const int64_t storedWidth = static_cast<int32_t>(Read32(data + 4));
    const int64_t storedHeight = static_cast<int32_t>(Read32(data + 8));
    const bool topDown = storedHeight < 0;
    const int64_t rows = topDown ? -storedHeight : storedHeight;
    const uint32_t used = Read32(data + 32);
    const uint32_t count = used ? used : 256;
    if (Read16(data + 12) != 1 || storedWidth < 1 || storedWidth > LARGEST_SIDE || rows < 1 ||
        rows > LARGEST_SIDE || count > 256 || count * 4 > size - headerSize ||
        (topDown && compression == RUN_LENGTH_8)) {
        return Result::Refused;
    }

    // Plain rows are checked against the resource before their room is taken; run-length
    // data only as it is decoded, as its length says nothing of the picture's size.
    const size_t bitsAt = headerSize + count * 4;
    const size_t stride = (static_cast<size_t>(storedWidth) + 3) & ~size_t{3};
    if (compression == PLAIN && stride * static_cast<size_t>(rows) > size - bitsAt) {
        return Result::Refused;
    }

    width = static_cast<int32_t>(storedWidth);
    height = static_cast<int32_t>(rows);
    try {
        pixels.assign(static_cast<size_t>(width) * height, 0);
    } catch (const std::bad_alloc&) {
        *this = IndexedPicture{};
        return Result::Refused;
    }
    if (compression == PLAIN) {
        CopyRows(data + bitsAt, stride, topDown);
    } else if (!DecodeRunLength(data + bitsAt, size - bitsAt)) {
        *this = IndexedPicture{};
        return Result::Refused;
    }
    colourCount = count;
    std::memcpy(colours, data + headerSize, count * 4);
    return Result::Read;
}

void IndexedPicture::CopyRows(const uint8_t* data, size_t stride, bool topDown) {
    for (int32_t y = 0; y < height; ++y) {
        const int32_t from = topDown ? y : height - 1 - y;
        std::memcpy(&pixels[static_cast<size_t>(y) * width], data + stride * from, width);
    }
}

// Rows bottom first. Pixels the coding skips stay 0. Every step is checked before it is
// taken, so x stays within 0..width and row within 0..height whatever the data says.
bool IndexedPicture::DecodeRunLength(const uint8_t* data, size_t size) {
    int32_t x = 0;
    int32_t row = 0;
    size_t at = 0;
    auto fits = [&](int32_t run) { return row < height && run <= width - x; };
    auto here = [&]() { return &pixels[static_cast<size_t>(height - 1 - row) * width + x]; };
    while (at + 2 <= size) {
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (!fits(count)) {
                return false;
            }
            std::memset(here(), value, count);
            x += count;
        } else if (value == 0) {
            if (row == height) {
                return false;
            }
            x = 0;
            ++row;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (at + 2 > size || data[at] > width - x || data[at + 1] >= height - row) {
                return false;
            }
            x += data[at];
            row += data[at + 1];
            at += 2;
        } else {
            const size_t padded = (value + 1u) & ~1u;
            if (padded > size - at || !fits(value)) {
                return false;
            }
            std::memcpy(here(), data + at, value);
            x += value;
            at += padded;
        }
    }
    // The data ended before its end mark.
    return false;
}
