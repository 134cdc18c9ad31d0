#include "Scripts.h"

#include <array>
#include <cmath>

#include "Figures.h"
#include "PixelFont.h"
#include "Sign.h"

namespace {
// ---------------------------------------------------------------------------------------------
// Shared measurements, origin space.

constexpr double SOLE = 3.6;  // ankle point above the lowest row of the shoe's outline
constexpr double LADDER_TOP = 94.0;
constexpr double LADDER_FOOT = 270.0;
constexpr double RUNG = 13.0;
constexpr double CARRIED_WIDTH = 16.0;
constexpr double UPRIGHT_WIDTH = 22.0;

double AnkleOn(double lastRow) {
    return lastRow - SOLE;
}
double RungY(int rung) {
    return LADDER_FOOT - RUNG * rung;
}
double AnkleOnRung(int rung) {
    return rung == 0 ? AnkleOn(LADDER_FOOT) : RungY(rung) - 5.0;
}
double LegLength(Style s) {
    return BuildOf(s).thigh + BuildOf(s).shin;
}

// A point on one rail of a ladder lying from base to top: distance along it, and side -1 (the
// rail on the left of the base-to-top direction) or 1.
Pt RailPoint(Pt base, Pt top, double along, double side, double width) {
    const Pt d = (top - base) * (1.0 / Length(top - base));
    const Pt across = {-d.y, d.x};
    return base + d * along + across * (side * (width / 2.0 - 1.5));
}
// ---------------------------------------------------------------------------------------------
// Walking, side view. Phases 0 and 2 put both feet on the ground a stride apart; 1 and 3
// lift the trailing foot past the planted one. A stride is one 6-pixel move of the window, so
// the planted foot stays put on screen.

struct Legs {
    Pt foot[2];
    double toe[2];
    double hipY;
};

Legs WalkLegs(Style style, int facing, double hipX, double lastRow, int phase, double stride = 6) {
    const double ankle = AnkleOn(lastRow);
    const double leg = LegLength(style);
    Legs legs{};
    auto at = [&](double offset, double lift) { return Pt{hipX + facing * offset, ankle - lift}; };
    const int lead = phase < 2 ? 1 : 0;  // the leg that is in front at contact
    if (phase % 2 == 0) {
        legs.foot[lead] = at(stride, 0);
        legs.foot[1 - lead] = at(-stride, 1.0);
        legs.toe[lead] = 12;
        legs.toe[1 - lead] = -22;
        legs.hipY = ankle - std::sqrt(leg * leg - stride * stride) + 0.6;
    } else {
        legs.foot[lead] = at(0, 0);
        legs.foot[1 - lead] = at(1.5, 4.5);
        legs.toe[lead] = 0;
        legs.toe[1 - lead] = -18;
        legs.hipY = ankle - leg + 0.4;
    }
    return legs;
}

Pose StandingPose(Style style, int facing, double hipX, double lastRow, double spread = 2.5,
                  double crouch = 0.0) {
    Pose p;
    p.style = style;
    p.facing = facing;
    const double ankle = AnkleOn(lastRow);
    p.foot[0] = {hipX - facing * spread, ankle};
    p.foot[1] = {hipX + facing * spread, ankle};
    p.hip = {hipX, ankle - LegLength(style) + 0.6 + crouch};
    return p;
}

// ---------------------------------------------------------------------------------------------
// Climbing, seen from behind: one foot on rung hi, the other on rung lo; the hand on the
// other side reaches higher.

Pose ClimbPose(Style style, double ladderX, int hi, int lo, bool leftHigh) {
    Pose p;
    p.style = style;
    p.view = View::Back;
    const int left = leftHigh ? hi : lo;
    const int right = leftHigh ? lo : hi;
    p.foot[0] = {ladderX - 4.5, AnkleOnRung(left)};
    p.foot[1] = {ladderX + 4.5, AnkleOnRung(right)};
    const double ankle = (p.foot[0].y + p.foot[1].y) / 2.0;
    p.hip = {ladderX + (leftHigh ? -1.0 : 1.0), ankle - LegLength(style) + 3.0};
    p.lean = leftHigh ? -2.0 : 2.0;
    const double shoulderY = p.hip.y - BuildOf(style).torso + 2.5;
    const double railX = UPRIGHT_WIDTH / 2.0 - 1.5;
    const bool same = hi == lo;
    const double reach = BuildOf(style).upperArm + BuildOf(style).forearm;
    p.hand[0] = {ladderX - railX, shoulderY - (same ? reach * 0.6 : leftHigh ? 4.0 : reach - 1.0)};
    p.hand[1] = {ladderX + railX, shoulderY - (same ? reach * 0.6 : leftHigh ? reach - 1.0 : 4.0)};
    return p;
}

void DrawUprightLadder(Canvas& c, double x) {
    DrawLadder(c, {x, LADDER_FOOT}, {x, LADDER_TOP}, UPRIGHT_WIDTH, RUNG, false);
}

// ---------------------------------------------------------------------------------------------
// Ladder raising, shared by both ladder figures: the ladder's foot and top, the figure's hip x
// and where its hands hold on.

struct Raise {
    Pt base;
    Pt top;
    double hipX;
    int facing;
    double lastRow;
    double along[2];  // where the hands hold, distance from the base along the lower rail
    double lean;
    double tilt;
};

Pose RaisePose(Style style, const Raise& r) {
    Pose p = StandingPose(style, r.facing, r.hipX, r.lastRow, 3.5);
    p.lean = r.lean;
    p.headTilt = r.tilt;
    const double width = Length(r.top - r.base) > 150 && std::fabs(r.top.x - r.base.x) < 20
                             ? UPRIGHT_WIDTH
                             : CARRIED_WIDTH;
    for (int i = 0; i < 2; ++i) {
        p.hand[i] = RailPoint(r.base, r.top, r.along[i], r.base.x > r.top.x ? 1.0 : -1.0, width);
    }
    const Raise copy = r;
    p.middle = [copy, width](Canvas& c) { DrawLadder(c, copy.base, copy.top, width, RUNG, true); };
    return p;
}

// ---------------------------------------------------------------------------------------------
// Carrying the ladder level on the shoulder.

Pose CarryPose(Style style, int facing, double hipX, double lastRow, int phase, double rearX,
               double frontX, double ponytail = 0) {
    Pose p;
    p.style = style;
    p.facing = facing;
    const Legs legs = WalkLegs(style, facing, hipX, lastRow, phase);
    for (int i = 0; i < 2; ++i) {
        p.foot[i] = legs.foot[i];
        p.toe[i] = legs.toe[i];
    }
    p.hip = {hipX, legs.hipY};
    p.lean = 5;
    p.ponytail = ponytail;
    const double shoulderY = p.hip.y - BuildOf(style).torso + 2.5;
    const double ladderY = shoulderY - 9.5;
    // The near hand holds the ladder well ahead of the face, the far one swings.
    p.hand[1] = {hipX + facing * 16.0, ladderY + 7.5};
    const double swing = phase % 2 == 0 ? (phase == 0 ? 1.0 : -1.0) : 0.0;
    p.hand[0] = {hipX + facing * (1.0 + swing * 6.0), p.hip.y + 1.0 - std::fabs(swing) * 1.5};
    p.middle = [=](Canvas& c) {
        DrawLadder(c, {rearX, ladderY}, {frontX, ladderY}, CARRIED_WIDTH, RUNG, true);
    };
    return p;
}

// ---------------------------------------------------------------------------------------------
// The sign-change walk: a worker in a cap.

constexpr double WORKER_LADDER_X = 137.0;
constexpr int WORKER_TOP_RUNG = 10;

const Raise WORKER_RAISE[] = {
    // Stops; the ladder tips forward on the shoulder.
    {{176, 246}, {10, 213}, 58, 1, 268, {0, 0}, 2, 0},
    // Crouches and lets the front end down to the ground.
    {{178, 262}, {8, 228}, 60, 1, 268, {0, 0}, 18, 0},
    // Steps under it and lifts the back end.
    {{176, 264}, {10, 199}, 90, 1, 268, {82, 92}, 8, 10},
    // Walks it up, hand over hand.
    {{170, 266}, {60, 128}, 124, 1, 268, {58, 70}, 2, 22},
    {{160, 266}, {96, 100}, 128, 1, 268, {56, 68}, 0, 28},
    // Upright against the sign; the figure beside it holds on.
    {{146, 268}, {136, 96}, 116, 1, 268, {32, 50}, 4, 10},
};

void DrawWorkerRaise(Canvas& c, int step, double lastRow) {
    Raise r = WORKER_RAISE[step];
    r.lastRow = lastRow;
    Pose p;
    if (step <= 1) {
        // The first two steps hold the ladder by hand rather than by rails.
        p = StandingPose(Style::Worker, 1, r.hipX, r.lastRow, step == 0 ? 2.5 : 4.0,
                         step == 0 ? 0.0 : 4.5);
        p.lean = r.lean;
        const Raise copy = r;
        p.middle = [copy](Canvas& k) {
            DrawLadder(k, copy.top, copy.base, CARRIED_WIDTH, RUNG, true);
        };
        const double s = step == 0 ? 1.0 : 0.0;
        const Pt along = (r.base - r.top) * (1.0 / Length(r.base - r.top));
        auto onLadder = [&](double x) {
            const double t = (x - r.top.x) / along.x;
            return r.top + along * t + Pt{0, 6.5};
        };
        p.hand[1] = onLadder(r.hipX + 8 + s);
        p.hand[0] = onLadder(r.hipX - 4);
    } else {
        p = RaisePose(Style::Worker, r);
    }
    DrawFigure(c, p);
}

void DrawWorkerClimb(Canvas& c, int hi, int lo, bool leftHigh) {
    DrawUprightLadder(c, WORKER_LADDER_X);
    DrawFigure(c, ClimbPose(Style::Worker, WORKER_LADDER_X, hi, lo, leftHigh));
}

struct PlateState {
    double x, y;  // centre, sign coordinates
    double squash;
    FaceDesign design;
    Pt hands[2];  // sign coordinates
};

const PlateState WORKER_WORK[] = {
    {49, 49, 1.00, FaceDesign::Emblem, {{31, 84}, {67, 84}}},
    {49, 57, 0.72, FaceDesign::Emblem, {{29, 88}, {69, 88}}},
    {49, 63, 0.30, FaceDesign::Emblem, {{37, 92}, {61, 92}}},
    {49, 64, 0.04, FaceDesign::Emblem, {{45, 84}, {53, 96}}},
    {49, 63, 0.30, FaceDesign::Lettered, {{37, 92}, {61, 92}}},
    {49, 56, 0.76, FaceDesign::Lettered, {{29, 88}, {69, 88}}},
    {49, 49, 1.00, FaceDesign::Lettered, {{32, 80}, {66, 80}}},
    {49, 49, 1.00, FaceDesign::Lettered, {{39.5, 118}, {72, 70}}},
};

// The sign's rim and the left part of its bracket, exactly as the sign draws them, with the
// face opening left transparent.
void DrawSignRim(Canvas& c, Pt signOrigin) {
    static Canvas* body = [] {
        auto* canvas = new Canvas(SIGN_WIDTH, SIGN_HEIGHT, col::INK);
        DrawSignBody(*canvas);
        return canvas;
    }();
    static const PixelMask outline = SignOutline();
    double ox = 0, oy = 0;
    cairo_user_to_device(c.Cr(), &ox, &oy);
    const int dx = int(std::lround(ox + signOrigin.x));
    const int dy = int(std::lround(oy + signOrigin.y));
    for (int y = 0; y < SIGN_HEIGHT; ++y) {
        for (int x = 0; x < SIGN_WIDTH; ++x) {
            if (outline.At(x, y) && !InFace(x, y)) {
                c.Set(dx + x, dy + y, body->At(x, y));
            }
        }
    }
}

void DrawWorkerWork(Canvas& c, int step, Pt signOrigin) {
    const PlateState& s = WORKER_WORK[step];
    DrawSignRim(c, signOrigin);
    DrawUprightLadder(c, WORKER_LADDER_X);
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    cairo_translate(cr, signOrigin.x, signOrigin.y);
    DrawFacePlate(c, s.design, {s.x, s.y}, s.squash);
    cairo_restore(cr);
    Pose p = ClimbPose(Style::Worker, WORKER_LADDER_X, WORKER_TOP_RUNG, WORKER_TOP_RUNG, true);
    p.lean = 0;
    for (int i = 0; i < 2; ++i) {
        p.hand[i] = s.hands[i] + signOrigin;
    }
    if (step == 3) {
        p.lean = -3;
    }
    DrawFigure(c, p);
}

// Frames 22 to 26 show in shapes 5003 to 5007, whose fixed bounds leave out the frame's
// outermost rows and columns: nothing of the frame may lie there. Beneath them the sign shows
// its rim, but without its own outermost row and column, so the outline of the disc's top
// and left moves one pixel in; the rim's right edge shows through from the sign, and the
// ladder ends a row higher in all the frames over the sign, so that its foot stays put.
void KeepInsideShape(Canvas& c, bool shaped) {
    const int right = c.Width() - 1;
    const int bottom = c.Height() - 1;
    for (int x = 0; shaped && x <= right; ++x) {
        if (c.At(x, 0) != col::MAGENTA) {
            c.Set(x, 1, c.At(x, 0));
        }
    }
    for (int y = 0; shaped && y <= bottom; ++y) {
        if (c.At(0, y) != col::MAGENTA) {
            c.Set(1, y, c.At(0, y));
        }
    }
    c.FillRect(0, bottom, c.Width(), 1, col::MAGENTA);
    if (shaped) {
        c.FillRect(0, 0, c.Width(), 1, col::MAGENTA);
        c.FillRect(0, 0, 1, c.Height(), col::MAGENTA);
        c.FillRect(right, 0, 1, c.Height(), col::MAGENTA);
    }
}

void DrawSignChange(Canvas& c, int i) {
    const Pt signOrigin{88, 2};
    if (i <= 3) {
        DrawFigure(c, CarryPose(Style::Worker, 1, 56, 270, i, 4, 182));
    } else if (i <= 9) {
        DrawWorkerRaise(c, i - 4, 268);
    } else if (i <= 20) {
        const int k = i - 10;
        const int hi = std::min(k + 1, WORKER_TOP_RUNG);
        const int lo = k == 10 ? WORKER_TOP_RUNG : k;
        DrawWorkerClimb(c, hi, lo, k % 2 == 0);
    } else if (i <= 28) {
        DrawWorkerWork(c, i - 21, signOrigin);
        KeepInsideShape(c, i >= 22 && i <= 26);
    } else if (i <= 37) {
        const int k = i - 29;
        DrawWorkerClimb(c, 9 - k, 8 - k, k % 2 == 1);
    } else if (i <= 41) {
        // Taking the ladder down retraces the raising.
        const int step = 5 - (i - 38);
        DrawWorkerRaise(c, step, i <= 39 ? 270 : 268);
    } else if (i == 42) {
        Pose p = CarryPose(Style::Worker, -1, 62, 268, 1, 178, 6);
        p.foot[0] = {60, AnkleOn(268)};
        p.foot[1] = {64, AnkleOn(268)};
        p.toe[0] = p.toe[1] = 0;
        p.hip.y = AnkleOn(268) - LegLength(Style::Worker) + 0.6;
        DrawFigure(c, p);
    } else {
        DrawFigure(c, CarryPose(Style::Worker, -1, 129, 270, i - 43, 181, 3));
    }
}

// ---------------------------------------------------------------------------------------------
// The ladder visit: a figure with a ponytail polishes the face.

constexpr double POLISHER_LADDER_X = 136.0;
constexpr int POLISHER_TOP_RUNG = 11;

const Raise POLISHER_RAISE[] = {
    {{176, 252}, {10, 219}, 58, 1, 270, {0, 0}, 2, 0},
    {{178, 264}, {8, 232}, 60, 1, 270, {0, 0}, 18, 0},
    {{176, 266}, {10, 201}, 90, 1, 270, {80, 90}, 8, 10},
    {{170, 267}, {60, 130}, 126, 1, 270, {50, 62}, 2, 22},
    {{160, 267}, {92, 101}, 130, 1, 270, {50, 62}, 0, 28},
    {{146, 269}, {135, 97}, 117, 1, 270, {28, 44}, 4, 10},
};

void DrawPolisherRaise(Canvas& c, int step) {
    const Raise& r = POLISHER_RAISE[step];
    Pose p;
    if (step <= 1) {
        p = StandingPose(Style::Polisher, 1, r.hipX, r.lastRow, step == 0 ? 2.5 : 4.0,
                         step == 0 ? 0.0 : 4.0);
        p.lean = r.lean;
        const Raise copy = r;
        p.middle = [copy](Canvas& k) {
            DrawLadder(k, copy.top, copy.base, CARRIED_WIDTH, RUNG, true);
        };
        const Pt along = (r.base - r.top) * (1.0 / Length(r.base - r.top));
        auto onLadder = [&](double x) {
            const double t = (x - r.top.x) / along.x;
            return r.top + along * t + Pt{0, 6.5};
        };
        p.hand[1] = onLadder(r.hipX + 8);
        p.hand[0] = onLadder(r.hipX - 4);
    } else {
        p = RaisePose(Style::Polisher, r);
    }
    DrawFigure(c, p);
}

void DrawPolisherClimb(Canvas& c, int hi, int lo, bool leftHigh) {
    DrawUprightLadder(c, POLISHER_LADDER_X);
    Pose p = ClimbPose(Style::Polisher, POLISHER_LADDER_X, hi, lo, leftHigh);
    p.ponytail = leftHigh ? 8 : -8;
    DrawFigure(c, p);
}

// Where the cloth is in each polishing frame: -1 far left of the face .. 1 far right.
const double POLISH_SWING[] = {-0.9, -0.2, 0.6, 1.0, 0.4, -0.4, -1.0, -0.3, 0.5};

void DrawPolish(Canvas& c, int step) {
    DrawUprightLadder(c, POLISHER_LADDER_X);
    const double s = POLISH_SWING[step];
    const double previous = step == 0 ? 0.0 : POLISH_SWING[step - 1];
    Pose p =
        ClimbPose(Style::Polisher, POLISHER_LADDER_X, POLISHER_TOP_RUNG, POLISHER_TOP_RUNG, true);
    const Skeleton k = SolveSkeleton(p);
    p.lean = s * 5.0;
    p.ponytail = -s * 25.0;
    const Pt grip = {POLISHER_LADDER_X + s * 19.0, k.shoulder[1].y - 16.0 + std::fabs(s) * 4.0};
    // The hand on the cloth's side wipes; the other holds the rail.
    const int wiping = s < 0 ? 0 : 1;
    p.hand[wiping] = grip;
    p.hand[1 - wiping] = {
        POLISHER_LADDER_X + (wiping == 1 ? -1.0 : 1.0) * (UPRIGHT_WIDTH / 2.0 - 1.5),
        k.shoulder[0].y - 2.0};
    // The cloth trails behind the way it moves, flapping up over the face.
    const double motion = s - previous;
    const Pt trail = grip + Pt{-motion * 14.0 + s * 4.0, -14.0};
    p.front = [grip, trail](Canvas& canvas) { DrawCloth(canvas, grip, trail, 17.0); };
    DrawFigure(c, p);
}

void DrawLadderVisit(Canvas& c, int i) {
    if (i <= 3) {
        DrawFigure(c, CarryPose(Style::Polisher, 1, 56, 270, i, 4, 180, i % 2 == 0 ? 10 : -6));
    } else if (i <= 9) {
        DrawPolisherRaise(c, i - 4);
    } else if (i <= 21) {
        // Eleven rungs in twelve frames: the last brings the other foot up beside the first.
        const int k = i - 10;
        const int hi = std::min(k + 1, POLISHER_TOP_RUNG);
        DrawPolisherClimb(c, hi, k == 11 ? hi : k, k % 2 == 0);
    } else if (i <= 30) {
        DrawPolish(c, i - 22);
    } else if (i <= 43) {
        // Down again, one rung a frame, and a last frame standing at the foot of the ladder.
        const int k = i - 31;
        if (k >= 11) {
            DrawPolisherClimb(c, 0, 0, k == 11);
        } else {
            DrawPolisherClimb(c, 10 - k, 11 - k, k % 2 == 1);
        }
    } else if (i <= 47) {
        DrawPolisherRaise(c, 5 - (i - 44));
    } else if (i <= 49) {
        // Stands holding the ladder level, pleased with the shine.
        Pose p = StandingPose(Style::Polisher, 1, 60, 270, 4.0, 2.0);
        const double y = p.hip.y + 4.0;
        p.hand[1] = {69, y - 6.0};
        p.hand[0] = {53, y - 6.0};
        p.headTilt = i == 48 ? 18 : 0;
        p.smile = i == 49;
        p.middle = [y](Canvas& k) {
            DrawLadder(k, {6, y - 6.5}, {178, y - 6.5}, CARRIED_WIDTH, RUNG, true);
        };
        DrawFigure(c, p);
    } else if (i == 50) {
        // Turns round, facing the viewer for a moment.
        Pose p = StandingPose(Style::Polisher, 1, 62, 270, 3.5, 0.0);
        p.view = View::Front;
        const double y = p.hip.y - 3.0;
        p.hand[0] = {54, y};
        p.hand[1] = {70, y};
        p.smile = true;
        p.behind = [y](Canvas& k) {
            DrawLadder(k, {6, y - 6.5}, {178, y - 6.5}, CARRIED_WIDTH, RUNG, true);
        };
        DrawFigure(c, p);
    } else {
        DrawFigure(c,
                   CarryPose(Style::Polisher, -1, 127, 270, i - 51, 179, 3, i % 2 == 0 ? -10 : 6));
    }
}

// ---------------------------------------------------------------------------------------------
// The placard stroll: a small figure with a big head of curls.

constexpr double KID_GROUND = 289;

Pose KidWalk(double hipX, int phase) {
    Pose p;
    p.style = Style::Kid;
    const Legs legs = WalkLegs(Style::Kid, 1, hipX, KID_GROUND, phase);
    for (int i = 0; i < 2; ++i) {
        p.foot[i] = legs.foot[i];
        p.toe[i] = legs.toe[i];
    }
    p.hip = {hipX, legs.hipY};
    p.lean = 4;
    const double swing = phase % 2 == 0 ? 1.0 : 0.2;
    const double dir = phase < 2 ? 1.0 : -1.0;  // the near leg leads in phases 0 and 1
    p.hand[1] = {hipX - dir * 6.0 * swing + 1.0, p.hip.y - 3.0};
    p.hand[0] = {hipX + dir * 6.0 * swing + 1.0, p.hip.y - 3.5};
    return p;
}

Pose KidFront(double crouch = 0.0) {
    Pose p = StandingPose(Style::Kid, 1, 47, KID_GROUND, 3.5, crouch);
    p.view = View::Front;
    p.hand[0] = {47 - 9.0, p.hip.y + 1.0};
    p.hand[1] = {47 + 9.0, p.hip.y + 1.0};
    return p;
}

void DrawPlacard(Canvas& c, double drop) {
    const double top = 205 + drop;
    const double stickX = 40.0;
    c.Limb({stickX, top + 20}, {stickX, 264 + drop}, 2.5, col::WOOD_SHADE);
    c.Outlined(path::Rect(8, top, 56, 24), col::BOARD);
    c.Filled(path::Rect(8, top + 21, 56, 3), col::BOARD_SHADE);
    DrawText(c, "TRIED", 36 - TextWidth("TRIED", 1) / 2.0, top + 3, 1, col::NAVY);
    DrawText(c, "TARVOLEN?", 36 - TextWidth("TARVOLEN?", 1) / 2.0, top + 13, 1, col::RED);
}

void DrawPlacardStroll(Canvas& c, int i) {
    if (i <= 3) {
        DrawFigure(c, KidWalk(42, i));
        return;
    }
    switch (i) {
        case 4:
        case 8: {
            Pose p = KidFront();
            p.smile = i == 8;
            DrawFigure(c, p);
            break;
        }
        case 5:
        case 7: {
            const double side = i == 5 ? -1.0 : 1.0;
            Pose p = KidFront();
            p.lean = side * 5.0;
            p.headTurn = side;
            p.hand[0] = {47 - 8.0, p.hip.y - 3.0};
            p.hand[1] = {47 + 8.0, p.hip.y - 3.0};
            DrawFigure(c, p);
            break;
        }
        case 6: {
            Pose p = KidFront(3.0);
            p.headTilt = 30;
            p.smile = true;
            p.hand[0] = {47 - 15.0, p.hip.y - 12.0};
            p.hand[1] = {47 + 15.0, p.hip.y - 12.0};
            DrawFigure(c, p);
            break;
        }
        case 9:
        case 10: {
            const double drop = i == 9 ? 0.0 : 2.0;
            Pose p = KidFront();
            p.smile = true;
            p.eyesClosed = i == 10;
            p.hand[0] = {40, 256 + drop};
            p.hand[1] = {41, 263 + drop};
            p.behind = [drop](Canvas& k) { DrawPlacard(k, drop); };
            DrawFigure(c, p);
            break;
        }
        default: {
            // Walks on behind the window's edge at x 67: the picture ends there.
            static const double shift[] = {12, 18, 29, 33};
            DrawFigure(c, KidWalk(42 + shift[i - 11], (i - 11) % 4));
            break;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The sparkle: a pale yellow star, large and small.

void DrawSparkle(Canvas& c, int i) {
    // Frames are drawn in their own picture space (offset applied by the caller).
    const Pt centre = i == 0 ? Pt{70 + 28.0, 10 + 25.0} : Pt{150 + 20.5, 40 + 18.5};
    const double outer = i == 0 ? 22.5 : 16.5;
    const double inner = outer * 0.42;
    DrawStar(c, centre, outer, inner, 0, col::STAR, col::STAR_EDGE);
    // Light on the upper left facets.
    std::vector<Pt> facet;
    facet.push_back(centre);
    for (int k = -3; k <= 0; ++k) {
        facet.push_back(centre + Polar(k % 2 == 0 ? outer - 3.0 : inner - 1.0, k * 36.0));
    }
    c.Filled(path::Polygon(facet), col::STAR_LIGHT);
    c.Filled(path::Circle(centre + Pt{-outer * 0.18, -outer * 0.2}, outer * 0.09), col::WHITE);
}

std::vector<FrameSpec> Frames(int firstId, std::initializer_list<std::array<int, 5>> rows) {
    std::vector<FrameSpec> frames;
    int id = firstId;
    for (const auto& r : rows) {
        frames.push_back({id++, r[0], r[1], r[2], r[3], r[4]});
    }
    return frames;
}
}  // namespace

const std::vector<Script>& AllScripts() {
    static const std::vector<Script> scripts = [] {
        std::vector<Script> s;
        // clang-format off
        s.push_back({"signchange", Frames(4096, {
            {185, 70, 0, 203, 3}, {185, 70, 0, 203, 3}, {185, 70, 0, 203, 3}, {185, 70, 0, 203, 3},
            {176, 62, 4, 207, 3}, {176, 58, 4, 211, 10}, {175, 78, 4, 191, 4},
            {133, 152, 47, 117, 4}, {101, 173, 62, 96, 4}, {89, 179, 73, 90, 4},
            {40, 214, 117, 57, 4}, {40, 214, 117, 57, 4}, {40, 214, 117, 57, 4}, {40, 214, 117, 57, 4},
            {40, 214, 117, 57, 4}, {40, 214, 117, 57, 4}, {40, 214, 117, 57, 4}, {40, 214, 117, 57, 4},
            {40, 214, 117, 57, 4}, {40, 214, 117, 57, 4}, {40, 214, 117, 57, 4},
            {98, 264, 88, 2, 4}, {98, 264, 88, 2, 4}, {98, 264, 88, 2, 4}, {98, 264, 88, 2, 4},
            {98, 264, 88, 2, 4}, {98, 264, 88, 2, 4}, {98, 264, 88, 2, 4}, {98, 264, 88, 2, 4},
            {40, 186, 117, 85, 4}, {40, 186, 117, 85, 4}, {40, 186, 117, 85, 4}, {40, 186, 117, 85, 4},
            {40, 186, 117, 85, 4}, {40, 186, 117, 85, 4}, {40, 186, 117, 85, 4}, {40, 186, 117, 85, 4},
            {40, 186, 117, 85, 4},
            {89, 181, 73, 90, 4}, {101, 175, 62, 96, 4}, {133, 152, 47, 117, 4}, {175, 78, 4, 191, 4},
            {176, 62, 4, 207, 4},
            {185, 70, 0, 203, 3}, {185, 70, 0, 203, 3}, {185, 70, 0, 203, 3}, {185, 70, 0, 203, 3},
        }), 88, 2, 271, DrawSignChange});
        s.push_back({"laddervisit", Frames(4143, {
            {183, 70, 0, 205, 3}, {183, 70, 0, 205, 3}, {183, 70, 0, 205, 3}, {183, 70, 0, 205, 3},
            {176, 57, 4, 214, 3}, {176, 53, 4, 218, 10}, {175, 78, 4, 193, 4},
            {133, 152, 47, 119, 4}, {110, 174, 53, 97, 4}, {98, 179, 64, 92, 4},
            {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4},
            {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4},
            {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4},
            {76, 225, 99, 42, 4}, {76, 225, 99, 42, 4}, {76, 225, 99, 42, 4}, {76, 225, 99, 42, 4},
            {76, 225, 99, 42, 4}, {76, 225, 99, 42, 4}, {76, 225, 99, 42, 4}, {76, 225, 99, 42, 4},
            {76, 225, 99, 42, 4},
            {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4},
            {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4},
            {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4}, {43, 219, 114, 53, 4},
            {43, 219, 114, 53, 4},
            {98, 179, 64, 92, 4}, {110, 174, 53, 97, 4}, {133, 152, 47, 119, 4}, {175, 78, 4, 193, 4},
            {176, 53, 4, 218, 30}, {176, 53, 4, 218, 4}, {176, 57, 4, 214, 4},
            {183, 70, 0, 205, 3}, {183, 70, 0, 205, 3}, {183, 70, 0, 205, 3}, {183, 70, 0, 205, 3},
        }), 88, 2, 271, DrawLadderVisit});
        s.push_back({"placard", Frames(4198, {
            {50, 70, 17, 224, 3}, {50, 70, 17, 224, 3}, {50, 70, 17, 224, 3}, {50, 70, 17, 224, 3},
            {40, 61, 27, 229, 10}, {48, 58, 19, 232, 5}, {53, 53, 14, 237, 5}, {49, 58, 18, 232, 5},
            {40, 61, 27, 229, 5}, {65, 88, 2, 202, 20}, {65, 88, 2, 202, 5},
            {29, 63, 38, 227, 3}, {26, 59, 41, 231, 3}, {12, 61, 55, 229, 3}, {10, 57, 57, 233, 3},
        }), 0, 2, 290, DrawPlacardStroll});
        s.push_back({"sparkle", Frames(4213, {
            {56, 49, 70, 10, 10}, {41, 36, 150, 40, 10},
        }), 88, 2, 271, DrawSparkle});
        // clang-format on
        return s;
    }();
    return scripts;
}

void RenderFrame(const Script& script, int index, Canvas& canvas) {
    const FrameSpec& f = script.frames.at(size_t(index));
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_translate(cr, -f.x, -f.y);
    script.draw(canvas, index);
    cairo_restore(cr);
}
