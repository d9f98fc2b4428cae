#include "render/GlVersionCheck.h"

#include <gtest/gtest.h>

using Orvane3Ds::checkGlVersion;

namespace
{

struct VersionRow {
    const char *name;
    const char *driver;
    int answer;
};

QStringList probe(const char *version)
{
    return {QString::fromLatin1(version), QStringLiteral("vendor"), QStringLiteral("renderer"),
            QStringLiteral("1.20"), QStringLiteral("ext")};
}

class GlVersionCheck : public ::testing::TestWithParam<VersionRow>
{
};

} // namespace

TEST_P(GlVersionCheck, answersByMajorThenMinor)
{
    QString detected;
    EXPECT_EQ(checkGlVersion(probe(GetParam().driver), QStringLiteral("2.1.0"), &detected),
              GetParam().answer);
    if (GetParam().answer == 254) {
        EXPECT_EQ(detected, QString::fromLatin1(GetParam().driver).section(' ', 0, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, GlVersionCheck,
    ::testing::Values(VersionRow{"mesaCompatibility", "4.5 (Compatibility Profile) Mesa", 0},
                      VersionRow{"exactlyRequired", "2.1 Mesa", 0},
                      VersionRow{"olderMinor", "2.0 Vendor", 254},
                      VersionRow{"olderMajor", "1.4", 254},
                      VersionRow{"twoDigitMajor", "10.0 Future", 0},
                      VersionRow{"majorOnly", "3", 0}, VersionRow{"empty", "", 255}),
    [](const auto &info) { return info.param.name; });

TEST(GlVersionCheck, incompleteProbeAnswers255)
{
    EXPECT_EQ(checkGlVersion({}, QStringLiteral("2.1.0")), 255);
    EXPECT_EQ(checkGlVersion(probe("4.5"), QString()), 255);
}

TEST(GlVersionCheck, probeReadsTheDriverUnderX)
{
    const QStringList strings = Orvane3Ds::probeGlStrings();
    ASSERT_EQ(strings.size(), 5);
    EXPECT_EQ(checkGlVersion(strings, QStringLiteral("2.1.0")), 0) << strings.at(0).toStdString();
}
