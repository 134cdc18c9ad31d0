#include "e2e/support/ProgramProcess.h"

#include <cstdio>

std::string PathBesideTests(const char* fileName) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.resize(directory.find_last_of("\\/") + 1);
    return directory + fileName;
}

ProgramProcess::~ProgramProcess() {
    Kill();
}

bool ProgramProcess::Start(const char* exeName, const std::string& arguments) {
    const std::string path = PathBesideTests(exeName);
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

bool ProgramProcess::WaitForExit(DWORD timeoutMs, DWORD& exitCode) {
    if (!info.hProcess || WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    GetExitCodeProcess(info.hProcess, &exitCode);
    return true;
}

bool ProgramProcess::Running() const {
    return info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

void ProgramProcess::Kill() {
    if (!info.hProcess) {
        return;
    }
    if (Running()) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    info = {};
}

HWND WaitForMainWindow(DWORD timeoutMs) {
    HWND window = nullptr;
    WaitUntil(timeoutMs, [&window] {
        window = FindWindowA("TARVOLENV10", "Tarvolen");
        return window != nullptr;
    });
    return window;
}

std::vector<HWND> SpriteWindows() {
    std::vector<HWND> windows;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "TarvolenStrollkin", nullptr)) != nullptr) {
        windows.push_back(window);
    }
    return windows;
}
