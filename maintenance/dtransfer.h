#pragma once

#include "maintenance/SshConnectionParameters.h"
#include "maintenance/dobject.h"

#include <QMap>
#include <QSharedPointer>

namespace QSsh
{
class SftpChannel;
}

// What an upload and a download share: one SFTP copy at a time, run to its end in a nested
// event loop, with progress relayed as sProgress("<file> <size>", percent).
class dtransfer : public dobject
{
    Q_OBJECT
  public:
    using dobject::dobject;

  signals:
    void sBegin();
    void sFinished();
    void sProgress(QString message, int persent);

  public slots:
    void onInitialized();
    void onChannelError(QString err);
    void onFinished(QSsh::SftpJobId job, QString error);
    void onDataAvailable(QSsh::SftpJobId job, QString data);

  protected:
    // Copies between the two paths; the caller has stored them already.
    bool run();
    // Starts the copy on the initialized channel and returns its job id.
    virtual QSsh::SftpJobId startJob(QSsh::SftpChannel *channel) = 0;

    QString m_localPath;
    QString m_remotePath;
    QMap<QSsh::SftpJobId, QString> m_jobs;

  private:
    QSharedPointer<QSsh::SftpChannel> m_channel;
    bool m_done = false;
};
