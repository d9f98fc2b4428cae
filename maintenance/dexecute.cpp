#include "maintenance/dexecute.h"

#include "maintenance/SshConnection.h"
#include "maintenance/SshRemoteProcess.h"

#include <QEventLoop>

bool dexecute::execute(const QString &command)
{
    if (!checkConnection())
        return false;
    m_error.clear();
    m_output.clear();
    m_done = false;
    m_lost = false;

    m_process = m_connection->createRemoteProcess(command.toUtf8());
    QSsh::SshRemoteProcess *process = m_process.data();
    connect(process, &QSsh::SshRemoteProcess::started, this, &dexecute::onStarted);
    connect(process, &QSsh::SshRemoteProcess::closed, this, &dexecute::onClosed);
    connect(process, &QSsh::SshRemoteProcess::readyReadStandardError, this, &dexecute::onError);
    connect(process, &QSsh::SshRemoteProcess::readyReadStandardOutput, this, &dexecute::onOutput);
    // A connection that goes away ends the wait too (its process reports closed first).
    const QMetaObject::Connection gone = connect(m_connection, &QObject::destroyed, this, [this] {
        if (m_error.isEmpty())
            m_error = QStringLiteral("Connection closed");
        m_done = true;
        emit sFinished();
    });

    QEventLoop loop;
    connect(this, &dexecute::sFinished, &loop, &QEventLoop::quit);
    process->start();
    if (!m_done)
        loop.exec();
    disconnect(process, nullptr, this, nullptr);
    disconnect(gone);
    return m_error.isEmpty();
}

void dexecute::onStarted()
{
    emit sBegin();
    writeOut("cmd start");
}

void dexecute::onClosed()
{
    // Output still buffered when the command ends belongs to it as well.
    onOutput();
    if (m_process) {
        const QByteArray rest = m_process->readAllStandardError();
        if (!rest.isEmpty())
            m_error += QString::fromUtf8(rest);
        // A command that fails without a word on its error output still fails its step; a
        // host that sends no exit status at all (a reboot) is given the benefit of the doubt.
        m_lost = m_process->exitStatus() == QSsh::SshRemoteProcess::CrashExit && m_connection &&
                 m_connection->state() != QSsh::SshConnection::Connected;
        if (m_error.isEmpty()) {
            if (m_process->exitStatus() != QSsh::SshRemoteProcess::NormalExit)
                m_error = m_process->errorString().isEmpty()
                              ? QStringLiteral("The remote command did not run")
                              : m_process->errorString();
            else if (m_process->exitCode() > 0)
                m_error = QStringLiteral("The remote command exited with status %1")
                              .arg(m_process->exitCode());
        }
    }
    m_done = true;
    emit sFinished();
    writeOut("cmd end");
}

void dexecute::onOutput()
{
    if (!m_process)
        return;
    const QByteArray out = m_process->readAllStandardOutput();
    if (out.isEmpty())
        return;
    m_output += out;
    writeOut(out);
}

void dexecute::onError()
{
    if (!m_process || m_done || m_inError)
        return;
    m_inError = true;
    m_error += QString::fromUtf8(m_process->readAllStandardError());
    // Error output often comes in pieces; give the rest a moment to arrive.
    m_process->waitForReadyRead(20);
    m_inError = false;
    if (m_done)
        return; // the command ended meanwhile and took the rest of its error output
    m_error += QString::fromUtf8(m_process->readAllStandardError());
    writeOut(m_error.toUtf8());
    m_done = true;
    emit sFinished();
}
