#pragma once

#include "geometry/Vec3.h"

// What the manual support panel shows and the support editor applies, in panel order.
struct ManualSupportSettings {
    bool limitAtZAxis = false;
    bool growFromFloor = false;
    float topBallRadius = 0.2f;
    float bottomBallRadius = 0.2f;
    float rodTopRadius = 0.1f;
    float rodBottomRadius = 0.1f;
    float moveUpHeight = 0.0f;
    Point3f topPoint;
    Point3f bottomPoint;
};
