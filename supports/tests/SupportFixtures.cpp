#include "SupportFixtures.h"

#include <array>
#include <cmath>
#include <utility>

namespace fixtures
{

namespace
{
constexpr float kPi = 3.14159265358979f;

std::uint32_t u(std::size_t i)
{
    return static_cast<std::uint32_t>(i);
}
} // namespace

void MeshData::append(const MeshData &other)
{
    const auto offset = u(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (Face f : other.faces) {
        for (int k = 0; k < 3; ++k)
            f[k] += offset;
        faces.push_back(f);
    }
}

MeshData box(const Vec3f &a, const Vec3f &b)
{
    MeshData m;
    m.vertices = {{a.x, a.y, a.z}, {b.x, a.y, a.z}, {b.x, b.y, a.z}, {a.x, b.y, a.z},
                  {a.x, a.y, b.z}, {b.x, a.y, b.z}, {b.x, b.y, b.z}, {a.x, b.y, b.z}};
    const std::uint32_t q[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                   {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    for (const auto &f : q) {
        m.faces.push_back(Face{{f[0], f[1], f[2]}});
        m.faces.push_back(Face{{f[0], f[2], f[3]}});
    }
    return m;
}

MeshData sphere(const Vec3f &c, float r, int stacks, int slices)
{
    MeshData m;
    for (int i = 0; i <= stacks; ++i) {
        const float theta = kPi * static_cast<float>(i) / static_cast<float>(stacks) - kPi / 2;
        for (int j = 0; j < slices; ++j) {
            const float phi = 2 * kPi * static_cast<float>(j) / static_cast<float>(slices);
            m.vertices.push_back({c.x + r * std::cos(theta) * std::cos(phi),
                                  c.y + r * std::cos(theta) * std::sin(phi),
                                  c.z + r * std::sin(theta)});
        }
    }
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const std::size_t a = i * slices + j, b = i * slices + (j + 1) % slices;
            const std::size_t c2 = a + slices, d = b + slices;
            m.faces.push_back(Face{{u(a), u(b), u(d)}});
            m.faces.push_back(Face{{u(a), u(d), u(c2)}});
        }
    return m;
}

MeshData blob(const Vec3f &c, float r, int stacks, int slices, std::uint32_t seed)
{
    MeshData m = sphere(c, r, stacks, slices);
    std::uint32_t state = seed * 2654435761u + 1u;
    auto noise = [&state]() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / static_cast<float>(1u << 24) - 0.5f;
    };
    for (int i = 0; i <= stacks; ++i) {
        const float theta = kPi * static_cast<float>(i) / static_cast<float>(stacks) - kPi / 2;
        for (int j = 0; j < slices; ++j) {
            const float phi = 2 * kPi * static_cast<float>(j) / static_cast<float>(slices);
            const float lumps = 0.14f * std::sin(3 * theta) * std::cos(2 * phi) +
                                0.06f * std::sin(7 * phi + 5 * theta) +
                                0.1f * std::cos(theta * 2 + 1) * std::sin(phi * 3);
            const float scale = 1.0f + lumps + 0.015f * noise();
            Vec3f &v = m.vertices[static_cast<std::size_t>(i) * slices + j];
            v = {c.x + (v.x - c.x) * scale, c.y + (v.y - c.y) * scale * 0.8f,
                 c.z + (v.z - c.z) * scale};
        }
    }
    return m;
}

MeshData torus(const Vec3f &c, float R, float r, int ringSegments, int tubeSegments)
{
    MeshData m;
    for (int i = 0; i < ringSegments; ++i) {
        const float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(ringSegments);
        for (int j = 0; j < tubeSegments; ++j) {
            const float b = 2 * kPi * static_cast<float>(j) / static_cast<float>(tubeSegments);
            const float rr = R + r * std::cos(b);
            m.vertices.push_back(
                {c.x + rr * std::cos(a), c.y + rr * std::sin(a), c.z + r * std::sin(b)});
        }
    }
    for (int i = 0; i < ringSegments; ++i)
        for (int j = 0; j < tubeSegments; ++j) {
            const int i2 = (i + 1) % ringSegments, j2 = (j + 1) % tubeSegments;
            const std::size_t a = i * tubeSegments + j, b = i2 * tubeSegments + j;
            const std::size_t cc = i2 * tubeSegments + j2, d = i * tubeSegments + j2;
            m.faces.push_back(Face{{u(a), u(b), u(cc)}});
            m.faces.push_back(Face{{u(a), u(cc), u(d)}});
        }
    return m;
}

MeshData vault(float ri, float ro, float length, int segments)
{
    MeshData m;
    // Ring k: inner and outer point at angle pi * k / segments, at y = -length/2 and +length/2.
    for (int k = 0; k <= segments; ++k) {
        const float a = kPi * static_cast<float>(k) / static_cast<float>(segments);
        for (float y : {-length / 2, length / 2}) {
            m.vertices.push_back({ri * std::cos(a), y, ri * std::sin(a)});
            m.vertices.push_back({ro * std::cos(a), y, ro * std::sin(a)});
        }
    }
    auto idx = [](int k, int side, int outer) { return u(k * 4 + side * 2 + outer); };
    for (int k = 0; k < segments; ++k) {
        // inner surface (faces the axis), outer surface, two end walls
        m.faces.push_back(Face{{idx(k, 0, 0), idx(k, 1, 0), idx(k + 1, 1, 0)}});
        m.faces.push_back(Face{{idx(k, 0, 0), idx(k + 1, 1, 0), idx(k + 1, 0, 0)}});
        m.faces.push_back(Face{{idx(k, 0, 1), idx(k + 1, 0, 1), idx(k + 1, 1, 1)}});
        m.faces.push_back(Face{{idx(k, 0, 1), idx(k + 1, 1, 1), idx(k, 1, 1)}});
        m.faces.push_back(Face{{idx(k, 0, 0), idx(k + 1, 0, 0), idx(k + 1, 0, 1)}});
        m.faces.push_back(Face{{idx(k, 0, 0), idx(k + 1, 0, 1), idx(k, 0, 1)}});
        m.faces.push_back(Face{{idx(k, 1, 0), idx(k + 1, 1, 1), idx(k + 1, 1, 0)}});
        m.faces.push_back(Face{{idx(k, 1, 0), idx(k, 1, 1), idx(k + 1, 1, 1)}});
    }
    for (Face &f : m.faces)
        std::swap(f[1], f[2]);
    // The two feet on the platform, facing down.
    for (int k : {0, segments}) {
        for (const auto &tri :
             {std::array<std::uint32_t, 3>{idx(k, 0, 0), idx(k, 0, 1), idx(k, 1, 1)},
              std::array<std::uint32_t, 3>{idx(k, 0, 0), idx(k, 1, 1), idx(k, 1, 0)}}) {
            Face f{{tri[0], tri[1], tri[2]}};
            const Vec3f &a = m.vertices[f[0]];
            const Vec3f n = (m.vertices[f[1]] - a).cross(m.vertices[f[2]] - a);
            if (n.z > 0.0f)
                std::swap(f[1], f[2]);
            m.faces.push_back(f);
        }
    }
    return m;
}

MeshData table(float size, float legHeight, float thickness, float legSize)
{
    const float h = size / 2;
    MeshData m = box({-h, -h, legHeight}, {h, h, legHeight + thickness});
    for (float x : {-h, h - legSize})
        for (float y : {-h, h - legSize})
            m.append(box({x, y, 0.0f}, {x + legSize, y + legSize, legHeight}));
    return m;
}

MeshData frame(float outer, float inner, float z0, float thickness)
{
    const float o = outer / 2, i = inner / 2, z1 = z0 + thickness;
    MeshData m = box({-o, -o, z0}, {o, -i, z1});
    m.append(box({-o, i, z0}, {o, o, z1}));
    m.append(box({-o, -i, z0}, {-i, i, z1}));
    m.append(box({i, -i, z0}, {o, i, z1}));
    return m;
}

SupportParameters thinParams()
{
    SupportParameters p;
    p.supportRadius = 0.4f;
    p.overhangRadius = 0.3f;
    p.linkPointRadius = 0.2f;
    p.supportGaps = 4.0f;
    return p;
}

SupportParameters basedParams(bool hasSupports)
{
    SupportParameters p = thinParams();
    p.supportHeight = 5.0f;
    p.baseHeight = 1.2f;
    p.baseExtern = 2.5f;
    p.baseMode = 1;
    p.hasSupports = hasSupports;
    return p;
}

std::shared_ptr<Model> makeModel(const MeshData &mesh)
{
    auto model = std::make_shared<Model>();
    model->vertices() = mesh.vertices;
    model->faces() = mesh.faces;
    model->setIndexed(true);
    model->computeFaceNormals();
    model->recomputeBounds();
    model->computeCentroid();
    return model;
}

} // namespace fixtures
