#include "supports/SupportBase.h"

#include <algorithm>
#include <array>
#include <cstdint>

std::shared_ptr<Mesh3D> buildSupportBase(const std::vector<Point3f> &axisPoints, float baseExtern,
                                         float baseHeight, const PlatformSize &platform)
{
    if (axisPoints.empty() || !(baseHeight > 0.0f))
        return nullptr;
    float x0 = axisPoints.front().x, x1 = x0;
    float y0 = axisPoints.front().y, y1 = y0;
    for (const Point3f &p : axisPoints) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    x0 = std::max(x0 - baseExtern, -platform.x / 2.0f);
    x1 = std::min(x1 + baseExtern, platform.x / 2.0f);
    y0 = std::max(y0 - baseExtern, -platform.y / 2.0f);
    y1 = std::min(y1 + baseExtern, platform.y / 2.0f);

    // Outline in whole micrometres, counter-clockwise seen from above so the walls face out.
    auto um = [](float v) { return static_cast<std::int64_t>(static_cast<double>(v) * 1000.0); };
    const std::array<std::array<std::int64_t, 2>, 4> outline{
        {{um(x0), um(y0)}, {um(x1), um(y0)}, {um(x1), um(y1)}, {um(x0), um(y1)}}};
    if (outline[1][0] <= outline[0][0] || outline[2][1] <= outline[1][1])
        return nullptr;
    const std::array<std::array<int, 3>, 2> triangles{{{0, 1, 2}, {0, 2, 3}}};

    auto mesh = std::make_shared<Mesh3D>();
    auto &v = mesh->vertices();
    auto &f = mesh->faces();
    const int n = static_cast<int>(outline.size());
    auto point = [&outline](int i, float z) {
        return Point3f{static_cast<float>(static_cast<double>(outline[i][0]) / 1000.0),
                       static_cast<float>(static_cast<double>(outline[i][1]) / 1000.0), z};
    };
    for (int i = 0; i < n; ++i)
        v.push_back(point(i, 0.0f));
    for (int i = 0; i < n; ++i)
        v.push_back(point(i, baseHeight));
    auto u = [](int i) { return static_cast<std::uint32_t>(i); };
    for (int a = 0; a < n; ++a) {
        const int b = (a + 1) % n;
        f.push_back(Face{{u(a), u(b), u(n + b)}});
        f.push_back(Face{{u(a), u(n + b), u(n + a)}});
    }
    for (const auto &t : triangles) {
        const int k = static_cast<int>(v.size());
        v.push_back(point(t[0], 0.0f));
        v.push_back(point(t[1], 0.0f));
        v.push_back(point(t[2], 0.0f));
        f.push_back(Face{{u(k), u(k + 2), u(k + 1)}});
        v.push_back(point(t[0], baseHeight));
        v.push_back(point(t[1], baseHeight));
        v.push_back(point(t[2], baseHeight));
        f.push_back(Face{{u(k + 3), u(k + 4), u(k + 5)}});
    }
    mesh->setIndexed(true);
    mesh->setBaseName(QStringLiteral("SupportBase"));
    mesh->computeFaceNormals();
    mesh->recomputeBounds();
    return mesh;
}
