#include "maintenance/SshRemoteProcess.h"

#include "maintenance/SshConnection.h"
#include "maintenance/SshWorker.h"

#include <QEventLoop>
#include <QTimer>

namespace QSsh
{

SshRemoteProcess::SshRemoteProcess(SshConnection *connection, quint64 id, QByteArray command)
    : m_connection(connection), m_id(id), m_command(std::move(command)),
      m_cancel(std::make_shared<std::atomic_bool>(false))
{
}

SshRemoteProcess::~SshRemoteProcess()
{
    m_cancel->store(true);
    if (m_connection)
        m_connection->m_processes.remove(m_id);
}

void SshRemoteProcess::start()
{
    if (m_started)
        return;
    m_started = true;
    if (!m_connection) {
        handleClosed(FailedToStart, -1, QStringLiteral("Connection is not established"));
        return;
    }
    SshWorker *worker = m_connection->worker();
    const quint64 id = m_id;
    const QByteArray command = m_command;
    const auto cancel = m_cancel;
    QMetaObject::invokeMethod(
        worker, [worker, id, command, cancel] { worker->runProcess(id, command, cancel); },
        Qt::QueuedConnection);
}

QByteArray SshRemoteProcess::readAllStandardOutput()
{
    QByteArray data;
    data.swap(m_stdout);
    return data;
}

QByteArray SshRemoteProcess::readAllStandardError()
{
    QByteArray data;
    data.swap(m_stderr);
    return data;
}

bool SshRemoteProcess::waitForReadyRead(int msecs)
{
    if (m_finished)
        return false;
    bool arrived = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    auto onData = [&] {
        arrived = true;
        loop.quit();
    };
    connect(this, &SshRemoteProcess::readyReadStandardOutput, &loop, onData);
    connect(this, &SshRemoteProcess::readyReadStandardError, &loop, onData);
    connect(this, &SshRemoteProcess::closed, &loop, &QEventLoop::quit);
    timer.start(msecs);
    loop.exec();
    return arrived;
}

void SshRemoteProcess::kill()
{
    m_cancel->store(true);
}

void SshRemoteProcess::handleStarted()
{
    m_running = true;
    emit started();
}

void SshRemoteProcess::handleStdout(const QByteArray &data)
{
    m_stdout += data;
    emit readyReadStandardOutput();
}

void SshRemoteProcess::handleStderr(const QByteArray &data)
{
    m_stderr += data;
    emit readyReadStandardError();
}

void SshRemoteProcess::handleClosed(int exitStatus, int exitCode, const QString &error)
{
    m_running = false;
    m_finished = true;
    m_exitStatus = ExitStatus(exitStatus);
    m_exitCode = exitCode;
    m_errorString = error;
    emit closed(exitStatus);
}

} // namespace QSsh
