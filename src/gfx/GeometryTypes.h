// Plain value types for positions and rectangles on the screen, used by every layer.
#pragma once

#include <cstdint>

struct PointD {
    double x = 0.0;
    double y = 0.0;

    bool operator==(const PointD& other) const { return x == other.x && y == other.y; }
    bool operator!=(const PointD& other) const { return !(*this == other); }
};

// Width and height, not right and bottom; width -1 marks a rectangle that was never set.
struct RectI {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = -1;
    int32_t height = -1;

    bool operator==(const RectI& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
    bool operator!=(const RectI& other) const { return !(*this == other); }
};

// One entry of a script's frame-offset table; entry i belongs to frame i.
struct FrameOffset {
    int32_t x;
    int32_t y;
};
