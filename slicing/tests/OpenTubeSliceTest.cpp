#include "TestMeshes.h"

#include "slicing/DlpSlicer.h"
#include "slicing/Mesh.h"

#include "supports/Cylinder.h"
#include "supports/DsCylider.h"
#include "supports/DsPoint.h"
#include "supports/SupportJob.h"
#include "supports/Tip.h"

#include "geometry/DScene.h"
#include "geometry/Model.h"
#include "geometry/Overhang.h"
#include "geometry/Support.h"
#include "geometry/SupportParameters.h"

#include "testsupport/SoupMesh.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

// Support tubes (columns, beams, tips, cones, manual rods) have no end caps, so the engine finds
// no neighbour across their end rings. These tests show that the layers still come out as closed
// outlines of the tube's cross-section.

using namespace Lamellor;

namespace
{

QStringList g_logLines;

void captureLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_logLines.append(message);
}

// Built like the slice manager builds the print: every face of every mesh, in order.
Mesh engineMesh(const std::vector<std::shared_ptr<Mesh3D>> &meshes)
{
    Mesh mesh;
    Mesh3D scratch;
    for (const auto &item : meshes) {
        const Mesh3D *m = &placedTriangles(*item, scratch);
        for (const Face &f : m->faces()) {
            const Point3f &a = m->vertices()[f[0]];
            const Point3f &b = m->vertices()[f[1]];
            const Point3f &c = m->vertices()[f[2]];
            mesh.addFace(Mesh::fromMillimetres(a.x, a.y, a.z), Mesh::fromMillimetres(b.x, b.y, b.z),
                         Mesh::fromMillimetres(c.x, c.y, c.z));
        }
    }
    mesh.finish(1);
    return mesh;
}

std::vector<SlicePart> sliceAt(const Mesh &mesh, int32_t z)
{
    DlpSlicer slicer(z, 0);
    slicer.setMesh(&mesh);
    slicer.collectFacesInLayer();
    slicer.makeSegments();
    slicer.makePolygons();
    return slicer.parts();
}

// Area in mm^2 of a twelve-sided ring of circumradius r mm.
double ringArea(double r)
{
    return 3.0 * r * r;
}

struct TubeCase {
    const char *name;
    std::function<std::shared_ptr<Mesh3D>()> make;
    float lowZ, highZ;           // the tube's end rings, mm
    float radiusLow, radiusHigh; // the ring radii there
};

class OpenTubeSlice : public ::testing::TestWithParam<TubeCase>
{
};

TEST_P(OpenTubeSlice, EveryLayerIsOneClosedRingOfTheCrossSection)
{
    const TubeCase &row = GetParam();
    const Mesh mesh = engineMesh({row.make()});
    int layers = 0;
    // A plane through the upper ring still cuts the walls below it; one through the lower ring
    // only touches faces lying at or above it, which give no segment.
    for (int32_t z = 25; z <= std::lround(row.highZ * 1000); z += 50) {
        if (z <= std::lround(row.lowZ * 1000))
            continue;
        ++layers;
        const std::vector<SlicePart> parts = sliceAt(mesh, z);
        ASSERT_EQ(parts.size(), 1u) << "z " << z;
        ASSERT_EQ(parts[0].size(), 1u) << "z " << z;
        const double t = (z / 1000.0 - row.lowZ) / (row.highZ - row.lowZ);
        const double r = row.radiusLow + t * (row.radiusHigh - row.radiusLow);
        // Next to an end ring a side's cut lies within 10 um of a ring corner's cut and the
        // simplification drops the corner: a sliver of up to 3 % on a thin ring.
        EXPECT_NEAR(std::abs(ClipperLib::Area(parts[0][0])) / 1e6, ringArea(r), 0.03 * ringArea(r))
            << "z " << z;
    }
    EXPECT_GT(layers, 10);
}

std::shared_ptr<Overhang> downwardOverhang()
{
    return std::make_shared<Overhang>(Point3f{1.0f, 2.0f, 5.0f}, Vec3f{0.0f, 0.0f, -1.0f}, 0.3f,
                                      0.2f);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OpenTubeSlice,
    ::testing::Values(
        TubeCase{
            "Column",
            [] {
                return std::make_shared<Cylinder>(Point3f{0, 0, 2}, Point3f{0, 0, 0}, 0.4f, 0.4f);
            },
            0.0f, 2.0f, 0.4f, 0.4f},
        TubeCase{"ColumnTopOnALayer",
                 [] {
                     return std::make_shared<Cylinder>(Point3f{0, 0, 2.025f}, Point3f{0, 0, 0.025f},
                                                       0.4f, 0.4f);
                 },
                 0.025f, 2.025f, 0.4f, 0.4f},
        TubeCase{
            "SlantedBeam",
            [] {
                return std::make_shared<Cylinder>(Point3f{0, 0, 6}, Point3f{2, 1, 4}, 0.4f, 0.4f);
            },
            4.0f, 6.0f, 0.4f, 0.4f},
        TubeCase{"FootCone",
                 [] {
                     return std::make_shared<Cylinder>(Point3f{0, 0, 6}, Point3f{0.5f, 0, 2}, 0.4f,
                                                       0.3f);
                 },
                 2.0f, 6.0f, 0.3f, 0.4f},
        TubeCase{"Tip", [] { return std::make_shared<Tip>(downwardOverhang(), 0.2f, 0.4f, 3.0f); },
                 2.0f, 5.0f, 0.4f, 0.2f},
        TubeCase{"VerticalManualRod",
                 [] {
                     return std::make_shared<DsCylider>(
                         std::make_shared<DsPoint>(Point3f{0, 0, 5}, 0.2f),
                         std::make_shared<DsPoint>(Point3f{0, 0, 1}, 0.2f), 0.2f, 0.3f);
                 },
                 1.0f, 5.0f, 0.3f, 0.2f}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(OpenTubeSlice, EndRingsAreTheOnlyEdgesLoggedWithoutANeighbour)
{
    g_logLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    const Mesh mesh =
        engineMesh({std::make_shared<Cylinder>(Point3f{0, 0, 2}, Point3f{0, 0, 0}, 0.4f, 0.4f)});
    qInstallMessageHandler(previous);
    // One line per face edge on either ring: 12 at the top, 12 at the bottom.
    EXPECT_EQ(g_logLines.filter("Couldn't find face connected to face").size(), 24);
    int withoutNeighbour = 0;
    for (const MeshFace &f : mesh.faces())
        for (int e = 0; e < 3; ++e)
            withoutNeighbour += f.connected_face_index[e] < 0 ? 1 : 0;
    EXPECT_EQ(withoutNeighbour, 24);
}

// A cube lifted on columns standing on the platform (no base plate): each layer through the
// columns holds one closed ring per column, of the column's cross-section.
TEST(OpenTubeSlice, ColumnsOfAGeneratedSupportSliceIntoOneRingEach)
{
    auto cube = testsupport::soupBoxModel(-5, -5, 0, 5, 5, 10);
    const SupportParameters params = slicingtest::mediumSupportParams(2);
    const SupportJobResult result = generateSupportsForModel(*cube, params, nullptr);
    ASSERT_TRUE(result.ok) << result.error.toStdString();

    DScene scene;
    scene.addModels({cube});
    int columns = 0;
    for (const auto &part : cube->support()->parts)
        if (typeid(*part) == typeid(Cylinder) && part->boundingBox().min.z == 0.0f)
            ++columns;
    ASSERT_GT(columns, 4);
    const Mesh mesh = engineMesh(scene.printMeshes());

    for (int32_t z : {25, 1025, 1975}) {
        const std::vector<SlicePart> parts = sliceAt(mesh, z);
        ASSERT_EQ(int(parts.size()), columns) << "z " << z;
        for (const SlicePart &part : parts) {
            ASSERT_EQ(part.size(), 1u);
            EXPECT_NEAR(std::abs(ClipperLib::Area(part[0])) / 1e6, ringArea(0.4),
                        0.03 * ringArea(0.4));
        }
    }

    // No layer, through columns, tips, overhang balls or the cube, is left with an open chain.
    DlpSlicer slicer;
    slicer.setMesh(&mesh);
    for (int32_t z = 25; z < mesh.max().z; z += 50) {
        slicer.reset(z, 0);
        slicer.collectFacesInLayer();
        slicer.makeSegments();
        slicer.makePolygons();
        for (const ClipperLib::Path &open : slicer.openPolylines())
            EXPECT_TRUE(open.empty()) << "z " << z;
    }
}

} // namespace
