#include "maintenance/dobject.h"

#include "maintenance/SshConnection.h"

#include <cstdio>

dobject::dobject(QSsh::SshConnection *connection, QObject *parent)
    : QObject(parent), m_connection(connection)
{
}

void dobject::writeOut(const QByteArray &text)
{
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    if (!text.endsWith('\n'))
        std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool dobject::checkConnection() const
{
    if (!m_connection) {
        writeOut("connect object is null");
        return false;
    }
    if (m_connection->state() != QSsh::SshConnection::Connected) {
        writeOut("Connection is not established");
        return false;
    }
    return true;
}
