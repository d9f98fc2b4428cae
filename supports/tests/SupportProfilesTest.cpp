#include "supports/SupportProfiles.h"
#include "supports/DDlpSupportSettingManage.h"

#include "testsupport/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

QByteArray profileText(const QByteArray &overrideKey = {}, const QByteArray &overrideValue = {},
                       bool dropKey = false)
{
    const QList<QPair<QByteArray, QByteArray>> keys{{"method", "A"},
                                                    {"overhangDiameter", "0.6"},
                                                    {"linkPointDiameter", "0.4"},
                                                    {"supportGaps", "2.0"},
                                                    {"supportDiameter", "0.8"},
                                                    {"supportHeight", "5"},
                                                    {"supportBaseHeight", "1.2"},
                                                    {"supportBaseExtern", "2.5"},
                                                    {"isHasSupports", "false"},
                                                    {"isAddSupportBase", "true"}};
    QByteArray text = "[support]\n";
    for (const auto &kv : keys) {
        if (kv.first == overrideKey) {
            if (!dropKey)
                text += kv.first + "=" + overrideValue + "\n";
        } else {
            text += kv.first + "=" + kv.second + "\n";
        }
    }
    return text;
}

class RecordingSink : public ISupportParameterSink
{
  public:
    void setSupportParameters(const SupportParameters &params) override
    {
        received = params;
        ++calls;
    }
    SupportParameters received;
    int calls = 0;
};

TEST(SupportProfiles, LoadsValuesIntoTheRecord)
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.filePath("mine.ini"), profileText());
    SupportParameters p;
    p.method = 1;
    QString error;
    ASSERT_TRUE(loadSupportProfile(dir.filePath("mine.ini"), &p, &error)) << error.toStdString();
    EXPECT_EQ(p.method, 0);
    EXPECT_FLOAT_EQ(p.overhangRadius, 0.3f);
    EXPECT_FLOAT_EQ(p.linkPointRadius, 0.2f);
    EXPECT_FLOAT_EQ(p.supportGaps, 2.0f);
    EXPECT_FLOAT_EQ(p.supportRadius, 0.4f);
    EXPECT_FLOAT_EQ(p.supportHeight, 5.0f);
    EXPECT_FLOAT_EQ(p.baseHeight, 1.2f);
    EXPECT_FLOAT_EQ(p.baseExtern, 2.5f);
    EXPECT_FALSE(p.hasSupports);
    EXPECT_EQ(p.baseMode, 1);
    EXPECT_EQ(p.profileName, QByteArray("mine.ini"));
}

struct LoadRow {
    const char *name;
    QByteArray key;
    QByteArray value;
    bool drop;
    bool loads;
    const char *errorMentions; // key and value named in the error
};

class SupportProfileRows : public ::testing::TestWithParam<LoadRow>
{
};

TEST_P(SupportProfileRows, ChecksEachValue)
{
    const LoadRow &row = GetParam();
    QTemporaryDir dir;
    testsupport::writeFile(dir.filePath("p.ini"), profileText(row.key, row.value, row.drop));
    SupportParameters p;
    p.method = 1;
    const SupportParameters before = p;
    QString error;
    const bool ok = loadSupportProfile(dir.filePath("p.ini"), &p, &error);
    EXPECT_EQ(ok, row.loads) << error.toStdString();
    if (!row.loads) {
        EXPECT_EQ(p, before);
        EXPECT_TRUE(error.contains(QString::fromLatin1(row.key))) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromLatin1(row.errorMentions))) << error.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SupportProfileRows,
    ::testing::Values(LoadRow{"decimalComma", "supportGaps", "1,5", false, false, "1,5"},
                      LoadRow{"letters", "supportDiameter", "0.8mm", false, false, "0.8mm"},
                      LoadRow{"empty", "overhangDiameter", "", false, false, "overhangDiameter"},
                      LoadRow{"missing", "supportBaseExtern", "", true, false, "missing"},
                      LoadRow{"twoPoints", "supportHeight", "1.2.3", false, false, "1.2.3"},
                      LoadRow{"negative", "supportBaseHeight", "-1", false, false, "-1"},
                      LoadRow{"diameterZeroLoads", "supportDiameter", "0", false, true, ""},
                      LoadRow{"methodCKeepsPrevious", "method", "c", false, true, ""},
                      LoadRow{"flagsMayBeMissing", "isHasSupports", "", true, true, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SupportProfiles, MethodIsCaseInsensitiveAndUnknownKeepsThePrevious)
{
    QTemporaryDir dir;
    SupportParameters p;
    testsupport::writeFile(dir.filePath("b.ini"), profileText("method", "b"));
    ASSERT_TRUE(loadSupportProfile(dir.filePath("b.ini"), &p, nullptr));
    EXPECT_EQ(p.method, 1);
    testsupport::writeFile(dir.filePath("c.ini"), profileText("method", "c"));
    ASSERT_TRUE(loadSupportProfile(dir.filePath("c.ini"), &p, nullptr));
    EXPECT_EQ(p.method, 1);
}

TEST(SupportProfiles, BaseFlagFalseGivesBaseModeTwo)
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.filePath("p.ini"), profileText("isAddSupportBase", "false"));
    SupportParameters p;
    ASSERT_TRUE(loadSupportProfile(dir.filePath("p.ini"), &p, nullptr));
    EXPECT_EQ(p.baseMode, 2);
}

TEST(SupportProfiles, MissingFileIsAnError)
{
    SupportParameters p;
    QString error;
    EXPECT_FALSE(loadSupportProfile(QStringLiteral("/nonexistent/none.ini"), &p, &error));
    EXPECT_TRUE(error.contains(QLatin1String("none.ini")));
}

struct ValueRow {
    const char *name;
    const char *value;
    bool allowEmpty;
    bool passes;
};

class ProfileValueCheck : public ::testing::TestWithParam<ValueRow>
{
};

TEST_P(ProfileValueCheck, DigitsAndPointOnly)
{
    const ValueRow &row = GetParam();
    EXPECT_EQ(checkProfileValue(QString::fromLatin1(row.value), row.allowEmpty), row.passes);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProfileValueCheck,
                         ::testing::Values(ValueRow{"number", "2.5", false, true},
                                           ValueRow{"spacesAround", " 2.5 ", false, true},
                                           ValueRow{"comma", "1,5", false, false},
                                           ValueRow{"sign", "-1", false, false},
                                           ValueRow{"emptyRefused", "  ", false, false},
                                           ValueRow{"emptyAllowed", "", true, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SupportProfiles, ShippedProfilesLoadAndGrowHeavier)
{
    const QString shipped = QStringLiteral(RESINOR_SUPPORT_PROFILES_DIR);
    const QStringList names = listSupportProfiles(shipped);
    ASSERT_GE(names.size(), 2);
    SupportParameters light, medium, heavy;
    QString error;
    ASSERT_TRUE(loadSupportProfile(QDir(shipped).filePath("light.ini"), &light, &error))
        << error.toStdString();
    ASSERT_TRUE(loadSupportProfile(QDir(shipped).filePath("medium.ini"), &medium, &error));
    ASSERT_TRUE(loadSupportProfile(QDir(shipped).filePath("heavy.ini"), &heavy, &error));
    for (const SupportParameters *p : {&light, &medium, &heavy}) {
        EXPECT_EQ(p->method, 0);
        EXPECT_GT(p->supportRadius, 0.0f);
        EXPECT_LE(p->linkPointRadius, p->overhangRadius);
        EXPECT_LE(p->linkPointRadius, p->supportRadius);
        EXPECT_EQ(p->baseMode, 1);
    }
    EXPECT_LT(light.supportRadius, medium.supportRadius);
    EXPECT_LT(medium.supportRadius, heavy.supportRadius);
    EXPECT_GT(light.supportGaps, heavy.supportGaps);
}

TEST(SupportProfiles, ShippedMethodBProfileLoads)
{
    const QString shipped = QStringLiteral(RESINOR_SUPPORT_PROFILES_DIR);
    EXPECT_TRUE(listSupportProfiles(shipped).contains(QStringLiteral("fine-b.ini")));
    SupportParameters p;
    QString error;
    ASSERT_TRUE(loadSupportProfile(QDir(shipped).filePath("fine-b.ini"), &p, &error))
        << error.toStdString();
    EXPECT_EQ(p.method, 1);
    EXPECT_FLOAT_EQ(p.supportRadius, 0.35f);
    EXPECT_FLOAT_EQ(p.linkPointRadius, 0.15f);
    EXPECT_LE(p.linkPointRadius, p.overhangRadius);
    EXPECT_GT(p.supportRadius, 0.05f) << "braces are 0.05 thinner in radius";
    EXPECT_EQ(p.baseMode, 1);
}

TEST(SupportProfiles, StartUpCopyKeepsExistingFiles)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("Orvane Cfgs");
    QDir().mkpath(target);
    testsupport::writeFile(QDir(target).filePath("medium.ini"), "edited by the user");
    QString error;
    ASSERT_TRUE(copyShippedProfiles(QStringLiteral(RESINOR_SUPPORT_PROFILES_DIR), target, &error))
        << error.toStdString();
    EXPECT_EQ(testsupport::readFile(QDir(target).filePath("medium.ini")),
              QByteArray("edited by the user"));
    EXPECT_TRUE(QFileInfo::exists(QDir(target).filePath("light.ini")));
    EXPECT_TRUE(QFileInfo::exists(QDir(target).filePath("heavy.ini")));
    // A second start copies nothing new and still succeeds.
    EXPECT_TRUE(copyShippedProfiles(QStringLiteral(RESINOR_SUPPORT_PROFILES_DIR), target));
}

TEST(SupportProfiles, ResolvesNamesInTheProfileFolderAndPaths)
{
    const QString shipped = QStringLiteral(RESINOR_SUPPORT_PROFILES_DIR);
    EXPECT_TRUE(resolveSupportProfile("medium", shipped).endsWith("medium.ini"));
    EXPECT_TRUE(resolveSupportProfile("medium.ini", shipped).endsWith("medium.ini"));
    EXPECT_TRUE(resolveSupportProfile(QDir(shipped).filePath("heavy.ini"), "/nonexistent")
                    .endsWith("heavy.ini"));
    EXPECT_TRUE(resolveSupportProfile("nothing", shipped).isEmpty());
}

TEST(SupportSettingManage, LoadPushesAndFailureKeepsTheRecord)
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.filePath("good.ini"), profileText());
    testsupport::writeFile(dir.filePath("bad.ini"), profileText("supportGaps", "1,5"));
    RecordingSink sink;
    DDlpSupportSettingManage manage(dir.path());
    manage.setSupportApp(&sink);
    ASSERT_TRUE(manage.loadProfile("good.ini"));
    EXPECT_EQ(sink.calls, 1);
    EXPECT_FLOAT_EQ(sink.received.supportRadius, 0.4f);
    const SupportParameters kept = manage.parameters();
    EXPECT_FALSE(manage.loadProfile("bad.ini"));
    EXPECT_EQ(sink.calls, 1);
    EXPECT_EQ(manage.parameters(), kept);
    EXPECT_TRUE(manage.errorString().contains("supportGaps"));
    SdSupportSettingManage base;
    EXPECT_FALSE(base.loadProfile("good.ini"));
}

} // namespace
