#pragma once

#include "app/IPrinterNetwork.h"
#include "network/DeviceInfos.h"
#include "network/LocalIdentity.h"

#include <QHostAddress>
#include <QMap>
#include <QThread>

class NetClientCmd;
class NetClientScaner;
class QTimer;

// Settings of the printer network; the defaults are the program's.
struct NetworkOptions {
    QHostAddress discoveryTarget;     // null = discovery sends nothing
    quint16 discoveryBindPort = 7777; // 0 = any free port
    quint16 printerPort = 7777;       // UDP discovery and TCP command port of the printers
    int linkTimeoutMs = 2000;
    int transferConnectTimeoutMs = 30000;
    int keepAliveIntervalMs = 9000;

    // The program's settings: target by option, environment, settings key or default
    // (DiscoveryTarget.h), bind port from RESINOR_DISCOVERY_PORT.
    static NetworkOptions fromEnvironment();
};

// The network manager: discovery, the connected printers (DeviceInfos) and the reactions to
// their text commands. An ordinary event-driven object on the user-interface thread (the thread
// is never started). Connecting is asynchronous (bounded by linkTimeoutMs), so the event loop is
// never blocked by network work.
class NetworkApp : public QThread, public IPrinterNetwork
{
    Q_OBJECT
  public:
    explicit NetworkApp(QObject *parent = nullptr,
                        const NetworkOptions &options = NetworkOptions::fromEnvironment());
    ~NetworkApp() override;

    DeviceInfos devices() const { return m_devices; }
    NetClientCmd *device(const QString &ip) const;
    NetClientScaner *scanner() const { return m_scanner; }
    const NetworkOptions &options() const { return m_options; }
    // The identity sent in "authenticate" and in holds.
    LocalIdentity identity() const { return m_identity; }
    void setIdentity(const LocalIdentity &identity) { m_identity = identity; }

    // Sends the file to every listed printer whose property selectKey is "1", with "fileType"
    // fileType; returns how many transfers were started.
    int sendToSelected(const QString &path, const QString &fileType, const QString &selectKey);

    // IPrinterNetwork
    void queryDevices() override { onQueryDeviceInfo(); }
    int sendPrintPackage(const QString &path) override;
    int sendUpgradePackage(const QString &path) override;
    // Logs "<address>:is transforing...." for every busy printer.
    bool isTransferIdle() const override;

    // Binary helpers on a printer's command channel.
    void requestHolder(NetClientCmd *client);
    void requestHold(NetClientCmd *client, bool take);
    void requestDetails(NetClientCmd *client);

  public slots:
    // Reports the current list at once, then sends the discovery question.
    void onQueryDeviceInfo();
    void linkDevice(QString IP);
    void linkDevice(QStringList IP);
    void reportDeviceInfo();
    void disconnectClientCmd();
    // Ignores empty and binary payloads (their askers listen themselves); text goes on.
    void onParseCommand(NetClientCmd *client, QByteArray cmd);
    void onAsciiParseCommand(NetClientCmd *client, QByteArray cmd);

  signals:
    void sParseCommand(NetClientCmd *client, QByteArray cmd);
    void sScanning(QByteArray data);
    void updateDeviceList(DeviceInfos clientList);
    // A connection attempt failed (refused or timed out) with the reason.
    void sLinkFailed(QString IP, QString reason);
    // Relays of every printer's transfer outcome and record changes.
    void sTransferFinished(NetClientCmd *client, bool ok, QString error);
    void sTransferConfirmed(NetClientCmd *client);
    void sPropertiesChanged(NetClientCmd *client);

  protected:
    void run() override { exec(); }

  private:
    void removeClient(NetClientCmd *client);

    NetworkOptions m_options;
    LocalIdentity m_identity;
    NetClientScaner *m_scanner;
    DeviceInfos m_devices;
    QMap<QString, NetClientCmd *> m_connecting;
};

// Makes every application object (DlpOrvaneApp) create its NetworkApp with the program's
// settings. Called once by the program's main before the window exists.
void registerPrinterNetwork();
