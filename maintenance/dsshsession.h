#pragma once

#include "maintenance/SshConnectionParameters.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

namespace QSsh
{
class SshConnection;
}

// The process-wide SSH session: opens (or reuses) the connection to a printer's controller.
// connect() blocks its caller in a nested event loop for at most the connect timer (5 s);
// other GUI events keep being served meanwhile. GUI thread only.
class dsshsession : public QObject
{
    Q_OBJECT
  public:
    // Created on first use, never destroyed.
    static dsshsession *instance();

    // The connection to host as user, or nullptr when it is not up within the connect timer
    // (lastError() then says why, unless the timer ran out).
    QSsh::SshConnection *connect(const QString &host, const QString &user, const QString &password);

    QString lastError() const { return m_lastError; }
    // Whether the last connect() gave up because the connect timer ran out.
    bool lastConnectTimedOut() const { return m_timedOut; }
    // The connection of the last connect() (also when it failed, e.g. to accept a new host key).
    QSsh::SshConnection *lastConnection() const;

    // The rest of the parameters used by connect(): port, key file, host key file, ...
    QSsh::SshConnectionParameters &parameters() { return m_parameters; }
    void setConnectTimeout(int msecs) { m_connectTimeoutMs = msecs; }
    int connectTimeout() const { return m_connectTimeoutMs; }

  signals:
    void sClose();

  public slots:
    void onConnected();
    void onError(QSsh::SshError error);
    void onDisconnection();
    void timerOut();

  private:
    dsshsession();

    QSsh::SshConnectionParameters m_parameters;
    QTimer m_timer;
    int m_connectTimeoutMs = 5000;
    QString m_lastError;
    bool m_timedOut = false;
    QPointer<QSsh::SshConnection> m_connection;
};
