// A figure whose frames and moves the test decides, for driving the actor engine directly.
#pragma once

#include <vector>

#include "actors/Actor.h"
#include "support/TestFrames.h"

class ScriptedActor : public Actor {
public:
    // Frames come from the test frame files, or from the program's bitmap resources
    // firstResource..lastResource when those are given; regionIds (by frame index) may be given.
    ScriptedActor(HWND sign, HWND target, std::vector<int32_t> regionIds = {},
                  int32_t firstResource = -1, int32_t lastResource = -1);

    // What the next NextFrame answers: the frame (negative: none) and the point it moves to.
    void Plan(int32_t frame, double x, double y);
    // Plans the frame and runs one Tick.
    void ShowAt(int32_t frame, double x, double y);

    int32_t NextFrame(double& x, double& y) override;
    int32_t LoadFrames() override;

    int NextFrameCalls() const { return nextFrameCalls; }
    RectI NewRect() const { return newRect; }

private:
    std::vector<int32_t> regionIds;
    int32_t firstResource;
    int32_t lastResource;
    int32_t plannedFrame = -1;
    double plannedX = 0.0;
    double plannedY = 0.0;
    int nextFrameCalls = 0;
};

// Allocates, marks as a figure and creates a scripted actor owned by the main window;
// null when the window could not be created.
ScriptedActor* LaunchScriptedActor(HWND sign, HWND target, std::vector<int32_t> regionIds = {},
                                   int32_t firstResource = -1, int32_t lastResource = -1);
