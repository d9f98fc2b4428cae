#include "geometry/Mesh3D.h"
#include "geometry/Model.h"

#include "MeshTestUtil.h"

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <cstring>
#include <limits>

TEST(Object3DTest, NameCarriesCopyNumber)
{
    Object3D object;
    object.setBaseName(QStringLiteral("Deer"));
    EXPECT_EQ(object.name(), QStringLiteral("Deer"));
    object.copyNumber() = 3;
    EXPECT_EQ(object.name(), QStringLiteral("Deer(3)"));
    object.setBaseName(QStringLiteral("Bracket"));
    object.copyNumber() = 2;
    EXPECT_EQ(object.name(), QStringLiteral("Bracket(2)"));
}

TEST(Object3DTest, CopyKeepsOwnConstructionValues)
{
    Object3D a;
    a.setBaseName(QStringLiteral("Part"));
    a.setKindTag(ObjectKind::ManualSupportPoint);
    a.setScale({2, 2, 2});
    Object3D b(a);
    EXPECT_EQ(b.baseName(), QStringLiteral("Part"));
    EXPECT_EQ(b.kindTag(), 0xF001);
    EXPECT_EQ(b.scale(), (Vec3f{2, 2, 2}));
    EXPECT_EQ(b.constructionValues(), (std::array<std::int32_t, 7>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(Mesh3DTest, Defaults)
{
    Mesh3D mesh;
    EXPECT_EQ(mesh.kindTag(), -1);
    EXPECT_EQ(mesh.scale(), (Vec3f{1, 1, 1}));
    EXPECT_EQ(mesh.colour(), (Vec3f{0.3f, 0.3f, 0.3f}));
    EXPECT_FALSE(mesh.isIndexed());
}

TEST(Mesh3DTest, EmptyMeshKeepsExtremeBox)
{
    Mesh3D mesh;
    mesh.recomputeBounds();
    EXPECT_EQ(mesh.boundingBox().min, (Vec3f{3.4028235e38f, 3.4028235e38f, 3.4028235e38f}));
    EXPECT_EQ(mesh.boundingBox().max, (Vec3f{-3.4028235e38f, -3.4028235e38f, -3.4028235e38f}));
    EXPECT_TRUE(mesh.boxOutline().empty());
    EXPECT_EQ(mesh.extent(), (Vec3f{0, 0, 0}));
    mesh.computeCentroid();
    EXPECT_EQ(mesh.centroid(), (Vec3f{0, 0, 0}));
}

TEST(Mesh3DTest, UnitCubeVolumeAndCounts)
{
    Mesh3D cube;
    fillSoup(cube, testsupport::boxTriangles(0, 0, 0, 1, 1, 1));
    EXPECT_NEAR(cube.volume(), 1.0, 1e-9);
    EXPECT_EQ(QString::number(cube.volumeMl(), 'f', 2), QStringLiteral("0.00"));
    EXPECT_EQ(cube.triangleCount(), 12u);
    EXPECT_EQ(cube.pointCount(), 36u);
    EXPECT_EQ(cube.extent(), (Vec3f{1, 1, 1}));

    for (Face &f : cube.faces())
        std::swap(f.v[1], f.v[2]);
    EXPECT_NEAR(cube.volume(), -1.0, 1e-9);
}

TEST(Mesh3DTest, FaceNormalsPointOutward)
{
    Mesh3D cube;
    fillSoup(cube, testsupport::boxTriangles(0, 0, 0, 1, 1, 1));
    ASSERT_EQ(cube.faceNormals().size(), 12u);
    EXPECT_EQ(cube.faceNormals()[0], (Vec3f{0, 0, -1}));
    EXPECT_EQ(cube.faceNormals()[2], (Vec3f{0, 0, 1}));
}

TEST(Mesh3DTest, DegenerateFaceGetsZeroNormal)
{
    Mesh3D mesh;
    mesh.vertices() = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}};
    mesh.faces() = {Face{{0, 1, 2}}};
    mesh.computeFaceNormals();
    EXPECT_EQ(mesh.faceNormals()[0], (Vec3f{0, 0, 0}));
}

TEST(Mesh3DTest, TranslationMovesBoxNotNormalsOrCentroid)
{
    Mesh3D box;
    fillSoup(box, testsupport::boxTriangles(0, 0, 0, 2, 2, 10));
    const auto normals = box.faceNormals();
    const Point3f centroid = box.centroid();
    int calls = 0;
    box.setChangedCallback([&calls] { ++calls; });

    box.transform(translationMatrix(0, 0, -5));

    EXPECT_EQ(box.boundingBox().min, (Vec3f{0, 0, -5}));
    EXPECT_EQ(box.boundingBox().max, (Vec3f{2, 2, 5}));
    EXPECT_EQ(box.faceNormals(), normals);
    EXPECT_EQ(box.centroid(), centroid);
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(box.boxOutline().size(), 24u);
    for (const Point3f &p : box.boxOutline())
        EXPECT_TRUE(p.z == -5.0f || p.z == 5.0f);
}

TEST(Mesh3DTest, ScaleTransformsNormalsWithoutRenormalising)
{
    Mesh3D box;
    fillSoup(box, testsupport::boxTriangles(0, 0, 0, 1, 1, 1));
    box.transform(scaleMatrix(1, 1, 3));
    EXPECT_EQ(box.faceNormals()[2], (Vec3f{0, 0, 3}));
    EXPECT_NEAR(box.volume(), 3.0, 1e-6);
}

namespace
{

bool sameBits(const Vec3f &a, const Vec3f &b)
{
    return std::memcmp(&a, &b, sizeof(Vec3f)) == 0;
}

bool sameBits(const std::vector<Vec3f> &a, const std::vector<Vec3f> &b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Vec3f)) == 0);
}

struct DerivedCase {
    const char *name;
    std::vector<Point3f> vertices;
    std::vector<Face> faces;
};

class DerivedDataTest : public ::testing::TestWithParam<DerivedCase>
{
};

} // namespace

// The one-pass computation gives exactly what the three separate passes give.
TEST_P(DerivedDataTest, MatchesTheSeparatePassesBitForBit)
{
    Mesh3D separate;
    separate.vertices() = GetParam().vertices;
    separate.faces() = GetParam().faces;
    Mesh3D fused = separate;
    separate.recomputeBounds();
    separate.computeFaceNormals();
    separate.computeCentroid();
    fused.computeDerivedData();

    EXPECT_TRUE(sameBits(fused.boundingBox().min, separate.boundingBox().min));
    EXPECT_TRUE(sameBits(fused.boundingBox().max, separate.boundingBox().max));
    EXPECT_TRUE(sameBits(fused.centroid(), separate.centroid()));
    EXPECT_TRUE(sameBits(fused.faceNormals(), separate.faceNormals()));
    EXPECT_TRUE(sameBits(fused.boxOutline(), separate.boxOutline()));
}

static const float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Meshes, DerivedDataTest,
    ::testing::Values(
        DerivedCase{"Empty", {}, {}},
        DerivedCase{"SoupWithSignedZerosAndOddValues",
                    {{-0.0f, 0.0f, 1e-30f},
                     {0.0f, -0.0f, 3.0f},
                     {0.1f, 0.7f, -0.0f},
                     {1e30f, -2.5f, 0.3f},
                     {-1e30f, 7.0f, 0.3f},
                     {0.2f, 0.2f, 0.2f}},
                    {Face{{0, 1, 2}}, Face{{3, 4, 5}}}},
        DerivedCase{"SoupWithNaNAndDegenerateFace",
                    {{kNaN, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}},
                    {Face{{0, 1, 2}}, Face{{3, 4, 5}}}},
        DerivedCase{"SharedVertices",
                    {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.3f, 0.3f, 1}},
                    {Face{{0, 1, 2}}, Face{{0, 1, 3}}, Face{{1, 2, 3}}, Face{{0, 2, 3}}}},
        DerivedCase{"SoupFacesOutOfOrder",
                    {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}},
                    {Face{{3, 4, 5}}, Face{{0, 1, 2}}}},
        DerivedCase{"FaceBeyondTheVertices", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {Face{{0, 1, 7}}}}),
    [](const auto &info) { return std::string(info.param.name); });

namespace
{

// Bit for bit, except that any NaN equals any NaN: which NaN a sum of two NaNs gives depends on
// the operand order the compiler picks.
bool sameValues(const std::vector<Vec3f> &a, const std::vector<Vec3f> &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (int k = 0; k < 3; ++k) {
            const float x = a[i][k], y = b[i][k];
            if (!(std::isnan(x) && std::isnan(y)) && std::memcmp(&x, &y, sizeof x) != 0)
                return false;
        }
    return true;
}

struct TranslationCase {
    const char *name;
    Matrix4f matrix;
};

class TranslationTest : public ::testing::TestWithParam<TranslationCase>
{
};

} // namespace

// Translations take a shortcut; it must give what the full matrix product gives, bit for bit,
// for awkward coordinates too.
TEST_P(TranslationTest, MatchesTheFullProductBitForBit)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float values[] = {0.0f, -0.0f, 1.5f, -2.25f, 1e-40f, 3e38f, inf, -inf, kNaN};
    Mesh3D mesh;
    for (float x : values)
        for (float y : values)
            for (float z : values) {
                mesh.vertices().push_back({x, y, z});
                mesh.faceNormals().push_back({x, y, z});
            }
    const Matrix4f &m = GetParam().matrix;
    std::vector<Vec3f> points, normals;
    for (const Point3f &p : mesh.vertices())
        points.push_back(transformPoint(m, p));
    for (const Vec3f &n : mesh.faceNormals())
        normals.push_back(transformVector(m, n));

    mesh.transform(m);
    EXPECT_TRUE(sameValues(mesh.vertices(), points));
    EXPECT_TRUE(sameValues(mesh.faceNormals(), normals));
    Mesh3D expected;
    expected.vertices() = mesh.vertices();
    expected.recomputeBounds();
    EXPECT_TRUE(sameBits(mesh.boundingBox().min, expected.boundingBox().min));
    EXPECT_TRUE(sameBits(mesh.boundingBox().max, expected.boundingBox().max));
    EXPECT_TRUE(sameBits(mesh.boxOutline(), expected.boxOutline()));
}

static Matrix4f withNegativeZeros(Matrix4f m)
{
    for (int i : {1, 2, 4, 6, 8, 9})
        m[i] = -0.0f;
    return m;
}

INSTANTIATE_TEST_SUITE_P(
    Matrices, TranslationTest,
    ::testing::Values(
        TranslationCase{"AlongAllAxes", translationMatrix(3.5f, -1.25f, 7.0f)},
        TranslationCase{"AlongXOnly", translationMatrix(2.0f, 0.0f, -0.0f)},
        TranslationCase{"Zero", translationMatrix(0.0f, 0.0f, 0.0f)},
        TranslationCase{"NegativeZero", translationMatrix(-0.0f, -0.0f, -0.0f)},
        TranslationCase{"Infinite",
                        translationMatrix(std::numeric_limits<float>::infinity(), 1, 0)},
        TranslationCase{"NaN", translationMatrix(kNaN, 1, 1)},
        TranslationCase{"NegativeZeroOffDiagonal", withNegativeZeros(translationMatrix(1, 0, 2))},
        TranslationCase{"NotATranslation", scaleMatrix(1, 2, 1)}),
    [](const auto &info) { return std::string(info.param.name); });
