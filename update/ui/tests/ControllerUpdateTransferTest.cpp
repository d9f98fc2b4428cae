#include "SimPrinter.h"

#include "app/DlpOrvaneApp.h"
#include "network/NetClientCmd.h"
#include "network/NetworkApp.h"
#include "testsupport/TestFiles.h"
#include "update/DlpRPiUpdater.h"
#include "update/standin/UpdateServiceStandIn.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// The controller software from the update service goes to the printer: the updater asks with
// the printer's board-A version, downloads the package from the stand-in and hands it on
// through sUpload to the application, whose printer network sends it as an "upgrade" file to
// the printer simulator on a loopback address.

namespace
{

TEST(ControllerUpdate, packageFromTheServiceReachesThePrinter)
{
    if (simtest::simProgram().isEmpty())
        GTEST_SKIP() << "resinor-printer-sim was not built beside the tests";
    QTemporaryDir root;
    QTemporaryDir work;
    ASSERT_TRUE(root.isValid() && work.isValid());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, work.filePath("settings"));
    QDir().mkpath(work.filePath("install/config"));
    testsupport::writeFile(work.filePath("install/config/v0.dsc"), "description");

    simtest::SimPrinter sim(simtest::loopbackAddress(41));
    ASSERT_TRUE(sim.isReady());
    DlpOrvaneApp::setPrinterNetworkFactory([&](DlpOrvaneApp *app) -> IPrinterNetwork * {
        NetworkOptions options;
        options.discoveryTarget = QHostAddress(sim.address());
        options.discoveryBindPort = 0;
        return new NetworkApp(app, options);
    });
    DlpOrvaneApp app(nullptr, work.filePath("appdata"), work.filePath("install"));
    DlpOrvaneApp::setPrinterNetworkFactory({});
    QStringList warnings;
    app.setWarningHandler([&](const QString &, const QString &text) { warnings << text; });
    auto *net = dynamic_cast<NetworkApp *>(app.printerNetwork());
    ASSERT_NE(net, nullptr);
    net->onQueryDeviceInfo();
    ASSERT_TRUE(simtest::waitUntil([&] {
        NetClientCmd *c = net->device(sim.address());
        return c && !c->get("RPiA").isEmpty() && c->transferPort() != 0;
    }));
    NetClientCmd *printer = net->device(sim.address());
    printer->set("isManagerSelected", "1");

    const QByteArray package = QByteArray(200 * 1024, 'k') + "end of package";
    QDir(root.path()).mkpath("files");
    testsupport::writeFile(root.filePath("files/controller-9.0.0.0.upgrade"), package);
    QDir(root.path()).mkpath("act");
    testsupport::writeFile(root.filePath("act/RasspberryPiA_latestversion.txt"),
                           "act=RasspberryPiA_latestversion,version=9.0.0.0,"
                           "url={base}/files/controller-9.0.0.0.upgrade");
    UpdateServiceStandIn service(root.path());
    ASSERT_TRUE(service.listen(0));

    DlpRPiUpdater updater(printer->get("RPiA"));
    updater.setEndpoint(service.baseUrl() + "/orvane3DsoftwareDLP/");
    updater.query()->setDownloadFolder(work.filePath("downloads"));
    QStringList asked;
    updater.setQuestion([&](const QString &, const QString &text) {
        asked << text;
        return true;
    });
    QObject::connect(&updater, &DlpRPiUpdater::sUpload, &app, &DlpOrvaneApp::onUploadUpgradefile);
    updater.upgrade();

    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].contains("Current Version:" + printer->get("RPiA")))
        << asked[0].toStdString();
    const QString stored = QDir(sim.storage()).filePath("controller-9.0.0.0.upgrade");
    EXPECT_TRUE(simtest::waitUntil(
        [&] { return QFile::exists(stored) && testsupport::readFile(stored) == package; }, 20000));
    const QString announced = sim.waitForLine(QStringLiteral("^announced "));
    EXPECT_TRUE(announced.endsWith(QStringLiteral(" upgrade"))) << announced.toStdString();
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(' ').toStdString();
}

} // namespace
