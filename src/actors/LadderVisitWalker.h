// The second ladder figure: walks to the sign, climbs up, polishes the face, leaves a
// sparkle on it as it takes the ladder down, and walks back out.
#pragma once

#include "actors/Walker.h"

class LadderVisitWalker : public Walker {
public:
    static constexpr int32_t PHASE_ACT = 1;
    static constexpr int32_t PHASE_WALK_OUT = 2;
    static constexpr int32_t PHASE_DONE = 3;

    static constexpr int32_t FRAME_COUNT = 55;
    static constexpr int32_t FIRST_BITMAP = 4143;

    LadderVisitWalker(HWND sign, HWND target);
    ~LadderVisitWalker() override;

    int32_t NextFrame(double& x, double& y) override;
    int32_t LoadFrames() override;

private:
    // Starts the glint on the polished face; it lives and ends on its own.
    void LaunchSparkle();
};
