#include "network/LocalIdentity.h"

#include "network/PrinterProtocol.h"

#include <QDir>
#include <QHostInfo>
#include <QNetworkInterface>

QString LocalIdentity::text() const
{
    return PrinterProtocol::identityText(host, address, user);
}

LocalIdentity localIdentity()
{
    LocalIdentity identity;
    identity.host = QHostInfo::localHostName();
    for (const QHostAddress &a : QNetworkInterface::allAddresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback()) {
            identity.address = a.toString();
            break;
        }
    }
    identity.user = QDir::homePath().section(QLatin1Char('/'), -1);
    return identity;
}
