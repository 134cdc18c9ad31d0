// Starts the real program (or a helper program built beside the tests) and watches it
// from outside, as a user's desktop would.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A file in the directory of the running test binary.
std::string PathBesideTests(const char* fileName);

class ProgramProcess {
public:
    ProgramProcess() = default;
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Start(const char* exeName, const std::string& arguments = "");
    // Waits for the process to end; false on time-out.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);
    bool Running() const;
    DWORD Id() const { return info.dwProcessId; }
    void Kill();

private:
    PROCESS_INFORMATION info = {};
};

// The program's hidden main window, once it exists; null on time-out.
HWND WaitForMainWindow(DWORD timeoutMs);
// Every top-level window of the sprite class, of any process.
std::vector<HWND> SpriteWindows();

// Polls a condition until it holds or the time runs out; true when it held.
template <typename Condition>
bool WaitUntil(DWORD timeoutMs, Condition&& condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(20);
    }
    return true;
}
