// Kinds, property ids and private messages shared by signs and figures.
#pragma once

#include <windows.h>

#include <cstdint>

#include "gfx/GeometryTypes.h"

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
