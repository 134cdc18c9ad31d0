// Frames of known size and content for figure tests, written once per test binary as BMP
// files and loaded through a file-name frame set, exactly as the program loads its own.
#pragma once

#include <windows.h>

#include <cstdint>

// File numbers, which are also the frame indices in a set built from TestFramePattern().
enum TestFrame : int32_t {
    FRAME_SQUARE = 0,        // 10 x 10, opaque
    FRAME_FIGURE = 1,        // 40 x 40, a shape on magenta: see FigurePixel
    FRAME_WIDE = 2,          // 100 x 50, opaque
    FRAME_TALL = 3,          // 80 x 60, opaque
    FRAME_SMALL = 4,         // 70 x 40, opaque
    FRAME_SHAPED = 5,        // 98 x 264, opaque, as the frames the shapes 5003..5007 fit
    FRAME_SHAPED_TWIN = 6,   // the same picture again, for a second region id
    FRAME_SHAPED_THIRD = 7,  // and once more
    FRAME_MISSING = 8,       // no file: the frame never gets a picture
    TEST_FRAME_COUNT = 9,
};

constexpr int FIGURE_SIZE = 40;
constexpr COLORREF SQUARE_COLOUR = RGB(250, 240, 10);

// Writes the files (once) and returns the sprintf pattern that names them by number.
const char* TestFramePattern();

// The colour of the figure frame at (x, y), or TRANSPARENT_KEY where it is see-through.
// Every opaque colour has green 230 or more, so it never matches a background in the tests.
COLORREF FigurePixel(int x, int y);
