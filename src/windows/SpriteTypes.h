// Value types, kinds, property ids and private messages shared by signs and figures.
#pragma once

#include <windows.h>

#include <cstdint>

struct PointD {
    double x = 0.0;
    double y = 0.0;

    bool operator==(const PointD& other) const { return x == other.x && y == other.y; }
    bool operator!=(const PointD& other) const { return !(*this == other); }
};

// Width and height, not right and bottom; width -1 marks a rectangle that was never set.
struct RectI {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = -1;
    int32_t height = -1;

    bool operator==(const RectI& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
    bool operator!=(const RectI& other) const { return !(*this == other); }
};

// One entry of a script's frame-offset table; entry i belongs to frame i.
struct FrameOffset {
    int32_t x;
    int32_t y;
};

enum : int32_t {
    KIND_NONE = -1,
    KIND_SIGN = 1,
    KIND_ACTOR = 2,
};

enum : int32_t {
    PROP_SIGN = 1,
    PROP_TARGET = 2,
    PROP_SELF = 1000,
};

enum : int32_t {
    SIGN_CHANGING = 1,
    SIGN_OLD_FACE = 2,
    SIGN_NEW_FACE = 3,
};

enum : UINT {
    WM_SPRITE_CLOSE = WM_USER,
    WM_SIGN_BEGIN_CHANGE = WM_USER + 1,
    WM_SIGN_COMMIT_CHANGE = WM_USER + 2,
    WM_SIGN_CANCEL_CHANGE = WM_USER + 3,
    WM_TRAY_NOTIFY = WM_USER + 4,
};

// Pixels of exactly this colour are transparent in animation frames.
constexpr COLORREF TRANSPARENT_KEY = 0x00FF00FF;

// The page a click on a sign or a figure opens.
constexpr const char* SPONSOR_PAGE = "http://www.tarvolen.example/desktop/";
