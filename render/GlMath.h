#pragma once

#include "geometry/Vec3.h"

#include <array>

// Small matrix helpers for the 3D view. All matrices are column-major (element 4 * column + row).
namespace Orvane3Ds
{

// Rotation by `radians` about `axis` (normalised here), right-hand sense.
Matrix4f rotationMatrix(const Vec3f &axis, float radians);

// Orthographic projection onto [l, r] x [b, t] with near and far distances n and f.
Matrix4f orthoMatrix(float l, float r, float b, float t, float n, float f);

// The editors' orthographic view: `halfHeight` millimetres above and below the centre, the width
// following the viewport's aspect (1 for an empty viewport), depth 1 to 2000.
Matrix4f editorOrthoMatrix(float halfHeight, float viewportWidth, float viewportHeight);

// Viewing matrix of an eye at `eye` with the orthonormal basis side (screen right), up and
// forward (into the screen).
Matrix4f viewMatrixFromBasis(const Vec3f &side, const Vec3f &up, const Vec3f &forward,
                             const Vec3f &eye);

// Viewing matrix of an eye looking at `centre` with the given up vector.
Matrix4f lookAtMatrix(const Vec3f &eye, const Vec3f &centre, const Vec3f &up);

// General inverse; returns false (and leaves `out` unchanged) for a singular matrix.
bool invertMatrix(const Matrix4f &m, Matrix4f &out);

// The matrix that turns normals the way m turns the surfaces: the inverse transpose of m's 3x3
// part, without a move. A singular m gives the identity.
Matrix4f normalMatrixOf(const Matrix4f &m);

// M * (p, 1) with the perspective division; w == 0 yields the undivided point.
Vec3f projectPoint(const Matrix4f &m, const Vec3f &p);

// The 3x3 rotation part applied to a vector (same as transformVector, named for readability).
inline Vec3f rotateVector(const Matrix4f &m, const Vec3f &v)
{
    return transformVector(m, v);
}

} // namespace Orvane3Ds
