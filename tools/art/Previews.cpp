// Pictures for people: a contact sheet per animation with every frame at its offset over the
// sign and the ground line, the frames of an animated preview played with the real timings,
// and a sheet of the sign faces, icons and cursor.
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Artwork.h"
#include "Canvas.h"
#include "Cursor.h"
#include "Scripts.h"
#include "Sign.h"

namespace {
constexpr int SCALE = 2;

void MakeDirs(const std::string& dir) {
    std::string partial;
    for (size_t i = 0; i <= dir.size(); ++i) {
        if (i == dir.size() || dir[i] == '/') {
            if (!partial.empty()) {
                mkdir(partial.c_str(), 0755);
            }
        }
        if (i < dir.size()) {
            partial += dir[i];
        }
    }
}

void SavePng(const Canvas& c, const std::string& file, int scale) {
    cairo_surface_t* out =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, c.Width() * scale, c.Height() * scale);
    cairo_t* cr = cairo_create(out);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, c.Surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_destroy(cr);
    if (cairo_surface_write_to_png(out, file.c_str()) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(out);
        throw std::runtime_error("cannot write " + file);
    }
    cairo_surface_destroy(out);
}

enum class SignLook { OldFace, RimOnly, NewFace };

// As the sign's window shows it: in the shape it has for the look.
void PasteSign(Canvas& scene, int x, int y, SignLook look) {
    static const PixelMask outline = SignOutline();
    static const PixelMask rim = SignRim();
    Canvas face(SIGN_WIDTH, SIGN_HEIGHT, col::INK);
    DrawSignFace(face, look == SignLook::OldFace ? FaceDesign::Emblem : FaceDesign::Lettered);
    for (int j = 0; j < SIGN_HEIGHT; ++j) {
        for (int i = 0; i < SIGN_WIDTH; ++i) {
            if (!(look == SignLook::RimOnly ? rim : outline).At(i, j)) {
                continue;
            }
            scene.Set(x + i, y + j, face.At(i, j));
        }
    }
}

void PasteFrame(Canvas& scene, const Script& script, int index, int x, int y) {
    const FrameSpec& f = script.frames[size_t(index)];
    Canvas frame(f.width, f.height, col::MAGENTA);
    RenderFrame(script, index, frame);
    scene.Paste(frame, x + f.x, y + f.y, col::MAGENTA);
}

void BoxOutline(Canvas& c, double x, double y, double w, double h, Rgb colour) {
    c.Stroked(path::Rect(x + 0.5, y + 0.5, w - 1, h - 1), colour, 1.0);
}

// Every frame at its offset over the sign at its stop position, on the common ground line.
void ContactSheet(const Script& script, const std::string& file) {
    int minX = 0, minY = 0, maxX = script.signX + SIGN_WIDTH, maxY = script.groundY + 4;
    for (const auto& f : script.frames) {
        minX = std::min(minX, f.x);
        minY = std::min(minY, f.y);
        maxX = std::max(maxX, f.x + f.width);
        maxY = std::max(maxY, f.y + f.height);
    }
    const int cellW = maxX - minX + 8;
    const int cellH = maxY - minY + 8;
    const int columns = script.frames.size() > 8 ? 8 : int(script.frames.size());
    const int rows = int((script.frames.size() + columns - 1) / columns);
    Canvas sheet(cellW * columns, cellH * rows, col::PREVIEW_SKY);
    for (size_t i = 0; i < script.frames.size(); ++i) {
        const int cx = int(i % columns) * cellW + 4 - minX;
        const int cy = int(i / columns) * cellH + 4 - minY;
        const int index = int(i);
        SignLook look = SignLook::NewFace;
        if (script.name == "signchange") {
            look = index < 21   ? SignLook::OldFace
                   : index < 28 ? SignLook::RimOnly
                                : SignLook::NewFace;
        }
        PasteSign(sheet, cx + script.signX, cy + script.signY, look);
        sheet.Filled(path::Rect(cx + minX, cy + script.groundY, maxX - minX, 1), col::TOP_SHADE);
        const FrameSpec& f = script.frames[i];
        BoxOutline(sheet, cx + f.x - 1, cy + f.y - 1, f.width + 2, f.height + 2, col::PREVIEW_GRID);
        PasteFrame(sheet, script, index, cx, cy);
    }
    SavePng(sheet, file, SCALE);
}

// A desktop with a window whose sign the figure visits.
struct Scene {
    int width = 460;
    int height = 330;
    int signX = 200;
    int signY = 24;
    int TargetLeft() const { return signX + SIGN_WIDTH; }
};

void DrawDesktop(Canvas& c, const Scene& s, SignLook look) {
    c.FillRect(0, 0, s.width, s.height, col::PREVIEW_SKY);
    c.FillRect(s.TargetLeft(), s.signY, s.width - s.TargetLeft(), s.height - s.signY - 20,
               col::PREVIEW_WINDOW);
    c.FillRect(s.TargetLeft(), s.signY, s.width - s.TargetLeft(), 18, col::PREVIEW_TITLE);
    PasteSign(c, s.signX, s.signY, look);
}

struct Step {
    int frame;
    int x;
    int ticks;
    SignLook look;
    int sparkle = -1;  // sparkle frame shown as well
};

// The frame steps of one run of the script, following the program's walk rules.
std::vector<Step> Simulate(const Script& script, const Scene& s) {
    std::vector<Step> steps;
    const auto& f = script.frames;
    const bool placard = script.name == "placard";
    const bool visit = script.name == "laddervisit";
    const int stop = placard ? s.signX : s.signX - 88;
    int x = -f[0].width;
    int frame = 0;
    SignLook look = script.name == "signchange" ? SignLook::OldFace : SignLook::NewFace;
    auto push = [&](int fr) { steps.push_back({fr, x, f[size_t(fr)].ticks, look}); };
    while (x + 6 < stop) {
        x += 6;
        frame = (frame + 1) % 4;
        push(frame);
    }
    x = stop;
    const int actEnd = placard ? 10 : visit ? 50 : 42;
    for (int fr = 4; fr <= actEnd; ++fr) {
        if (script.name == "signchange") {
            look = fr < 21 ? SignLook::OldFace : fr < 28 ? SignLook::RimOnly : SignLook::NewFace;
        }
        push(fr);
    }
    if (placard) {
        const int limit = s.TargetLeft() - 67;
        push(0);
        frame = 0;
        while (limit > x) {
            x += 6;
            frame = (frame + 1) % 4;
            push(frame);
        }
        x = limit;
        for (int fr = 11; fr <= 14; ++fr) {
            push(fr);
        }
        return steps;
    }
    const int first = visit ? 51 : 43;
    frame = first - 1;
    int right = x + 185;
    while (right > 0) {
        x -= 6;
        frame = frame + 1 >= first + 4 ? first : frame + 1;
        push(frame);
        right = x + f[size_t(frame)].width + 6;
    }
    if (visit) {
        // The sparkle starts with frame 44 and twinkles for 70 ticks, on its own clock.
        int tick = 0;
        int sparkleStart = -1;
        for (auto& step : steps) {
            if (step.frame == 44 && sparkleStart < 0) {
                sparkleStart = tick;
            }
            if (sparkleStart >= 0 && tick - sparkleStart < 70) {
                step.sparkle = ((tick - sparkleStart) / 10) % 2 == 0 ? 1 : 0;
            }
            tick += step.ticks;
        }
    }
    return steps;
}

void Animation(const Script& script, const std::string& dir, const std::string& listFile) {
    const Scene s;
    const Script* sparkle = nullptr;
    for (const auto& other : AllScripts()) {
        if (other.name == "sparkle") {
            sparkle = &other;
        }
    }
    const auto steps = Simulate(script, s);
    std::string list;
    const std::string frameDir = dir + "/frames-" + script.name;
    MakeDirs(frameDir);
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& st = steps[i];
        Canvas scene(s.width, s.height, col::PREVIEW_SKY);
        DrawDesktop(scene, s, st.look);
        PasteFrame(scene, script, st.frame, st.x, s.signY - 2);
        if (st.sparkle >= 0 && sparkle) {
            PasteFrame(scene, *sparkle, st.sparkle, s.signX - 88, s.signY - 2);
        }
        char name[64];
        std::snprintf(name, sizeof name, "/%04zu.png", i);
        SavePng(scene, frameDir + name, 1);
        list += std::to_string(st.ticks * 5) + " " + frameDir + name + "\n";
    }
    FILE* out = std::fopen(listFile.c_str(), "w");
    if (!out) {
        throw std::runtime_error("cannot write " + listFile);
    }
    std::fputs(list.c_str(), out);
    std::fclose(out);
}

void SignSheet(const std::string& file) {
    Canvas sheet(2 * SIGN_WIDTH + 3 * 8 + 32 + 16 + 32 + 24, SIGN_HEIGHT + 16, col::PREVIEW_SKY);
    PasteSign(sheet, 8, 8, SignLook::OldFace);
    PasteSign(sheet, 16 + SIGN_WIDTH, 8, SignLook::NewFace);
    int x = 24 + 2 * SIGN_WIDTH;
    for (int size : {32, 16}) {
        const IconImage icon = SignIcon(size, size == 32 ? 8 : 4);
        for (int j = 0; j < size; ++j) {
            for (int i = 0; i < size; ++i) {
                if (!icon.transparent[size_t(j) * size + i]) {
                    sheet.Set(x + i, 8 + j, icon.colours.ColourAt(i, j));
                }
            }
        }
        x += size + 8;
    }
    const auto rows = HandCursorRows();
    for (int j = 0; j < 32; ++j) {
        for (int i = 0; i < 32; ++i) {
            const char ch = rows[size_t(j)][size_t(i)];
            if (ch != '.') {
                sheet.Set(x + i, 8 + j, ch == '#' ? col::BLACK : col::WHITE);
            }
        }
    }
    sheet.Set(x + CURSOR_HOT_X, 8 + CURSOR_HOT_Y, col::RED);
    SavePng(sheet, file, 3);
}
}  // namespace

void WritePreviews(const std::string& dir) {
    MakeDirs(dir);
    SignSheet(dir + "/sign-icons-cursor.png");
    for (const auto& script : AllScripts()) {
        ContactSheet(script, dir + "/" + script.name + "-sheet.png");
        if (script.name != "sparkle") {
            Animation(script, dir, dir + "/" + script.name + ".frames");
        }
    }
}

void WriteCloseUp(const std::string& scriptName, int first, int last, const std::string& file) {
    for (const auto& script : AllScripts()) {
        if (script.name != scriptName) {
            continue;
        }
        int width = 4, height = 0;
        for (int i = first; i <= last; ++i) {
            width += script.frames[size_t(i)].width + 4;
            height = std::max(height, script.frames[size_t(i)].height);
        }
        Canvas sheet(width, height + 8, col::PREVIEW_SKY);
        int x = 4;
        for (int i = first; i <= last; ++i) {
            const FrameSpec& f = script.frames[size_t(i)];
            Canvas frame(f.width, f.height, col::MAGENTA);
            RenderFrame(script, i, frame);
            sheet.FillRect(x, 4, f.width, f.height, col::PREVIEW_WINDOW);
            sheet.Paste(frame, x, 4, col::MAGENTA);
            x += f.width + 4;
        }
        SavePng(sheet, file, 4);
        return;
    }
    throw std::runtime_error("no script " + scriptName);
}
