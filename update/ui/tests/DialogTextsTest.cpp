#include "update/ui/DlpUpgradeW.h"
#include "update/ui/SdUpdateInformation.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QTextBrowser>
#include <QTranslator>

#include <gtest/gtest.h>

// Every visible text of the update dialogs comes from the translation, in both languages.

namespace
{

const char *const kKeys[] = {"Form",
                             "About Us",
                             "company",
                             "3dService",
                             "3dService1",
                             "3dService2",
                             "Look change logs",
                             "enableAutoDetectNewVersion",
                             "Current Version",
                             "updatesNotConfigured",
                             "Change log",
                             "Online Update"};

QStringList textsOf(QWidget &widget)
{
    QStringList texts{widget.windowTitle()};
    for (QLabel *label : widget.findChildren<QLabel *>())
        texts << label->text();
    for (QAbstractButton *button : widget.findChildren<QAbstractButton *>())
        texts << button->text() << button->toolTip();
    for (QTextBrowser *view : widget.findChildren<QTextBrowser *>())
        texts << view->toPlainText().split(QLatin1Char('\n'));
    return texts;
}

class DialogTexts : public ::testing::TestWithParam<const char *>
{
};

TEST_P(DialogTexts, areTranslatedNotKeys)
{
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(":/language/lang_%1.qm").arg(GetParam())));
    QCoreApplication::installTranslator(&translator);
    SdUpdateInformation about(QStringLiteral("Resinor"), QStringLiteral("1.0.0.1"),
                              QString::fromLatin1(GetParam()));
    about.refresh(); // no service configured: the status line speaks too
    DlpUpgradeW upgrade;
    const QStringList texts = textsOf(about) + textsOf(upgrade);
    QCoreApplication::removeTranslator(&translator);
    for (const char *key : kKeys) {
        if (GetParam() == QLatin1String("en") &&
            (QLatin1String(key) == QLatin1String("About Us") ||
             QLatin1String(key) == QLatin1String("Look change logs") ||
             QLatin1String(key) == QLatin1String("Current Version") ||
             QLatin1String(key) == QLatin1String("Change log") ||
             QLatin1String(key) == QLatin1String("Online Update")))
            continue; // English keys that read as their own text
        for (const QString &text : texts)
            EXPECT_FALSE(text.trimmed() == QLatin1String(key) ||
                         text.startsWith(QLatin1String(key) + QLatin1Char(' ')))
                << key << " shown raw in " << GetParam();
    }
    EXPECT_TRUE(texts.join(QLatin1Char(' ')).contains(QStringLiteral("1.0.0.1")));
}

INSTANTIATE_TEST_SUITE_P(UpdateDialogs, DialogTexts, ::testing::Values("en", "zh"));

} // namespace
