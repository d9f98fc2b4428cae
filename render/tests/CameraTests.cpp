#include "render/FrameCamera.h"

#include <gtest/gtest.h>

using Orvane3Ds::FrameCamera;

namespace
{

FrameCamera homeCamera()
{
    FrameCamera camera;
    camera.setCamera({600.0f, 0.0f, 60.0f}, 0.0f);
    return camera;
}

void expectNear(const Vec3f &a, const Vec3f &b, float tolerance)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

} // namespace

TEST(FrameCamera, startsBehindThePlatformLookingDownTheYAxis)
{
    FrameCamera camera;
    expectNear(camera.position(), {0.0f, 600.0f, 120.0f}, 1e-3f);
    const Matrix4f v = camera.viewMatrix();
    // The camera position maps to the eye-space origin.
    const Vec3f p = transformPoint(v, camera.position());
    expectNear(p, {0.0f, 0.0f, 0.0f}, 1e-3f);
    // The target lies straight ahead (negative eye-space z).
    const Vec3f ahead = transformPoint(v, camera.position() + camera.forward() * 100.0f);
    expectNear(ahead, {0.0f, 0.0f, -100.0f}, 1e-2f);
}

TEST(FrameCamera, yawByQuarterTurnMovesTheEyeClockwise)
{
    FrameCamera camera = homeCamera();
    camera.yaw(90.0f);
    expectNear(camera.eye(), {0.0f, -600.0f, 60.0f}, 1e-2f);
}

TEST(FrameCamera, pitchByQuarterTurnBringsTheEyeAboveTheTarget)
{
    FrameCamera camera = homeCamera();
    camera.pitch(90.0f);
    EXPECT_NEAR(camera.eye().z, 600.0f, 1.0f);
    EXPECT_NEAR(camera.eye().y, 0.0f, 1e-2f);
    EXPECT_LT(camera.eye().x, -50.0f);
    EXPECT_GT(camera.eye().x, -61.0f);
}

// From the home camera, 602.99 mm from the target: one wheel notch (amount 12) moves by
// 12 * 602.99 / 200 = 36.18 mm.
struct ZoomRow {
    const char *name;
    float amount;
    float distanceAfter;
};

class FrameCameraZoom : public ::testing::TestWithParam<ZoomRow>
{
};

TEST_P(FrameCameraZoom, movesOnlyWithinRange)
{
    FrameCamera camera = homeCamera();
    EXPECT_NEAR((camera.eye() - camera.target()).length(), 602.99f, 1e-2f);
    const bool moves = GetParam().distanceAfter != 602.99f;
    EXPECT_EQ(camera.zoomBy(GetParam().amount), moves);
    EXPECT_NEAR((camera.eye() - camera.target()).length(), GetParam().distanceAfter, 1e-2f);
}

INSTANTIATE_TEST_SUITE_P(Steps, FrameCameraZoom,
                         ::testing::Values(ZoomRow{"oneNotchCloser", 12.0f, 566.81f},
                                           ZoomRow{"oneNotchAway", -12.0f, 639.17f},
                                           ZoomRow{"throughTheTarget", 200.0f, 602.99f},
                                           ZoomRow{"beyondTheFarLimit", -200.0f, 602.99f}),
                         [](const auto &info) { return info.param.name; });

TEST(FrameCamera, panIgnoresMotionsShorterThanNinePixels)
{
    FrameCamera camera = homeCamera();
    camera.pan(8, -8);
    EXPECT_FLOAT_EQ(camera.panSide(), 0.0f);
    EXPECT_FLOAT_EQ(camera.panHeight(), 60.0f);
    // 18 / 9 = 2 and 9 / 9 = 1 steps of 602.99 / 500 = 1.206 mm.
    camera.pan(18, 9);
    EXPECT_NEAR(camera.panSide(), 2.4120f, 1e-3f);
    EXPECT_NEAR(camera.panHeight(), 61.2060f, 1e-3f);
}

TEST(FrameCamera, panStopsAtTheLimits)
{
    FrameCamera camera = homeCamera();
    for (int i = 0; i < 1000; ++i)
        camera.pan(900, 900);
    EXPECT_FLOAT_EQ(camera.panSide(), camera.panSideLimit());
    EXPECT_FLOAT_EQ(camera.panHeight(), camera.sceneSize().z);
}
