// A glint that twinkles on a freshly polished sign, alternating between two spots, and then
// closes itself. Nobody holds on to it.
#pragma once

#include "actors/Actor.h"

class SparkleActor : public Actor {
public:
    static constexpr int32_t FRAME_COUNT = 2;
    static constexpr int32_t FIRST_BITMAP = 4213;

    SparkleActor(HWND sign, HWND target);
    ~SparkleActor() override;

    int32_t NextFrame(double& x, double& y) override;
    int32_t LoadFrames() override;

    int32_t Changes() const { return changes; }

protected:
    int32_t changes = 0;
    int32_t countdown = 0;
};
