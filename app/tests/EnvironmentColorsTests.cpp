#include "app/CEnvironmentColors.h"
#include "app/CSuppliesManager.h"
#include "app/DescriptionCipher.h"
#include "app/EnvironmentSetup.h"

#include "testsupport/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orvane3Ds;

namespace
{

const QByteArray ColourFile = "GRAY=0.5,0.5,0.5\n"
                              "BLUE=0,0,1,\n"
                              "YELLOW=1, 1, 0\r\n"
                              "LIGHT_RED=1,0.5,0.5\n"
                              "RED=1,0,0\n"
                              "broken line\n"
                              "HALF=0.5,0.5\n";

void expectColour(const Vec3f &c, float r, float g, float b)
{
    EXPECT_FLOAT_EQ(c.x, r);
    EXPECT_FLOAT_EQ(c.y, g);
    EXPECT_FLOAT_EQ(c.z, b);
}

} // namespace

TEST(EnvironmentColors, colourFileLinesBecomeNamedColours)
{
    CEnvironmentColors colors;
    colors.parseColors(ColourFile);
    EXPECT_EQ(colors.namedColors().size(), 5);
    expectColour(colors.namedColors().value("BLUE"), 0, 0, 1);
    expectColour(colors.namedColors().value("YELLOW"), 1, 1, 0);
    EXPECT_FALSE(colors.namedColors().contains("HALF"));
}

TEST(EnvironmentColors, applyingTheDefaultSchemeSetsTheRoles)
{
    CEnvironmentColors colors;
    colors.parseColors(ColourFile);
    colors.buildSchemes();
    int changed = 0;
    colors.setColorChangedCallback([&changed] { ++changed; });
    ASSERT_TRUE(colors.applyScheme(QStringLiteral("ColorDefault")));
    expectColour(colors.roleColor(0), 0.5f, 0.5f, 0.5f);
    expectColour(colors.roleColor(1), 0, 0, 1);
    expectColour(colors.roleColor(2), 1, 1, 0);
    expectColour(colors.roleColor(3), 1, 0.5f, 0.5f);
    expectColour(colors.roleColor(4), 1, 0, 0);
    expectColour(colors.roleColor(5), 0.3f, 0.3f, 0.3f);
    EXPECT_EQ(colors.schemeName(), QStringLiteral("ColorDefault"));
    EXPECT_EQ(changed, 1);
}

TEST(EnvironmentColors, aColourMissingFromTheFileIsBlack)
{
    CEnvironmentColors colors;
    colors.parseColors(ColourFile);
    colors.buildSchemes();
    ASSERT_TRUE(colors.applyScheme(QStringLiteral("ColorGreen")));
    expectColour(colors.roleColor(0), 0, 0, 0);
    EXPECT_FALSE(colors.applyScheme(QStringLiteral("NoSuchScheme")));
    EXPECT_EQ(colors.schemeName(), QStringLiteral("ColorGreen"));
}

TEST(EnvironmentColors, everyBuiltInSchemeIsCached)
{
    CEnvironmentColors colors;
    colors.buildSchemes();
    EXPECT_EQ(colors.schemeNames().size(), 20);
}

TEST(EnvironmentColors, greyScopeRestoresColoursAndName)
{
    CEnvironmentColors colors;
    colors.parseColors(ColourFile);
    colors.buildSchemes();
    colors.applyScheme(QStringLiteral("ColorDefault"));
    {
        GreyRoleColorsScope grey(colors);
        for (int role = 0; role < CEnvironmentColors::RoleCount; ++role)
            expectColour(colors.roleColor(role), 0.8f, 0.8f, 0.8f);
        colors.setSchemeName(QStringLiteral("changed"));
    }
    expectColour(colors.roleColor(1), 0, 0, 1);
    EXPECT_EQ(colors.schemeName(), QStringLiteral("ColorDefault"));
}

TEST(SuppliesList, savedAndLoadedBackUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("supplies.xml");
    CSuppliesManager out;
    out.setVersion(QStringLiteral("3"));
    out.setItems({{QStringLiteral("ColorRed"), QStringLiteral("12.5"), QStringLiteral("80"),
                   QStringLiteral("1.0")},
                  {QStringLiteral("Standard Material ColorWhite"), QStringLiteral("9"),
                   QStringLiteral("75"), QStringLiteral("1.1")}});
    ASSERT_TRUE(out.save(path)) << out.errorString().toStdString();
    const QByteArray text = testsupport::readFile(path);
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\" ?>"));

    CSuppliesManager in;
    ASSERT_TRUE(in.load(path)) << in.errorString().toStdString();
    EXPECT_EQ(in.items(), out.items());
    EXPECT_EQ(in.version(), QStringLiteral("3"));
}

TEST(SuppliesList, aBrokenFileKeepsTheCurrentList)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("supplies.xml");
    testsupport::writeFile(path, "<CfgItems><Item color=");
    CSuppliesManager manager;
    manager.setItems({{QStringLiteral("ColorRed"), {}, {}, {}}});
    EXPECT_FALSE(manager.load(path));
    EXPECT_FALSE(manager.errorString().isEmpty());
    EXPECT_EQ(manager.items().size(), 1);
    EXPECT_FALSE(manager.load(dir.filePath("missing.xml")));
}

TEST(DescriptionFile, encodingRoundTrips)
{
    const QByteArray xml = "<Version value=\"2\"><Precision value=\"0.1\">"
                           "<Item name=\"ColorRed\" price=\"1\" lightstrong=\"2\" version=\"3\"/>"
                           "</Precision></Version>";
    const QByteArray encoded = encodeDescription(xml);
    EXPECT_FALSE(encoded.contains("ColorRed"));
    QByteArray decoded;
    ASSERT_TRUE(decodeDescription(encoded, decoded));
    EXPECT_EQ(decoded, xml);
    EXPECT_FALSE(decodeDescription(xml, decoded));
    EXPECT_FALSE(decodeDescription("ORVDSC1\n!!!not base64!!!", decoded));
}

TEST(DescriptionFile, firstSupplyOfTheTenthMillimetreIsSelected)
{
    CSupplizeConfig config;
    ASSERT_TRUE(
        config.parseDescription("<Version value=\"2\">"
                                "<Precision value=\"0.05\"><Item name=\"ColorBlue\"/></Precision>"
                                "<Precision value=\"0.1\"><Item name=\"ColorRed\" price=\"1\"/>"
                                "<Item name=\"ColorWhite\"/></Precision></Version>"));
    EXPECT_EQ(config.suppliesVersion(), QStringLiteral("2"));
    ASSERT_TRUE(config.selectFirstSupply());
    EXPECT_EQ(config.selectedSupply().color, QStringLiteral("ColorRed"));
    EXPECT_EQ(config.selectedSupply().price, QStringLiteral("1"));
    EXPECT_FALSE(config.selectFirstSupply(QStringLiteral("0.2")));
    EXPECT_FALSE(config.parseDescription("<Other/>"));
}

TEST(DescriptionFile, theShippedFilesAreFoundNextToTheProgram)
{
    if (testsupport::binDir().isEmpty())
        GTEST_SKIP() << "no program folder given (run through CTest)";
    const QString dir = testsupport::binDir() + QStringLiteral("/config");
    CEnvironmentColors colors;
    ASSERT_TRUE(colors.loadColors(dir + QStringLiteral("/color.ini")));
    colors.buildSchemes();
    CSupplizeConfig config;
    ASSERT_TRUE(config.loadDescription(dir + QStringLiteral("/v0.dsc")))
        << config.descriptionError().toStdString();
    ASSERT_TRUE(config.selectFirstSupply());
    // Every scheme the shipped description names is built in, and all its colours are defined.
    for (const QString &precision : config.precisions())
        for (const SupplyItem &item : config.suppliesFor(precision)) {
            EXPECT_TRUE(colors.applyScheme(item.color)) << item.color.toStdString();
            EXPECT_NE(colors.roleColor(0), (Vec3f{0, 0, 0})) << item.color.toStdString();
        }
}

TEST(EnvironmentSetup, theFirstSupplyOfTheTenthMillimetreColoursTheView)
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.filePath("color.ini"), ColourFile + "WHITE=0.9,0.9,0.9\n");
    testsupport::writeFile(dir.filePath("v0.dsc"),
                           encodeDescription("<Version value=\"1\"><Precision value=\"0.1\">"
                                             "<Item name=\"ColorWhite\"/></Precision></Version>"));
    CEnvironmentColors colors;
    CSupplizeConfig supplies;
    ASSERT_TRUE(
        loadEnvironmentFiles(colors, supplies, dir.filePath("color.ini"), dir.filePath("v0.dsc")));
    ASSERT_TRUE(initialEnvironmentColors(colors, supplies));
    ASSERT_TRUE(applySelectedEnvironmentColor(colors, supplies));
    expectColour(colors.roleColor(0), 0.9f, 0.9f, 0.9f);
    EXPECT_EQ(colors.schemeName(), QStringLiteral("ColorWhite"));
}

TEST(EnvironmentSetup, missingFilesAreReported)
{
    CEnvironmentColors colors;
    CSupplizeConfig supplies;
    EXPECT_FALSE(
        loadEnvironmentFiles(colors, supplies, "/nonexistent/color.ini", "/nonexistent/v0.dsc"));
    EXPECT_FALSE(initialEnvironmentColors(colors, supplies));
}
