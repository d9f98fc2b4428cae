#include "io/DIoError.h"
#include "io/DIoVXPJ.h"
#include "io/DVxpjSerializeHelperV5.h"
#include "io/tests/VxpjTestData.h"

#include "geometry/IProgressable.h"
#include "geometry/MeshGroupRecord.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <set>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace vxpjtest;

namespace
{

using ModelList = std::vector<std::shared_ptr<Model>>;

// A scene with everything a project keeps: two mesh models (one with overhangs, manual
// supports and non-default parameters) and an SLC contour model.
ModelList fullScene()
{
    auto a = boxModel(QStringLiteral("Bracket"));
    a->setOverhangsFlag(true);
    a->overhangs().push_back(
        std::make_shared<Overhang>(Point3f{1, 2, 0.5f}, Vec3f{0, 0, -1}, 0.3f, 0.2f));
    a->overhangs().push_back(
        std::make_shared<Overhang>(Point3f{7, 3, 0.5f}, Vec3f{0.6f, 0, -0.8f}, 0.35f, 0.15f));
    Vxpj::Rod rod;
    rod.top = {2, 2, 5};
    rod.topRadius = 0.25f;
    rod.bottom = {2, 2, 0};
    rod.bottomRadius = 0.3f;
    rod.rodTopRadius = 0.1f;
    rod.rodBottomRadius = 0.4f;
    rod.flag = true;
    testRodCodec().fromRods({rod}, a->manualSupports());
    SupportParameters &p = a->supportParameters();
    p.method = 1;
    p.supportRadius = 0.2f;
    p.baseExtern = 3.0f;
    p.baseHeight = 1.0f;
    p.overhangRadius = 0.3f;
    p.supportGaps = 2.5f;
    p.supportHeight = 6.0f;
    p.baseMode = 2;
    p.hasSupports = true;
    p.linkPointRadius = 0.2f;
    a->setHasSupports(true);

    auto b = boxModel(QStringLiteral("Deer"), 20.0f);
    return {a, b, contourModel(QStringLiteral("rings.slc"))};
}

QByteArray savedBytes(const ModelList &models)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    DVxpjSerializeHelperV5 writer(&buffer, models);
    writer.setRodCodec(testRodCodec());
    EXPECT_TRUE(writer.save()) << writer.errorMessage().toStdString();
    return buffer.data();
}

ModelList loadBytes(const QByteArray &bytes)
{
    DIoVXPJ io;
    io.setRodCodec(testRodCodec());
    io.setData(bytes);
    return io.read();
}

void saveFile(const QString &path, const ModelList &models, IProgressable *progress = nullptr)
{
    DIoVXPJ io;
    io.setRodCodec(testRodCodec());
    io.setFileName(path);
    io.setProgress(progress);
    io.write(models);
}

// The message of the DIoError that saving throws, or an empty text when saving succeeds.
QString saveError(const QString &path, const ModelList &models)
{
    try {
        saveFile(path, models);
    } catch (const DIoError &e) {
        return e.message();
    }
    return {};
}

class VxpjFileTest : public ::testing::Test
{
  protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QStringList folderEntries() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST(VxpjRoundTrip, SceneComesBackWithGeometryPointsParametersAndNames)
{
    const ModelList saved = fullScene();
    const ModelList loaded = loadBytes(savedBytes(saved));
    ASSERT_EQ(loaded.size(), saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        const Model &s = *saved[i];
        const Model &l = *loaded[i];
        SCOPED_TRACE(s.baseName().toStdString());
        EXPECT_EQ(l.baseName(), s.baseName());
        EXPECT_EQ(l.sourceKind(), s.sourceKind());
        EXPECT_EQ(l.vertices(), s.vertices());
        EXPECT_EQ(l.faces(), s.faces());
        EXPECT_TRUE(l.isIndexed());
        EXPECT_EQ(l.faceNormals().size(), l.faces().size());
        EXPECT_EQ(l.boundingBox().min, s.boundingBox().min);
        EXPECT_EQ(l.boundingBox().max, s.boundingBox().max);
        EXPECT_EQ(l.size(), l.extent());
        if (s.sourceKind() == SourceKind::Mesh) {
            EXPECT_EQ(l.supportParameters(), s.supportParameters());
            EXPECT_EQ(l.hasSupports(), s.hasSupports());
            EXPECT_EQ(l.overhangsFlag(), s.overhangsFlag());
            ASSERT_TRUE(l.support()) << "a loaded model is ready for new supports";
            EXPECT_TRUE(l.support()->parts.empty());
        }
        ASSERT_EQ(l.overhangs().size(), s.overhangs().size());
        for (std::size_t k = 0; k < s.overhangs().size(); ++k) {
            EXPECT_EQ(l.overhangs()[k]->position(), s.overhangs()[k]->position());
            EXPECT_EQ(l.overhangs()[k]->direction(), s.overhangs()[k]->direction());
            EXPECT_EQ(l.overhangs()[k]->overhangRadius(), s.overhangs()[k]->overhangRadius());
            EXPECT_EQ(l.overhangs()[k]->linkPointRadius(), s.overhangs()[k]->linkPointRadius());
        }
        const auto savedRods = testRodCodec().toRods(s.manualSupports());
        const auto loadedRods = testRodCodec().toRods(l.manualSupports());
        ASSERT_EQ(loadedRods.size(), savedRods.size());
        for (std::size_t k = 0; k < savedRods.size(); ++k) {
            EXPECT_EQ(loadedRods[k].top, savedRods[k].top);
            EXPECT_EQ(loadedRods[k].topRadius, savedRods[k].topRadius);
            EXPECT_EQ(loadedRods[k].bottom, savedRods[k].bottom);
            EXPECT_EQ(loadedRods[k].bottomRadius, savedRods[k].bottomRadius);
            EXPECT_EQ(loadedRods[k].rodTopRadius, savedRods[k].rodTopRadius);
            EXPECT_EQ(loadedRods[k].rodBottomRadius, savedRods[k].rodBottomRadius);
            EXPECT_EQ(loadedRods[k].flag, savedRods[k].flag);
        }
    }
    const SlcModel &slc = *loaded[2]->contourData();
    const SlcModel &orig = *saved[2]->contourData();
    EXPECT_EQ(slc.layerThickness, orig.layerThickness);
    EXPECT_EQ(slc.minZ, orig.minZ);
    EXPECT_EQ(slc.maxZ, orig.maxZ);
    EXPECT_EQ(slc.layers, orig.layers);
    EXPECT_TRUE(loaded[2]->faces().empty());
}

TEST(VxpjRoundTrip, SavingALoadedProjectGivesTheSameBytes)
{
    const QByteArray first = savedBytes(fullScene());
    EXPECT_EQ(savedBytes(loadBytes(first)), first);
}

TEST(VxpjLayout, EmptySceneIsHeaderAndReservedBlockOnly)
{
    FileBuilder expected;
    expected.header(5, 0);
    EXPECT_EQ(savedBytes({}), expected.data());
    EXPECT_EQ(expected.size(), 42 + 256);
}

TEST(VxpjLayout, MeshModelIsWrittenFieldByField)
{
    auto m = std::make_shared<Model>();
    m->setBaseName(QStringLiteral("Tri"));
    m->vertices() = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    m->faces() = {Face{{0, 1, 2}}};
    m->overhangs().push_back(
        std::make_shared<Overhang>(Point3f{4, 5, 6}, Vec3f{0, 0, -1}, 0.5f, 0.125f));

    FileBuilder expected;
    expected.header(5, 1).i32(0);                                               // mesh model
    expected.u8(0).i32(1).point(0, 0, -1).point(4, 5, 6).f32(0.5f).f32(0.125f); // overhangs
    expected.i32(0);                                                            // manual supports
    expected.u8(0).f32(0.1f).f32(2.5f).f32(1.5f).f32(0.25f).f32(4.0f).f32(5.0f).i32(1);
    expected.zeros(4).u8(0).f32(0.25f).i32(0); // parameters
    expected.triangleGeometry();
    expected.string("Tri");
    EXPECT_EQ(savedBytes({m}), expected.data());
}

TEST(VxpjLayout, TwoModelsAreTwoRecordsThenTwoNames)
{
    const QByteArray bytes =
        savedBytes({boxModel(QStringLiteral("A")), boxModel(QStringLiteral("BB"), 20)});
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 38), 2);
    EXPECT_TRUE(bytes.endsWith(FileBuilder().string("A").string("BB").data()));
}

TEST_F(VxpjFileTest, SaveToPathReplacesTheFileAndLoadsBack)
{
    const QString file = path(QStringLiteral("scene.vxpj"));
    testsupport::writeFile(file, "previous");
    ModelList scene{boxModel(QStringLiteral("A"))};
    Vxpj::saveProject(file, scene);
    const ModelList loaded = Vxpj::loadProject(file);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0]->vertices(), scene[0]->vertices());
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("scene.vxpj")});
}

TEST_F(VxpjFileTest, CancelledSaveKeepsThePreviousFile)
{
    const QString file = path(QStringLiteral("scene.vxpj"));
    Vxpj::saveProject(file, {boxModel(QStringLiteral("Old"))});
    const QByteArray before = testsupport::readFile(file);

    IProgressable root;
    std::vector<std::pair<int, QString>> reports;
    root.setCallback([&](int percent, const QString &stage, bool) {
        reports.emplace_back(percent, stage);
        if (stage == Vxpj::stageSaveTopology())
            root.setCancel(true);
    });
    try {
        saveFile(file, fullScene(), &root);
        FAIL() << "the cancelled save reported success";
    } catch (const DIoError &e) {
        EXPECT_EQ(e.message(), Vxpj::writeCancelled());
    }
    EXPECT_EQ(testsupport::readFile(file), before);
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("scene.vxpj")});
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), std::make_pair(100, Vxpj::stageDone()));
}

TEST_F(VxpjFileTest, SaveIntoAMissingFolderFailsWithOpenError)
{
    const QString error = saveError(path(QStringLiteral("no/such/folder/a.vxpj")), fullScene());
    EXPECT_TRUE(error.startsWith(Vxpj::openWriteError())) << error.toStdString();
}

#ifdef Q_OS_UNIX
TEST_F(VxpjFileTest, SaveIntoAReadOnlyFolderKeepsThePreviousFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind root";
    const QString file = path(QStringLiteral("scene.vxpj"));
    saveFile(file, {boxModel(QStringLiteral("Old"))});
    const QByteArray before = testsupport::readFile(file);
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QString error = saveError(file, fullScene());
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(error.startsWith(Vxpj::openWriteError())) << error.toStdString();
    EXPECT_EQ(testsupport::readFile(file), before);
}

TEST_F(VxpjFileTest, DiskFullMidwayKeepsThePreviousFile)
{
    const QString file = path(QStringLiteral("scene.vxpj"));
    saveFile(file, {boxModel(QStringLiteral("Old"))});
    const QByteArray before = testsupport::readFile(file);

    // A model of ~240 kB against a file size limit of 64 kB: the write fails part way.
    auto big = boxModel(QStringLiteral("Big"));
    for (int i = 0; i < 10000; ++i) {
        big->vertices().push_back({float(i), 1, 2});
        big->faces().push_back(Face{{0, 1, 2}});
    }
    struct rlimit old {
    };
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit limited = old;
    limited.rlim_cur = 64 * 1024;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const QString error = saveError(file, {big});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(error.startsWith(QStringLiteral("Vxpj file write error"))) << error.toStdString();
    EXPECT_EQ(testsupport::readFile(file), before);
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("scene.vxpj")});
}

#endif

TEST_F(VxpjFileTest, ManualSupportsWithoutAConverterAreNotSilentlyDropped)
{
    DIoVXPJ io;
    io.setRodCodec({});
    io.setFileName(path(QStringLiteral("a.vxpj")));
    EXPECT_THROW(io.write(fullScene()), DIoError);
    EXPECT_TRUE(folderEntries().isEmpty());
}

TEST_F(VxpjFileTest, LoadReportsStagesAndEndsAtHundred)
{
    const QString file = path(QStringLiteral("scene.vxpj"));
    saveFile(file, fullScene());
    IProgressable root;
    std::set<QString> stages;
    int last = -1;
    root.setCallback([&](int percent, const QString &stage, bool) {
        stages.insert(stage);
        last = percent;
    });
    DIoVXPJ io;
    io.setRodCodec(testRodCodec());
    io.setFileName(file);
    io.setProgress(&root);
    EXPECT_EQ(io.read().size(), 3u);
    EXPECT_TRUE(stages.count(Vxpj::stageLoadPoints()));
    EXPECT_TRUE(stages.count(Vxpj::stageLoadTopology()));
    EXPECT_EQ(last, 100);
}

TEST_F(VxpjFileTest, CancelledLoadFailsWithCanceled)
{
    const QString file = path(QStringLiteral("scene.vxpj"));
    saveFile(file, fullScene());
    IProgressable root;
    root.setCancel(true);
    DIoVXPJ io;
    io.setFileName(file);
    io.setProgress(&root);
    try {
        io.read();
        FAIL() << "a cancelled load returned models";
    } catch (const DIoError &e) {
        EXPECT_EQ(e.message(), Vxpj::readCancelled());
    }
}

TEST_F(VxpjFileTest, OrvaneSuffixIsAProjectWhenItsHeaderSaysSo)
{
    const QString project = path(QStringLiteral("scene.orvane"));
    saveFile(project, {boxModel(QStringLiteral("A"))});
    const QString other = path(QStringLiteral("notes.orvane"));
    testsupport::writeFile(other, QByteArray(400, 'x'));
    EXPECT_TRUE(Vxpj::isProjectPath(project));
    EXPECT_FALSE(Vxpj::isProjectPath(other));
    EXPECT_TRUE(Vxpj::isProjectPath(path(QStringLiteral("whatever.VXPJ"))));
    EXPECT_FALSE(Vxpj::isProjectPath(path(QStringLiteral("part.stl"))));
    EXPECT_EQ(Vxpj::loadProject(project).size(), 1u);
}

TEST_F(VxpjFileTest, SuccessfulSaveEndsWithSuccessSavedAtHundred)
{
    IProgressable root;
    std::vector<std::pair<int, QString>> reports;
    root.setCallback(
        [&](int percent, const QString &stage, bool) { reports.emplace_back(percent, stage); });
    saveFile(path(QStringLiteral("one.vxpj")), {boxModel(QStringLiteral("A"))}, &root);
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.back(), std::make_pair(100, Vxpj::stageDone()));
    EXPECT_EQ(reports[reports.size() - 2].second, Vxpj::stageSaveTopology());
}
