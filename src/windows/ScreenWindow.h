// Base of every sign, figure and frame picture: the object behind one sprite window.
#pragma once

#include "windows/SpriteTypes.h"

class ScreenWindow {
public:
    ScreenWindow() = default;
    virtual ~ScreenWindow() = default;

    ScreenWindow(const ScreenWindow&) = delete;
    ScreenWindow& operator=(const ScreenWindow&) = delete;

    // Nonzero: handled, the window procedure answers 0. Zero: default processing.
    virtual int HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void Paint(HDC dc);
    virtual void Tick();
    // Answers PROP_SELF; derived classes answer their own ids and pass the rest here.
    virtual bool QueryProperty(int id, LONG_PTR& value, ScreenWindow*& object);

    void SetKind(int32_t newKind) { kind = newKind; }
    int32_t Kind() const { return kind; }
    void SetOffset(double x, double y) { offset = PointD{x, y}; }

    // Creates the hidden popup of the sprite class; WM_CREATE registers this object
    // before the call returns.
    bool CreateSpriteWindow(HWND mainWindow, HWND owner);

    HINSTANCE Instance() const { return instance; }
    HWND MainWindow() const { return mainWindow; }
    HWND Window() const { return window; }
    PointD Offset() const { return offset; }
    int32_t Width() const { return width; }
    int32_t Height() const { return height; }

protected:
    int32_t kind = KIND_NONE;
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    HWND window = nullptr;
    PointD offset;
    int32_t width = -1;
    int32_t height = -1;
};
