#include "maintenance/SshLoginSettings.h"

#include "app/AppDataDir.h"
#include "maintenance/dsshsession.h"

#include <QSettings>

SshLoginSettings SshLoginSettings::load()
{
    SshLoginSettings login;
    QSettings settings;
    login.user = settings.value(QStringLiteral("ssh/user"), login.user).toString();
    login.password = settings.value(QStringLiteral("ssh/password"), login.password).toString();
    const int port = settings.value(QStringLiteral("ssh/port"), login.port).toInt();
    if (port > 0 && port < 65536)
        login.port = quint16(port);
    login.identityFile = settings.value(QStringLiteral("ssh/identityFile")).toString();
    login.hostKeyFile =
        settings.value(QStringLiteral("ssh/hostKeyFile"), defaultHostKeyFile()).toString();
    return login;
}

QString SshLoginSettings::defaultHostKeyFile()
{
    return appDataDir() + QStringLiteral("/Resinor/ssh_known_hosts");
}

void SshLoginSettings::applyTo(dsshsession *session) const
{
    QSsh::SshConnectionParameters &p = session->parameters();
    p.port = port;
    p.privateKeyFile = identityFile;
    p.authenticationType =
        identityFile.isEmpty()
            ? QSsh::SshConnectionParameters::AuthenticationTypeTryAllPasswordBasedMethods
            : QSsh::SshConnectionParameters::AuthenticationTypeAll;
    p.hostKeyCheckingMode = QSsh::SshConnectionParameters::HostKeyCheckingTrustOnFirstUse;
    p.hostKeyDatabase = hostKeyFile.isEmpty() ? defaultHostKeyFile() : hostKeyFile;
}
