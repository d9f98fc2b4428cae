#include "geometry/DScene.h"
#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/DIoPartBase.h"
#include "io/DPlavinIoManager.h"
#include "io/IImportHost.h"
#include "io/PartImport.h"
#include "testsupport/SoupMesh.h"
#include "testsupport/TestFiles.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{

std::shared_ptr<Model> cubeModel(float side)
{
    return testsupport::soupBoxModel(0, 0, 3, side, side, 3 + side);
}

// Held open by the test until released; polls the cancel flag like the real readers.
std::atomic<bool> g_gateOpen{true};
// Set while a reader waits at the closed gate.
std::atomic<bool> g_atGate{false};

// Reads "<n>.cube" as an n mm cube, "broken.*" as a malformed file, "gate.*" as a cube once
// the gate opens; everything else has no reader.
class FakeReader : public DIoPartBase
{
  public:
    std::shared_ptr<Mesh3D> read() override
    {
        const QFileInfo info(fileName());
        if (info.baseName() == QLatin1String("broken"))
            throw DIoError("Face found with less three indices.");
        if (info.baseName() == QLatin1String("gate")) {
            while (!g_gateOpen.load()) {
                g_atGate = true;
                if (isCancelled())
                    return nullptr;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            if (isCancelled())
                return nullptr;
            return cubeModel(5);
        }
        report(50, 100);
        return cubeModel(info.baseName().toFloat());
    }
};

std::unique_ptr<DIoPartBase> fakeFactory(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == QLatin1String("cube") || suffix == QLatin1String("stl"))
        return std::make_unique<FakeReader>();
    return nullptr;
}

class SceneHost : public IImportHost
{
  public:
    void beginLoad() override
    {
        ++begun;
        loading = true;
    }
    void clearSelection() override { scene.clearSelection(); }
    ModelList sceneModels() const override { return scene.models(); }
    void addModelsToScene(const ModelList &models) override { scene.addModels(models); }
    void endLoad() override { loading = false; }
    PlatformSize platformSize() const override { return platform; }

    DScene scene;
    PlatformSize platform;
    int begun = 0;
    bool loading = false;
};

class ImportManager : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_gateOpen = true;
        manager.setReaderFactory(fakeFactory);
    }
    void TearDown() override
    {
        g_gateOpen = true;
        manager.waitForIdle();
    }
    // Waits for loadFinished (already emitted counts).
    bool finished(QSignalSpy &spy) { return spy.count() > 0 || spy.wait(5000); }

    SceneHost host;
    DPlavinIoManager manager{&host};
};

TEST_F(ImportManager, GoodFilesReachTheSceneAndBrokenOnesAreNamed)
{
    QSignalSpy done(&manager, &DModelIoManager::loadFinished);
    QSignalSpy failed(&manager, &DModelIoManager::loadFailed);
    ASSERT_TRUE(manager.importParts({"/p/10.cube", "/p/broken.stl", "/p/notes.txt", "/p/4.cube"}));
    ASSERT_TRUE(finished(done));

    EXPECT_EQ(host.scene.models().size(), 2u);
    EXPECT_FALSE(host.loading);
    EXPECT_FALSE(manager.isLoading());
    ASSERT_EQ(failed.count(), 1);
    const auto failures = failed.at(0).at(0).value<ImportFailures>();
    ASSERT_EQ(failures.size(), 2);
    EXPECT_EQ(failures[0].text(),
              QStringLiteral("broken.stl: Face found with less three indices."));
    EXPECT_EQ(failures[1].path, QStringLiteral("/p/notes.txt"));
    EXPECT_EQ(failures[1].reason, unknownPartTypeMessage());
    EXPECT_EQ(host.scene.models().front()->name(), QStringLiteral("10.cube"));
}

TEST_F(ImportManager, EveryFileBrokenStillEndsTheLoad)
{
    QSignalSpy done(&manager, &DModelIoManager::loadFinished);
    ASSERT_TRUE(manager.importParts({"/p/broken.stl"}));
    ASSERT_TRUE(finished(done));
    EXPECT_TRUE(host.scene.isEmpty());
    EXPECT_FALSE(host.loading);
    EXPECT_TRUE(manager.importParts({"/p/1.cube"}));
}

TEST_F(ImportManager, CubeLandsAtTheRightEdgeOfThePlatform)
{
    QSignalSpy done(&manager, &DModelIoManager::loadFinished);
    ASSERT_TRUE(manager.importParts({"/p/10.cube"}));
    ASSERT_TRUE(finished(done));
    ASSERT_EQ(host.scene.models().size(), 1u);
    const Box3f &b = host.scene.models().front()->boundingBox();
    EXPECT_FLOAT_EQ(b.min.x, 38.0f);
    EXPECT_FLOAT_EQ(b.max.x, 48.0f);
    EXPECT_FLOAT_EQ(b.min.y, -4.5f);
    EXPECT_FLOAT_EQ(b.max.y, 5.5f);
    EXPECT_FLOAT_EQ(b.min.z, 0.0f);
    EXPECT_FLOAT_EQ(b.max.z, 10.0f);
    EXPECT_EQ(host.scene.currentModel(), host.scene.models().front());
}

TEST_F(ImportManager, SecondLoadGoesBesideTheFirst)
{
    QSignalSpy done(&manager, &DModelIoManager::loadFinished);
    ASSERT_TRUE(manager.importParts({"/p/10.cube"}));
    ASSERT_TRUE(finished(done));
    ASSERT_TRUE(manager.importParts({"/p/6.cube"}));
    ASSERT_TRUE(done.count() > 1 || done.wait(5000));
    EXPECT_FLOAT_EQ(host.scene.models().back()->boundingBox().max.x, 38.0f);
    // Only the new model is selected after the load.
    EXPECT_EQ(host.scene.selection(), DScene::ModelList{host.scene.models().back()});
}

TEST_F(ImportManager, SceneChangedDuringTheLoadIsHonoured)
{
    g_gateOpen = false;
    QSignalSpy done(&manager, &DModelIoManager::loadFinished);
    ASSERT_TRUE(manager.importParts({"/p/gate.stl"}));
    // The user adds a model while the part loads.
    host.scene.addModels({cubeModel(10)});
    host.scene.models().front()->transform(translationMatrix(-20, 0, -3));
    g_gateOpen = true;
    ASSERT_TRUE(finished(done));
    ASSERT_EQ(host.scene.models().size(), 2u);
    EXPECT_FLOAT_EQ(host.scene.models().back()->boundingBox().max.x, -20.0f);
}

TEST_F(ImportManager, OnlyOneLoadAtATime)
{
    g_gateOpen = false;
    QSignalSpy done(&manager, &DModelIoManager::loadFinished);
    ASSERT_TRUE(manager.importParts({"/p/gate.stl"}));
    EXPECT_TRUE(manager.isLoading());
    EXPECT_FALSE(manager.importParts({"/p/3.cube"}));
    EXPECT_FALSE(manager.importProject("/p/x.vxpj"));
    EXPECT_EQ(host.begun, 1);
    g_gateOpen = true;
    ASSERT_TRUE(finished(done));
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(host.scene.models().size(), 1u);
    EXPECT_TRUE(manager.importParts({"/p/3.cube"}));
}

TEST_F(ImportManager, CancelKeepsTheModelsReadBeforeItAndAllowsTheNextLoad)
{
    QSignalSpy done(&manager, &DModelIoManager::loadFinished);
    ASSERT_TRUE(manager.importParts({"/p/10.cube"}));
    ASSERT_TRUE(finished(done));
    const ModelList before = host.scene.models();
    const Box3f boxBefore = before.front()->boundingBox();

    g_gateOpen = false;
    g_atGate = false;
    ASSERT_TRUE(manager.importParts({"/p/2.cube", "/p/gate.stl", "/p/3.cube"}));
    // Cancel while the second file is being read: the first is complete, the third never read.
    for (int i = 0; i < 5000 && !g_atGate.load(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(g_atGate.load());
    manager.cancel();
    ASSERT_TRUE(done.count() > 1 || done.wait(5000));
    ASSERT_EQ(host.scene.models().size(), 2u);
    EXPECT_EQ(host.scene.models().front(), before.front());
    const Box3f kept = host.scene.models().back()->boundingBox();
    EXPECT_FLOAT_EQ(kept.max.x - kept.min.x, 2.0f) << "the 2 mm cube read before the cancel";
    EXPECT_FLOAT_EQ(before.front()->boundingBox().min.x, boxBefore.min.x);
    EXPECT_FALSE(host.loading);
    EXPECT_FALSE(manager.isLoading());

    g_gateOpen = true;
    ASSERT_TRUE(manager.importParts({"/p/4.cube"}));
    ASSERT_TRUE(done.count() > 2 || done.wait(5000));
    EXPECT_EQ(host.scene.models().size(), 3u);
}

TEST_F(ImportManager, FileProgressRunsInThirds)
{
    QList<int> percents;
    std::mutex m;
    manager.setCallback([&](int p, const QString &, bool) {
        std::lock_guard<std::mutex> lock(m);
        percents << p;
    });
    QSignalSpy done(&manager, &DModelIoManager::loadFinished);
    ASSERT_TRUE(manager.importParts({"/p/1.cube", "/p/2.cube", "/p/3.cube"}));
    ASSERT_TRUE(finished(done));
    // Each fake read reports half of its file: 0 + 33/2, 33 + 33/2, 66 + 33/2.
    EXPECT_EQ(percents, (QList<int>{16, 49, 82}));
}

TEST_F(ImportManager, MissingProjectIsReportedAndEndsTheLoad)
{
    QSignalSpy done(&manager, &DModelIoManager::loadFinished);
    QSignalSpy failed(&manager, &DModelIoManager::loadFailed);
    ASSERT_TRUE(manager.importProject("/nonexistent/dir/x.vxpj"));
    ASSERT_TRUE(finished(done));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_FALSE(failed.at(0).at(0).value<ImportFailures>().front().reason.isEmpty());
    EXPECT_TRUE(host.scene.isEmpty());
}

TEST(ImportManagerLifetime, DestroyingDuringALoadDoesNotHang)
{
    g_gateOpen = false;
    SceneHost host;
    {
        DModelIoManager manager(&host);
        manager.setReaderFactory(fakeFactory);
        ASSERT_TRUE(manager.importParts({"/p/gate.stl"}));
    }
    g_gateOpen = true;
    EXPECT_TRUE(host.scene.isEmpty());
}

TEST(ImportFailureText, NamesTheFileWithoutItsFolderOrGivesTheReasonAlone)
{
    EXPECT_EQ((ImportFailure{QStringLiteral("/p/q/part.obj"), QStringLiteral("bad face")}).text(),
              QStringLiteral("part.obj: bad face"));
    EXPECT_EQ((ImportFailure{QString(), QStringLiteral("Not enough memory")}).text(),
              QStringLiteral("Not enough memory"));
}

TEST(HeadlessImport, TwoCubesEndOneBehindTheOtherOnThePlatform)
{
    const ImportResult result =
        importPartsHeadless({"/p/10.cube", "/p/10.cube"}, PlatformSize{}, nullptr, fakeFactory);
    ASSERT_EQ(result.models.size(), 2u);
    const Box3f a = result.models.front()->boundingBox();
    const Box3f b = result.models.back()->boundingBox();
    EXPECT_FLOAT_EQ(a.min.x, 38.0f);
    EXPECT_FLOAT_EQ(b.min.x, 38.0f);
    EXPECT_FLOAT_EQ(a.min.y, -9.5f);
    EXPECT_FLOAT_EQ(b.min.y, 0.5f);
    EXPECT_EQ(result.inBounds, (std::vector<bool>{true, true}));
}

TEST(HeadlessImport, BoundsFollowThePlatformSizeAndFailuresAreListed)
{
    const ImportResult result = importPartsHeadless(
        {"/p/30.cube", "/p/broken.stl"}, PlatformSize{40, 20, 100}, nullptr, fakeFactory);
    ASSERT_EQ(result.models.size(), 1u);
    EXPECT_EQ(result.inBounds, std::vector<bool>{false});
    ASSERT_EQ(result.failures.size(), 1);
    EXPECT_EQ(result.failures[0].path, QStringLiteral("/p/broken.stl"));
}

TEST(HeadlessImport, RealStlFileIsPlaced)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cube.stl");
    testsupport::writeFile(path,
                           testsupport::binaryStl(testsupport::boxTriangles(5, 5, 5, 15, 15, 15)));
    const ImportResult result = importPartsHeadless({path});
    ASSERT_EQ(result.models.size(), 1u);
    const Box3f b = result.models.front()->boundingBox();
    EXPECT_FLOAT_EQ(b.min.x, 38.0f);
    EXPECT_FLOAT_EQ(b.max.y, 5.5f);
    EXPECT_FLOAT_EQ(b.min.z, 0.0f);
    EXPECT_EQ(result.models.front()->baseName(), QStringLiteral("cube.stl"));
}

} // namespace
