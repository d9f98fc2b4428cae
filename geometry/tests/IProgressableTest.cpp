#include "geometry/IProgressable.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

struct Recorder {
    std::vector<int> percents;
    IProgressable::Callback callback()
    {
        return [this](int percent, const QString &, bool) { percents.push_back(percent); };
    }
};

} // namespace

TEST(IProgressableTest, NestedLevelsExample)
{
    IProgressable root;
    IProgressable reader;
    reader.setParent(&root);
    Recorder rec;
    root.setCallback(rec.callback());
    root.setLevel(QStringLiteral("level1"), {2, 4, QStringLiteral("avg")});
    reader.setLevel(QStringLiteral("level2"), {25, 60, QStringLiteral("pct")});
    reader.report(500, 1000, QStringLiteral("ModalLoding"));
    ASSERT_EQ(rec.percents, std::vector<int>{43});
}

TEST(IProgressableTest, AvgFirstStepStartsAtParentOffset)
{
    IProgressable root;
    Recorder rec;
    root.setCallback(rec.callback());
    root.setLevel(QStringLiteral("level1"), {20, 40, QStringLiteral("pct")});
    root.setLevel(QStringLiteral("level2"), {1, 3, QStringLiteral("avg")});
    EXPECT_EQ(root.progressOf(0, 10), 40);
}

TEST(IProgressableTest, GrandchildReachesRootCallback)
{
    IProgressable root, child, grandchild;
    child.setParent(&root);
    grandchild.setParent(&child);
    Recorder rec;
    grandchild.setCallback(rec.callback()); // stored on the root
    grandchild.report(1, 4, QStringLiteral("Slicing"));
    EXPECT_EQ(rec.percents, std::vector<int>{25});
}

TEST(IProgressableTest, SamePercentReportedOnce)
{
    IProgressable root;
    Recorder rec;
    root.setCallback(rec.callback());
    root.report(10, 100, QString());
    root.report(101, 1000, QString());
    root.report(11, 100, QString());
    EXPECT_EQ(rec.percents, (std::vector<int>{10, 11}));
}

TEST(IProgressableTest, NoCallbackNoReport)
{
    IProgressable root;
    root.report(1, 2, QString());
    EXPECT_EQ(root.lastPercent(), -1);
}

TEST(IProgressableTest, CancelAtRoot)
{
    IProgressable root, child;
    child.setParent(&root);
    Recorder rec;
    root.setCallback(rec.callback());
    child.setCancel(true);
    EXPECT_TRUE(root.isCancelled());
    EXPECT_TRUE(child.isCancelled());
    root.report(1, 10, QString());
    child.report(3, 10, QString());
    EXPECT_EQ(rec.percents, (std::vector<int>{100, 30}));
    root.setCancel(false);
    EXPECT_FALSE(child.isCancelled());
}

struct RangeCase {
    const char *name;
    std::vector<int> tos; // setRange calls in order
    std::int64_t current;
    std::int64_t total;
    int expected;
};

class RangeTest : public ::testing::TestWithParam<RangeCase>
{
};

TEST_P(RangeTest, ReportsWithinRange)
{
    IProgressable p;
    Recorder rec;
    p.setCallback(rec.callback());
    for (int to : GetParam().tos)
        p.setRange(to);
    p.reportInRange(GetParam().current, GetParam().total, QString());
    ASSERT_EQ(rec.percents.size(), 1u);
    EXPECT_EQ(rec.percents[0], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RangeTest,
    ::testing::Values(RangeCase{"HugeByteCounts", {100}, 300000000, 600000000, 50},
                      RangeCase{"BeyondTotalClamped", {100}, 900, 600, 100},
                      RangeCase{"SecondRangeStartsAtFirstEnd", {40, 80}, 1, 2, 60},
                      RangeCase{"AfterFullRangeStartsAtZero", {100, 50}, 1, 2, 25},
                      RangeCase{"EmptyTotalIsComplete", {70}, 0, 0, 70},
                      RangeCase{"TerabyteTotal", {100}, 1LL << 40, 1LL << 41, 50}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(IProgressableTest, ZeroTotalCountsAsCompleteLevel)
{
    IProgressable root;
    root.setLevel(QStringLiteral("level1"), {2, 4, QStringLiteral("avg")});
    EXPECT_EQ(root.progressOf(0, 0), 50);
    EXPECT_EQ(root.progressOf(5, -1), 50);
}

TEST(IProgressableTest, ParentCycleRefused)
{
    IProgressable a, b;
    b.setParent(&a);
    a.setParent(&b);
    EXPECT_EQ(a.parent(), nullptr);
    a.setCancel(true);
    EXPECT_TRUE(b.isCancelled());
}
