#include "updater/PatchwynReply.h"
#include "updater/PatchwynOptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

struct AttributeCase {
    const char *name;
    const char *reply;
    const char *key;
    int from;
    bool found;
    const char *value;
};

class Attribute : public ::testing::TestWithParam<AttributeCase>
{
};

TEST_P(Attribute, isTheMinimalFirstCapture)
{
    const AttributeCase &c = GetParam();
    bool found = false;
    const QString value = PatchwynReply::attribute(QString::fromUtf8(c.reply),
                                                   QString::fromLatin1(c.key), c.from, &found);
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(value.toStdString(), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    PatchwynReply, Attribute,
    ::testing::Values(
        AttributeCase{"minimalNotGreedy", "success=\"true\" version=\"1.0.0.2\" x=\"y\"", "version",
                      0, true, "1.0.0.2"},
        AttributeCase{"presence", "success=\"\"", "success", 0, true, ""},
        AttributeCase{"missing", "version=\"1\"", "success", 0, false, ""},
        AttributeCase{"caseSensitive", "Version=\"1\"", "version", 0, false, ""},
        AttributeCase{"notTheTailOfAWord", "filename=\"a\" name=\"b\"", "name", 0, true, "b"},
        AttributeCase{"fromSecondCharacter", "log=\"a\"", "log", 1, false, ""},
        AttributeCase{"spansLines", "log=\"one\ntwo\"", "log", 0, true, "one\ntwo"},
        AttributeCase{"unclosedQuote", "version=\"1.0", "version", 0, false, ""}),
    [](const ::testing::TestParamInfo<AttributeCase> &info) { return info.param.name; });

struct NewerCase {
    const char *name;
    const char *offered;
    const char *current;
    bool newer;
};

class Newer : public ::testing::TestWithParam<NewerCase>
{
};

TEST_P(Newer, comparesPartsAsNumbers)
{
    EXPECT_EQ(PatchwynReply::isNewer(QString::fromLatin1(GetParam().offered),
                                     QString::fromLatin1(GetParam().current)),
              GetParam().newer);
}

INSTANTIATE_TEST_SUITE_P(
    PatchwynReply, Newer,
    ::testing::Values(NewerCase{"tenIsNewerThanNine", "1.10.0.0", "1.9.0.0", true},
                      NewerCase{"nineIsOlderThanTen", "1.9.0.0", "1.10.0.0", false},
                      NewerCase{"equal", "1.0.0.2", "1.0.0.2", false},
                      NewerCase{"lastPart", "1.0.0.3", "1.0.0.2", true},
                      NewerCase{"missingPartsAreZero", "1.0.0.1", "1.0", true},
                      NewerCase{"shorterButEqual", "1.0", "1.0.0.0", false},
                      NewerCase{"textWhenNotNumbers", "1.0b", "1.0a", true}),
    [](const ::testing::TestParamInfo<NewerCase> &info) { return info.param.name; });

struct NameCase {
    const char *name;
    const char *offered;
    const char *file;
};

class SafeName : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(SafeName, isAPlainBaseName)
{
    EXPECT_EQ(PatchwynReply::safeFileName(QString::fromUtf8(GetParam().offered)).toStdString(),
              GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    PatchwynReply, SafeName,
    ::testing::Values(NameCase{"plain", "Resinor-1.0.0.2.run", "Resinor-1.0.0.2.run"},
                      NameCase{"climbsOut", "../../.bashrc", ".bashrc"},
                      NameCase{"absolute", "/usr/bin/Resinor", "Resinor"},
                      NameCase{"windowsFolders", "C:\\Windows\\evil.exe", "evil.exe"},
                      NameCase{"onlyDots", "..", ""}, NameCase{"folderOnly", "setup/", ""},
                      NameCase{"empty", "", ""},
                      NameCase{"controlCharacters", "se\ntup.run", "setup.run"}),
    [](const ::testing::TestParamInfo<NameCase> &info) { return info.param.name; });

struct OptionsCase {
    const char *name;
    std::vector<const char *> args;
    PatchwynOptions::Parse result;
    const char *mode;
    const char *language;
};

class Options : public ::testing::TestWithParam<OptionsCase>
{
};

TEST_P(Options, parse)
{
    QStringList args{QStringLiteral("Patchwyn")};
    for (const char *a : GetParam().args)
        args << QString::fromLatin1(a);
    PatchwynOptions options;
    QString message;
    EXPECT_EQ(PatchwynOptions::parse(args, &options, &message), GetParam().result);
    if (GetParam().result == PatchwynOptions::Parse::Ok) {
        EXPECT_EQ(options.mode.toStdString(), GetParam().mode);
        EXPECT_EQ(options.language.toStdString(), GetParam().language);
    } else {
        EXPECT_FALSE(message.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    PatchwynOptions, Options,
    ::testing::Values(
        OptionsCase{"defaults",
                    {"--name", "R", "--version", "1", "--url", "u"},
                    PatchwynOptions::Parse::Ok,
                    "ui",
                    "zh"},
        OptionsCase{"modeInUpperCase",
                    {"--name", "R", "--version", "1", "--url", "u", "--mode", "CMD"},
                    PatchwynOptions::Parse::Ok,
                    "cmd",
                    "zh"},
        OptionsCase{"language",
                    {"--name", "R", "--version", "1", "--url", "u", "--language", "en"},
                    PatchwynOptions::Parse::Ok,
                    "ui",
                    "en"},
        OptionsCase{"missingUrl",
                    {"--name", "R", "--version", "1"},
                    PatchwynOptions::Parse::MissingRequired,
                    "",
                    ""},
        OptionsCase{"missingVersion",
                    {"--name", "R", "--url", "u"},
                    PatchwynOptions::Parse::MissingRequired,
                    "",
                    ""},
        OptionsCase{
            "unknownOption", {"--name", "R", "--frob"}, PatchwynOptions::Parse::Error, "", ""},
        OptionsCase{"valueMissing", {"--name"}, PatchwynOptions::Parse::Error, "", ""}),
    [](const ::testing::TestParamInfo<OptionsCase> &info) { return info.param.name; });

TEST(PatchwynOptions, helpShowsTheValueNames)
{
    PatchwynOptions options;
    QString message;
    PatchwynOptions::parse({QStringLiteral("Patchwyn")}, &options, &message);
    EXPECT_TRUE(message.contains(QStringLiteral("--name <The name that program to be upgraded>")));
    EXPECT_TRUE(message.contains(QStringLiteral("--mode <The mode that program to be upgraded >")));
}

} // namespace
