#include "maintenance/ddownload.h"

#include "maintenance/SftpChannel.h"

bool ddownload::download(const QString &localPath, const QString &remotePath)
{
    if (!checkConnection())
        return false;
    if (!m_jobs.isEmpty()) {
        writeOut("there are some jobs is doing");
        return false;
    }
    m_error.clear();
    m_localPath = localPath;
    m_remotePath = remotePath;
    return run();
}

QSsh::SftpJobId ddownload::startJob(QSsh::SftpChannel *channel)
{
    return channel->downloadFile(m_remotePath, m_localPath, QSsh::SftpOverwriteExisting);
}
