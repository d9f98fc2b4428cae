#include "app/DlpOrvaneApp.h"
#include "app/CEnvironmentColors.h"
#include "app/DescriptionCipher.h"
#include "app/EAppEvent.h"
#include "app/EnvironmentSetup.h"
#include "geometry/Model.h"
#include "geometry/Overhang.h"
#include "io/DIoError.h"
#include "io/DIoVXPJ.h"
#include "io/DModelIoManager.h"
#include "testsupport/SoupMesh.h"
#include "testsupport/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{

using namespace Orvane3Ds;

std::shared_ptr<Model> cube(float x0, float y0, float z0, float side)
{
    auto model = testsupport::soupBoxModel(x0, y0, z0, x0 + side, y0 + side, z0 + side);
    model->setBaseName(QStringLiteral("a"));
    return model;
}

class AppTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QCoreApplication::setOrganizationName(QStringLiteral("OrvaneTest"));
        QCoreApplication::setApplicationName(QStringLiteral("ResinorTest"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_root.filePath("settings"));
        QDir().mkpath(install("config"));
        QDir().mkpath(install("Orvane Cfgs"));
        testsupport::writeFile(install("config/v0.dsc"), "shipped description");
        testsupport::writeFile(install("Orvane Cfgs/light.ini"), "[support]\nshipped=1\n");
        testsupport::writeFile(install("Orvane Cfgs/heavy.ini"), "[support]\nshipped=1\n");
    }

    QString install(const QString &rel) const { return m_root.filePath("install/" + rel); }
    QString appData() const { return m_root.filePath("appdata"); }
    std::unique_ptr<DlpOrvaneApp> makeApp()
    {
        auto app = std::make_unique<DlpOrvaneApp>(nullptr, appData(), m_root.filePath("install"));
        app->setWarningHandler(
            [this](const QString &title, const QString &text) { warnings << title + "/" + text; });
        return app;
    }
    bool waitLoaded(DlpOrvaneApp &app)
    {
        for (int i = 0; i < 500 && app.isLoadRunning(); ++i)
            QSignalSpy(&app, &DSharedApp::loadFinished).wait(10);
        return !app.isLoadRunning();
    }

    QTemporaryDir m_root;
    QStringList warnings;
};

TEST_F(AppTest, FirstStartPreparesFoldersAndSettings)
{
    auto app = makeApp();
    const QString user = appData() + "/Orvane/Resinor";
    EXPECT_EQ(app->userDir(), user);
    EXPECT_TRUE(QFileInfo(user + "/Orvane Cfgs/light.ini").isFile());
    EXPECT_TRUE(QFileInfo(user + "/Temp").isDir());
    EXPECT_EQ(testsupport::readFile(user + "/v0.dsc"), QByteArray("shipped description"));
    EXPECT_EQ(app->controlDatabase(), appData() + "/Mirrowen/control.db");
    EXPECT_TRUE(app->runDir().startsWith(user + "/Temp/"));

    QSettings settings;
    EXPECT_EQ(settings.value("ui/accuracys").toString(), QStringLiteral("0.025:0.035:0.05:0.1"));
    EXPECT_EQ(settings.value("map/ScreenShotFront").toString(), appData() + "/front.dat");
    EXPECT_EQ(settings.value("map/ScreenShotTop").toString(), appData() + "/top.dat");
    EXPECT_EQ(settings.value("map/ScreenShotLeft").toString(), appData() + "/left.dat");
}

TEST_F(AppTest, EditedUserProfileIsKeptAndDescriptionReplaced)
{
    const QString user = appData() + "/Orvane/Resinor";
    QDir().mkpath(user + "/Orvane Cfgs");
    testsupport::writeFile(user + "/Orvane Cfgs/light.ini", "edited");
    testsupport::writeFile(user + "/v0.dsc", "old");
    auto app = makeApp();
    EXPECT_EQ(testsupport::readFile(user + "/Orvane Cfgs/light.ini"), QByteArray("edited"));
    EXPECT_TRUE(QFileInfo(user + "/Orvane Cfgs/heavy.ini").isFile());
    EXPECT_EQ(testsupport::readFile(user + "/v0.dsc"), QByteArray("shipped description"));
}

TEST_F(AppTest, MissingShippedDescriptionFailsThePathSetUpOnly)
{
    QFile::remove(install("config/v0.dsc"));
    auto app = makeApp();
    EXPECT_FALSE(app->setApplicationPath(appData()));
    EXPECT_EQ(app->userDir(), appData() + "/Orvane/Resinor");
}

TEST(COrvaneAppConfig, RunDirectoryNameHasNoPadding)
{
    EXPECT_EQ(COrvaneAppConfig::runDirName(QDateTime(QDate(2019, 3, 4), QTime(5, 6, 7))),
              QStringLiteral("201934567"));
}

TEST(AppEventSubscribers, CalledInRegistrationOrderByName)
{
    AppEventSubscribers events;
    QStringList calls;
    events.subscribe(
        "window", [&](EAppEvent e, const QString &t) { calls << QString("w%1%2").arg(e).arg(t); });
    events.subscribe("panel",
                     [&](EAppEvent e, const QString &) { calls << QString("p%1").arg(e); });
    events.subscribe("window",
                     [&](EAppEvent e, const QString &) { calls << QString("W%1").arg(e); });
    events.emitEvent(OutsidePlatform, "x");
    EXPECT_EQ(calls, (QStringList{"W6", "p6"}));
    EXPECT_TRUE(events.unsubscribe("window"));
    EXPECT_FALSE(events.unsubscribe("window"));
    EXPECT_EQ(events.names(), QStringList{"panel"});
}

TEST_F(AppTest, SceneChangesReportBoundsAndStatistics)
{
    auto app = makeApp();
    QStringList events;
    app->subscribe(
        "test", [&](EAppEvent e, const QString &t) { events << QString("%1:%2").arg(e).arg(t); });
    app->addModelsToScene({cube(-5, -5, 0, 10)});
    EXPECT_EQ(events, (QStringList{"0:", "5:", "1:"}));
    EXPECT_EQ(app->statistics().layerCount, 100);

    events.clear();
    app->addModelsToScene({cube(40, 0, 0, 10)});
    EXPECT_EQ(events, (QStringList{"0:", "6:wfMainWarmingBreakUp", "1:"}));
}

TEST_F(AppTest, PrintAndExportAreRefusedWithTheirMessages)
{
    auto app = makeApp();
    app->onProcessPrintWithThread(true);
    app->onExportPrintData(true);
    EXPECT_EQ(warnings, (QStringList{"Tip/NoModel", "Tip/noModelInScene!"}));

    app->addModelsToScene({cube(0, 0, 0, 5)});
    std::atomic<bool> release{false};
    app->setPrintJob([&release] {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    warnings.clear();
    app->onProcessPrintWithThread(true);
    EXPECT_TRUE(app->isPrintRunning());
    app->onProcessPrintWithThread(true);
    EXPECT_EQ(warnings, QStringList{"Tip/isRuning"});
    release = true;
}

TEST_F(AppTest, CopiesAreNumberedLaidOutAndPlacedLeftOfTheScene)
{
    auto app = makeApp();
    auto original = cube(0, 0, 0, 10);
    app->addModelsToScene({original});
    app->scene().clearSelection();
    app->scene().select(original);
    app->copyModels(3, 5);

    const ModelList models = app->scene().models();
    ASSERT_EQ(models.size(), 4u);
    QStringList names;
    std::vector<Box3f> boxes;
    for (const auto &m : models) {
        names << m->name();
        if (m != original)
            boxes.push_back(m->boundingBox());
    }
    EXPECT_EQ(names, (QStringList{"a", "a(1)", "a(2)", "a(3)"}));
    EXPECT_EQ(app->scene().selection().size(), 3u);
    for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_LE(boxes[i].max.x, original->boundingBox().min.x + 1e-4f);
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const float gapX =
                std::max(boxes[j].min.x - boxes[i].max.x, boxes[i].min.x - boxes[j].max.x);
            const float gapY =
                std::max(boxes[j].min.y - boxes[i].max.y, boxes[i].min.y - boxes[j].max.y);
            EXPECT_GE(std::max(gapX, gapY), 5.0f - 1e-4f);
        }
    }
}

TEST_F(AppTest, DroppedPartsAndProjectAreBothOpened)
{
    const QString stl = m_root.filePath("part.stl");
    testsupport::writeFile(stl,
                           testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 10, 10, 10)));
    const QString project = m_root.filePath("scene.vxpj");
    auto saved = cube(-30, 0, 0, 4);
    saved->setIndexed(true);
    Vxpj::saveProject(project, {saved});

    auto app = makeApp();
    QSignalSpy failed(app.get(), &DSharedApp::importFailed);
    EXPECT_TRUE(app->openDroppedFiles({stl, project, m_root.filePath("other.vxpj")}));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).value<ImportFailures>().front().path,
              m_root.filePath("other.vxpj"));

    for (int i = 0; i < 500 && app->scene().models().size() < 2; ++i)
        QSignalSpy(app.get(), &DSharedApp::loadFinished).wait(10);
    ASSERT_TRUE(waitLoaded(*app));
    ASSERT_EQ(app->scene().models().size(), 2u);
    EXPECT_EQ(app->scene().models().front()->name(), QStringLiteral("part.stl"));
    EXPECT_FALSE(app->isLoading());
    EXPECT_EQ(QSettings().value("path/lastImportPath").toString(), m_root.path());
}

TEST_F(AppTest, DroppedProjectIsRecognisedWhateverTheCaseOfItsSuffix)
{
    auto saved = cube(-30, 0, 0, 4);
    saved->setIndexed(true);
    for (const char *name : {"SCENE.VXPJ", "Scene.Orvane"}) {
        const QString project = m_root.filePath(name);
        Vxpj::saveProject(project, {saved});
        auto app = makeApp();
        QSignalSpy failed(app.get(), &DSharedApp::importFailed);
        ASSERT_TRUE(app->openDroppedFiles({project})) << name;
        ASSERT_TRUE(waitLoaded(*app));
        EXPECT_EQ(failed.count(), 0) << name;
        ASSERT_EQ(app->scene().models().size(), 1u) << name;
        EXPECT_EQ(app->scene().models().front()->triangleCount(), 12u) << name;
    }
}

TEST_F(AppTest, ProjectWhoseSupportsCannotBeBuiltIsOpenedAndTheFailureListed)
{
    // A support diameter of 0: its supports cannot be generated again when the project opens.
    auto saved = cube(0, 0, 5, 10);
    saved->setIndexed(true);
    saved->overhangs().push_back(
        std::make_shared<Overhang>(Point3f{5, 5, 5}, Vec3f{0, 0, -1}, 0.25f, 0.25f));
    saved->supportParameters().supportRadius = 0.0f;
    const QString project = m_root.filePath("no-diameter.vxpj");
    Vxpj::saveProject(project, {saved});

    auto app = makeApp();
    QSignalSpy failed(app.get(), &DSharedApp::importFailed);
    QSignalSpy done(app.get(), &DSharedApp::loadFinished);
    ASSERT_TRUE(app->getImportManager()->importProject(project));
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(app->scene().models().size(), 1u);
    ASSERT_EQ(failed.count(), 1);
    const ImportFailures failures = failed.at(0).at(0).value<ImportFailures>();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].text().startsWith("no-diameter.vxpj: Supports of a"))
        << failures[0].text().toStdString();
    EXPECT_TRUE(failures[0].text().contains("support diameter of 0"))
        << failures[0].text().toStdString();
}

TEST_F(AppTest, MethodBProjectOpensWithItsSupports)
{
    auto saved = cube(0, 0, 5, 10);
    saved->setIndexed(true);
    saved->overhangs().push_back(
        std::make_shared<Overhang>(Point3f{5, 5, 5}, Vec3f{0, 0, -1}, 0.25f, 0.25f));
    saved->supportParameters().method = 1;
    const QString project = m_root.filePath("method-b.vxpj");
    Vxpj::saveProject(project, {saved});

    auto app = makeApp();
    QSignalSpy failed(app.get(), &DSharedApp::importFailed);
    QSignalSpy done(app.get(), &DSharedApp::loadFinished);
    ASSERT_TRUE(app->getImportManager()->importProject(project));
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(failed.count(), 0);
    ASSERT_EQ(app->scene().models().size(), 1u);
    const auto &model = app->scene().models().front();
    ASSERT_TRUE(model->support());
    EXPECT_FALSE(model->support()->parts.empty());
}

TEST_F(AppTest, BrokenFileIsNamedAndGoodOnesArrive)
{
    const QString good = m_root.filePath("good.stl");
    testsupport::writeFile(good,
                           testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 10, 10, 10)));
    const QString broken = m_root.filePath("broken.obj");
    testsupport::writeFile(broken, "v 0 0 0\nv 1 0 0\nf 1 2\n");
    auto app = makeApp();
    QStringList events;
    app->subscribe(
        "test", [&](EAppEvent e, const QString &t) { events << QString("%1:%2").arg(e).arg(t); });
    QSignalSpy failed(app.get(), &DSharedApp::importFailed);
    QSignalSpy done(app.get(), &DSharedApp::loadFinished);
    ASSERT_TRUE(app->getImportManager()->importParts({good, broken}));
    EXPECT_TRUE(app->isLoading());
    ASSERT_TRUE(done.wait(10000));
    EXPECT_FALSE(app->isLoading());
    EXPECT_EQ(app->scene().models().size(), 1u);
    ASSERT_EQ(failed.count(), 1);
    const ImportFailures failures = failed.at(0).at(0).value<ImportFailures>();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].text().startsWith("broken.obj: ")) << failures[0].text().toStdString();
    EXPECT_EQ(events.value(0), QStringLiteral("2:0,0,true"));
    EXPECT_TRUE(events.contains("0:"));
}

TEST_F(AppTest, SaveAfterACancelledLoadWritesTheProject)
{
    const QString stl = m_root.filePath("part.stl");
    testsupport::writeFile(stl,
                           testsupport::binaryStl(testsupport::boxTriangles(0, 0, 0, 10, 10, 10)));
    auto app = makeApp();
    ASSERT_TRUE(app->getImportManager()->importParts({stl}));
    ASSERT_TRUE(waitLoaded(*app));
    ASSERT_EQ(app->scene().models().size(), 1u);

    // A second load, cancelled: whether it ends before or after the cancel, the flag stays set.
    ASSERT_TRUE(app->getImportManager()->importParts({stl}));
    app->onCancelProcess();
    ASSERT_TRUE(waitLoaded(*app));
    ASSERT_TRUE(app->isCancelled());
    const size_t models = app->scene().models().size();

    const QString project = m_root.filePath("saved.vxpj");
    QString error;
    EXPECT_TRUE(app->onSerialScene(project, &error)) << error.toStdString();
    EXPECT_FALSE(app->isCancelled());
    std::vector<std::shared_ptr<Model>> loaded;
    try {
        loaded = Vxpj::loadProject(project);
    } catch (const DIoError &e) {
        FAIL() << e.message().toStdString();
    }
    EXPECT_EQ(loaded.size(), models);
}

// A save the user asked for that cannot be written names the file and says why.
struct SaveFailureCase {
    const char *name;
    bool (DlpOrvaneApp::*save)(QString, QString *);
    const char *fileName;
    const char *reasonStart;
};

class AppSaveFailure : public AppTest, public ::testing::WithParamInterface<SaveFailureCase>
{
};

TEST_P(AppSaveFailure, NamesTheFileAndTheReason)
{
    auto app = makeApp();
    app->addModelsToScene({cube(0, 0, 0, 10)});
    QSignalSpy failed(app.get(), &DSharedApp::importFailed);
    const QString path = m_root.filePath(QStringLiteral("missing/folder/") + GetParam().fileName);
    QString error;
    // The call itself says that it failed and why; nothing goes round through the load signal.
    EXPECT_FALSE((app.get()->*GetParam().save)(path, &error));
    EXPECT_EQ(failed.count(), 0);
    EXPECT_TRUE(error.startsWith(QStringLiteral("%1: %2").arg(
        QLatin1String(GetParam().fileName), QLatin1String(GetParam().reasonStart))))
        << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path));
}

INSTANTIATE_TEST_SUITE_P(
    Saves, AppSaveFailure,
    ::testing::Values(SaveFailureCase{"ModelExport", &DlpOrvaneApp::onExportModel, "scene.stl",
                                      "Open scence file error"},
                      SaveFailureCase{"ProjectSave", &DlpOrvaneApp::onSerialScene, "scene.vxpj",
                                      "Vxpj file open error"}),
    [](const auto &info) { return std::string(info.param.name); });

class AppColourTest : public AppTest
{
  protected:
    void writeDescription(const QByteArray &xml)
    {
        testsupport::writeFile(install("config/v0.dsc"), Orvane3Ds::encodeDescription(xml));
    }
    void loadFiles(DlpOrvaneApp &app)
    {
        testsupport::writeFile(install("config/color.ini"),
                               "GRAY=0.5,0.5,0.5\nORANGE=1,0.5,0\nBLUE=0,0,1\n");
        Orvane3Ds::loadEnvironmentFiles(colors(), app, app.colorFile(), app.descriptionFile());
    }
    static Orvane3Ds::CEnvironmentColors &colors()
    {
        return Orvane3Ds::CEnvironmentColors::instance();
    }
    // The colours are process-wide: each test leaves them as it found them.
    void SetUp() override
    {
        AppTest::SetUp();
        m_roles = colors().roleColors();
        m_scheme = colors().schemeName();
    }
    void TearDown() override
    {
        colors().setRoleColors(m_roles);
        colors().setSchemeName(m_scheme);
    }

    std::array<Vec3f, Orvane3Ds::CEnvironmentColors::RoleCount> m_roles{};
    QString m_scheme;
};

TEST_F(AppColourTest, FirstSupplyOfTheFinestPrecisionColoursTheScene)
{
    writeDescription("<Version value=\"1\"><Precision value=\"0.05\"><Item name=\"ColorBlue\"/>"
                     "</Precision><Precision value=\"0.1\"><Item name=\"ColorBrown\"/>"
                     "<Item name=\"ColorGray\"/></Precision></Version>");
    auto app = makeApp();
    loadFiles(*app);
    app->onInitialEnvColor();
    EXPECT_EQ(app->selectedSupply().color, QStringLiteral("ColorBrown"));
    app->setSelectEnvironmentColor();
    EXPECT_EQ(colors().schemeName(), QStringLiteral("ColorBrown"));
    const Vec3f model = colors().roleColor(0);
    EXPECT_FLOAT_EQ(model.x, 1.0f);
    EXPECT_FLOAT_EQ(model.y, 0.5f);
    EXPECT_FLOAT_EQ(model.z, 0.0f);
    EXPECT_FLOAT_EQ(colors().roleColor(1).z, 1.0f);
}

TEST_F(AppColourTest, UnknownSchemeLeavesTheColoursAsTheyWere)
{
    writeDescription("<Version value=\"1\"><Precision value=\"0.1\"><Item name=\"ColorPlaid\"/>"
                     "</Precision></Version>");
    auto app = makeApp();
    loadFiles(*app);
    app->onInitialEnvColor();
    ASSERT_TRUE(colors().applyScheme(QStringLiteral("ColorGray")));
    app->setSelectEnvironmentColor();
    EXPECT_EQ(colors().schemeName(), QStringLiteral("ColorGray"));
    EXPECT_FLOAT_EQ(colors().roleColor(0).x, 0.5f);
}

TEST_F(AppTest, PreviewPicturesGoThroughTheInstalledWriter)
{
    auto app = makeApp();
    app->onCutFramebuffer(1); // no writer yet: logged, nothing else happens
    std::vector<int> views;
    app->setPreviewWriter([&views](int view) {
        views.push_back(view);
        return view != 2;
    });
    for (int view = 0; view < 3; ++view)
        app->onCutFramebuffer(view);
    EXPECT_EQ(views, (std::vector<int>{0, 1, 2}));
}

} // namespace
