#include "app/CommandStack.h"
#include "app/Command.h"
#include "app/DlpOrvaneApp.h"
#include "app/EAppEvent.h"
#include "app/ModelPlacementCommand.h"
#include "app/ModelState.h"
#include "app/OneAddSupportCommand.h"
#include "app/OneRemoveSupportCommand.h"
#include "app/ScaleModelCommand.h"
#include "geometry/Model.h"
#include "io/DModelIoManager.h"
#include "supports/ManualSupportRecord.h"
#include "supports/ManualSupportSettings.h"
#include "testsupport/SoupMesh.h"
#include "testsupport/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

namespace
{

using ModelPtr = std::shared_ptr<Model>;

// Rotation by `degrees` about an axis through the origin (right-hand sense).
Matrix4f rotation(const Vec3f &axis, float degrees)
{
    const Vec3f a = axis.normalized();
    const float r = degrees * 0.017453292f;
    const float c = std::cos(r), s = std::sin(r), t = 1.0f - c;
    Matrix4f m = identityMatrix();
    m[0] = t * a.x * a.x + c;
    m[1] = t * a.x * a.y + s * a.z;
    m[2] = t * a.x * a.z - s * a.y;
    m[4] = t * a.x * a.y - s * a.z;
    m[5] = t * a.y * a.y + c;
    m[6] = t * a.y * a.z + s * a.x;
    m[8] = t * a.x * a.z + s * a.y;
    m[9] = t * a.y * a.z - s * a.x;
    m[10] = t * a.z * a.z + c;
    return m;
}

void restOnPlatform(Model &model)
{
    model.recomputeBounds();
    model.transform(translationMatrix(0.0f, 0.0f, -model.boundingBox().min.z));
}

// Everything of a scene that undo must give back exactly.
struct SceneImage {
    struct Entry {
        ModelPtr model;
        QByteArray vertices;
        QByteArray normals;
        std::vector<std::shared_ptr<Overhang>> overhangs;
        QByteArray overhangBytes;
        std::shared_ptr<Support> support;
        QByteArray supportBytes;
        std::vector<std::shared_ptr<Mesh3D>> manualParts;
        QByteArray manualBytes;
        Vec3f size;
        Vec3f scale;
    };
    std::vector<Entry> entries;

    // The triangles where they are printed: points, balls and rods drawing a shared shape hold
    // none of their own.
    static QByteArray bytesOf(const Mesh3D &item)
    {
        Mesh3D scratch;
        const Mesh3D &mesh = placedTriangles(item, scratch);
        return QByteArray(reinterpret_cast<const char *>(mesh.vertices().data()),
                          int(mesh.vertices().size() * sizeof(Point3f))) +
               QByteArray(reinterpret_cast<const char *>(mesh.faceNormals().data()),
                          int(mesh.faceNormals().size() * sizeof(Vec3f)));
    }

    static SceneImage of(const DScene &scene)
    {
        SceneImage image;
        for (const auto &m : scene.models()) {
            Entry e;
            e.model = m;
            e.vertices = QByteArray(reinterpret_cast<const char *>(m->vertices().data()),
                                    int(m->vertices().size() * sizeof(Point3f)));
            e.normals = QByteArray(reinterpret_cast<const char *>(m->faceNormals().data()),
                                   int(m->faceNormals().size() * sizeof(Vec3f)));
            e.overhangs = m->overhangs();
            for (const auto &p : m->overhangs())
                e.overhangBytes += bytesOf(*p);
            e.support = m->support();
            if (m->support())
                for (const auto &part : m->support()->parts)
                    e.supportBytes += bytesOf(*part);
            e.manualParts = m->manualSupports().parts;
            for (const auto &part : e.manualParts)
                e.manualBytes += bytesOf(*part);
            e.size = m->size();
            e.scale = m->scale();
            image.entries.push_back(std::move(e));
        }
        return image;
    }

    // Empty when equal, else what differs.
    std::string differenceTo(const SceneImage &o) const
    {
        if (entries.size() != o.entries.size())
            return "model count " + std::to_string(entries.size()) + " vs " +
                   std::to_string(o.entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const Entry &a = entries[i];
            const Entry &b = o.entries[i];
            const std::string at = " of model " + std::to_string(i);
            if (a.model != b.model)
                return "model object" + at;
            if (a.vertices != b.vertices)
                return "vertices" + at;
            if (a.normals != b.normals)
                return "face normals" + at;
            if (a.overhangs.size() != b.overhangs.size() || a.overhangBytes != b.overhangBytes)
                return "overhang points" + at;
            if (a.supportBytes != b.supportBytes || bool(a.support) != bool(b.support))
                return "supports" + at;
            if (a.manualParts != b.manualParts || a.manualBytes != b.manualBytes)
                return "hand-placed supports" + at;
            if (std::memcmp(&a.size, &b.size, sizeof(Vec3f)) ||
                std::memcmp(&a.scale, &b.scale, sizeof(Vec3f)))
                return "size or scale" + at;
        }
        return {};
    }
};

class CommandTest : public ::testing::Test
{
  public:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QCoreApplication::setOrganizationName(QStringLiteral("OrvaneTest"));
        QCoreApplication::setApplicationName(QStringLiteral("ResinorTest"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_root.filePath("settings"));
        QDir().mkpath(m_root.filePath("install/config"));
        testsupport::writeFile(m_root.filePath("install/config/v0.dsc"), "description");
        m_app = std::make_unique<DlpOrvaneApp>(nullptr, m_root.filePath("appdata"),
                                               m_root.filePath("install"));
        m_app->subscribe(QStringLiteral("test"), [this](Orvane3Ds::EAppEvent e, const QString &t) {
            if (e == Orvane3Ds::CommandRecorded)
                m_recorded << t;
        });
        // Two parts as an import leaves them: on the platform, side by side, the second selected.
        auto a = testsupport::soupBoxModel(-30.0f, -5.0f, 0.0f, -18.0f, 5.0f, 7.0f);
        a->setBaseName(QStringLiteral("a"));
        a->setSize(a->extent());
        auto b = testsupport::soupBoxModel(0.0f, -8.0f, 0.0f, 9.5f, 4.0f, 13.0f);
        b->setBaseName(QStringLiteral("b"));
        b->setSize(b->extent());
        m_app->addModelsToScene({a, b});
        m_a = a;
        m_b = b;
    }

    DScene &scene() { return m_app->scene(); }

    // A support of one block under the model and an overhang point at its lowest corner, added
    // the way the support code records it.
    void addSupports(const ModelPtr &model)
    {
        auto before = ModelState::capture(*model);
        model->recomputeBounds();
        const Box3f box = model->boundingBox();
        const float lift = 2.5f;
        model->transform(translationMatrix(0.0f, 0.0f, lift));
        auto point = std::make_shared<Overhang>(
            Point3f{box.min.x + 1.0f, box.min.y + 1.0f, box.min.z + lift}, Vec3f{0, 0, -1}, 0.4f,
            0.3f);
        scene().addOverhangPoint(point, model);
        auto support = std::make_shared<Support>();
        support->parts.push_back(testsupport::soupBoxModel(
            box.min.x, box.min.y, 0.0f, box.min.x + 2.0f, box.min.y + 2.0f, lift));
        scene().setSupports(support, model);
        m_app->recordCommand(std::make_shared<OneAddSupportCommand>(
            m_app->commandTarget(), nullptr, model, before, OverhangList{point}, 0.0f, lift));
    }

    void removeSupports(const ModelPtr &model)
    {
        auto command =
            std::make_shared<OneRemoveSupportCommand>(m_app->commandTarget(), nullptr, model, 2.5f);
        scene().removeOverhangPoints(model->overhangs());
        scene().discardSupports(model);
        restOnPlatform(*model);
        command->finish();
        m_app->recordCommand(command);
    }

    // Two hand-placed rods under the model, one leaning, as a project brings them.
    void addRods(const ModelPtr &model)
    {
        const Box3f box = model->boundingBox();
        auto record = std::make_shared<ManualSupportRecord>();
        model->manualSupports().shared = record;
        std::vector<std::shared_ptr<Mesh3D>> pieces;
        for (const float lean : {0.0f, 1.5f}) {
            ManualSupportSettings s;
            s.topPoint = {box.min.x + 1.0f, box.min.y + 1.0f + lean, box.min.z + 0.5f};
            s.bottomPoint = {box.min.x + 1.0f + lean, box.min.y + 1.0f, 0.0f};
            ManualSupportRecord::addRod(record, pieces, s, model);
        }
        for (const auto &piece : pieces)
            scene().addManualPiece(piece, model);
    }

    // A recorded placement change of the selected models.
    void place(const char *name, const std::function<void(Model &)> &change)
    {
        auto command = std::make_shared<ModelPlacementCommand>(name, m_app->commandTarget(),
                                                               scene().selection());
        for (const auto &model : scene().selection())
            change(*model);
        command->finish();
        m_app->recordCommand(command);
    }

    void move()
    {
        place(CommandName::MoveModel,
              [](Model &m) { m.transform(translationMatrix(3.3f, -1.7f, 0.0f)); });
    }
    void rotate()
    {
        place(CommandName::RotateModel, [](Model &m) {
            m.computeCentroid();
            const Point3f c = m.centroid();
            m.transform(multiply(
                translationMatrix(c.x, c.y, c.z),
                multiply(rotation({1, 0, 0}, 37.0f), translationMatrix(-c.x, -c.y, -c.z))));
            restOnPlatform(m);
        });
    }
    void layFlat()
    {
        place(CommandName::LayFlat, [](Model &m) {
            m.computeCentroid();
            const Point3f c = m.centroid();
            m.transform(multiply(
                translationMatrix(c.x, c.y, c.z),
                multiply(rotation({0, 1, 0}, 90.0f), translationMatrix(-c.x, -c.y, -c.z))));
            restOnPlatform(m);
        });
    }

    QTemporaryDir m_root;
    std::unique_ptr<DlpOrvaneApp> m_app;
    ModelPtr m_a;
    ModelPtr m_b;
    QStringList m_recorded;
};

// ---- the stack ---------------------------------------------------------------------------------

class NamedCommand : public Command
{
  public:
    NamedCommand(const char *name, int *runs = nullptr) : Command(name, nullptr), m_runs(runs) {}
    void redo() override
    {
        if (m_runs)
            ++*m_runs;
    }
    void undo() override
    {
        if (m_runs)
            --*m_runs;
    }
    bool isApplicable() const override { return applicable; }
    std::size_t bytes() const override { return size; }
    bool applicable = true;
    std::size_t size = 0;

  private:
    int *m_runs;
};

TEST(CommandStack, firstPushLeavesThePreviousNameEmptySecondSetsIt)
{
    CommandStack stack;
    stack.push(std::make_shared<NamedCommand>("ScaleModel"));
    EXPECT_EQ(stack.previousName(), nullptr);
    EXPECT_STREQ(stack.lastName(), "ScaleModel");
    stack.push(std::make_shared<NamedCommand>("AddSupport"));
    EXPECT_STREQ(stack.previousName(), "ScaleModel");
    EXPECT_STREQ(stack.lastName(), "AddSupport");
    EXPECT_EQ(stack.undoList().size(), 2u);
}

TEST(CommandStack, pushEmptiesTheRedoList)
{
    CommandStack stack;
    stack.push(std::make_shared<NamedCommand>("a"));
    EXPECT_TRUE(stack.redoList().empty());
    stack.push(std::make_shared<NamedCommand>("b"));
    ASSERT_TRUE(stack.undo());
    EXPECT_EQ(stack.redoList().size(), 1u);
    EXPECT_STREQ(stack.redoName(), "b");
    stack.push(std::make_shared<NamedCommand>("c"));
    EXPECT_TRUE(stack.redoList().empty());
    EXPECT_FALSE(stack.canRedo());
    EXPECT_STREQ(stack.undoName(), "c");
}

TEST(CommandStack, undoAndRedoRunTheCommandsInOrder)
{
    CommandStack stack;
    int runs = 2;
    stack.push(std::make_shared<NamedCommand>("a", &runs));
    stack.push(std::make_shared<NamedCommand>("b", &runs));
    EXPECT_TRUE(stack.undo());
    EXPECT_TRUE(stack.undo());
    EXPECT_FALSE(stack.undo());
    EXPECT_EQ(runs, 0);
    EXPECT_STREQ(stack.redoName(), "a");
    EXPECT_TRUE(stack.redo());
    EXPECT_STREQ(stack.redoName(), "b");
    EXPECT_TRUE(stack.redo());
    EXPECT_FALSE(stack.redo());
    EXPECT_EQ(runs, 2);
}

TEST(CommandStack, commandsThatCanNoLongerActAreDroppedNotRun)
{
    CommandStack stack;
    int runs = 0;
    stack.push(std::make_shared<NamedCommand>("kept", &runs));
    auto stale = std::make_shared<NamedCommand>("stale", &runs);
    stack.push(stale);
    stale->applicable = false;
    EXPECT_STREQ(stack.undoName(), "kept");
    EXPECT_TRUE(stack.undo());
    EXPECT_EQ(runs, -1);
    EXPECT_TRUE(stack.undoList().empty());
}

TEST(CommandStack, oldestCommandsGoWhenTheByteBudgetIsExceeded)
{
    CommandStack stack;
    stack.setByteBudget(100);
    for (const char *name : {"a", "b", "c"}) {
        auto c = std::make_shared<NamedCommand>(name);
        c->size = 40;
        stack.push(c);
    }
    ASSERT_EQ(stack.undoList().size(), 2u);
    EXPECT_STREQ(stack.undoList().front()->name(), "b");
    auto huge = std::make_shared<NamedCommand>("huge");
    huge->size = 1000;
    stack.push(huge);
    ASSERT_EQ(stack.undoList().size(), 1u) << "the newest change is always kept";
    EXPECT_STREQ(stack.undoName(), "huge");
}

// ---- recording -----------------------------------------------------------------------------

TEST_F(CommandTest, scaleSendsEventSevenWithTheCommandName)
{
    ASSERT_TRUE(m_app->scaleModel(m_b, 2.0f, 2.0f, 2.0f));
    ASSERT_EQ(m_recorded.size(), 1);
    EXPECT_EQ(m_recorded.first(), QStringLiteral("Undo, ,ScaleModel"));
    EXPECT_STREQ(m_app->commandStack().lastName(), "ScaleModel");
    m_b->recomputeBounds();
    EXPECT_FLOAT_EQ(m_b->boundingBox().min.z, 0.0f);
    EXPECT_FLOAT_EQ(m_b->extent().z, 26.0f);
    EXPECT_FLOAT_EQ(m_b->extent().x, 19.0f);
}

TEST_F(CommandTest, scaleByZeroOrNonNumbersIsRefused)
{
    const SceneImage before = SceneImage::of(scene());
    EXPECT_FALSE(m_app->scaleModel(m_b, 0.0f, 1.0f, 1.0f));
    EXPECT_FALSE(m_app->scaleModel(m_b, 1.0f, -2.0f, 1.0f));
    EXPECT_FALSE(m_app->scaleModel(m_b, 1.0f, 1.0f, std::nanf("")));
    EXPECT_FALSE(m_app->scaleModel(m_b, 1.0f, INFINITY, 1.0f));
    EXPECT_EQ(SceneImage::of(scene()).differenceTo(before), "");
    EXPECT_TRUE(m_app->commandStack().undoList().empty());
}

TEST_F(CommandTest, scaleUndoThenRedoRestsOnThePlatformBothTimes)
{
    ASSERT_TRUE(m_app->scaleModel(m_b, 1.3f, 0.7f, 1.9f));
    const SceneImage scaled = SceneImage::of(scene());
    ASSERT_TRUE(m_app->undoCommand());
    m_b->recomputeBounds();
    EXPECT_EQ(m_b->boundingBox().min.z, 0.0f);
    ASSERT_TRUE(m_app->redoCommand());
    m_b->recomputeBounds();
    EXPECT_EQ(m_b->boundingBox().min.z, 0.0f);
    EXPECT_EQ(SceneImage::of(scene()).differenceTo(scaled), "");
}

TEST_F(CommandTest, undoNamesTheChangeAndANewChangeClearsRedo)
{
    QSignalSpy changed(m_app.get(), &DSharedApp::commandsChanged);
    move();
    rotate();
    EXPECT_STREQ(m_app->commandStack().undoName(), "RotateModel");
    ASSERT_TRUE(m_app->undoCommand());
    EXPECT_STREQ(m_app->commandStack().redoName(), "RotateModel");
    EXPECT_STREQ(m_app->commandStack().undoName(), "MoveModel");
    layFlat();
    EXPECT_FALSE(m_app->commandStack().canRedo());
    EXPECT_GE(changed.count(), 4);
}

TEST_F(CommandTest, loadingAProjectClearsBothLists)
{
    move();
    rotate();
    ASSERT_TRUE(m_app->undoCommand());
    ASSERT_TRUE(m_app->commandStack().canUndo());
    ASSERT_TRUE(m_app->commandStack().canRedo());
    const QString project = m_root.filePath("p.vxpj");
    m_app->onExportScene(project);
    ASSERT_TRUE(m_app->getImportManager()->importProject(project));
    m_app->getImportManager()->waitForIdle();
    EXPECT_FALSE(m_app->commandStack().canUndo());
    EXPECT_FALSE(m_app->commandStack().canRedo());
}

TEST_F(CommandTest, aProjectThatCannotBeReadKeepsTheHistory)
{
    move();
    const QString broken = m_root.filePath("broken.vxpj");
    testsupport::writeFile(broken, "not a project");
    ASSERT_TRUE(m_app->getImportManager()->importProject(broken));
    m_app->getImportManager()->waitForIdle();
    EXPECT_STREQ(m_app->commandStack().undoName(), "MoveModel");
}

TEST_F(CommandTest, undoOfADeleteBringsTheModelBackInItsPlace)
{
    scene().clearSelection();
    scene().select(m_a);
    m_app->deleteSelectedModels();
    ASSERT_EQ(scene().models().size(), 1u);
    EXPECT_FALSE(scene().isSelected(m_a)) << "a deleted model does not stay selected";
    ASSERT_TRUE(m_app->undoCommand());
    ASSERT_EQ(scene().models().size(), 2u);
    EXPECT_EQ(scene().models().front(), m_a);
    EXPECT_TRUE(scene().isSelected(m_a));
}

TEST_F(CommandTest, aCommandWhoseModelLeftTheSceneUnrecordedIsDropped)
{
    move();
    // Taken out behind the stack's back (no delete command).
    scene().removeModel(m_b);
    scene().deselect(m_b);
    const SceneImage now = SceneImage::of(scene());
    EXPECT_FALSE(m_app->commandStack().canUndo());
    EXPECT_FALSE(m_app->undoCommand());
    EXPECT_EQ(SceneImage::of(scene()).differenceTo(now), "");
}

// ---- every kind of change, undone and redone -------------------------------------------------

struct ActionCase {
    const char *name;
    std::function<void(CommandTest &)> run;
};

class EveryAction : public CommandTest, public ::testing::WithParamInterface<ActionCase>
{
};

TEST_P(EveryAction, undoGivesTheStateBeforeAndRedoTheStateAfterBitForBit)
{
    // Both models selected, the second carries supports and hand-placed rods, as the actions
    // may meet them.
    addSupports(m_b);
    addRods(m_b);
    scene().select(m_a);
    const SceneImage before = SceneImage::of(scene());
    const std::size_t depth = m_app->commandStack().undoList().size();
    GetParam().run(*this);
    ASSERT_EQ(m_app->commandStack().undoList().size(), depth + 1) << "the action was not recorded";
    const SceneImage after = SceneImage::of(scene());
    ASSERT_NE(after.differenceTo(before), "") << "the action changed nothing";

    ASSERT_TRUE(m_app->undoCommand());
    EXPECT_EQ(SceneImage::of(scene()).differenceTo(before), "") << "after undo";
    ASSERT_TRUE(m_app->redoCommand());
    EXPECT_EQ(SceneImage::of(scene()).differenceTo(after), "") << "after redo";
    ASSERT_TRUE(m_app->undoCommand());
    EXPECT_EQ(SceneImage::of(scene()).differenceTo(before), "") << "after the second undo";
}

const ActionCase kActions[] = {
    {"Move", [](CommandTest &t) { t.move(); }},
    {"Rotate", [](CommandTest &t) { t.rotate(); }},
    {"LayFlat", [](CommandTest &t) { t.layFlat(); }},
    {"Scale", [](CommandTest &t) { ASSERT_TRUE(t.m_app->scaleModel(t.m_b, 1.37f, 0.81f, 2.03f)); }},
    {"Copy", [](CommandTest &t) { t.m_app->copyModels(3, 5); }},
    {"Delete", [](CommandTest &t) { t.m_app->deleteSelectedModels(); }},
    {"Layout", [](CommandTest &t) { t.m_app->layoutModels(3); }},
    {"AddSupport", [](CommandTest &t) { t.addSupports(t.m_a); }},
    {"RemoveSupport", [](CommandTest &t) { t.removeSupports(t.m_b); }},
};

INSTANTIATE_TEST_SUITE_P(Command, EveryAction, ::testing::ValuesIn(kActions),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(CommandTest, tenMixedActionsUndoneGiveTheImportedSceneAndRedoneTheFinalOne)
{
    const SceneImage imported = SceneImage::of(scene());
    scene().select(m_a);
    move();
    rotate();
    ASSERT_TRUE(m_app->scaleModel(m_a, 0.5f, 1.5f, 1.25f));
    addSupports(m_b);
    m_app->copyModels(2, 4);
    m_app->layoutModels(2);
    scene().clearSelection();
    scene().select(m_b);
    layFlat();
    removeSupports(m_b);
    move();
    m_app->deleteSelectedModels();
    ASSERT_EQ(m_app->commandStack().undoList().size(), 10u);
    const SceneImage final = SceneImage::of(scene());

    int undone = 0;
    while (m_app->undoCommand())
        ++undone;
    EXPECT_EQ(undone, 10);
    EXPECT_EQ(SceneImage::of(scene()).differenceTo(imported), "");
    while (m_app->redoCommand())
        ;
    EXPECT_EQ(SceneImage::of(scene()).differenceTo(final), "");
}

} // namespace
