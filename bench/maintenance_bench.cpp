// Run: bin/maintenance_bench > /dev/null
// SSH maintenance against the sandboxed test sshd on loopback: connecting (key exchange and
// password login), one remote command, and SFTP copies of an 8 MB file each way.
#include "maintenance/SshConnection.h"
#include "maintenance/ddownload.h"
#include "maintenance/dexecute.h"
#include "maintenance/dupload.h"
#include "testsupport/sshserver/SshTestServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>

namespace
{

constexpr int kBytes = 8 * 1024 * 1024;

struct Setup {
    testsupport::SshTestServer server;
    QTemporaryDir scratch;
    QString error;
    bool ok = false;
    QSsh::SshConnectionParameters parameters;
    std::unique_ptr<QSsh::SshConnection> connection;
    QString local;

    Setup()
    {
        ok = server.start(&error);
        parameters.host = QStringLiteral("127.0.0.1");
        parameters.port = server.port();
        parameters.userName = server.userName();
        parameters.password = server.password();
        parameters.hostKeyDatabase = scratch.filePath(QStringLiteral("hosts"));
        local = scratch.filePath(QStringLiteral("payload.bin"));
        QFile file(local);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(kBytes, '\x42'));
    }
};

std::unique_ptr<Setup> s_setup;

Setup &setup()
{
    if (!s_setup)
        s_setup = std::make_unique<Setup>();
    return *s_setup;
}

bool connectOnce(QSsh::SshConnection &connection)
{
    QEventLoop loop;
    QObject::connect(&connection, &QSsh::SshConnection::connected, &loop, &QEventLoop::quit);
    QObject::connect(&connection, &QSsh::SshConnection::error, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    connection.connectToHost();
    loop.exec();
    return connection.state() == QSsh::SshConnection::Connected;
}

QSsh::SshConnection *shared()
{
    Setup &s = setup();
    if (!s.connection) {
        s.connection = std::make_unique<QSsh::SshConnection>(s.parameters);
        connectOnce(*s.connection);
    }
    return s.connection.get();
}

void BM_ConnectAndLogIn(benchmark::State &state)
{
    if (!setup().ok)
        return state.SkipWithError(qPrintable(setup().error));
    for (auto _ : state) {
        QSsh::SshConnection connection(setup().parameters);
        if (!connectOnce(connection))
            state.SkipWithError("connect failed");
    }
}
BENCHMARK(BM_ConnectAndLogIn)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RemoteCommand(benchmark::State &state)
{
    if (!setup().ok)
        return state.SkipWithError(qPrintable(setup().error));
    for (auto _ : state) {
        dexecute job(shared());
        if (!job.execute(QStringLiteral("fixture-stdout bench")))
            state.SkipWithError("command failed");
    }
}
BENCHMARK(BM_RemoteCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Upload8MB(benchmark::State &state)
{
    if (!setup().ok)
        return state.SkipWithError(qPrintable(setup().error));
    for (auto _ : state) {
        dupload job(shared());
        if (!job.upload(setup().local, QStringLiteral("/home/pi/payload.bin")))
            state.SkipWithError("upload failed");
    }
    state.SetBytesProcessed(state.iterations() * qint64(kBytes));
}
BENCHMARK(BM_Upload8MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Download8MB(benchmark::State &state)
{
    if (!setup().ok)
        return state.SkipWithError(qPrintable(setup().error));
    const QString back = setup().scratch.filePath(QStringLiteral("back.bin"));
    for (auto _ : state) {
        ddownload job(shared());
        if (!job.download(back, QStringLiteral("/home/pi/payload.bin")))
            state.SkipWithError("download failed");
    }
    state.SetBytesProcessed(state.iterations() * qint64(kBytes));
}
BENCHMARK(BM_Download8MB)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The figures go to standard error: the jobs write their chatter ("cmd start", ...) to
    // standard output, which can be sent to /dev/null.
    benchmark::Initialize(&argc, argv);
    benchmark::ConsoleReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    s_setup.reset(); // the connection and the server go while the application object exists
    return 0;
}
