#include "geometry/DModelOperator.h"
#include "geometry/Model.h"

#include "BoxModels.h"

#include <gtest/gtest.h>

namespace
{

TEST(DModelOperator, CubeImportedIntoEmptySceneEndsAtTheRightEdge)
{
    auto cube = boxModel(-20, 3, 7, -10, 13, 17);
    DModelOperator op;
    op.dropOntoPlatform({cube});
    op.layout({cube}, 0);
    op.placeBeside({}, {cube});
    const Box3f &b = cube->boundingBox();
    EXPECT_FLOAT_EQ(b.min.x, 38.0f);
    EXPECT_FLOAT_EQ(b.max.x, 48.0f);
    EXPECT_FLOAT_EQ(b.min.y, -4.5f);
    EXPECT_FLOAT_EQ(b.max.y, 5.5f);
    EXPECT_FLOAT_EQ(b.min.z, 0.0f);
    EXPECT_FLOAT_EQ(b.max.z, 10.0f);
}

TEST(DModelOperator, PlaceBesideTouchesTheLeftSideOfTheScene)
{
    auto existing = boxModel(-10, -5, 0, 20, 5, 10);
    auto added = boxModel(0, 0, 0, 5, 5, 5);
    DModelOperator op;
    op.placeBeside({existing}, {added});
    EXPECT_FLOAT_EQ(added->boundingBox().max.x, -10.0f);
    EXPECT_FLOAT_EQ(added->boundingBox().min.y, 0.0f);
}

TEST(DModelOperator, PlatformSizeIsAParameter)
{
    auto cube = boxModel(10, 10, 10);
    DModelOperator op(PlatformSize{200, 100, 50});
    op.placeBeside({}, {cube});
    EXPECT_FLOAT_EQ(cube->boundingBox().max.x, 100.0f);
}

TEST(DModelOperator, TranslateMatrixAppliesTheTranslationAfterM)
{
    DModelOperator op;
    const Matrix4f m = op.translate(scaleMatrix(2, 2, 2), 1, 2, 3);
    EXPECT_FLOAT_EQ(m[12], 2.0f);
    EXPECT_FLOAT_EQ(m[13], 4.0f);
    EXPECT_FLOAT_EQ(m[14], 6.0f);
}

struct BoundsRow {
    const char *name;
    Box3f box;
    bool out;
};

Box3f box(float x0, float y0, float z0, float x1, float y1, float z1)
{
    Box3f b;
    b.min = {x0, y0, z0};
    b.max = {x1, y1, z1};
    return b;
}

class PlatformBounds : public ::testing::TestWithParam<BoundsRow>
{
};

TEST_P(PlatformBounds, Classifies)
{
    EXPECT_EQ(DModelOperator::isOutOfBounds(GetParam().box, PlatformSize{}), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, PlatformBounds,
    ::testing::Values(BoundsRow{"Inside", box(-10, -10, 0, 10, 10, 10), false},
                      BoundsRow{"TouchingEveryEdge", box(-48, -27, 0, 48, 27, 160), false},
                      BoundsRow{"MaxY2700", box(0, 0, 0, 1, 27.00f, 1), false},
                      BoundsRow{"MaxY2701", box(0, 0, 0, 1, 27.01f, 1), true},
                      BoundsRow{"MinYBeyond", box(0, -27.01f, 0, 1, 0, 1), true},
                      BoundsRow{"MaxXBeyond", box(0, 0, 0, 48.01f, 1, 1), true},
                      BoundsRow{"MinXBeyond", box(-48.01f, 0, 0, 0, 1, 1), true},
                      BoundsRow{"SunkBelowPlatform", box(0, 0, -0.001f, 1, 1, 1), true},
                      BoundsRow{"TallerThanPlatform", box(0, 0, 0, 1, 1, 160.01f), true},
                      BoundsRow{"EmptyBox", Box3f{}, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DModelOperator, BoundsTestOverModels)
{
    auto inside = boxModel(0, 0, 0, 10, 10, 10);
    auto outside = boxModel(0, 0, 0, 10, 30, 10);
    EXPECT_FALSE(DModelOperator::anyOutOfBounds({inside}, PlatformSize{}));
    EXPECT_TRUE(DModelOperator::anyOutOfBounds({inside, outside}, PlatformSize{}));
    EXPECT_FALSE(DModelOperator::anyOutOfBounds({outside}, PlatformSize{96, 80, 160}));
}

struct LayerRow {
    const char *name;
    float height;
    int layers;
};

class LayerCount : public ::testing::TestWithParam<LayerRow>
{
};

TEST_P(LayerCount, RoundsAsSinglePrecisionGivesIt)
{
    EXPECT_EQ(DModelOperator::layerCount(GetParam().height, 0.1f), GetParam().layers);
}

INSTANTIATE_TEST_SUITE_P(Heights, LayerCount,
                         ::testing::Values(LayerRow{"Empty", 0.0f, 0},
                                           LayerRow{"H5_05RoundsUp", 5.05f, 51},
                                           LayerRow{"H5_04", 5.04f, 50},
                                           LayerRow{"H10", 10.0f, 100}, LayerRow{"H0_04", 0.04f, 0},
                                           LayerRow{"H0_05", 0.05f, 1}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(DModelOperator, SceneStatisticsOfOneCube)
{
    auto cube = boxModel(10, 10, 10);
    const SceneStatistics stats = DModelOperator::sceneStatistics({cube});
    EXPECT_NEAR(stats.totalVolume, 1000.0, 1e-3);
    EXPECT_EQ(stats.layerCount, 100);
    // 1000 mm3 at 0.1 mm: about 114.3 s of exposure plus 10 s per layer, in minutes.
    EXPECT_NEAR(stats.minutes, 18.5714285, 1e-6);
    const SceneStatistics empty = DModelOperator::sceneStatistics({});
    EXPECT_EQ(empty.layerCount, 0);
    EXPECT_EQ(empty.totalVolume, 0.0);
    EXPECT_EQ(empty.minutes, 0.0);
}

TEST(DModelOperator, SceneStatisticsSumVolumesAndCountLayersOfTheTallestModel)
{
    // The tall cube comes first: a lower model after it must not lower the layer count.
    auto tall = boxModel(0, 0, 0, 10, 10, 10);
    auto low = boxModel(20, 0, 0, 25, 5, 5);
    const SceneStatistics stats = DModelOperator::sceneStatistics({tall, low});
    EXPECT_NEAR(stats.totalVolume, 1125.0, 1e-3);
    EXPECT_FLOAT_EQ(stats.maxZ, 10.0f);
    EXPECT_EQ(stats.layerCount, 100);
    EXPECT_NEAR(stats.minutes, 18.8095237, 1e-6);
}

} // namespace
