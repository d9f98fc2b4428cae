#include "TestMeshes.h"

#include "geometry/Mesh3D.h"
#include "geometry/SlcModel.h"

#include <cmath>

namespace slicingtest
{

using testsupport::Vec3;

std::shared_ptr<Mesh3D> meshFrom(const std::vector<Triangle> &triangles)
{
    auto mesh = std::make_shared<Mesh3D>();
    for (const Triangle &t : triangles) {
        Face f;
        for (int k = 0; k < 3; ++k) {
            f.v[k] = uint32_t(mesh->vertices().size());
            mesh->vertices().push_back(Point3f{t[size_t(k)][0], t[size_t(k)][1], t[size_t(k)][2]});
        }
        mesh->faces().push_back(f);
    }
    mesh->recomputeBounds();
    return mesh;
}

std::vector<Triangle> reversed(std::vector<Triangle> triangles)
{
    for (Triangle &t : triangles)
        std::swap(t[1], t[2]);
    return triangles;
}

std::vector<Triangle> sphereTriangles(float cx, float cy, float cz, float r, int stacks, int slices)
{
    auto at = [&](int i, int j) {
        const double theta = M_PI * i / stacks;
        const double phi = 2 * M_PI * j / slices;
        return Vec3{float(cx + r * std::sin(theta) * std::cos(phi)),
                    float(cy + r * std::sin(theta) * std::sin(phi)),
                    float(cz - r * std::cos(theta))};
    };
    std::vector<Triangle> out;
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const Vec3 a = at(i, j), b = at(i, j + 1), c = at(i + 1, j + 1), d = at(i + 1, j);
            if (i != stacks - 1)
                out.push_back({a, c, d});
            if (i != 0)
                out.push_back({a, b, c});
        }
    return out;
}

std::vector<Triangle> hollowBoxTriangles()
{
    std::vector<Triangle> out = testsupport::boxTriangles(-10, -10, 0, 10, 10, 10);
    const std::vector<Triangle> cavity = reversed(testsupport::boxTriangles(-5, -5, 2, 5, 5, 8));
    out.insert(out.end(), cavity.begin(), cavity.end());
    return out;
}

std::vector<Triangle> tubeTriangles()
{
    std::vector<Triangle> out;
    auto quad = [&out](Vec3 a, Vec3 b, Vec3 c, Vec3 d) {
        out.push_back({a, b, c});
        out.push_back({a, c, d});
    };
    const float o = 10, i = 5, h = 10;
    const Vec3 outer[4] = {{-o, -o, 0}, {o, -o, 0}, {o, o, 0}, {-o, o, 0}};
    const Vec3 inner[4] = {{-i, -i, 0}, {i, -i, 0}, {i, i, 0}, {-i, i, 0}};
    auto up = [h](Vec3 p) { return Vec3{p[0], p[1], h}; };
    for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4;
        quad(outer[k], outer[n], up(outer[n]), up(outer[k]));         // outer wall, outward
        quad(inner[n], inner[k], up(inner[k]), up(inner[n]));         // hole wall, facing the hole
        quad(up(outer[k]), up(outer[n]), up(inner[n]), up(inner[k])); // top ring
        quad(outer[n], outer[k], inner[k], inner[n]);                 // bottom ring
    }
    return out;
}

std::shared_ptr<Mesh3D> slcSquares(int layers, float thickness, float half)
{
    auto mesh = std::make_shared<Mesh3D>();
    auto slc = std::make_shared<SlcModel>();
    slc->minZ = 0.0f;
    slc->layerThickness = thickness;
    slc->maxZ = float(layers * double(thickness));
    for (int l = 0; l < layers; ++l) {
        SlcModel::Contour contour;
        const float z = float(l * double(thickness));
        for (const auto &xy : {std::pair<float, float>{-half, -half},
                               {half, -half},
                               {half, half},
                               {-half, half},
                               {-half, -half}}) {
            contour.push_back(uint32_t(mesh->vertices().size()));
            mesh->vertices().push_back(Point3f{xy.first, xy.second, z});
        }
        slc->layers.push_back(SlcModel::Layer{contour});
    }
    mesh->setSourceKind(SourceKind::SlcContours);
    mesh->setContourData(slc);
    mesh->recomputeBounds();
    return mesh;
}

} // namespace slicingtest
