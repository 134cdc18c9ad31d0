#include "Figures.h"

#include <cmath>
#include <vector>

namespace {
constexpr double DEG = M_PI / 180.0;

Pt Rotate(Pt v, double degrees) {
    const double c = std::cos(degrees * DEG);
    const double s = std::sin(degrees * DEG);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}
double Dot(Pt a, Pt b) {
    return a.x * b.x + a.y * b.y;
}
Pt Unit(Pt v) {
    const double l = Length(v);
    return l < 1e-9 ? Pt{0, -1} : v * (1.0 / l);
}

Pt PreferJoint(Pt root, Pt end, double upper, double lower, Pt preferred) {
    const Pt a = SolveJoint(root, end, upper, lower, 1.0);
    const Pt b = SolveJoint(root, end, upper, lower, -1.0);
    const Pt mid = Lerp(root, end, 0.5);
    return Dot(a - mid, preferred) >= Dot(b - mid, preferred) ? a : b;
}

PathFn Capsule(Pt a, Pt b, double radius) {
    return [a, b, radius](cairo_t* cr) {
        const double t = std::atan2(b.y - a.y, b.x - a.x);
        cairo_new_sub_path(cr);
        cairo_arc(cr, b.x, b.y, radius, t - M_PI / 2, t + M_PI / 2);
        cairo_arc(cr, a.x, a.y, radius, t + M_PI / 2, t + 3 * M_PI / 2);
        cairo_close_path(cr);
    };
}

PathFn Shifted(const PathFn& p, Pt by) {
    return [p, by](cairo_t* cr) {
        cairo_save(cr);
        cairo_translate(cr, by.x, by.y);
        p(cr);
        cairo_restore(cr);
    };
}

// A part filled in its shade with the base colour over all but a sliver on its shaded side.
void ShadedPart(Canvas& c, const PathFn& p, Rgb base, Rgb shade, Pt light) {
    c.Outlined(p, shade);
    c.FilledWithin(p, Shifted(p, light), base);
}

struct Colours {
    Rgb upperArm, forearm, hand;
    Rgb thigh, shin, shoe;
    Rgb torso, torsoShade;
};

Colours ColoursOf(Style style, bool far) {
    using namespace col;
    switch (style) {
        case Style::Worker:
            return far ? Colours{SHIRT_SHADE,   SKIN_SHADE, SKIN_SHADE, OVERALL_SHADE,
                                 OVERALL_SHADE, BOOT_SHADE, SHIRT,      SHIRT_SHADE}
                       : Colours{SHIRT, SKIN, SKIN, OVERALL, OVERALL, BOOT, SHIRT, SHIRT_SHADE};
        case Style::Polisher:
            return far ? Colours{TOP_SHADE,      TOP_SHADE,  SKIN_SHADE, TROUSERS_SHADE,
                                 TROUSERS_SHADE, SHOE_SHADE, TOP,        TOP_SHADE}
                       : Colours{TOP, TOP, SKIN, TROUSERS, TROUSERS, SHOE, TOP, TOP_SHADE};
        case Style::Kid:
        default:
            return far ? Colours{STRIPE_SHADE, SKIN_SHADE,    SKIN_SHADE, SKIN_SHADE,
                                 SKIN_SHADE,   SNEAKER_SHADE, STRIPE,     STRIPE_SHADE}
                       : Colours{STRIPE, SKIN, SKIN, SKIN, SKIN, SNEAKER, STRIPE, STRIPE_SHADE};
    }
}

void DrawArm(Canvas& c, const Build& b, Pt shoulder, Pt elbow, Pt hand, const Colours& k) {
    auto whole = [&](cairo_t* cr) {
        cairo_move_to(cr, shoulder.x, shoulder.y);
        cairo_line_to(cr, elbow.x, elbow.y);
        cairo_line_to(cr, hand.x, hand.y);
    };
    c.Stroked(whole, col::INK, b.armWidth + 2.0);
    c.Stroked(path::Line(shoulder, elbow), k.upperArm, b.armWidth);
    c.Stroked(path::Line(elbow, hand), k.forearm, b.armWidth);
    c.Outlined(path::Circle(hand, b.armWidth * 0.62), k.hand);
}

void DrawShoe(Canvas& c, Style style, View view, int facing, Pt ankle, double toe, Rgb shoe) {
    if (view == View::Side) {
        const double turn = -toe * facing;
        const Pt centre = ankle + Rotate({facing * 2.4, 1.4}, turn);
        c.Outlined(path::Ellipse(centre, style == Style::Kid ? 4.0 : 4.4, 2.2, turn), shoe);
        if (style == Style::Polisher || style == Style::Kid) {
            // A pale sole line.
            const Pt a = centre + Rotate({-3.0, 1.6}, turn);
            const Pt z = centre + Rotate({3.2, 1.6}, turn);
            c.Stroked(path::Line(a, z), style == Style::Kid ? col::WHITE : col::SHOE_SHADE, 1.0);
        }
    } else {
        c.Outlined(path::Ellipse(ankle + Pt{0, 1.5}, view == View::Back ? 3.0 : 3.4, 2.2), shoe);
    }
}

void DrawLeg(Canvas& c, const Pose& pose, const Build& b, Pt hip, Pt knee, Pt ankle, double toe,
             const Colours& k) {
    auto whole = [&](cairo_t* cr) {
        cairo_move_to(cr, hip.x, hip.y);
        cairo_line_to(cr, knee.x, knee.y);
        cairo_line_to(cr, ankle.x, ankle.y);
    };
    c.Stroked(whole, col::INK, b.legWidth + 2.0);
    c.Stroked(path::Line(hip, knee), k.thigh, b.legWidth);
    c.Stroked(path::Line(knee, ankle), k.shin, b.legWidth);
    if (pose.style == Style::Kid) {
        // Shorts over the upper thigh.
        const Rgb shorts = k.thigh == col::SKIN ? col::SHORTS : col::SHORTS_SHADE;
        c.Stroked(path::Line(hip, Lerp(hip, knee, 0.55)), shorts, b.legWidth + 0.6);
    }
    DrawShoe(c, pose.style, pose.view, pose.facing, ankle, toe, k.shoe);
}

PathFn TorsoPath(const Pose& pose, const Build& b, const Skeleton& s) {
    const Pt up = Unit(s.neck - pose.hip);
    if (pose.view == View::Side) {
        const double r = b.torsoWidth / 2;
        return Capsule(pose.hip + up * (r - 2.0), s.neck - up * (r - 0.5), r);
    }
    const Pt right = {-up.y, up.x};
    const Pt n = s.neck;
    const Pt h = pose.hip;
    const double sh = b.shoulderHalf;
    const double hh = b.hipHalf;
    return path::Polygon({n - right * (sh - 2.5) + up * 0.5, n + right * (sh - 2.5) + up * 0.5,
                          n + right * (sh + 1.0) - up * 3.0, h + right * (hh + 2.8),
                          h + right * (hh + 2.0) - up * 2.5, h - right * (hh + 2.0) - up * 2.5,
                          h - right * (hh + 2.8), n - right * (sh + 1.0) - up * 3.0});
}

void DrawTorso(Canvas& c, const Pose& pose, const Build& b, const Skeleton& s) {
    const Colours k = ColoursOf(pose.style, false);
    const PathFn torso = TorsoPath(pose, b, s);
    const Pt up = Unit(s.neck - pose.hip);
    const Pt right = {-up.y, up.x};
    const Pt light = pose.view == View::Side ? Pt{pose.facing * 1.6, -1.2} : Pt{-1.4, -1.0};
    ShadedPart(c, torso, k.torso, k.torsoShade, light);
    if (pose.style == Style::Worker) {
        // Overalls: trousers to the waist, a bib in front, straps over the shoulders.
        const Pt waist = pose.hip + up * (b.torso * 0.42);
        c.FilledWithin(
            torso,
            path::Polygon({waist - right * 20.0, waist + right * 20.0,
                           waist + right * 20.0 - up * 20.0, waist - right * 20.0 - up * 20.0}),
            col::OVERALL);
        if (pose.view == View::Side) {
            const Pt chest = pose.hip + up * (b.torso * 0.78);
            const Pt front = right * double(pose.facing);
            c.FilledWithin(torso,
                           path::Polygon({waist + front * 1.0, waist + front * 10.0,
                                          chest + front * 10.0, chest + front * 1.5}),
                           col::OVERALL);
            c.Stroked(path::Line(chest + front * 2.0, s.neck - front * 3.0 - up * 2.0),
                      col::OVERALL, 2.0);
            c.Filled(path::Circle(chest + front * 3.5 - up * 0.5, 0.9), col::GOLD);
        } else {
            if (pose.view == View::Front) {
                c.FilledWithin(torso, path::Rect(s.neck.x - 4.5, s.neck.y + 4.0, 9.0, b.torso),
                               col::OVERALL);
            }
            for (double side : {-1.0, 1.0}) {
                c.Stroked(path::Line(waist + right * (side * 3.0),
                                     s.neck + right * (-side * 3.5) - up * 1.5),
                          col::OVERALL, 2.4);
            }
        }
    } else if (pose.style == Style::Kid) {
        for (double y = s.neck.y + 1.0; y < pose.hip.y - 2.0; y += 4.0) {
            c.FilledWithin(torso, path::Rect(pose.hip.x - 12, y, 24, 2), col::CREAM);
        }
        c.FilledWithin(torso, path::Rect(pose.hip.x - 12, pose.hip.y - 2.5, 24, 8), col::SHORTS);
    } else {
        // A belt.
        const Pt waist = pose.hip + up * 3.0;
        c.FilledWithin(
            torso,
            path::Polygon({waist - right * 20.0, waist + right * 20.0,
                           waist + right * 20.0 - up * 20.0, waist - right * 20.0 - up * 20.0}),
            col::TROUSERS);
    }
}

// Face features of a profile, in head coordinates (x towards facing, y down).
void DrawProfileFace(Canvas& c, const Pose& pose, const Skeleton& s, double r, double eyeX) {
    const int f = pose.facing;
    auto at = [&](double x, double y) { return s.head + Rotate({f * x, y}, s.headAngle); };
    if (pose.eyesClosed) {
        c.Stroked(path::Line(at(eyeX - 1.0, 0.5), at(eyeX + 1.0, 0.5)), col::INK, 1.0);
    } else {
        c.Filled(path::Ellipse(at(eyeX, 0.0), 0.9, 1.5, s.headAngle), col::INK);
    }
    c.Filled(path::Circle(at(eyeX - 1.0, 3.6), 1.3), col::CHEEK);
    if (pose.smile) {
        c.Filled(path::Polygon({at(r * 0.55, 4.2), at(r * 0.9, 3.6), at(r * 0.72, 5.6)}), col::INK);
    } else {
        c.Stroked(path::Line(at(r * 0.58, 4.8), at(r * 0.82, 4.4)), col::INK, 1.0);
    }
}

void DrawNoseOutline(Canvas& c, Pt nose, double radius) {
    c.Stroked(path::Circle(nose, radius), col::INK, 2.0);
}

void DrawWorkerHead(Canvas& c, const Pose& pose, const Skeleton& s, const Build& b) {
    const double r = b.headRadius;
    const int f = pose.facing;
    auto at = [&](double x, double y) { return s.head + Rotate({f * x, y}, s.headAngle); };
    const PathFn head = path::Circle(s.head, r);
    // The cap's crown: a half disc over the top of the head.
    const PathFn crown = [&, r](cairo_t* cr) {
        const Pt centre = at(0, -0.8);
        const double a = s.headAngle * DEG;
        cairo_new_sub_path(cr);
        cairo_arc(cr, centre.x, centre.y, r + 0.9, M_PI + a, 2 * M_PI + a);
        cairo_close_path(cr);
    };
    if (pose.view == View::Side) {
        const Pt nose = at(r - 0.3, 1.8);
        DrawNoseOutline(c, nose, 2.0);
        c.Outlined(head, col::SKIN);
        c.Filled(path::Circle(nose, 2.0), col::SKIN);
        c.FilledWithin(head, path::Circle(at(-6.5, 2.0), 5.0), col::HAIR_BROWN);
        c.Outlined(path::Ellipse(at(-1.2, 1.2), 1.7, 2.2, s.headAngle), col::SKIN_SHADE);
        DrawProfileFace(c, pose, s, r, 3.6);
        c.Outlined(path::Ellipse(at(r + 0.8, -1.6), 5.0, 1.5, s.headAngle), col::CAP_SHADE);
        c.Outlined(crown, col::CAP);
        c.FilledWithin(crown, path::Circle(at(-3.0, -4.0), 3.0), col::CAP_SHADE);
        c.Filled(path::Circle(at(0, -r - 0.6), 1.0), col::CAP_SHADE);
    } else {
        for (double side : {-1.0, 1.0}) {
            c.Outlined(path::Circle(at(side * (r - 0.2), 1.5), 2.1), col::SKIN);
        }
        if (pose.view == View::Back) {
            // Hair all the way down to the collar, with a few darker strands: skin there
            // would read as a face.
            c.Outlined(head, col::HAIR_BROWN);
            for (double x : {-4.0, 0.0, 4.0}) {
                c.Stroked(path::Line(s.head + Pt{x, 1.0}, s.head + Pt{x * 1.3, r - 2.0}),
                          col::HAIR_SHADE, 1.0);
            }
        } else {
            c.Outlined(head, col::SKIN);
            const Pose& p = pose;
            auto eye = [&](double side) { return s.head + Pt{side * 3.0 + p.headTurn * 2.0, 1.0}; };
            for (double side : {-1.0, 1.0}) {
                c.Filled(path::Ellipse(eye(side), 0.9, 1.5), col::INK);
            }
            c.Stroked(path::Line(s.head + Pt{-1.5 + p.headTurn * 2.0, 5.0},
                                 s.head + Pt{1.5 + p.headTurn * 2.0, 5.0}),
                      col::INK, 1.0);
        }
        c.Outlined(crown, col::CAP);
        c.FilledWithin(crown, path::Rect(s.head.x - r - 1, s.head.y - 2.6, 2 * r + 2, 2.0),
                       col::CAP_SHADE);
        if (pose.view == View::Back) {
            c.Filled(path::Rect(s.head.x - 2.0, s.head.y - 2.6, 4.0, 1.6), col::INK);
        }
        c.Filled(path::Circle(at(0, -r - 0.6), 1.0), col::CAP_SHADE);
    }
}

// From behind, the tie is a narrow band across the root: a round one there reads as a face.
void DrawPonytail(Canvas& c, Pt root, double degrees, double length, bool fromBehind = false) {
    const Pt mid = root + Polar(length * 0.5, degrees);
    // The tail curls a little as it hangs.
    const Pt end = mid + Polar(length * 0.5, degrees + 15.0);
    c.Stroked(
        [&](cairo_t* cr) {
            cairo_move_to(cr, root.x, root.y);
            cairo_line_to(cr, mid.x, mid.y);
            cairo_line_to(cr, end.x, end.y);
        },
        col::INK, 7.0);
    c.Stroked(path::Line(root, mid), col::AUBURN, 5.0);
    c.Stroked(path::Line(mid, end), col::AUBURN, 3.6);
    c.Filled(path::Circle(mid, 1.0), col::AUBURN_SHADE);
    if (fromBehind) {
        const Pt across = Polar(2.5, degrees + 90.0);
        c.Stroked(path::Line(root - across, root + across), col::BAND, 1.0);
    } else {
        c.Outlined(path::Circle(root, 1.9), col::BAND);
    }
}

void DrawPolisherHead(Canvas& c, const Pose& pose, const Skeleton& s, const Build& b) {
    const double r = b.headRadius;
    const int f = pose.facing;
    auto at = [&](double x, double y) { return s.head + Rotate({f * x, y}, s.headAngle); };
    const PathFn head = path::Circle(s.head, r);
    if (pose.view == View::Side) {
        // Ponytail behind the head, hanging back and swinging.
        DrawPonytail(c, at(-r + 1.0, -3.5), -f * (125.0 - pose.ponytail * f), 13.0);
        const Pt nose = at(r - 0.4, 1.8);
        DrawNoseOutline(c, nose, 1.6);
        c.Outlined(head, col::SKIN);
        c.Filled(path::Circle(nose, 1.6), col::SKIN);
        c.FilledWithin(head, path::Circle(at(-3.0, -3.0), r), col::AUBURN);
        c.FilledWithin(head, path::Circle(at(-4.5, -1.0), 4.0), col::AUBURN_SHADE);
        c.Stroked(
            [&](cairo_t* cr) {
                const Pt centre = at(-3.0, -3.0);
                const double a0 = (f > 0 ? -0.1 : M_PI * 0.6) + s.headAngle * DEG;
                cairo_new_sub_path(cr);
                cairo_arc(cr, centre.x, centre.y, r, a0, a0 + M_PI * 0.5);
            },
            col::INK, 1.0);
        c.Outlined(path::Ellipse(at(-1.5, 1.5), 1.5, 2.0, s.headAngle), col::SKIN_SHADE);
        DrawProfileFace(c, pose, s, r, 3.4);
        c.Stroked(path::Line(at(4.0, -1.6), at(5.4, -2.6)), col::INK, 1.0);
    } else if (pose.view == View::Back) {
        for (double side : {-1.0, 1.0}) {
            c.Outlined(path::Circle(s.head + Pt{side * (r - 0.3), 1.5}, 1.9), col::SKIN);
        }
        c.Outlined(head, col::AUBURN);
        c.FilledWithin(head, path::Circle(s.head + Pt{-1.5, -1.5}, r), col::AUBURN_SHADE);
        c.FilledWithin(head, path::Circle(s.head + Pt{-2.0, -2.0}, r), col::AUBURN);
        // Strands combed up into the tail.
        const Pt root = s.head + Pt{0, -2.0};
        for (double side : {-1.0, 1.0}) {
            c.Stroked(path::Line(s.head + Pt{side * (r - 2.5), 3.0}, root + Pt{side * 2.0, 1.0}),
                      col::AUBURN_SHADE, 1.0);
        }
        DrawPonytail(c, root, 180.0 - pose.ponytail, 14.0, true);
    } else {
        DrawPonytail(c, s.head + Pt{r - 2.0, -3.0}, 140.0, 12.0);
        c.Outlined(head, col::SKIN);
        c.FilledWithin(head, path::Rect(s.head.x - r, s.head.y - r, 2 * r, r - 1.0), col::AUBURN);
        const double t = pose.headTurn * 2.0;
        for (double side : {-1.0, 1.0}) {
            c.Filled(path::Ellipse(s.head + Pt{side * 3.0 + t, 1.5}, 0.9, 1.5), col::INK);
            c.Filled(path::Circle(s.head + Pt{side * 4.5 + t, 4.5}, 1.2), col::CHEEK);
        }
        c.Stroked(path::Line(s.head + Pt{-1.5 + t, 5.2}, s.head + Pt{1.5 + t, 5.2}), col::INK, 1.0);
    }
}

void DrawCurls(Canvas& c, const std::vector<std::pair<Pt, double>>& curls, bool outline) {
    if (outline) {
        for (const auto& [p, r] : curls) {
            c.Filled(path::Circle(p, r + 1.0), col::INK);
        }
    }
    for (const auto& [p, r] : curls) {
        c.Filled(path::Circle(p, r), col::CURLS);
    }
    for (const auto& [p, r] : curls) {
        c.Filled(path::Circle(p + Pt{-r * 0.3, -r * 0.35}, r * 0.35), col::CURLS_LIGHT);
    }
}

std::vector<std::pair<Pt, double>> CurlMass(Pt centre, double spread, int facing) {
    std::vector<std::pair<Pt, double>> curls;
    // A mop of curls around the top, back and sides of the head.
    const double angles[] = {-110, -80, -50, -20, 10, 40, 70, 100, 130, -140, 160};
    for (double a : angles) {
        const Pt p = centre + Polar(spread, a * facing);
        if (a > 120 || a < -120) {
            curls.push_back({p + Pt{0, -1.0}, 4.6});
        } else {
            curls.push_back({p, 5.4});
        }
    }
    curls.push_back({centre + Pt{0, -3.0}, 7.0});
    return curls;
}

void DrawKidHead(Canvas& c, const Pose& pose, const Skeleton& s, const Build& b) {
    const double r = b.headRadius;
    if (pose.view == View::Side) {
        const int f = pose.facing;
        const auto mass = CurlMass(s.head + Pt{-f * 2.0, -2.0}, 10.0, f);
        DrawCurls(c, mass, true);
        const Pt faceCentre = s.head + Pt{f * 3.0, 2.5};
        const Pt nose = faceCentre + Pt{f * (r - 0.8), 1.0};
        DrawNoseOutline(c, nose, 1.8);
        c.Outlined(path::Circle(faceCentre, r - 0.6), col::SKIN);
        c.Filled(path::Circle(nose, 1.8), col::SKIN);
        Skeleton face = s;
        face.head = faceCentre;
        DrawProfileFace(c, pose, face, r - 0.6, 3.8);
        // Curls fall over the forehead and the back of the cheek.
        DrawCurls(c,
                  {{faceCentre + Pt{f * 1.0, -6.5}, 3.6},
                   {faceCentre + Pt{f * 4.5, -6.0}, 2.8},
                   {faceCentre + Pt{-f * 4.5, -3.0}, 3.6}},
                  true);
        return;
    }
    const double t = pose.headTurn;
    const auto mass = CurlMass(s.head + Pt{0, -1.5}, 10.5, 1);
    DrawCurls(c, mass, true);
    const Pt faceCentre = s.head + Pt{t * 2.0, 2.5};
    c.Outlined(path::Circle(faceCentre, r - 0.5), col::SKIN);
    const double lookX = t * 2.2;
    const double lookY = -pose.headTilt * 0.03;
    for (double side : {-1.0, 1.0}) {
        const Pt eye = faceCentre + Pt{side * 3.4 + lookX, 0.5 + lookY};
        if (pose.eyesClosed) {
            c.Stroked(
                [eye](cairo_t* cr) {
                    cairo_new_sub_path(cr);
                    cairo_arc_negative(cr, eye.x, eye.y + 1.2, 1.6, -0.3, M_PI + 0.3);
                },
                col::INK, 1.0);
        } else {
            const double ex = std::floor(eye.x) - 1.0;
            const double ey = std::floor(eye.y) - 1.0;
            c.Filled(path::Rect(ex, ey, 2, 3), col::INK);
            c.Filled(path::Rect(ex, ey, 1, 1), col::WHITE);
        }
        c.Filled(path::Circle(faceCentre + Pt{side * 5.0 + lookX * 0.5, 4.0}, 1.4), col::CHEEK);
    }
    const Pt mouth = faceCentre + Pt{lookX * 0.7, 5.0};
    if (pose.smile) {
        c.Filled(
            [mouth](cairo_t* cr) {
                cairo_new_sub_path(cr);
                cairo_arc(cr, mouth.x, mouth.y - 0.5, 2.6, 0, M_PI);
                cairo_close_path(cr);
            },
            col::INK);
    } else {
        c.Stroked(
            [mouth](cairo_t* cr) {
                cairo_new_sub_path(cr);
                cairo_arc(cr, mouth.x, mouth.y - 1.5, 2.0, 0.4, M_PI - 0.4);
            },
            col::INK, 1.0);
    }
    // A fringe of curls over the forehead.
    DrawCurls(c,
              {{faceCentre + Pt{-5.5 + t, -6.5}, 3.4},
               {faceCentre + Pt{-1.5 + t, -7.5}, 3.6},
               {faceCentre + Pt{2.5 + t, -7.5}, 3.6},
               {faceCentre + Pt{6.0 + t, -6.0}, 3.2}},
              true);
}

void DrawHead(Canvas& c, const Pose& pose, const Skeleton& s, const Build& b) {
    switch (pose.style) {
        case Style::Worker:
            DrawWorkerHead(c, pose, s, b);
            break;
        case Style::Polisher:
            DrawPolisherHead(c, pose, s, b);
            break;
        case Style::Kid:
            DrawKidHead(c, pose, s, b);
            break;
    }
}
}  // namespace

const Build& BuildOf(Style style) {
    static const Build worker{9.0, 1.0, 17.0, 12.0, 6.5, 3.5, 11.0, 11.0, 9.0, 9.0, 5.5, 4.0, 3.6};
    static const Build polisher{8.5,  0.5, 15.0, 11.0, 6.0, 3.2, 10.0,
                                10.0, 8.0, 8.0,  5.0,  3.6, 3.6};
    static const Build kid{9.0, 1.0, 11.0, 11.0, 5.5, 3.0, 7.5, 7.5, 6.0, 6.0, 4.5, 3.6, 3.6};
    switch (style) {
        case Style::Worker:
            return worker;
        case Style::Polisher:
            return polisher;
        case Style::Kid:
        default:
            return kid;
    }
}

Skeleton SolveSkeleton(const Pose& pose) {
    const Build& b = BuildOf(pose.style);
    Skeleton s;
    if (pose.view == View::Side) {
        const double a = pose.lean * pose.facing;
        s.neck = pose.hip + Polar(b.torso, a);
        s.shoulder[1] = s.neck + Rotate({0, 2.5}, a);
        s.shoulder[0] = s.shoulder[1] + Pt{-pose.facing * 1.0, 0};
        s.hipJoint[1] = pose.hip;
        s.hipJoint[0] = pose.hip + Pt{-pose.facing * 1.0, 0};
        s.head = s.neck + Polar(b.neck + b.headRadius, a);
        s.headAngle = a - pose.headTilt * pose.facing;
        for (int i = 0; i < 2; ++i) {
            s.knee[i] = PreferJoint(s.hipJoint[i], pose.foot[i], b.thigh, b.shin,
                                    {double(pose.facing), 0.0});
            s.elbow[i] = PreferJoint(s.shoulder[i], pose.hand[i], b.upperArm, b.forearm,
                                     {-pose.facing * 0.5, 1.0});
        }
    } else {
        const Pt up = Polar(1.0, pose.lean);
        const Pt right = {-up.y, up.x};
        s.neck = pose.hip + up * b.torso;
        s.shoulder[0] = s.neck - right * b.shoulderHalf - up * 2.5;
        s.shoulder[1] = s.neck + right * b.shoulderHalf - up * 2.5;
        s.hipJoint[0] = pose.hip - right * b.hipHalf;
        s.hipJoint[1] = pose.hip + right * b.hipHalf;
        s.head = s.neck + up * (b.neck + b.headRadius);
        s.headAngle = pose.lean;
        for (int i = 0; i < 2; ++i) {
            const double side = i == 0 ? -1.0 : 1.0;
            // Seen from the front or the back a bent leg mostly shortens; the knee only
            // turns out a little.
            const Pt mid = Lerp(s.hipJoint[i], pose.foot[i], b.thigh / (b.thigh + b.shin));
            const double slack =
                std::max(0.0, b.thigh + b.shin - Length(pose.foot[i] - s.hipJoint[i]));
            s.knee[i] = mid + Pt{side * std::min(3.0, slack * 0.4), 0.0};
            s.elbow[i] =
                PreferJoint(s.shoulder[i], pose.hand[i], b.upperArm, b.forearm, {side, 0.6});
        }
    }
    return s;
}

void DrawFigure(Canvas& c, const Pose& pose) {
    const Build& b = BuildOf(pose.style);
    const Skeleton s = SolveSkeleton(pose);
    const Colours nearColours = ColoursOf(pose.style, false);
    const Colours farColours = ColoursOf(pose.style, true);
    auto hook = [&c](const std::function<void(Canvas&)>& f) {
        if (f) {
            f(c);
        }
    };
    hook(pose.behind);
    if (pose.view == View::Side) {
        DrawArm(c, b, s.shoulder[0], s.elbow[0], pose.hand[0], farColours);
        DrawLeg(c, pose, b, s.hipJoint[0], s.knee[0], pose.foot[0], pose.toe[0], farColours);
        hook(pose.middle);
        DrawTorso(c, pose, b, s);
        DrawLeg(c, pose, b, s.hipJoint[1], s.knee[1], pose.foot[1], pose.toe[1], nearColours);
        DrawHead(c, pose, s, b);
        hook(pose.beforeNearArm);
        DrawArm(c, b, s.shoulder[1], s.elbow[1], pose.hand[1], nearColours);
    } else if (pose.view == View::Back) {
        for (int i = 0; i < 2; ++i) {
            DrawArm(c, b, s.shoulder[i], s.elbow[i], pose.hand[i],
                    i == 0 ? nearColours : farColours);
        }
        for (int i = 0; i < 2; ++i) {
            DrawLeg(c, pose, b, s.hipJoint[i], s.knee[i], pose.foot[i], 0,
                    i == 0 ? nearColours : farColours);
        }
        hook(pose.middle);
        DrawTorso(c, pose, b, s);
        DrawHead(c, pose, s, b);
        hook(pose.beforeNearArm);
    } else {
        for (int i = 0; i < 2; ++i) {
            DrawLeg(c, pose, b, s.hipJoint[i], s.knee[i], pose.foot[i], 0, nearColours);
        }
        hook(pose.middle);
        DrawTorso(c, pose, b, s);
        for (int i = 0; i < 2; ++i) {
            DrawArm(c, b, s.shoulder[i], s.elbow[i], pose.hand[i], nearColours);
        }
        DrawHead(c, pose, s, b);
        hook(pose.beforeNearArm);
    }
    hook(pose.front);
}

void DrawLadder(Canvas& c, Pt base, Pt top, double width, double spacing, bool sideView) {
    const Pt along = Unit(top - base);
    const Pt across = {-along.y, along.x};
    const double half = width / 2.0 - 1.5;
    const double length = Length(top - base);
    const Pt rail[2][2] = {{base - across * half, top - across * half},
                           {base + across * half, top + across * half}};
    for (const auto& r : rail) {
        c.Stroked(path::Line(r[0], r[1]), col::INK, 5.0);
    }
    for (double d = spacing; d < length - 3.0; d += spacing) {
        const Pt p = base + along * d;
        c.Stroked(path::Line(p - across * half, p + across * half), col::INK, 4.0);
        c.Stroked(path::Line(p - across * half, p + across * half), col::WOOD_LIGHT, 2.0);
    }
    for (int i = 0; i < 2; ++i) {
        const Rgb wood = sideView && i == 0 ? col::WOOD_SHADE : col::WOOD;
        c.Stroked(path::Line(rail[i][0], rail[i][1]), wood, 3.0);
    }
    // Rubber feet.
    for (const auto& r : rail) {
        c.Stroked(path::Line(r[0], r[0] + along * 2.0), col::INK, 4.0);
    }
}

void DrawCloth(Canvas& c, Pt grip, Pt trail, double size) {
    // A bunched-up rag in the hand with a loose end flapping towards trail.
    const Pt d = Unit(trail - grip);
    const Pt n = {-d.y, d.x};
    auto at = [&](double along, double across) {
        return grip + d * (size * along) + n * (size * across);
    };
    const std::vector<Pt> cloth = {at(-0.25, -0.3), at(0.35, -0.42), at(0.7, -0.3),
                                   at(1.05, -0.38), at(0.95, -0.05), at(1.1, 0.22),
                                   at(0.65, 0.3),   at(0.3, 0.42),   at(-0.2, 0.3)};
    c.Outlined(path::Polygon(cloth), col::CLOTH);
    c.Stroked(path::Line(at(0.25, -0.1), at(0.75, -0.15)), col::CLOTH_SHADE, 1.0);
    c.Stroked(path::Line(at(0.3, 0.15), at(0.8, 0.12)), col::CLOTH_SHADE, 1.0);
}
