#pragma once

#include "geometry/Model.h"
#include "testsupport/TestFiles.h"

#include <memory>

// A closed axis-aligned box as a soup model (12 faces wound outward), bounds and normals set.
inline std::shared_ptr<Model> boxModel(float x0, float y0, float z0, float x1, float y1, float z1)
{
    auto model = std::make_shared<Model>();
    for (const auto &tri : testsupport::boxTriangles(x0, y0, z0, x1, y1, z1)) {
        const auto base = static_cast<std::uint32_t>(model->vertices().size());
        for (const auto &p : tri)
            model->vertices().push_back(Vec3f{p[0], p[1], p[2]});
        model->faces().push_back(Face{{base, base + 1, base + 2}});
    }
    model->recomputeBounds();
    model->computeFaceNormals();
    model->computeCentroid();
    model->setSize(model->extent());
    return model;
}

// A box of the given size with its lower corner at the origin.
inline std::shared_ptr<Model> boxModel(float sx, float sy, float sz)
{
    return boxModel(0.0f, 0.0f, 0.0f, sx, sy, sz);
}
