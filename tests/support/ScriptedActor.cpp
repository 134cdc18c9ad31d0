#include "support/ScriptedActor.h"

#include <utility>

#include "app/MainWindow.h"

ScriptedActor::ScriptedActor(HWND sign, HWND target, std::vector<int32_t> regionIds)
    : Actor(sign, target), regionIds(std::move(regionIds)) {}

void ScriptedActor::ShowAt(int32_t frame, double x, double y) {
    plannedFrame = frame;
    planned = PointD{x, y};
    Tick();
}

int32_t ScriptedActor::NextFrame(double& x, double& y) {
    ++nextFrameCalls;
    x = planned.x;
    y = planned.y;
    return plannedFrame;
}

int32_t ScriptedActor::LoadFrames() {
    Reserve(TEST_FRAME_COUNT);
    AddRange(0, TEST_FRAME_COUNT - 1, TestFramePattern());
    LoadAll(instance, true);
    regionIds.resize(static_cast<size_t>(Count()), -1);
    SetRegionIds(regionIds.data());
    return 0;
}

ScriptedActor* LaunchScriptedActor(HWND sign, HWND target, std::vector<int32_t> regionIds) {
    auto* actor = new ScriptedActor(sign, target, std::move(regionIds));
    actor->SetKind(KIND_ACTOR);
    if (!actor->Create(mainWindowHandle)) {
        delete actor;
        return nullptr;
    }
    return actor;
}
