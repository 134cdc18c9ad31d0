#include "PixelFont.h"

#include <cmath>
#include <map>

namespace {
using G = const char* const[GLYPH_HEIGHT];
// clang-format off
G A = {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
G B = {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."};
G C = {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."};
G D = {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."};
G E = {"#####", "#....", "#....", "####.", "#....", "#....", "#####"};
G F = {"#####", "#....", "#....", "####.", "#....", "#....", "#...."};
G Gg = {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"};
G H = {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
G I = {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"};
G K = {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"};
G L = {"#....", "#....", "#....", "#....", "#....", "#....", "#####"};
G M = {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"};
G N = {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"};
G O = {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
G P = {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."};
G R = {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"};
G S = {".####", "#....", "#....", ".###.", "....#", "....#", "####."};
G T = {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."};
G U = {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
G V = {"#...#", "#...#", "#...#", ".#.#.", ".#.#.", ".#.#.", "..#.."};
G W = {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"};
G Y = {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."};
G Q = {".###.", "#...#", "....#", "..##.", "..#..", ".....", "..#.."};
G X = {".....", ".....", ".....", ".....", ".....", ".....", "....."};
G DOT = {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."};
G BANG = {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."};
G STAR = {".....", "..#..", "#####", ".###.", ".#.#.", ".....", "....."};
// clang-format on

const std::map<char, const char* const*>& Glyphs() {
    static const std::map<char, const char* const*> glyphs = {
        {'A', A}, {'B', B}, {'C', C}, {'D', D},   {'E', E},    {'F', F},    {'G', Gg},
        {'H', H}, {'I', I}, {'K', K}, {'L', L},   {'M', M},    {'N', N},    {'O', O},
        {'P', P}, {'R', R}, {'S', S}, {'T', T},   {'U', U},    {'V', V},    {'W', W},
        {'Y', Y}, {'?', Q}, {' ', X}, {'.', DOT}, {'!', BANG}, {'*', STAR},
    };
    return glyphs;
}
}  // namespace

const char* const* Glyph(char c) {
    auto it = Glyphs().find(c);
    return it == Glyphs().end() ? X : it->second;
}

int TextWidth(const std::string& text, int scale, int spacing) {
    if (text.empty()) {
        return 0;
    }
    return int(text.size()) * (GLYPH_WIDTH + spacing) * scale - spacing * scale;
}

void DrawText(Canvas& canvas, const std::string& text, double x, double y, int scale, Rgb colour,
              int spacing) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char* const* g = Glyph(text[i]);
        const double gx = x + double(i) * (GLYPH_WIDTH + spacing) * scale;
        for (int row = 0; row < GLYPH_HEIGHT; ++row) {
            for (int col = 0; col < GLYPH_WIDTH; ++col) {
                if (g[row][col] == '#') {
                    canvas.Filled(path::Rect(gx + col * scale, y + row * scale, scale, scale),
                                  colour);
                }
            }
        }
    }
}

void DrawTextOnCircle(Canvas& canvas, const std::string& text, Pt centre, double radius, bool upper,
                      double pitch, Rgb colour) {
    cairo_t* cr = canvas.Cr();
    const double n = double(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        // Angle from straight up, clockwise, of this letter's centre.
        const double offset = (double(i) - (n - 1) / 2) * pitch;
        const double angle = upper ? offset : 180.0 - offset;
        const char* const* g = Glyph(text[i]);
        cairo_save(cr);
        cairo_translate(cr, centre.x, centre.y);
        cairo_rotate(cr, (upper ? angle : angle - 180.0) * M_PI / 180.0);
        // Letter box in the rotated frame: baseline at the radius for lower text reads upright.
        const double baseline = upper ? -radius : radius;
        for (int row = 0; row < GLYPH_HEIGHT; ++row) {
            for (int col = 0; col < GLYPH_WIDTH; ++col) {
                if (g[row][col] != '#') {
                    continue;
                }
                const double px = col - GLYPH_WIDTH / 2.0;
                const double py = upper ? baseline - GLYPH_HEIGHT + row : baseline - 2 + row - 4;
                canvas.Filled(path::Rect(px - 0.06, py - 0.06, 1.12, 1.12), colour);
            }
        }
        cairo_restore(cr);
    }
}
