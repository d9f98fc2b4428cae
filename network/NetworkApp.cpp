#include "network/NetworkApp.h"

#include "app/DlpOrvaneApp.h"

#include "network/CheckConnectTimer.h"
#include "network/DiscoveryTarget.h"
#include "network/NetClientCmd.h"
#include "network/NetClientScaner.h"
#include "network/PrinterProtocol.h"

#include <QDebug>
#include <QTimer>

NetworkOptions NetworkOptions::fromEnvironment()
{
    NetworkOptions options;
    const DiscoveryTarget target = resolveDiscoveryTarget();
    if (target.isValid())
        options.discoveryTarget = QHostAddress(target.address);
    else
        qWarning().noquote() << "discovery is off:" << target.error;
    options.discoveryBindPort = ::discoveryBindPort();
    return options;
}

NetworkApp::NetworkApp(QObject *parent, const NetworkOptions &options)
    : QThread(parent), m_options(options), m_identity(localIdentity()),
      m_scanner(new NetClientScaner(options.discoveryBindPort, nullptr, options.printerPort))
{
    qRegisterMetaType<DeviceInfos>("DeviceInfos");
    m_scanner->setTarget(options.discoveryTarget);
    connect(this, &NetworkApp::sScanning, m_scanner,
            [this](const QByteArray &data) { m_scanner->onScanning(data); });
    connect(m_scanner, &NetClientScaner::sReportScanedDevice, this,
            [this](const QString &ip) { linkDevice(ip); });
}

NetworkApp::~NetworkApp()
{
    for (NetClientCmd *client : qAsConst(m_connecting)) {
        client->disconnect();
        delete client;
    }
    for (NetClientCmd *client : qAsConst(m_devices)) {
        client->disconnect();
        client->abort();
        delete client;
    }
    delete m_scanner;
}

NetClientCmd *NetworkApp::device(const QString &ip) const
{
    const QHostAddress address(ip);
    for (NetClientCmd *client : m_devices)
        if (client->peerAddress().isEqual(address, QHostAddress::TolerantConversion))
            return client;
    return nullptr;
}

void NetworkApp::onQueryDeviceInfo()
{
    emit updateDeviceList(m_devices);
    emit sScanning(PrinterProtocol::discoveryQuestion());
}

void NetworkApp::linkDevice(QStringList IP)
{
    for (const QString &ip : IP)
        linkDevice(ip);
}

void NetworkApp::linkDevice(QString IP)
{
    const QHostAddress address(IP);
    if (address.isNull()) {
        emit sLinkFailed(IP, QStringLiteral("not an IP address"));
        return;
    }
    for (NetClientCmd *client : qAsConst(m_devices)) {
        if (client->peerAddress().isEqual(address, QHostAddress::TolerantConversion) &&
            client->peerPort() == m_options.printerPort) {
            client->writeBytes(PrinterProtocol::encodeText(QStringLiteral("dev_infos")));
            return;
        }
    }
    const QString key = address.toString();
    if (m_connecting.contains(key))
        return; // a second answer while the first connection is still opening

    auto *client = new NetClientCmd(nullptr, m_options.keepAliveIntervalMs);
    client->setTransferConnectTimeout(m_options.transferConnectTimeoutMs);
    m_connecting.insert(key, client);
    auto *timer = new QTimer(client);
    timer->setSingleShot(true);
    const auto fail = [this, client, key](const QString &reason) {
        if (m_connecting.value(key) != client)
            return;
        m_connecting.remove(key);
        qWarning().noquote() << "link timeout" << key << reason;
        client->disconnect();
        client->abort();
        client->deleteLater();
        emit sLinkFailed(key, reason);
    };
    connect(timer, &QTimer::timeout, this, [fail, this] {
        fail(QStringLiteral("no connection within %1 ms").arg(m_options.linkTimeoutMs));
    });
    connect(client, &QAbstractSocket::errorOccurred, this,
            [fail, client] { fail(client->errorString()); });
    connect(client, &QAbstractSocket::connected, this, [this, client, key, timer] {
        timer->stop();
        if (m_connecting.value(key) != client)
            return;
        m_connecting.remove(key);
        connect(client, &QAbstractSocket::disconnected, this,
                [this, client] { removeClient(client); });
        connect(client, &NetClientCmd::sParseCommand, this,
                [this](NetClientCmd *c, const QByteArray &cmd) {
                    onParseCommand(c, cmd);
                    emit sParseCommand(c, cmd);
                });
        connect(client, &NetClientCmd::sTransferFinished, this, &NetworkApp::sTransferFinished);
        connect(client, &NetClientCmd::sTransferConfirmed, this, &NetworkApp::sTransferConfirmed);
        connect(client, &NetClientCmd::sPropertiesChanged, this, &NetworkApp::sPropertiesChanged);
        m_devices.append(client);
        client->writeBytes(PrinterProtocol::encodeText(QStringLiteral("link")));
    });
    timer->start(m_options.linkTimeoutMs);
    client->connectToHost(address, m_options.printerPort, QIODevice::ReadWrite);
}

void NetworkApp::reportDeviceInfo()
{
    emit updateDeviceList(m_devices);
}

void NetworkApp::disconnectClientCmd()
{
    if (auto *client = qobject_cast<NetClientCmd *>(sender()))
        removeClient(client);
}

void NetworkApp::removeClient(NetClientCmd *client)
{
    if (!m_devices.removeAll(client))
        return;
    client->disconnect(this);
    emit updateDeviceList(m_devices);
    client->deleteLater();
}

void NetworkApp::onParseCommand(NetClientCmd *client, QByteArray cmd)
{
    if (cmd.isEmpty())
        return;
    if (PrinterProtocol::isBinary(cmd)) {
        // Binary answers belong to whoever asked; the holder is also kept in the record so
        // that every view can show it.
        qint32 code = 0;
        QByteArray body;
        QByteArray holder;
        if (PrinterProtocol::decodeBinary(cmd, &code, &body) &&
            code == qint32(PrinterProtocol::BinaryCode::Holder) &&
            PrinterProtocol::decodeHolder(body, &holder)) {
            client->set(QStringLiteral("holder"), PrinterProtocol::decodeText(holder));
            emit client->sPropertiesChanged(client);
        }
        return;
    }
    onAsciiParseCommand(client, cmd);
}

void NetworkApp::onAsciiParseCommand(NetClientCmd *client, QByteArray cmd)
{
    const QString text = PrinterProtocol::decodeText(cmd);
    const QString first = PrinterProtocol::words(text).value(0);
    if (first == QLatin1String("authenticate")) {
        client->writeBytes(PrinterProtocol::encodeText(PrinterProtocol::authenticateReply(
            m_identity.host, m_identity.address, m_identity.user)));
    } else if (first == QLatin1String("linked")) {
        client->setTransferPort(PrinterProtocol::parseLinked(text).transferPort);
        client->set(QStringLiteral("IP"), client->peerAddress().toString());
        client->writeBytes(PrinterProtocol::encodeText(QStringLiteral("dev_infos")));
        client->keepAlive()->handle(text);
    } else if (first == QLatin1String("dev_infos")) {
        if (PrinterProtocol::applyDevInfos(text, client->mutableProperties()))
            emit client->sPropertiesChanged(client);
        if (client->properties().size() > 5)
            emit updateDeviceList(m_devices);
    } else if (first == QLatin1String("transforlink")) {
        client->announceTransfer();
    } else if (first == QLatin1String("transforbegin")) {
        client->startStreaming();
    } else if (first == QLatin1String("transforend")) {
        client->transferEnded();
    } else if (first == QLatin1String("isalive")) {
        client->keepAlive()->handle(text);
    }
}

int NetworkApp::sendToSelected(const QString &path, const QString &fileType,
                               const QString &selectKey)
{
    int started = 0;
    for (NetClientCmd *client : qAsConst(m_devices)) {
        if (client->get(selectKey) != QLatin1String("1"))
            continue;
        client->set(QStringLiteral("fileType"), fileType);
        client->sendFile(path);
        ++started;
    }
    return started;
}

int NetworkApp::sendPrintPackage(const QString &path)
{
    return sendToSelected(path, QStringLiteral("vxpr"), QStringLiteral("isPrintSelected"));
}

int NetworkApp::sendUpgradePackage(const QString &path)
{
    return sendToSelected(path, QStringLiteral("upgrade"), QStringLiteral("isManagerSelected"));
}

bool NetworkApp::isTransferIdle() const
{
    bool idle = true;
    for (NetClientCmd *client : m_devices) {
        if (client->isTransferring()) {
            qDebug().noquote() << client->peerAddress().toString() + ":is transforing....";
            idle = false;
        }
    }
    return idle;
}

void NetworkApp::requestHolder(NetClientCmd *client)
{
    client->writeBytes(PrinterProtocol::encodeBinary(PrinterProtocol::BinaryCode::HolderQuery));
}

void NetworkApp::requestHold(NetClientCmd *client, bool take)
{
    client->writeBytes(PrinterProtocol::encodeBinary(
        PrinterProtocol::BinaryCode::Hold,
        PrinterProtocol::encodeHold(take, PrinterProtocol::encodeText(m_identity.text()))));
}

void NetworkApp::requestDetails(NetClientCmd *client)
{
    client->writeBytes(PrinterProtocol::encodeBinary(PrinterProtocol::BinaryCode::Details));
}

void registerPrinterNetwork()
{
    DlpOrvaneApp::setPrinterNetworkFactory(
        [](DlpOrvaneApp *app) -> IPrinterNetwork * { return new NetworkApp(app); });
}
