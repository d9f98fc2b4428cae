#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/DSceneFrameBinder.h"
#include "render/DSupportEditor.h"
#include "render/OpenGLModel.h"

#include "app/Command.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"
#include "supports/DsCylider.h"
#include "supports/ManualSupportRecord.h"
#include "testsupport/SoupMesh.h"

#include <Qt>

#include <gtest/gtest.h>

using namespace Orvane3Ds;

namespace
{

// The editor on a frame without GL (its logic needs no picture): a 10 x 10 x 10 box lifted to
// 5 mm, growFromFloor and limitAtZAxis as the case asks, rays straight up from below the
// platform or straight down from above.
class SupportEditor : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_frame.setScene(&m_scene);
        bindSceneToFrame(m_scene, m_frame);
        m_model = testsupport::soupBoxModel(-5, -5, 5, 5, 5, 15);
        m_scene.addModels({m_model});
        m_frame.setEditedModel(m_model);
        m_editor->attach(&m_frame);
        m_editor->setModel(m_model);
        InteractorHooks hooks;
        hooks.record = [this](std::shared_ptr<Command> c) { m_commands.push_back(std::move(c)); };
        hooks.commandTarget = m_target;
        m_target->scene = &m_scene;
        m_editor->setHooks(hooks);
        m_editor->setMode(1);
    }

    void use(bool growFromFloor, bool limitAtZAxis)
    {
        ManualSupportSettings s;
        s.growFromFloor = growFromFloor;
        s.limitAtZAxis = limitAtZAxis;
        s.topBallRadius = 0.3f;
        s.bottomBallRadius = 0.6f;
        s.rodTopRadius = 0.2f;
        s.rodBottomRadius = 0.4f;
        m_editor->applySettings(s);
    }

    static Ray up(float x, float y) { return {{x, y, -50.0f}, {0.0f, 0.0f, 100.0f}}; }
    static Ray down(float x, float y) { return {{x, y, 100.0f}, {0.0f, 0.0f, -100.0f}}; }
    void at(const Ray &ray)
    {
        m_editor->onMove(ray);
        m_editor->onPress(ray);
        m_editor->onRelease(ray);
    }
    int rods() const
    {
        int n = 0;
        for (const auto &p : m_model->manualSupports().parts)
            n += std::dynamic_pointer_cast<DsCylider>(p) != nullptr;
        return n;
    }
    std::size_t drawnPieces() const { return m_frame.drawableOf(m_model)->supports().size(); }

    DScene m_scene;
    COrvaneFrame m_frame{std::make_shared<CContext>()};
    std::shared_ptr<CommandTarget> m_target = std::make_shared<CommandTarget>();
    std::shared_ptr<DSupportEditor> m_editor = std::make_shared<DSupportEditor>();
    std::shared_ptr<Model> m_model;
    std::vector<std::shared_ptr<Command>> m_commands;
};

TEST_F(SupportEditor, growFromFloorIgnoresTopFacesAndLimitDropsTheRodToThePlatform)
{
    use(true, true);
    at(down(1, 1));
    EXPECT_FALSE(m_editor->isPending()) << "the top face looks up";
    at(up(1, 1));
    ASSERT_TRUE(m_editor->isPending()) << "the bottom face overhangs";
    m_editor->onMove(up(3, 2));
    EXPECT_EQ(m_editor->previewSecond()->centre().x, 1.0f);
    EXPECT_EQ(m_editor->previewSecond()->centre().z, 0.0f);
    m_editor->onPress(up(3, 2));
    ASSERT_EQ(rods(), 1);
    const auto rod = m_editor->selectedRod();
    ASSERT_TRUE(rod);
    EXPECT_EQ(rod->top()->centre().z, 5.0f);
    EXPECT_EQ(rod->bottom()->centre().z, 0.0f);
    EXPECT_EQ(rod->bottom()->radius(), 0.6f) << "the lower end takes the bottom ball radius";
    EXPECT_EQ(rod->top()->radius(), 0.3f);
    EXPECT_EQ(drawnPieces(), 3u) << "balls and rod are drawn with the model";
}

TEST_F(SupportEditor, secondClickCloseToTheFirstMakesNoRodAndEmptySpaceKeepsItPending)
{
    use(false, false);
    at(up(0, 0));
    ASSERT_TRUE(m_editor->isPending());
    at(up(0.2f, 0.1f));
    EXPECT_FALSE(m_editor->isPending());
    EXPECT_EQ(rods(), 0);
    at(up(0, 0));
    ASSERT_TRUE(m_editor->isPending());
    at(up(30, 0));
    EXPECT_TRUE(m_editor->isPending()) << "nothing under the cursor";
    EXPECT_EQ(rods(), 0);
}

TEST_F(SupportEditor, escapeCancelsFirstThenDeletesTheSelectedRodButNeverTheModel)
{
    use(true, false);
    at(up(-20, 0));
    at(up(-2, 0));
    ASSERT_EQ(rods(), 1);
    at(up(-20, 10));
    ASSERT_TRUE(m_editor->isPending());
    m_editor->onKey(Qt::Key_Escape);
    EXPECT_FALSE(m_editor->isPending());
    EXPECT_EQ(rods(), 1);
    m_editor->onKey(Qt::Key_Escape);
    EXPECT_EQ(rods(), 0);
    EXPECT_TRUE(m_model->manualSupports().parts.empty());
    EXPECT_EQ(drawnPieces(), 0u);
    EXPECT_EQ(m_scene.models().size(), 1u);
}

TEST_F(SupportEditor, rodsStartedFromABallShareItAndDeletingOneLeavesIt)
{
    use(true, false);
    at(up(-20, 0));
    at(up(-2, 0));
    const auto first = m_editor->selectedRod();
    ASSERT_TRUE(first);
    m_editor->selectRod(nullptr);
    // From the first rod's foot to another spot on the model.
    const Point3f foot = first->top()->centre();
    Ray toFoot{{foot.x, foot.y, foot.z + 40.0f}, {0.0f, 0.0f, -100.0f}};
    at(toFoot);
    ASSERT_TRUE(m_editor->isPending());
    at(up(-2, 3));
    ASSERT_EQ(rods(), 2);
    const auto second = m_editor->selectedRod();
    EXPECT_EQ(second->top(), first->top()) << "one ball for both rods";
    EXPECT_EQ(m_model->manualSupports().parts.size(), 5u);
    m_editor->onKey(Qt::Key_Delete);
    EXPECT_EQ(rods(), 1);
    const auto &parts = m_model->manualSupports().parts;
    EXPECT_NE(std::find(parts.begin(), parts.end(), first->top()), parts.end())
        << "the shared ball stays for the other rod";
    EXPECT_EQ(parts.size(), 3u);
}

TEST_F(SupportEditor, atEqualHeightsTheSecondEndTakesTheTopBallRadius)
{
    use(false, false);
    m_editor->onMove(down(0, 0));
    at(down(0, 0));
    ASSERT_TRUE(m_editor->isPending());
    m_editor->onMove(down(3, 0));
    EXPECT_EQ(m_editor->previewSecond()->radius(), 0.3f);
    EXPECT_EQ(m_editor->previewFirst()->radius(), 0.6f);
}

TEST_F(SupportEditor, everyRodIsRecordedAndUndoRedoKeepBallsAndViewInStep)
{
    use(true, false);
    at(up(-20, 0));
    at(up(-2, 0));
    ASSERT_EQ(m_commands.size(), 1u);
    EXPECT_STREQ(m_commands[0]->name(), "AddSupport");
    const auto rod = m_editor->selectedRod();
    m_commands[0]->undo();
    EXPECT_EQ(rods(), 0);
    EXPECT_EQ(drawnPieces(), 0u);
    m_commands[0]->redo();
    ASSERT_EQ(rods(), 1);
    EXPECT_EQ(drawnPieces(), 3u);
    EXPECT_EQ(rod->top()->ballRodCount(), 1) << "the ball knows its rod again";
    m_editor->selectRod(rod);
    m_editor->onKey(Qt::Key_Delete);
    ASSERT_EQ(m_commands.size(), 2u);
    EXPECT_STREQ(m_commands[1]->name(), "RemoveSupport");
    m_commands[1]->undo();
    EXPECT_EQ(rods(), 1);
}

TEST_F(SupportEditor, aRodReadFromAProjectIsDeletedFromTheModel)
{
    // Rods read from a project belong to the model's record, which names no owner.
    auto model = testsupport::soupBoxModel(20, -5, 5, 30, 5, 15);
    auto record = std::make_shared<ManualSupportRecord>();
    model->manualSupports().shared = record;
    ManualSupportSettings s;
    s.topPoint = {25, 0, 5};
    s.bottomPoint = {25, 0, 0};
    const auto rod = ManualSupportRecord::addRod(record, model->manualSupports().parts, s);
    m_scene.addModels({model});
    m_editor->setModel(model);
    m_frame.setEditedModel(model);
    ASSERT_EQ(m_frame.drawableOf(model)->supports().size(), 3u);
    m_editor->selectRod(rod);
    m_editor->onKey(Qt::Key_Delete);
    EXPECT_TRUE(model->manualSupports().parts.empty()) << "not left to be printed and saved";
    EXPECT_TRUE(m_frame.drawableOf(model)->supports().empty());
}

} // namespace
