#include "maintenance/dsshsession.h"

#include "maintenance/SshConnection.h"
#include "maintenance/dobject.h"

#include <QEventLoop>
#include <QLoggingCategory>

dsshsession *dsshsession::instance()
{
    static dsshsession *session = new dsshsession;
    return session;
}

dsshsession::dsshsession()
{
    QLoggingCategory::setFilterRules(QStringLiteral("qtc.ssh.debug=false"));
    m_parameters.userName = QStringLiteral("pi");
    m_parameters.port = 22;
    m_parameters.timeout = 30;
    m_parameters.authenticationType =
        QSsh::SshConnectionParameters::AuthenticationTypeTryAllPasswordBasedMethods;
    m_timer.setSingleShot(true);
}

QSsh::SshConnection *dsshsession::connect(const QString &host, const QString &user,
                                          const QString &password)
{
    m_parameters.host = host;
    m_parameters.userName = user;
    m_parameters.password = password;
    m_timedOut = false;
    QObject::connect(&m_timer, &QTimer::timeout, this, &dsshsession::timerOut,
                     Qt::UniqueConnection);

    QSsh::SshConnection *connection = QSsh::acquireConnection(m_parameters);
    m_connection = connection;
    QObject::connect(connection, &QSsh::SshConnection::connected, this, &dsshsession::onConnected,
                     Qt::UniqueConnection);
    QObject::connect(connection, &QSsh::SshConnection::error, this, &dsshsession::onError,
                     Qt::UniqueConnection);
    QObject::connect(connection, &QSsh::SshConnection::disconnected, this,
                     &dsshsession::onDisconnection, Qt::UniqueConnection);
    if (connection->state() == QSsh::SshConnection::Connected)
        return connection;

    QEventLoop loop;
    QObject::connect(this, &dsshsession::sClose, &loop, &QEventLoop::quit);
    connection->connectToHost();
    m_timer.start(m_connectTimeoutMs);
    loop.exec();

    if (m_connection && m_connection->state() == QSsh::SshConnection::Connected)
        return m_connection;
    return nullptr;
}

QSsh::SshConnection *dsshsession::lastConnection() const
{
    return m_connection;
}

void dsshsession::onConnected()
{
    // A connection given up on earlier (timer ran out) may still report in; only the one
    // being waited for ends the wait.
    if (sender() && sender() != m_connection)
        return;
    emit sClose();
    if (m_timer.isActive())
        m_timer.stop();
}

void dsshsession::onError(QSsh::SshError)
{
    if (sender() && sender() != m_connection)
        return;
    if (auto *connection = qobject_cast<QSsh::SshConnection *>(sender()))
        m_lastError = connection->errorString();
    dobject::writeOut(m_lastError.toUtf8());
    emit sClose();
    m_timer.stop();
}

void dsshsession::onDisconnection()
{
    if (auto *connection = qobject_cast<QSsh::SshConnection *>(sender()))
        QSsh::releaseConnection(connection);
}

void dsshsession::timerOut()
{
    m_timedOut = true;
    dobject::writeOut("ssh connect time out");
    emit sClose();
}
