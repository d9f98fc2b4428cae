#include "render/Excircle.h"
#include "render/Grid.h"

#include "geometry/Mesh3D.h"

#include <gtest/gtest.h>

#include <algorithm>

using Orvane3Ds::Grid;

namespace
{
bool hasSegment(const std::vector<Vec3f> &points, const Vec3f &a, const Vec3f &b)
{
    for (std::size_t i = 0; i + 1 < points.size(); i += 2)
        if ((points[i] - a).length() < 1e-4f && (points[i + 1] - b).length() < 1e-4f)
            return true;
    return false;
}
} // namespace

TEST(Grid, outlinesThePlatformAndTheBuildVolume)
{
    const auto points = Grid::buildSegments({96.0f, 54.0f, 160.0f});
    // 4 outline + 18 tenth lines + 8 volume edges + 3 stubs + 8 letter strokes + 540 spokes.
    EXPECT_EQ(points.size(), 2u * (4 + 18 + 8 + 3 + 8 + 540));
    EXPECT_TRUE(hasSegment(points, {-48, -27, 0}, {48, -27, 0}));
    EXPECT_TRUE(hasSegment(points, {9.6f, -27, 0}, {9.6f, 27, 0}));
    EXPECT_TRUE(hasSegment(points, {48, 27, 0}, {48, 27, 160}));
    EXPECT_TRUE(hasSegment(points, {0, 0, 160}, {0, 0, 167}));
    EXPECT_TRUE(hasSegment(points, {60, 0, 0}, {55, 1, 0}));
    const auto top = std::max_element(points.begin(), points.end(),
                                      [](const Vec3f &a, const Vec3f &b) { return a.z < b.z; });
    EXPECT_FLOAT_EQ(top->z, 177.0f);
}

struct RingRow {
    const char *name;
    int axis;
    Vec3f extent;
};

class ExcircleRing : public ::testing::TestWithParam<RingRow>
{
};

TEST_P(ExcircleRing, isABandAroundItsAxis)
{
    Mesh3D mesh;
    Excircle::buildRing(mesh, {1, 2, 3}, 10.0f, 36, GetParam().axis);
    EXPECT_EQ(mesh.vertices().size(), 4u * 36);
    EXPECT_EQ(mesh.faces().size(), 8u * 36);
    EXPECT_TRUE(mesh.hasValidFaces());
    const Vec3f e = mesh.extent();
    EXPECT_NEAR(e.x, GetParam().extent.x, 1e-3f);
    EXPECT_NEAR(e.y, GetParam().extent.y, 1e-3f);
    EXPECT_NEAR(e.z, GetParam().extent.z, 1e-3f);
}

INSTANTIATE_TEST_SUITE_P(Axes, ExcircleRing,
                         ::testing::Values(RingRow{"aboutX", 1, {0.65f, 21.3f, 21.3f}},
                                           RingRow{"aboutY", 2, {21.3f, 0.65f, 21.3f}},
                                           RingRow{"aboutZ", 3, {21.3f, 21.3f, 0.65f}}),
                         [](const auto &info) { return info.param.name; });
