#include "supports/DsCylider.h"
#include "supports/DsPoint.h"
#include "supports/ManualSupportRecord.h"
#include "supports/ManualSupportSettings.h"

#include "geometry/DScene.h"
#include "geometry/Model.h"

#include <gtest/gtest.h>

namespace
{

ManualSupportSettings rodAt(float x, float zTop, float zBottom)
{
    ManualSupportSettings s;
    s.topPoint = Point3f{x, 0, zTop};
    s.bottomPoint = Point3f{x, 0, zBottom};
    return s;
}

struct Fixture {
    std::shared_ptr<Model> model = std::make_shared<Model>();
    std::shared_ptr<ManualSupportRecord> record = std::make_shared<ManualSupportRecord>();

    Fixture()
    {
        model->setBaseName(QStringLiteral("m"));
        model->manualSupports().shared = record;
        record->setOwner(model);
    }
    std::shared_ptr<DsCylider> addRod(float x, float zTop, float zBottom)
    {
        return ManualSupportRecord::addRod(record, model->manualSupports().parts,
                                           rodAt(x, zTop, zBottom));
    }
};

TEST(ManualPieces, SceneAnnouncesEachRodThenItsTopThenItsBottomBall)
{
    Fixture f;
    auto first = f.addRod(1, 5, 0.5f);
    auto second = f.addRod(2, 6, 1);
    // Parts are stored balls first; the order of announcement comes from the pieces' links.
    DScene scene;
    std::vector<std::shared_ptr<Mesh3D>> announced;
    scene.callbacks().manualPieceAdded = [&](const std::shared_ptr<Mesh3D> &p) {
        announced.push_back(p);
    };
    scene.addModels({f.model});
    const std::vector<std::shared_ptr<Mesh3D>> expected{first,  first->top(),  first->bottom(),
                                                        second, second->top(), second->bottom()};
    EXPECT_EQ(announced, expected);
}

TEST(ManualPieces, PiecesKnowTheirModelAndLinks)
{
    Fixture f;
    auto rod = f.addRod(1, 5, 0);
    EXPECT_EQ(rod->manualOwner(), f.model);
    EXPECT_EQ(rod->top()->manualOwner(), f.model);
    EXPECT_EQ(rod->rodTopBall(), rod->top());
    EXPECT_EQ(rod->rodBottomBall(), rod->bottom());
    EXPECT_EQ(rod->top()->ballRodCount(), 1);
    EXPECT_EQ(rod->top()->ballCentre().z, 5.0f);

    // Without a group record the owner set on the rod still holds, for the balls as well.
    auto top = std::make_shared<DsPoint>(Point3f{0, 0, 3});
    auto bottom = std::make_shared<DsPoint>(Point3f{0, 0, 1});
    auto loose = std::make_shared<DsCylider>(top, bottom, 0.1f, 0.1f);
    loose->setManualOwner(f.model);
    EXPECT_EQ(bottom->manualOwner(), f.model);
    EXPECT_EQ(std::dynamic_pointer_cast<DsPoint>(top->clone())->manualOwner(), nullptr);
}

TEST(ManualPieces, SceneFindsTheOwnerOfAnAddedRodAndDetachesItOnRemoval)
{
    Fixture f;
    DScene scene;
    scene.addModels({f.model});
    std::vector<std::shared_ptr<Mesh3D>> parts;
    auto rod = ManualSupportRecord::addRod(f.record, parts, rodAt(3, 4, 0), f.model);
    scene.addManualPiece(rod);
    ASSERT_EQ(f.model->manualSupports().parts.size(), 1u);
    EXPECT_EQ(f.model->manualSupports().parts[0], rod);

    // A second rod on the same bottom ball keeps that ball when one rod goes.
    auto other = std::make_shared<DsCylider>(std::make_shared<DsPoint>(Point3f{3, 1, 4}),
                                             rod->bottom(), 0.1f, 0.1f);
    rod->bottom()->links().push_back(other);
    other->setManualOwner(f.model);
    scene.addManualPiece(rod->bottom());
    EXPECT_EQ(rod->bottom()->ballRodCount(), 2);
    scene.removeManualPiece(rod->bottom());
    EXPECT_EQ(f.model->manualSupports().parts.size(), 2u);
    scene.removeManualPiece(rod);
    EXPECT_EQ(rod->bottom()->ballRodCount(), 1);
    EXPECT_EQ(rod->top()->ballRodCount(), 0);
    EXPECT_EQ(f.model->manualSupports().parts.size(), 1u);
}

TEST(ManualPieces, BallCentredOnThePlatformIsNotPrinted)
{
    Fixture f;
    auto rod = f.addRod(1, 5, 0);
    DScene scene;
    scene.addModels({f.model});
    const std::vector<std::shared_ptr<Mesh3D>> meshes = scene.printMeshes();
    const std::vector<std::shared_ptr<Mesh3D>> expected{f.model, rod->top(), rod};
    EXPECT_EQ(meshes, expected);
}

} // namespace
