#include "windows/FrameSet.h"

#include <cstdio>
#include <new>

namespace {
constexpr size_t FILE_NAME_BUFFER_SIZE = 128;
}  // namespace

FrameSet::~FrameSet() {
    ReleaseFrames();
}

void FrameSet::ReleaseFrames() {
    if (!frames) {
        return;
    }
    if (ownsFrames) {
        for (int32_t i = 0; i < capacity; ++i) {
            delete frames[i];
            frames[i] = nullptr;
        }
        delete[] frames;
    }
    frames = nullptr;
    capacity = 0;
    count = 0;
    current = 0;
}

void FrameSet::Paint(HDC dc) {
    if (FrameBitmap* frame = FrameAt(current)) {
        frame->Paint(dc);
    }
}

bool FrameSet::Reserve(int32_t newCapacity) {
    if (newCapacity < 0) {
        return false;
    }
    FrameBitmap** slots = new (std::nothrow) FrameBitmap*[newCapacity];
    if (!slots) {
        return false;
    }
    // A set reserved again starts over; its earlier frames would otherwise be lost.
    ReleaseFrames();
    for (int32_t i = 0; i < newCapacity; ++i) {
        slots[i] = nullptr;
    }
    frames = slots;
    capacity = newCapacity;
    return true;
}

bool FrameSet::AddRange(int32_t firstId, int32_t lastId, const char* fileNamePattern) {
    int64_t added = static_cast<int64_t>(lastId) - firstId + 1;
    if (count + added > capacity) {
        added = capacity - count;
    }
    if (added < 1) {
        return false;
    }
    for (int32_t i = 0; i < added; ++i) {
        const int32_t id = firstId + i;
        FrameBitmap* frame = nullptr;
        if (fileNamePattern) {
            char name[FILE_NAME_BUFFER_SIZE];
            const int length = snprintf(name, sizeof(name), fileNamePattern, id);
            // A name cut short would load some other file: such a slot stays empty.
            if (length >= 0 && static_cast<size_t>(length) < sizeof(name)) {
                frame = new (std::nothrow) FrameBitmap(name);
            }
        } else {
            frame = new (std::nothrow) FrameBitmap(id);
        }
        if (!SetAt(count + i, frame)) {
            delete frame;
        }
    }
    count += static_cast<int32_t>(added);
    return true;
}

bool FrameSet::SetAt(int32_t index, FrameBitmap* frame) {
    if (index < 0 || index >= capacity) {
        return false;
    }
    if (ownsFrames && frames[index] != frame) {
        delete frames[index];
    }
    frames[index] = frame;
    return true;
}

bool FrameSet::LoadAll(HINSTANCE moduleInstance, bool makeMasks) {
    bool allLoaded = true;
    for (int32_t i = 0; i < count; ++i) {
        if (frames[i] && !frames[i]->Load(moduleInstance, makeMasks, scale)) {
            allLoaded = false;
        }
    }
    return allLoaded;
}

void FrameSet::UnloadAll() {
    for (int32_t i = 0; i < count; ++i) {
        if (frames[i]) {
            frames[i]->Unload();
        }
    }
}

void FrameSet::SetOffsets(const FrameOffset* table) {
    if (!table) {
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (frames[i]) {
            frames[i]->SetOffset(static_cast<double>(table[i].x * scale),
                                 static_cast<double>(table[i].y * scale));
        }
    }
}

void FrameSet::SetRegionIds(const int32_t* table) {
    if (!table) {
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (frames[i]) {
            frames[i]->SetRegionId(table[i]);
        }
    }
}

void FrameSet::SetCurrent(int32_t index) {
    if (index >= 0 && index < count) {
        current = index;
    }
}

FrameBitmap* FrameSet::FrameAt(int32_t index) const {
    if (index < 0 || index >= count) {
        return nullptr;
    }
    return frames[index];
}
