#include "maintenance/SshConnectionParameters.h"

namespace QSsh
{

QString SshConnectionParameters::hostKeyId() const
{
    if (port == 22)
        return host;
    return QStringLiteral("[%1]:%2").arg(host).arg(port);
}

bool operator==(const SshConnectionParameters &a, const SshConnectionParameters &b)
{
    return a.host == b.host && a.userName == b.userName && a.password == b.password &&
           a.privateKeyFile == b.privateKeyFile && a.port == b.port && a.timeout == b.timeout &&
           a.authenticationType == b.authenticationType &&
           a.hostKeyCheckingMode == b.hostKeyCheckingMode && a.hostKeyDatabase == b.hostKeyDatabase;
}

} // namespace QSsh
