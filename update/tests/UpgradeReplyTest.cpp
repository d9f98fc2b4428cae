#include "update/UpgradeReply.h"

#include <gtest/gtest.h>

namespace
{

struct VersionCase {
    const char *name;
    const char *offered;
    const char *current;
    bool newer;
};

class NewerVersion : public ::testing::TestWithParam<VersionCase>
{
};

TEST_P(NewerVersion, followsTheFourPartIntegerRule)
{
    const VersionCase &c = GetParam();
    EXPECT_EQ(UpgradeReply::isNewerVersion(QString::fromLatin1(c.offered),
                                           QString::fromLatin1(c.current)),
              c.newer);
}

INSTANTIATE_TEST_SUITE_P(
    UpgradeReply, NewerVersion,
    ::testing::Values(VersionCase{"integerNotText", "1.0.10.0", "1.0.9.0", true},
                      VersionCase{"olderByInteger", "1.0.9.0", "1.0.10.0", false},
                      VersionCase{"equal", "1.2.3.4", "1.2.3.4", false},
                      VersionCase{"lastPartDecides", "1.0.0.2", "1.0.0.1", true},
                      VersionCase{"firstUnequalDecides", "2.0.0.0", "1.9.9.9", true},
                      VersionCase{"firstUnequalOlder", "1.9.9.9", "2.0.0.0", false},
                      VersionCase{"threePartsNeverNewer", "1.2.3", "1.0.0.0", false},
                      VersionCase{"currentThreeParts", "9.0.0.0", "1.0.0", false},
                      VersionCase{"fiveParts", "1.0.0.0.1", "1.0.0.0", false},
                      VersionCase{"emptyPartIsZero", "1..0.1", "1.0.0.0", true},
                      VersionCase{"emptyPartEqualsZero", "1..0.0", "1.0.0.0", false},
                      VersionCase{"emptyOffered", "", "1.0.0.0", false}),
    [](const ::testing::TestParamInfo<VersionCase> &info) { return info.param.name; });

struct RateCase {
    const char *name;
    qint64 received;
    qint64 elapsedMs;
    const char *text;
};

class RateText : public ::testing::TestWithParam<RateCase>
{
};

TEST_P(RateText, choosesTheUnit)
{
    const RateCase &c = GetParam();
    EXPECT_EQ(UpgradeReply::rateText(c.received, c.elapsedMs).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    UpgradeReply, RateText,
    ::testing::Values(RateCase{"justBelowKilo", 1023, 1000, "1023.000 bytes/sec"},
                      RateCase{"oneKilo", 1024, 1000, "1.000 kB/s"},
                      RateCase{"halfSecond", 1024, 500, "2.000 kB/s"},
                      RateCase{"justBelowMega", 1048575, 1000, "1023.999 kB/s"},
                      RateCase{"oneMega", 1048576, 1000, "1.000 MB/s"},
                      RateCase{"nothingYet", 0, 0, "0.000 bytes/sec"},
                      RateCase{"zeroElapsedCountsAsOneMs", 1, 0, "1000.000 bytes/sec"}),
    [](const ::testing::TestParamInfo<RateCase> &info) { return info.param.name; });

struct ItemsCase {
    const char *name;
    const char *reply;
    bool hasVersion;
    const char *version;
    bool hasUrl;
    const char *url;
};

class ReplyItems : public ::testing::TestWithParam<ItemsCase>
{
};

TEST_P(ReplyItems, findsVersionAndUrl)
{
    const ItemsCase &c = GetParam();
    const UpgradeReply::Items items =
        UpgradeReply::parseItems(QString::fromLatin1(c.reply).split(QLatin1Char(',')));
    EXPECT_EQ(items.hasVersion, c.hasVersion);
    EXPECT_EQ(items.version.toStdString(), c.version);
    EXPECT_EQ(items.hasUrl, c.hasUrl);
    EXPECT_EQ(items.url.toStdString(), c.url);
}

INSTANTIATE_TEST_SUITE_P(
    UpgradeReply, ReplyItems,
    ::testing::Values(ItemsCase{"full",
                                "act=windows_latestversion,version=1.0.0.2,url=http://h/f.exe",
                                true, "1.0.0.2", true, "http://h/f.exe"},
                      ItemsCase{"keyContainsTheWord", "latest_version=2.0.0.0,download_url=x", true,
                                "2.0.0.0", true, "x"},
                      ItemsCase{"firstVersionWins", "version=1.0.0.1,version=9.0.0.0", true,
                                "1.0.0.1", false, ""},
                      ItemsCase{"emptyUrlValue", "version=1.0.0.2,url=", true, "1.0.0.2", true, ""},
                      ItemsCase{"extraEqualsHasNoValue", "version=1.0.0.2,url=http://h/?a=b", true,
                                "1.0.0.2", true, ""},
                      ItemsCase{"noItems", "", false, "", false, ""},
                      ItemsCase{"statusCodeOnly", "404", false, "", false, ""}),
    [](const ::testing::TestParamInfo<ItemsCase> &info) { return info.param.name; });

TEST(UpgradeReply, failureMarkers)
{
    EXPECT_TRUE(UpgradeReply::isFailure(QStringLiteral("errornum:*#0000noact")));
    EXPECT_TRUE(UpgradeReply::isFailure(QStringLiteral("timeout")));
    EXPECT_FALSE(UpgradeReply::isFailure(QStringLiteral("version=1.0.0.2,url=x")));
}

} // namespace
