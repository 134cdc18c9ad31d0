// An 8-bit picture as a bitmap resource stores it: header, colour table and pixels, plain or
// run-length coded. Built without the platform's headers, so that the host can check it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class IndexedPicture {
public:
    enum class Result { Read, OtherKind, Refused };

    // Far more than any frame at any scale needs, and little enough that a damaged header
    // cannot ask for memory the program would miss.
    static constexpr int32_t LARGEST_SIDE = 1024;

    // The resource's bytes, header first. Reads nothing beyond size and writes no pixel
    // outside the picture. OtherKind: not a picture of 8 bits a pixel, plain or run-length
    // coded; Refused: a damaged or oversized one, or no memory for its pixels. Unless Read,
    // the picture is left empty.
    Result Read(const uint8_t* data, size_t size);

    int32_t Width() const { return width; }
    int32_t Height() const { return height; }
    uint32_t ColourCount() const { return colourCount; }
    // Blue, green, red and a spare byte for each colour, as stored.
    const uint8_t* Colours() const { return colours; }
    // Width() colour indices, the top row first.
    const uint8_t* Row(int32_t y) const { return &pixels[static_cast<size_t>(y) * width]; }

private:
    bool DecodeRunLength(const uint8_t* data, size_t size);
    void CopyRows(const uint8_t* data, size_t stride, bool topDown);

    int32_t width = 0;
    int32_t height = 0;
    uint32_t colourCount = 0;
    uint8_t colours[256 * 4] = {};
    std::vector<uint8_t> pixels;
};
