#include "e2e/support/SpriteWatch.h"

namespace {
constexpr DWORD ARRIVAL_MS = 3000;
constexpr DWORD PAINT_MS = 3000;
// The face a sign hung today shows, and the shape of the whole sign.
constexpr int NEW_FACE_BITMAP = 4002;
constexpr int SIGN_SHAPE_REGION = 5001;

std::vector<HWND> SpritesOwnedBy(HWND owner) {
    std::vector<HWND> owned;
    for (HWND sprite : SpriteWindows()) {
        if (GetWindow(sprite, GW_OWNER) == owner) {
            owned.push_back(sprite);
        }
    }
    return owned;
}
}  // namespace

HWND StartSample(ProgramProcess& sample, const std::string& title, int x, int y, int width,
                 int height) {
    const std::string arguments = "\"" + title + "\" " + std::to_string(x) + " " +
                                  std::to_string(y) + " " + std::to_string(width) + " " +
                                  std::to_string(height);
    if (!sample.Start("SampleWindow.exe", arguments)) {
        return nullptr;
    }
    HWND window = nullptr;
    WaitUntil(STARTUP_MS, [&] {
        window = FindWindowA("TarvolenSampleWindow", title.c_str());
        return window && IsWindowVisible(window);
    });
    return window;
}

HWND StartProgram(ProgramProcess& program) {
    return program.Start("Tarvolen.exe") ? WaitForMainWindow(STARTUP_MS) : nullptr;
}

bool CloseProgram(ProgramProcess& program, HWND mainWindow) {
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    return program.WaitForExit(STARTUP_MS, exitCode) && exitCode == 0;
}

std::vector<HWND> SignsOf(HWND target) {
    return SpritesOwnedBy(target);
}

std::vector<HWND> FiguresOf(HWND mainWindow) {
    return SpritesOwnedBy(mainWindow);
}

HWND VisibleFigure(HWND mainWindow) {
    for (HWND figure : FiguresOf(mainWindow)) {
        if (IsWindowVisible(figure)) {
            return figure;
        }
    }
    return nullptr;
}

bool SignShownAt(HWND sign, int x, int y, int scale) {
    const RECT rect = RectOf(sign);
    return IsWindowVisible(sign) && rect.left == x && rect.top == y &&
           WidthOf(rect) == SIGN_WIDTH * scale && HeightOf(rect) == SIGN_HEIGHT * scale;
}

testing::AssertionResult ShowsFaceInShape(HWND sign, const RECT& place,
                                          const PixelImage& desktopBefore, int scale) {
    const OwnedRegion expectedShape = LoadRegionResource(SIGN_SHAPE_REGION, scale);
    const OwnedRegion shape = WindowShape(sign);
    if (!expectedShape || !shape || !EqualRgn(shape.get(), expectedShape.get())) {
        return testing::AssertionFailure() << "the sign's window lacks the sign's shape";
    }
    const PixelImage face = LoadBitmapResource(NEW_FACE_BITMAP, scale);
    if (face.width != WidthOf(place) || face.height != HeightOf(place)) {
        return testing::AssertionFailure() << "the face is " << face.width << " x " << face.height;
    }
    PixelComparison pixels;
    if (!WaitUntil(PAINT_MS, [&] {
            pixels = CompareShapedPicture(place, face, expectedShape.get(), desktopBefore);
            return pixels.pictureMismatches == 0 && pixels.shapeMismatches == 0;
        })) {
        return testing::AssertionFailure()
               << pixels.pictureMismatches << " pixels of the face and " << pixels.shapeMismatches
               << " pixels around it are wrong";
    }
    return testing::AssertionSuccess();
}

bool VisitScene::Start(const char* title, int left) {
    mainWindow = StartProgram(program);
    target = mainWindow ? StartSample(sample, title, left, 150, 400, 300) : nullptr;
    return target && WaitUntil(ARRIVAL_MS, [&] { return (figure = VisibleFigure(mainWindow)); });
}

std::vector<Sighting> Follow(HWND figure, DWORD durationMs,
                             const std::function<void()>& atEachSighting) {
    std::vector<Sighting> sightings;
    const DWORD start = GetTickCount();
    while (IsWindow(figure) && GetTickCount() - start < durationMs) {
        sightings.push_back({GetTickCount(), RectOf(figure)});
        if (atEachSighting) {
            atEachSighting();
        }
        Sleep(5);
    }
    return sightings;
}
