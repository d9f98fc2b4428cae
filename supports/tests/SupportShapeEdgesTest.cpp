#include "SupportFixtures.h"

#include "supports/Cylinder.h"
#include "supports/DsCylider.h"
#include "supports/DsPoint.h"
#include "supports/Sphere.h"
#include "supports/SupportBase.h"
#include "supports/SupportJob.h"
#include "supports/ThinTip.h"
#include "supports/Tip.h"

#include "geometry/Overhang.h"
#include "geometry/PlatformSize.h"
#include "geometry/Support.h"

#include "testsupport/EdgeCount.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using testsupport::edgeUse;
using testsupport::EdgeUse;
using testsupport::VertexJoin;

namespace
{

std::shared_ptr<Overhang> downwardOverhang()
{
    return std::make_shared<Overhang>(Point3f{1.0f, 2.0f, 5.0f}, Vec3f{0.0f, 0.0f, -1.0f}, 0.3f,
                                      0.2f);
}

struct ShapeEdgeCase {
    const char *name;
    std::function<std::shared_ptr<Mesh3D>()> make;
    // Edges used by one face once the slice engine has melded the corners: the two end rings of
    // a tube (the shapes have no caps), none for the closed shapes.
    int openEdges;
};

class ShapeEdges : public ::testing::TestWithParam<ShapeEdgeCase>
{
};

TEST_P(ShapeEdges, OnlyTheEndRingsOfTubesAreOpen)
{
    const std::shared_ptr<Mesh3D> made = GetParam().make();
    // Markers are judged by the triangles they print, their shared sphere placed.
    Mesh3D scratch;
    const Mesh3D *mesh = &placedTriangles(*made, scratch);
    ASSERT_TRUE(mesh);
    const EdgeUse use = edgeUse(*mesh, VertexJoin::Meld30Microns);
    ASSERT_GT(use.faces, 0);
    EXPECT_EQ(use.open, GetParam().openEdges);
    EXPECT_EQ(use.crowded, 0);
    if (GetParam().openEdges == 0)
        EXPECT_TRUE(use.closed());
    else // every side edge between the rings joins two faces
        EXPECT_EQ(use.shared, use.faces * 3 / 2 - use.open / 2);
}

INSTANTIATE_TEST_SUITE_P(
    SupportShapes, ShapeEdges,
    ::testing::Values(
        ShapeEdgeCase{
            "Column",
            [] {
                return std::make_shared<Cylinder>(Point3f{0, 0, 2}, Point3f{0, 0, 0}, 0.4f, 0.4f);
            },
            24},
        ShapeEdgeCase{
            "SlantedBeam",
            [] {
                return std::make_shared<Cylinder>(Point3f{0, 0, 6}, Point3f{2, 1, 4}, 0.4f, 0.4f);
            },
            24},
        ShapeEdgeCase{"FootCone",
                      [] {
                          return std::make_shared<Cylinder>(Point3f{0, 0, 6}, Point3f{0.5f, 0, 2},
                                                            0.4f, 0.3f);
                      },
                      24},
        ShapeEdgeCase{
            "Tip", [] { return std::make_shared<Tip>(downwardOverhang(), 0.2f, 0.4f, 3.0f); }, 24},
        ShapeEdgeCase{
            "ThinTip",
            [] {
                auto o = downwardOverhang();
                return std::make_shared<ThinTip>(o, o->position(), Point3f{2, 2, 1}, 0.2f, 0.3f);
            },
            24},
        ShapeEdgeCase{"ManualRod",
                      [] {
                          return std::make_shared<DsCylider>(
                              std::make_shared<DsPoint>(Point3f{0, 0, 5}, 0.2f),
                              std::make_shared<DsPoint>(Point3f{1, 0.5f, 0}, 0.2f), 0.2f, 0.3f);
                      },
                      2 * DsCylider::kSegments},
        ShapeEdgeCase{"Sphere",
                      [] {
                          return std::make_shared<Sphere>(Point3f{1, 2, 3}, 2.0f);
                      },
                      0},
        ShapeEdgeCase{"FootBall",
                      [] {
                          return std::make_shared<Sphere>(Point3f{1, 2, 3}, 0.3f);
                      },
                      0},
        // Corners near the poles meld into one another; what is left still closes.
        ShapeEdgeCase{"TinySphere",
                      [] {
                          return std::make_shared<Sphere>(Point3f{1, 2, 3}, 0.1f);
                      },
                      0},
        ShapeEdgeCase{"ManualBall",
                      [] {
                          return std::make_shared<DsPoint>(Point3f{0, 0, 5}, 0.2f);
                      },
                      0},
        ShapeEdgeCase{"OverhangMarker", [] { return downwardOverhang(); }, 0},
        ShapeEdgeCase{
            "Base",
            [] {
                return buildSupportBase({{-3, -1, 0}, {4, 2, 0}}, 2.5f, 1.2f, PlatformSize{});
            },
            0}),
    [](const auto &info) { return std::string(info.param.name); });

struct GeneratedPartsCase {
    const char *name;
    std::function<std::shared_ptr<Model>()> model;
    std::function<SupportParameters()> params;
};

class GeneratedPartEdges : public ::testing::TestWithParam<GeneratedPartsCase>
{
};

// The parts of a generated support are closed shapes or open tubes whose only open edges are
// their two end rings; the slice engine reports exactly those as faces without a neighbour.
TEST_P(GeneratedPartEdges, EveryPartIsClosedOrAnOpenTube)
{
    const std::shared_ptr<Model> model = GetParam().model();
    const SupportJobResult result = generateSupportsForModel(*model, GetParam().params(), nullptr);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    ASSERT_TRUE(model->support());
    int tubes = 0;
    for (const auto &part : model->support()->parts) {
        const EdgeUse use = edgeUse(*part, VertexJoin::Meld30Microns);
        EXPECT_EQ(use.crowded, 0);
        if (dynamic_cast<const Cylinder *>(part.get())) {
            ++tubes;
            EXPECT_EQ(use.open, 2 * Cylinder::kSegments);
        } else {
            EXPECT_TRUE(use.closed()) << "open " << use.open;
        }
    }
    EXPECT_GT(tubes, 0);
    Mesh3D scratch;
    for (const auto &overhang : model->overhangs())
        EXPECT_TRUE(
            edgeUse(placedTriangles(*overhang, scratch), VertexJoin::Meld30Microns).closed());
}

INSTANTIATE_TEST_SUITE_P(
    SupportShapes, GeneratedPartEdges,
    ::testing::Values(GeneratedPartsCase{
                          "LiftedBoxOnABase",
                          [] {
                              return fixtures::makeModel(fixtures::box({-5, -5, 0}, {5, 5, 10}));
                          },
                          [] { return fixtures::basedParams(false); }},
                      GeneratedPartsCase{
                          "Table", [] { return fixtures::makeModel(fixtures::table(10, 4, 1, 1)); },
                          [] { return fixtures::thinParams(); }}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
