#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/DlpClipZWidget.h"
#include "render/DlpGlCamareWidget.h"
#include "render/ViewSamples.h"
#include "render/ViewTurner.h"

#include <QCoreApplication>
#include <QElapsedTimer>

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

TEST_F(Turner, animatedPressReturnsAtOnceAndTurnsOneStepPerTick)
{
    turner.setAnimated(true);
    const Vec3f start = eye();
    turner.top();
    // Nothing moved yet: the steps run from the event loop.
    expectNear(eye(), start, 0.01f);
    EXPECT_TRUE(turner.isAnimating());
    EXPECT_FALSE(turner.topEnabled());
    QElapsedTimer timer;
    timer.start();
    int ticks = 0;
    while (turner.isAnimating() && timer.elapsed() < 5000) {
        const int before = repaints;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        // Never more than one step (one frame) per pass of the event loop.
        EXPECT_LE(repaints - before, 1);
        ticks += repaints - before;
    }
    EXPECT_FALSE(turner.isAnimating());
    EXPECT_EQ(ticks, 30);
    EXPECT_NEAR(eye().z, 600.0f, 2.0f);
}

TEST_F(Turner, pressDuringAnAnimationFinishesItFirst)
{
    // Top then Bottom at once ends where the same presses end without animation.
    std::shared_ptr<CContext> plainContext = std::make_shared<CContext>();
    COrvaneFrame plainFrame{plainContext};
    plainFrame.homeView();
    ViewTurner plain{&plainFrame};
    plain.setStepPause(0);
    plain.top();
    plain.bottom();

    turner.setAnimated(true);
    turner.top();
    turner.bottom();
    for (int i = 0; i < 1000 && turner.isAnimating(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    expectNear(eye(), plainContext->camera.eye(), 0.01f);
    EXPECT_FALSE(turner.bottomEnabled());
}

// Multisampling offered to the view: none on software renderers, else up to 8.
struct SampleCase {
    const char *name;
    const char *renderer;
    int maxSamples;
    int expected;
};

class ViewSamples : public ::testing::TestWithParam<SampleCase>
{
};

TEST_P(ViewSamples, fromTheRendererAndWhatItOffers)
{
    EXPECT_EQ(viewSampleCount(QLatin1String(GetParam().renderer), GetParam().maxSamples),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Renderers, ViewSamples,
    ::testing::Values(SampleCase{"llvmpipe", "llvmpipe (LLVM 15.0.6, 256 bits)", 16, 0},
                      SampleCase{"softpipe", "softpipe", 4, 0},
                      SampleCase{"swrast", "Mesa X11 swrast", 4, 0},
                      SampleCase{"gpuOffersMore", "NVIDIA GeForce GTX 1060/PCIe/SSE2", 32, 8},
                      SampleCase{"gpuOffersFewer", "Mesa Intel(R) UHD Graphics 620", 4, 4},
                      SampleCase{"gpuOffersNone", "AMD Radeon", 0, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ViewSamplesProbe, theTestDisplayIsSoftwareAndGetsNone)
{
    // The suite runs on Mesa's software renderer (LIBGL_ALWAYS_SOFTWARE=1).
    if (qEnvironmentVariable("LIBGL_ALWAYS_SOFTWARE") != QLatin1String("1"))
        GTEST_SKIP() << "not on the software renderer";
    EXPECT_EQ(probeViewSampleCount(), 0);
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
