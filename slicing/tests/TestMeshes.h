#pragma once

#include "geometry/SupportParameters.h"
#include "testsupport/SupportParams.h"
#include "testsupport/TestFiles.h"

#include <memory>
#include <vector>

class Mesh3D;

namespace slicingtest
{

using testsupport::Triangle;

std::shared_ptr<Mesh3D> meshFrom(const std::vector<Triangle> &triangles);
std::vector<Triangle> reversed(std::vector<Triangle> triangles);
// A UV sphere wound outward.
std::vector<Triangle> sphereTriangles(float cx, float cy, float cz, float r, int stacks,
                                      int slices);
// A 20 x 20 x 10 mm box (centred on the origin) with a closed 10 x 10 mm cavity from z 2 to 8.
std::vector<Triangle> hollowBoxTriangles();
// A square tube: 20 x 20 mm outside, a 10 x 10 mm hole through it, 0..10 mm tall.
std::vector<Triangle> tubeTriangles();
// An SLC contour model: square contours of the given half size, layer by layer.
std::shared_ptr<Mesh3D> slcSquares(int layers, float thickness, float half);

// Support parameters of a medium profile (0.8 mm columns, 2 mm gaps, lifted 5 mm, 1.2 mm plate
// reaching 2.5 mm out) with the given base mode (1 with a plate, 2 without).
inline SupportParameters mediumSupportParams(int baseMode)
{
    SupportParameters params = testsupport::mediumSupportParameters();
    params.baseMode = baseMode;
    return params;
}

} // namespace slicingtest
