// Overhang points and the end balls of hand-placed rods share one sphere mesh per radius, the
// rods one tube per pair of radii; a project read back draws, exports and slices them where
// they are, as meshes of their own did.
#include "geometry/DScene.h"
#include "geometry/MarkerShapes.h"
#include "geometry/Model.h"
#include "geometry/Overhang.h"
#include "geometry/SphereMesh.h"
#include "io/DIoVXPJ.h"
#include "io/StlWriter.h"
#include "slicing/DlpSliceManager.h"
#include "slicing/SliceJob.h"
#include "supports/DsCylider.h"
#include "supports/DsPoint.h"
#include "supports/ManualSupportRecord.h"
#include "supports/ManualSupportSettings.h"
#include "supports/Sphere.h"
#include "supports/SupportMath.h"
#include "testsupport/SoupMesh.h"
#include "testsupport/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <vector>

namespace
{

// Radii no other test uses, so that the count of live shapes is this test's own.
constexpr float kSmallPoint = 0.2371f;
constexpr float kLargePoint = 0.4129f;
constexpr float kTopBall = 0.2113f;
constexpr float kBottomBall = 0.3317f;
constexpr float kRodTop = 0.1231f;
constexpr float kRodBottom = 0.1579f;

struct PointRow {
    Point3f at;
    float radius;
};

const std::vector<PointRow> &pointRows()
{
    static const std::vector<PointRow> rows{{{2.0f, 3.0f, 4.0f}, kSmallPoint},
                                            {{7.5f, 1.25f, 4.0f}, kSmallPoint},
                                            {{5.0f, 8.0f, 4.0f}, kSmallPoint},
                                            {{8.0f, 8.0f, 4.0f}, kLargePoint}};
    return rows;
}

struct RodRow {
    Point3f top;
    Point3f bottom;
};

const std::vector<RodRow> &rodRows()
{
    static const std::vector<RodRow> rows{{{1.5f, 1.5f, 4.0f}, {1.5f, 1.5f, 0.5f}},
                                          {{8.5f, 2.0f, 4.0f}, {8.0f, 2.5f, 0.25f}},
                                          {{3.0f, 7.0f, 4.0f}, {3.5f, 7.5f, 1.0f}}};
    return rows;
}

// A 10 mm box lifted 4 mm, the points and the rods of the rows.
std::shared_ptr<Model> markedBox()
{
    auto model = testsupport::soupBoxModel(0, 0, 4, 10, 10, 14);
    model->setBaseName(QStringLiteral("Marked"));
    for (const PointRow &row : pointRows())
        model->overhangs().push_back(
            std::make_shared<Overhang>(row.at, Vec3f{0, 0, -1}, row.radius, row.radius));
    auto record = std::make_shared<ManualSupportRecord>();
    model->manualSupports().shared = record;
    for (const RodRow &row : rodRows()) {
        ManualSupportSettings s;
        s.topPoint = row.top;
        s.bottomPoint = row.bottom;
        s.topBallRadius = kTopBall;
        s.bottomBallRadius = kBottomBall;
        s.rodTopRadius = kRodTop;
        s.rodBottomRadius = kRodBottom;
        ManualSupportRecord::addRod(record, model->manualSupports().parts, s);
    }
    return model;
}

// Boxes equal to float rounding: a shared shape moved gives its box a rounding of its own.
::testing::AssertionResult sameBox(const Box3f &a, const Box3f &b)
{
    if ((a.min - b.min).length() < 1e-5f && (a.max - b.max).length() < 1e-5f)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "box (" << a.min.x << ", " << a.min.y << ", " << a.min.z << ")-(" << a.max.x << ", "
           << a.max.y << ", " << a.max.z << ") is not (" << b.min.x << ", " << b.min.y << ", "
           << b.min.z << ")-(" << b.max.x << ", " << b.max.y << ", " << b.max.z << ")";
}

// The box a ball of its own at centre has.
Box3f ownOverhangBox(const Point3f &centre, float radius)
{
    Mesh3D own;
    buildSphereMesh(own, centre, radius);
    return own.boundingBox();
}

Box3f ownBallBox(const Point3f &centre, float radius)
{
    Mesh3D own;
    Sphere::buildInto(own, centre, radius);
    return own.boundingBox();
}

// A rod holding its rings itself: 12 points around each centre, perpendicular to the axis.
void buildOwnRod(Mesh3D &own, const Point3f &top, const Point3f &bottom)
{
    const int n = DsCylider::kSegments;
    own.vertices().clear();
    for (int k = 0; k < n; ++k)
        own.vertices().push_back(
            DsCylider::perpendicularRingPoint(top, bottom - top, kRodTop, k, n));
    for (int k = 0; k < n; ++k)
        own.vertices().push_back(
            DsCylider::perpendicularRingPoint(bottom, bottom - top, kRodBottom, k, n));
    SupportMath::tubeSideFaces(own.faces(), n);
    own.setIndexed(true);
    own.computeFaceNormals();
    own.recomputeBounds();
}

bool sameBits(const std::vector<Point3f> &a, const std::vector<Point3f> &b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Point3f)) == 0);
}

class SharedMarkers : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QString path = m_dir.filePath(QStringLiteral("marked.vxpj"));
        Vxpj::saveProject(path, {markedBox()});
        m_shapesBefore = sharedMarkerShapeCount();
        const auto read = Vxpj::loadProject(path);
        ASSERT_EQ(read.size(), 1u);
        m_model = read[0];
        for (const auto &part : m_model->manualSupports().parts)
            if (auto rod = std::dynamic_pointer_cast<DsCylider>(part))
                m_rods.push_back(rod);
        ASSERT_EQ(m_model->overhangs().size(), pointRows().size());
        ASSERT_EQ(m_rods.size(), rodRows().size());
    }

    // Slices the meshes into a package and returns its bytes.
    QByteArray package(const std::vector<std::shared_ptr<Mesh3D>> &meshes, const QString &name)
    {
        OrvaneDlp::SliceJob job;
        job.meshes = meshes;
        job.layerThickness = QStringLiteral("0.05");
        QString error;
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(OrvaneDlp::exportVxpr(path, job, nullptr, &error)) << error.toStdString();
        return testsupport::readFile(path);
    }

    QTemporaryDir m_dir;
    std::size_t m_shapesBefore = 0;
    std::shared_ptr<Model> m_model;
    std::vector<std::shared_ptr<DsCylider>> m_rods;
};

TEST_F(SharedMarkers, OneSphereMeshPerRadiusAndKind)
{
    std::set<const Mesh3D *> pointShapes;
    for (const auto &point : m_model->overhangs()) {
        ASSERT_TRUE(point->sharedShape());
        EXPECT_TRUE(point->vertices().empty()) << "a point keeps no sphere of its own";
        EXPECT_TRUE(point->faces().empty());
        pointShapes.insert(point->sharedShape().get());
    }
    const auto &points = m_model->overhangs();
    EXPECT_EQ(points[0]->sharedShape(), points[1]->sharedShape());
    EXPECT_EQ(points[0]->sharedShape(), points[2]->sharedShape());
    EXPECT_NE(points[0]->sharedShape(), points[3]->sharedShape());

    std::set<const Mesh3D *> ballShapes;
    for (const auto &rod : m_rods) {
        EXPECT_TRUE(rod->top()->vertices().empty());
        EXPECT_EQ(rod->top()->sharedShape(), m_rods[0]->top()->sharedShape());
        EXPECT_EQ(rod->bottom()->sharedShape(), m_rods[0]->bottom()->sharedShape());
        ballShapes.insert(rod->top()->sharedShape().get());
        ballShapes.insert(rod->bottom()->sharedShape().get());
    }
    for (const auto &rod : m_rods) {
        EXPECT_TRUE(rod->vertices().empty()) << "a rod keeps no tube of its own";
        EXPECT_EQ(rod->sharedShape(), m_rods[0]->sharedShape());
    }
    EXPECT_EQ(pointShapes.size(), 2u);
    EXPECT_EQ(ballShapes.size(), 2u);
    // Two point radii, two ball radii and one pair of rod radii: five meshes for seven points,
    // six balls and three rods.
    EXPECT_EQ(sharedMarkerShapeCount() - m_shapesBefore, 5u);

    // A copy of the model (undo, copies on the platform) shares them too.
    const auto copy = m_model->deepCopy();
    EXPECT_EQ(copy->overhangs()[0]->sharedShape(), points[0]->sharedShape());
    EXPECT_EQ(sharedMarkerShapeCount() - m_shapesBefore, 5u);
}

TEST_F(SharedMarkers, EachMarkerSitsAtItsPoint)
{
    for (std::size_t i = 0; i < pointRows().size(); ++i) {
        const Overhang &point = *m_model->overhangs()[i];
        const PointRow &row = pointRows()[i];
        EXPECT_EQ(point.shapeOffset(), row.at);
        EXPECT_TRUE(sameBox(point.boundingBox(), ownOverhangBox(row.at, row.radius))) << i;
        EXPECT_NEAR(point.boundingBox().extent().z, 2.0f * row.radius, 1e-5f) << i;
        // The triangles printed are those a sphere of its own at the point held.
        Mesh3D own;
        buildSphereMesh(own, row.at, row.radius);
        Mesh3D scratch;
        EXPECT_TRUE(sameBits(placedTriangles(point, scratch).vertices(), own.vertices())) << i;
        // The shared sphere moved by the offset lands on the same corners.
        const auto &shape = point.sharedShape()->vertices();
        ASSERT_EQ(shape.size(), own.vertices().size());
        for (std::size_t k = 0; k < shape.size(); ++k)
            ASSERT_NEAR((shape[k] + point.shapeOffset() - own.vertices()[k]).length(), 0.0f, 2e-6f);
    }
    for (std::size_t i = 0; i < rodRows().size(); ++i) {
        const DsPoint &top = *m_rods[i]->top();
        EXPECT_EQ(top.shapeOffset(), rodRows()[i].top);
        Mesh3D own;
        Sphere::buildInto(own, rodRows()[i].top, kTopBall);
        Mesh3D scratch;
        EXPECT_TRUE(sameBits(placedTriangles(top, scratch).vertices(), own.vertices())) << i;
        EXPECT_TRUE(sameBox(m_rods[i]->bottom()->boundingBox(),
                            ownBallBox(rodRows()[i].bottom, kBottomBall)));
        // The rod prints the rings it held itself, and its box is theirs.
        Mesh3D ownRod;
        buildOwnRod(ownRod, rodRows()[i].top, rodRows()[i].bottom);
        const Mesh3D &placed = placedTriangles(*m_rods[i], scratch);
        EXPECT_TRUE(sameBits(placed.vertices(), ownRod.vertices())) << i;
        EXPECT_EQ(placed.faces(), ownRod.faces());
        EXPECT_TRUE(sameBox(m_rods[i]->boundingBox(), ownRod.boundingBox())) << i;
    }
}

TEST_F(SharedMarkers, MovingTheModelMovesItsMarkers)
{
    m_model->transform(translationMatrix(5.0f, -2.0f, 1.0f));
    const Point3f moved = pointRows()[1].at + Vec3f{5.0f, -2.0f, 1.0f};
    EXPECT_EQ(m_model->overhangs()[1]->shapeOffset(), moved);
    EXPECT_TRUE(
        sameBox(m_model->overhangs()[1]->boundingBox(), ownOverhangBox(moved, kSmallPoint)));
    const Point3f top = rodRows()[2].top + Vec3f{5.0f, -2.0f, 1.0f};
    EXPECT_TRUE(sameBox(m_rods[2]->top()->boundingBox(), ownBallBox(top, kTopBall)));
    const Point3f bottom = rodRows()[2].bottom + Vec3f{5.0f, -2.0f, 1.0f};
    Mesh3D ownRod;
    buildOwnRod(ownRod, top, bottom);
    Mesh3D scratch;
    const auto &placed = placedTriangles(*m_rods[2], scratch).vertices();
    ASSERT_EQ(placed.size(), ownRod.vertices().size());
    for (std::size_t k = 0; k < placed.size(); ++k)
        EXPECT_NEAR((placed[k] - ownRod.vertices()[k]).length(), 0.0f, 1e-5f) << k;
    EXPECT_TRUE(sameBox(m_rods[2]->boundingBox(), ownRod.boundingBox()));
}

// The package and the STL export of the read project equal those of the same scene built with
// a sphere mesh of its own for every marker.
TEST_F(SharedMarkers, SlicingAndExportAreThoseOfMarkersWithSpheresOfTheirOwn)
{
    DScene scene;
    scene.addModels({m_model});
    const std::vector<std::shared_ptr<Mesh3D>> shared = scene.printMeshes();

    std::vector<std::shared_ptr<Mesh3D>> own;
    for (const auto &mesh : shared) {
        if (!mesh->sharedShape()) {
            own.push_back(mesh);
            continue;
        }
        auto sphere = std::make_shared<Mesh3D>();
        if (const auto *point = dynamic_cast<const Overhang *>(mesh.get()))
            buildSphereMesh(*sphere, point->position(), point->overhangRadius());
        else if (const auto *ball = dynamic_cast<const DsPoint *>(mesh.get()))
            Sphere::buildInto(*sphere, ball->centre(), ball->radius());
        else if (const auto *rod = dynamic_cast<const DsCylider *>(mesh.get()))
            buildOwnRod(*sphere, rod->top()->centre(), rod->bottom()->centre());
        ASSERT_FALSE(sphere->faces().empty());
        own.push_back(sphere);
    }
    ASSERT_EQ(own.size(), shared.size());
    ASSERT_GT(shared.size(), 1u + pointRows().size());

    const QByteArray a = package(shared, QStringLiteral("shared.vxpr"));
    const QByteArray b = package(own, QStringLiteral("own.vxpr"));
    ASSERT_FALSE(a.isEmpty());
    EXPECT_EQ(a, b);
    EXPECT_EQ(encodeBinaryStl(shared), encodeBinaryStl(own));
}

} // namespace
