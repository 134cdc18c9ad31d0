// The four animations: each frame's bitmap id, size, offset from the figure's origin, how
// long it stays on screen, and how it is drawn (in origin space, so that every frame of a
// figure shares one ground line and one sign position).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Canvas.h"

struct FrameSpec {
    int id;
    int width;
    int height;
    int x;  // offset from the origin
    int y;
    int ticks;  // 50 ms ticks the frame stays on screen
};

struct Script {
    std::string name;
    std::vector<FrameSpec> frames;
    // Where the sign's top-left corner lies in origin space while the figure acts.
    int signX;
    int signY;
    int groundY;  // first row under the feet, origin space
    std::function<void(Canvas&, int frameIndex)> draw;
};

const std::vector<Script>& AllScripts();

// One frame as a picture of its own size, background magenta.
void RenderFrame(const Script& script, int index, Canvas& canvas);
