#include "e2e/support/Desktop.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {
// The sign shows today's face in the sign's shape at a place, at a scale, with the desktop as
// it was before around it; waits a little for the paint.
testing::AssertionResult ShowsFaceInShape(const RECT& place, const std::vector<uint32_t>& before,
                                          int scale) {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(5001), "REGION");
    const XFORM scaling = {FLOAT(scale), 0, 0, FLOAT(scale), 0, 0};
    HRGN shape =
        ExtCreateRegion(&scaling, SizeofResource(nullptr, resource),
                        static_cast<const RGNDATA*>(LockResource(LoadResource(nullptr, resource))));
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(4002));
    const std::vector<uint32_t> face = PixelsOf(bitmap);
    DeleteObject(bitmap);
    const int width = place.right - place.left;
    int wrong = 0;
    WaitUntil(3000, [&] {
        const std::vector<uint32_t> now = ScreenPixels(place);
        wrong = 0;
        for (size_t i = 0; i < now.size(); ++i) {
            const int x = int(i) % width, y = int(i) / width;
            wrong += now[i] != (PtInRegion(shape, x, y) ? face[y / scale * SIGN_WIDTH + x / scale]
                                                        : before[i]);
        }
        return wrong == 0;
    });
    DeleteObject(shape);
    return wrong == 0 ? testing::AssertionSuccess()
                      : testing::AssertionFailure() << wrong << " pixels of the sign are wrong";
}

// Magenta, the artwork's transparent colour, or a blend with it.
bool ShowsMagenta(uint32_t pixel) {
    const int red = pixel >> 16 & 0xFF, green = pixel >> 8 & 0xFF, blue = pixel & 0xFF;
    return red - green >= 48 && blue - green >= 48;
}

const char* const BROWSER_KEY = "Software\\Wine\\WineBrowser";
}  // namespace

Process::~Process() {
    if (Running()) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    if (info.hProcess) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
}

bool Process::Start(const char* exeName, const std::string& arguments) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path = std::string(self, std::strrchr(self, '\\') + 1) + exeName;
    std::string commandLine = "\"" + path + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    // Twice in some ninety runs on a busy machine Wine failed to start the sample window at
    // once. Try again after a moment, and say so: a program that cannot start fails twice.
    for (int attempt = 1; attempt <= 2; ++attempt) {
        if (CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info)) {
            return true;
        }
        std::printf("starting %s failed (attempt %d, error %lu)\n", exeName, attempt,
                    GetLastError());
        Sleep(500);
    }
    return false;
}

bool Process::Ended(DWORD timeoutMs, DWORD& exitCode) {
    return info.hProcess && WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(info.hProcess, &exitCode);
}

HWND StartProgram(Process& program) {
    HWND window = nullptr;
    program.Start("Tarvolen.exe") &&
        WaitUntil(STARTUP_MS, [&] { return (window = FindWindowA("TARVOLENV10", "Tarvolen")); });
    return window;
}

bool CloseProgram(Process& program, HWND mainWindow) {
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    return program.Ended(STARTUP_MS, exitCode) && exitCode == 0;
}

HWND StartSample(Process& sample, const std::string& title, int x, int y, int width, int height) {
    HWND window = nullptr;
    sample.Start("SampleWindow.exe", "\"" + title + "\" " + std::to_string(x) + " " +
                                         std::to_string(y) + " " + std::to_string(width) + " " +
                                         std::to_string(height)) &&
        WaitUntil(STARTUP_MS, [&] {
            window = FindWindowA("TarvolenSampleWindow", title.c_str());
            return window && IsWindowVisible(window);
        });
    return window;
}

std::vector<HWND> SpritesOwnedBy(HWND owner) {
    std::vector<HWND> owned;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "TarvolenStrollkin", nullptr));) {
        if (GetWindow(w, GW_OWNER) == owner) {
            owned.push_back(w);
        }
    }
    return owned;
}

HWND VisibleFigure(HWND mainWindow) {
    for (HWND figure : SpritesOwnedBy(mainWindow)) {
        if (IsWindowVisible(figure)) {
            return figure;
        }
    }
    return nullptr;
}

RECT RectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool SignShownAt(HWND sign, int x, int y, int scale) {
    const RECT rect = RectOf(sign);
    return IsWindowVisible(sign) && rect.left == x && rect.top == y &&
           rect.right - x == SIGN_WIDTH * scale && rect.bottom - y == SIGN_HEIGHT * scale;
}

HWND WaitForSign(HWND target, int x, int y, int scale) {
    HWND sign = nullptr;
    WaitUntil(ARRIVAL_MS, [&] {
        const std::vector<HWND> signs = SpritesOwnedBy(target);
        sign = signs.size() == 1 && SignShownAt(signs[0], x, y, scale) ? signs[0] : nullptr;
        return sign != nullptr;
    });
    return sign;
}

void ClickAt(int x, int y) {
    // Press and release carry the point too: in a fresh X session Wine may put the pointer
    // back where X had it a moment after the first move.
    INPUT inputs[3] = {};
    const DWORD actions[] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = (x * 65536 + 512) / GetSystemMetrics(SM_CXSCREEN);
        inputs[i].mi.dy = (y * 65536 + 384) / GetSystemMetrics(SM_CYSCREEN);
        inputs[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | actions[i];
    }
    SendInput(3, inputs, sizeof(INPUT));
}

void SignAndWalk::Run(int scale) {
    mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(mainWindow));
    const RECT place = {(260 - SIGN_WIDTH) * scale, 150, 260 * scale, 150 + SIGN_HEIGHT * scale};
    const std::vector<uint32_t> before = ScreenPixels(place);
    target = StartSample(sample, "Walk sample", 260 * scale, 150, 400, 300);
    ASSERT_NE(target, nullptr);
    sign = WaitForSign(target, place.left, place.top, scale);
    ASSERT_NE(sign, nullptr);
    EXPECT_TRUE(ShowsFaceInShape(place, before, scale));

    ASSERT_TRUE(WaitUntil(ARRIVAL_MS, [&] { return (figure = VisibleFigure(mainWindow)); }));
    std::vector<std::pair<DWORD, RECT>> walk;
    int magenta = 0, drawn = 0;
    for (const DWORD start = GetTickCount(); IsWindow(figure) && GetTickCount() - start < 3000;
         Sleep(5)) {
        const RECT at = RectOf(figure);
        walk.push_back({GetTickCount(), at});
        if (walk.size() % 4 == 0) {
            const std::vector<uint32_t> screen = ScreenPixels({0, 0, 1024, 768});
            for (size_t i = 0; i < screen.size(); ++i) {
                const POINT point = {LONG(i % 1024), LONG(i / 1024)};
                magenta += ShowsMagenta(screen[i]);
                drawn += PtInRect(&at, point) && screen[i] != before[0];
            }
        }
    }
    ASSERT_GT(walk.size(), 10u);
    const RECT& first = walk.front().second;
    EXPECT_TRUE(first.left < 0 && first.left > -185 * scale) << first.left;
    for (size_t i = 1; i < walk.size(); ++i) {
        const RECT& now = walk[i].second;
        const int moved = now.left - walk[i - 1].second.left;
        EXPECT_TRUE(moved >= 0 && moved % (6 * scale) == 0 && now.top == first.top &&
                    now.bottom - now.top == 70 * scale)
            << "moved " << moved << " pixels, " << now.bottom - now.top << " high";
    }
    const double perStep = (walk.back().second.left - first.left) * 150.0 / scale /
                           (walk.back().first - walk.front().first);
    // The ticks may run late on a busy machine, never early.
    EXPECT_TRUE(perStep > 3.5 && perStep < 7.0) << perStep;
    EXPECT_GT(first.bottom, place.bottom + 100 * scale);
    EXPECT_LT(first.bottom, place.top + 320 * scale);
    EXPECT_EQ(magenta, 0);
    EXPECT_GT(drawn, 200);
}

BrowserRecorder::BrowserRecorder()
    : record("/tmp/tarvolen-pages-" + std::to_string(GetCurrentProcessId())) {
    DeleteFileA(("Z:" + record).c_str());
    // The launcher appends the address as the last argument, which the shell sees as $0.
    const std::string script = "/bin/sh -c \"echo \\\"$0\\\" >> " + record + "\"";
    EXPECT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, BROWSER_KEY, "Browsers", REG_SZ, script.c_str(),
                              DWORD(script.size() + 1)),
              ERROR_SUCCESS);
}

BrowserRecorder::~BrowserRecorder() {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, BROWSER_KEY, "Browsers");
    DeleteFileA(("Z:" + record).c_str());
}

std::vector<std::string> BrowserRecorder::Pages() const {
    std::vector<std::string> pages;
    std::ifstream file("Z:" + record);
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            pages.push_back(line);
        }
    }
    return pages;
}
