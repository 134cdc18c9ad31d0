#include "Artwork.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Cursor.h"
#include "FileFormats.h"
#include "Scripts.h"
#include "Sign.h"

namespace {
void MakeDir(const std::string& dir) {
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
        throw std::runtime_error("cannot create " + dir);
    }
}

struct ResourceScript {
    std::vector<std::string> lines;
    void Add(int id, const char* type, const std::string& file) {
        lines.push_back(std::to_string(id) + " " + type + " \"" + file + "\"");
    }
};

void WriteBitmap(const std::string& resDir, ResourceScript& rc, int id, const Canvas& canvas,
                 bool runLength) {
    const IndexedImage image = canvas.ToIndexed();
    const Bytes bytes = EncodeBmp(image, runLength);
    const IndexedImage back = DecodeBmp(bytes);
    if (back.pixels != image.pixels || back.table != image.table) {
        throw std::runtime_error("bitmap " + std::to_string(id) + " does not read back");
    }
    const std::string name = "bitmaps/" + std::to_string(id) + ".bmp";
    WriteFile(resDir + "/" + name, bytes);
    rc.Add(id, "BITMAP", name);
}

void WriteRegion(const std::string& resDir, ResourceScript& rc, int id, const PixelMask& mask,
                 RegionRect expectedBound) {
    const auto rects = BandedRects(mask);
    RegionRect bound = rects.at(0);
    for (const auto& r : rects) {
        bound = {std::min(bound.left, r.left), std::min(bound.top, r.top),
                 std::max(bound.right, r.right), std::max(bound.bottom, r.bottom)};
    }
    if (bound.left != expectedBound.left || bound.top != expectedBound.top ||
        bound.right != expectedBound.right || bound.bottom != expectedBound.bottom) {
        throw std::runtime_error("region " + std::to_string(id) + " has the wrong bounds");
    }
    const std::string name = "regions/" + std::to_string(id) + ".bin";
    WriteFile(resDir + "/" + name, EncodeRegion(rects));
    rc.Add(id, "REGION", name);
}

void WriteSign(const std::string& resDir, ResourceScript& rc) {
    for (auto [id, design] : {std::pair{4001, FaceDesign::Emblem}, {4002, FaceDesign::Lettered}}) {
        Canvas face(SIGN_WIDTH, SIGN_HEIGHT, col::INK);
        DrawSignFace(face, design);
        for (int y = 0; y < SIGN_HEIGHT; ++y) {
            for (int x = 0; x < SIGN_WIDTH; ++x) {
                if (face.At(x, y) == col::MAGENTA) {
                    throw std::runtime_error("magenta on a sign face");
                }
            }
        }
        WriteBitmap(resDir, rc, id, face, false);
    }
    const PixelMask outline = SignOutline();
    WriteRegion(resDir, rc, 5001, outline, {0, 0, SIGN_WIDTH, SIGN_HEIGHT});
    WriteRegion(resDir, rc, 5002, SignRim(), {1, 1, SIGN_WIDTH - 1, SIGN_HEIGHT - 1});
}

// Frames stored without compression; all others are run-length encoded.
bool StoredPlain(int id) {
    return id == 4207 || id == 4208 || id == 4209;
}

void CheckCoverage(int id, const Canvas& frame) {
    int magenta = 0;
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            magenta += frame.At(x, y) == col::MAGENTA ? 1 : 0;
        }
    }
    const double share = double(magenta) / (frame.Width() * frame.Height());
    if (share < 0.30 || share > 0.88) {
        throw std::runtime_error("frame " + std::to_string(id) + " is " +
                                 std::to_string(int(share * 100)) + "% transparent");
    }
}

// Frames that show the sign must draw it exactly as the sign does, or the picture would jump
// when the figure's window covers the sign. Above the figure the two must agree.
void CheckSignMatches(int id, const Canvas& frame, FaceDesign design, int rows) {
    Canvas face(SIGN_WIDTH, SIGN_HEIGHT, col::INK);
    DrawSignFace(face, design);
    const PixelMask outline = SignOutline();
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            if (outline.At(x, y) && frame.At(x, y) != face.At(x, y)) {
                throw std::runtime_error("frame " + std::to_string(id) +
                                         " does not match the sign at " + std::to_string(x) + "," +
                                         std::to_string(y));
            }
        }
    }
}

struct CutOut {
    int regionId;
    std::vector<int> frameIds;
    RegionRect bound;
    int firstRow;
    int lastRow;
    bool faceOnly;  // only over the sign's face opening
};

// Window shapes for frames that overlap the sign: the frame's rectangle less its transparent
// pixels in the rows where the live sign should show through.
const std::vector<CutOut>& CutOuts() {
    static const std::vector<CutOut> cuts = {
        {5003, {4118}, {1, 1, 97, 263}, 4, 88, true},
        {5004, {4119}, {1, 1, 97, 263}, 4, 93, true},
        {5005, {4120}, {1, 1, 97, 263}, 4, 93, true},
        {5006, {4121}, {1, 1, 97, 263}, 4, 93, true},
        {5007, {4122}, {1, 1, 97, 263}, 4, 87, true},
        {5008, {4125}, {-1, -1, 41, 187}, 0, 30, false},
        {5009, {4126, 4127, 4128, 4129, 4130, 4131, 4132, 4133}, {-1, -1, 41, 187}, 0, 24, false},
        {5010, {4134}, {-1, -1, 90, 182}, 0, 20, false},
        {5011, {4135}, {-1, -1, 102, 176}, 0, 14, false},
    };
    return cuts;
}

void WriteFrames(const std::string& resDir, ResourceScript& rc) {
    std::map<int, std::unique_ptr<Canvas>> frames;
    for (const Script& script : AllScripts()) {
        for (size_t i = 0; i < script.frames.size(); ++i) {
            const FrameSpec& f = script.frames[i];
            auto canvas = std::make_unique<Canvas>(f.width, f.height, col::MAGENTA);
            RenderFrame(script, int(i), *canvas);
            CheckCoverage(f.id, *canvas);
            WriteBitmap(resDir, rc, f.id, *canvas, !StoredPlain(f.id));
            frames[f.id] = std::move(canvas);
        }
    }
    CheckSignMatches(4117, *frames.at(4117), FaceDesign::Emblem, 70);
    CheckSignMatches(4124, *frames.at(4124), FaceDesign::Lettered, 60);
    for (const CutOut& cut : CutOuts()) {
        PixelMask mask(cut.bound.left, cut.bound.top, cut.bound.right - cut.bound.left,
                       cut.bound.bottom - cut.bound.top);
        std::fill(mask.on.begin(), mask.on.end(), 1);
        const Canvas& first = *frames.at(cut.frameIds[0]);
        for (int y = cut.firstRow; y <= cut.lastRow; ++y) {
            for (int x = 0; x < first.Width(); ++x) {
                if (x < cut.bound.left || x >= cut.bound.right || (cut.faceOnly && !InFace(x, y))) {
                    continue;
                }
                bool clear = true;
                for (int id : cut.frameIds) {
                    clear = clear && frames.at(id)->At(x, y) == col::MAGENTA;
                }
                if (clear) {
                    mask.Set(x, y, false);
                }
            }
        }
        // The bounds are fixed: a frame must keep to them, or the shape would cut it off.
        for (int id : cut.frameIds) {
            const Canvas& frame = *frames.at(id);
            for (int y = 0; y < frame.Height(); ++y) {
                for (int x = 0; x < frame.Width(); ++x) {
                    if (frame.At(x, y) != col::MAGENTA && !mask.At(x, y)) {
                        throw std::runtime_error("frame " + std::to_string(id) + " is cut off at " +
                                                 std::to_string(x) + "," + std::to_string(y));
                    }
                }
            }
        }
        WriteRegion(resDir, rc, cut.regionId, mask, cut.bound);
    }
}

void WriteIconsAndCursor(const std::string& resDir, ResourceScript& rc) {
    WriteFile(resDir + "/icons/107.ico", EncodeIcon({SignIcon(16, 4), SignIcon(32, 8)}));
    rc.Add(107, "ICON", "icons/107.ico");
    WriteFile(resDir + "/icons/5000.ico", EncodeIcon({SignIcon(16, 4)}));
    rc.Add(5000, "ICON", "icons/5000.ico");
    WriteFile(resDir + "/cursors/5012.cur",
              EncodeMonoCursor(HandCursorRows(), CURSOR_HOT_X, CURSOR_HOT_Y));
    rc.Add(5012, "CURSOR", "cursors/5012.cur");
}
}  // namespace

void WriteResources(const std::string& resDir) {
    for (const char* sub : {"", "/bitmaps", "/regions", "/icons", "/cursors"}) {
        MakeDir(resDir + sub);
    }
    ResourceScript rc;
    WriteSign(resDir, rc);
    WriteFrames(resDir, rc);
    WriteIconsAndCursor(resDir, rc);

    std::string text =
        "/* Generated by tools/art (tarvolen-art): bitmaps, window shapes, icons and the cursor.\n"
        "   Paths are relative to res/. Do not edit; run tools/art/generate.sh. */\n";
    for (const auto& line : rc.lines) {
        text += line + "\n";
    }
    WriteFile(resDir + "/art.rc", Bytes(text.begin(), text.end()));
}
