#include "SupportFixtures.h"

#include "supports/SupportJob.h"

#include <gtest/gtest.h>

namespace
{

// As a project load leaves a model: placed, with points and parameters but no support meshes.
std::shared_ptr<Model> loadedTable(std::size_t *partsAtSave)
{
    auto model = fixtures::makeModel(fixtures::table(22, 5, 2, 2));
    // Lifted by the first generation.
    const SupportJobResult first =
        generateSupportsForModel(*model, fixtures::basedParams(false), nullptr);
    EXPECT_TRUE(first.ok) << first.error.toStdString();
    *partsAtSave = model->support()->parts.size();
    model->setSupport(nullptr);
    return model;
}

TEST(SupportRegeneration, SameSupportsWithoutMovingTheModel)
{
    std::size_t saved = 0;
    auto model = loadedTable(&saved);
    const float z = model->boundingBox().min.z;
    ASSERT_FLOAT_EQ(z, 5.0f);
    const SupportJobResult r = regenerateSupportsForModel(*model, nullptr);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(model->boundingBox().min.z, z);
    ASSERT_TRUE(model->support());
    EXPECT_EQ(model->support()->parts.size(), saved);
}

TEST(SupportRegeneration, StoredPointsAreUsedAsTheyAre)
{
    std::size_t saved = 0;
    auto model = loadedTable(&saved);
    const std::size_t points = model->overhangs().size();
    ASSERT_GT(points, 1u);
    model->overhangs().pop_back(); // a point the user removed by hand stays removed
    const SupportJobResult r = regenerateSupportsForModel(*model, nullptr);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(model->overhangs().size(), points - 1);
    EXPECT_EQ(r.overhangs, static_cast<int>(points - 1));
    EXPECT_LT(model->support()->parts.size(), saved);
}

TEST(SupportRegeneration, RefusedParametersLeaveTheModelAlone)
{
    std::size_t saved = 0;
    auto model = loadedTable(&saved);
    model->supportParameters().supportRadius = 0.0f;
    const SupportJobResult r = regenerateSupportsForModel(*model, nullptr);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_FALSE(model->support());
}

} // namespace
