#include "maintenance/dtransfer.h"

#include "maintenance/SftpChannel.h"
#include "maintenance/SshConnection.h"

#include <QEventLoop>

bool dtransfer::run()
{
    m_done = false;
    m_channel = m_connection->createSftpChannel();
    QSsh::SftpChannel *channel = m_channel.data();
    connect(channel, &QSsh::SftpChannel::channelError, this, &dtransfer::onChannelError);
    connect(channel, &QSsh::SftpChannel::finished, this, &dtransfer::onFinished);
    connect(channel, &QSsh::SftpChannel::dataAvailable, this, &dtransfer::onDataAvailable);
    connect(channel, &QSsh::SftpChannel::initialized, this, &dtransfer::onInitialized);
    // A connection that dies midway ends the copy as a failure instead of waiting forever.
    const QMetaObject::Connection down =
        connect(m_connection, &QSsh::SshConnection::disconnected, this, [this] {
            if (!m_done)
                onChannelError(QStringLiteral("The connection was closed during the copy"));
        });
    const QMetaObject::Connection gone = connect(m_connection, &QObject::destroyed, this, [this] {
        if (!m_done)
            onChannelError(QStringLiteral("The connection was closed during the copy"));
    });

    QEventLoop loop;
    connect(this, &dtransfer::sFinished, &loop, &QEventLoop::quit);
    channel->initialize();
    if (!m_done)
        loop.exec();
    disconnect(down);
    disconnect(gone);
    disconnect(channel, nullptr, this, nullptr);
    m_jobs.clear();
    m_channel.reset();

    if (m_error.isEmpty())
        return true;
    writeOut(m_error.toLocal8Bit());
    return false;
}

void dtransfer::onInitialized()
{
    auto *channel = qobject_cast<QSsh::SftpChannel *>(sender());
    if (!channel)
        channel = m_channel.data();
    const QSsh::SftpJobId job = startJob(channel);
    if (job == QSsh::SftpInvalidJob) {
        onChannelError(QStringLiteral("The copy could not be started"));
        return;
    }
    m_jobs.insert(job, m_remotePath);
    emit sBegin();
}

void dtransfer::onChannelError(QString err)
{
    m_error = err;
    m_done = true;
    emit sFinished();
}

void dtransfer::onFinished(QSsh::SftpJobId job, QString error)
{
    if (m_jobs.contains(job))
        m_jobs.remove(job);
    if (!error.isEmpty())
        m_error = error;
    m_done = true;
    emit sFinished();
}

void dtransfer::onDataAvailable(QSsh::SftpJobId job, QString data)
{
    if (!m_jobs.contains(job) || !data.contains(QLatin1String("progress")))
        return;
    const QStringList fields = data.split(QLatin1Char('|'));
    if (fields.size() < 4)
        return;
    const int percent = fields.at(1).toInt();
    emit sProgress(QStringLiteral("%1 %2").arg(fields.at(2), fields.at(3)), percent);
}
