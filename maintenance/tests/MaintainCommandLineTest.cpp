#include "maintenance/tests/SshTestEnvironment.h"

#include "testsupport/TestFiles.h"

#include <QFile>
#include <QProcess>

namespace
{

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs "Resinor --maintain ..." against the test server with its own settings and data
// folders, so that neither the user's settings nor their trusted host keys are touched.
class MaintainCommandLineTest : public SshServerTest
{
  protected:
    CliRun maintain(const QStringList &args, const QString &password)
    {
        CliRun run;
        const QString program = testsupport::builtProgram(QStringLiteral("Resinor"));
        if (program.isEmpty()) {
            ADD_FAILURE() << "the Resinor program was not found";
            return run;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_scratch.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_scratch.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("HOME"), m_scratch.path());
        env.remove(QStringLiteral("RESINOR_SSH_PASSWORD"));
        if (!password.isNull())
            env.insert(QStringLiteral("RESINOR_SSH_PASSWORD"), password);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(
            program,
            QStringList{QStringLiteral("--maintain"), QStringLiteral("127.0.0.1")} + args +
                QStringList{QStringLiteral("--ssh-port"), QString::number(server().port())});
        EXPECT_TRUE(process.waitForFinished(60000));
        run.exitCode = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }
};

} // namespace

TEST_F(MaintainCommandLineTest, CalibrationFileWithThePasswordFromTheEnvironment)
{
    server().resetHome();
    const QString local = m_scratch.filePath(QStringLiteral("calib-2024.ini"));
    testsupport::writeFile(local, "[light]\npower=80\n");
    const CliRun run = maintain({QStringLiteral("calibration"), local}, server().password());
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String(
        "maintain: run: dir=/home/pi/.Brevimund ; if [ ! -d $dir ] ; then mkdir $dir ; fi ")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("maintain: upload: ")));
    EXPECT_TRUE(run.out.contains(QLatin1String("maintain: done: calibration on 127.0.0.1")));
    EXPECT_EQ(
        testsupport::readFile(server().home() +
                              QStringLiteral("/.Brevimund/lightCalib/LightMachineCalibration.ini")),
        QByteArray("[light]\npower=80\n"));
    // The first contact filed the printer's host key in the data folder.
    EXPECT_TRUE(QFile::exists(m_scratch.filePath(QStringLiteral("data/Resinor/ssh_known_hosts"))));
}

TEST_F(MaintainCommandLineTest, KeyFileInsteadOfAPassword)
{
    server().resetHome();
    const CliRun run = maintain({QStringLiteral("reset-calibration"),
                                 QStringLiteral("--ssh-identity"), server().clientKeyPath()},
                                QString());
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("maintain: done: reset-calibration")));
}

TEST_F(MaintainCommandLineTest, BrokenPackageNamesTheFailedStepAndNeverReboots)
{
    server().resetHome();
    const int reboots = server().reboots();
    const QString package = m_scratch.filePath(QStringLiteral("broken.zip"));
    testsupport::writeFile(package, "not an archive");
    const CliRun run = maintain({QStringLiteral("system-config"), package}, server().password());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains(QLatin1String("maintain: failed: run: syscfg=/home/pi/syscfg")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("could not be extracted"))) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(QLatin1String("maintain: run: sudo reboot")));
    EXPECT_EQ(server().reboots(), reboots);
}

TEST_F(MaintainCommandLineTest, WrongPasswordFailsTheConnectStep)
{
    const CliRun run = maintain({QStringLiteral("reset-calibration")}, QStringLiteral("wrong"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains(QLatin1String("maintain: failed: connect: Authentication")))
        << run.out.toStdString();
}

TEST_F(MaintainCommandLineTest, CoreDumpIntoAFolder)
{
    server().resetHome();
    ASSERT_TRUE(server().putFile(QStringLiteral("DlpA/OrvaneDlpPiUI"), QByteArray(4096, 'x')));
    const QString folder = m_scratch.filePath(QStringLiteral("dumps"));
    QDir().mkpath(folder);
    const CliRun run = maintain({QStringLiteral("core-dump"), folder}, server().password());
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/corefile.tar.gz")));
}
