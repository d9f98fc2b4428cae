// A print farm on loopback: 50 printer simulators on 127.0.0.2 to 127.0.0.51.
//   - discovery: from the question to all 50 property records filled;
//   - one 15 MB package to 10 printers at once, and to the same 10 one after another.
// Each figure also reports the longest stall of the event loop while it ran (a 1 ms timer
// measures the gaps). Every wait is bounded in time; the simulators end with the program.
#include "network/NetClientCmd.h"
#include "network/NetworkApp.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace
{

constexpr int kPrinters = 50;
constexpr int kSendTargets = 10;
constexpr qint64 kPackageBytes = 15 * 1024 * 1024;

QString address(int i)
{
    return QStringLiteral("127.0.0.%1").arg(2 + i);
}

// Runs the event loop until cond() or ms; returns cond(). maxGapMs gets the longest gap between
// two ticks of a 1 ms timer, i.e. how long the loop was kept from running.
bool waitFor(const std::function<bool()> &cond, int ms, qint64 *maxGapMs = nullptr)
{
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 gap = 0;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        const qint64 now = clock.elapsed();
        gap = qMax(gap, now - last);
        last = now;
        if (cond() || now >= ms)
            loop.quit();
    });
    tick.start(1);
    if (!cond())
        loop.exec();
    if (maxGapMs)
        *maxGapMs = gap;
    return cond();
}

class Farm
{
  public:
    Farm()
    {
        const QString program =
            QDir(QCoreApplication::applicationDirPath()).filePath("resinor-printer-sim");
        for (int i = 0; i < kPrinters; ++i) {
            auto process = std::make_unique<QProcess>();
            process->start(program, {"--address", address(i), "--storage",
                                     QDir(m_storage.path()).filePath(QString::number(i)),
                                     "--keep-alive", "off", "--lifetime", "900"});
            m_sims.push_back(std::move(process));
        }
        int ready = 0;
        for (auto &sim : m_sims) {
            QByteArray out;
            QElapsedTimer clock;
            clock.start();
            while (!out.contains("ready") && clock.elapsed() < 10000 &&
                   sim->state() != QProcess::NotRunning) {
                sim->waitForReadyRead(100);
                out += sim->readAllStandardOutput();
            }
            ready += out.contains("ready") ? 1 : 0;
        }
        m_ready = ready == kPrinters;
        m_package = QDir(m_storage.path()).filePath("farm job.vxpr");
        QFile file(m_package);
        file.open(QIODevice::WriteOnly);
        QByteArray block(1024 * 1024, '\0');
        for (qint64 written = 0; written < kPackageBytes; written += block.size()) {
            for (int k = 0; k < block.size(); ++k)
                block[k] = char(QRandomGenerator::global()->generate());
            file.write(block);
        }
    }
    ~Farm()
    {
        for (auto &sim : m_sims) {
            sim->kill(); // only the processes this program started
            sim->waitForFinished(5000);
        }
    }
    bool ready() const { return m_ready; }
    QString package() const { return m_package; }

  private:
    QTemporaryDir m_storage;
    std::vector<std::unique_ptr<QProcess>> m_sims;
    QString m_package;
    bool m_ready = false;
};

Farm *g_farm = nullptr;

NetworkOptions farmOptions()
{
    NetworkOptions options;
    options.discoveryTarget = QHostAddress(QStringLiteral("127.255.255.255"));
    options.discoveryBindPort = 0;
    return options;
}

int describedFarmPrinters(const NetworkApp &net)
{
    int n = 0;
    for (int i = 0; i < kPrinters; ++i) {
        NetClientCmd *c = net.device(address(i));
        n += c && c->properties().size() > 5 ? 1 : 0;
    }
    return n;
}

void BM_Discover50(benchmark::State &state)
{
    if (!g_farm->ready()) {
        state.SkipWithError("not all 50 simulators started");
        return;
    }
    qint64 worstGap = 0;
    for (auto _ : state) {
        NetworkApp net(nullptr, farmOptions());
        qint64 gap = 0;
        QElapsedTimer clock;
        clock.start();
        net.onQueryDeviceInfo();
        if (!waitFor([&] { return describedFarmPrinters(net) == kPrinters; }, 20000, &gap)) {
            state.SkipWithError("not every printer was described within 20 s");
            return;
        }
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        worstGap = qMax(worstGap, gap);
    }
    state.counters["max_loop_stall_ms"] = double(worstGap);
}

// Sends the package to the first kSendTargets printers, all at once or one after another.
void sendPackage(benchmark::State &state, bool concurrent)
{
    if (!g_farm->ready()) {
        state.SkipWithError("not all 50 simulators started");
        return;
    }
    NetworkApp net(nullptr, farmOptions());
    for (int i = 0; i < kSendTargets; ++i)
        net.linkDevice(address(i));
    const auto allLinked = [&] {
        for (int i = 0; i < kSendTargets; ++i) {
            NetClientCmd *c = net.device(address(i));
            if (!c || c->transferPort() == 0)
                return false;
        }
        return true;
    };
    if (!waitFor(allLinked, 10000)) {
        state.SkipWithError("the printers did not link");
        return;
    }
    int okCount = 0;
    int done = 0;
    QObject::connect(&net, &NetworkApp::sTransferFinished, &net,
                     [&](NetClientCmd *, bool ok, const QString &) {
                         ++done;
                         okCount += ok ? 1 : 0;
                     });
    qint64 worstGap = 0;
    for (auto _ : state) {
        done = 0;
        okCount = 0;
        QElapsedTimer clock;
        clock.start();
        qint64 gap = 0;
        for (int i = 0; i < kSendTargets; ++i) {
            NetClientCmd *c = net.device(address(i));
            c->set("fileType", "vxpr");
            c->set("afterPrint", "0");
            c->sendFile(g_farm->package());
            if (!concurrent) {
                const int target = i + 1;
                waitFor([&] { return done >= target; }, 120000, &gap);
                worstGap = qMax(worstGap, gap);
            }
        }
        waitFor([&] { return done >= kSendTargets; }, 300000, &gap);
        worstGap = qMax(worstGap, gap);
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        if (okCount != kSendTargets) {
            state.SkipWithError("a transfer failed or did not end");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * kSendTargets * kPackageBytes);
    state.counters["max_loop_stall_ms"] = double(worstGap);
}

void BM_Send15MBTo10AtOnce(benchmark::State &state)
{
    sendPackage(state, true);
}

void BM_Send15MBTo10OneByOne(benchmark::State &state)
{
    sendPackage(state, false);
}

} // namespace

BENCHMARK(BM_Discover50)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_Send15MBTo10AtOnce)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);
BENCHMARK(BM_Send15MBTo10OneByOne)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // One log line per 2 kB chunk would measure the terminal, not the network.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    benchmark::Initialize(&argc, argv);
    g_farm = new Farm;
    benchmark::RunSpecifiedBenchmarks();
    delete g_farm;
    benchmark::Shutdown();
    return 0;
}
