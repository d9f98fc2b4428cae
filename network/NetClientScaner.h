#pragma once

#include <QHostAddress>
#include <QUdpSocket>

// The discovery socket: sends the question and reports every printer that answers.
//
// Bound with the shared-address mode so that several programs of the machine may bind the same
// port. A failed bind or send is logged and otherwise silent: the device list stays as it was.
class NetClientScaner : public QUdpSocket
{
    Q_OBJECT
  public:
    // Binds to bindPort on all local addresses (0 = any free port); questions go to sendPort.
    NetClientScaner(quint16 bindPort, QObject *parent = nullptr, quint16 sendPort = 7777);

    // Where onScanning() sends; a null address turns discovery off (nothing is sent).
    void setTarget(const QHostAddress &target) { m_target = target; }
    QHostAddress target() const { return m_target; }
    quint16 port() const { return m_port; }

  public slots:
    // Sends data as one datagram to the discovery target.
    void onScanning(QByteArray data);
    // Sends data as one datagram to ip.
    void onUdpSend(QByteArray data, QString ip);
    // Drains the pending datagrams; every printer answer is reported.
    void listenning();

  signals:
    void sReportScanedDevice(QString IP);

  private:
    quint16 m_port;
    QHostAddress m_target;
};
