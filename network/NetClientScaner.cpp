#include "network/NetClientScaner.h"

#include "network/PrinterProtocol.h"

#include <QDebug>
#include <QNetworkDatagram>

NetClientScaner::NetClientScaner(quint16 bindPort, QObject *parent, quint16 sendPort)
    : QUdpSocket(parent), m_port(sendPort)
{
    if (!bind(QHostAddress::AnyIPv4, bindPort, ShareAddress | ReuseAddressHint))
        qWarning().noquote() << "discovery: cannot bind UDP port" << bindPort << errorString();
    connect(this, &QUdpSocket::readyRead, this, [this] { listenning(); });
}

void NetClientScaner::onScanning(QByteArray data)
{
    if (m_target.isNull()) {
        qWarning() << "discovery: no valid target, the question is not sent";
        return;
    }
    if (writeDatagram(data, m_target, m_port) < 0)
        qWarning().noquote() << "discovery: send to" << m_target.toString()
                             << "failed:" << errorString();
}

void NetClientScaner::onUdpSend(QByteArray data, QString ip)
{
    if (writeDatagram(data, QHostAddress(ip), m_port) < 0)
        qWarning().noquote() << "discovery: send to" << ip << "failed:" << errorString();
}

void NetClientScaner::listenning()
{
    while (hasPendingDatagrams()) {
        const QNetworkDatagram datagram = receiveDatagram(512);
        if (!datagram.isValid())
            continue;
        if (!PrinterProtocol::isDiscoveryAnswer(datagram.data()))
            continue;
        QHostAddress sender = datagram.senderAddress();
        bool mapped = false;
        const quint32 v4 = sender.toIPv4Address(&mapped);
        if (mapped)
            sender = QHostAddress(v4);
        emit sReportScanedDevice(sender.toString());
    }
}
