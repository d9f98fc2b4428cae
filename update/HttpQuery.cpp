#include "update/HttpQuery.h"

#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

QString HttpQuery::fileNameFor(const QUrl &url)
{
    const QString name = QFileInfo(url.path()).fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("index.html");
    return name;
}

HttpQuery::HttpQuery(const QString &settingsKey, QObject *parent)
    : QObject(parent), m_settingsKey(settingsKey)
{
}

HttpQuery::~HttpQuery()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    if (m_file) {
        m_file->close();
        m_file->remove();
    }
}

bool HttpQuery::isDownloading() const
{
    return m_reply && m_reply->isRunning() && m_file;
}

QString HttpQuery::downloadFolder() const
{
    if (!m_folder.isEmpty())
        return m_folder;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

void HttpQuery::useProxyFor(const QUrl &url)
{
    // The service on this machine (a local stand-in) must never go through a proxy.
    const QString host = url.host();
    const bool local = host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
    m_manager.setProxy(local ? QNetworkProxy(QNetworkProxy::NoProxy)
                             : QNetworkProxy(QNetworkProxy::DefaultProxy));
}

QString HttpQuery::query(const QString &act, const QString &url)
{
    const QByteArray body = "act=" + act.toUtf8();
    const QUrl target(url);
    useProxyFor(target);
    QNetworkRequest request(target);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    QNetworkReply *reply = m_manager.post(request, body);

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(m_timeoutMs);
    if (reply->isRunning())
        loop.exec();

    QString result;
    if (reply->isRunning()) {
        reply->abort();
        result = QStringLiteral("timeout");
    } else if (reply->error() != QNetworkReply::NoError) {
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        result = status.isValid() ? QString::number(status.toInt()) : QString();
        qWarning().noquote() << "update query" << act << "failed:" << reply->errorString();
    } else {
        result = QString::fromUtf8(reply->readAll());
    }
    reply->deleteLater();
    return result;
}

QString HttpQuery::download(const QString &url)
{
    if (m_reply) {
        emit sError(tr("A download is already running."));
        return QString();
    }
    const QUrl target(url);
    const QString folder = downloadFolder();
    QSettings().setValue(m_settingsKey + QStringLiteral("DownloadFolder"), folder);
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(fileNameFor(target));

    m_file = std::make_unique<QFile>(path + QStringLiteral(".part"));
    m_file->remove();
    if (!m_file->open(QIODevice::WriteOnly)) {
        const QString why = m_file->errorString();
        m_file.reset();
        m_path.clear();
        emit sError(
            tr("Cannot create the download file %1: %2").arg(QDir::toNativeSeparators(path), why));
        return QString();
    }
    m_path = path;
    m_written = 0;
    useProxyFor(target);
    m_reply = m_manager.get(QNetworkRequest(target));
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpQuery::onReadyRead);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &HttpQuery::onDownloadProgress);
    connect(m_reply, &QNetworkReply::finished, this, &HttpQuery::onDownloadFinished);
    return path;
}

void HttpQuery::onReadyRead()
{
    if (m_reply && m_file)
        m_written += m_file->write(m_reply->readAll());
}

void HttpQuery::onDownloadProgress(qlonglong bytesRead, qlonglong totalBytes)
{
    qDebug() << "download progress" << bytesRead << "of" << totalBytes;
    emit sProgress(bytesRead, totalBytes);
}

void HttpQuery::onDownloadFinished()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    onReadyRead();
    QString error;
    if (m_file) {
        m_file->flush();
        if (m_file->error() != QFileDevice::NoError)
            error = m_file->errorString();
        m_file->close();
    }
    if (error.isEmpty() && reply->error() != QNetworkReply::NoError)
        error = reply->errorString();
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    if (error.isEmpty() && announced.isValid() && announced.toLongLong() != m_written) {
        error = tr("The download ended after %1 of %2 bytes.")
                    .arg(m_written)
                    .arg(announced.toLongLong());
    }
    if (error.isEmpty() && m_file) {
        // Only now the previous file of that name goes: a failed download never replaces it.
        QFile::remove(m_path);
        if (!m_file->rename(m_path))
            error = m_file->errorString();
    }
    if (!error.isEmpty()) {
        if (m_file)
            m_file->remove();
        qWarning().noquote() << "download of" << reply->url().toString() << "failed:" << error;
        m_path.clear();
        emit sError(error);
    }
    reply->deleteLater();
    m_reply = nullptr;
    m_file.reset();
    emit sFinished();
}

void HttpQuery::onCancel(bool)
{
    if (!m_reply || !m_reply->isRunning()) {
        emit sFinished();
        return;
    }
    m_reply->abort();
}
