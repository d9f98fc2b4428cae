#include "updater/queryer.h"

#include <QDebug>
#include <QEventLoop>
#include <QFileInfo>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

queryer::queryer(QObject *parent) : QObject(parent)
{
    connect(&m_manager, &QNetworkAccessManager::finished, this, &queryer::onFinished);
}

queryer::~queryer()
{
    if (m_download) {
        m_download->disconnect(this);
        m_download->abort();
    }
    if (m_file) {
        m_file->close();
        m_file->remove();
    }
}

QNetworkRequest queryer::request(const QString &url)
{
    const QUrl target(url);
    // A service on this machine never goes through a proxy.
    const bool local =
        target.host() == QLatin1String("localhost") || QHostAddress(target.host()).isLoopback();
    m_manager.setProxy(local ? QNetworkProxy(QNetworkProxy::NoProxy)
                             : QNetworkProxy(QNetworkProxy::DefaultProxy));
    return QNetworkRequest(target);
}

QByteArray queryer::post(const QString &url, const QByteArray &body)
{
    QNetworkReply *reply = m_manager.post(request(url), body);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(m_timeoutMs);
    if (reply->isRunning())
        loop.exec();
    if (reply->isRunning()) {
        reply->abort();
        m_error = true;
        m_reply = tr("The update service did not answer in time.").toUtf8();
    } else if (reply->error() != QNetworkReply::NoError) {
        m_error = true;
        m_reply = reply->errorString().toUtf8();
    } else {
        m_error = false;
        m_reply = reply->readAll();
    }
    reply->deleteLater();
    return m_reply;
}

QString queryer::download(const QString &url, const QByteArray &body, const QString &filePath)
{
    m_downloadOk = false;
    m_errorText.clear();
    m_file = std::make_unique<QFile>(filePath + QStringLiteral(".part"));
    m_file->remove();
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_errorText = m_file->errorString();
        m_file.reset();
        return QString();
    }
    m_filePath = filePath;
    m_written = 0;
    m_download = m_manager.post(request(url), body);
    connect(m_download, &QNetworkReply::readyRead, this, &queryer::onReadyRead);
    connect(m_download, &QNetworkReply::downloadProgress, this, &queryer::onDownloadProgress);
    return filePath;
}

void queryer::cancel()
{
    if (m_download)
        m_download->abort();
}

void queryer::onReadyRead()
{
    if (m_download && m_file)
        m_written += m_file->write(m_download->readAll());
}

void queryer::onDownloadProgress(qlonglong received, qlonglong total)
{
    emit sProgress(QFileInfo(m_filePath).fileName(), received, total);
}

void queryer::onFinished(QNetworkReply *reply)
{
    if (reply != m_download)
        return; // a post(): its own loop reads it
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
    if (error.isEmpty() && announced.isValid() && announced.toLongLong() != m_written)
        error = tr("the download ended after %1 of %2 bytes")
                    .arg(m_written)
                    .arg(announced.toLongLong());
    if (error.isEmpty()) {
        QFile::remove(m_filePath);
        if (!m_file->rename(m_filePath))
            error = m_file->errorString();
    }
    if (!error.isEmpty()) {
        m_file->remove();
        qWarning().noquote() << "download failed:" << error;
    }
    m_errorText = error;
    m_downloadOk = error.isEmpty();
    m_file.reset();
    m_download = nullptr;
    reply->deleteLater();
    emit sFinished();
}
