// Points and small vector arithmetic for posing figures.
#pragma once

#include <algorithm>
#include <cmath>

struct Pt {
    double x = 0.0;
    double y = 0.0;
};

inline Pt operator+(Pt a, Pt b) {
    return {a.x + b.x, a.y + b.y};
}
inline Pt operator-(Pt a, Pt b) {
    return {a.x - b.x, a.y - b.y};
}
inline Pt operator*(Pt a, double k) {
    return {a.x * k, a.y * k};
}
inline double Length(Pt a) {
    return std::sqrt(a.x * a.x + a.y * a.y);
}
inline Pt Lerp(Pt a, Pt b, double t) {
    return a + (b - a) * t;
}
inline Pt Polar(double length, double degrees) {
    const double r = degrees * M_PI / 180.0;
    return {length * std::sin(r), -length * std::cos(r)};
}

// Middle joint of a two-bone limb from root to end. bend +1 or -1 picks the side the joint
// bulges to (+1: to the right of the root-to-end direction, screen coordinates). A limb that
// cannot reach is drawn straight towards its end.
inline Pt SolveJoint(Pt root, Pt end, double upper, double lower, double bend) {
    const Pt d = end - root;
    double dist = Length(d);
    if (dist < 1e-6) {
        return root + Pt{0, upper};
    }
    if (dist >= upper + lower) {
        return root + d * (upper / dist);
    }
    const double a = (upper * upper - lower * lower + dist * dist) / (2 * dist);
    const double h = std::sqrt(std::max(0.0, upper * upper - a * a));
    const Pt along = d * (1.0 / dist);
    const Pt side = {-along.y, along.x};
    return root + along * a + side * (h * bend);
}
