// The process-wide map from sprite window handle to the object behind it.
#pragma once

#include "windows/ScreenWindow.h"

#include <cstdint>
#include <map>

class HandleRegistry {
public:
    // Replaces the object of a handle that is already present; the old one is not deleted.
    void Add(HWND window, ScreenWindow* object);
    void Remove(HWND window);
    ScreenWindow* Find(HWND window) const;

    bool Empty() const { return entries.empty(); }
    size_t Size() const { return entries.size(); }
    // The lowest handle, or null when empty.
    HWND FirstWindow() const;

    // Visits every entry in ascending unsigned handle order. The next entry is looked up
    // after each visit, so entries added above the current handle are visited in the same
    // walk, and an entry that disappears during a visit cannot derail it.
    template <typename Visitor>
    void Walk(Visitor&& visit) const {
        auto it = entries.begin();
        while (it != entries.end()) {
            const uintptr_t key = it->first;
            visit(reinterpret_cast<HWND>(key), it->second);
            it = entries.upper_bound(key);
        }
    }

private:
    std::map<uintptr_t, ScreenWindow*> entries;
};

extern HandleRegistry handleRegistry;

// The registered object of a handle, or null.
ScreenWindow* ObjectForWindow(HWND window);
// The kind of the registered object of a handle, or -1 (KIND_NONE) when it has none.
int32_t KindForWindow(HWND window);
