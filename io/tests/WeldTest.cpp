#include "io/DIoAsciiStl.h"

#include "geometry/IProgressable.h"
#include "geometry/Model.h"

#include "IoTestUtil.h"
#include "testsupport/TestFiles.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace
{

// A flat n x n grid of quads (two triangles each) as triangle list.
std::vector<Triangle> grid(int n)
{
    std::vector<Triangle> out;
    out.reserve(std::size_t(n) * n * 2);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const Vec3 a{float(i), float(j), 0}, b{float(i + 1), float(j), 0},
                c{float(i + 1), float(j + 1), 0}, d{float(i), float(j + 1), 0};
            out.push_back({a, b, c});
            out.push_back({a, c, d});
        }
    return out;
}

} // namespace

TEST(WeldTest, LargeSoupIsWelded)
{
    const int n = 420; // 352,800 triangles, 1,058,400 soup vertices: just over the threshold
    const auto triangles = grid(n);
    DIoAsciiStl reader;
    auto model = readBytes(reader, binaryStl(triangles));
    ASSERT_NE(model, nullptr);
    EXPECT_TRUE(model->isIndexed());
    EXPECT_EQ(model->vertices().size(), std::size_t(n + 1) * (n + 1));
    ASSERT_EQ(model->faces().size(), triangles.size());
    EXPECT_TRUE(model->hasValidFaces());
    // First-appearance order, and faces still address the right positions.
    EXPECT_EQ(model->faces()[0], (Face{{0, 1, 2}}));
    EXPECT_EQ(model->faces()[1], (Face{{0, 2, 3}}));
    for (std::size_t f : {std::size_t(0), std::size_t(12345), triangles.size() - 1})
        for (int k = 0; k < 3; ++k) {
            const Point3f &p = model->vertices()[model->faces()[f][k]];
            EXPECT_EQ(p, (Vec3f{triangles[f][k][0], triangles[f][k][1], triangles[f][k][2]}));
        }
}

TEST(WeldTest, SmallSoupStaysSoupUntilForced)
{
    DIoAsciiStl reader;
    auto model = readBytes(reader, binaryStl(boxTriangles(0, 0, 0, 1, 1, 1)));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->vertices().size(), 36u);
    ASSERT_TRUE(reader.weldAlways(*model));
    EXPECT_EQ(model->vertices().size(), 8u);
    EXPECT_TRUE(model->isIndexed());
    EXPECT_NEAR(model->volume(), 1.0, 1e-6);
}

TEST(WeldTest, NegativeZeroWeldsWithZero)
{
    Model mesh;
    mesh.vertices() = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-0.0f, 0, -0.0f}, {0, 1, 0}, {1, 1, 0}};
    mesh.faces() = {Face{{0, 1, 2}}, Face{{3, 4, 5}}};
    DIoAsciiStl reader;
    ASSERT_TRUE(reader.weldAlways(mesh));
    EXPECT_EQ(mesh.vertices().size(), 4u);
    EXPECT_EQ(mesh.faces()[1], (Face{{0, 2, 3}}));
}

TEST(WeldTest, CancelledWeldLeavesMesh)
{
    Model mesh;
    mesh.vertices() = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    mesh.faces() = {Face{{0, 1, 2}}};
    IProgressable root;
    root.setCancel(true);
    DIoAsciiStl reader;
    reader.setProgress(&root);
    EXPECT_FALSE(reader.weldAlways(mesh));
    EXPECT_FALSE(mesh.isIndexed());
}

struct WeldThresholdCase {
    const char *name;
    std::size_t triangles;
    std::int32_t sourceKind;
    bool welded;
};

class WeldThresholdTest : public ::testing::TestWithParam<WeldThresholdCase>
{
};

// Every triangle is the same one, so a welded mesh keeps only its three corners.
TEST_P(WeldThresholdTest, OnlySoupsAboveAMebivertexAreWelded)
{
    const WeldThresholdCase &c = GetParam();
    Model mesh;
    mesh.setSourceKind(c.sourceKind);
    mesh.vertices().reserve(c.triangles * 3 + 1);
    for (std::size_t i = 0; i < c.triangles; ++i) {
        const auto base = std::uint32_t(mesh.vertices().size());
        mesh.vertices().push_back({0, 0, 0});
        mesh.vertices().push_back({1, 0, 0});
        mesh.vertices().push_back({0, 1, 0});
        mesh.faces().push_back(Face{{base, base + 1, base + 2}});
    }
    // 1,048,576 is not a multiple of three: one stray vertex brings the soup to the exact count.
    if (c.triangles * 3 + 1 == 1048576u)
        mesh.vertices().push_back({0, 0, 0});
    const std::size_t before = mesh.vertices().size();
    DIoAsciiStl reader;
    ASSERT_TRUE(reader.weld(mesh));
    EXPECT_EQ(mesh.isIndexed(), c.welded);
    EXPECT_EQ(mesh.vertices().size(), c.welded ? 3u : before);
    const auto last = std::uint32_t((c.triangles - 1) * 3);
    EXPECT_EQ(mesh.faces().back(),
              c.welded ? (Face{{0, 1, 2}}) : (Face{{last, last + 1, last + 2}}));
}

INSTANTIATE_TEST_SUITE_P(
    Boundary, WeldThresholdTest,
    ::testing::Values(WeldThresholdCase{"ExactlyAMebivertexStaysSoup", 349525, 0, false},
                      WeldThresholdCase{"OneTriangleMoreIsWelded", 349526, 0, true},
                      WeldThresholdCase{"ContourModelIsNeverWelded", 349526, 1, false}),
    [](const auto &info) { return std::string(info.param.name); });
