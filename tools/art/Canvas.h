// A picture being drawn: a cairo image surface with antialiasing switched off, so that every
// pixel takes exactly one palette colour and silhouettes keep hard edges.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "Geometry.h"
#include "Palette.h"

// A picture reduced to colour-table indices, top row first.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> table;
    std::vector<uint8_t> pixels;

    uint8_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    Rgb ColourAt(int x, int y) const { return table[At(x, y)]; }
};

using PathFn = std::function<void(cairo_t*)>;

class Canvas {
public:
    Canvas(int width, int height, Rgb background);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* Cr() const { return cr; }
    cairo_surface_t* Surface() const { return surface; }
    int Width() const { return width; }
    int Height() const { return height; }

    Rgb At(int x, int y) const;
    void Set(int x, int y, Rgb colour);
    void FillRect(int x, int y, int w, int h, Rgb colour);
    // Copies another canvas onto this one at (x, y), skipping its pixels of colour skip.
    void Paste(const Canvas& from, int x, int y, Rgb skip);

    void Colour(Rgb colour);
    // Fills the path with an outline of about one pixel around it.
    void Outlined(const PathFn& path, Rgb fill, Rgb outline = col::INK);
    void Filled(const PathFn& path, Rgb fill);
    void Stroked(const PathFn& path, Rgb colour, double width);
    // Fill restricted to the inside of clip: for shading one side of a part.
    void FilledWithin(const PathFn& clip, const PathFn& path, Rgb fill);
    // A round-ended bar from a to b: arms, legs, rails.
    void Limb(Pt a, Pt b, double width, Rgb fill, Rgb outline = col::INK);
    void Limb3(Pt a, Pt b, Pt c, double width, Rgb fill, Rgb outline = col::INK);

    // Every pixel must be an art colour; the table lists the colours used, in art order.
    IndexedImage ToIndexed() const;

private:
    int width;
    int height;
    cairo_surface_t* surface;
    cairo_t* cr;
};

namespace path {
PathFn Circle(Pt centre, double radius);
PathFn Ellipse(Pt centre, double rx, double ry, double degrees = 0.0);
PathFn Polygon(std::vector<Pt> points);
PathFn RoundRect(double x, double y, double w, double h, double radius);
PathFn Rect(double x, double y, double w, double h);
PathFn Line(Pt a, Pt b);
}  // namespace path
