// All frames of one animation, in order, with the index of the one shown now.
#pragma once

#include "windows/FrameBitmap.h"

class FrameSet : public ScreenWindow {
public:
    FrameSet() = default;
    ~FrameSet() override;

    // Paints the current frame.
    void Paint(HDC dc) override;

    bool Reserve(int32_t newCapacity);
    // Fills the next free slots with frames firstId..lastId (resource ids, or file names
    // made from fileNamePattern when it is not null), cut to the free slots.
    bool AddRange(int32_t firstId, int32_t lastId, const char* fileNamePattern);
    bool SetAt(int32_t index, FrameBitmap* frame);
    // Frames load, and offsets are set, at this scale (screen pixels per picture pixel).
    void SetScale(int32_t newScale) { scale = newScale < 1 ? 1 : newScale; }
    bool LoadAll(HINSTANCE instance, bool makeMasks);
    void UnloadAll();
    void SetOffsets(const FrameOffset* table);
    void SetRegionIds(const int32_t* table);
    void SetCurrent(int32_t index);
    FrameBitmap* FrameAt(int32_t index) const;

    int32_t Capacity() const { return capacity; }
    int32_t Count() const { return count; }
    int32_t Current() const { return current; }
    int32_t Scale() const { return scale; }

private:
    // Deletes the owned frames and the slot array and empties the set.
    void ReleaseFrames();

protected:
    bool ownsFrames = true;
    FrameBitmap** frames = nullptr;
    int32_t capacity = 0;
    int32_t count = 0;
    int32_t current = 0;
    int32_t scale = 1;
};
