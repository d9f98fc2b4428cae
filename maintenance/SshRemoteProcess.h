#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>

#include <atomic>
#include <memory>

namespace QSsh
{

class SshConnection;

// One command run on the remote host (created by SshConnection::createRemoteProcess).
// Output arrives through readyRead signals; closed() reports the end.
class SshRemoteProcess : public QObject
{
    Q_OBJECT
  public:
    enum ExitStatus { FailedToStart, CrashExit, NormalExit };

    ~SshRemoteProcess() override;

    void start();
    bool isRunning() const { return m_running; }
    const QByteArray &command() const { return m_command; }

    QByteArray readAllStandardOutput();
    QByteArray readAllStandardError();

    // Runs a nested event loop until new output arrives, the process ends or msecs pass.
    // Returns whether new output arrived.
    bool waitForReadyRead(int msecs);

    // Valid after closed(): the remote exit code, -1 when the host sent none.
    int exitCode() const { return m_exitCode; }
    ExitStatus exitStatus() const { return m_exitStatus; }
    // Why the process failed to start or was cut off; empty after a normal exit.
    QString errorString() const { return m_errorString; }

    // Stops waiting for the remote command; closed() follows.
    void kill();

  signals:
    void started();
    void readyReadStandardOutput();
    void readyReadStandardError();
    void closed(int exitStatus);

  private:
    friend class SshConnection;
    SshRemoteProcess(SshConnection *connection, quint64 id, QByteArray command);

    void handleStarted();
    void handleStdout(const QByteArray &data);
    void handleStderr(const QByteArray &data);
    void handleClosed(int exitStatus, int exitCode, const QString &error);

    QPointer<SshConnection> m_connection;
    quint64 m_id;
    QByteArray m_command;
    QByteArray m_stdout;
    QByteArray m_stderr;
    bool m_running = false;
    bool m_started = false;
    bool m_finished = false;
    int m_exitCode = -1;
    ExitStatus m_exitStatus = FailedToStart;
    QString m_errorString;
    std::shared_ptr<std::atomic_bool> m_cancel;
};

} // namespace QSsh
