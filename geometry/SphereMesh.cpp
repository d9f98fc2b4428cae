#include "geometry/SphereMesh.h"

#include "geometry/Mesh3D.h"

#include <cmath>

void buildSphereMesh(Mesh3D &mesh, const Point3f &centre, float radius, int rings, int points)
{
    rings = rings < 3 ? 3 : rings;
    points = points < 3 ? 3 : points;
    const double pi = 3.14159265358979323846;
    auto &vertices = mesh.vertices();
    auto &faces = mesh.faces();
    vertices.clear();
    faces.clear();
    vertices.reserve(std::size_t(rings) * points);
    for (int i = 0; i < rings; ++i) {
        const double polar = i * pi / (rings - 1);
        for (int j = 0; j < points; ++j) {
            const double azimuth = j * 2.0 * pi / (points - 1);
            vertices.push_back({float(centre.x + radius * std::sin(polar) * std::cos(azimuth)),
                                float(centre.y + radius * std::sin(polar) * std::sin(azimuth)),
                                float(centre.z + radius * std::cos(polar))});
        }
    }
    faces.reserve(std::size_t(rings - 1) * (points - 1) * 2);
    for (int i = 0; i + 1 < rings; ++i) {
        for (int j = 0; j + 1 < points; ++j) {
            const auto a = std::uint32_t(i * points + j);
            const auto b = std::uint32_t(i * points + j + 1);
            const auto c = std::uint32_t((i + 1) * points + j);
            const auto d = std::uint32_t((i + 1) * points + j + 1);
            // Ring i is above ring i + 1; azimuth grows counter-clockwise seen from above.
            faces.push_back(Face{{a, c, d}});
            faces.push_back(Face{{a, d, b}});
        }
    }
    mesh.setIndexed(true);
    mesh.recomputeBounds();
    mesh.computeFaceNormals();
    mesh.computeCentroid();
    mesh.setSize(mesh.extent());
}
