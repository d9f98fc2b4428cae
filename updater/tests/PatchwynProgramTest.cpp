#include "testsupport/TestFiles.h"
#include "update/standin/UpdateServiceStandIn.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#include <gtest/gtest.h>

#include <memory>

// The updater started as a program. Each test runs its own copy under a unique file name, so
// its single-instance key cannot meet another updater on this machine.

namespace
{

void put(const QString &root, const QString &relative, const QByteArray &bytes)
{
    const QString path = QDir(root).filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class PatchwynProgram : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        const QString built = testsupport::builtProgram(QStringLiteral("Patchwyn"));
        if (built.isEmpty())
            GTEST_SKIP() << "Patchwyn not built";
        ASSERT_TRUE(m_bin.isValid() && m_root.isValid() && m_home.isValid());
        m_key = QStringLiteral("Patchwyn-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
        m_program = m_bin.filePath(m_key);
        ASSERT_TRUE(QFile::copy(built, m_program));
        m_service = std::make_unique<UpdateServiceStandIn>(m_root.path());
        ASSERT_TRUE(m_service->listen(0));
        put(m_root.path(), "programs/resinor/version.txt", "1.0.0.2");
        put(m_root.path(), "programs/resinor/changelog.txt", "New things");
        put(m_root.path(), "programs/resinor/setup.sh", "#!/bin/sh\n");
    }

    void TearDown() override
    {
        for (auto &process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(5000)) {
                    process->kill();
                    process->waitForFinished();
                }
            }
        }
        // An instance ended by a signal leaves its socket file behind.
        QLocalServer::removeServer(m_key);
    }

    QStringList args(const QString &version, const QStringList &extra = {}) const
    {
        return QStringList{"--name", "Resinor", "--version",
                           version,  "--url",   m_service->baseUrl() + "/update/"} +
               extra;
    }

    QProcess *start(const QStringList &arguments)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("TMPDIR"), m_home.path());
        process->setProcessEnvironment(env);
        process->start(m_program, arguments);
        EXPECT_TRUE(process->waitForStarted(10000));
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }

    // Serves this process's events (the stand-in answers) while waiting.
    template <class Done> static void serveUntil(Done done, int ms = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
    }

    struct Ended {
        bool finished = false;
        int exitCode = -1;
        QString err;
    };
    Ended runToEnd(const QStringList &arguments)
    {
        QProcess *process = start(arguments);
        serveUntil([&] { return process->state() == QProcess::NotRunning; });
        Ended ended;
        ended.finished = process->state() == QProcess::NotRunning;
        ended.exitCode = process->exitCode();
        ended.err = QString::fromLocal8Bit(process->readAllStandardError());
        return ended;
    }

    QTemporaryDir m_bin;
    QTemporaryDir m_root;
    QTemporaryDir m_home;
    QString m_key;
    QString m_program;
    std::unique_ptr<UpdateServiceStandIn> m_service;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(PatchwynProgram, missingRequiredOptionsShowTheHelpAndFail)
{
    const Ended run = runToEnd({"--name", "Resinor", "--version", "1.0.0.1"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_TRUE(run.err.contains("--url <The url that program to be upgraded >"))
        << run.err.toStdString();
    EXPECT_EQ(m_service->requestCount(), 0);
}

struct CmdCase {
    const char *name;
    const char *mode;
};

class CmdMode : public PatchwynProgram, public ::testing::WithParamInterface<CmdCase>
{
};

TEST_P(CmdMode, withoutANewVersionEndsWithoutAWindow)
{
    const Ended run = runToEnd(args("1.0.0.2", {"--mode", GetParam().mode}));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_TRUE(run.err.contains("boot mode : cmd")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("No new version to update,exit")) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("window shown")) << run.err.toStdString();
    EXPECT_EQ(m_service->requestCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Patchwyn, CmdMode, ::testing::Values(CmdCase{"lowerCase", "cmd"}, CmdCase{"upperCase", "CMD"}),
    [](const ::testing::TestParamInfo<CmdCase> &info) { return info.param.name; });

TEST_F(PatchwynProgram, unknownModeFailsInsteadOfRunningInvisibly)
{
    const Ended run = runToEnd(args("1.0.0.1", {"--mode", "batch"}));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_TRUE(run.err.contains("unknown mode \"batch\"")) << run.err.toStdString();
    EXPECT_EQ(m_service->requestCount(), 0);
}

TEST_F(PatchwynProgram, cmdModeWithANewVersionShowsTheOffer)
{
    QProcess *process = start(args("1.0.0.1", {"--mode", "cmd", "--language", "en"}));
    QString err;
    serveUntil([&] {
        err += QString::fromLocal8Bit(process->readAllStandardError());
        return err.contains("window shown") || process->state() == QProcess::NotRunning;
    });
    EXPECT_TRUE(err.contains("state 1")) << err.toStdString();
    EXPECT_TRUE(err.contains("window shown")) << err.toStdString();
    EXPECT_TRUE(err.contains("language : en")) << err.toStdString();
    EXPECT_EQ(process->state(), QProcess::Running);
}

TEST_F(PatchwynProgram, secondStartSaysAlreadyRunningAndEnds)
{
    QProcess *first = start(args("1.0.0.2"));
    QString err;
    serveUntil([&] {
        err += QString::fromLocal8Bit(first->readAllStandardError());
        return err.contains("window shown") || first->state() == QProcess::NotRunning;
    });
    ASSERT_TRUE(err.contains("window shown")) << err.toStdString();
    EXPECT_TRUE(err.contains("boot mode : ui"));
    EXPECT_TRUE(err.contains("language : zh")); // the default language
    EXPECT_TRUE(err.contains("state 0"));
    const int requests = m_service->requestCount();

    const Ended second = runToEnd(args("1.0.0.1"));
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.err.contains(m_key + " already running.")) << second.err.toStdString();
    EXPECT_FALSE(second.err.contains("window shown"));
    EXPECT_EQ(m_service->requestCount(), requests);
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(PatchwynProgram, staleInstanceSocketDoesNotBlockTheStart)
{
    QProcess *first = start(args("1.0.0.2"));
    serveUntil([&] { return m_service->requestCount() > 0; });
    first->kill(); // ends abnormally: its server name stays behind
    first->waitForFinished();
    const Ended run = runToEnd(args("1.0.0.2", {"--mode", "cmd"}));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_FALSE(run.err.contains("already running")) << run.err.toStdString();
}

} // namespace
