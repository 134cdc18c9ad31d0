// A small capital-letter pixel font (5 x 7 cells) for lettering on the faces and the placard.
#pragma once

#include <string>

#include "Canvas.h"

constexpr int GLYPH_WIDTH = 5;
constexpr int GLYPH_HEIGHT = 7;

// Row strings of one glyph, '#' for ink; a blank glyph for characters the font lacks.
const char* const* Glyph(char c);

// Upright text, each font pixel drawn as a scale x scale block; (x, y) is the top-left.
void DrawText(Canvas& canvas, const std::string& text, double x, double y, int scale, Rgb colour,
              int spacing = 1);
int TextWidth(const std::string& text, int scale, int spacing = 1);

// Text whose baseline follows a circle, centred on the top (upper = true, read clockwise) or
// the bottom (read anticlockwise) of the circle.
void DrawTextOnCircle(Canvas& canvas, const std::string& text, Pt centre, double radius, bool upper,
                      double letterPitchDegrees, Rgb colour);
