#include "SupportFixtures.h"

#include "supports/MeshQuery.h"
#include "supports/Nail.h"
#include "supports/SupportPath.h"
#include "supports/ThinTip.h"

#include "geometry/Overhang.h"

#include <gtest/gtest.h>

namespace
{

struct Routed {
    std::shared_ptr<Model> model;
    std::shared_ptr<Overhang> overhang;
    bool ok = false;
};

Routed route(const fixtures::MeshData &mesh, const Point3f &p, QueryMode mode)
{
    Routed r;
    r.model = fixtures::makeModel(mesh);
    const MeshQuery query(r.model->vertices(), r.model->faces(), mode);
    const SupportModelView view{query, r.model->faceNormals()};
    r.overhang = std::make_shared<Overhang>(p, Vec3f{0, 0, -1}, 0.3f, 0.2f);
    r.ok = computeSupportPath(r.overhang, view, fixtures::thinParams());
    return r;
}

class SupportRouting : public ::testing::TestWithParam<QueryMode>
{
};

TEST_P(SupportRouting, FlatUndersideGetsAVerticalTipAndAColumnToThePlatform)
{
    const Routed r = route(fixtures::table(22, 5, 2, 2), {0, 0, 5}, GetParam());
    ASSERT_TRUE(r.ok);
    ASSERT_TRUE(r.overhang->tip());
    ASSERT_TRUE(r.overhang->nail());
    EXPECT_FALSE(r.overhang->link());
    EXPECT_TRUE(r.overhang->isComputed());
    EXPECT_EQ(r.overhang->tip()->direction(), (Vec3f{0, 0, -1}));
    EXPECT_FLOAT_EQ(r.overhang->tip()->length(), 3.0f);
    EXPECT_EQ(r.overhang->tip()->endPoint(), (Point3f{0, 0, 2}));
    EXPECT_EQ(r.overhang->nail()->top, (Point3f{0, 0, 2}));
    EXPECT_FLOAT_EQ(r.overhang->nail()->bottomZ, 0.0f);
    EXPECT_TRUE(r.overhang->nail()->visible);
}

TEST_P(SupportRouting, TipEndingBelowThePlatformGetsNothing)
{
    const Routed r = route(fixtures::box({-5, -5, 2}, {5, 5, 3}), {0, 0, 2}, GetParam());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.overhang->isComputed());
    EXPECT_FALSE(r.overhang->tip());
    EXPECT_FALSE(r.overhang->nail());
    EXPECT_FALSE(r.overhang->link());
}

TEST_P(SupportRouting, ColumnAboveAnotherPartEndsTwoAboveItWithFeet)
{
    fixtures::MeshData mesh = fixtures::box({-10, -10, 20}, {10, 10, 22});
    mesh.append(fixtures::box({-6, -6, 0}, {6, 6, 10}));
    const Routed r = route(mesh, {0, 0, 20}, GetParam());
    ASSERT_TRUE(r.ok);
    ASSERT_TRUE(r.overhang->nail());
    const Nail &nail = *r.overhang->nail();
    EXPECT_FLOAT_EQ(nail.bottomZ, 12.0f);
    EXPECT_TRUE(nail.visible);
    ASSERT_EQ(nail.feet.size(), 1u);
    EXPECT_EQ(nail.feet[0].cones.size(), 6u);
    EXPECT_EQ(nail.feet[0].spheres.size(), 6u);
    EXPECT_FLOAT_EQ(nail.feet[0].spheres[0]->centre().z, 10.0f);
    EXPECT_FLOAT_EQ(nail.feet[0].spheres[0]->radius(), 0.3f);
}

TEST_P(SupportRouting, TooShortAColumnBecomesALinkStraightDown)
{
    fixtures::MeshData mesh = fixtures::box({-10, -10, 20}, {10, 10, 22});
    mesh.append(fixtures::box({-6, -6, 0}, {6, 6, 16.5f}));
    const Routed r = route(mesh, {0, 0, 20}, GetParam());
    ASSERT_TRUE(r.ok);
    ASSERT_TRUE(r.overhang->link());
    EXPECT_EQ(r.overhang->link()->contact(), (Point3f{0, 0, 16.5f}));
    ASSERT_TRUE(r.overhang->nail());
    EXPECT_FALSE(r.overhang->nail()->visible);
    EXPECT_FLOAT_EQ(r.overhang->link()->endSphere()->radius(), 0.3f);
}

TEST_P(SupportRouting, RoutingTwiceGivesTheSamePath)
{
    fixtures::MeshData mesh = fixtures::box({-10, -10, 20}, {10, 10, 22});
    mesh.append(fixtures::box({-6, -6, 0}, {6, 6, 10}));
    const Routed a = route(mesh, {1, 2, 20}, GetParam());
    const Routed b = route(mesh, {1, 2, 20}, GetParam());
    ASSERT_TRUE(a.ok && b.ok);
    EXPECT_EQ(a.overhang->tip()->vertices(), b.overhang->tip()->vertices());
    EXPECT_EQ(a.overhang->nail()->bottomZ, b.overhang->nail()->bottomZ);
}

INSTANTIATE_TEST_SUITE_P(Modes, SupportRouting,
                         ::testing::Values(QueryMode::Reference, QueryMode::Indexed),
                         [](const auto &info) {
                             return info.param == QueryMode::Reference ? "reference" : "indexed";
                         });

} // namespace
