#include "UpdateTestSupport.h"

#include "testsupport/TestFiles.h"
#include "update/standin/UpdateServiceStandIn.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// "Resinor --check-update" run as a program against the stand-in service in this process (the
// wait keeps serving it).

namespace
{

struct CheckRun {
    int exitCode = -1;
    QJsonObject json;
    QString out;
};

CheckRun runCheck(const QStringList &args, const QString &home)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.remove(QStringLiteral("RESINOR_UPDATE_URL"));
    env.insert(QStringLiteral("RESINOR_DISCOVERY_TARGET"), QStringLiteral("127.0.0.1"));
    process.setProcessEnvironment(env);
    process.start(testsupport::builtProgram(QStringLiteral("Resinor")),
                  QStringList{QStringLiteral("--check-update")} + args);
    CheckRun run;
    if (!process.waitForStarted(10000))
        return run;
    for (int i = 0; i < 3000 && process.state() != QProcess::NotRunning; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        process.waitForFinished(10);
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.json = QJsonDocument::fromJson(run.out.toUtf8()).object();
    return run;
}

class CheckUpdateCommand : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (testsupport::builtProgram(QStringLiteral("Resinor")).isEmpty())
            GTEST_SKIP() << "Resinor not built";
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(m_home.isValid());
        m_service = std::make_unique<UpdateServiceStandIn>(m_root.path());
        ASSERT_TRUE(m_service->listen(0));
    }

    CheckRun check() { return runCheck({"--update-url", m_service->baseUrl()}, m_home.path()); }

    QTemporaryDir m_root;
    QTemporaryDir m_home;
    std::unique_ptr<UpdateServiceStandIn> m_service;
};

TEST_F(CheckUpdateCommand, printsTheOfferedVersion)
{
    updatetest::put(m_root.path(), "act/windows_latestversion.txt",
                    "act=windows_latestversion,version=1.0.0.10,url={base}/files/setup.bin");
    const CheckRun run = check();
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(run.json.value("current_version").toString(), QStringLiteral("1.0.0.1"));
    EXPECT_EQ(run.json.value("offered_version").toString(), QStringLiteral("1.0.0.10"));
    EXPECT_EQ(run.json.value("download_url").toString(), m_service->baseUrl() + "/files/setup.bin");
    EXPECT_TRUE(run.json.value("new_version").toBool());
}

TEST_F(CheckUpdateCommand, noNewVersionIsAnAnswer)
{
    updatetest::put(m_root.path(), "act/windows_latestversion.txt",
                    "act=windows_latestversion,version=1.0.0.1,url=x");
    const CheckRun run = check();
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(run.json.value("message").toString(), QStringLiteral("No new version to upgrade"));
    EXPECT_FALSE(run.json.value("new_version").toBool());
}

TEST_F(CheckUpdateCommand, silentServiceFailsWithTimeout)
{
    m_service->setNeverAnswer(true);
    const CheckRun run = check();
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString();
    EXPECT_EQ(run.json.value("message").toString(), QStringLiteral("timeout"));
}

TEST_F(CheckUpdateCommand, withoutAnAddressNothingIsContacted)
{
    const CheckRun run = runCheck({}, m_home.path());
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString();
    EXPECT_EQ(run.json.value("message").toString(), QStringLiteral("updates are not configured"));
    EXPECT_EQ(m_service->requestCount(), 0);
}

} // namespace
