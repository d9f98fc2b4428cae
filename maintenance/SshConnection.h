#pragma once

#include "maintenance/SshConnectionParameters.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>

#include <atomic>
#include <memory>

class QThread;

namespace QSsh
{

class SftpChannel;
class SshRemoteProcess;
class SshWorker;

// One SSH connection to one host. Lives on the thread that creates it (the GUI thread); the
// network work happens on a private worker thread, so no call here blocks. Connection state
// changes and results arrive as signals.
class SshConnection : public QObject
{
    Q_OBJECT
  public:
    enum State { Unconnected, Connecting, Connected };

    explicit SshConnection(const SshConnectionParameters &parameters, QObject *parent = nullptr);
    ~SshConnection() override;

    // Starts connecting; does nothing while connecting or connected. Ends in connected() or
    // error().
    void connectToHost();
    void disconnectFromHost();

    State state() const { return m_state; }
    SshError errorState() const { return m_error; }
    QString errorString() const { return m_errorString; }
    const SshConnectionParameters &connectionParameters() const { return m_parameters; }

    // After an SshHostKeyError: the key the host presented and the one on file.
    QString presentedHostKey() const { return m_presentedKey; }
    QString knownHostKey() const { return m_knownKey; }
    // Files the key presented at the last attempt as the host's trusted key (the user
    // accepted a changed key). The next connectToHost() then succeeds with it.
    bool acceptPresentedHostKey(QString *error = nullptr);

    // Both are owned by the caller; they stop their remote work when destroyed.
    QSharedPointer<SshRemoteProcess> createRemoteProcess(const QByteArray &command);
    QSharedPointer<SftpChannel> createSftpChannel();

  signals:
    void connected();
    void disconnected();
    void error(QSsh::SshError error);
    void errorOccurred(QSsh::SshError error);

  private:
    friend class SshRemoteProcess;
    friend class SftpChannel;

    quint64 nextId() { return ++m_lastId; }
    SshWorker *worker() const { return m_worker; }

    SshConnectionParameters m_parameters;
    State m_state = Unconnected;
    SshError m_error = SshNoError;
    QString m_errorString;
    QString m_presentedKey;
    QString m_knownKey;
    quint64 m_lastId = 0;
    std::shared_ptr<std::atomic_bool> m_shutdown;
    QThread *m_thread = nullptr;
    SshWorker *m_worker = nullptr;
    QHash<quint64, QPointer<SshRemoteProcess>> m_processes;
    QHash<quint64, QPointer<SftpChannel>> m_channels;
};

// A connection for the parameters, shared with every other holder of equal parameters.
// Each acquire is matched by one release; a released connection that is still up is kept
// for the next acquire.
SshConnection *acquireConnection(const SshConnectionParameters &parameters);
void releaseConnection(SshConnection *connection);
// How many distinct connections are held (for tests and diagnostics).
int sharedConnectionCount();

} // namespace QSsh
