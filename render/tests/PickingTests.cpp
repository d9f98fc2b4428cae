#include "GlTestSupport.h"

#include "render/COrvaneFrame.h"

#include <gtest/gtest.h>

using namespace Orvane3Ds;

TEST(Picking, theRayThroughTheViewCentreHitsTheModelThere)
{
    rendertest::GlScene gl(400, 300);
    ASSERT_TRUE(gl.isReady());
    // The start camera looks at (0, 0, 60) through the centre of the view.
    auto box = rendertest::boxModel(-5, -5, 55, 5, 5, 65);
    gl.scene().addModels({box});
    const RayHit hit = gl.frame().pick(200, 150, 400, 300);
    ASSERT_TRUE(hit.isHit());
    EXPECT_EQ(hit.model, box);
    EXPECT_NEAR(hit.point.y, 5.0f, 1e-2f);
    EXPECT_NEAR(hit.point.z, 60.0f, 1.0f);
}

TEST(Picking, theNearestOfTwoModelsAlongTheRayWins)
{
    rendertest::GlScene gl(400, 300);
    ASSERT_TRUE(gl.isReady());
    auto far = rendertest::boxModel(-5, -25, 55, 5, -15, 65);
    auto nearer = rendertest::boxModel(-5, 15, 55, 5, 25, 65);
    gl.scene().addModels({far, nearer});
    const RayHit hit = gl.frame().pick(200, 150, 400, 300);
    ASSERT_TRUE(hit.isHit());
    EXPECT_EQ(hit.model, nearer);
}

TEST(Picking, aRayPastEveryModelHitsNothing)
{
    rendertest::GlScene gl(400, 300);
    ASSERT_TRUE(gl.isReady());
    gl.scene().addModels({rendertest::boxModel(-5, -5, 55, 5, 5, 65)});
    EXPECT_FALSE(gl.frame().pick(5, 5, 400, 300).isHit());
}

TEST(Picking, theRayFollowsTheCamera)
{
    rendertest::GlScene gl(400, 300);
    ASSERT_TRUE(gl.isReady());
    auto box = rendertest::boxModel(-5, -5, 55, 5, 5, 65);
    gl.scene().addModels({box});
    gl.frame().homeView(); // now looking along -X
    const Ray ray = gl.frame().pickRay(200, 150, 400, 300);
    EXPECT_NEAR(ray.origin.x, 600.0f, 1e-1f);
    EXPECT_LT(ray.direction.x, 0.0f);
    EXPECT_TRUE(gl.frame().pick(200, 150, 400, 300).isHit());
}
