#pragma once

#include "geometry/Vec3.h"

#include <cmath>
#include <cstdint>
#include <vector>

// Small geometric helpers shared by overhang detection, support routing and the shapes.
namespace SupportMath
{

constexpr float kPi = 3.14159265358979323846f;
// A ray seen edge-on by a triangle (|det| below 2^-23) misses it.
constexpr float kRayEpsilon = 1.1920929e-7f;

// True when the (unnormalised) direction lies strictly within 45 degrees of straight down.
inline bool isDownward(const Vec3f &n)
{
    return n.z * n.z > n.x * n.x + n.y * n.y && n.z < 0.0f;
}

// Point i of n points on a horizontal circle of radius r around c (i = 0 on +y, clockwise
// seen from above).
inline Vec3f circlePoint(const Vec3f &c, float r, int i, int n)
{
    const float a = static_cast<float>(i) * 2.0f * kPi / static_cast<float>(n);
    return {c.x + r * std::sin(a), c.y + r * std::cos(a), c.z};
}

// Replaces `faces` by the 2n side triangles of an open tube over two rings of n points each:
// vertices 0..n-1 the first ring, n..2n-1 the second, both turning the same way.
inline void tubeSideFaces(std::vector<Face> &faces, int n)
{
    auto u = [](int i) { return static_cast<std::uint32_t>(i); };
    faces.clear();
    faces.reserve(static_cast<std::size_t>(2 * n));
    for (int i = 0; i < n; ++i)
        faces.push_back(Face{{u(i + n), u(i), u((i + 1) % n + n)}});
    for (int j = 0; j < n; ++j)
        faces.push_back(Face{{u((j + n - 1) % n), u(j), u(j + n)}});
}

// Ray (origin o, unit direction d) against triangle (a, b, c); both sides count. On a hit
// returns true with the distance t >= 0 and the barycentric weights u (towards b), v (towards c).
inline bool rayTriangle(const Vec3f &o, const Vec3f &d, const Vec3f &a, const Vec3f &b,
                        const Vec3f &c, float *t, float *u, float *v)
{
    const Vec3f e1 = b - a;
    const Vec3f e2 = c - a;
    const Vec3f p = d.cross(e2);
    const float det = e1.dot(p);
    if (std::fabs(det) < kRayEpsilon)
        return false;
    const float inv = 1.0f / det;
    const Vec3f s = o - a;
    const float uu = s.dot(p) * inv;
    if (uu < 0.0f || uu > 1.0f)
        return false;
    const Vec3f q = s.cross(e1);
    const float vv = d.dot(q) * inv;
    if (vv < 0.0f || vv > 1.0f || uu + vv > 1.0f)
        return false;
    const float tt = e2.dot(q) * inv;
    if (tt < 0.0f)
        return false;
    *t = tt;
    *u = uu;
    *v = vv;
    return true;
}

// Inclusive overlap of two boxes.
inline bool boxesOverlap(const Box3f &a, const Box3f &b)
{
    return a.min.x <= b.max.x && a.max.x >= b.min.x && a.min.y <= b.max.y && a.max.y >= b.min.y &&
           a.min.z <= b.max.z && a.max.z >= b.min.z;
}

inline void growBox(Box3f &box, const Vec3f &p)
{
    box.min.x = p.x < box.min.x ? p.x : box.min.x;
    box.min.y = p.y < box.min.y ? p.y : box.min.y;
    box.min.z = p.z < box.min.z ? p.z : box.min.z;
    box.max.x = p.x > box.max.x ? p.x : box.max.x;
    box.max.y = p.y > box.max.y ? p.y : box.max.y;
    box.max.z = p.z > box.max.z ? p.z : box.max.z;
}

inline void growBox(Box3f &box, const Box3f &other)
{
    growBox(box, other.min);
    growBox(box, other.max);
}

inline Box3f segmentBox(const Vec3f &a, const Vec3f &b, float pad)
{
    Box3f box;
    growBox(box, a);
    growBox(box, b);
    box.min -= Vec3f{pad, pad, pad};
    box.max += Vec3f{pad, pad, pad};
    return box;
}

// Barycentric point-in-triangle test in the XY plane; the boundary counts as inside. On success
// gives s (weight of c) and t (weight of b). A triangle degenerate in XY contains no point.
inline bool insideXY(float px, float py, const Vec3f &a, const Vec3f &b, const Vec3f &c, float *s,
                     float *t)
{
    const float ex = b.x - a.x, ey = b.y - a.y;
    const float fx = c.x - a.x, fy = c.y - a.y;
    const float dee = ex * ex + ey * ey;
    const float dff = fx * fx + fy * fy;
    const float def = ex * fx + ey * fy;
    const float den = dee * dff - def * def;
    if (den == 0.0f)
        return false;
    const float wx = px - a.x, wy = py - a.y;
    const float we = wx * ex + wy * ey;
    const float wf = wx * fx + wy * fy;
    const float ss = (dee * wf - we * def) / den;
    const float tt = (we * dff - wf * def) / den;
    if (ss < 0.0f || ss > 1.0f || tt < 0.0f || tt > 1.0f || ss + tt > 1.0f)
        return false;
    *s = ss;
    *t = tt;
    return true;
}

inline float horizontalDistance(const Vec3f &a, const Vec3f &b)
{
    const float dx = a.x - b.x, dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace SupportMath
