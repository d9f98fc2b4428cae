#include "ReferenceSlicer.h"
#include "TestMeshes.h"

#include "slicing/DlpSlicer.h"
#include "slicing/Mesh.h"
#include "slicing/PolygonSteps.h"
#include "slicing/SettingsBase.h"

#include "geometry/Mesh3D.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Lamellor;

namespace
{

QStringList g_logLines;

void captureLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_logLines.append(message);
}

class LogCapture
{
  public:
    LogCapture()
    {
        g_logLines.clear();
        m_previous = qInstallMessageHandler(captureLog);
    }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    int count(const QString &fragment) const { return int(g_logLines.filter(fragment).size()); }

  private:
    QtMessageHandler m_previous;
};

Mesh engineMesh(const std::vector<testsupport::Triangle> &triangles)
{
    Mesh mesh;
    for (const auto &t : triangles)
        mesh.addFace(Mesh::fromMillimetres(t[0][0], t[0][1], t[0][2]),
                     Mesh::fromMillimetres(t[1][0], t[1][1], t[1][2]),
                     Mesh::fromMillimetres(t[2][0], t[2][1], t[2][2]));
    mesh.finish(1);
    return mesh;
}

ClipperLib::Path square(int side, int gapAtEnd = 0)
{
    // Counter-clockwise square starting at the origin; the last point stops gapAtEnd short.
    ClipperLib::Path p{{0, 0}, {side, 0}, {side, side}, {0, side}};
    if (gapAtEnd)
        p.push_back({0, gapAtEnd});
    return p;
}

} // namespace

// ---- settings --------------------------------------------------------------------------------

struct TextCase {
    const char *name;
    const char *text;
    int microns;
    bool flag;
    int integer;
};

class SettingsText : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(SettingsText, ConvertsLikeTheEngineReadsIt)
{
    const TextCase &c = GetParam();
    EXPECT_EQ(textToMicrons(c.text), c.microns);
    EXPECT_EQ(textToBoolean(c.text), c.flag);
    EXPECT_EQ(textToInt(c.text), c.integer);
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsText,
                         ::testing::Values(TextCase{"LayerThickness", "0.05", 50, false, 0},
                                           TextCase{"Truncated", "1.2345", 1234, true, 1},
                                           TextCase{"NegativeTowardZero", "-0.0015", -1, false, 0},
                                           TextCase{"On", "on", 0, true, 0},
                                           TextCase{"Yes", "yes", 0, true, 0},
                                           TextCase{"TrueLower", "true", 0, true, 0},
                                           TextCase{"TrueCapital", "True", 0, true, 0},
                                           TextCase{"TrueUpper", "TRUE", 0, false, 0},
                                           TextCase{"FalseWord", "false", 0, false, 0},
                                           TextCase{"LeadingInteger", "12abc", 12000, true, 12},
                                           TextCase{"Zero", "0", 0, false, 0},
                                           TextCase{"Empty", "", 0, false, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SettingsBase, WarnsOnceForANewKeyAndReadsFromTheParent)
{
    LogCapture log;
    SettingsBase parent;
    parent.setSetting("LayerThicknessX", "0.1");
    EXPECT_EQ(log.count("Warning: setting an unregistered setting LayerThicknessX"), 1);
    parent.setSetting("LayerThicknessX", "0.05");
    EXPECT_EQ(log.count("unregistered"), 1);

    SettingsBase child(&parent);
    EXPECT_EQ(child.getSettingInMicrons("LayerThicknessX"), 50);
    EXPECT_TRUE(child.hasSetting("LayerThicknessX"));
    EXPECT_EQ(child.getSettingString("unknown"), "");
}

// ---- mesh ------------------------------------------------------------------------------------

TEST(Mesh, MeldsCornersWithin30MicronsOnly)
{
    Mesh mesh;
    EXPECT_TRUE(mesh.addFace({0, 0, 0}, {1000, 0, 0}, {0, 1000, 0}));
    // 20 um away from (0,0,0) in the same cell: reused. 40 um away: a new vertex.
    EXPECT_TRUE(mesh.addFace({10, 10, 10}, {1000, 1000, 0}, {1000, 0, 0}));
    EXPECT_EQ(mesh.vertices().size(), 4u);
    EXPECT_EQ(mesh.faces()[1].vertex_index[0], 0);
    EXPECT_TRUE(mesh.addFace({40, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}));
    EXPECT_EQ(mesh.vertices().size(), 5u);
}

TEST(Mesh, DropsFacesWhoseCornersMeldButKeepsTheirVertices)
{
    Mesh mesh;
    EXPECT_FALSE(mesh.addFace({0, 0, 0}, {5, 5, 0}, {2000, 0, 0}));
    EXPECT_TRUE(mesh.faces().empty());
    EXPECT_EQ(mesh.vertices().size(), 2u);
    EXPECT_EQ(mesh.max().x, 2000);
}

TEST(Mesh, ClosedBoxHasEveryNeighbourAndAnOpenOneLogsTheGaps)
{
    const Mesh closed = engineMesh(testsupport::boxTriangles(0, 0, 0, 10, 10, 10));
    for (const MeshFace &f : closed.faces())
        for (int e = 0; e < 3; ++e)
            EXPECT_GE(f.connected_face_index[e], 0);

    LogCapture log;
    auto open = testsupport::boxTriangles(0, 0, 0, 10, 10, 10);
    open.pop_back();
    const Mesh mesh = engineMesh(open);
    EXPECT_EQ(log.count("Couldn't find face connected to face"), 3);
}

struct MeshCase {
    const char *name;
    std::vector<testsupport::Triangle> (*make)();
};

class MeshBuild : public ::testing::TestWithParam<MeshCase>
{
};

TEST_P(MeshBuild, MatchesThePlainBuild)
{
    const auto triangles = GetParam().make();
    const Mesh mesh = engineMesh(triangles);
    reference::ReferenceMesh ref;
    for (const auto &t : triangles)
        ref.addFace(Mesh::fromMillimetres(t[0][0], t[0][1], t[0][2]),
                    Mesh::fromMillimetres(t[1][0], t[1][1], t[1][2]),
                    Mesh::fromMillimetres(t[2][0], t[2][1], t[2][2]));
    ref.finish();
    ASSERT_EQ(mesh.vertices(), ref.vertices);
    ASSERT_EQ(mesh.faces().size(), ref.faces.size());
    for (size_t i = 0; i < ref.faces.size(); ++i)
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(mesh.faces()[i].vertex_index[k], ref.faces[i].vertex_index[k]);
            EXPECT_EQ(mesh.faces()[i].connected_face_index[k],
                      ref.faces[i].connected_face_index[k]);
        }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MeshBuild,
    ::testing::Values(
        MeshCase{"Sphere", [] { return slicingtest::sphereTriangles(0, 0, 5, 5, 24, 32); }},
        MeshCase{"HollowBox", slicingtest::hollowBoxTriangles},
        MeshCase{"Tube", slicingtest::tubeTriangles},
        MeshCase{"NegativeCoordinates",
                 [] { return testsupport::boxTriangles(-3.01f, -7.5f, -1, -0.02f, 0.015f, 4); }}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- one layer -------------------------------------------------------------------------------

TEST(DlpSlicer, PlaneThroughTheTopTakesTheTopFacesButCutsOnlyTheWalls)
{
    const Mesh mesh = engineMesh(testsupport::boxTriangles(0, 0, 0, 10, 10, 10));
    DlpSlicer slicer(10000, 199);
    slicer.setMesh(&mesh);
    slicer.collectFacesInLayer();
    int flatTaken = 0;
    for (int f : slicer.facesInLayer())
        if (mesh.faceMinZ(f) == 10000 && mesh.faceMaxZ(f) == 10000)
            ++flatTaken;
    EXPECT_EQ(flatTaken, 2);
    slicer.makeSegments();
    for (const SlicerSegment &s : slicer.segments())
        EXPECT_FALSE(mesh.faceMinZ(s.faceIndex) == 10000 && mesh.faceMaxZ(s.faceIndex) == 10000);
}

TEST(DlpSlicer, BoxLayerIsOneSquareOfTheBoxArea)
{
    const Mesh mesh = engineMesh(testsupport::boxTriangles(-5, -5, 0, 5, 5, 10));
    DlpSlicer slicer(5025, 100);
    slicer.setMesh(&mesh);
    slicer.collectFacesInLayer();
    slicer.makeSegments();
    slicer.makePolygons();
    ASSERT_EQ(slicer.parts().size(), 1u);
    ASSERT_EQ(slicer.parts()[0].size(), 1u);
    EXPECT_DOUBLE_EQ(ClipperLib::Area(slicer.parts()[0][0]), 100e6);
}

TEST(DlpSlicer, ReusedForManyLayersGivesWhatAFreshOneGives)
{
    const Mesh mesh = engineMesh(slicingtest::sphereTriangles(0, 0, 5, 5, 16, 24));
    DlpSlicer reused;
    reused.setMesh(&mesh);
    for (int z = 25; z < 10000; z += 450) {
        reused.reset(z, 0);
        reused.collectFacesInLayer();
        reused.makeSegments();
        reused.makePolygons();
        DlpSlicer fresh(z, 0);
        fresh.setMesh(&mesh);
        fresh.collectFacesInLayer();
        fresh.makeSegments();
        fresh.makePolygons();
        EXPECT_EQ(reused.parts(), fresh.parts()) << "z " << z;
    }
}

TEST(DlpSlicer, CancelledLayerLogsAndMakesNoPolygons)
{
    LogCapture log;
    const Mesh mesh = engineMesh(testsupport::boxTriangles(0, 0, 0, 10, 10, 10));
    std::atomic<bool> cancel{true};
    DlpSlicer slicer(5000, 0);
    slicer.setMesh(&mesh);
    slicer.setCancelFlag(&cancel);
    slicer.collectFacesInLayer();
    slicer.makeSegments();
    slicer.makePolygons();
    EXPECT_TRUE(slicer.parts().empty());
    EXPECT_EQ(log.count("process getTriangleInZ has been cancled"), 1);
    EXPECT_EQ(log.count("process scene to polygons has been cancled"), 1);
}

// ---- polygon steps ---------------------------------------------------------------------------

struct GapCase {
    const char *name;
    int gap;
    bool closedByConnect;
};

class OpenChainGap : public ::testing::TestWithParam<GapCase>
{
};

TEST_P(OpenChainGap, SmallGapsCloseInConnectLargerOnesInStitch)
{
    ClipperLib::Paths closed;
    ClipperLib::Paths open{square(1000, GetParam().gap)};
    connectOpenPolylines(closed, open);
    EXPECT_EQ(closed.size(), GetParam().closedByConnect ? 1u : 0u);
    stitchOpenPolylines(closed, open, nullptr);
    EXPECT_EQ(closed.size(), 1u);
    EXPECT_TRUE(open.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, OpenChainGap,
                         ::testing::Values(GapCase{"Gap15", 15, true}, GapCase{"Gap25", 25, false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PolygonSteps, ConnectAppendsAnEarlierPolylineThatContinuesALaterOne)
{
    ClipperLib::Paths closed;
    ClipperLib::Paths open{{{1000, 0}, {1000, 1000}}, {{0, 0}, {995, 0}}};
    connectOpenPolylines(closed, open);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0], (ClipperLib::Path{{0, 0}, {995, 0}, {1000, 0}, {1000, 1000}}));
}

TEST(PolygonSteps, StitchJoinsEndToEndByReversingTheShorterPolyline)
{
    ClipperLib::Paths closed;
    ClipperLib::Paths open{{{0, 0}, {5000, 0}}, {{4000, 3000}, {5000, 100}}};
    stitchOpenPolylines(closed, open, nullptr);
    // The end of 0 meets the end of 1 first; 1 is shorter and is appended reversed.
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0], (ClipperLib::Path{{0, 0}, {5000, 0}, {5000, 100}, {4000, 3000}}));
}

TEST(PolygonSteps, RemovesPolygonsBelowFiftyMicronsPerimeter)
{
    ClipperLib::Paths polygons{square(10), square(15)};
    removeTinyPolygons(polygons);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0], square(15));
}

TEST(PolygonSteps, SimplifyDropsNearPointsAndBackTurnsOnly)
{
    ClipperLib::Paths polygons{
        {{0, 0}, {5, 3}, {1000, 0}, {1200, 0}, {1100, 0}, {1000, 1000}, {0, 1000}},
        {{0, 0}, {4, 0}, {0, 4}}};
    simplifyPolygons(polygons);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0],
              (ClipperLib::Path{{0, 0}, {1000, 0}, {1100, 0}, {1000, 1000}, {0, 1000}}));
}

TEST(PolygonSteps, UnionPutsIslandsInHolesIntoTheirOwnParts)
{
    auto box = [](int x0, int y0, int x1, int y1, bool ccw) {
        ClipperLib::Path p{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        if (!ccw)
            std::reverse(p.begin(), p.end());
        return p;
    };
    const ClipperLib::Paths polygons{box(0, 0, 100, 100, true), box(20, 20, 80, 80, false),
                                     box(40, 40, 60, 60, true)};
    std::vector<SlicePart> parts;
    unionIntoParts(polygons, parts);
    ASSERT_EQ(parts.size(), 2u);
    ASSERT_EQ(parts[0].size(), 2u);
    EXPECT_DOUBLE_EQ(ClipperLib::Area(parts[0][0]), 10000);
    EXPECT_DOUBLE_EQ(ClipperLib::Area(parts[0][1]), -3600);
    EXPECT_DOUBLE_EQ(ClipperLib::Area(parts[1][0]), 400);
}
