#include "maintenance/SshConnection.h"

#include "maintenance/HostKeyStore.h"
#include "maintenance/SftpChannel.h"
#include "maintenance/SshRemoteProcess.h"
#include "maintenance/SshWorker.h"

#include <QCoreApplication>
#include <QThread>

#include <libssh/libssh.h>

namespace QSsh
{

namespace
{

void registerTypes()
{
    static const bool done = [] {
        ssh_init();
        qRegisterMetaType<QSsh::SshError>("QSsh::SshError");
        qRegisterMetaType<QSsh::SftpJobId>("QSsh::SftpJobId");
        qRegisterMetaType<QSsh::SshConnectionParameters>("QSsh::SshConnectionParameters");
        qRegisterMetaType<QSsh::SshWorker::CancelFlag>("QSsh::SshWorker::CancelFlag");
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace

SshConnection::SshConnection(const SshConnectionParameters &parameters, QObject *parent)
    : QObject(parent), m_parameters(parameters),
      m_shutdown(std::make_shared<std::atomic_bool>(false))
{
    registerTypes();
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("ssh %1").arg(parameters.host));
    m_worker = new SshWorker(m_shutdown);
    m_worker->moveToThread(m_thread);
    m_thread->start();

    connect(m_worker, &SshWorker::connected, this, [this] {
        m_state = Connected;
        m_error = SshNoError;
        m_errorString.clear();
        emit connected();
    });
    connect(m_worker, &SshWorker::connectionError, this,
            [this](int error, const QString &text, const QString &presented, const QString &known) {
                m_state = Unconnected;
                m_error = SshError(error);
                m_errorString = text;
                m_presentedKey = presented;
                m_knownKey = known;
                emit this->error(m_error);
                emit errorOccurred(m_error);
            });
    connect(m_worker, &SshWorker::disconnected, this, [this] {
        const bool wasUp = m_state != Unconnected;
        m_state = Unconnected;
        if (wasUp)
            emit disconnected();
    });
    connect(m_worker, &SshWorker::processStarted, this, [this](quint64 id) {
        if (SshRemoteProcess *p = m_processes.value(id))
            p->handleStarted();
    });
    connect(m_worker, &SshWorker::processStdout, this, [this](quint64 id, const QByteArray &d) {
        if (SshRemoteProcess *p = m_processes.value(id))
            p->handleStdout(d);
    });
    connect(m_worker, &SshWorker::processStderr, this, [this](quint64 id, const QByteArray &d) {
        if (SshRemoteProcess *p = m_processes.value(id))
            p->handleStderr(d);
    });
    connect(m_worker, &SshWorker::processClosed, this,
            [this](quint64 id, int status, int code, const QString &error) {
                if (SshRemoteProcess *p = m_processes.take(id))
                    p->handleClosed(status, code, error);
            });
    connect(m_worker, &SshWorker::sftpInitialized, this, [this](quint64 id) {
        if (SftpChannel *c = m_channels.value(id))
            c->handleInitialized();
    });
    connect(m_worker, &SshWorker::sftpChannelError, this, [this](quint64 id, const QString &e) {
        if (SftpChannel *c = m_channels.value(id))
            c->handleChannelError(e);
    });
    connect(m_worker, &SshWorker::sftpDataAvailable, this,
            [this](quint64 id, quint32 job, const QString &data) {
                if (SftpChannel *c = m_channels.value(id))
                    emit c->dataAvailable(job, data);
            });
    connect(m_worker, &SshWorker::sftpFinished, this,
            [this](quint64 id, quint32 job, const QString &error) {
                if (SftpChannel *c = m_channels.value(id))
                    emit c->finished(job, error);
            });
}

SshConnection::~SshConnection()
{
    // Running commands and copies see the flag between chunks and end at once.
    m_shutdown->store(true);
    m_thread->quit();
    m_thread->wait();
    // The thread has ended, so the worker (and its libssh session) can go from here.
    delete m_worker;
    delete m_thread;
}

void SshConnection::connectToHost()
{
    if (m_state != Unconnected)
        return;
    m_state = Connecting;
    m_error = SshNoError;
    m_errorString.clear();
    const SshConnectionParameters parameters = m_parameters;
    SshWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker, parameters] { worker->connectToHost(parameters); }, Qt::QueuedConnection);
}

void SshConnection::disconnectFromHost()
{
    SshWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker] { worker->disconnectFromHost(); }, Qt::QueuedConnection);
}

bool SshConnection::acceptPresentedHostKey(QString *error)
{
    if (m_presentedKey.isEmpty() || m_parameters.hostKeyDatabase.isEmpty()) {
        if (error)
            *error = QStringLiteral("No host key is waiting to be accepted");
        return false;
    }
    HostKeyStore store(m_parameters.hostKeyDatabase);
    if (!store.store(m_parameters.hostKeyId(), m_presentedKey, error))
        return false;
    m_knownKey = m_presentedKey;
    return true;
}

QSharedPointer<SshRemoteProcess> SshConnection::createRemoteProcess(const QByteArray &command)
{
    const quint64 id = nextId();
    QSharedPointer<SshRemoteProcess> process(new SshRemoteProcess(this, id, command));
    m_processes.insert(id, process.data());
    return process;
}

QSharedPointer<SftpChannel> SshConnection::createSftpChannel()
{
    const quint64 id = nextId();
    QSharedPointer<SftpChannel> channel(new SftpChannel(this, id));
    m_channels.insert(id, channel.data());
    return channel;
}

// ---- shared connections ----

namespace
{

struct Held {
    SshConnection *connection;
    int references;
};

QList<Held> &heldConnections()
{
    static QList<Held> held;
    return held;
}

void deleteAllConnections()
{
    QList<Held> held = heldConnections();
    heldConnections().clear();
    for (const Held &h : held)
        delete h.connection;
}

} // namespace

SshConnection *acquireConnection(const SshConnectionParameters &parameters)
{
    static const bool cleanup = [] {
        qAddPostRoutine(deleteAllConnections);
        return true;
    }();
    Q_UNUSED(cleanup);
    for (Held &h : heldConnections()) {
        if (h.connection->connectionParameters() == parameters) {
            ++h.references;
            return h.connection;
        }
    }
    auto *connection = new SshConnection(parameters);
    heldConnections().append({connection, 1});
    return connection;
}

void releaseConnection(SshConnection *connection)
{
    QList<Held> &held = heldConnections();
    for (int i = 0; i < held.size(); ++i) {
        if (held[i].connection != connection)
            continue;
        if (--held[i].references > 0)
            return;
        // A connection that is still up waits for the next acquire; a dead one goes.
        if (connection->state() != SshConnection::Connected) {
            held.removeAt(i);
            connection->deleteLater();
        } else {
            held[i].references = 0;
        }
        return;
    }
}

int sharedConnectionCount()
{
    return heldConnections().size();
}

} // namespace QSsh
