#include "network/DiscoveryTarget.h"

#include "network/PrinterProtocol.h"

#include <QHostAddress>
#include <QSettings>

#include <cstring>

namespace
{

QString g_option;

DiscoveryTarget checked(const QString &value, const char *source)
{
    DiscoveryTarget target;
    target.source = QLatin1String(source);
    QHostAddress address;
    if (address.setAddress(value.trimmed()) &&
        address.protocol() == QAbstractSocket::IPv4Protocol) {
        target.address = address.toString();
    } else {
        target.error = QStringLiteral("the discovery target \"%1\" (%2) is not an IPv4 address")
                           .arg(value, target.source);
    }
    return target;
}

} // namespace

QString defaultDiscoveryTarget()
{
    return QStringLiteral("255.255.255.255");
}

void setDiscoveryTargetOption(const QString &address)
{
    g_option = address;
}

QString discoveryTargetOption()
{
    return g_option;
}

bool takeDiscoveryTargetOption(int *argc, char **argv)
{
    const char *const name = "--discovery-target";
    const size_t length = std::strlen(name);
    for (int i = 1; i < *argc; ++i) {
        int used = 0;
        if (std::strcmp(argv[i], name) == 0 && i + 1 < *argc) {
            setDiscoveryTargetOption(QString::fromLocal8Bit(argv[i + 1]));
            used = 2;
        } else if (std::strncmp(argv[i], name, length) == 0 && argv[i][length] == '=') {
            setDiscoveryTargetOption(QString::fromLocal8Bit(argv[i] + length + 1));
            used = 1;
        }
        if (used == 0)
            continue;
        for (int k = i; k + used <= *argc; ++k)
            argv[k] = argv[k + used]; // argv[argc] is the terminating null
        *argc -= used;
        return true;
    }
    return false;
}

DiscoveryTarget resolveDiscoveryTarget()
{
    if (!g_option.isEmpty())
        return checked(g_option, "option");
    const QString env = qEnvironmentVariable("RESINOR_DISCOVERY_TARGET");
    if (!env.isEmpty())
        return checked(env, "environment");
    const QString stored = QSettings().value(QStringLiteral("network/discoveryTarget")).toString();
    if (!stored.isEmpty())
        return checked(stored, "settings");
    return checked(defaultDiscoveryTarget(), "default");
}

quint16 discoveryBindPort()
{
    bool ok = false;
    const uint port = qEnvironmentVariable("RESINOR_DISCOVERY_PORT").toUInt(&ok);
    return ok && port <= 0xFFFF ? quint16(port) : PrinterProtocol::kPort;
}
