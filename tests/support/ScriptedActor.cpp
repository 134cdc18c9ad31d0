#include "support/ScriptedActor.h"

#include <utility>

#include "app/MainWindow.h"

ScriptedActor::ScriptedActor(HWND sign, HWND target, std::vector<int32_t> regionIds,
                             int32_t firstResource, int32_t lastResource)
    : Actor(sign, target),
      regionIds(std::move(regionIds)),
      firstResource(firstResource),
      lastResource(lastResource) {}

void ScriptedActor::Plan(int32_t frame, double x, double y) {
    plannedFrame = frame;
    plannedX = x;
    plannedY = y;
}

void ScriptedActor::ShowAt(int32_t frame, double x, double y) {
    Plan(frame, x, y);
    Tick();
}

int32_t ScriptedActor::NextFrame(double& x, double& y) {
    ++nextFrameCalls;
    x = plannedX;
    y = plannedY;
    return plannedFrame;
}

int32_t ScriptedActor::LoadFrames() {
    if (firstResource >= 0) {
        Reserve(lastResource - firstResource + 1);
        AddRange(firstResource, lastResource, nullptr);
    } else {
        Reserve(TEST_FRAME_COUNT);
        AddRange(0, TEST_FRAME_COUNT - 1, TestFramePattern());
    }
    LoadAll(instance, true);
    regionIds.resize(static_cast<size_t>(Count()), -1);
    SetRegionIds(regionIds.data());
    return 0;
}

ScriptedActor* LaunchScriptedActor(HWND sign, HWND target, std::vector<int32_t> regionIds,
                                   int32_t firstResource, int32_t lastResource) {
    auto* actor =
        new ScriptedActor(sign, target, std::move(regionIds), firstResource, lastResource);
    actor->SetKind(KIND_ACTOR);
    if (!actor->Create(mainWindowHandle)) {
        delete actor;
        return nullptr;
    }
    return actor;
}
