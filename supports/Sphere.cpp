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
    const float pi = SupportMath::kPi;
    auto &v = mesh.vertices();
    v.clear();
    v.reserve(kRings * kPoints);
    for (int i = 0; i < kRings; ++i) {
        const float theta = static_cast<float>(i) * pi / static_cast<float>(kRings - 1);
        const float y = radius * std::sin(theta - pi / 2.0f);
        const float ringRadius = radius * std::sin(theta);
        for (int j = 0; j < kPoints; ++j) {
            const float phi = static_cast<float>(j) * 2.0f * pi / static_cast<float>(kPoints - 1);
            v.push_back(Point3f{ringRadius * std::cos(phi) + centre.x, y + centre.y,
                                ringRadius * std::sin(phi) + centre.z});
        }
    }
    auto &f = mesh.faces();
    f.clear();
    f.reserve(2 * (kRings - 1) * (kPoints - 1));
    for (int i = 0; i < kRings - 1; ++i)
        for (int j = 0; j < kPoints - 1; ++j) {
            const auto k = static_cast<std::uint32_t>(i * kPoints + j);
            f.push_back(Face{{k + 13, k + 1, k}});
            f.push_back(Face{{k, k + 12, k + 13}});
        }
    mesh.setIndexed(true);
    mesh.computeFaceNormals();
    mesh.recomputeBounds();
}
