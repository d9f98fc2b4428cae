#include "TestMeshes.h"

#include "slicing/AccuracyCheck.h"

#include "geometry/Mesh3D.h"
#include "geometry/SlcModel.h"

#include <gtest/gtest.h>

using namespace OrvaneDlp;

TEST(AccuracyCheck, WithoutSlcOffersTheConfiguredThicknesses)
{
    const AccuracyPlan plan = planAccuracyChoice({}, "0.025:0.035:0.05:0.1");
    EXPECT_EQ(plan.accuracies, (QStringList{"0.025", "0.035", "0.05", "0.1"}));
    EXPECT_TRUE(plan.accuracyEditable);
    EXPECT_FALSE(plan.askSlcQuestion);
    EXPECT_EQ(plan.precisionWarnings, 0);
    EXPECT_EQ(planAccuracyChoice({}, "0.05::0.1:").accuracies,
              (QStringList{"0.05", "", "0.1", ""}));
}

TEST(AccuracyCheck, DifferingSlcThicknessesWarnOnceThenOfferOnlyTheFirst)
{
    auto a = slicingtest::slcSquares(2, 0.05f, 1);
    auto b = slicingtest::slcSquares(2, 0.1f, 1);
    auto mesh = slicingtest::meshFrom(testsupport::boxTriangles(0, 0, 0, 1, 1, 1));
    const std::vector<float> thicknesses = slcLayerThicknesses({mesh, a, b});
    ASSERT_EQ(thicknesses.size(), 2u);
    const AccuracyPlan plan = planAccuracyChoice(thicknesses, "0.025:0.05");
    EXPECT_EQ(plan.precisionWarnings, 1);
    EXPECT_TRUE(plan.askSlcQuestion);
    EXPECT_EQ(plan.accuracies, QStringList{"0.05"});
    EXPECT_FALSE(plan.accuracyEditable);
    EXPECT_EQ(plan.windowTitleKey, "hasalreadSlc");
}

TEST(AccuracyCheck, NamesFollowPrefixAndAccuracy)
{
    EXPECT_EQ(accuracyTimeStamp(QTime(9, 5, 7, 42)), "09_05_07_042_");
    EXPECT_EQ(nameAfterPrefixChange("part", "stamp_", "0.05"), "part-0.05.vxpr");
    EXPECT_EQ(nameAfterAccuracyChange("part", "stamp_", "0.1"), "part0.1.vxpr");
    EXPECT_EQ(nameAfterAccuracyChange("", "09_05_07_042_", "0.05"), "09_05_07_042_0.05.vxpr");
}

TEST(AccuracyCheck, ForbiddenCharactersAreRemovedAsTyped)
{
    bool rejected = false;
    EXPECT_EQ(correctTypedPrefix("part/", &rejected), "part");
    EXPECT_TRUE(rejected);
    EXPECT_EQ(correctTypedPrefix("part2", &rejected), "part2");
    EXPECT_FALSE(rejected);
    for (const char *bad : {"\\", "/", "\"", ":", "*", "?", "<", ">", "|", " "})
        EXPECT_FALSE(isValidNamePrefix(QString("a") + bad)) << bad;
}
