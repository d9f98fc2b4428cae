#include "UpdateTestSupport.h"

#include "update/UpdateService.h"

#include <QCoreApplication>
#include <QSettings>

#include <gtest/gtest.h>

namespace
{

struct AddressCase {
    const char *name;
    const char *commandLine;
    const char *environment;
    const char *setting;
    const char *base;
};

class ServiceAddress : public ::testing::TestWithParam<AddressCase>
{
};

TEST_P(ServiceAddress, commandLineThenEnvironmentThenSetting)
{
    updatetest::isolatedSettings();
    const AddressCase &c = GetParam();
    UpdateService::setCommandLineAddress(QString::fromLatin1(c.commandLine));
    qputenv("RESINOR_UPDATE_URL", c.environment);
    QSettings().setValue(QStringLiteral("update/serviceUrl"), QString::fromLatin1(c.setting));
    EXPECT_EQ(UpdateService::baseAddress().toStdString(), c.base);
    UpdateService::setCommandLineAddress(QString());
    qunsetenv("RESINOR_UPDATE_URL");
    QSettings().remove(QStringLiteral("update/serviceUrl"));
}

INSTANTIATE_TEST_SUITE_P(
    UpdateService, ServiceAddress,
    ::testing::Values(AddressCase{"nothingConfigured", "", "", "", ""},
                      AddressCase{"setting", "", "", "http://127.0.0.1:1/", "http://127.0.0.1:1"},
                      AddressCase{"environmentBeforeSetting", "", "http://127.0.0.1:2",
                                  "http://127.0.0.1:1", "http://127.0.0.1:2"},
                      AddressCase{"commandLineFirst", "http://127.0.0.1:3//", "http://127.0.0.1:2",
                                  "http://127.0.0.1:1", "http://127.0.0.1:3"},
                      AddressCase{"blankCommandLineIgnored", "  ", "http://127.0.0.1:2", "",
                                  "http://127.0.0.1:2"}),
    [](const ::testing::TestParamInfo<AddressCase> &info) { return info.param.name; });

TEST(UpdateServiceAddresses, systemWideSettingOfAPackager)
{
    const QString folder = updatetest::isolatedSettings();
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, folder + "/system");
    {
        QSettings shipped(QSettings::IniFormat, QSettings::SystemScope,
                          QCoreApplication::organizationName(),
                          QCoreApplication::applicationName());
        shipped.setValue(QStringLiteral("update/serviceUrl"), QStringLiteral("http://127.0.0.1:7"));
    }
    qunsetenv("RESINOR_UPDATE_URL");
    QSettings().remove(QStringLiteral("update/serviceUrl"));
    EXPECT_EQ(UpdateService::baseAddress().toStdString(), "http://127.0.0.1:7");
    QSettings().setValue(QStringLiteral("update/serviceUrl"), QStringLiteral("http://127.0.0.1:8"));
    EXPECT_EQ(UpdateService::baseAddress().toStdString(), "http://127.0.0.1:8"); // the user's own
    QSettings().remove(QStringLiteral("update/serviceUrl"));
    QSettings(QSettings::IniFormat, QSettings::SystemScope, QCoreApplication::organizationName(),
              QCoreApplication::applicationName())
        .clear();
}

TEST(UpdateServiceAddresses, ofTheServices)
{
    const QString base = QStringLiteral("http://127.0.0.1:8642");
    EXPECT_EQ(UpdateService::queryEndpoint(base).toStdString(),
              "http://127.0.0.1:8642/orvane3DsoftwareDLP/");
    EXPECT_TRUE(UpdateService::queryEndpoint(QString()).isEmpty());
    EXPECT_EQ(UpdateService::changeLogUrl(base, QStringLiteral("Resinor")).toStdString(),
              "http://127.0.0.1:8642/changelog?name=Resinor");
    EXPECT_EQ(UpdateService::updaterArguments("Resinor", "1.0.0.1", base, "en", true),
              QStringList({"--name", "Resinor", "--version", "1.0.0.1", "--url",
                           "http://127.0.0.1:8642/update/", "--language", "en", "--mode", "cmd"}));
}

} // namespace
