// Update downloads from the loopback stand-in service: the main program's HttpQuery (GET with
// progress) and the updater's queryer (POST download), each writing a 32 MB file.
#include "update/DlpPCUpdater.h"
#include "update/standin/UpdateServiceStandIn.h"
#include "updater/queryer.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include <benchmark/benchmark.h>

namespace
{

constexpr int kBytes = 32 * 1024 * 1024;

struct Service {
    QTemporaryDir root;
    QTemporaryDir downloads;
    std::unique_ptr<UpdateServiceStandIn> server;

    Service()
    {
        QDir(root.path()).mkpath(QStringLiteral("files"));
        QDir(root.path()).mkpath(QStringLiteral("programs/bench"));
        const QByteArray bytes(kBytes, 'u');
        for (const QString &name :
             {QStringLiteral("files/setup.bin"), QStringLiteral("programs/bench/setup.bin")}) {
            QFile file(root.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        }
        server = std::make_unique<UpdateServiceStandIn>(root.path());
        server->listen(0);
    }
};

Service &service()
{
    static Service s;
    return s;
}

void BM_HttpUpgradeDownload(benchmark::State &state)
{
    DlpPCUpdater updater(QStringLiteral("1.0.0.1"));
    updater.query()->setDownloadFolder(service().downloads.path());
    const QString url = service().server->baseUrl() + QStringLiteral("/files/setup.bin");
    for (auto _ : state) {
        const QString path = updater.download(url);
        if (path.isEmpty())
            state.SkipWithError("download failed");
    }
    state.SetBytesProcessed(state.iterations() * qint64(kBytes));
}
BENCHMARK(BM_HttpUpgradeDownload)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PatchwynDownload(benchmark::State &state)
{
    queryer client;
    const QString url = service().server->baseUrl() + QStringLiteral("/update/");
    const QString target = QDir(service().downloads.path()).filePath(QStringLiteral("p.bin"));
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&client, &queryer::sFinished, &loop, &QEventLoop::quit);
        client.download(url, "type=download_file&path=bench/setup.bin", target);
        loop.exec();
        if (!client.downloadSucceeded())
            state.SkipWithError("download failed");
    }
    state.SetBytesProcessed(state.iterations() * qint64(kBytes));
}
BENCHMARK(BM_PatchwynDownload)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
