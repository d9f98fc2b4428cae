#include "io/DIoAsciiStl.h"
#include "io/DIoError.h"
#include "io/MeshReaders.h"

#include "geometry/IProgressable.h"
#include "geometry/Model.h"

#include "IoTestUtil.h"
#include "testsupport/TestFiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

using namespace testsupport;

TEST(StlReaderTest, BinaryBoxStaysSoup)
{
    DIoAsciiStl reader;
    auto model = readBytes(reader, binaryStl(boxTriangles(0, 0, 0, 1, 2, 3)));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->faces().size(), 12u);
    EXPECT_EQ(model->vertices().size(), 36u);
    EXPECT_FALSE(model->isIndexed());
    EXPECT_EQ(model->faces()[5], (Face{{15, 16, 17}}));
    EXPECT_EQ(model->size(), (Vec3f{1, 2, 3}));
    EXPECT_EQ(model->faceNormals().size(), 12u);
    EXPECT_NEAR(model->volume(), 6.0, 1e-6);
    EXPECT_EQ(model->centroid().x, 0.5f);
}

struct AsciiCase {
    const char *name;
    QByteArray bytes;
};

class AsciiStlTest : public ::testing::TestWithParam<AsciiCase>
{
};

TEST_P(AsciiStlTest, ReadsBox)
{
    DIoAsciiStl reader;
    auto model = readBytes(reader, GetParam().bytes);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->faces().size(), 12u);
    EXPECT_EQ(model->vertices().size(), 36u);
    EXPECT_NEAR(model->volume(), 1.0, 1e-6);
}

static QByteArray withTabsAndBlankLines()
{
    QByteArray s = asciiStl(boxTriangles(0, 0, 0, 1, 1, 1));
    s.replace("  ", "\t");
    s.replace("endloop\n", "endloop\r\n\n\n");
    return s;
}

static QByteArray withManyBlankLines()
{
    QByteArray s = asciiStl(boxTriangles(0, 0, 0, 1, 1, 1));
    s.replace("endfacet\n", "endfacet\n" + QByteArray(20, '\n'));
    return s;
}

static QByteArray withoutEndsolid()
{
    QByteArray s = asciiStl(boxTriangles(0, 0, 0, 1, 1, 1));
    s.chop(QByteArray("endsolid test\n").size());
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Variants, AsciiStlTest,
    ::testing::Values(AsciiCase{"LowerCase", asciiStl(boxTriangles(0, 0, 0, 1, 1, 1))},
                      AsciiCase{"UpperCase", asciiStl(boxTriangles(0, 0, 0, 1, 1, 1), true)},
                      AsciiCase{"TabsCrLfBlankLines", withTabsAndBlankLines()},
                      AsciiCase{"TwentyBlankLinesBetweenFacets", withManyBlankLines()},
                      AsciiCase{"MissingEndsolid", withoutEndsolid()}),
    [](const auto &info) { return std::string(info.param.name); });

// Binary files are read block by block from disk and whole from memory: both give the same mesh.
struct SourceCase {
    const char *name;
    std::function<QByteArray()> bytes;
    std::size_t faces;
};

class StlSourceTest : public ::testing::TestWithParam<SourceCase>
{
};

TEST_P(StlSourceTest, FileAndMemoryGiveTheSameMesh)
{
    const QByteArray bytes = GetParam().bytes();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("part.stl"));
    writeFile(path, bytes);
    DIoAsciiStl fromFile;
    fromFile.setFileName(path);
    auto a = std::dynamic_pointer_cast<Model>(fromFile.read());
    DIoAsciiStl fromMemory;
    auto b = readBytes(fromMemory, bytes);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->faces().size(), GetParam().faces);
    EXPECT_EQ(a->faces(), b->faces());
    EXPECT_EQ(a->vertices(), b->vertices());
    EXPECT_EQ(a->faceNormals(), b->faceNormals());
    EXPECT_EQ(a->centroid(), b->centroid());
    EXPECT_EQ(a->boundingBox().min, b->boundingBox().min);
    EXPECT_EQ(a->boundingBox().max, b->boundingBox().max);
}

static QByteArray manyBoxes(int count)
{
    std::vector<Triangle> triangles;
    for (int i = 0; i < count; ++i) {
        const auto box = boxTriangles(float(i % 50), float(i / 50), 0, float(i % 50) + 0.5f,
                                      float(i / 50) + 0.5f, 1);
        triangles.insert(triangles.end(), box.begin(), box.end());
    }
    return binaryStl(triangles);
}

static QByteArray solidHeaderBinary()
{
    QByteArray bytes = binaryStl(boxTriangles(0, 0, 0, 1, 1, 1));
    bytes.replace(0, 11, "solid box  ");
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, StlSourceTest,
    ::testing::Values(
        // 40,008 triangles: several read blocks, the last one partial.
        SourceCase{"BinaryOfSeveralBlocks", [] { return manyBoxes(3334); }, 40008},
        SourceCase{"BinaryWithSolidHeader", solidHeaderBinary, 12},
        SourceCase{"Ascii", [] { return asciiStl(boxTriangles(0, 0, 0, 1, 1, 1)); }, 12},
        SourceCase{"AsciiWithoutEndsolid", withoutEndsolid, 12},
        SourceCase{"BinaryWithTrailingBytes",
                   [] { return binaryStl(boxTriangles(0, 0, 0, 1, 1, 1)) + QByteArray(7, 'x'); },
                   12}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(StlReaderTest, BinaryWithSolidHeaderIsBinary)
{
    QByteArray bytes = binaryStl(boxTriangles(0, 0, 0, 1, 1, 1));
    bytes.replace(0, 11, "solid box  ");
    EXPECT_FALSE(DIoAsciiStl::looksAscii(bytes));
    DIoAsciiStl reader;
    auto model = readBytes(reader, bytes);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->faces().size(), 12u);
}

TEST(StlReaderTest, BinaryThatLooksAsciiIsReadAgainAsBinary)
{
    // A "solid" header and an "endsolid" line near the end (inside the last triangle's normal
    // bytes, which the reader ignores; corner bytes spelling text would be coordinates far
    // beyond any part): taken for text first, the file still loads with all its triangles.
    const auto triangles = boxTriangles(0, 0, 0, 1, 1, 1);
    QByteArray bytes = binaryStl(triangles);
    bytes.replace(0, 11, "solid box  ");
    bytes.replace(bytes.size() - 50, 9, "\nendsolid");
    ASSERT_TRUE(DIoAsciiStl::looksAscii(bytes));
    DIoAsciiStl reader;
    auto model = readBytes(reader, bytes);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->faces().size(), 12u);
    ASSERT_EQ(model->vertices().size(), 36u);
    for (std::size_t t = 0; t < 11; ++t)
        for (std::size_t k = 0; k < 3; ++k) {
            const Vec3 &v = triangles[t][k];
            EXPECT_EQ(model->vertices()[t * 3 + k], (Vec3f{v[0], v[1], v[2]})) << t << "," << k;
        }
}

TEST(StlReaderTest, AsciiDetectionFindsEndsolidAmongLastLines)
{
    EXPECT_TRUE(DIoAsciiStl::looksAscii(asciiStl(boxTriangles(0, 0, 0, 1, 1, 1))));
    EXPECT_TRUE(DIoAsciiStl::looksAscii("SOLID x\n  ENDSOLID x\n\n\n"));
    EXPECT_FALSE(DIoAsciiStl::looksAscii("solid x\nfacet normal 0 0 0\n"));
}

TEST(StlReaderTest, ReadsThroughFileAndFactory)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Box.STL"));
    writeFile(path, binaryStl(boxTriangles(0, 0, 0, 1, 1, 1)));
    auto reader = createPartReader(path);
    ASSERT_NE(reader, nullptr);
    auto mesh = reader->read();
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->faces().size(), 12u);
    EXPECT_NE(createPartReader(QStringLiteral("a.obj")), nullptr);
    EXPECT_NE(createPartReader(QStringLiteral("a.Slc")), nullptr);
    EXPECT_EQ(createPartReader(QStringLiteral("a.vxpj")), nullptr);
    EXPECT_EQ(createPartReader(QStringLiteral("stl")), nullptr);
}

TEST(StlReaderTest, MissingFileSaysWhy)
{
    DIoAsciiStl reader;
    reader.setFileName(QStringLiteral("/nonexistent/dir/part.stl"));
    try {
        reader.read();
        FAIL() << "no error";
    } catch (const DIoError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("part.stl"))) << e.what();
    }
}

TEST(StlReaderTest, CancelledReadReturnsNullAndReportsComplete)
{
    for (const QByteArray &bytes :
         {binaryStl(boxTriangles(0, 0, 0, 1, 1, 1)), asciiStl(boxTriangles(0, 0, 0, 1, 1, 1))}) {
        IProgressable root;
        std::vector<int> percents;
        root.setCallback([&](int p, const QString &, bool) { percents.push_back(p); });
        root.setCancel(true);
        DIoAsciiStl reader;
        reader.setProgress(&root);
        EXPECT_EQ(readBytes(reader, bytes), nullptr);
        ASSERT_FALSE(percents.empty());
        EXPECT_EQ(percents.back(), 100);
    }
}

TEST(StlReaderTest, ProgressStaysInItsLevelAndEndsAtTop)
{
    IProgressable root;
    IProgressable child;
    child.setParent(&root);
    std::vector<int> percents;
    root.setCallback([&](int p, const QString &stage, bool) {
        percents.push_back(p);
        EXPECT_EQ(stage, QStringLiteral("ModalLoding"));
    });
    root.setLevel(QStringLiteral("level1"), {2, 2, QStringLiteral("avg")}); // file 2 of 2
    DIoAsciiStl reader;
    reader.setProgress(&child);
    ASSERT_NE(readBytes(reader, binaryStl(boxTriangles(0, 0, 0, 1, 1, 1))), nullptr);
    ASSERT_FALSE(percents.empty());
    int previous = 50;
    for (int p : percents) {
        EXPECT_GE(p, previous);
        EXPECT_LE(p, 100);
        previous = p;
    }
    EXPECT_GE(percents.back(), 99); // integer level arithmetic may stop one short
}
