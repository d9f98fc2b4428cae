#include "geometry/DModelPacker.h"
#include "geometry/DModelOperator.h"
#include "geometry/Model.h"

#include "BoxModels.h"

#include <gtest/gtest.h>

namespace
{

DModelPacker::Rect sized(int w, int h)
{
    DModelPacker::Rect r;
    r.w = w;
    r.h = h;
    return r;
}

TEST(DModelPacker, TwoEqualSquaresGrowTheBinTo20AndStackAlongY)
{
    DModelPacker packer(54.0f);
    for (int side = 2; side <= 18; side += 2)
        EXPECT_FALSE(DModelPacker::packInto({sized(10, 10), sized(10, 10)}, side, side).success)
            << side;
    const DModelPacker::PackResult result = packer.pack({sized(10, 10), sized(10, 10)});
    ASSERT_TRUE(result.success);
    EXPECT_EQ(result.binWidth, 20);
    EXPECT_EQ(result.binHeight, 20);
    // Cut B on the tie: the full-width upper piece is listed first and takes the second square.
    ASSERT_GE(result.areas.size(), 3u);
    EXPECT_EQ(result.areas[1].x, 0);
    EXPECT_EQ(result.areas[1].y, 10);
    EXPECT_TRUE(result.areas[1].used);
    EXPECT_EQ(result.areas[2].x, 10); // the piece right of the first square stays free
    EXPECT_EQ(result.areas[2].w, 10);
    EXPECT_EQ(result.areas[2].h, 10);
    EXPECT_FALSE(result.areas[2].used);
    EXPECT_EQ(result.items[0].x, 0);
    EXPECT_EQ(result.items[0].y, 0);
    EXPECT_EQ(result.items[1].x, 0);
    EXPECT_EQ(result.items[1].y, 10);
}

TEST(DModelPacker, OneCubeIsCentredWithTheHalfMillimetreOffset)
{
    auto cube = boxModel(10, 10, 10);
    DModelOperator op;
    op.layout({cube}, 0);
    const Box3f &b = cube->boundingBox();
    EXPECT_FLOAT_EQ(b.min.x, -4.5f);
    EXPECT_FLOAT_EQ(b.max.x, 5.5f);
    EXPECT_FLOAT_EQ(b.min.y, -4.5f);
    EXPECT_FLOAT_EQ(b.max.y, 5.5f);
    ASSERT_EQ(cube->layoutHistory().size(), 1u);
    EXPECT_FLOAT_EQ(cube->layoutOffsetX(), -4.5f);
    EXPECT_FALSE(cube->isLayoutRotated());
}

TEST(DModelPacker, TwoCubesEndOneBehindTheOther)
{
    auto first = boxModel(30, 0, 0, 40, 10, 10);
    auto second = boxModel(-5, -5, 0, 5, 5, 10);
    DModelOperator op;
    op.layout({first, second}, 0);
    EXPECT_FLOAT_EQ(first->boundingBox().min.x, -4.5f);
    EXPECT_FLOAT_EQ(first->boundingBox().min.y, -9.5f);
    EXPECT_FLOAT_EQ(second->boundingBox().min.x, -4.5f);
    EXPECT_FLOAT_EQ(second->boundingBox().min.y, 0.5f);
    EXPECT_FLOAT_EQ(second->boundingBox().max.y, 10.5f);
}

TEST(DModelPacker, SpacingEnlargesEveryRectangle)
{
    auto cube = boxModel(10, 10, 10);
    DModelOperator op;
    op.layout({cube}, 5);
    // The 15 x 15 rectangle is centred: 0.5 - 15 / 2 = -7.
    EXPECT_FLOAT_EQ(cube->boundingBox().min.x, -7.0f);
    EXPECT_FLOAT_EQ(cube->boundingBox().min.y, -7.0f);
}

TEST(DModelPacker, ModelLongerThanThePlatformIsTurned)
{
    // 10 wide, 70 deep: the bin's height stops at 54 and its width grows until the turned
    // rectangle (70 x 10) fits.
    auto bar = boxModel(10, 70, 5);
    DModelOperator op(PlatformSize{96, 54, 160});
    op.layout({bar}, 0);
    EXPECT_TRUE(bar->isLayoutRotated());
    const Vec3f extent = bar->extent();
    EXPECT_NEAR(extent.x, 70.0f, 1e-3);
    EXPECT_NEAR(extent.y, 10.0f, 1e-3);
    EXPECT_NEAR(bar->boundingBox().min.x, 0.5f - 35.0f, 1e-3);
}

TEST(DModelPacker, ManyModelsDoNotOverlap)
{
    ModelList models;
    for (int i = 0; i < 30; ++i)
        models.push_back(
            boxModel(3.0f + static_cast<float>(i % 7), 4.0f + static_cast<float>(i % 5), 2.0f));
    DModelOperator op;
    op.layout(models, 1);
    std::vector<Box3f> boxes;
    for (const auto &m : models)
        boxes.push_back(m->boundingBox());
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const bool apart = boxes[i].max.x <= boxes[j].min.x + 1e-4f ||
                               boxes[j].max.x <= boxes[i].min.x + 1e-4f ||
                               boxes[i].max.y <= boxes[j].min.y + 1e-4f ||
                               boxes[j].max.y <= boxes[i].min.y + 1e-4f;
            EXPECT_TRUE(apart) << i << " overlaps " << j;
        }
}

TEST(DModelPacker, ModelWiderThanThePlatformDepthEitherWayIsMovedAsideOthersArePacked)
{
    // On a platform 8 mm deep a 10 x 10 rectangle never fits; the small one is still packed.
    auto big = boxModel(10, 10, 5);
    auto small = boxModel(4, 4, 5);
    DModelOperator op(PlatformSize{20, 8, 100});
    op.layout({big, small}, 0);
    EXPECT_FLOAT_EQ(small->boundingBox().min.x, -1.5f);
    EXPECT_FLOAT_EQ(small->boundingBox().min.y, -1.5f);
    // The 4 x 4 bin decided; the unplaced model starts at half its width.
    EXPECT_FLOAT_EQ(big->boundingBox().min.x, 2.0f);
    EXPECT_TRUE(DModelOperator::isOutOfBounds(big->boundingBox(), op.platform()));
}

TEST(DModelPacker, EmptyMeshTakesNoRoomAndDoesNotBreakTheLayout)
{
    auto empty = std::make_shared<Model>();
    auto cube = boxModel(10, 10, 10);
    DModelOperator op;
    op.layout({empty, cube}, 0);
    EXPECT_FLOAT_EQ(cube->boundingBox().min.x, -4.5f);
    EXPECT_TRUE(empty->vertices().empty());
}

} // namespace
