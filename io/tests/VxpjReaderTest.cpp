#include "io/DIoError.h"
#include "io/DIoVXPJ.h"
#include "io/DVxpjUnserializeFactory.h"
#include "io/DVxpjUnserializeHelperV2.h"
#include "io/tests/VxpjTestData.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace vxpjtest;

namespace
{

// One mesh model of the given version, with one overhang and, from version 4, one rod. The
// optional fields carry values other than the defaults so that each shows where it came from.
QByteArray oldVersionFile(int version)
{
    FileBuilder b;
    b.header(version, 1).i32(0);
    b.u8(1).i32(1).point(0, 0, -1).point(1, 2, 3).f32(0.4f);
    if (version >= 3)
        b.f32(0.2f);
    if (version >= 4) {
        b.i32(1).point(1, 1, 4).f32(0.3f).point(1, 1, 0).f32(0.35f).f32(0.1f).f32(0.2f).u8(1);
    }
    b.u8(1).f32(0.15f).f32(3.0f).f32(2.0f);
    if (version >= 2)
        b.f32(0.3f).f32(3.5f).f32(6.0f).i32(2).bytes("\xff\xff\xff\xff").u8(1);
    if (version >= 3)
        b.f32(0.22f);
    if (version >= 5)
        b.i32(1);
    b.triangleGeometry();
    if (version >= 5)
        b.string("Part");
    return b.data();
}

std::vector<std::shared_ptr<Model>> load(const QByteArray &bytes)
{
    DIoVXPJ io;
    io.setRodCodec(testRodCodec());
    io.setData(bytes);
    return io.read();
}

// The message of the error loading bytes raises, or "loaded" when it succeeds.
std::string loadError(const QByteArray &bytes)
{
    try {
        load(bytes);
    } catch (const DIoError &e) {
        return e.message().toStdString();
    }
    return "loaded";
}

struct VersionRow {
    const char *name;
    int version;
    SupportParameters parameters;
    float overhangSize;
    std::size_t rods;
};

SupportParameters params(float overhang, float gaps, float height, int baseMode, bool has,
                         float link, int method)
{
    SupportParameters p;
    p.supportRadius = 0.15f;
    p.baseExtern = 3.0f;
    p.baseHeight = 2.0f;
    p.overhangRadius = overhang;
    p.supportGaps = gaps;
    p.supportHeight = height;
    p.baseMode = baseMode;
    p.hasSupports = has;
    p.linkPointRadius = link;
    p.method = method;
    return p;
}

class VxpjOldVersion : public ::testing::TestWithParam<VersionRow>
{
};

} // namespace

TEST_P(VxpjOldVersion, LoadsWithTheDefaultsOfMissingFields)
{
    const VersionRow &row = GetParam();
    const auto models = load(oldVersionFile(row.version));
    ASSERT_EQ(models.size(), 1u);
    const Model &m = *models[0];
    EXPECT_EQ(m.supportParameters(), row.parameters);
    EXPECT_TRUE(m.hasSupports());
    EXPECT_TRUE(m.overhangsFlag());
    ASSERT_EQ(m.overhangs().size(), 1u);
    EXPECT_EQ(m.overhangs()[0]->position(), (Point3f{1, 2, 3}));
    EXPECT_EQ(m.overhangs()[0]->direction(), (Vec3f{0, 0, -1}));
    EXPECT_EQ(m.overhangs()[0]->overhangRadius(), 0.4f);
    EXPECT_EQ(m.overhangs()[0]->linkPointRadius(), row.overhangSize);
    EXPECT_EQ(testRodCodec().toRods(m.manualSupports()).size(), row.rods);
    EXPECT_EQ(m.vertices().size(), 3u);
    EXPECT_EQ(m.faces().size(), 1u);
    EXPECT_EQ(m.baseName(), row.version >= 5 ? QStringLiteral("Part") : QString());
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VxpjOldVersion,
    ::testing::Values(VersionRow{"v1", 1, params(0.25f, 4.0f, 5.0f, 1, false, 0.25f, 0), 0.4f, 0},
                      VersionRow{"v2_link_equals_overhang_radius", 2,
                                 params(0.3f, 3.5f, 6.0f, 2, true, 0.3f, 0), 0.4f, 0},
                      VersionRow{"v3", 3, params(0.3f, 3.5f, 6.0f, 2, true, 0.22f, 0), 0.2f, 0},
                      VersionRow{"v4", 4, params(0.3f, 3.5f, 6.0f, 2, true, 0.22f, 0), 0.2f, 1},
                      VersionRow{"v5", 5, params(0.3f, 3.5f, 6.0f, 2, true, 0.22f, 1), 0.2f, 1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(VxpjVersion, UnknownVersionsFailInTheFactory)
{
    for (int version : {0, 6, -1, 1000}) {
        SCOPED_TRACE(version);
        FileBuilder b;
        b.header(version, 0);
        EXPECT_EQ(loadError(b.data()), "vxpj unserialize failed");
    }
}

TEST(VxpjVersion, ProbeReadsTheVersionAndLeavesThePosition)
{
    QBuffer buffer;
    buffer.setData(oldVersionFile(3));
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(DVxpjUnserializeFactory::probeVersion(&buffer), 3);
    EXPECT_EQ(buffer.pos(), 0);
}

TEST(VxpjVersion, AReaderRefusesANewerFileWithItsVersionMessage)
{
    QBuffer buffer;
    buffer.setData(oldVersionFile(5));
    buffer.open(QIODevice::ReadOnly);
    DVxpjUnserializeHelperV2 reader(&buffer);
    try {
        reader.load();
        FAIL();
    } catch (const DIoError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Version error,current software version supported "
                                              "vxpj version is 2, this vxpj version is :5"));
    }
}

TEST(VxpjVersion, MissingFileFailsInTheProbe)
{
    QTemporaryDir dir;
    EXPECT_THROW(
        {
            try {
                Vxpj::loadProject(dir.filePath(QStringLiteral("none.vxpj")));
            } catch (const DIoError &e) {
                EXPECT_EQ(e.message(), Vxpj::versionReadError());
                throw;
            }
        },
        DIoError);
}

namespace
{

struct DamagedRow {
    const char *name;
    QByteArray bytes;
    const char *message; // expected part of the error message
};

class VxpjDamagedFile : public ::testing::TestWithParam<DamagedRow>
{
};

QByteArray v5Mesh(const std::function<void(FileBuilder &)> &afterParameters, int overhangCount = 0,
                  int rodCount = 0)
{
    FileBuilder b;
    b.header(5, 1).i32(0).u8(0).i32(overhangCount).i32(rodCount);
    b.u8(0).f32(0.1f).f32(2.5f).f32(1.5f).f32(0.25f).f32(4).f32(5).i32(1).zeros(4).u8(0);
    b.f32(0.25f).i32(0);
    afterParameters(b);
    return b.data();
}

QByteArray contourFile(const std::function<void(FileBuilder &)> &layers)
{
    FileBuilder b;
    b.header(5, 1).i32(1).f32(0.05f).f32(0.05f).f32(0.1f);
    b.i32(3).point(0, 0, 0).point(1, 0, 0).point(0, 1, 0);
    layers(b);
    b.string("c");
    return b.data();
}

QByteArray truncated(const QByteArray &bytes, int cut)
{
    return bytes.left(bytes.size() - cut);
}

} // namespace

TEST_P(VxpjDamagedFile, IsRejectedWithAClearMessage)
{
    const DamagedRow &row = GetParam();
    const std::string error = loadError(row.bytes);
    EXPECT_NE(error.find(row.message), std::string::npos) << "message: " << error;
}

INSTANTIATE_TEST_SUITE_P(
    Files, VxpjDamagedFile,
    ::testing::Values(
        DamagedRow{"empty_file", QByteArray(), "vxpj file version read error"},
        DamagedRow{"ends_in_header", QByteArray(10, '\0'), "vxpj file version read error"},
        DamagedRow{"magic_length_above_255",
                   FileBuilder().i32(42).i32(300).zeros(300).i32(5).i32(0).zeros(256).data(),
                   "magic length 300"},
        DamagedRow{"negative_magic_length", FileBuilder().i32(42).i32(-4).zeros(64).data(),
                   "magic length -4"},
        DamagedRow{"ends_in_reserved_block", truncated(FileBuilder().header(5, 0).data(), 10),
                   "ends early"},
        DamagedRow{"negative_model_count", FileBuilder().header(5, -1).data(), "model count -1"},
        DamagedRow{"absurd_model_count", FileBuilder().header(5, 0x7fffffff).data(),
                   "model count 2147483647"},
        DamagedRow{"unknown_model_kind", FileBuilder().header(5, 1).i32(7).zeros(64).data(),
                   "unknown model kind 7"},
        DamagedRow{"negative_overhang_count", v5Mesh([](FileBuilder &) {}, -3),
                   "negative overhang count"},
        DamagedRow{"absurd_overhang_count", v5Mesh([](FileBuilder &) {}, 1 << 30),
                   "overhang count 1073741824"},
        DamagedRow{"absurd_manual_support_count", v5Mesh([](FileBuilder &) {}, 0, 99999999),
                   "manual support count 99999999"},
        DamagedRow{"absurd_point_count",
                   v5Mesh([](FileBuilder &b) { b.i32(0x7ffffff0).point(0, 0, 0); }),
                   "point count 2147483632"},
        DamagedRow{"negative_face_count",
                   v5Mesh([](FileBuilder &b) { b.i32(3).zeros(36).i32(-1); }),
                   "negative face count"},
        DamagedRow{"face_index_beyond_points", v5Mesh([](FileBuilder &b) {
                       b.i32(3).zeros(36).i32(1).i32(0).i32(1).i32(3).string("x");
                   }),
                   "refers to point 3 of 3 points (model 1)"},
        DamagedRow{"negative_face_index", v5Mesh([](FileBuilder &b) {
                       b.i32(3).zeros(36).i32(1).i32(0).i32(-7).i32(2).string("x");
                   }),
                   "refers to point -7"},
        DamagedRow{"ends_in_face_block",
                   truncated(v5Mesh([](FileBuilder &b) { b.triangleGeometry(); }), 5),
                   "face count 1 does not fit"},
        DamagedRow{"ends_before_name_block", v5Mesh([](FileBuilder &b) { b.triangleGeometry(); }),
                   "ends early"},
        DamagedRow{"absurd_name_length",
                   v5Mesh([](FileBuilder &b) { b.triangleGeometry().i32(1 << 30).bytes("ab"); }),
                   "name byte count 1073741824"},
        DamagedRow{"absurd_layer_count", contourFile([](FileBuilder &b) { b.i32(1 << 29); }),
                   "layer count 536870912"},
        DamagedRow{"absurd_contour_count",
                   contourFile([](FileBuilder &b) { b.i32(1).i32(1 << 29); }),
                   "contour count 536870912"},
        DamagedRow{"contour_index_beyond_points",
                   contourFile([](FileBuilder &b) { b.i32(1).i32(1).i32(3).i32(0).i32(1).i32(9); }),
                   "refers to point 9 of 3 points"},
        DamagedRow{"ends_in_overhang_record",
                   truncated(FileBuilder().header(5, 1).i32(0).u8(1).i32(1).zeros(32).data(), 3),
                   "overhang count 1 does not fit"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(VxpjDamagedFile, EveryTruncationOfAGoodFileIsRejected)
{
    const QByteArray good = oldVersionFile(5);
    ASSERT_EQ(loadError(good), "loaded");
    for (int length = 0; length < good.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_NE(loadError(good.left(length)), "loaded");
    }
}
