// A figure whose frames and moves the test decides, for driving the actor engine directly.
#pragma once

#include <vector>

#include "actors/Actor.h"
#include "support/TestFrames.h"

class ScriptedActor : public Actor {
public:
    // The test frames, with these region ids by frame index (-1 for the rest).
    ScriptedActor(HWND sign, HWND target, std::vector<int32_t> regionIds = {});

    // Runs one Tick in which NextFrame answers the frame (negative: none) and this point.
    void ShowAt(int32_t frame, double x, double y);

    int32_t NextFrame(double& x, double& y) override;
    int32_t LoadFrames() override;

    int NextFrameCalls() const { return nextFrameCalls; }

private:
    std::vector<int32_t> regionIds;
    int32_t plannedFrame = -1;
    PointD planned;
    int nextFrameCalls = 0;
};

// Marked as a figure and created, owned by the main window; null when creation failed.
ScriptedActor* LaunchScriptedActor(HWND sign, HWND target, std::vector<int32_t> regionIds = {});
