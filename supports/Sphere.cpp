#include "supports/Sphere.h"

#include "supports/SupportMath.h"

#include <cmath>

Sphere::Sphere(const Point3f &centre, float radius) : m_centre(centre), m_radius(radius)
{
    buildInto(*this, centre, radius);
}

std::shared_ptr<Mesh3D> Sphere::clone() const
{
    return std::make_shared<Sphere>(*this);
}

void Sphere::buildInto(Mesh3D &mesh, const Point3f &centre, float radius)
{
    buildLattice(mesh, centre, radius, kRings, kPoints);
}

void Sphere::buildLattice(Mesh3D &mesh, const Point3f &centre, float radius, int rings, int points)
{
    const float pi = SupportMath::kPi;
    auto &v = mesh.vertices();
    v.clear();
    v.reserve(static_cast<std::size_t>(rings) * static_cast<std::size_t>(points));
    for (int i = 0; i < rings; ++i) {
        const float theta = static_cast<float>(i) * pi / static_cast<float>(rings - 1);
        const float y = radius * std::sin(theta - pi / 2.0f);
        const float ringRadius = radius * std::sin(theta);
        for (int j = 0; j < points; ++j) {
            const float phi = static_cast<float>(j) * 2.0f * pi / static_cast<float>(points - 1);
            v.push_back(Point3f{ringRadius * std::cos(phi) + centre.x, y + centre.y,
                                ringRadius * std::sin(phi) + centre.z});
        }
    }
    auto &f = mesh.faces();
    f.clear();
    f.reserve(2 * static_cast<std::size_t>(rings - 1) * static_cast<std::size_t>(points - 1));
    const auto n = static_cast<std::uint32_t>(points);
    for (int i = 0; i < rings - 1; ++i)
        for (int j = 0; j < points - 1; ++j) {
            const auto k = static_cast<std::uint32_t>(i * points + j);
            f.push_back(Face{{k + n + 1, k + 1, k}});
            f.push_back(Face{{k, k + n, k + n + 1}});
        }
    mesh.setIndexed(true);
    mesh.computeFaceNormals();
    mesh.recomputeBounds();
}
