#include "Sign.h"

#include <cmath>

#include "PixelFont.h"

namespace {
double DistanceFromCentre(int x, int y) {
    return Length(Pt{x + 0.5, y + 0.5} - DISC_CENTRE);
}

std::vector<Pt> StarPoints(Pt c, double outer, double inner, double degrees) {
    std::vector<Pt> pts;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        pts.push_back(c + Polar(r, degrees + i * 36.0));
    }
    return pts;
}

void DrawBracket(Canvas& c) {
    // The scroll under the arm first, so the arm and the wall plate cover its ends.
    c.Stroked(
        [](cairo_t* cr) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, 115.0, 46.0, 15.0, M_PI / 2, M_PI);
        },
        col::INK, 5.0);
    c.Stroked(
        [](cairo_t* cr) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, 115.0, 46.0, 15.0, M_PI / 2, M_PI);
        },
        col::IRON, 2.2);
    c.Outlined(path::Circle({104.5, 58.0}, 2.6), col::IRON);
    // The arm from the rim to the wall.
    c.Limb({94.0, 43.0}, {116.0, 43.0}, 5.0, col::IRON);
    c.Filled(path::Rect(94.0, 41.0, 21.0, 1.0), col::IRON_LIGHT);
    // The wall plate, flush with the sign's right edge.
    c.Outlined(path::RoundRect(114.0, 24.0, 9.0, 50.0, 2.0), col::IRON);
    c.Filled(path::Rect(116.0, 26.0, 1.0, 46.0), col::IRON_LIGHT);
    for (double y : {30.0, 68.0}) {
        c.Filled(path::Circle({118.5, y}, 1.6), col::IRON_LIGHT);
    }
    // The collar clamping the rim.
    c.Outlined(path::RoundRect(92.0, 38.0, 6.0, 10.0, 1.5), col::IRON);
}

// The sponsor's emblem: a swallow crossing a rising sun. Units are pixels at scale 1.
void DrawEmblem(Canvas& c, Pt centre, double scale, Rgb body, Rgb shade, Rgb sun) {
    auto tf = [&](double x, double y) { return centre + Pt{x, y} * scale; };
    if (sun != body) {
        c.Filled(path::Circle(tf(0, -4), 17.0 * scale), sun);
    }
    std::vector<std::vector<Pt>> parts;
    for (double side : {-1.0, 1.0}) {
        parts.push_back({tf(side * 3, -9), tf(side * 14, -14), tf(side * 27, -13),
                         tf(side * 38, -5), tf(side * 25, -5), tf(side * 13, -2), tf(side * 3, 2)});
    }
    parts.push_back({tf(-4, 6), tf(-10, 27), tf(-1, 14), tf(1, 14), tf(10, 27), tf(4, 6)});
    parts.push_back({tf(-2, -17), tf(0, -23), tf(2, -17)});
    auto drawAll = [&](Pt shift, Rgb colour) {
        for (const auto& part : parts) {
            std::vector<Pt> moved;
            for (const Pt& p : part) {
                moved.push_back(p + shift);
            }
            c.Filled(path::Polygon(moved), colour);
        }
        c.Filled(path::Ellipse(tf(0, -1) + shift, 5.5 * scale, 12.5 * scale), colour);
        c.Filled(path::Circle(tf(0, -14) + shift, 4.8 * scale), colour);
    };
    // A drop shadow gives the emblem some depth on the field.
    drawAll({1.0, 1.5}, shade);
    drawAll({0.0, 0.0}, body);
}

void DrawEmblemFace(Canvas& c) {
    c.Filled(path::Circle(DISC_CENTRE, FACE_RADIUS), col::RED_DARK);
    c.Filled(path::Circle(DISC_CENTRE, 43.0), col::RED);
    c.Stroked(path::Circle(DISC_CENTRE, 38.5), col::CREAM, 1.6);
    DrawEmblem(c, DISC_CENTRE + Pt{0, 2}, 1.0, col::CREAM, col::RED_DARK, col::GOLD);
    for (double side : {-1.0, 1.0}) {
        DrawStar(c, DISC_CENTRE + Pt{side * 21.0, 24.0}, 4.6, 2.0, 0, col::GOLD, col::GOLD);
    }
}

void DrawLetteredFace(Canvas& c) {
    c.Filled(path::Circle(DISC_CENTRE, FACE_RADIUS), col::GOLD_DARK);
    c.Filled(path::Circle(DISC_CENTRE, 44.0), col::GOLD);
    c.Filled(path::Circle(DISC_CENTRE, 33.0), col::NAVY_DARK);
    c.Filled(path::Circle(DISC_CENTRE, 32.0), col::NAVY);
    DrawTextOnCircle(c, "TARVOLEN", DISC_CENTRE, 35.0, true, 12.5, col::NAVY_DARK);
    for (int i = -1; i <= 1; ++i) {
        DrawStar(c, DISC_CENTRE + Polar(38.5, 180.0 + i * 24.0), 4.0, 1.7, 0, col::NAVY_DARK,
                 col::NAVY_DARK);
    }
    for (double side : {-1.0, 1.0}) {
        c.Filled(path::Circle(DISC_CENTRE + Polar(38.5, side * 72.0), 1.6), col::NAVY_DARK);
    }
    DrawEmblem(c, DISC_CENTRE + Pt{0, 3}, 0.76, col::CREAM, col::NAVY_DARK, col::GOLD);
}
}  // namespace

void DrawStar(Canvas& canvas, Pt centre, double outer, double inner, double degrees, Rgb fill,
              Rgb outline) {
    const auto pts = StarPoints(centre, outer, inner, degrees);
    if (fill == outline) {
        canvas.Filled(path::Polygon(pts), fill);
    } else {
        canvas.Outlined(path::Polygon(pts), fill, outline);
    }
}

bool InDisc(int x, int y) {
    return DistanceFromCentre(x, y) <= DISC_RADIUS;
}
// The face opening is exactly what the plate covers when it sits in the rim, so it is taken
// from the drawing rather than from the circle's equation.
bool InFace(int x, int y) {
    static const std::vector<bool> face = [] {
        Canvas c(SIGN_WIDTH, SIGN_HEIGHT, col::MAGENTA);
        c.Filled(path::Circle(DISC_CENTRE, FACE_RADIUS), col::INK);
        std::vector<bool> inside(size_t(SIGN_WIDTH) * SIGN_HEIGHT);
        for (int j = 0; j < SIGN_HEIGHT; ++j) {
            for (int i = 0; i < SIGN_WIDTH; ++i) {
                inside[size_t(j) * SIGN_WIDTH + i] = c.At(i, j) == col::INK;
            }
        }
        return inside;
    }();
    if (x < 0 || y < 0 || x >= SIGN_WIDTH || y >= SIGN_HEIGHT) {
        return false;
    }
    return face[size_t(y) * SIGN_WIDTH + x];
}

void DrawSignBody(Canvas& c) {
    DrawBracket(c);
    c.Filled(path::Circle(DISC_CENTRE, DISC_RADIUS), col::INK);
    c.Filled(path::Circle(DISC_CENTRE, 48.0), col::RIM_DARK);
    c.FilledWithin(path::Circle(DISC_CENTRE, 48.0),
                   path::Circle(DISC_CENTRE + Pt{-0.8, -0.8}, 47.6), col::RIM);
    c.FilledWithin(
        path::Circle(DISC_CENTRE, 48.0),
        [](cairo_t* cr) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, DISC_CENTRE.x, DISC_CENTRE.y, 48.0, M_PI * 1.05, M_PI * 1.45);
            cairo_arc_negative(cr, DISC_CENTRE.x, DISC_CENTRE.y, 46.6, M_PI * 1.45, M_PI * 1.05);
            cairo_close_path(cr);
        },
        col::RIM_LIGHT);
    c.Filled(path::Circle(DISC_CENTRE, 46.0), col::INK);
    // Rivets on the rim.
    for (int i = 0; i < 8; ++i) {
        c.Filled(path::Circle(DISC_CENTRE + Polar(47.0, 22.5 + i * 45.0), 0.9), col::RIM_LIGHT);
    }
}

void DrawFacePlate(Canvas& c, FaceDesign design, Pt centre, double squash) {
    cairo_t* cr = c.Cr();
    if (squash < 0.999) {
        // The plate's edge shows as it turns.
        c.Outlined(path::Ellipse(centre + Pt{squash < 0.2 ? 0.0 : 1.5, 0},
                                 FACE_RADIUS * squash + 2.0, FACE_RADIUS),
                   col::PLATE_BACK);
    }
    if (squash < 0.12) {
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, centre.x, centre.y);
    cairo_scale(cr, squash, 1.0);
    cairo_translate(cr, -DISC_CENTRE.x, -DISC_CENTRE.y);
    if (design == FaceDesign::Emblem) {
        DrawEmblemFace(c);
    } else {
        DrawLetteredFace(c);
    }
    cairo_restore(cr);
}

void DrawSignFace(Canvas& c, FaceDesign design) {
    DrawSignBody(c);
    DrawFacePlate(c, design, DISC_CENTRE, 1.0);
}

PixelMask SignOutline() {
    Canvas bracket(SIGN_WIDTH, SIGN_HEIGHT, col::MAGENTA);
    DrawBracket(bracket);
    PixelMask mask(0, 0, SIGN_WIDTH, SIGN_HEIGHT);
    for (int y = 0; y < SIGN_HEIGHT; ++y) {
        for (int x = 0; x < SIGN_WIDTH; ++x) {
            mask.Set(x, y, InDisc(x, y) || bracket.At(x, y) != col::MAGENTA);
        }
    }
    return mask;
}

PixelMask SignRim() {
    const PixelMask outline = SignOutline();
    PixelMask rim(0, 0, SIGN_WIDTH, SIGN_HEIGHT);
    for (int y = 1; y < SIGN_HEIGHT - 1; ++y) {
        for (int x = 1; x < SIGN_WIDTH - 1; ++x) {
            rim.Set(x, y, outline.At(x, y) && !InFace(x, y));
        }
    }
    return rim;
}

IconImage SignIcon(int size, int bitsPerPixel) {
    Canvas c(size, size, col::MAGENTA);
    const double k = size / 32.0;
    const Pt centre{13.5 * k, 16.0 * k};
    const double r = 13.0 * k;
    // Bracket: arm and wall plate at the right edge.
    c.Filled(path::Rect(centre.x + r - 1, 13.0 * k, 32 * k - (centre.x + r - 1), 3.0 * k),
             col::INK);
    c.Filled(path::Rect(29.0 * k, 8.0 * k, 3.0 * k, 16.0 * k), col::INK);
    if (size >= 32) {
        c.Filled(path::Rect(centre.x + r - 1, 14.0, 32 - (centre.x + r - 1) - 2, 1.0), col::IRON);
        c.Filled(path::Rect(30.0, 9.0, 1.0, 14.0), col::IRON_LIGHT);
    }
    c.Filled(path::Circle(centre, r), col::INK);
    c.Filled(path::Circle(centre, r - 1.0 * k), col::RIM);
    c.Filled(path::Circle(centre, r - 2.0 * k), col::GOLD);
    c.Filled(path::Circle(centre, r - (size >= 32 ? 4.5 : 5.0) * k), col::NAVY);
    if (size >= 32) {
        // Lettering suggested by dashes on the gold band.
        for (int i = -3; i <= 3; ++i) {
            c.Filled(path::Circle(centre + Polar(r - 3.5, i * 20.0), 0.8), col::NAVY_DARK);
        }
        DrawEmblem(c, centre + Pt{0, 1.0}, 0.21, col::CREAM, col::CREAM, col::CREAM);
    } else {
        c.Filled(path::Rect(centre.x - 2.5, centre.y - 2.5, 5, 1.5), col::CREAM);
        c.Filled(path::Rect(centre.x - 0.5, centre.y - 1.5, 1.5, 4.5), col::CREAM);
    }
    // Entry 0 is black: the colour bits under the mask's transparent pixels must be 0.
    IconImage icon;
    icon.size = size;
    icon.bitsPerPixel = bitsPerPixel;
    icon.colours.width = size;
    icon.colours.height = size;
    icon.colours.table.push_back(col::BLACK);
    icon.colours.pixels.resize(size_t(size) * size);
    icon.transparent.resize(size_t(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgb colour = c.At(x, y);
            const size_t k = size_t(y) * size + x;
            if (colour == col::MAGENTA) {
                icon.transparent[k] = 1;
                continue;
            }
            size_t i = 0;
            while (i < icon.colours.table.size() && icon.colours.table[i] != colour) {
                ++i;
            }
            if (i == icon.colours.table.size()) {
                icon.colours.table.push_back(colour);
            }
            icon.colours.pixels[k] = uint8_t(i);
        }
    }
    return icon;
}
