#pragma once

#include "geometry/Vec3.h"

#include <memory>

class Model;

// A picking ray: origin and direction (not necessarily unit length; distances are in units of
// the direction's length).
struct Ray {
    Vec3f origin;
    Vec3f direction;
};

// Nearest hit of a ray: the model, the face index, the ray parameter t and the hit point.
struct RayHit {
    std::shared_ptr<Model> model;
    int face = -1;
    float distance = 3.4028235e38f;
    Point3f point;

    bool isHit() const { return model != nullptr; }
};

// Moller-Trumbore test of a ray against the triangle (a, b, c). Only triangles facing the ray
// (determinant of at least 2^-23) are hit; back faces and parallel triangles never are. On a
// hit stores the ray parameter (>= 0) in *t and returns true.
bool rayTriangle(const Ray &ray, const Vec3f &a, const Vec3f &b, const Vec3f &c, float *t);

// Nearest hit of the ray against one model. Meshes test every face; contour (SLC) models test
// consecutive vertex triples (i - 1, i, i + 1), recording i - 1 as the face. Updates `best`
// only when a hit is nearer than best.distance.
void rayHitModel(const Ray &ray, const std::shared_ptr<Model> &model, RayHit *best);
