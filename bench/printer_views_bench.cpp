// The printer panel with 50 printers: creating the 50 cards and refreshing them from a new list
// (what every "dev_infos" and every periodic refresh does). The printers are property records
// only; no socket is opened.
#include "network/NetClientCmd.h"
#include "network/NetworkApp.h"
#include "network/ui/DlpDeviceInfoUI.h"
#include "network/ui/DlpDeviceScene.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLoggingCategory>

#include <memory>
#include <vector>

namespace
{

constexpr int kPrinters = 50;

struct Farm {
    Farm()
    {
        NetworkOptions options; // discovery off: the target stays null
        options.discoveryBindPort = 0;
        network = std::make_unique<NetworkApp>(nullptr, options);
        for (int i = 0; i < kPrinters; ++i) {
            auto c = std::make_unique<NetClientCmd>();
            c->set("ID", QStringLiteral("SN%1").arg(i, 3, 10, QLatin1Char('0')));
            c->set("Name", QStringLiteral("Printer %1").arg(i));
            c->set("IP", QStringLiteral("127.0.0.%1").arg(i + 2));
            c->set("DS", i % 2 ? "runing" : "idle");
            c->set("SS", "enough");
            c->set("PS", "print");
            c->set("RPiA", "0.3.1.0");
            c->set("supplies", "Resin A,500ml,405nm,1");
            c->set("filename", "job.vxpr");
            c->set("usedlayers", "10");
            c->set("totallayers", "200");
            c->set("progress", "5%");
            list << c.get();
            printers.push_back(std::move(c));
        }
    }
    std::unique_ptr<NetworkApp> network;
    std::vector<std::unique_ptr<NetClientCmd>> printers;
    DeviceInfos list;
};

void BM_Create50Cards(benchmark::State &state)
{
    Farm farm;
    for (auto _ : state) {
        DlpDeviceScene scene(farm.network.get());
        scene.resize(1400, 900);
        scene.show();
        scene.onUpdateDeviceInfoUI(farm.list);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(scene.cards().size());
    }
}

void BM_Refresh50Cards(benchmark::State &state)
{
    Farm farm;
    DlpDeviceScene scene(farm.network.get());
    scene.resize(1400, 900);
    scene.show();
    scene.onUpdateDeviceInfoUI(farm.list);
    int step = 0;
    for (auto _ : state) {
        for (NetClientCmd *c : farm.list)
            c->set("progress", QStringLiteral("%1%").arg(++step % 100));
        scene.onUpdateDeviceInfoUI(farm.list);
        QCoreApplication::processEvents(); // repaint
    }
}

} // namespace

BENCHMARK(BM_Create50Cards)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Refresh50Cards)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
