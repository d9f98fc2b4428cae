#include "maintenance/SshWorker.h"

#include "maintenance/HostKeyStore.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <libssh/libssh.h>
#include <libssh/sftp.h>

#include <fcntl.h>

namespace QSsh
{

namespace
{

constexpr int kChunk = 32 * 1024;
constexpr int kPollMs = 20;

QString sftpErrorText(sftp_session sftp, ssh_session session)
{
    switch (sftp_get_error(sftp)) {
    case SSH_FX_NO_SUCH_FILE:
    case SSH_FX_NO_SUCH_PATH:
        return QStringLiteral("No such file or directory");
    case SSH_FX_PERMISSION_DENIED:
        return QStringLiteral("Permission denied");
    case SSH_FX_FILE_ALREADY_EXISTS:
        return QStringLiteral("File already exists");
    case SSH_FX_WRITE_PROTECT:
        return QStringLiteral("Write-protected filesystem");
    case SSH_FX_NO_MEDIA:
        return QStringLiteral("No media");
    case SSH_FX_CONNECTION_LOST:
        return QStringLiteral("Connection lost");
    default:
        break;
    }
    const QString text = QString::fromUtf8(ssh_get_error(session));
    return text.isEmpty() ? QStringLiteral("SFTP failure") : text;
}

QString sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 B").arg(bytes);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg(bytes / 1024.0, 0, 'f', 1);
    return QStringLiteral("%1 MB").arg(bytes / (1024.0 * 1024.0), 0, 'f', 1);
}

// The progress text the jobs parse: "progress|<percent>|<file name>|<size>".
QString progressText(int percent, const QString &name, qint64 total)
{
    return QStringLiteral("progress|%1|%2|%3").arg(percent).arg(name, sizeText(total));
}

int percentOf(qint64 done, qint64 total)
{
    return total <= 0 ? 100 : int(done * 100 / total);
}

} // namespace

SshWorker::SshWorker(std::shared_ptr<std::atomic_bool> shutdown) : m_shutdown(std::move(shutdown))
{
}

SshWorker::~SshWorker()
{
    closeSession();
}

bool SshWorker::isConnected() const
{
    return m_session && ssh_is_connected(m_session);
}

QString SshWorker::sessionError() const
{
    return m_session ? QString::fromUtf8(ssh_get_error(m_session)) : QString();
}

void SshWorker::closeSession()
{
    for (sftp_session sftp : qAsConst(m_sftp))
        sftp_free(sftp);
    m_sftp.clear();
    if (m_session) {
        if (ssh_is_connected(m_session))
            ssh_disconnect(m_session);
        ssh_free(m_session);
        m_session = nullptr;
    }
}

void SshWorker::lostConnection()
{
    closeSession();
    emit disconnected();
}

void SshWorker::connectToHost(const SshConnectionParameters &parameters)
{
    closeSession();
    m_parameters = parameters;
    m_session = ssh_new();
    if (!m_session) {
        emit connectionError(SshInternalError, QStringLiteral("Cannot create an SSH session"), {},
                             {});
        return;
    }
    // Only what the parameters say counts: no ~/.ssh/config, no agent, no default keys.
    bool processConfig = false;
    ssh_options_set(m_session, SSH_OPTIONS_PROCESS_CONFIG, &processConfig);
    const QByteArray host = parameters.host.toUtf8();
    const QByteArray user = parameters.userName.toUtf8();
    unsigned int port = parameters.port;
    long timeout = parameters.timeout > 0 ? parameters.timeout : 30;
    ssh_options_set(m_session, SSH_OPTIONS_HOST, host.constData());
    ssh_options_set(m_session, SSH_OPTIONS_PORT, &port);
    ssh_options_set(m_session, SSH_OPTIONS_USER, user.constData());
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT, &timeout);
    // Each SFTP write waits for its answer: without this a delayed acknowledgement holds up
    // every round trip and uploads crawl.
    int noDelay = 1;
    ssh_options_set(m_session, SSH_OPTIONS_NODELAY, &noDelay);

    // Connect without blocking so that a shutdown does not wait for the network timeout.
    ssh_set_blocking(m_session, 0);
    QDeadlineTimer deadline(timeout * 1000);
    int rc = SSH_AGAIN;
    while ((rc = ssh_connect(m_session)) == SSH_AGAIN) {
        if (m_shutdown->load())
            return closeSession();
        if (deadline.hasExpired()) {
            closeSession();
            emit connectionError(SshTimeoutError,
                                 QStringLiteral("Timeout connecting to %1").arg(parameters.host),
                                 {}, {});
            return;
        }
        QThread::msleep(5);
    }
    ssh_set_blocking(m_session, 1);
    if (rc != SSH_OK) {
        const QString text = sessionError();
        closeSession();
        emit connectionError(SshSocketError, text, {}, {});
        return;
    }

    QString text, presented, known;
    if (!checkHostKey(&text, &presented, &known)) {
        closeSession();
        emit connectionError(SshHostKeyError, text, presented, known);
        return;
    }
    if (!authenticate(&text)) {
        closeSession();
        emit connectionError(SshAuthenticationError, text, {}, {});
        return;
    }
    emit connected();
}

bool SshWorker::checkHostKey(QString *text, QString *presented, QString *known)
{
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(m_session, &key) != SSH_OK) {
        *text = QStringLiteral("The server did not present a host key");
        return false;
    }
    unsigned char *hash = nullptr;
    size_t hashLength = 0;
    const int rc = ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &hashLength);
    ssh_key_free(key);
    if (rc != SSH_OK) {
        *text = QStringLiteral("Cannot read the server's host key");
        return false;
    }
    char *fingerprint = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, hashLength);
    *presented = QString::fromLatin1(fingerprint);
    ssh_string_free_char(fingerprint);
    ssh_clean_pubkey_hash(&hash);

    if (m_parameters.hostKeyCheckingMode == SshConnectionParameters::HostKeyCheckingNone ||
        m_parameters.hostKeyDatabase.isEmpty())
        return true;
    HostKeyStore store(m_parameters.hostKeyDatabase);
    const QString id = m_parameters.hostKeyId();
    *known = store.fingerprint(id);
    if (known->isEmpty()) {
        QString error;
        if (!store.store(id, *presented, &error)) {
            *text = QStringLiteral("Cannot record the host key of %1 in %2: %3")
                        .arg(id, store.path(), error);
            return false;
        }
        return true;
    }
    if (*known == *presented)
        return true;
    *text = QStringLiteral("The host key of %1 has changed: it was %2 and is now %3. "
                           "Someone may be impersonating the printer; connect only after "
                           "accepting the new key.")
                .arg(id, *known, *presented);
    return false;
}

bool SshWorker::authenticate(QString *text)
{
    const QByteArray password = m_parameters.password.toUtf8();
    const auto type = m_parameters.authenticationType;
    const bool tryKey =
        type != SshConnectionParameters::AuthenticationTypeTryAllPasswordBasedMethods;
    const bool tryPassword = type != SshConnectionParameters::AuthenticationTypePublicKey;

    int rc = ssh_userauth_none(m_session, nullptr);
    if (rc == SSH_AUTH_SUCCESS)
        return true;
    if (rc == SSH_AUTH_ERROR) {
        *text = sessionError();
        return false;
    }
    const int methods = ssh_userauth_list(m_session, nullptr);
    if (tryKey && !m_parameters.privateKeyFile.isEmpty() && (methods & SSH_AUTH_METHOD_PUBLICKEY)) {
        ssh_key key = nullptr;
        const QByteArray path = QFile::encodeName(m_parameters.privateKeyFile);
        if (ssh_pki_import_privkey_file(path.constData(), nullptr, nullptr, nullptr, &key) !=
            SSH_OK) {
            if (!tryPassword) {
                *text = QStringLiteral("Cannot read the private key %1")
                            .arg(m_parameters.privateKeyFile);
                return false;
            }
        } else {
            rc = ssh_userauth_publickey(m_session, nullptr, key);
            ssh_key_free(key);
            if (rc == SSH_AUTH_SUCCESS)
                return true;
        }
    }
    if (tryPassword && (methods & SSH_AUTH_METHOD_PASSWORD)) {
        rc = ssh_userauth_password(m_session, nullptr, password.constData());
        if (rc == SSH_AUTH_SUCCESS)
            return true;
    }
    if (tryPassword && (methods & SSH_AUTH_METHOD_INTERACTIVE)) {
        rc = ssh_userauth_kbdint(m_session, nullptr, nullptr);
        while (rc == SSH_AUTH_INFO) {
            const int prompts = ssh_userauth_kbdint_getnprompts(m_session);
            for (int i = 0; i < prompts; ++i)
                ssh_userauth_kbdint_setanswer(m_session, unsigned(i), password.constData());
            rc = ssh_userauth_kbdint(m_session, nullptr, nullptr);
        }
        if (rc == SSH_AUTH_SUCCESS)
            return true;
    }
    *text = QStringLiteral("Authentication of %1 on %2 failed: the user name, password or key "
                           "was not accepted")
                .arg(m_parameters.userName, m_parameters.host);
    return false;
}

void SshWorker::disconnectFromHost()
{
    if (!m_session)
        return;
    closeSession();
    emit disconnected();
}

void SshWorker::runProcess(quint64 id, const QByteArray &command, CancelFlag cancel)
{
    if (!isConnected()) {
        emit processClosed(id, 0, -1, QStringLiteral("Connection is not established"));
        return;
    }
    ssh_channel channel = ssh_channel_new(m_session);
    if (!channel || ssh_channel_open_session(channel) != SSH_OK ||
        ssh_channel_request_exec(channel, command.constData()) != SSH_OK) {
        const QString text = sessionError();
        if (channel)
            ssh_channel_free(channel);
        emit processClosed(id, 0, -1, text);
        if (!ssh_is_connected(m_session))
            lostConnection();
        return;
    }
    // The maintenance commands read nothing; an open input would keep some of them waiting.
    ssh_channel_send_eof(channel);
    emit processStarted(id);

    QByteArray buffer(kChunk, Qt::Uninitialized);
    bool broken = false;
    while (!cancel->load() && !m_shutdown->load()) {
        const int out = ssh_channel_poll_timeout(channel, kPollMs, 0);
        if (out > 0) {
            const int n = ssh_channel_read_nonblocking(channel, buffer.data(), kChunk, 0);
            if (n > 0)
                emit processStdout(id, buffer.left(n));
        }
        const int err = ssh_channel_poll(channel, 1);
        if (err > 0) {
            const int n = ssh_channel_read_nonblocking(channel, buffer.data(), kChunk, 1);
            if (n > 0)
                emit processStderr(id, buffer.left(n));
        }
        if (out == SSH_ERROR || err == SSH_ERROR) {
            broken = true;
            break;
        }
        if (out == SSH_EOF && err <= 0 && ssh_channel_is_eof(channel))
            break;
    }
    if (cancel->load() || m_shutdown->load()) {
        ssh_channel_close(channel);
        ssh_channel_free(channel);
        emit processClosed(id, 1, -1, QStringLiteral("Process killed"));
        return;
    }
    const int exitCode = broken ? -1 : ssh_channel_get_exit_status(channel);
    ssh_channel_close(channel);
    ssh_channel_free(channel);
    if (broken) {
        QString text = sessionError();
        if (text.isEmpty())
            text = QStringLiteral("The connection was closed while the command ran");
        // The connection's state changes first, so that the process's end already sees it.
        if (!ssh_is_connected(m_session))
            lostConnection();
        emit processClosed(id, 1, -1, text);
        return;
    }
    emit processClosed(id, 2, exitCode, QString());
}

void SshWorker::initSftp(quint64 channel)
{
    if (!isConnected()) {
        emit sftpChannelError(channel, QStringLiteral("Connection is not established"));
        return;
    }
    sftp_session sftp = sftp_new(m_session);
    if (!sftp || sftp_init(sftp) != SSH_OK) {
        const QString text = sftp ? sftpErrorText(sftp, m_session) : sessionError();
        if (sftp)
            sftp_free(sftp);
        emit sftpChannelError(channel, QStringLiteral("Cannot start SFTP: %1").arg(text));
        return;
    }
    m_sftp.insert(channel, sftp);
    emit sftpInitialized(channel);
}

void SshWorker::closeSftp(quint64 channel)
{
    if (sftp_session sftp = m_sftp.take(channel))
        sftp_free(sftp);
}

void SshWorker::upload(quint64 channel, quint32 job, const QString &localPath,
                       const QString &remotePath, int overwriteMode, CancelFlag cancel)
{
    sftp_session sftp = m_sftp.value(channel);
    if (!sftp) {
        emit sftpFinished(channel, job, QStringLiteral("The SFTP channel is not initialized"));
        return;
    }
    QFile local(localPath);
    if (!local.open(QIODevice::ReadOnly)) {
        emit sftpFinished(channel, job,
                          QStringLiteral("Cannot open %1: %2").arg(localPath, local.errorString()));
        return;
    }
    int flags = O_WRONLY | O_CREAT | O_TRUNC;
    if (overwriteMode == SftpSkipExisting)
        flags = O_WRONLY | O_CREAT | O_EXCL;
    const QByteArray remote = remotePath.toUtf8();
    sftp_file file = sftp_open(sftp, remote.constData(), flags, 0644);
    if (!file) {
        emit sftpFinished(
            channel, job,
            QStringLiteral("Cannot create %1: %2").arg(remotePath, sftpErrorText(sftp, m_session)));
        return;
    }
    const qint64 total = local.size();
    const QString name = QFileInfo(localPath).fileName();
    qint64 done = 0;
    int lastPercent = -1;
    QString error;
    while (error.isEmpty()) {
        if (cancel->load() || m_shutdown->load()) {
            error = QStringLiteral("The transfer was cancelled");
            break;
        }
        const QByteArray chunk = local.read(kChunk);
        if (chunk.isEmpty()) {
            if (!local.atEnd())
                error = QStringLiteral("Cannot read %1: %2").arg(localPath, local.errorString());
            break;
        }
        const ssize_t written = sftp_write(file, chunk.constData(), size_t(chunk.size()));
        if (written != chunk.size()) {
            error = QStringLiteral("Writing %1 failed: %2")
                        .arg(remotePath, sftpErrorText(sftp, m_session));
            break;
        }
        done += written;
        const int percent = percentOf(done, total);
        if (percent != lastPercent) {
            lastPercent = percent;
            emit sftpDataAvailable(channel, job, progressText(percent, name, total));
        }
    }
    if (sftp_close(file) != SSH_OK && error.isEmpty())
        error =
            QStringLiteral("Closing %1 failed: %2").arg(remotePath, sftpErrorText(sftp, m_session));
    if (error.isEmpty() && lastPercent < 0)
        emit sftpDataAvailable(channel, job, progressText(100, name, total));
    emit sftpFinished(channel, job, error);
    if (!error.isEmpty() && !ssh_is_connected(m_session))
        lostConnection();
}

void SshWorker::download(quint64 channel, quint32 job, const QString &remotePath,
                         const QString &localPath, int overwriteMode, CancelFlag cancel)
{
    sftp_session sftp = m_sftp.value(channel);
    if (!sftp) {
        emit sftpFinished(channel, job, QStringLiteral("The SFTP channel is not initialized"));
        return;
    }
    if (overwriteMode == SftpSkipExisting && QFileInfo::exists(localPath)) {
        emit sftpFinished(channel, job, QStringLiteral("%1 already exists").arg(localPath));
        return;
    }
    const QByteArray remote = remotePath.toUtf8();
    sftp_file file = sftp_open(sftp, remote.constData(), O_RDONLY, 0);
    if (!file) {
        emit sftpFinished(
            channel, job,
            QStringLiteral("Cannot open %1: %2").arg(remotePath, sftpErrorText(sftp, m_session)));
        return;
    }
    qint64 total = -1;
    if (sftp_attributes attributes = sftp_fstat(file)) {
        total = qint64(attributes->size);
        sftp_attributes_free(attributes);
    }
    // Written beside the target and renamed at the end: a broken copy never takes the
    // target's name, and a previous file of that name survives it.
    QSaveFile local(localPath);
    if (!local.open(QIODevice::WriteOnly)) {
        sftp_close(file);
        emit sftpFinished(
            channel, job,
            QStringLiteral("Cannot write %1: %2").arg(localPath, local.errorString()));
        return;
    }
    const QString name = QFileInfo(remotePath).fileName();
    QByteArray buffer(kChunk, Qt::Uninitialized);
    qint64 done = 0;
    int lastPercent = -1;
    QString error;
    for (;;) {
        if (cancel->load() || m_shutdown->load()) {
            error = QStringLiteral("The transfer was cancelled");
            break;
        }
        const ssize_t n = sftp_read(file, buffer.data(), size_t(kChunk));
        if (n < 0) {
            error = QStringLiteral("Reading %1 failed: %2")
                        .arg(remotePath, sftpErrorText(sftp, m_session));
            break;
        }
        if (n == 0)
            break;
        if (local.write(buffer.constData(), n) != n) {
            error = QStringLiteral("Cannot write %1: %2").arg(localPath, local.errorString());
            break;
        }
        done += n;
        const int percent = percentOf(done, total > 0 ? total : done);
        if (percent != lastPercent) {
            lastPercent = percent;
            emit sftpDataAvailable(channel, job, progressText(percent, name, total));
        }
    }
    sftp_close(file);
    if (error.isEmpty() && total >= 0 && done != total)
        error =
            QStringLiteral("%1 ended after %2 of %3 bytes").arg(remotePath).arg(done).arg(total);
    if (error.isEmpty()) {
        if (lastPercent < 0)
            emit sftpDataAvailable(channel, job, progressText(100, name, total));
        if (!local.commit())
            error = QStringLiteral("Cannot write %1: %2").arg(localPath, local.errorString());
    } else {
        local.cancelWriting();
    }
    emit sftpFinished(channel, job, error);
    if (!error.isEmpty() && !ssh_is_connected(m_session))
        lostConnection();
}

} // namespace QSsh
