#include "windows/FrameBitmap.h"

#include <cstring>
#include <new>

#include "gfx/BitmapResource.h"
#include "gfx/Drawing.h"
#include "gfx/SelectedObject.h"

FrameBitmap::FrameBitmap(int32_t id) : resourceId(id) {}

FrameBitmap::FrameBitmap(const char* name) {
    SetFileName(name);
}

FrameBitmap::~FrameBitmap() {
    Unload();
    delete[] fileName;
}

void FrameBitmap::SetFileName(const char* name) {
    delete[] fileName;
    fileName = nullptr;
    if (!name || !*name) {
        return;
    }
    const size_t size = strlen(name) + 1;
    fileName = new (std::nothrow) char[size];
    if (fileName) {
        memcpy(fileName, name, size);
    }
}

bool FrameBitmap::Load(HINSTANCE moduleInstance, bool makeMask, int32_t scale) {
    if (bitmap) {
        return true;
    }
    bool prepared = false;
    if (resourceId >= 0) {
        // As stored, 8 bits a pixel, scaled and masked in one pass over its pixels. A picture
        // the reader refused stays unloaded: the system's loader would take it whole.
        bool refused = false;
        bitmap = LoadIndexedBitmap(moduleInstance, resourceId, scale, TRANSPARENT_KEY,
                                   makeMask ? &mask : nullptr, &refused);
        prepared = bitmap != nullptr;
        if (!bitmap && !refused) {
            bitmap = static_cast<HBITMAP>(LoadImageA(moduleInstance, MAKEINTRESOURCEA(resourceId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        }
    } else if (fileName) {
        bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, fileName, IMAGE_BITMAP, 0, 0,
                                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    }
    if (!bitmap) {
        return false;
    }
    if (!prepared && scale > 1) {
        HBITMAP scaled = CreateScaledBitmap(bitmap, scale);
        DeleteObject(bitmap);
        bitmap = scaled;
        if (!bitmap) {
            return false;
        }
    }
    BITMAP info = {};
    if (GetObjectA(bitmap, sizeof(info), &info)) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
    if (!prepared && makeMask) {
        mask = CreateMaskBitmap(bitmap, TRANSPARENT_KEY);
    }
    return true;
}

void FrameBitmap::Unload() {
    if (bitmap) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    if (mask) {
        DeleteObject(mask);
        mask = nullptr;
    }
}

void FrameBitmap::Paint(HDC dc) {
    if (!bitmap) {
        return;
    }
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) {
        return;
    }
    {
        SelectedObject selected(memory, bitmap);
        BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    }
    DeleteDC(memory);
}
