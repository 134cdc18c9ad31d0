#include "e2e/support/BrowserRecorder.h"

#include <windows.h>

#include <fstream>

namespace {
const char* const BROWSER_KEY = "Software\\Wine\\WineBrowser";
const char* const BROWSERS_VALUE = "Browsers";

// Wine's launcher runs Unix programs, so the recorder needs the Unix name of the file.
std::string UnixPathOf(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) {
        return {};
    }
    WCHAR wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* unixPath = toUnix(wide);
    if (!unixPath) {
        return {};
    }
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}
}  // namespace

BrowserRecorder::BrowserRecorder() {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    recordPath =
        std::string(directory) + "tarvolen-pages-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(recordPath.c_str());
    const std::string unixRecordPath = UnixPathOf(recordPath);
    if (unixRecordPath.empty() || unixRecordPath.find('\'') != std::string::npos) {
        return;
    }

    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, BROWSER_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    char previous[1024] = {};
    DWORD size = sizeof(previous);
    hadPreviousBrowsers =
        RegQueryValueExA(key, BROWSERS_VALUE, nullptr, nullptr, reinterpret_cast<BYTE*>(previous),
                         &size) == ERROR_SUCCESS;
    previousBrowsers = previous;
    // A run that died before restoring left its own recorder behind: that is no browser.
    if (previousBrowsers.find("tarvolen-pages-") != std::string::npos) {
        hadPreviousBrowsers = false;
    }
    // The launcher splits the list at commas and appends the address as the last argument,
    // which the shell sees as $0.
    const std::string recorder = "/bin/sh -c \"echo \\\"$0\\\" >> '" + unixRecordPath + "'\"";
    ready = RegSetValueExA(key, BROWSERS_VALUE, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(recorder.c_str()),
                           static_cast<DWORD>(recorder.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
}

BrowserRecorder::~BrowserRecorder() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, BROWSER_KEY, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        if (hadPreviousBrowsers) {
            RegSetValueExA(key, BROWSERS_VALUE, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(previousBrowsers.c_str()),
                           static_cast<DWORD>(previousBrowsers.size() + 1));
        } else {
            RegDeleteValueA(key, BROWSERS_VALUE);
        }
        RegCloseKey(key);
    }
    DeleteFileA(recordPath.c_str());
}

std::vector<std::string> BrowserRecorder::Pages() const {
    std::vector<std::string> pages;
    std::ifstream file(recordPath);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            pages.push_back(line);
        }
    }
    return pages;
}
