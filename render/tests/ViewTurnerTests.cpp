#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/DlpClipZWidget.h"
#include "render/DlpGlCamareWidget.h"
#include "render/ViewTurner.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <gtest/gtest.h>

#include <memory>

using namespace Orvane3Ds;

namespace
{

// A frame without GL: camera steps only touch the camera in the context.
class Turner : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        frame.homeView();
        turner.setStepPause(0);
    }

    Vec3f eye() const { return context->camera.eye(); }

    std::shared_ptr<CContext> context = std::make_shared<CContext>();
    COrvaneFrame frame{context};
    int repaints = 0;
    ViewTurner turner{&frame, [this] { ++repaints; }};
};

void expectNear(const Vec3f &a, const Vec3f &b, float tolerance = 0.5f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

} // namespace

TEST_F(Turner, topLooksDownAndDisablesItsButton)
{
    turner.top();
    EXPECT_NEAR(eye().z, 600.0f, 2.0f);
    EXPECT_TRUE(turner.topShown());
    EXPECT_FALSE(turner.topEnabled());
    EXPECT_TRUE(turner.bottomEnabled());
    EXPECT_EQ(repaints, 30);
}

TEST_F(Turner, bottomAfterTopPitchesByHalfATurn)
{
    turner.top();
    const Vec3f above = eye();
    turner.bottom();
    EXPECT_NEAR(eye().z, -above.z, 2.0f);
    EXPECT_FALSE(turner.bottomEnabled());
    EXPECT_TRUE(turner.topEnabled());
}

TEST_F(Turner, threeRightTurnsThenHomeComeBackAQuarterTurn)
{
    turner.right();
    expectNear(eye(), {0.0f, -600.0f, 60.0f});
    turner.right();
    turner.right();
    EXPECT_FLOAT_EQ(turner.yawTotal(), -270.0f);
    turner.home();
    expectNear(eye(), {600.0f, 0.0f, 60.0f});
    EXPECT_FLOAT_EQ(turner.yawTotal(), 0.0f);
}

TEST_F(Turner, leftFromTheTopViewEndsLevel)
{
    turner.top();
    turner.left();
    EXPECT_NEAR(eye().z, 60.0f, 1.0f);
    EXPECT_TRUE(turner.topEnabled());
    EXPECT_TRUE(turner.bottomEnabled());
}

TEST_F(Turner, aMovedViewStartsTheNextStandardViewFromHome)
{
    turner.right();
    frame.yawBy(33.0f);
    turner.markDirty();
    turner.top();
    EXPECT_FALSE(turner.isDirty());
    // From home (600, 0, 60) pitched up by 90 degrees: above the target on the -X side.
    EXPECT_NEAR(eye().z, 600.0f, 2.0f);
    EXPECT_LT(eye().x, 0.0f);
    EXPECT_NEAR(eye().y, 0.0f, 0.5f);
}

TEST_F(Turner, farAndNearZoomWithoutTouchingTheTurnState)
{
    const float before = (eye() - context->camera.target()).length();
    turner.farther();
    const float farther = (eye() - context->camera.target()).length();
    EXPECT_GT(farther, before);
    turner.nearer();
    EXPECT_LT((eye() - context->camera.target()).length(), farther);
    EXPECT_TRUE(turner.topEnabled());
}

TEST_F(Turner, theCameraButtonsDriveTheTurner)
{
    DlpGlCamareWidget buttons(&turner);
    buttons.topButton()->click();
    EXPECT_FALSE(buttons.topButton()->isEnabled());
    buttons.bottomButton()->click();
    EXPECT_TRUE(buttons.topButton()->isEnabled());
    EXPECT_FALSE(buttons.bottomButton()->isEnabled());
}

TEST(ClipZWidget, sliderStepsCutTheSceneInTenthsOfAMillimetre)
{
    bool upCut = false;
    float clip = -1.0f;
    int paints = 0;
    DlpClipZWidget widget({[&upCut](bool v) { upCut = v; }, [&upCut] { return upCut; },
                           [&clip](float z) { clip = z; }, [&paints] { ++paints; }});
    EXPECT_TRUE(upCut);
    EXPECT_EQ(DlpClipZWidget::stepsForTop(0.0f), 0);
    EXPECT_EQ(DlpClipZWidget::stepsForTop(30.0f), 300);
    EXPECT_EQ(DlpClipZWidget::stepsForTop(30.04f), 300);
    EXPECT_EQ(DlpClipZWidget::stepsForTop(30.06f), 301);
    widget.setTotal(300);
    EXPECT_EQ(widget.slider()->maximum(), 300);
    EXPECT_GT(clip, 1e30f); // nothing cut
    widget.slider()->setValue(125);
    EXPECT_FLOAT_EQ(clip, 12.51f);
    EXPECT_EQ(paints, 1);
    EXPECT_FALSE(widget.label()->isHidden());
    widget.slider()->setValue(0);
    EXPECT_GT(clip, 1e30f);
    EXPECT_TRUE(widget.label()->isHidden());
}
