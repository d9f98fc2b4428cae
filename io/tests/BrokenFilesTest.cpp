#include "io/DIoAsciiStl.h"
#include "io/DIoError.h"
#include "io/DIoOBJ.h"
#include "io/DIoSlc.h"

#include "IoTestUtil.h"
#include "testsupport/TestFiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

using namespace testsupport;

namespace
{

QByteArray stlWithCount(quint32 claimed, int triangles)
{
    QByteArray bytes = binaryStl(boxTriangles(0, 0, 0, 1, 1, 1)).left(84 + 50 * triangles);
    for (int k = 0; k < 4; ++k)
        bytes[80 + k] = char((claimed >> (8 * k)) & 0xFF);
    return bytes;
}

QByteArray asciiBroken(const QByteArray &from, const QByteArray &to)
{
    QByteArray s = asciiStl(boxTriangles(0, 0, 0, 1, 1, 1));
    const int at = s.indexOf(from);
    return s.replace(at, from.size(), to);
}

const QByteArray kSquare = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";

} // namespace

struct BrokenCase {
    const char *name;
    std::function<std::unique_ptr<DIoPartBase>()> reader;
    QByteArray bytes;
    const char *message; // expected part of the error text
};

class BrokenFilesTest : public ::testing::TestWithParam<BrokenCase>
{
};

TEST_P(BrokenFilesTest, RejectedWithReason)
{
    auto reader = GetParam().reader();
    reader->setData(GetParam().bytes);
    try {
        reader->read();
        FAIL() << "accepted";
    } catch (const DIoError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String(GetParam().message))) << e.what();
    }
}

// The same inputs from disk, where binary STL files are read block by block.
TEST_P(BrokenFilesTest, RejectedWithReasonFromAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken"));
    writeFile(path, GetParam().bytes);
    auto reader = GetParam().reader();
    reader->setFileName(path);
    try {
        reader->read();
        FAIL() << "accepted";
    } catch (const DIoError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String(GetParam().message))) << e.what();
    }
}

static auto stl = [] { return std::unique_ptr<DIoPartBase>(new DIoAsciiStl); };
static auto obj = [] { return std::unique_ptr<DIoPartBase>(new DIoOBJ); };
static auto slc = [] { return std::unique_ptr<DIoPartBase>(new DIoSlc); };

INSTANTIATE_TEST_SUITE_P(
    Table, BrokenFilesTest,
    ::testing::Values(
        BrokenCase{"StlEmpty", stl, QByteArray(), "fewer than the 84-byte header"},
        BrokenCase{"StlHeaderOnly", stl, QByteArray(60, 'x'), "fewer than the 84-byte header"},
        BrokenCase{"StlTruncated", stl, stlWithCount(12, 11),
                   "header says 12 triangles but the file holds only 11"},
        BrokenCase{"StlAbsurdCount", stl, stlWithCount(0xFFFFFFFFu, 2),
                   "header says 4294967295 triangles"},
        BrokenCase{"StlNoTriangles", stl, stlWithCount(0, 0), "holds no triangles"},
        BrokenCase{"AsciiBadVertex", stl, asciiBroken("vertex 1", "vertex x"),
                   "a vertex needs three numbers"},
        BrokenCase{"AsciiMissingLoop", stl, asciiBroken("outer loop", "outer lop"),
                   "expected \"outer loop\""},
        BrokenCase{"AsciiCutInFacet", stl, asciiStl(boxTriangles(0, 0, 0, 1, 1, 1)).left(200),
                   "ends inside a facet"},
        BrokenCase{"AsciiNoFacets", stl, "solid a\nendsolid a\n", "holds no triangles"},
        BrokenCase{"ObjTwoRefs", obj, kSquare + "f 1 2\n", "Face found with less three indices."},
        BrokenCase{"ObjZeroIndex", obj, kSquare + "f 0 1 2\n", "Face refers to vertex 0"},
        BrokenCase{"ObjRelativeIndex", obj, kSquare + "f -1 -2 -3\n", "Face refers to vertex -1"},
        BrokenCase{"ObjOutOfRange", obj, kSquare + "f 1 2 9\n",
                   "refers to vertex 9 but the file defines only 4 vertices"},
        BrokenCase{"ObjHugeIndex", obj, kSquare + "f 1 2 99999999999999999999\n",
                   "is not a vertex index"},
        BrokenCase{"ObjBadReference", obj, kSquare + "f 1 2 x\n", "is not a vertex index"},
        BrokenCase{"ObjShortVertex", obj, "v 1 2\n", "fewer than three coordinates"},
        BrokenCase{"ObjBadNumber", obj, "v 1 2 abc\n", "not a number"},
        BrokenCase{"ObjNoFaces", obj, kSquare, "holds no faces"},
        BrokenCase{"SlcNoHeaderEnd", slc, QByteArray(3000, 'a'), "no header end"},
        BrokenCase{"SlcShortReserved", slc, QByteArray("-unit mm\r\n\x1a", 11) + QByteArray(20, 0),
                   "the reserved block"},
        BrokenCase{"SlcTableTooLong", slc,
                   SlcBuilder("-unit mm").bytes() + QByteArray(1, char(200)) + QByteArray(100, 0),
                   "the sampling table"},
        BrokenCase{"SlcBoundaryCountPastEnd", slc,
                   SlcBuilder().table({}).f32(0.1f).u32(1000000).bytes(),
                   "the boundaries of a layer"},
        BrokenCase{"SlcVertexCountPastEnd", slc,
                   SlcBuilder().table({}).f32(0.1f).u32(1).u32(0x7FFFFFFF).u32(0).bytes() +
                       QByteArray(64, 0),
                   "the vertices of a boundary"},
        BrokenCase{"SlcNegativeCount", slc,
                   SlcBuilder().table({}).f32(0.1f).u32(1).u32(0x80000000u).u32(0).bytes(),
                   "vertex count"},
        BrokenCase{"SlcNoEndMarker", slc,
                   SlcBuilder().table({}).layer(0.1f, {unitSquare()}).bytes(), "runs past"},
        BrokenCase{"SlcNoContours", slc, SlcBuilder().table({}).end(0).bytes(),
                   "holds no contours"}),
    [](const auto &info) { return std::string(info.param.name); });
