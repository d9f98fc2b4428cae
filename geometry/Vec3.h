#pragma once

#include <array>
#include <cmath>
#include <cstdint>

// Plain 3-component float vector used for positions, normals and directions (millimetres).
struct Vec3f {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    float &operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    Vec3f &operator+=(const Vec3f &o)
    {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    Vec3f &operator-=(const Vec3f &o)
    {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
    Vec3f &operator*=(float s)
    {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }

    float dot(const Vec3f &o) const { return x * o.x + y * o.y + z * o.z; }
    Vec3f cross(const Vec3f &o) const
    {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    float length() const { return std::sqrt(dot(*this)); }
    // Returns the unit vector; a zero vector yields non-finite components.
    Vec3f normalized() const
    {
        const float l = length();
        return {x / l, y / l, z / l};
    }
};

using Point3f = Vec3f;

inline Vec3f operator+(Vec3f a, const Vec3f &b)
{
    return a += b;
}
inline Vec3f operator-(Vec3f a, const Vec3f &b)
{
    return a -= b;
}
inline Vec3f operator-(const Vec3f &a)
{
    return {-a.x, -a.y, -a.z};
}
inline Vec3f operator*(Vec3f a, float s)
{
    return a *= s;
}
inline Vec3f operator*(float s, Vec3f a)
{
    return a *= s;
}
inline bool operator==(const Vec3f &a, const Vec3f &b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline bool operator!=(const Vec3f &a, const Vec3f &b)
{
    return !(a == b);
}

// A triangle as three indices into a mesh's vertex array.
struct Face {
    std::uint32_t v[3] = {0, 0, 0};

    std::uint32_t &operator[](int i) { return v[i]; }
    std::uint32_t operator[](int i) const { return v[i]; }
};

inline bool operator==(const Face &a, const Face &b)
{
    return a.v[0] == b.v[0] && a.v[1] == b.v[1] && a.v[2] == b.v[2];
}

// 4 x 4 matrix, column-major: element 4 * column + row; the translation is in elements 12-14.
using Matrix4f = std::array<float, 16>;

inline Matrix4f identityMatrix()
{
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

inline Matrix4f translationMatrix(float x, float y, float z)
{
    Matrix4f m = identityMatrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

inline Matrix4f scaleMatrix(float x, float y, float z)
{
    Matrix4f m = identityMatrix();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

// a * b: applying the result equals applying b first, then a.
inline Matrix4f multiply(const Matrix4f &a, const Matrix4f &b)
{
    Matrix4f r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            float s = 0.0f;
            for (int k = 0; k < 4; ++k)
                s += a[4 * k + row] * b[4 * c + k];
            r[4 * c + row] = s;
        }
    return r;
}

// M * (p, 1), the homogeneous row ignored.
inline Vec3f transformPoint(const Matrix4f &m, const Vec3f &p)
{
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

// M * (v, 0): the translation is ignored and the result is not renormalised.
inline Vec3f transformVector(const Matrix4f &m, const Vec3f &v)
{
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z, m[1] * v.x + m[5] * v.y + m[9] * v.z,
            m[2] * v.x + m[6] * v.y + m[10] * v.z};
}

// Axis-aligned box; a default box is "empty" (min at the largest float, max at its negative).
struct Box3f {
    Vec3f min{3.4028235e38f, 3.4028235e38f, 3.4028235e38f};
    Vec3f max{-3.4028235e38f, -3.4028235e38f, -3.4028235e38f};

    bool isEmpty() const { return min.x > max.x || min.y > max.y || min.z > max.z; }
    Vec3f extent() const { return max - min; }
    Vec3f center() const { return (min + max) * 0.5f; }
    // Widens the box to hold p (NaN coordinates are skipped).
    void expand(const Point3f &p)
    {
        if (p.x < min.x)
            min.x = p.x;
        if (p.y < min.y)
            min.y = p.y;
        if (p.z < min.z)
            min.z = p.z;
        if (p.x > max.x)
            max.x = p.x;
        if (p.y > max.y)
            max.y = p.y;
        if (p.z > max.z)
            max.z = p.z;
    }
};
