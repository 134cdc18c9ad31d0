// One picture from the bitmap resources (or a file), with its magenta mask, draw offset and
// the window shape to use while it is shown.
#pragma once

#include "windows/ScreenWindow.h"

class FrameBitmap : public ScreenWindow {
public:
    FrameBitmap() = default;
    explicit FrameBitmap(int32_t resourceId);
    explicit FrameBitmap(const char* fileName);
    ~FrameBitmap() override;

    void Paint(HDC dc) override;

    void SetResourceId(int32_t id) { resourceId = id; }
    void SetRegionId(int32_t id) { regionId = id; }
    void SetFileName(const char* name);
    int32_t ResourceId() const { return resourceId; }
    int32_t RegionId() const { return regionId; }
    const char* FileName() const { return fileName; }
    HBITMAP Bitmap() const { return bitmap; }
    HBITMAP Mask() const { return mask; }

    // Loads once: a frame that already has its bitmap is left alone, mask or not. At a scale
    // above 1 every picture pixel becomes a scale x scale block, and so does the mask.
    bool Load(HINSTANCE instance, bool makeMask, int32_t scale = 1);
    void Unload();

protected:
    int32_t resourceId = -1;
    char* fileName = nullptr;
    int32_t regionId = -1;
    HBITMAP bitmap = nullptr;
    HBITMAP mask = nullptr;
};
