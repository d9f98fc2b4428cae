#include "network/CheckConnectTimer.h"

#include "network/NetClientCmd.h"
#include "network/PrinterProtocol.h"

#include <QDebug>
#include <QHostAddress>

CheckConnectTimer::CheckConnectTimer(int limit, NetClientCmd *parent, int intervalMs)
    : QTimer(parent), m_client(parent), m_limit(limit), m_intervalMs(intervalMs)
{
    connect(this, &QTimer::timeout, this, [this] { onTimeOut(); });
}

void CheckConnectTimer::restart()
{
    if (!m_enabled)
        return;
    if (isActive())
        stop();
    setInterval(m_intervalMs);
    start();
    m_count = 0;
}

void CheckConnectTimer::handle(const QString &message)
{
    const QStringList words = PrinterProtocol::words(message);
    const QString first = words.value(0).toLower();
    if (first == QLatin1String("linked")) {
        if (PrinterProtocol::parseLinked(message).checkAlive) {
            m_enabled = true;
            restart();
        }
    } else if (first == QLatin1String("isalive")) {
        restart();
        m_client->writeBytes(PrinterProtocol::encodeText(QStringLiteral("isAlive")));
    }
}

void CheckConnectTimer::onTimeOut()
{
    if (m_count > m_limit) {
        stop();
        qWarning().noquote() << m_client->peerAddress().toString()
                             << "unkown disconnect error,disconnect from host";
        m_client->disconnectFromHost();
    }
    ++m_count;
}
