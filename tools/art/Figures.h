// The three figures and the things they carry, drawn from a pose: a few key points (hip,
// hands, feet) plus angles; elbows and knees follow from the limb lengths.
#pragma once

#include <functional>

#include "Canvas.h"

enum class Style { Worker, Polisher, Kid };
enum class View { Side, Back, Front };

// Body measurements of one figure, pixels.
struct Build {
    double headRadius;
    double neck;
    double torso;  // hip to the base of the neck
    double torsoWidth;
    double shoulderHalf;  // back and front views
    double hipHalf;
    double thigh;
    double shin;
    double upperArm;
    double forearm;
    double legWidth;
    double armWidth;
    double soleBelowAnkle;  // from the ankle point to the bottom of the outline
};
const Build& BuildOf(Style style);

struct Pose {
    Style style = Style::Worker;
    View view = View::Side;
    int facing = 1;  // side view: 1 looks right, -1 looks left
    Pt hip;
    double lean = 0.0;      // torso, degrees: side view towards facing, else towards screen right
    double headTilt = 0.0;  // degrees, positive looks up
    double headTurn = 0.0;  // front view: -1 looks to screen left .. 1 to screen right
    // Index 0 is the far limb (side view) or the one on the screen's left; 1 the other.
    Pt hand[2];
    Pt foot[2];                  // ankle points
    double toe[2] = {0.0, 0.0};  // side view: foot angle, degrees, positive lifts the toes
    double ponytail = 0.0;       // swing of the ponytail, degrees
    bool smile = false;          // a wide open smile
    bool eyesClosed = false;
    // Extra drawing at fixed depths: behind everything, between the far limbs and the body,
    // between the body and the near arm, in front of everything.
    std::function<void(Canvas&)> behind;
    std::function<void(Canvas&)> middle;
    std::function<void(Canvas&)> beforeNearArm;
    std::function<void(Canvas&)> front;
};

// Where the pose puts its joints; handy for props that attach to the body.
struct Skeleton {
    Pt neck;
    Pt head;
    Pt shoulder[2];
    Pt hipJoint[2];
    Pt elbow[2];
    Pt knee[2];
    double headAngle;  // degrees, rotation of the head's features
};
Skeleton SolveSkeleton(const Pose& pose);

void DrawFigure(Canvas& canvas, const Pose& pose);

// The ladder's rails from base to top (centre line), its outer width, and rungs every spacing
// pixels from the base. A side view shows the far rail darker.
void DrawLadder(Canvas& canvas, Pt base, Pt top, double width, double spacing, bool sideView);

// A polishing cloth held at grip, its free end trailing in the direction of trail.
void DrawCloth(Canvas& canvas, Pt grip, Pt trail, double size);
