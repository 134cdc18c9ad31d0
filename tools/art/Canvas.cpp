#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {
void SetSource(cairo_t* cr, Rgb c) {
    cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}
}  // namespace

Canvas::Canvas(int w, int h, Rgb background) : width(w), height(h) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SetSource(cr, background);
    cairo_paint(cr);
}

Canvas::~Canvas() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

Rgb Canvas::At(int x, int y) const {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const uint32_t v = *reinterpret_cast<const uint32_t*>(data + size_t(y) * stride + x * 4);
    return Rgb{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

void Canvas::Set(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    *reinterpret_cast<uint32_t*>(data + size_t(y) * stride + x * 4) =
        0xFF000000u | (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
    cairo_surface_mark_dirty(surface);
}

void Canvas::FillRect(int x, int y, int w, int h, Rgb c) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            Set(i, j, c);
        }
    }
}

void Canvas::Paste(const Canvas& from, int x, int y, Rgb skip) {
    for (int j = 0; j < from.Height(); ++j) {
        for (int i = 0; i < from.Width(); ++i) {
            const Rgb c = from.At(i, j);
            if (c != skip) {
                Set(x + i, y + j, c);
            }
        }
    }
}

void Canvas::Colour(Rgb c) {
    SetSource(cr, c);
}

void Canvas::Outlined(const PathFn& p, Rgb fill, Rgb outline) {
    cairo_new_path(cr);
    p(cr);
    SetSource(cr, outline);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke_preserve(cr);
    SetSource(cr, fill);
    cairo_fill(cr);
}

void Canvas::Filled(const PathFn& p, Rgb fill) {
    cairo_new_path(cr);
    p(cr);
    SetSource(cr, fill);
    cairo_fill(cr);
}

void Canvas::Stroked(const PathFn& p, Rgb c, double w) {
    cairo_new_path(cr);
    p(cr);
    SetSource(cr, c);
    cairo_set_line_width(cr, w);
    cairo_stroke(cr);
}

void Canvas::FilledWithin(const PathFn& clip, const PathFn& p, Rgb fill) {
    cairo_save(cr);
    cairo_new_path(cr);
    clip(cr);
    cairo_clip(cr);
    Filled(p, fill);
    cairo_restore(cr);
}

void Canvas::Limb(Pt a, Pt b, double w, Rgb fill, Rgb outline) {
    Stroked(path::Line(a, b), outline, w + 2.0);
    Stroked(path::Line(a, b), fill, w);
}

void Canvas::Limb3(Pt a, Pt b, Pt c, double w, Rgb fill, Rgb outline) {
    auto p = [a, b, c](cairo_t* cr) {
        cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
        cairo_line_to(cr, c.x, c.y);
    };
    Stroked(p, outline, w + 2.0);
    Stroked(p, fill, w);
}

IndexedImage Canvas::ToIndexed() const {
    IndexedImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * height);
    const auto& colours = ArtColours();
    std::vector<int> artIndex(size_t(width) * height);
    std::vector<bool> used(colours.size(), false);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = At(x, y);
            const int i = ArtColourIndex(c);
            if (i < 0) {
                throw std::runtime_error("colour outside the art palette at " + std::to_string(x) +
                                         "," + std::to_string(y));
            }
            artIndex[size_t(y) * width + x] = i;
            used[size_t(i)] = true;
        }
    }
    // Tables hold at least four entries; unused art colours fill the gap.
    int usedCount = int(std::count(used.begin(), used.end(), true));
    for (size_t i = 0; i < used.size() && usedCount < 4; ++i) {
        if (!used[i]) {
            used[i] = true;
            ++usedCount;
        }
    }
    std::vector<int> remap(colours.size(), -1);
    for (size_t i = 0; i < colours.size(); ++i) {
        if (used[i]) {
            remap[i] = int(image.table.size());
            image.table.push_back(colours[i]);
        }
    }
    for (size_t k = 0; k < artIndex.size(); ++k) {
        image.pixels[k] = uint8_t(remap[size_t(artIndex[k])]);
    }
    return image;
}

namespace path {
PathFn Circle(Pt c, double r) {
    return [c, r](cairo_t* cr) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, c.x, c.y, r, 0, 2 * M_PI);
        cairo_close_path(cr);
    };
}

PathFn Ellipse(Pt c, double rx, double ry, double degrees) {
    return [c, rx, ry, degrees](cairo_t* cr) {
        if (rx <= 0 || ry <= 0) {
            return;
        }
        cairo_save(cr);
        cairo_translate(cr, c.x, c.y);
        cairo_rotate(cr, degrees * M_PI / 180.0);
        cairo_scale(cr, rx, ry);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_close_path(cr);
        cairo_restore(cr);
    };
}

PathFn Polygon(std::vector<Pt> points) {
    return [points](cairo_t* cr) {
        if (points.empty()) {
            return;
        }
        cairo_move_to(cr, points[0].x, points[0].y);
        for (size_t i = 1; i < points.size(); ++i) {
            cairo_line_to(cr, points[i].x, points[i].y);
        }
        cairo_close_path(cr);
    };
}

PathFn RoundRect(double x, double y, double w, double h, double r) {
    return [=](cairo_t* cr) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
        cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
        cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
        cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
        cairo_close_path(cr);
    };
}

PathFn Rect(double x, double y, double w, double h) {
    return [=](cairo_t* cr) { cairo_rectangle(cr, x, y, w, h); };
}

PathFn Line(Pt a, Pt b) {
    return [a, b](cairo_t* cr) {
        cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
    };
}
}  // namespace path
