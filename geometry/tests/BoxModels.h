#pragma once

#include "testsupport/SoupMesh.h"

#include <memory>

// A closed axis-aligned box as a soup model (12 faces wound outward), bounds and normals set.
inline std::shared_ptr<Model> boxModel(float x0, float y0, float z0, float x1, float y1, float z1)
{
    auto model = testsupport::soupBoxModel(x0, y0, z0, x1, y1, z1);
    model->computeCentroid();
    model->setSize(model->extent());
    return model;
}

// A box of the given size with its lower corner at the origin.
inline std::shared_ptr<Model> boxModel(float sx, float sy, float sz)
{
    return boxModel(0.0f, 0.0f, 0.0f, sx, sy, sz);
}
