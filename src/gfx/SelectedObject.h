// Selects a GDI object into a DC for the lifetime of the guard, then puts the previous one back.
#pragma once

#include <windows.h>

class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc(dc), previous(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc, previous); }

    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    HGDIOBJ Previous() const { return previous; }

private:
    HDC dc;
    HGDIOBJ previous;
};
