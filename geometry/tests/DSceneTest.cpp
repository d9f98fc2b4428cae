#include "geometry/DScene.h"
#include "geometry/IManualPiece.h"
#include "geometry/Model.h"

#include "BoxModels.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace
{

using ModelPtr = std::shared_ptr<Model>;

// A hand-placed piece as the scene sees it.
class FakePiece : public Mesh3D, public IManualPiece
{
  public:
    FakePiece(bool rod, Vec3f centre = {}) : m_rod(rod), m_centre(centre) {}
    std::shared_ptr<Model> manualOwner() const override { return m_owner.lock(); }
    bool isRod() const override { return m_rod; }
    std::shared_ptr<Mesh3D> rodTopBall() const override { return m_top; }
    std::shared_ptr<Mesh3D> rodBottomBall() const override { return m_bottom; }
    void detachRodFromBalls() override { ++m_detached; }
    int ballRodCount() const override { return m_rods; }
    Vec3f ballCentre() const override { return m_centre; }

    bool m_rod;
    Vec3f m_centre;
    std::weak_ptr<Model> m_owner;
    std::shared_ptr<Mesh3D> m_top;
    std::shared_ptr<Mesh3D> m_bottom;
    int m_detached = 0;
    int m_rods = 1;
};

QString nameOf(const std::shared_ptr<Mesh3D> &m)
{
    return m ? m->baseName() : QStringLiteral("-");
}

ModelPtr named(const QString &name)
{
    auto m = boxModel(1, 1, 1);
    m->setBaseName(name);
    return m;
}

// Records every callback as one line.
struct Recorder {
    QStringList log;

    void install(DScene &scene)
    {
        DScene::Callbacks &c = scene.callbacks();
        c.currentModelChanged = [this](const ModelPtr &m) { log << "current " + nameOf(m); };
        c.modelsAdded = [this](const DScene::ModelList &l) {
            log << QStringLiteral("models %1").arg(l.size());
        };
        c.modelAdded = [this](const DScene::ModelList &existing, const ModelPtr &m) {
            log << QStringLiteral("model %1 after %2").arg(m->baseName()).arg(existing.size());
        };
        c.modelRemoved = [this](const ModelPtr &m) { log << "removed " + m->baseName(); };
        c.overhangPointsGiven = [this](const OverhangList &l) {
            log << QStringLiteral("overhangs %1").arg(l.size());
        };
        c.supportsGiven = [this](const std::shared_ptr<Support> &s) {
            log << QStringLiteral("supports %1").arg(s->parts.size());
        };
        c.supportsDiscarded = [this](const ModelPtr &m) { log << "discarded " + m->baseName(); };
        c.manualPieceAdded = [this](const std::shared_ptr<Mesh3D> &p) {
            log << "piece " + nameOf(p);
        };
        c.manualPieceRemoved = [this](const std::shared_ptr<Mesh3D> &p) {
            log << "unpiece " + nameOf(p);
        };
    }
};

TEST(DScene, AddingThreeModelsSelectsAllWithTheThirdCurrent)
{
    DScene scene;
    auto a = named("a"), b = named("b"), c = named("c");
    scene.addModels({a, b, c});
    EXPECT_EQ(scene.selection(), (DScene::ModelList{a, b, c}));
    EXPECT_EQ(scene.currentModel(), c);
}

TEST(DScene, DeselectingTheCurrentModelFallsBackToThePreviousOne)
{
    DScene scene;
    auto a = named("a"), b = named("b");
    scene.addModels({a, b});
    scene.deselect(b);
    EXPECT_EQ(scene.currentModel(), a);
    scene.deselect(a);
    EXPECT_EQ(scene.currentModel(), nullptr);
    EXPECT_TRUE(scene.selection().empty());
}

TEST(DScene, SelectingAgainKeepsTheOrderButStillNotifies)
{
    DScene scene;
    auto a = named("a"), b = named("b");
    scene.addModels({a, b});
    Recorder rec;
    rec.install(scene);
    scene.select(a);
    EXPECT_EQ(scene.selection(), (DScene::ModelList{a, b}));
    EXPECT_EQ(scene.currentModel(), b);
    EXPECT_EQ(rec.log, QStringList{"current b"});
}

TEST(DScene, RemovingASelectedModelLeavesTheSelectionAlone)
{
    DScene scene;
    auto a = named("a"), b = named("b");
    scene.addModels({a, b});
    scene.removeModel(a);
    EXPECT_EQ(scene.models(), DScene::ModelList{b});
    EXPECT_EQ(scene.selection(), (DScene::ModelList{a, b}));
    scene.clearSelection();
    EXPECT_EQ(scene.unselectedModels(), DScene::ModelList{b});
}

TEST(DScene, AddModelsCallsBackInOrder)
{
    DScene scene;
    Recorder rec;
    rec.install(scene);

    auto a = named("a");
    auto b = named("b");
    b->overhangs().push_back(
        std::make_shared<Overhang>(Point3f{0, 0, 0}, Vec3f{0, 0, -1}, 0.25f, 0.25f));
    auto support = std::make_shared<Support>();
    support->parts.push_back(std::make_shared<Mesh3D>());
    b->setSupport(support);
    auto rod = std::make_shared<FakePiece>(true);
    rod->setBaseName("rod");
    rod->m_top = std::make_shared<FakePiece>(false);
    rod->m_top->setBaseName("top");
    rod->m_bottom = std::make_shared<FakePiece>(false);
    rod->m_bottom->setBaseName("bottom");
    b->manualSupports().parts = {rod->m_top, rod->m_bottom, rod};

    scene.addModels({a, b});
    const QStringList expected{"models 2",     "model a after 0", "current a", "model b after 1",
                               "current b",    "overhangs 1",     "piece rod", "piece top",
                               "piece bottom", "supports 1"};
    EXPECT_EQ(rec.log, expected);
}

TEST(DScene, DiscardingSupportsClearsThemAndNotifies)
{
    DScene scene;
    auto a = named("a");
    scene.addModels({a});
    auto support = std::make_shared<Support>();
    support->parts.push_back(std::make_shared<Mesh3D>());
    scene.setSupports(support, a);
    EXPECT_TRUE(a->hasSupports());
    Recorder rec;
    rec.install(scene);
    scene.discardSupports(a);
    EXPECT_EQ(a->support(), nullptr);
    EXPECT_EQ(rec.log, QStringList{"discarded a"});
}

TEST(DScene, OverhangPointsFollowTheirModel)
{
    DScene scene;
    auto a = named("a"), b = named("b");
    scene.addModels({a, b});
    auto p = std::make_shared<Overhang>(Point3f{0, 0, 1}, Vec3f{0, 0, -1}, 0.25f, 0.25f);
    auto q = std::make_shared<Overhang>(Point3f{0, 0, 2}, Vec3f{0, 0, -1}, 0.25f, 0.25f);
    scene.addOverhangPoint(p, b);
    scene.addOverhangPoint(q, a);
    EXPECT_EQ(scene.allOverhangPoints(), (OverhangList{q, p}));
    scene.removeOverhangPoint(p);
    EXPECT_TRUE(scene.overhangPoints(b).empty());
    scene.removeOverhangPoints({q});
    EXPECT_TRUE(scene.allOverhangPoints().empty());
}

TEST(DScene, RemovingAModelsOwnPointListRemovesEveryPoint)
{
    DScene scene;
    auto a = named("a");
    scene.addModels({a});
    for (int i = 0; i < 5; ++i)
        scene.addOverhangPoint(
            std::make_shared<Overhang>(Point3f{float(i), 0, 1}, Vec3f{0, 0, -1}, 0.25f, 0.25f), a);
    std::size_t told = 0;
    scene.callbacks().overhangPointsRemoved = [&told](const OverhangList &points) {
        told = points.size();
    };
    scene.removeOverhangPoints(a->overhangs());
    EXPECT_TRUE(a->overhangs().empty());
    EXPECT_EQ(told, 5u);
}

TEST(DScene, ManualBallOnThePlatformIsNotPrinted)
{
    DScene scene;
    auto a = named("a");
    scene.addModels({a});
    auto onFloor = std::make_shared<FakePiece>(false, Vec3f{1, 1, 0.0f});
    auto lifted = std::make_shared<FakePiece>(false, Vec3f{1, 1, 0.01f});
    auto rod = std::make_shared<FakePiece>(true);
    onFloor->m_owner = a;
    scene.addManualPiece(onFloor);
    scene.addManualPiece(lifted, a);
    scene.addManualPiece(rod, a);
    auto overhang = std::make_shared<Overhang>(Point3f{0, 0, 1}, Vec3f{0, 0, -1}, 0.25f, 0.25f);
    scene.addOverhangPoint(overhang, a);

    const std::vector<std::shared_ptr<Mesh3D>> meshes = scene.printMeshes();
    const std::vector<std::shared_ptr<Mesh3D>> expected{a, overhang, lifted, rod};
    EXPECT_EQ(meshes, expected);
}

TEST(DScene, BallKnownOnlyByItsKindTagIsJudgedByItsBox)
{
    DScene scene;
    auto a = named("a");
    scene.addModels({a});
    auto onFloor = boxModel(-0.2f, -0.2f, -0.2f, 0.2f, 0.2f, 0.2f);
    onFloor->setKindTag(ObjectKind::ManualSupportPoint);
    auto lifted = boxModel(-0.2f, -0.2f, -0.19f, 0.2f, 0.2f, 0.21f);
    lifted->setKindTag(ObjectKind::ManualSupportPoint);
    scene.addManualPiece(onFloor, a);
    scene.addManualPiece(lifted, a);
    const std::vector<std::shared_ptr<Mesh3D>> expected{a, lifted};
    EXPECT_EQ(scene.printMeshes(), expected);
}

TEST(DScene, BallSharedByTwoRodsStays)
{
    DScene scene;
    auto a = named("a");
    scene.addModels({a});
    auto ball = std::make_shared<FakePiece>(false, Vec3f{0, 0, 1});
    ball->m_rods = 2;
    auto rod = std::make_shared<FakePiece>(true);
    scene.addManualPiece(ball, a);
    scene.addManualPiece(rod, a);
    scene.removeManualPiece(ball, a);
    EXPECT_EQ(a->manualSupports().parts.size(), 2u);
    scene.removeManualPiece(rod, a);
    EXPECT_EQ(rod->m_detached, 1);
    EXPECT_EQ(a->manualSupports().parts.size(), 1u);
}

TEST(DScene, NearestHitTakesTheClosestFrontFace)
{
    DScene scene;
    auto low = boxModel(-5, -5, 0, 5, 5, 2);
    auto high = boxModel(-5, -5, 5, 5, 5, 8);
    scene.addModels({low, high});
    const Ray down{{0, 0, 100}, {0, 0, -1}};
    const RayHit hit = scene.nearestHit(down);
    ASSERT_TRUE(hit.isHit());
    EXPECT_EQ(hit.model, high);
    EXPECT_FLOAT_EQ(hit.distance, 92.0f);
    EXPECT_FLOAT_EQ(hit.point.z, 8.0f);

    const Ray past{{50, 50, 100}, {0, 0, -1}};
    EXPECT_FALSE(scene.nearestHit(past).isHit());
}

TEST(RayTriangle, BackFacesAreMissed)
{
    const Vec3f a{0, 0, 0}, b{1, 0, 0}, c{0, 1, 0}; // faces +z
    float t = 0.0f;
    EXPECT_TRUE(rayTriangle(Ray{{0.2f, 0.2f, 1}, {0, 0, -1}}, a, b, c, &t));
    EXPECT_FLOAT_EQ(t, 1.0f);
    EXPECT_FALSE(rayTriangle(Ray{{0.2f, 0.2f, -1}, {0, 0, 1}}, a, b, c, &t));
    EXPECT_FALSE(rayTriangle(Ray{{0.2f, 0.2f, 1}, {1, 0, 0}}, a, b, c, &t));
}

} // namespace
