#include "maintenance/dupload.h"

#include "maintenance/SftpChannel.h"

bool dupload::upload(const QString &localPath, const QString &remotePath)
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

QSsh::SftpJobId dupload::startJob(QSsh::SftpChannel *channel)
{
    return channel->uploadFile(m_localPath, m_remotePath, QSsh::SftpOverwriteExisting);
}
