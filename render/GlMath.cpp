#include "render/GlMath.h"

#include <cmath>

namespace Orvane3Ds
{

Matrix4f rotationMatrix(const Vec3f &axis, float radians)
{
    const float len = axis.length();
    const Vec3f a = len > 0.0f ? axis * (1.0f / len) : Vec3f{0.0f, 0.0f, 1.0f};
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float k = 1.0f - c;
    Matrix4f m = identityMatrix();
    m[0] = a.x * a.x * k + c;
    m[1] = a.y * a.x * k + a.z * s;
    m[2] = a.z * a.x * k - a.y * s;
    m[4] = a.x * a.y * k - a.z * s;
    m[5] = a.y * a.y * k + c;
    m[6] = a.z * a.y * k + a.x * s;
    m[8] = a.x * a.z * k + a.y * s;
    m[9] = a.y * a.z * k - a.x * s;
    m[10] = a.z * a.z * k + c;
    return m;
}

Matrix4f orthoMatrix(float l, float r, float b, float t, float n, float f)
{
    Matrix4f m{};
    m[0] = 2.0f / (r - l);
    m[5] = 2.0f / (t - b);
    m[10] = -2.0f / (f - n);
    m[12] = -(r + l) / (r - l);
    m[13] = -(t + b) / (t - b);
    m[14] = -(f + n) / (f - n);
    m[15] = 1.0f;
    return m;
}

Matrix4f editorOrthoMatrix(float halfHeight, float viewportWidth, float viewportHeight)
{
    const float aspect = viewportHeight > 0.0f ? viewportWidth / viewportHeight : 1.0f;
    const float halfWidth = halfHeight * aspect;
    return orthoMatrix(-halfWidth, halfWidth, -halfHeight, halfHeight, 1.0f, 2000.0f);
}

Matrix4f viewMatrixFromBasis(const Vec3f &side, const Vec3f &up, const Vec3f &forward,
                             const Vec3f &eye)
{
    Matrix4f m = identityMatrix();
    m[0] = side.x;
    m[4] = side.y;
    m[8] = side.z;
    m[1] = up.x;
    m[5] = up.y;
    m[9] = up.z;
    m[2] = -forward.x;
    m[6] = -forward.y;
    m[10] = -forward.z;
    m[12] = -side.dot(eye);
    m[13] = -up.dot(eye);
    m[14] = forward.dot(eye);
    return m;
}

Matrix4f lookAtMatrix(const Vec3f &eye, const Vec3f &centre, const Vec3f &up)
{
    const Vec3f f = (centre - eye).normalized();
    const Vec3f s = f.cross(up).normalized();
    return viewMatrixFromBasis(s, s.cross(f), f, eye);
}

Matrix4f normalMatrixOf(const Matrix4f &m)
{
    Matrix4f linear = m;
    linear[12] = linear[13] = linear[14] = 0.0f;
    Matrix4f inverse;
    if (!invertMatrix(linear, inverse))
        return identityMatrix();
    Matrix4f out = identityMatrix();
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            out[c * 4 + r] = inverse[r * 4 + c];
    return out;
}

bool invertMatrix(const Matrix4f &src, Matrix4f &out)
{
    // Cofactor expansion in double precision (picking needs the accuracy far from the origin).
    std::array<double, 16> m;
    for (int i = 0; i < 16; ++i)
        m[i] = src[i];
    std::array<double, 16> inv;
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] +
             m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
             m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] +
             m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
              m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
             m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] +
             m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] -
             m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] +
              m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] -
             m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] +
              m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] -
              m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] -
             m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    const double det = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    if (det == 0.0)
        return false;
    for (int i = 0; i < 16; ++i)
        out[i] = static_cast<float>(inv[i] / det);
    return true;
}

Vec3f projectPoint(const Matrix4f &m, const Vec3f &p)
{
    const Vec3f q = transformPoint(m, p);
    const float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    if (w == 0.0f)
        return q;
    return q * (1.0f / w);
}

} // namespace Orvane3Ds
