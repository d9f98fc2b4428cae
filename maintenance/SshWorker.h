#pragma once

#include "maintenance/SshConnectionParameters.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

struct ssh_session_struct;
struct sftp_session_struct;

namespace QSsh
{

// Runs libssh's blocking calls for one connection on its own thread. It is driven only by
// queued calls from SshConnection and answers only by signals, so the thread that owns the
// connection (the GUI thread) never waits on the network. One request runs at a time; a
// long copy or command checks its cancel flag between chunks.
class SshWorker : public QObject
{
    Q_OBJECT
  public:
    using CancelFlag = std::shared_ptr<std::atomic_bool>;

    explicit SshWorker(std::shared_ptr<std::atomic_bool> shutdown);
    ~SshWorker() override;

  public slots:
    void connectToHost(const QSsh::SshConnectionParameters &parameters);
    void disconnectFromHost();
    void runProcess(quint64 id, const QByteArray &command, QSsh::SshWorker::CancelFlag cancel);
    void initSftp(quint64 channel);
    void closeSftp(quint64 channel);
    void upload(quint64 channel, quint32 job, const QString &localPath, const QString &remotePath,
                int overwriteMode, QSsh::SshWorker::CancelFlag cancel);
    void download(quint64 channel, quint32 job, const QString &remotePath, const QString &localPath,
                  int overwriteMode, QSsh::SshWorker::CancelFlag cancel);

  signals:
    void connected();
    // presented/known: host key fingerprints when the error is SshHostKeyError.
    void connectionError(int error, const QString &text, const QString &presentedKey,
                         const QString &knownKey);
    void disconnected();

    void processStarted(quint64 id);
    void processStdout(quint64 id, const QByteArray &data);
    void processStderr(quint64 id, const QByteArray &data);
    // exitCode -1 when the server sent no exit status; errorText set when it failed to start
    // or the connection broke.
    void processClosed(quint64 id, int exitStatus, int exitCode, const QString &errorText);

    void sftpInitialized(quint64 channel);
    void sftpChannelError(quint64 channel, const QString &text);
    void sftpDataAvailable(quint64 channel, quint32 job, const QString &data);
    void sftpFinished(quint64 channel, quint32 job, const QString &error);

  private:
    bool isConnected() const;
    QString sessionError() const;
    bool checkHostKey(QString *text, QString *presented, QString *known);
    bool authenticate(QString *text);
    void closeSession();
    void lostConnection();

    std::shared_ptr<std::atomic_bool> m_shutdown;
    SshConnectionParameters m_parameters;
    ssh_session_struct *m_session = nullptr;
    QHash<quint64, sftp_session_struct *> m_sftp;
};

} // namespace QSsh

Q_DECLARE_METATYPE(QSsh::SshWorker::CancelFlag)
