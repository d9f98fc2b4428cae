#include "maintenance/SftpChannel.h"

#include "maintenance/SshConnection.h"
#include "maintenance/SshWorker.h"

namespace QSsh
{

SftpChannel::SftpChannel(SshConnection *connection, quint64 id)
    : m_connection(connection), m_id(id), m_cancel(std::make_shared<std::atomic_bool>(false))
{
}

SftpChannel::~SftpChannel()
{
    m_cancel->store(true);
    if (m_connection) {
        m_connection->m_channels.remove(m_id);
        if (m_state == Initialized || m_state == Initializing) {
            SshWorker *worker = m_connection->worker();
            const quint64 id = m_id;
            QMetaObject::invokeMethod(
                worker, [worker, id] { worker->closeSftp(id); }, Qt::QueuedConnection);
        }
    }
}

void SftpChannel::initialize()
{
    if (m_state != Inactive)
        return;
    if (!m_connection) {
        handleChannelError(QStringLiteral("Connection is not established"));
        return;
    }
    m_state = Initializing;
    SshWorker *worker = m_connection->worker();
    const quint64 id = m_id;
    QMetaObject::invokeMethod(
        worker, [worker, id] { worker->initSftp(id); }, Qt::QueuedConnection);
}

void SftpChannel::closeChannel()
{
    if (m_state == Closed)
        return;
    m_cancel->store(true);
    if (m_connection && (m_state == Initialized || m_state == Initializing)) {
        SshWorker *worker = m_connection->worker();
        const quint64 id = m_id;
        QMetaObject::invokeMethod(
            worker, [worker, id] { worker->closeSftp(id); }, Qt::QueuedConnection);
    }
    m_state = Closed;
    emit closed();
}

SftpJobId SftpChannel::uploadFile(const QString &localFilePath, const QString &remoteFilePath,
                                  SftpOverwriteMode mode)
{
    if (m_state != Initialized || !m_connection)
        return SftpInvalidJob;
    const SftpJobId job = ++m_lastJob;
    SshWorker *worker = m_connection->worker();
    const quint64 id = m_id;
    const auto cancel = m_cancel;
    QMetaObject::invokeMethod(
        worker, [=] { worker->upload(id, job, localFilePath, remoteFilePath, int(mode), cancel); },
        Qt::QueuedConnection);
    return job;
}

SftpJobId SftpChannel::downloadFile(const QString &remoteFilePath, const QString &localFilePath,
                                    SftpOverwriteMode mode)
{
    if (m_state != Initialized || !m_connection)
        return SftpInvalidJob;
    const SftpJobId job = ++m_lastJob;
    SshWorker *worker = m_connection->worker();
    const quint64 id = m_id;
    const auto cancel = m_cancel;
    QMetaObject::invokeMethod(
        worker,
        [=] { worker->download(id, job, remoteFilePath, localFilePath, int(mode), cancel); },
        Qt::QueuedConnection);
    return job;
}

void SftpChannel::handleInitialized()
{
    m_state = Initialized;
    emit initialized();
}

void SftpChannel::handleChannelError(const QString &reason)
{
    m_state = Closed;
    emit channelError(reason);
}

} // namespace QSsh
