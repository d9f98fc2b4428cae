#include "supports/Cylinder.h"
#include "supports/DsCylider.h"
#include "supports/DsPoint.h"
#include "supports/ManualSupportRecord.h"
#include "supports/ManualSupportSettings.h"
#include "supports/Sphere.h"
#include "supports/SupportBase.h"
#include "supports/ThinTip.h"
#include "supports/Tip.h"

#include "geometry/Overhang.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

TEST(SupportShapes, CylinderHas24VerticesAnd24TrianglesInRingOrder)
{
    const Cylinder c({0, 0, 5}, {0, 0, 1}, 1.0f, 0.5f);
    ASSERT_EQ(c.vertices().size(), 24u);
    ASSERT_EQ(c.faces().size(), 24u);
    // Point i of a ring lies at angle i * 30 degrees from +y, clockwise seen from above.
    EXPECT_NEAR(c.vertices()[0].y, 1.0f, 1e-6);
    EXPECT_NEAR(c.vertices()[3].x, 1.0f, 1e-6);
    EXPECT_NEAR(c.vertices()[12].y, 0.5f, 1e-6);
    EXPECT_FLOAT_EQ(c.vertices()[12].z, 1.0f);
    EXPECT_EQ(c.faces()[0], (Face{{12, 0, 13}}));
    EXPECT_EQ(c.faces()[11], (Face{{23, 11, 12}}));
    EXPECT_EQ(c.faces()[12], (Face{{11, 0, 12}}));
    EXPECT_EQ(c.faces()[23], (Face{{10, 11, 23}}));
    EXPECT_TRUE(c.isIndexed());
    EXPECT_EQ(c.colour(), (Vec3f{0.3f, 0.3f, 0.3f}));
}

TEST(SupportShapes, SlantedCylinderKeepsHorizontalRings)
{
    const Cylinder c({0, 0, 5}, {3, 0, 1}, 1.0f, 1.0f);
    for (int i = 0; i < 12; ++i) {
        EXPECT_FLOAT_EQ(c.vertices()[i].z, 5.0f);
        EXPECT_FLOAT_EQ(c.vertices()[12 + i].z, 1.0f);
    }
}

TEST(SupportShapes, SphereHas144VerticesAnd242TrianglesWithPolesOnY)
{
    const Sphere s({1, 2, 3}, 2.0f);
    ASSERT_EQ(s.vertices().size(), 144u);
    ASSERT_EQ(s.faces().size(), 242u);
    EXPECT_NEAR(s.vertices()[0].y, 0.0f, 1e-5);   // ring 0 at y = -r around the centre
    EXPECT_NEAR(s.vertices()[143].y, 4.0f, 1e-5); // ring 11 at y = +r
    EXPECT_EQ(s.faces()[0], (Face{{13, 1, 0}}));
    EXPECT_EQ(s.faces()[1], (Face{{0, 12, 13}}));
    // The last point of a ring repeats the first.
    EXPECT_NEAR(s.vertices()[5 * 12 + 11].x, s.vertices()[5 * 12].x, 1e-5);
    EXPECT_NEAR(s.vertices()[5 * 12 + 11].z, s.vertices()[5 * 12].z, 1e-5);
}

TEST(SupportShapes, VerticalTipStartsAtTheOverhangAndEnds3Lower)
{
    auto o = std::make_shared<Overhang>(Point3f{0, 0, 5}, Vec3f{0, 0, -1}, 0.25f, 0.2f);
    const Tip tip(o, 0.2f, 0.4f, 3.0f);
    EXPECT_EQ(tip.endPoint(), (Point3f{0, 0, 2}));
    EXPECT_EQ(tip.kindTag(), 0);
    EXPECT_FLOAT_EQ(tip.vertices()[0].z, 5.0f);
    EXPECT_NEAR(tip.vertices()[0].y, 0.2f, 1e-6);
    EXPECT_FLOAT_EQ(tip.vertices()[12].z, 2.0f);
    EXPECT_NEAR(tip.vertices()[12].y, 0.4f, 1e-6);
    EXPECT_EQ(tip.overhang(), o);
}

TEST(SupportShapes, ThinTipEndsOnItsContactWithABall)
{
    auto o = std::make_shared<Overhang>(Point3f{0, 0, 5}, Vec3f{0, 0, -1}, 0.3f, 0.2f);
    const ThinTip link(o, o->position(), {0, 0, 4}, 0.2f, 0.3f);
    EXPECT_EQ(link.contact(), (Point3f{0, 0, 4}));
    EXPECT_FLOAT_EQ(link.length(), 1.0f);
    EXPECT_FLOAT_EQ(link.endRadius(), 0.3f);
    ASSERT_TRUE(link.endSphere());
    EXPECT_EQ(link.endSphere()->centre(), (Point3f{0, 0, 4}));
    EXPECT_FLOAT_EQ(link.endSphere()->radius(), 0.3f);
}

TEST(SupportShapes, OverhangDoesNotStayAliveThroughItsTip)
{
    std::weak_ptr<Overhang> weak;
    {
        auto o = std::make_shared<Overhang>(Point3f{0, 0, 5}, Vec3f{0, 0, -1}, 0.25f, 0.2f);
        o->setTip(std::make_shared<Tip>(o, 0.2f, 0.4f, 3.0f));
        weak = o;
    }
    EXPECT_TRUE(weak.expired());
}

struct BaseRow {
    const char *name;
    std::vector<Point3f> axes;
    float platformWidth;
    Box3f expected; // min/max x and y; empty when no plate
};

class SupportBaseTest : public ::testing::TestWithParam<BaseRow>
{
};

TEST_P(SupportBaseTest, CoversTheGrownRectangleClippedToThePlatform)
{
    const BaseRow &row = GetParam();
    PlatformSize platform;
    platform.x = row.platformWidth;
    const auto base = buildSupportBase(row.axes, 2.0f, 1.5f, platform);
    if (row.expected.isEmpty()) {
        EXPECT_FALSE(base);
        return;
    }
    ASSERT_TRUE(base);
    const Box3f &b = base->boundingBox();
    EXPECT_NEAR(b.min.x, row.expected.min.x, 1e-3);
    EXPECT_NEAR(b.max.x, row.expected.max.x, 1e-3);
    EXPECT_NEAR(b.min.y, row.expected.min.y, 1e-3);
    EXPECT_NEAR(b.max.y, row.expected.max.y, 1e-3);
    EXPECT_FLOAT_EQ(b.min.z, 0.0f);
    EXPECT_FLOAT_EQ(b.max.z, 1.5f);
    // Closed prism: 8 wall triangles, 2 bottom and 2 top; positive volume.
    EXPECT_EQ(base->faces().size(), 12u);
    const Vec3f e = b.extent();
    EXPECT_NEAR(base->volume(), e.x * e.y * e.z, 1e-2);
}

Box3f rect(float x0, float y0, float x1, float y1)
{
    Box3f b;
    b.min = {x0, y0, 0};
    b.max = {x1, y1, 0};
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SupportBaseTest,
    ::testing::Values(
        BaseRow{"spread", {{-10, 0, 0}, {10, -5, 0}, {0, 5, 0}}, 96.0f, rect(-12, -7, 12, 7)},
        BaseRow{"clippedToNarrowPlatform",
                {{-10, 0, 0}, {10, -5, 0}, {0, 5, 0}},
                20.0f,
                rect(-10, -7, 10, 7)},
        BaseRow{"singleColumn", {{1, 1, 0}}, 96.0f, rect(-1, -1, 3, 3)},
        BaseRow{"noColumnOnThePlatform", {}, 96.0f, Box3f()}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ManualSupports, PiecesCarryTheirKindTagsAndShapes)
{
    auto top = std::make_shared<DsPoint>(Point3f{0, 0, 10});
    auto bottom = std::make_shared<DsPoint>(Point3f{0, 0, 0}, 0.3f);
    EXPECT_EQ(top->kindTag(), 61441);
    EXPECT_FLOAT_EQ(top->radius(), 0.2f);
    ASSERT_TRUE(top->sharedShape());
    EXPECT_EQ(top->sharedShape()->vertices().size(), 144u);
    EXPECT_EQ(top->sharedShape()->faces().size(), 242u);
    const DsCylider rod(top, bottom, 0.1f, 0.2f);
    EXPECT_EQ(rod.kindTag(), 61442);
    EXPECT_TRUE(rod.vertices().empty()) << "a rod keeps no tube of its own";
    ASSERT_TRUE(rod.sharedShape());
    Mesh3D scratch;
    const Mesh3D &placed = placedTriangles(rod, scratch);
    EXPECT_EQ(placed.vertices().size(), 24u);
    EXPECT_EQ(placed.faces().size(), 24u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NEAR(placed.vertices()[i].z, 10.0f, 1e-5);
        EXPECT_NEAR((placed.vertices()[12 + i] - Point3f{0, 0, 0}).length(), 0.2f, 1e-5);
    }
    EXPECT_NEAR(rod.boundingBox().min.z, 0.0f, 1e-6);
    EXPECT_NEAR(rod.boundingBox().max.z, 10.0f, 1e-6);
    EXPECT_NEAR(rod.boundingBox().max.x, 0.2f, 1e-6);
}

// The shared tube put in place by the rod's matrix lands on the corners the rod prints.
TEST(ManualSupports, PlacedTubeMatchesThePrintedRod)
{
    struct Row {
        Point3f top, bottom;
        float topRadius, bottomRadius;
    };
    const Row rows[] = {{{0, 0, 10}, {0, 0, 0}, 0.1f, 0.3f},
                        {{5, -3, 8}, {1, 2, 0.5f}, 0.25f, 0.25f},
                        {{0, 0, 4}, {6, 0, 4}, 0.2f, 0.1f}, // along X: the Y reference
                        {{1, 1, 1}, {1, 1, 1}, 0.1f, 0.1f}};
    for (const Row &row : rows) {
        auto top = std::make_shared<DsPoint>(row.top);
        auto bottom = std::make_shared<DsPoint>(row.bottom);
        const DsCylider rod(top, bottom, row.topRadius, row.bottomRadius);
        Mesh3D scratch;
        const Mesh3D &placed = placedTriangles(rod, scratch);
        const Mesh3D &shape = *rod.sharedShape();
        const Matrix4f m = rod.shapePlacement();
        ASSERT_EQ(shape.vertices().size(), placed.vertices().size());
        for (std::size_t k = 0; k < shape.vertices().size(); ++k)
            EXPECT_NEAR((transformPoint(m, shape.vertices()[k]) - placed.vertices()[k]).length(),
                        0.0f, 1e-5f)
                << k;
        EXPECT_EQ(shape.faces(), placed.faces());
        for (std::size_t k = 0; k < placed.vertices().size(); ++k)
            EXPECT_TRUE(std::isfinite(placed.vertices()[k].x) &&
                        std::isfinite(placed.vertices()[k].y) &&
                        std::isfinite(placed.vertices()[k].z));
    }
}

TEST(ManualSupports, RingAroundAnXAxisUsesTheYReference)
{
    // a x Y for a = X is Z: the first point lies along +z (or -z).
    const Point3f p = DsCylider::perpendicularRingPoint({0, 0, 0}, {1, 0, 0}, 1.0f, 0, 6);
    EXPECT_NEAR(std::fabs(p.z), 1.0f, 1e-6);
    const Point3f q = DsCylider::perpendicularRingPoint({0, 0, 0}, {0, 0, 1}, 1.0f, 0, 6);
    EXPECT_NEAR(std::fabs(q.y), 1.0f, 1e-6); // Z x X = Y
}

TEST(ManualSupports, RodBetweenCoincidentBallsStaysFinite)
{
    auto a = std::make_shared<DsPoint>(Point3f{1, 1, 1});
    const DsCylider rod(a, a, 0.1f, 0.1f);
    Mesh3D scratch;
    for (const Point3f &v : placedTriangles(rod, scratch).vertices())
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
}

TEST(ManualSupports, CopyingAGroupPointsCopiedRodsAtCopiedBalls)
{
    auto record = std::make_shared<ManualSupportRecord>();
    std::vector<std::shared_ptr<Mesh3D>> parts;
    ManualSupportSettings settings;
    settings.topPoint = {0, 0, 8};
    settings.bottomPoint = {0, 0, 0};
    ManualSupportRecord::addRod(record, parts, settings);
    ASSERT_EQ(parts.size(), 3u);
    std::vector<std::shared_ptr<Mesh3D>> copies;
    const auto newRecord = record->cloneGroup(parts, copies);
    ASSERT_EQ(copies.size(), 3u);
    auto rod = std::dynamic_pointer_cast<DsCylider>(copies[2]);
    ASSERT_TRUE(rod);
    EXPECT_EQ(rod->top(), copies[0]);
    EXPECT_EQ(rod->bottom(), copies[1]);
    EXPECT_NE(copies[0], parts[0]);
    EXPECT_EQ(rod->sharedOwner(), newRecord);
    EXPECT_EQ(rod->top()->centre(), (Point3f{0, 0, 8}));
}

} // namespace
