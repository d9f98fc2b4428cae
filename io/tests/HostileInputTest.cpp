// Readers fed what damaged and real-world files carry: byte-order marks, old Mac line ends,
// several solids, non-finite and absurd numbers. Each row is a small generated file.
#include "geometry/Model.h"
#include "io/DIoAsciiStl.h"
#include "io/DIoError.h"
#include "io/DIoOBJ.h"
#include "io/DIoSlc.h"
#include "io/DIoVXPJ.h"
#include "io/DVxpjSerializeHelperV5.h"
#include "io/tests/IoTestUtil.h"
#include "io/tests/VxpjTestData.h"
#include "testsupport/TestFiles.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace
{

const QByteArray kBom("\xEF\xBB\xBF");

QByteArray facet(const char *a, const char *b, const char *c)
{
    return QByteArray("facet normal 0 0 0\n outer loop\n  vertex ") + a + "\n  vertex " + b +
           "\n  vertex " + c + "\n endloop\nendfacet\n";
}

const QByteArray kOneSolid = "solid a\n" + facet("0 0 0", "1 0 0", "0 1 0") + "endsolid a\n";

QByteArray binaryStlOf(float bad)
{
    return testsupport::binaryStl({{{{0, 0, 0}, {1, bad, 0}, {0, 1, 0}}}});
}

enum class Reader { Stl, Obj, Slc };

struct InputCase {
    const char *name;
    Reader reader;
    QByteArray bytes;
    // Either the triangle and vertex counts of a good read, or a text the error must contain.
    int triangles;
    int vertices;
    const char *error;
};

std::unique_ptr<DIoPartBase> makeReader(Reader r)
{
    switch (r) {
    case Reader::Stl:
        return std::make_unique<DIoAsciiStl>();
    case Reader::Obj:
        return std::make_unique<DIoOBJ>();
    case Reader::Slc:
        return std::make_unique<DIoSlc>();
    }
    return nullptr;
}

class HostileInput : public ::testing::TestWithParam<InputCase>
{
};

TEST_P(HostileInput, ReadsRightOrSaysWhereItIsWrong)
{
    const InputCase &c = GetParam();
    auto reader = makeReader(c.reader);
    reader->setFileName(QStringLiteral("input"));
    if (c.error) {
        try {
            readBytes(*reader, c.bytes);
            FAIL() << "read without complaint";
        } catch (const DIoError &e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(c.error))) << e.message().toStdString();
        }
        return;
    }
    std::shared_ptr<Model> model;
    try {
        model = readBytes(*reader, c.bytes);
    } catch (const DIoError &e) {
        FAIL() << e.message().toStdString();
    }
    ASSERT_TRUE(model);
    EXPECT_EQ(int(model->faces().size()), c.triangles);
    EXPECT_EQ(int(model->vertices().size()), c.vertices);
    for (const Point3f &p : model->vertices())
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
}

const float kNan = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileInput,
    ::testing::Values(
        InputCase{"ObjWithByteOrderMark", Reader::Obj,
                  kBom + "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nf 1 2 3\nf 1 3 4\n", 2, 4, nullptr},
        InputCase{"ObjWithOldMacLineEnds", Reader::Obj,
                  "v 0 0 0\rv 1 0 0\rv 0 1 0\rv 0 0 1\rf 1 2 3\rf 1 3 4\r", 2, 4, nullptr},
        InputCase{"ObjWithWindowsLineEnds", Reader::Obj,
                  "v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nf 1 2 3\r\n", 1, 3, nullptr},
        InputCase{"AsciiStlWithByteOrderMark", Reader::Stl, kBom + kOneSolid, 1, 3, nullptr},
        InputCase{"AsciiStlWithOldMacLineEnds", Reader::Stl,
                  QByteArray(kOneSolid).replace('\n', '\r'), 1, 3, nullptr},
        InputCase{"AsciiStlWithEverySolidRead", Reader::Stl,
                  kOneSolid + "solid b\n" + facet("0 0 1", "1 0 1", "0 1 1") +
                      facet("0 0 2", "1 0 2", "0 1 2") + "endsolid b\n",
                  3, 9, nullptr},
        InputCase{"AsciiStlNanNamesTheLine", Reader::Stl,
                  "solid a\n" + facet("0 0 0", "nan 0 0", "0 1 0") + "endsolid a\n", 0, 0,
                  "\"nan\" is not a finite number (line 5)"},
        InputCase{"AsciiStlInfinityNamesTheLine", Reader::Stl,
                  "solid a\n" + facet("0 0 0", "1 0 0", "0 -inf 0") + "endsolid a\n", 0, 0,
                  "is not a finite number (line 6)"},
        InputCase{"AsciiStlBeyondFloatNamesTheLine", Reader::Stl,
                  "solid a\n" + facet("1e39 0 0", "1 0 0", "0 1 0") + "endsolid a\n", 0, 0,
                  "\"1e39\" is out of range"},
        InputCase{"AsciiStlTinyNumberIsZero", Reader::Stl,
                  "solid a\n" + facet("1e-60 0 0", "1 0 0", "0 1 0") + "endsolid a\n", 1, 3,
                  nullptr},
        InputCase{"ObjNanNamesTheLine", Reader::Obj, "v 0 0 0\nv nan 0 0\nv 0 1 0\nf 1 2 3\n", 0, 0,
                  "is not a finite number (line 2)"},
        InputCase{"ObjBeyondFloatNamesTheLine", Reader::Obj,
                  "v 0 0 0\nv 1 0 0\nv 0 1e39 0\nf 1 2 3\n", 0, 0, "out of range (coordinates"},
        InputCase{"ObjAbsurdCoordinateNamesTheLine", Reader::Obj,
                  "v 0 0 0\nv 1 0 0\nv 0 1e30 0\nf 1 2 3\n", 0, 0, "(line 3)"},
        InputCase{"BinaryStlNanNamesTheTriangle", Reader::Stl, binaryStlOf(kNan), 0, 0,
                  "triangle 1 (record at byte 84) has a coordinate that is not a finite number"},
        InputCase{"BinaryStlInfinityNamesTheTriangle", Reader::Stl, binaryStlOf(kInf), 0, 0,
                  "triangle 1"},
        InputCase{"BinaryStlAbsurdCoordinateNamesTheTriangle", Reader::Stl, binaryStlOf(1e30f), 0,
                  0, "beyond +-1000000 mm"},
        InputCase{"SlcAbsurdPointNamesTheRecord", Reader::Slc,
                  SlcBuilder()
                      .table({{{0, 0.1f, 0, 0}}})
                      .layer(0.0f, {{{0, 0}, {1e30f, 0}, {0, 1}}})
                      .end(0.1f)
                      .bytes(),
                  0, 0, "point 2 of boundary 1 of layer 1"},
        InputCase{
            "SlcNanHeightNamesTheLayer", Reader::Slc,
            SlcBuilder().table({{{0, 0.1f, 0, 0}}}).layer(kNan, {unitSquare()}).end(0.1f).bytes(),
            0, 0, "layer 1 has the height nan"},
        InputCase{
            "SlcNanThicknessNamesTheTableEntry", Reader::Slc,
            SlcBuilder().table({{{0, kNan, 0, 0}}}).layer(0, {unitSquare()}).end(0.1f).bytes(), 0,
            0, "entry 1 of the sampling table"}),
    [](const ::testing::TestParamInfo<InputCase> &info) { return info.param.name; });

TEST(HostileProject, NanPositionIsRefusedNamingTheModel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto good = std::make_shared<Model>();
    good->vertices() = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    good->faces() = {Face{{0, 1, 2}}};
    good->setIndexed(true);
    auto bad = std::make_shared<Model>();
    bad->vertices() = {{0, 0, 0}, {kNan, 0, 0}, {0, 1, 0}};
    bad->faces() = {Face{{0, 1, 2}}};
    bad->setIndexed(true);
    const QString path = dir.filePath(QStringLiteral("nan.vxpj"));
    Vxpj::saveProject(path, {good, bad});
    try {
        Vxpj::loadProject(path);
        FAIL() << "a NaN position was loaded";
    } catch (const DIoError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("point 2 is not a finite position")))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QLatin1String("(model 2)"))) << e.message().toStdString();
    }
}

// A hand-placed rod is kept as its two centres and radii; a NaN or far-off one is refused
// where it is read, naming the rod, as a point of the mesh is.
TEST(HostileProject, RodWithANonFiniteOrFarNumberIsRefusedNamingTheRod)
{
    struct Row {
        const char *name;
        std::function<void(Vxpj::Rod &)> spoil;
    };
    const Row rows[] = {{"nanTop", [](Vxpj::Rod &r) { r.top.x = kNan; }},
                        {"infiniteBottom",
                         [](Vxpj::Rod &r) { r.bottom.z = std::numeric_limits<float>::infinity(); }},
                        {"farBottom", [](Vxpj::Rod &r) { r.bottom.y = 3e6f; }},
                        {"nanBallRadius", [](Vxpj::Rod &r) { r.bottomRadius = kNan; }},
                        {"nanRodRadius", [](Vxpj::Rod &r) { r.rodTopRadius = kNan; }}};
    for (const Row &row : rows) {
        auto model = std::make_shared<Model>();
        model->vertices() = {{0, 0, 5}, {1, 0, 5}, {0, 1, 5}};
        model->faces() = {Face{{0, 1, 2}}};
        model->setIndexed(true);
        Vxpj::Rod good;
        good.top = {0.2f, 0.2f, 5};
        good.bottom = {0.2f, 0.2f, 0};
        good.topRadius = good.bottomRadius = 0.2f;
        good.rodTopRadius = good.rodBottomRadius = 0.1f;
        Vxpj::Rod bad = good;
        row.spoil(bad);
        vxpjtest::testRodCodec().fromRods({good, bad}, model->manualSupports());
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        DVxpjSerializeHelperV5 writer(&buffer, {model});
        writer.setRodCodec(vxpjtest::testRodCodec());
        ASSERT_TRUE(writer.save()) << row.name;
        DIoVXPJ io;
        io.setRodCodec(vxpjtest::testRodCodec());
        io.setData(buffer.data());
        try {
            io.read();
            ADD_FAILURE() << row.name << ": the rod was loaded";
        } catch (const DIoError &e) {
            EXPECT_TRUE(e.message().contains(QLatin1String("manual support rod 2 holds a number")))
                << row.name << ": " << e.message().toStdString();
        }
    }
}

} // namespace
