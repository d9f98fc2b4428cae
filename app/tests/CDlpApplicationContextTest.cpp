#include "app/CDlpApplicationContext.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace
{

const char *const kNoItem = "there is no language config item at software config file!";

struct LanguageRow {
    const char *name;
    const char *stored; // "softLang" before the start, "" when missing
    const char *locale;
    const char *code;
    QStringList logLines;
};

class LanguageChoice : public testing::TestWithParam<LanguageRow>
{
};

} // namespace

TEST_P(LanguageChoice, ChoosesAndRemembersTheLanguage)
{
    const LanguageRow &row = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QSettings settings(dir.filePath(QStringLiteral("Resinor.ini")), QSettings::IniFormat);
    if (*row.stored)
        settings.setValue(QStringLiteral("softLang"), QString::fromLatin1(row.stored));

    const auto choice =
        CDlpApplicationContext::chooseLanguage(QString::fromLatin1(row.locale), settings);
    EXPECT_EQ(choice.code, QString::fromLatin1(row.code));
    EXPECT_EQ(choice.logLines, row.logLines);
    settings.sync();
    EXPECT_EQ(QSettings(settings.fileName(), QSettings::IniFormat).value("softLang").toString(),
              QString::fromLatin1(row.code));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LanguageChoice,
    testing::Values(
        LanguageRow{"germanFirstRun",
                    "",
                    "de_DE",
                    "zh",
                    {kNoItem, "get language configt item from system native failed! values: "
                              "de_DE"}},
        LanguageRow{"britishFirstRun", "", "en_GB", "en", {kNoItem}},
        LanguageRow{"chineseFirstRun", "", "zh_TW", "zh", {kNoItem}},
        LanguageRow{"posixLocale",
                    "",
                    "C",
                    "zh",
                    {kNoItem, "get language configt item from system native failed! values: C"}},
        LanguageRow{"storedEnglish", "en", "de_DE", "en", {}},
        LanguageRow{"storedUnknownKept", "fr", "en_US", "fr", {}}),
    [](const testing::TestParamInfo<LanguageRow> &info) { return std::string(info.param.name); });

struct TranslationRow {
    const char *name;
    const char *code;
    bool loads;
    const char *source;
    const char *translated;
    const char *context = "DlpOrvaneApp";
};

class Translation : public testing::TestWithParam<TranslationRow>
{
};

TEST_P(Translation, LoadsFromTheResources)
{
    const TranslationRow &row = GetParam();
    QTranslator translator;
    ASSERT_EQ(CDlpApplicationContext::loadTranslation(translator, QString::fromLatin1(row.code)),
              row.loads);
    if (row.loads) {
        EXPECT_EQ(translator.translate(row.context, row.source), QString::fromUtf8(row.translated));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Translation,
    testing::Values(TranslationRow{"english", "en", true, "NoModel", "No model file for printing"},
                    TranslationRow{"chinese", "zh", true, "Tip", "提示"},
                    TranslationRow{"chineseRunning", "zh", true, "isRuning", "正在运行"},
                    TranslationRow{"importTitleEnglish", "en", true, "3D Model Files...",
                                   "Open 3D Model File", "DModelIoManager"},
                    TranslationRow{"importTitleChinese", "zh", true, "3D Model Files...",
                                   "打开3D模型文件", "DModelIoManager"},
                    TranslationRow{"noSuchLanguage", "fr", false, "", ""}),
    [](const testing::TestParamInfo<TranslationRow> &info) {
        return std::string(info.param.name);
    });

TEST(StyleSheet, IsCutAtTheFirstNul)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("title.css"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("QWidget { color: red; }\0garbage", 32));
    file.close();
    EXPECT_EQ(CDlpApplicationContext::readStyleSheet(path),
              QStringLiteral("QWidget { color: red; }"));
}

TEST(StyleSheet, MissingResourceGivesAnEmptySheet)
{
    EXPECT_TRUE(CDlpApplicationContext::readStyleSheet(QStringLiteral(":/css/none.css")).isEmpty());
    EXPECT_FALSE(
        CDlpApplicationContext::readStyleSheet(QStringLiteral(":/css/title.css")).isEmpty());
}

TEST(LogConfPath, LiesBesideTheUserSettings)
{
    const QString org = QCoreApplication::organizationName();
    const QString app = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Resinor"));
    QSettings::setDefaultFormat(QSettings::IniFormat);

    const QString path = CDlpApplicationContext::logConfPath();
    const QString settingsFile = QSettings().fileName();

    QSettings::setDefaultFormat(QSettings::NativeFormat);
    QCoreApplication::setOrganizationName(org);
    QCoreApplication::setApplicationName(app);

    EXPECT_TRUE(settingsFile.endsWith(QStringLiteral("/Orvane/Resinor.ini")));
    EXPECT_EQ(path,
              QFileInfo(settingsFile).absolutePath() + QStringLiteral("/Resinor/logConf.ini"));
}
