#include "maintenance/tests/SshTestEnvironment.h"

#include "maintenance/DeviceMaintenance.h"
#include "maintenance/SshConnection.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <functional>

namespace
{

const QString kProgram = QStringLiteral("/home/pi/.Brevimund");

class DeviceMaintenanceTest : public SshServerTest
{
  protected:
    void SetUp() override
    {
        SshServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_connection = std::make_unique<QSsh::SshConnection>(parameters());
        QSignalSpy up(m_connection.get(), &QSsh::SshConnection::connected);
        QSignalSpy failed(m_connection.get(), &QSsh::SshConnection::error);
        m_connection->connectToHost();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !up.isEmpty() || !failed.isEmpty(); }, 30000));
        ASSERT_EQ(m_connection->state(), QSsh::SshConnection::Connected)
            << m_connection->errorString().toStdString();
        m_commandsBefore = server().commands().size();
        server().resetHome();
    }

    // The commands the printer received during this test.
    QStringList newCommands() const { return server().commands().mid(m_commandsBefore); }
    QString home(const QString &path) const { return server().home() + path; }

    QString makeZip(const QString &name, const QString &password,
                    const QMap<QString, QByteArray> &files)
    {
        const QString dir = m_scratch.filePath(QStringLiteral("zipsrc-") + name);
        QDir().mkpath(dir);
        QStringList names;
        for (auto it = files.constBegin(); it != files.constEnd(); ++it) {
            testsupport::writeFile(dir + QLatin1Char('/') + it.key(), it.value());
            names << it.key();
        }
        const QString zipPath = m_scratch.filePath(name);
        QProcess zip;
        zip.setWorkingDirectory(dir);
        zip.start(QStringLiteral("zip"),
                  QStringList{QStringLiteral("-q"), QStringLiteral("-P"), password, zipPath} +
                      names);
        EXPECT_TRUE(zip.waitForFinished(30000));
        EXPECT_EQ(zip.exitCode(), 0) << zip.readAllStandardError().toStdString();
        return zipPath;
    }

    std::unique_ptr<QSsh::SshConnection> m_connection;
    int m_commandsBefore = 0;
};

struct UploadCase {
    const char *name;
    std::function<DeviceMaintenance::Outcome(DeviceMaintenance &, const QString &)> run;
    const char *localName;
    const char *subfolder;
    const char *remoteName;
};

class MaintenanceUploadTest : public DeviceMaintenanceTest,
                              public ::testing::WithParamInterface<UploadCase>
{
};

} // namespace

TEST_P(MaintenanceUploadTest, LandsUnderItsFixedNameAfterTheFolderCommands)
{
    const UploadCase &c = GetParam();
    const QByteArray bytes = QByteArray("[calibration]\nvalue=42\n").repeated(100);
    const QString local = m_scratch.filePath(QString::fromUtf8(c.localName));
    testsupport::writeFile(local, bytes);
    DeviceMaintenance maintenance(m_connection.get());
    QSignalSpy progress(&maintenance, &DeviceMaintenance::sProgress);
    const DeviceMaintenance::Outcome outcome = c.run(maintenance, local);
    ASSERT_TRUE(outcome.ok) << outcome.failedStep.toStdString() << ": "
                            << outcome.error.toStdString();
    const QString folder = kProgram + QLatin1Char('/') + QString::fromUtf8(c.subfolder);
    EXPECT_EQ(
        newCommands(),
        QStringList(
            {"dir=/home/pi/.Brevimund ; if [ ! -d $dir ] ; then mkdir $dir ; fi ",
             QStringLiteral("dir=%1 ;if [ ! -d $dir ] ; then mkdir $dir ; fi ").arg(folder)}));
    EXPECT_EQ(testsupport::readFile(
                  home(QStringLiteral("/.Brevimund/%1/%2")
                           .arg(QString::fromUtf8(c.subfolder), QString::fromUtf8(c.remoteName)))),
              bytes);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().at(1).toInt(), 100);
    EXPECT_TRUE(progress.last().at(0).toString().startsWith(QString::fromUtf8(c.localName)));

    // Once more: the folders exist now, and the file is replaced.
    const QByteArray second("[calibration]\nvalue=7\n");
    testsupport::writeFile(local, second);
    EXPECT_TRUE(c.run(maintenance, local).ok);
    EXPECT_EQ(testsupport::readFile(
                  home(QStringLiteral("/.Brevimund/%1/%2")
                           .arg(QString::fromUtf8(c.subfolder), QString::fromUtf8(c.remoteName)))),
              second);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, MaintenanceUploadTest,
    ::testing::Values(
        UploadCase{"Calibration",
                   [](DeviceMaintenance &m, const QString &f) { return m.uploadCalibration(f); },
                   "my printer calib.ini", "lightCalib", "LightMachineCalibration.ini"},
        UploadCase{
            "LightPower",
            [](DeviceMaintenance &m, const QString &f) { return m.uploadLightPowerImage(f); },
            "test-pattern.bmp", "Laser", "Laser.bmp"},
        UploadCase{"Material",
                   [](DeviceMaintenance &m, const QString &f) { return m.uploadMaterial(f); },
                   "resin_A.ini", "Material", "material.ini"}),
    [](const ::testing::TestParamInfo<UploadCase> &info) { return std::string(info.param.name); });

TEST_F(DeviceMaintenanceTest, MissingLocalFileFailsBeforeAnyCommand)
{
    DeviceMaintenance maintenance(m_connection.get());
    const auto outcome =
        maintenance.uploadCalibration(m_scratch.filePath(QStringLiteral("none.ini")));
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(newCommands().isEmpty());
}

TEST_F(DeviceMaintenanceTest, ResetCalibrationRemovesTheFile)
{
    ASSERT_TRUE(server().putFile(
        QStringLiteral(".Brevimund/lightCalib/LightMachineCalibration.ini"), "x=1\n"));
    const QString calib =
        home(QStringLiteral("/.Brevimund/lightCalib/LightMachineCalibration.ini"));
    DeviceMaintenance maintenance(m_connection.get());
    QSignalSpy status(&maintenance, &DeviceMaintenance::sStatus);
    const auto outcome = maintenance.resetCalibration();
    EXPECT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_FALSE(QFile::exists(calib));
    EXPECT_EQ(newCommands(),
              QStringList{"file=/home/pi/.Brevimund/lightCalib/LightMachineCalibration.ini ; if "
                          "[ -f $file ] ; then rm $file ; fi "});
    ASSERT_EQ(status.size(), 1);
    EXPECT_EQ(status.at(0).at(0).toString(),
              QStringLiteral("Light Machine config reset successful"));
}

TEST_F(DeviceMaintenanceTest, GoodSystemPackageIsUnpackedAndThePrinterRebooted)
{
    const QString package =
        makeZip(QStringLiteral("syscfg-1.2.zip"), QStringLiteral("48271639kovrin"),
                {{QStringLiteral("setup.sh"), "#!/bin/sh\necho setting up\n"},
                 {QStringLiteral("config.txt"), "mode=dlp\n"}});
    DeviceMaintenance maintenance(m_connection.get());
    const auto outcome = maintenance.installSystemConfig(package);
    ASSERT_TRUE(outcome.ok) << outcome.failedStep.toStdString() << ": "
                            << outcome.error.toStdString();
    const QString prepare = QStringLiteral("syscfg=/home/pi/syscfg ; if [ -d $syscfg ] ; then sudo "
                                           "rm $syscfg -rf;fi ; mkdir $syscfg ;");
    EXPECT_EQ(newCommands(),
              QStringList({prepare,
                           prepare + "unzip -P 48271639kovrin /home/pi/syscfg-1.2.zip -d $syscfg ; "
                                     "cd $syscfg ;sudo chmod +x setup.sh; ./setup.sh;",
                           "sudo reboot"}));
    EXPECT_TRUE(QFile::exists(home(QStringLiteral("/syscfg-1.2.zip"))));
    EXPECT_EQ(testsupport::readFile(home(QStringLiteral("/syscfg/config.txt"))),
              QByteArray("mode=dlp\n"));
    EXPECT_EQ(server().reboots(), 1);
}

struct BrokenPackageCase {
    const char *name;
    bool zipWithWrongPassword;
};

class BrokenSystemPackageTest : public DeviceMaintenanceTest,
                                public ::testing::WithParamInterface<BrokenPackageCase>
{
};

TEST_P(BrokenSystemPackageTest, StopsAtTheUnzipAndNeverReboots)
{
    const int rebootsBefore = server().reboots();
    QString package;
    if (GetParam().zipWithWrongPassword) {
        package = makeZip(QStringLiteral("other.zip"), QStringLiteral("not-the-password"),
                          {{QStringLiteral("setup.sh"), "#!/bin/sh\n"}});
    } else {
        package = m_scratch.filePath(QStringLiteral("broken.zip"));
        testsupport::writeFile(package, "this is not a zip archive at all");
    }
    DeviceMaintenance maintenance(m_connection.get());
    QSignalSpy status(&maintenance, &DeviceMaintenance::sStatus);
    const auto outcome = maintenance.installSystemConfig(package);
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.failedStep.contains(QLatin1String("unzip")))
        << outcome.failedStep.toStdString();
    EXPECT_FALSE(outcome.error.isEmpty());
    EXPECT_EQ(newCommands().size(), 2);
    EXPECT_FALSE(newCommands().contains(QStringLiteral("sudo reboot")));
    EXPECT_EQ(server().reboots(), rebootsBefore);
    ASSERT_EQ(status.size(), 1);
    EXPECT_TRUE(
        status.at(0).at(0).toString().startsWith(QLatin1String("install upgrade package failed")));
}

INSTANTIATE_TEST_SUITE_P(Packages, BrokenSystemPackageTest,
                         ::testing::Values(BrokenPackageCase{"NotAnArchive", false},
                                           BrokenPackageCase{"WrongArchivePassword", true}),
                         [](const ::testing::TestParamInfo<BrokenPackageCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(DeviceMaintenanceTest, PackageNameCannotInjectShellCommands)
{
    EXPECT_EQ(DeviceMaintenance::remotePackageName(QStringLiteral("/x/syscfg v2;reboot.zip")),
              QStringLiteral("syscfg_v2_reboot.zip"));
    EXPECT_EQ(DeviceMaintenance::remotePackageName(QStringLiteral("-rf.zip")),
              QStringLiteral("_rf.zip"));
    EXPECT_EQ(DeviceMaintenance::remotePackageName(QStringLiteral("C:/pkgs/sys-1.0_b.zip")),
              QStringLiteral("sys-1.0_b.zip"));
}

TEST_F(DeviceMaintenanceTest, CoreFileBundleIsDownloaded)
{
    const QByteArray program = QByteArray("\x7f"
                                          "ELF fake controller program",
                                          28)
                                   .repeated(500);
    ASSERT_TRUE(server().putFile(QStringLiteral("DlpA/OrvaneDlpPiUI"), program));
    const QString folder = m_scratch.filePath(QStringLiteral("dumps"));
    QDir().mkpath(folder);
    DeviceMaintenance maintenance(m_connection.get());
    QSignalSpy progress(&maintenance, &DeviceMaintenance::sProgress);
    const auto outcome = maintenance.downloadCoreDump(folder);
    ASSERT_TRUE(outcome.ok) << outcome.failedStep.toStdString() << ": "
                            << outcome.error.toStdString();
    EXPECT_EQ(newCommands(), QStringList({"sudo cp /home/pi/DlpA/OrvaneDlpPiUI /home/pi/corefile",
                                          "cd /home/pi;tar czvPf  corefile.tar.gz  corefile"}));
    const QString bundle = folder + QStringLiteral("/corefile.tar.gz");
    EXPECT_EQ(testsupport::readFile(bundle),
              testsupport::readFile(home(QStringLiteral("/corefile.tar.gz"))));
    EXPECT_FALSE(progress.isEmpty());
    QProcess tar;
    tar.setWorkingDirectory(folder);
    tar.start(QStringLiteral("tar"), {QStringLiteral("xzf"), bundle});
    ASSERT_TRUE(tar.waitForFinished(30000));
    EXPECT_EQ(testsupport::readFile(folder + QStringLiteral("/corefile")), program);
}

TEST_F(DeviceMaintenanceTest, CoreFileBundleFailsWhenTheProgramIsMissing)
{
    const QString folder = m_scratch.filePath(QStringLiteral("dumps2"));
    QDir().mkpath(folder);
    DeviceMaintenance maintenance(m_connection.get());
    const auto outcome = maintenance.downloadCoreDump(folder);
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.error.contains(QLatin1String("cannot stat")))
        << outcome.error.toStdString();
    EXPECT_EQ(newCommands().size(), 1);
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/corefile.tar.gz")));
    EXPECT_TRUE(outcome.status.startsWith(QLatin1String("Error:")));
}

TEST(DeviceMaintenanceOffline, EveryOperationNeedsTheConnection)
{
    DeviceMaintenance maintenance(nullptr);
    for (const auto &outcome :
         {maintenance.resetCalibration(), maintenance.uploadMaterial("x"),
          maintenance.installSystemConfig("x"), maintenance.downloadCoreDump("x")}) {
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.status,
                  QStringLiteral("The SSH environment was not successfully established."));
    }
}
