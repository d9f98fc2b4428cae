#include "maintenance/tests/SshTestEnvironment.h"

#include "maintenance/SftpChannel.h"
#include "maintenance/SshConnection.h"
#include "maintenance/SshRemoteProcess.h"
#include "maintenance/ddownload.h"
#include "maintenance/dexecute.h"
#include "maintenance/dsshsession.h"
#include "maintenance/dupload.h"
#include "testsupport/TestFiles.h"

#include <QFile>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace QSsh;

namespace
{

// Connects and waits (bounded) for the outcome; returns the connection's final state.
SshConnection::State connectAndWait(SshConnection &connection)
{
    QSignalSpy up(&connection, &SshConnection::connected);
    QSignalSpy failed(&connection, &SshConnection::error);
    connection.connectToHost();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !up.isEmpty() || !failed.isEmpty(); }, 30000));
    return connection.state();
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

struct Ran {
    QByteArray out;
    QByteArray err;
    int exitCode = -2;
    int exitStatus = -1;
};

Ran runRemote(SshConnection &connection, const QByteArray &command)
{
    Ran ran;
    QSharedPointer<SshRemoteProcess> process = connection.createRemoteProcess(command);
    QObject::connect(process.data(), &SshRemoteProcess::readyReadStandardOutput,
                     [&] { ran.out += process->readAllStandardOutput(); });
    QObject::connect(process.data(), &SshRemoteProcess::readyReadStandardError,
                     [&] { ran.err += process->readAllStandardError(); });
    QSignalSpy closed(process.data(), &SshRemoteProcess::closed);
    process->start();
    EXPECT_TRUE(closed.wait(30000));
    ran.exitCode = process->exitCode();
    ran.exitStatus = process->exitStatus();
    return ran;
}

} // namespace

class SshLayerTest : public SshServerTest
{
};

TEST_F(SshLayerTest, PasswordLoginRunsACommandWithItsOutputAndExitCode)
{
    SshConnection connection(parameters());
    ASSERT_EQ(connectAndWait(connection), SshConnection::Connected)
        << connection.errorString().toStdString();

    const Ran ran = runRemote(connection, "fixture-exit 3");
    EXPECT_EQ(ran.out, QByteArray("exiting with 3\n"));
    EXPECT_TRUE(ran.err.isEmpty());
    EXPECT_EQ(ran.exitCode, 3);
    EXPECT_EQ(ran.exitStatus, SshRemoteProcess::NormalExit);

    const Ran err = runRemote(connection, "fixture-stderr disk full");
    EXPECT_EQ(err.err, QByteArray("disk full\n"));
    EXPECT_EQ(err.exitCode, 0);
    EXPECT_EQ(server().commands().mid(server().commands().size() - 2),
              QStringList({"fixture-exit 3", "fixture-stderr disk full"}));
}

TEST_F(SshLayerTest, LongOutputArrivesWhole)
{
    SshConnection connection(parameters());
    ASSERT_EQ(connectAndWait(connection), SshConnection::Connected);
    const Ran ran = runRemote(connection, "fixture-lines 20000");
    const QList<QByteArray> lines = ran.out.split('\n');
    ASSERT_EQ(lines.size(), 20001);
    EXPECT_EQ(lines.at(0), QByteArray("line 1"));
    EXPECT_EQ(lines.at(19999), QByteArray("line 20000"));
}

TEST_F(SshLayerTest, KeyLoginWithoutPassword)
{
    SshConnectionParameters p = parameters();
    p.password.clear();
    p.privateKeyFile = server().clientKeyPath();
    p.authenticationType = SshConnectionParameters::AuthenticationTypeAll;
    SshConnection connection(p);
    ASSERT_EQ(connectAndWait(connection), SshConnection::Connected)
        << connection.errorString().toStdString();
    EXPECT_EQ(runRemote(connection, "fixture-stdout key works").out, QByteArray("key works\n"));
}

TEST_F(SshLayerTest, WrongPasswordIsRefused)
{
    SshConnectionParameters p = parameters();
    p.password = QStringLiteral("not-the-password");
    SshConnection connection(p);
    QSignalSpy failed(&connection, &SshConnection::errorOccurred);
    EXPECT_EQ(connectAndWait(connection), SshConnection::Unconnected);
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed.at(0).at(0).value<SshError>(), SshAuthenticationError);
    EXPECT_EQ(connection.errorState(), SshAuthenticationError);
    EXPECT_TRUE(connection.errorString().contains(QLatin1String("Authentication")))
        << connection.errorString().toStdString();
}

TEST_F(SshLayerTest, ClosedPortFailsWithASocketError)
{
    SshConnectionParameters p = parameters();
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    p.port = probe.serverPort();
    probe.close();
    SshConnection connection(p);
    EXPECT_EQ(connectAndWait(connection), SshConnection::Unconnected);
    EXPECT_EQ(connection.errorState(), SshSocketError);
    EXPECT_FALSE(connection.errorString().isEmpty());
}

TEST_F(SshLayerTest, SilentServerRunsIntoTheSessionTimerWithoutHanging)
{
    // Accepts the TCP connection and never says a word, like a printer whose SSH is stuck.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    dsshsession *session = dsshsession::instance();
    const auto saved = session->parameters();
    const int savedTimeout = session->connectTimeout();
    session->parameters().port = silent.serverPort();
    session->parameters().hostKeyDatabase = m_scratch.filePath(QStringLiteral("hostkeys"));
    session->setConnectTimeout(300);
    SshConnection *connection =
        session->connect(QStringLiteral("127.0.0.1"), QStringLiteral("pi"), QStringLiteral("x"));
    EXPECT_EQ(connection, nullptr);
    EXPECT_TRUE(session->lastConnectTimedOut());
    session->parameters() = saved;
    session->setConnectTimeout(savedTimeout);
}

TEST_F(SshLayerTest, ConnectionLostDuringACommandFailsItAndSaysSo)
{
    SshConnection connection(parameters());
    ASSERT_EQ(connectAndWait(connection), SshConnection::Connected);
    QSignalSpy down(&connection, &SshConnection::disconnected);
    dexecute job(&connection);
    EXPECT_FALSE(job.execute(QStringLiteral("fixture-drop-connection")));
    EXPECT_TRUE(job.connectionLost());
    EXPECT_TRUE(!down.isEmpty() || down.wait(10000));
    EXPECT_EQ(connection.state(), SshConnection::Unconnected);
}

TEST_F(SshLayerTest, EqualParametersShareOneConnection)
{
    const SshConnectionParameters p = parameters();
    SshConnection *a = acquireConnection(p);
    SshConnection *b = acquireConnection(p);
    EXPECT_EQ(a, b);
    SshConnectionParameters other = p;
    other.userName = QStringLiteral("someone");
    SshConnection *c = acquireConnection(other);
    EXPECT_NE(a, c);
    releaseConnection(c);
    releaseConnection(b);
    releaseConnection(a);
}

TEST_F(SshLayerTest, SessionReturnsTheLiveSharedConnectionAtOnce)
{
    dsshsession *session = dsshsession::instance();
    const auto saved = session->parameters();
    session->parameters() = parameters();
    SshConnection *first =
        session->connect(QStringLiteral("127.0.0.1"), server().userName(), server().password());
    ASSERT_NE(first, nullptr) << session->lastError().toStdString();
    // Already up: no new attempt, so no connected() and no nested wait.
    QSignalSpy again(first, &SshConnection::connected);
    SshConnection *second =
        session->connect(QStringLiteral("127.0.0.1"), server().userName(), server().password());
    EXPECT_EQ(first, second);
    EXPECT_TRUE(again.isEmpty());
    session->parameters() = saved;
}

TEST_F(SshLayerTest, ChangedHostKeyIsRefusedUntilAccepted)
{
    testsupport::SshTestServer own;
    QString error;
    ASSERT_TRUE(own.start(&error)) << error.toStdString();
    SshConnectionParameters p = parameters();
    p.port = own.port();
    {
        SshConnection first(p);
        ASSERT_EQ(connectAndWait(first), SshConnection::Connected);
    }
    ASSERT_TRUE(own.changeHostKey(&error)) << error.toStdString();
    SshConnection second(p);
    EXPECT_EQ(connectAndWait(second), SshConnection::Unconnected);
    EXPECT_EQ(second.errorState(), SshHostKeyError);
    const QString text = second.errorString();
    EXPECT_TRUE(text.contains(p.hostKeyId())) << text.toStdString();
    EXPECT_TRUE(text.contains(second.knownHostKey())) << text.toStdString();
    EXPECT_TRUE(text.contains(second.presentedHostKey())) << text.toStdString();
    EXPECT_TRUE(second.presentedHostKey().startsWith(QLatin1String("SHA256:")));
    EXPECT_NE(second.knownHostKey(), second.presentedHostKey());
    EXPECT_TRUE(own.commands().isEmpty());

    ASSERT_TRUE(second.acceptPresentedHostKey());
    EXPECT_EQ(connectAndWait(second), SshConnection::Connected)
        << second.errorString().toStdString();
}

TEST_F(SshLayerTest, UploadAndDownloadAreByteIdenticalWithProgress)
{
    SshConnection connection(parameters());
    ASSERT_EQ(connectAndWait(connection), SshConnection::Connected);
    const QByteArray bytes = randomBytes(300 * 1024 + 17);
    const QString local = m_scratch.filePath(QStringLiteral("payload.bin"));
    testsupport::writeFile(local, bytes);

    dupload up(&connection);
    QList<QPair<QString, int>> progress;
    QObject::connect(&up, &dupload::sProgress, [&](const QString &m, int p) {
        progress.append({m, p});
    });
    ASSERT_TRUE(up.upload(local, QStringLiteral("/home/pi/copy.bin"))) << up.error().toStdString();
    EXPECT_TRUE(up.error().isEmpty());
    EXPECT_EQ(testsupport::readFile(server().home() + QStringLiteral("/copy.bin")), bytes);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().second, 100);
    EXPECT_EQ(progress.last().first, QStringLiteral("payload.bin 300.0 KB"));
    for (int i = 1; i < progress.size(); ++i)
        EXPECT_GE(progress[i].second, progress[i - 1].second);

    ddownload down(&connection);
    int lastPercent = -1;
    QObject::connect(&down, &ddownload::sProgress,
                     [&](const QString &, int p) { lastPercent = p; });
    const QString back = m_scratch.filePath(QStringLiteral("back.bin"));
    ASSERT_TRUE(down.download(back, QStringLiteral("/home/pi/copy.bin")))
        << down.error().toStdString();
    EXPECT_EQ(testsupport::readFile(back), bytes);
    EXPECT_EQ(lastPercent, 100);
}

TEST_F(SshLayerTest, FailedDownloadLeavesThePreviousLocalFile)
{
    SshConnection connection(parameters());
    ASSERT_EQ(connectAndWait(connection), SshConnection::Connected);
    QDir(m_scratch.path()).mkdir(QStringLiteral("out"));
    const QString local = m_scratch.filePath(QStringLiteral("out/keep.bin"));
    testsupport::writeFile(local, "previous");
    ddownload down(&connection);
    EXPECT_FALSE(down.download(local, QStringLiteral("/home/pi/no-such-file")));
    EXPECT_TRUE(down.error().contains(QLatin1String("No such file"))) << down.error().toStdString();
    EXPECT_EQ(testsupport::readFile(local), QByteArray("previous"));
    EXPECT_EQ(QDir(m_scratch.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{"keep.bin"});
}

TEST_F(SshLayerTest, UploadToAMissingFolderFails)
{
    SshConnection connection(parameters());
    ASSERT_EQ(connectAndWait(connection), SshConnection::Connected);
    const QString local = m_scratch.filePath(QStringLiteral("a.txt"));
    testsupport::writeFile(local, "abc");
    dupload up(&connection);
    EXPECT_FALSE(up.upload(local, QStringLiteral("/home/pi/missing/a.txt")));
    EXPECT_FALSE(up.error().isEmpty());
}

TEST_F(SshLayerTest, SftpCannotReachOutsideTheSandbox)
{
    SshConnection connection(parameters());
    ASSERT_EQ(connectAndWait(connection), SshConnection::Connected);
    const QString local = m_scratch.filePath(QStringLiteral("a.txt"));
    testsupport::writeFile(local, "abc");
    dupload up(&connection);
    const QString outside = m_scratch.filePath(QStringLiteral("escaped.txt"));
    EXPECT_FALSE(up.upload(local, outside));
    EXPECT_FALSE(QFile::exists(outside));
    EXPECT_TRUE(up.error().contains(QLatin1String("Permission denied")))
        << up.error().toStdString();
}

TEST_F(SshLayerTest, SecondCopyWhileOneRunsIsRefused)
{
    SshConnection connection(parameters());
    ASSERT_EQ(connectAndWait(connection), SshConnection::Connected);
    const QString local = m_scratch.filePath(QStringLiteral("a.txt"));
    testsupport::writeFile(local, randomBytes(64 * 1024));
    dupload up(&connection);
    int nested = -1;
    QObject::connect(&up, &dupload::sBegin,
                     [&] { nested = up.upload(local, QStringLiteral("/home/pi/b.txt")) ? 1 : 0; });
    EXPECT_TRUE(up.upload(local, QStringLiteral("/home/pi/a.txt"))) << up.error().toStdString();
    EXPECT_EQ(nested, 0);
    EXPECT_FALSE(QFile::exists(server().home() + QStringLiteral("/b.txt")));
}

// dexecute's verdicts, one row per kind of remote outcome.
struct ExecuteCase {
    const char *name;
    const char *command;
    bool succeeds;
    const char *errorContains;
};

class ExecuteVerdictTest : public SshServerTest, public ::testing::WithParamInterface<ExecuteCase>
{
};

TEST_P(ExecuteVerdictTest, Verdict)
{
    SshConnection connection(parameters());
    ASSERT_EQ(connectAndWait(connection), SshConnection::Connected);
    dexecute job(&connection);
    EXPECT_EQ(job.execute(QString::fromUtf8(GetParam().command)), GetParam().succeeds)
        << job.error().toStdString();
    EXPECT_TRUE(job.error().contains(QString::fromUtf8(GetParam().errorContains)))
        << job.error().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ExecuteVerdictTest,
    ::testing::Values(ExecuteCase{"OutputAndStatusZero", "fixture-stdout all fine", true, ""},
                      ExecuteCase{"SilentNonZeroStatus", "fixture-exit 4", false, "status 4"},
                      ExecuteCase{"ErrorOutput", "fixture-stderr broken pipe", false,
                                  "broken pipe"},
                      ExecuteCase{"ErrorOutputWhileStillRunning", "fixture-stderr-then-wait", false,
                                  "first complaint"},
                      ExecuteCase{"UnknownCommand", "rm -rf /", false, "command not available"}),
    [](const ::testing::TestParamInfo<ExecuteCase> &info) { return std::string(info.param.name); });

TEST(SshJobsWithoutConnection, RefuseAtOnce)
{
    dexecute job(nullptr);
    EXPECT_FALSE(job.execute(QStringLiteral("fixture-stdout x")));
    EXPECT_TRUE(job.error().isEmpty());
    SshConnectionParameters p;
    p.host = QStringLiteral("127.0.0.1");
    SshConnection idle(p);
    dupload up(&idle);
    EXPECT_FALSE(up.upload(QStringLiteral("/nonexistent"), QStringLiteral("/home/pi/x")));
    EXPECT_TRUE(up.error().isEmpty());
}

namespace
{
class ProgressProbe : public dupload
{
  public:
    using dupload::dupload;
    void record(QSsh::SftpJobId job) { m_jobs.insert(job, QStringLiteral("/home/pi/x")); }
};
} // namespace

TEST(SshJobsProgress, ProgressTextBecomesMessageAndPercent)
{
    ProgressProbe probe(nullptr);
    QSignalSpy spy(&probe, &dupload::sProgress);
    probe.onDataAvailable(7, QStringLiteral("progress|57|Laser.bmp|1.2 MB"));
    EXPECT_TRUE(spy.isEmpty()); // not a recorded job
    probe.record(7);
    probe.onDataAvailable(7, QStringLiteral("something else"));
    probe.onDataAvailable(7, QStringLiteral("progress|57|Laser.bmp|1.2 MB"));
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("Laser.bmp 1.2 MB"));
    EXPECT_EQ(spy.at(0).at(1).toInt(), 57);
}
