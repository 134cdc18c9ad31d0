#include "windows/HandleRegistry.h"

HandleRegistry handleRegistry;

namespace {
uintptr_t KeyOf(HWND window) {
    return reinterpret_cast<uintptr_t>(window);
}
}  // namespace

void HandleRegistry::Add(HWND window, ScreenWindow* object) {
    entries[KeyOf(window)] = object;
}

void HandleRegistry::Remove(HWND window) {
    entries.erase(KeyOf(window));
}

ScreenWindow* HandleRegistry::Find(HWND window) const {
    const auto it = entries.find(KeyOf(window));
    return it == entries.end() ? nullptr : it->second;
}

HWND HandleRegistry::FirstWindow() const {
    return entries.empty() ? nullptr : reinterpret_cast<HWND>(entries.begin()->first);
}

ScreenWindow* ObjectForWindow(HWND window) {
    return handleRegistry.Find(window);
}

int32_t KindForWindow(HWND window) {
    const ScreenWindow* object = handleRegistry.Find(window);
    return object ? object->Kind() : KIND_NONE;
}
