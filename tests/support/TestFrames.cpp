#include "support/TestFrames.h"

COLORREF FigurePixel(int x, int y) {
    const bool disc = (x - 20) * (x - 20) + (y - 17) * (y - 17) <= 14 * 14;
    const bool leg = x >= 24 && x < 28 && y >= 30;
    // Under 256 colours, so that it can be stored indexed.
    const int shade = (x + 41 * y) % 240;
    return disc || leg ? RGB(shade, 230, 250 - shade / 2) : TRANSPARENT_KEY;
}
