// Frames of known size and content for figure tests: bitmap resources of the tests, stored as
// the program's own pictures are, 8 bits a pixel with a colour table.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>

#include "windows/SpriteTypes.h"

// Frame indices of a set made of the resources from FIRST_TEST_FRAME on.
enum TestFrame : int32_t {
    FRAME_SQUARE = 0,        // 10 x 10, opaque SQUARE_COLOUR
    FRAME_FIGURE = 1,        // 40 x 40, FigurePixel on magenta
    FRAME_WIDE = 2,          // 100 x 50, the rest opaque gradients
    FRAME_TALL = 3,          // 80 x 60
    FRAME_SMALL = 4,         // 70 x 40
    FRAME_SHAPED = 5,        // 98 x 264, the size the shapes 5003..5007 fit
    FRAME_SHAPED_TWIN = 6,   // the same again, for other region ids
    FRAME_SHAPED_THIRD = 7,  //
    FRAME_MISSING = 8,       // no resource: never gets a picture
    TEST_FRAME_COUNT = 9,
};
constexpr int32_t FIRST_TEST_FRAME = 7201;

constexpr int FIGURE_SIZE = 40;
constexpr COLORREF SQUARE_COLOUR = RGB(250, 240, 10);

// TRANSPARENT_KEY where see-through; opaque colours have green >= 230, unlike any background.
COLORREF FigurePixel(int x, int y);

// Rectangles and points read as numbers in failure messages.
inline void PrintTo(const RectI& rect, std::ostream* out) {
    *out << "(" << rect.x << ", " << rect.y << ", " << rect.width << " x " << rect.height << ")";
}
inline void PrintTo(const PointD& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}
