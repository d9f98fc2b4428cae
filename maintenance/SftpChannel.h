#pragma once

#include "maintenance/SshConnectionParameters.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <memory>

namespace QSsh
{

class SshConnection;

// An SFTP session on a connection (created by SshConnection::createSftpChannel). initialize()
// first; after initialized() files can be copied. Each copy reports dataAvailable() texts
// "progress|<percent>|<file name>|<size>" and ends with finished(job, error) where an empty
// error means the copy is complete. A download is written beside its target and renamed at
// the end, so a failed copy leaves no partial file under the target's name.
class SftpChannel : public QObject
{
    Q_OBJECT
  public:
    enum State { Inactive, Initializing, Initialized, Closed };

    ~SftpChannel() override;

    void initialize();
    void closeChannel();
    State state() const { return m_state; }

    // Return the job id, or SftpInvalidJob when the channel is not initialized.
    SftpJobId uploadFile(const QString &localFilePath, const QString &remoteFilePath,
                         SftpOverwriteMode mode);
    SftpJobId downloadFile(const QString &remoteFilePath, const QString &localFilePath,
                           SftpOverwriteMode mode);

  signals:
    void initialized();
    void channelError(const QString &reason);
    void closed();
    void finished(QSsh::SftpJobId job, const QString &error);
    void dataAvailable(QSsh::SftpJobId job, const QString &data);

  private:
    friend class SshConnection;
    SftpChannel(SshConnection *connection, quint64 id);

    void handleInitialized();
    void handleChannelError(const QString &reason);

    QPointer<SshConnection> m_connection;
    quint64 m_id;
    State m_state = Inactive;
    SftpJobId m_lastJob = SftpInvalidJob;
    std::shared_ptr<std::atomic_bool> m_cancel;
};

} // namespace QSsh
