// The small figure with the placard: walks to just below the sign, looks around, holds up
// its placard, then walks on and vanishes behind the target window's left edge.
#pragma once

#include "actors/Walker.h"

class PlacardWalker : public Walker {
public:
    static constexpr int32_t PHASE_ACT = 1;
    static constexpr int32_t PHASE_WALK_ON = 2;
    static constexpr int32_t PHASE_VANISH = 3;
    static constexpr int32_t PHASE_DONE = 4;

    static constexpr int32_t FRAME_COUNT = 15;
    static constexpr int32_t FIRST_BITMAP = 4198;

    PlacardWalker(HWND sign, HWND target);
    ~PlacardWalker() override;

    int32_t NextFrame(double& x, double& y) override;
    int32_t LoadFrames() override;
};
