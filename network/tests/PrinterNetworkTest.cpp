// The printer network against the shipped simulator on loopback addresses.
#include "SimPrinter.h"

#include "network/CheckConnectTimer.h"
#include "network/FirmwareUpgrade.h"
#include "network/NetClientCmd.h"
#include "network/NetworkApp.h"
#include "network/PrinterProtocol.h"

#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "NamedCase.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace
{

NetworkOptions loopbackOptions(const QString &target)
{
    NetworkOptions options;
    options.discoveryTarget = QHostAddress(target);
    options.discoveryBindPort = 0;
    return options;
}

// A network manager that found and described the simulator at address.
struct Linked {
    explicit Linked(const QString &address, NetworkOptions options = NetworkOptions())
    {
        if (options.discoveryTarget.isNull())
            options = loopbackOptions(address);
        options.discoveryBindPort = 0;
        net = std::make_unique<NetworkApp>(nullptr, options);
        net->onQueryDeviceInfo();
        described = waitUntil([&] {
            NetClientCmd *c = net->device(address);
            return c && c->properties().size() > 5 && c->transferPort() != 0;
        });
        client = net->device(address);
    }
    std::unique_ptr<NetworkApp> net;
    NetClientCmd *client = nullptr;
    bool described = false;
};

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, '\0');
    auto *gen = QRandomGenerator::global();
    for (int i = 0; i < size; ++i)
        bytes[i] = char(gen->generate() & 0xFF);
    return bytes;
}

#define REQUIRE_SIM()                                                                              \
    if (simProgram().isEmpty())                                                                    \
    GTEST_SKIP() << "resinor-printer-sim was not built beside the tests"

} // namespace

TEST(PrinterNetwork, UnicastDiscoveryConnectsAndDescribesThePrinter)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(2));
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    EXPECT_EQ(linked.net->devices().size(), 1);
    EXPECT_EQ(linked.client->get("IP"), sim.address());
    EXPECT_EQ(linked.client->get("ID"), sim.serial());
    EXPECT_EQ(linked.client->transferPort(), 7778);
}

TEST(PrinterNetwork, TwoAnswersFromOnePrinterRefreshInsteadOfDuplicating)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(3));
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    const int asked = sim.count(QStringLiteral("^command dev_infos$"));
    // Two answers to one question: the simulator answers each question once, so ask twice.
    linked.net->onQueryDeviceInfo();
    linked.net->onQueryDeviceInfo();
    EXPECT_TRUE(waitUntil([&] { return sim.count("^command dev_infos$") >= asked + 2; }));
    EXPECT_EQ(linked.net->devices().size(), 1);
    EXPECT_EQ(sim.count(QStringLiteral("^session ")), 1);
}

TEST(PrinterNetwork, AnswerWhileConnectingOpensOneConnection)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(4));
    ASSERT_TRUE(sim.isReady());
    NetworkApp net(nullptr, loopbackOptions(sim.address()));
    net.linkDevice(sim.address());
    net.linkDevice(sim.address());
    ASSERT_TRUE(waitUntil([&] { return net.device(sim.address()) != nullptr; }));
    ASSERT_TRUE(waitUntil([&] { return net.device(sim.address())->properties().size() > 5; }));
    EXPECT_EQ(net.devices().size(), 1);
    EXPECT_EQ(sim.count(QStringLiteral("^session ")), 1);
}

TEST(PrinterNetwork, LoopbackBroadcastFindsEveryPrinter)
{
    REQUIRE_SIM();
    SimPrinter a(loopbackAddress(5));
    SimPrinter b(loopbackAddress(6));
    ASSERT_TRUE(a.isReady() && b.isReady());
    NetworkApp net(nullptr, loopbackOptions(QStringLiteral("127.255.255.255")));
    net.onQueryDeviceInfo();
    // Printers of other test programs may answer too; ours must be among them.
    EXPECT_TRUE(waitUntil([&] {
        return net.device(a.address()) && net.device(b.address()) &&
               net.device(a.address())->properties().size() > 5 &&
               net.device(b.address())->properties().size() > 5;
    }));
}

TEST(PrinterNetwork, NoPrinterMeansTheListIsStillReported)
{
    NetworkApp net(nullptr, loopbackOptions(loopbackAddress(250)));
    QSignalSpy spy(&net, &NetworkApp::updateDeviceList);
    net.onQueryDeviceInfo();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(spy.at(0).at(0).value<DeviceInfos>().isEmpty());
    waitUntil([] { return false; }, 300);
    EXPECT_TRUE(net.devices().isEmpty());
}

TEST(PrinterNetwork, ARefusedConnectionIsReportedAndNotListed)
{
    NetworkApp net(nullptr, loopbackOptions(loopbackAddress(251)));
    QSignalSpy failed(&net, &NetworkApp::sLinkFailed);
    net.linkDevice(loopbackAddress(251));
    EXPECT_TRUE(waitUntil([&] { return failed.count() == 1; }));
    EXPECT_TRUE(net.devices().isEmpty());
}

struct HandshakeCase {
    const char *name;
    const char *order;
};
NAMED_CASE(HandshakeCase)

class Handshake : public ::testing::TestWithParam<HandshakeCase>
{
};

TEST_P(Handshake, CompletesInEitherOrder)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(10 + int(GetParam().order[0] == 'l')),
                   {QStringLiteral("--handshake"), QLatin1String(GetParam().order)});
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    const QString line = sim.waitForLine(QStringLiteral("^authenticated "));
    EXPECT_EQ(line.mid(QStringLiteral("authenticated ").size()), linked.net->identity().text());
    EXPECT_TRUE(linked.client->keepAlive()->isCheckEnabled());
    EXPECT_EQ(sim.count(QStringLiteral("^command authenticate .* enableCheckAlive$")), 1);
}

INSTANTIATE_TEST_SUITE_P(Orders, Handshake,
                         ::testing::Values(HandshakeCase{"authenticateFirst", "auth-first"},
                                           HandshakeCase{"linkedFirst", "linked-first"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PrinterNetwork, KeepAliveIsAnswered)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(12), {QStringLiteral("--alive-seconds"), QStringLiteral("0.1")});
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    EXPECT_FALSE(sim.waitForLine(QStringLiteral("^alive answered$")).isEmpty());
    EXPECT_TRUE(linked.client->keepAlive()->isActive());
    EXPECT_LE(linked.client->keepAlive()->timeoutCount(), 1);
}

TEST(PrinterNetwork, KeepAliveOffLeavesTheCheckDisabled)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(13), {QStringLiteral("--keep-alive"), QStringLiteral("off")});
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    EXPECT_FALSE(linked.client->keepAlive()->isCheckEnabled());
    EXPECT_FALSE(linked.client->keepAlive()->isActive());
}

TEST(PrinterNetwork, ASilentPrinterIsDroppedAfterTheKeepAliveLimit)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(14), {QStringLiteral("--keep-alive"), QStringLiteral("silent")});
    ASSERT_TRUE(sim.isReady());
    NetworkOptions options = loopbackOptions(sim.address());
    options.keepAliveIntervalMs = 20;
    Linked linked(sim.address(), options);
    ASSERT_TRUE(linked.described);
    QSignalSpy update(linked.net.get(), &NetworkApp::updateDeviceList);
    // 12 periods of 20 ms; generous bound for a loaded machine.
    EXPECT_TRUE(waitUntil([&] { return linked.net->devices().isEmpty(); }, 5000));
    EXPECT_FALSE(sim.waitForLine(QStringLiteral("^session closed$")).isEmpty());
}

TEST(PrinterNetwork, EveryDevInfosFieldIsRecorded)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(15),
                   {QStringLiteral("--printing"), QStringLiteral("--name"),
                    QStringLiteral("progress-lab"), QStringLiteral("--layers"),
                    QStringLiteral("40"), QStringLiteral("--layer-seconds"), QStringLiteral("60"),
                    QStringLiteral("--version"), QStringLiteral("0.3.1.0,0.3.0.9"),
                    QStringLiteral("--supplies"), QStringLiteral("Grey*Resin,1000ml,405nm,2")});
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    NetClientCmd *c = linked.client;
    EXPECT_EQ(c->get("IP"), sim.address());
    EXPECT_EQ(c->get("ID"), sim.serial());
    EXPECT_EQ(c->get("Name"), QStringLiteral("progress-lab"));
    EXPECT_EQ(c->get("DS"), QStringLiteral("runing"));
    EXPECT_EQ(c->get("SS"), QStringLiteral("enough"));
    EXPECT_EQ(c->get("PS"), QStringLiteral("print"));
    EXPECT_EQ(c->get("supplies"), QStringLiteral("Grey Resin,1000ml,405nm,2"));
    EXPECT_EQ(c->get("RPiA"), QStringLiteral("0.3.1.0"));
    EXPECT_EQ(c->get("RPiB"), QStringLiteral("0.3.0.9"));
    EXPECT_EQ(c->get("progress"), QStringLiteral("0%"));
    EXPECT_EQ(c->get("filename"), QStringLiteral("resumed job.vxpr"));
    EXPECT_EQ(c->get("usedlayers"), QStringLiteral("0"));
    EXPECT_EQ(c->get("totallayers"), QStringLiteral("40"));
    EXPECT_TRUE(QRegularExpression("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d$")
                    .match(c->get("starttime"))
                    .hasMatch())
        << c->get("starttime").toStdString();
    EXPECT_EQ(c->get("costtime"), QStringLiteral("2400s"));
    EXPECT_TRUE(QRegularExpression("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d$")
                    .match(c->get("endtime"))
                    .hasMatch());
    EXPECT_EQ(c->get("imagedate"), c->get("starttime").left(10));
    EXPECT_EQ(c->get("Author"), QStringLiteral("simulator"));
}

TEST(PrinterNetwork, ProgressMovesAndPauseAndStopReachThePrinter)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(16), {QStringLiteral("--printing"), QStringLiteral("--layers"),
                                         QStringLiteral("1000"), QStringLiteral("--layer-seconds"),
                                         QStringLiteral("0.05")});
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    NetClientCmd *c = linked.client;
    EXPECT_TRUE(waitUntil([&] { return c->get("usedlayers").toInt() >= 2; }));
    c->writeBytes("operation pause");
    EXPECT_TRUE(waitUntil([&] { return c->get("PS") == QLatin1String("wait"); }));
    EXPECT_FALSE(sim.waitForLine(QStringLiteral("^print paused$")).isEmpty());
    c->writeBytes("operation pause");
    EXPECT_TRUE(waitUntil([&] { return c->get("PS") == QLatin1String("print"); }));
    c->writeBytes("operation quit");
    EXPECT_TRUE(waitUntil([&] { return c->get("DS") == QLatin1String("idle"); }));
    EXPECT_FALSE(sim.waitForLine(QStringLiteral("^print stopped$")).isEmpty());
}

TEST(PrinterNetwork, HoldTakenReleasedAndRefused)
{
    REQUIRE_SIM();
    SimPrinter freeSim(loopbackAddress(17));
    SimPrinter held(loopbackAddress(18),
                    {QStringLiteral("--held-by"), QStringLiteral("other-pc:10.1.2.3:bob")});
    ASSERT_TRUE(freeSim.isReady() && held.isReady());
    Linked a(freeSim.address());
    ASSERT_TRUE(a.described);
    const QString me = a.net->identity().text();
    a.net->requestHolder(a.client);
    EXPECT_TRUE(waitUntil([&] { return a.client->properties().contains("holder"); }));
    EXPECT_EQ(a.client->get("holder"), QString());
    a.net->requestHold(a.client, true);
    EXPECT_TRUE(waitUntil([&] { return a.client->get("holder") == me; }));
    EXPECT_FALSE(freeSim.waitForLine(QStringLiteral("^hold taken ")).isEmpty());
    a.net->requestHold(a.client, false);
    EXPECT_TRUE(waitUntil([&] { return a.client->get("holder").isEmpty(); }));
    EXPECT_FALSE(freeSim.waitForLine(QStringLiteral("^hold released ")).isEmpty());

    Linked b(held.address());
    ASSERT_TRUE(b.described);
    b.net->requestHold(b.client, true);
    EXPECT_TRUE(waitUntil([&] { return b.client->get("holder") == "other-pc:10.1.2.3:bob"; }));
    EXPECT_FALSE(held.waitForLine(QStringLiteral("^hold refused ")).isEmpty());
}

TEST(PrinterNetwork, DetailsRecordArrives)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(19));
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    PrinterProtocol::PrinterDetails details;
    bool got = false;
    QObject::connect(linked.client, &NetClientCmd::sParseCommand, linked.net.get(),
                     [&](NetClientCmd *, const QByteArray &cmd) {
                         qint32 code = 0;
                         QByteArray body;
                         if (PrinterProtocol::decodeBinary(cmd, &code, &body) && code == 1)
                             got = PrinterProtocol::decodeDetails(body, &details);
                     });
    linked.net->requestDetails(linked.client);
    ASSERT_TRUE(waitUntil([&] { return got; }));
    EXPECT_EQ(details.boardAId, "A-" + sim.serial());
    EXPECT_EQ(details.boardAVersion, QStringLiteral("0.3.1.0"));
    EXPECT_EQ(details.boardBId, "B-" + sim.serial());
    EXPECT_EQ(details.controlSerial, "C-" + sim.serial());
    EXPECT_EQ(details.controlVersion, QStringLiteral("1.0.7"));
}

struct TransferCase {
    const char *name;
    const char *fileName;
    int size;
    bool print;
};
NAMED_CASE(TransferCase)

class Transfer : public ::testing::TestWithParam<TransferCase>
{
};

TEST_P(Transfer, TheReceivedBytesEqualTheSentFile)
{
    REQUIRE_SIM();
    const TransferCase &tc = GetParam();
    SimPrinter sim(loopbackAddress(20 + int(tc.size % 7)));
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QString::fromUtf8(tc.fileName));
    const QByteArray bytes = randomBytes(tc.size);
    testsupport::writeFile(path, bytes);

    QList<int> percents;
    linked.client->setProgressCallback(
        [&](int percent, const QString &, bool) { percents << percent; });
    linked.client->set("afterPrint", tc.print ? "1" : "0");
    linked.client->set("isPrintSelected", "1");
    QSignalSpy finished(linked.net.get(), &NetworkApp::sTransferFinished);
    QSignalSpy confirmed(linked.net.get(), &NetworkApp::sTransferConfirmed);
    EXPECT_EQ(linked.net->sendPrintPackage(path), 1);
    EXPECT_FALSE(linked.net->isTransferIdle());
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1 && confirmed.count() == 1; }, 20000));
    EXPECT_TRUE(finished.at(0).at(1).toBool()) << finished.at(0).at(2).toString().toStdString();
    EXPECT_TRUE(linked.net->isTransferIdle());
    EXPECT_EQ(testsupport::readFile(QDir(sim.storage()).filePath(QString::fromUtf8(tc.fileName))),
              bytes);
    ASSERT_FALSE(percents.isEmpty());
    EXPECT_EQ(percents.last(), 100);
    const QString announced = sim.waitForLine(QStringLiteral("^announced "));
    EXPECT_TRUE(announced.endsWith(QStringLiteral(" %1 %2 vxpr").arg(tc.size).arg(tc.print)))
        << announced.toStdString();
    if (tc.print) {
        // The printer starts the job and reports it under the file's own name.
        EXPECT_TRUE(waitUntil([&] {
            return linked.client->get("DS") == QLatin1String("runing") &&
                   linked.client->get("filename") == QString::fromUtf8(tc.fileName);
        }));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, Transfer,
    ::testing::Values(TransferCase{"smallPackage", "cube.vxpr", 5000, false},
                      TransferCase{"spacesAndPrint", "my part one.vxpr", 300001, true},
                      TransferCase{"chineseName", "零件 测试.vxpr", 65536, true},
                      TransferCase{"exactChunks", "chunks.vxpr", 4 * 2048, false},
                      // Nothing to stream: the transfer ends at once instead of waiting forever.
                      TransferCase{"emptyPackage", "empty.vxpr", 0, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PrinterNetwork, TwoPrintersReceiveTheSameFileIndependently)
{
    REQUIRE_SIM();
    SimPrinter a(loopbackAddress(30));
    SimPrinter b(loopbackAddress(31), {QStringLiteral("--vanish-after"), QStringLiteral("40000")});
    ASSERT_TRUE(a.isReady() && b.isReady());
    NetworkApp net(nullptr, loopbackOptions(QStringLiteral("127.255.255.255")));
    net.linkDevice(QStringList{a.address(), b.address()});
    ASSERT_TRUE(waitUntil([&] {
        return net.device(a.address()) && net.device(b.address()) &&
               net.device(a.address())->transferPort() && net.device(b.address())->transferPort();
    }));
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("both.vxpr");
    const QByteArray bytes = randomBytes(400000);
    testsupport::writeFile(path, bytes);
    net.device(a.address())->set("isPrintSelected", "1");
    net.device(b.address())->set("isPrintSelected", "1");
    QMap<QString, QPair<bool, QString>> outcome;
    QObject::connect(&net, &NetworkApp::sTransferFinished, &net,
                     [&](NetClientCmd *c, bool ok, const QString &error) {
                         outcome.insert(c->get("IP"), {ok, error});
                     });
    EXPECT_EQ(net.sendPrintPackage(path), 2);
    ASSERT_TRUE(waitUntil([&] { return outcome.size() == 2; }, 20000));
    EXPECT_TRUE(outcome.value(a.address()).first);
    EXPECT_FALSE(outcome.value(b.address()).first);
    EXPECT_FALSE(outcome.value(b.address()).second.isEmpty());
    EXPECT_TRUE(waitUntil([&] { return net.device(b.address()) == nullptr; }));
    EXPECT_TRUE(waitUntil(
        [&] { return testsupport::readFile(QDir(a.storage()).filePath("both.vxpr")) == bytes; }));
}

TEST(PrinterNetwork, APrinterThatVanishesMidTransferIsReported)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(32),
                   {QStringLiteral("--vanish-after"), QStringLiteral("100000")});
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("big.vxpr");
    testsupport::writeFile(path, randomBytes(2000000));
    linked.client->set("isPrintSelected", "1");
    QSignalSpy finished(linked.net.get(), &NetworkApp::sTransferFinished);
    linked.net->sendPrintPackage(path);
    ASSERT_TRUE(waitUntil([&] { return finished.count() >= 1; }, 20000));
    EXPECT_FALSE(finished.at(0).at(1).toBool());
    const QString reason = finished.at(0).at(2).toString();
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(waitUntil([&] { return linked.net->devices().isEmpty(); }));
    EXPECT_TRUE(linked.net->isTransferIdle());
}

TEST(PrinterNetwork, MalformedFrameDropsTheConnectionWithoutCrashing)
{
    REQUIRE_SIM();
    SimPrinter sim(loopbackAddress(33), {QStringLiteral("--garbage")});
    ASSERT_TRUE(sim.isReady());
    NetworkApp net(nullptr, loopbackOptions(sim.address()));
    net.onQueryDeviceInfo();
    ASSERT_FALSE(sim.waitForLine(QStringLiteral("^sent garbage$")).isEmpty());
    EXPECT_FALSE(sim.waitForLine(QStringLiteral("^session closed$")).isEmpty());
    EXPECT_TRUE(waitUntil([&] { return net.devices().isEmpty(); }));
    // The next discovery connects again.
    net.onQueryDeviceInfo();
    EXPECT_TRUE(waitUntil([&] { return sim.count(QStringLiteral("^session ")) >= 2; }));
}

TEST(PrinterNetwork, SendingOnAClosedChannelIsDropped)
{
    NetClientCmd client;
    client.writeBytes("dev_infos"); // logged, nothing else happens
    EXPECT_EQ(client.bytesToWrite(), 0);
}

struct FirmwareCase {
    const char *name;
    const char *board;
    bool ok;
    const char *reason;
};
NAMED_CASE(FirmwareCase)

class Firmware : public ::testing::TestWithParam<FirmwareCase>
{
};

TEST_P(Firmware, UpgradeEndsWithTheBoardsVerdict)
{
    REQUIRE_SIM();
    const FirmwareCase &fc = GetParam();
    SimPrinter sim(loopbackAddress(40 + int(std::string(fc.board).size())),
                   {QStringLiteral("--board"), QLatin1String(fc.board)});
    ASSERT_TRUE(sim.isReady());
    Linked linked(sim.address());
    ASSERT_TRUE(linked.described);
    FirmwareUpgrade upgrade(linked.client);
    FirmwareUpgrade::Timings timings;
    timings.eraseMs = 500;
    timings.prepareMs = 1000;
    timings.prepareRetryDelayMs = 5;
    timings.prepareRetries = 10;
    timings.queryIntervalMs = 100;
    upgrade.setTimings(timings);
    QSignalSpy finished(&upgrade, &FirmwareUpgrade::sFinished);
    QStringList messages;
    QObject::connect(&upgrade, &FirmwareUpgrade::sMessage, &upgrade,
                     [&](const QString &key) { messages << key; });
    QString error;
    const QByteArray image = randomBytes(70000);
    ASSERT_TRUE(upgrade.start(image, &error)) << error.toStdString();
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }, 10000));
    EXPECT_EQ(finished.at(0).at(0).toBool(), fc.ok);
    EXPECT_TRUE(finished.at(0).at(1).toString().contains(QLatin1String(fc.reason)))
        << finished.at(0).at(1).toString().toStdString();
    EXPECT_EQ(messages.last(), fc.ok ? "UpgradeSuccessful" : "UpgradeFailed");
    if (fc.ok) {
        EXPECT_EQ(messages.count("EraseOk"), 5);
        EXPECT_FALSE(sim.waitForLine(QStringLiteral("^firmware 70000$")).isEmpty());
        EXPECT_EQ(sim.count(QStringLiteral("^board prepare 70000$")), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boards, Firmware,
    ::testing::Values(FirmwareCase{"success", "ok", true, ""},
                      FirmwareCase{"silentBoard", "silent", false, "did not answer the erase"},
                      FirmwareCase{"busyBoard", "busy", false, "stayed busy"},
                      FirmwareCase{"boardReportsFailure", "fail", false, "programming failed"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FirmwareUpgradeStart, RefusesUnusableImages)
{
    NetClientCmd client;
    FirmwareUpgrade upgrade(&client);
    QString error;
    EXPECT_FALSE(upgrade.start(QByteArray(), &error));
    EXPECT_TRUE(error.contains("empty"));
    EXPECT_FALSE(upgrade.start(QByteArray(PrinterProtocol::kMaxMessage, 'x'), &error));
    EXPECT_TRUE(error.contains("at most"));
    EXPECT_FALSE(upgrade.start(QByteArray("img"), &error));
    EXPECT_TRUE(error.contains("not connected"));
    EXPECT_FALSE(upgrade.start(QStringLiteral("/no/such/firmware.bin"), &error));
    EXPECT_TRUE(error.contains("cannot read"));
}
