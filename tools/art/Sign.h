// The hanging sign: a round face plate in a metal rim, held by a wall bracket on its right.
// Sign coordinates: (0, 0) is the top-left of the 122 x 98 face bitmap.
#pragma once

#include "Canvas.h"
#include "FileFormats.h"

constexpr int SIGN_WIDTH = 122;
constexpr int SIGN_HEIGHT = 98;
constexpr Pt DISC_CENTRE{49.0, 49.0};
constexpr double DISC_RADIUS = 49.0;  // the rim's outer edge
constexpr double FACE_RADIUS = 45.0;  // the face plate, inside the rim

enum class FaceDesign { Emblem, Lettered };

bool InDisc(int x, int y);  // pixel centre within the rim's outer edge
bool InFace(int x, int y);  // pixel centre on the face plate

// Rim and bracket, with the face opening left as the groove colour.
void DrawSignBody(Canvas& canvas);
// The face plate with its centre at centre, turned about its upright axis so that it looks
// squash times its width (1: facing the viewer, near 0: edge on).
void DrawFacePlate(Canvas& canvas, FaceDesign design, Pt centre, double squash);
// A whole sign face bitmap.
void DrawSignFace(Canvas& canvas, FaceDesign design);

// The sign's outline: disc and bracket (region 5001's shape).
PixelMask SignOutline();
// What the sign shows while its face is changed (region 5002's shape): the rim and the
// bracket without the face opening, and without the outline's outermost rows and columns,
// which the shape's fixed bounds leave out.
PixelMask SignRim();

// Miniatures of the sign with its lettered face, for the icons.
IconImage SignIcon(int size, int bitsPerPixel);

void DrawStar(Canvas& canvas, Pt centre, double outer, double inner, double degrees, Rgb fill,
              Rgb outline);
