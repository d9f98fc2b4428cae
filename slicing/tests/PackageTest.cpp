#include "ReferenceSlicer.h"
#include "TestMeshes.h"

#include "slicing/DlpSliceManager.h"
#include "slicing/VxprInfo.h"

#include "geometry/DScene.h"
#include "geometry/IProgressable.h"
#include "geometry/Mesh3D.h"
#include "supports/SupportJob.h"
#include "testsupport/SoupMesh.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace OrvaneDlp;
using slicingtest::meshFrom;
using testsupport::boxTriangles;

namespace
{

using MeshList = std::vector<std::shared_ptr<Mesh3D>>;

constexpr int kRecordsStart = 590134;

struct Layer {
    float z = 0;
    std::vector<std::vector<std::pair<float, float>>> paths;
};

float floatAt(const QByteArray &b, int offset)
{
    const uint32_t bits = qFromLittleEndian<uint32_t>(b.constData() + offset);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

int32_t intAt(const QByteArray &b, int offset)
{
    return qFromLittleEndian<int32_t>(b.constData() + offset);
}

std::vector<Layer> layersOf(const QByteArray &b)
{
    std::vector<Layer> layers;
    int pos = kRecordsStart;
    while (pos < b.size()) {
        Layer layer;
        layer.z = floatAt(b, pos);
        const int paths = intAt(b, pos + 4);
        pos += 8;
        for (int p = 0; p < paths; ++p) {
            const int n = intAt(b, pos);
            pos += 4;
            layer.paths.emplace_back();
            for (int k = 0; k < n; ++k, pos += 8)
                layer.paths.back().emplace_back(floatAt(b, pos), floatAt(b, pos + 4));
        }
        layers.push_back(layer);
    }
    return layers;
}

double area(const std::vector<std::pair<float, float>> &path)
{
    double a = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto &p = path[i];
        const auto &q = path[(i + 1) % path.size()];
        a += double(p.first) * q.second - double(q.first) * p.second;
    }
    return a / 2;
}

class PackageTest : public ::testing::Test
{
  protected:
    QString path(const QString &name = QStringLiteral("out.vxpr")) const
    {
        return m_dir.filePath(name);
    }

    QByteArray exportBytes(const MeshList &meshes, const QString &thickness = "0.05",
                           int threads = 0)
    {
        SliceJob job;
        job.meshes = meshes;
        job.layerThickness = thickness;
        job.threadCount = threads;
        QString error;
        EXPECT_TRUE(exportVxpr(path(), job, nullptr, &error)) << error.toStdString();
        return testsupport::readFile(path());
    }

    QTemporaryDir m_dir;
};

struct SupportedCubeCase {
    const char *name;
    int baseMode;
    int method;         // 0: method A, 1: method B (the support factory)
    double minBaseArea; // method A's plate reaches out beyond the columns, method B's covers
                        // the columns and the model's outline
};

class SupportedCube : public PackageTest, public ::testing::WithParamInterface<SupportedCubeCase>
{
};

} // namespace

TEST_F(PackageTest, TenMillimetreCubeHas200LayersFrom0025To9975)
{
    const QByteArray b = exportBytes({meshFrom(boxTriangles(-5, -5, 0, 5, 5, 10))});
    ASSERT_GT(b.size(), kRecordsStart);
    EXPECT_EQ(intAt(b, 0), 54);
    EXPECT_EQ(intAt(b, 4), 22);
    EXPECT_EQ(b.mid(8, 22), QByteArray("Orvane Dlp Work Pacage"));
    EXPECT_EQ(intAt(b, 30), 1);
    EXPECT_FLOAT_EQ(floatAt(b, 34), 0.025f);
    EXPECT_FLOAT_EQ(floatAt(b, 38), 9.975f);
    EXPECT_FLOAT_EQ(floatAt(b, 42), 0.05f);
    EXPECT_EQ(intAt(b, 46), 200);
    EXPECT_EQ(b.mid(54, 256 + 3 * 196608), QByteArray(256 + 3 * 196608, '\0'));
    const std::vector<Layer> layers = layersOf(b);
    ASSERT_EQ(layers.size(), 200u);
    EXPECT_FLOAT_EQ(layers.front().z, 0.025f);
    EXPECT_FLOAT_EQ(layers.back().z, 9.975f);
    for (const Layer &l : layers) {
        ASSERT_EQ(l.paths.size(), 1u);
        EXPECT_NEAR(area(l.paths[0]), 100.0, 1e-3);
    }
    // 200 layers x 100 mm^2 x 0.05 mm = 1000 mm^3 = 1 ml.
    EXPECT_NEAR(floatAt(b, 50), 1.0f, 1e-5);
}

TEST_F(PackageTest, ModelEndingAt001MillimetreGetsOneLayer)
{
    const QByteArray b = exportBytes({meshFrom(boxTriangles(0, 0, 0, 10, 10, 0.01f))});
    EXPECT_EQ(intAt(b, 46), 1);
}

TEST_F(PackageTest, EmptySceneWritesHeaderAndPreviewsOnly)
{
    const QByteArray b = exportBytes({});
    EXPECT_EQ(b.size(), kRecordsStart);
    EXPECT_EQ(intAt(b, 46), 0);
}

TEST_F(PackageTest, HollowBoxLayerIsTheOutlineThenTheHole)
{
    const QByteArray b = exportBytes({meshFrom(slicingtest::hollowBoxTriangles())});
    const std::vector<Layer> layers = layersOf(b);
    ASSERT_EQ(layers.size(), 200u);
    const Layer &middle = layers[100];
    ASSERT_EQ(middle.paths.size(), 2u);
    EXPECT_NEAR(area(middle.paths[0]), 400.0, 1e-3);
    EXPECT_NEAR(area(middle.paths[1]), -100.0, 1e-3);
    EXPECT_EQ(layers[10].paths.size(), 1u);
    // 20 x 20 x 10 minus the 10 x 10 x 6 cavity: 3.4 ml.
    EXPECT_NEAR(floatAt(b, 50), 3.4f, 1e-4);
}

TEST_F(PackageTest, ShortPreviewLeavesTheRestOfItsSlotZero)
{
    SliceJob job;
    job.previewTop = QByteArray(1000, '\x7f');
    job.previewLeft = QByteArray(300000, '\x11');
    ASSERT_TRUE(exportVxpr(path(), job, nullptr, nullptr));
    const QByteArray b = testsupport::readFile(path());
    const int top = 310 + 196608;
    EXPECT_EQ(b.mid(310, 196608), QByteArray(196608, '\0'));
    EXPECT_EQ(b.mid(top, 1000), QByteArray(1000, '\x7f'));
    EXPECT_EQ(b.mid(top + 1000, 196608 - 1000), QByteArray(196608 - 1000, '\0'));
    EXPECT_EQ(b.mid(top + 196608, 196608), QByteArray(196608, '\x11'));
    EXPECT_EQ(b.size(), kRecordsStart);
}

TEST_F(PackageTest, SlcContoursFollowTheMeshPathsByLayerIndex)
{
    // 300 layers of 0.0625 mm (exact in binary): 300 SLC layers, more than the mesh's 200.
    const auto slc = slicingtest::slcSquares(300, 0.0625f, 2.0f);
    const QByteArray b = exportBytes({meshFrom(boxTriangles(10, 10, 0, 20, 20, 10)), slc});
    EXPECT_EQ(intAt(b, 46), 300);
    const std::vector<Layer> layers = layersOf(b);
    ASSERT_EQ(layers.size(), 300u);
    ASSERT_EQ(layers[5].paths.size(), 2u);
    EXPECT_NEAR(area(layers[5].paths[0]), 100.0, 1e-3);
    EXPECT_EQ(layers[5].paths[1].size(), 5u);
    EXPECT_EQ(layers[250].paths.size(), 1u);
    EXPECT_EQ(layers[250].paths[0].size(), 5u);
}

// ---- the program's engine writes what the plain engine writes ----------------------------

struct SceneCase {
    const char *name;
    MeshList (*make)();
    const char *thickness;
};

class SameBytes : public PackageTest, public ::testing::WithParamInterface<SceneCase>
{
};

TEST_P(SameBytes, AsThePlainEngineOnAnyThreadCount)
{
    const MeshList meshes = GetParam().make();
    const QByteArray expected =
        reference::referencePackage(meshes, QString(GetParam().thickness).toDouble());
    for (int threads : {1, 2, 3}) {
        const QByteArray actual = exportBytes(meshes, GetParam().thickness, threads);
        ASSERT_EQ(actual.size(), expected.size()) << threads << " threads";
        EXPECT_TRUE(actual == expected) << threads << " threads";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SameBytes,
    ::testing::Values(
        SceneCase{"Box", [] { return MeshList{meshFrom(boxTriangles(-5, -5, 0, 5, 5, 10))}; },
                  "0.05"},
        SceneCase{"HollowBox", [] { return MeshList{meshFrom(slicingtest::hollowBoxTriangles())}; },
                  "0.05"},
        SceneCase{"TubeThroughHole",
                  [] { return MeshList{meshFrom(slicingtest::tubeTriangles())}; }, "0.1"},
        SceneCase{
            "Sphere",
            [] { return MeshList{meshFrom(slicingtest::sphereTriangles(1, 2, 6, 6, 40, 56))}; },
            "0.035"},
        SceneCase{"TouchingParts",
                  [] {
                      return MeshList{meshFrom(boxTriangles(0, 0, 0, 10, 10, 8)),
                                      meshFrom(boxTriangles(10, 0, 0, 20, 10, 5)),
                                      meshFrom(boxTriangles(0, 10, 3, 10, 20, 12))};
                  },
                  "0.05"},
        SceneCase{"DegenerateFaces",
                  [] {
                      auto t = boxTriangles(0, 0, 0, 8, 8, 8);
                      t.push_back({{{0, 0, 1}, {4, 4, 1}, {8, 8, 1}}});         // collinear
                      t.push_back({{{1, 1, 1}, {1.01f, 1, 1}, {1, 1.01f, 7}}}); // melded corners
                      t.push_back(t[3]);                                        // duplicate
                      t.push_back({{{2, 2, 2}, {6, 2, 2}, {2, 6, 2}}});         // flat sliver
                      return MeshList{meshFrom(t)};
                  },
                  "0.05"},
        SceneCase{"MeshWithHoles",
                  [] {
                      auto t = slicingtest::sphereTriangles(0, 0, 5, 5, 20, 24);
                      t.erase(t.begin() + 200, t.begin() + 204);
                      t.erase(t.begin() + 500, t.begin() + 501);
                      auto box = boxTriangles(8, 0, 0, 12, 4, 6);
                      box.erase(box.begin() + 4, box.begin() + 6);
                      return MeshList{meshFrom(t), meshFrom(box)};
                  },
                  "0.05"},
        SceneCase{"MeshAndSlc",
                  [] {
                      return MeshList{meshFrom(boxTriangles(-3, -3, 0, 3, 3, 4)),
                                      slicingtest::slcSquares(120, 0.05f, 1.5f)};
                  },
                  "0.05"}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- volume ------------------------------------------------------------------------------

struct VolumeCase {
    const char *name;
    std::vector<testsupport::Triangle> (*make)();
};

class PackageVolume : public PackageTest, public ::testing::WithParamInterface<VolumeCase>
{
};

TEST_P(PackageVolume, MatchesTheMeshVolumeWithinOnePercent)
{
    const auto mesh = meshFrom(GetParam().make());
    const double expectedMl = mesh->volume() / 1000.0;
    ASSERT_GT(expectedMl, 0.0);
    const QByteArray b = exportBytes({mesh});
    EXPECT_NEAR(floatAt(b, 50), expectedMl, expectedMl * 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PackageVolume,
    ::testing::Values(
        VolumeCase{"Sphere", [] { return slicingtest::sphereTriangles(0, 0, 6, 6, 48, 64); }},
        VolumeCase{"SmallSphere", [] { return slicingtest::sphereTriangles(3, -2, 2, 2, 32, 48); }},
        VolumeCase{"HollowBox", slicingtest::hollowBoxTriangles},
        VolumeCase{"Tube", slicingtest::tubeTriangles},
        VolumeCase{"OddBox", [] { return boxTriangles(-1.3f, 0.7f, 0.02f, 4.1f, 3.3f, 7.77f); }}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- files, failures, cancel ------------------------------------------------------------

TEST_F(PackageTest, ReplacesALongerExistingFileCompletely)
{
    const MeshList cube{meshFrom(boxTriangles(-5, -5, 0, 5, 5, 10))};
    testsupport::writeFile(path(), QByteArray(3 * 1024 * 1024, '\xAB'));
    const QByteArray b = exportBytes(cube);
    EXPECT_EQ(b, reference::referencePackage(cube, 0.05));
}

TEST_F(PackageTest, UnwritableTargetIsAFailureWithAMessage)
{
    SliceJob job;
    job.meshes = {meshFrom(boxTriangles(0, 0, 0, 1, 1, 1))};
    for (const QString &target : {m_dir.filePath("missing/dir/out.vxpr"), m_dir.path()}) {
        QString error;
        EXPECT_FALSE(exportVxpr(target, job, nullptr, &error)) << target.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST_F(PackageTest, NonPositiveLayerThicknessIsRefused)
{
    SliceJob job;
    job.meshes = {meshFrom(boxTriangles(0, 0, 0, 1, 1, 1))};
    job.layerThickness = "0";
    QString error;
    EXPECT_FALSE(exportVxpr(path(), job, nullptr, &error));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(PackageTest, ProgressRunsFromPreparingThroughSlicingTo100)
{
    IProgressable root;
    QStringList stages;
    int last = -1;
    bool monotonic = true;
    root.setCallback([&](int percent, const QString &stage, bool) {
        if (!stages.contains(stage))
            stages.append(stage);
        monotonic = monotonic && percent >= last;
        last = percent;
    });
    SliceJob job;
    job.meshes = {meshFrom(slicingtest::sphereTriangles(0, 0, 5, 5, 40, 40))};
    ASSERT_TRUE(exportVxpr(path(), job, &root, nullptr));
    EXPECT_EQ(stages, (QStringList{"Slicing", "Preparing", "Slicing"}).mid(0, stages.size()));
    EXPECT_TRUE(stages.contains("Preparing"));
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(last, 100);
}

struct CancelCase {
    const char *name;
    bool keepPartial;
};

class PackageCancel : public PackageTest, public ::testing::WithParamInterface<CancelCase>
{
};

TEST_P(PackageCancel, StopsAndKeepsTheOldFileOrAValidShorterPackage)
{
    const QByteArray old("previous package");
    testsupport::writeFile(path(), old);
    IProgressable root;
    root.setCallback([&root](int percent, const QString &stage, bool) {
        if (stage == "Slicing" && percent >= 50)
            root.setCancel(true);
    });
    SliceJob job;
    job.meshes = {meshFrom(boxTriangles(-5, -5, 0, 5, 5, 10))};
    job.keepPartialOnCancel = GetParam().keepPartial;
    job.threadCount = 2;
    QString error;
    EXPECT_FALSE(exportVxpr(path(), job, &root, &error));
    EXPECT_EQ(error, "Canceled");
    const QByteArray b = testsupport::readFile(path());
    if (!GetParam().keepPartial) {
        EXPECT_EQ(b, old);
        return;
    }
    VxprInfo info;
    QString infoError;
    ASSERT_TRUE(readVxprInfo(path(), &info, &infoError)) << infoError.toStdString();
    EXPECT_EQ(info.layerCount, 200);
    EXPECT_GE(info.layerRecords, 1);
    EXPECT_LT(info.layerRecords, 200);
    EXPECT_NEAR(info.volumeMl, info.layerRecords * 100 * 0.05 / 1000, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Rows, PackageCancel,
                         ::testing::Values(CancelCase{"KeepOldFile", false},
                                           CancelCase{"KeepPartialPackage", true}),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- reading a package back ---------------------------------------------------------------

TEST_F(PackageTest, InfoReadsTheHeaderAndCountsTheRecords)
{
    exportBytes({meshFrom(boxTriangles(-5, -5, 0, 5, 5, 10))});
    VxprInfo info;
    QString error;
    ASSERT_TRUE(readVxprInfo(path(), &info, &error)) << error.toStdString();
    EXPECT_EQ(info.title, "Orvane Dlp Work Pacage");
    EXPECT_EQ(info.version, 1);
    EXPECT_FLOAT_EQ(info.firstSliceHeight, 0.025f);
    EXPECT_FLOAT_EQ(info.lastSliceHeight, 9.975f);
    EXPECT_FLOAT_EQ(info.layerThickness, 0.05f);
    EXPECT_EQ(info.layerCount, 200);
    EXPECT_EQ(info.layerRecords, 200);
    EXPECT_NEAR(info.volumeMl, 1.0, 1e-5);
    const QByteArray json = vxprInfoJson(info);
    EXPECT_TRUE(json.startsWith("{\"firstSliceHeight\":0.025"));
    EXPECT_TRUE(json.contains("\"layerRecords\":200"));
}

struct DamageCase {
    const char *name;
    QByteArray (*damage)(QByteArray);
};

class InfoRejects : public PackageTest, public ::testing::WithParamInterface<DamageCase>
{
};

TEST_P(InfoRejects, DamagedPackagesWithAMessage)
{
    const QByteArray good = exportBytes({meshFrom(boxTriangles(-5, -5, 0, 5, 5, 1))});
    QByteArray bad = GetParam().damage(good);
    QBuffer buffer(&bad);
    buffer.open(QIODevice::ReadOnly);
    VxprInfo info;
    QString error;
    EXPECT_FALSE(readVxprInfo(buffer, &info, &error));
    EXPECT_FALSE(error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InfoRejects,
    ::testing::Values(
        DamageCase{"CutInPreviews", [](QByteArray b) { return b.left(400000); }},
        DamageCase{"CutInsideARecord", [](QByteArray b) { return b.left(b.size() - 3); }},
        DamageCase{"WrongTitle", [](QByteArray b) { return b.replace(8, 6, "Wrongo"); }},
        DamageCase{
            "HugePathCount",
            [](QByteArray b) { return b.replace(kRecordsStart + 4, 4, "\xff\xff\xff\x7f"); }},
        DamageCase{
            "NegativePointCount",
            [](QByteArray b) { return b.replace(kRecordsStart + 8, 4, "\xff\xff\xff\xff"); }},
        DamageCase{"MoreRecordsThanStated",
                   [](QByteArray b) { return b.replace(46, 4, QByteArray("\x01\0\0\0", 4)); }},
        DamageCase{"Empty", [](QByteArray) { return QByteArray(); }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DlpSliceManager, StartsFromTheDefaultsAndWarnsOnlyForNewKeys)
{
    DlpSliceManager manager;
    EXPECT_EQ(manager.settings().settings().size(), 37u);
    EXPECT_EQ(manager.settings().getSettingString("magic_mesh_surface_mode"), "normal");
    EXPECT_EQ(manager.settings().getSettingInMicrons("LayerThicknessX"), 50);
    manager.SetSliceConfig("LayerThicknessX", "0.1");
    EXPECT_EQ(manager.settings().getSettingInMicrons("LayerThicknessX"), 100);
}

// Supports reach the package: a 10 mm cube lifted 5 mm gets a base plate at the bottom (at least
// as wide as the cube), separate columns above the plate, and the cube's own square above them,
// by either method.
TEST_P(SupportedCube, PackageHoldsBaseColumnsThenModel)
{
    auto cube = testsupport::soupBoxModel(-5, -5, 0, 5, 5, 10);
    SupportParameters params = slicingtest::mediumSupportParams(GetParam().baseMode);
    params.method = GetParam().method;
    const SupportJobResult supports = generateSupportsForModel(*cube, params, nullptr);
    ASSERT_TRUE(supports.ok) << supports.error.toStdString();
    ASSERT_GT(supports.overhangs, 4);

    DScene scene;
    scene.addModels({cube});
    const std::vector<std::shared_ptr<Mesh3D>> printMeshes = scene.printMeshes();
    const std::vector<Layer> layers =
        layersOf(exportBytes(MeshList(printMeshes.begin(), printMeshes.end())));
    ASSERT_EQ(layers.size(), 300u);

    auto layerArea = [](const Layer &layer) {
        double total = 0;
        for (const auto &path : layer.paths)
            total += area(path);
        return total;
    };
    const Layer &inBase = layers[10];  // z = 0.525
    const Layer &columns = layers[60]; // z = 3.025, above the plate and below the tips
    const Layer &model = layers[200];  // z = 10.025, inside the lifted cube
    if (GetParam().baseMode == 1) {
        EXPECT_GT(layerArea(inBase), GetParam().minBaseArea) << "a plate under the footprint";
        EXPECT_LT(inBase.paths.size(), columns.paths.size());
    } else {
        EXPECT_EQ(inBase.paths.size(), columns.paths.size()) << "no plate: columns only";
    }
    EXPECT_GT(columns.paths.size(), 4u);
    EXPECT_LT(layerArea(columns), 100.0);
    EXPECT_NEAR(layerArea(model), 100.0, 0.5);
}

INSTANTIATE_TEST_SUITE_P(PackageTest, SupportedCube,
                         ::testing::Values(SupportedCubeCase{"WithBase", 1, 0, 150.0},
                                           SupportedCubeCase{"WithoutBase", 2, 0, 0.0},
                                           SupportedCubeCase{"MethodBWithBase", 1, 1, 100.0},
                                           SupportedCubeCase{"MethodBWithoutBase", 2, 1, 0.0}),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- Repeated faces, as real files carry them: the package is the clean mesh's.

struct DuplicateCase {
    const char *name;
    std::vector<testsupport::Triangle> clean;
    std::function<std::vector<testsupport::Triangle>(std::vector<testsupport::Triangle>)> damage;
};

class RepeatedFaces : public PackageTest, public ::testing::WithParamInterface<DuplicateCase>
{
};

TEST_P(RepeatedFaces, SliceLikeTheCleanMesh)
{
    const DuplicateCase &c = GetParam();
    const QByteArray clean = exportBytes({meshFrom(c.clean)});
    const QByteArray damaged = exportBytes({meshFrom(c.damage(c.clean))});
    ASSERT_GT(layersOf(clean).size(), 0u);
    EXPECT_TRUE(damaged == clean) << "the repeated faces changed the package";
    for (const Layer &layer : layersOf(damaged))
        ASSERT_FALSE(layer.paths.empty()) << "an outline vanished at z " << layer.z;
}

std::vector<testsupport::Triangle> withCopies(std::vector<testsupport::Triangle> t, int copies)
{
    const std::vector<testsupport::Triangle> once = t;
    for (int i = 0; i < copies; ++i)
        t.insert(t.end(), once.begin(), once.end());
    return t;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RepeatedFaces,
    ::testing::Values(
        DuplicateCase{"CubePlusOneRepeatedSideTriangle", boxTriangles(0, 0, 0, 10, 10, 10),
                      [](std::vector<testsupport::Triangle> t) {
                          t.push_back(t[4]);
                          return t;
                      }},
        DuplicateCase{"RepeatStartingAtAnotherCorner", boxTriangles(0, 0, 0, 10, 10, 10),
                      [](std::vector<testsupport::Triangle> t) {
                          const testsupport::Triangle f = t[6];
                          t.push_back({f[1], f[2], f[0]});
                          return t;
                      }},
        DuplicateCase{"TwoCopiesOfTheCubeInOneFile", boxTriangles(0, 0, 0, 10, 10, 10),
                      [](std::vector<testsupport::Triangle> t) { return withCopies(t, 1); }},
        // Linear in the copies: this took about a minute when every copy was sliced.
        DuplicateCase{"TwoThousandCopiesOfTheCube", boxTriangles(0, 0, 0, 10, 10, 10),
                      [](std::vector<testsupport::Triangle> t) { return withCopies(t, 1999); }},
        DuplicateCase{"TenRepeatedFacesOfASphere",
                      slicingtest::sphereTriangles(0, 0, 10, 10, 60, 100),
                      [](std::vector<testsupport::Triangle> t) {
                          for (size_t i = 0; i < 10; ++i)
                              t.push_back(t[t.size() / 3 + i * 37]);
                          return t;
                      }}),
    [](const ::testing::TestParamInfo<DuplicateCase> &info) { return info.param.name; });
