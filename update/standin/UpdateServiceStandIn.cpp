#include "update/standin/UpdateServiceStandIn.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <memory>

namespace
{

QByteArray readFile(const QString &path, bool *ok = nullptr)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return opened ? file.readAll() : QByteArray();
}

// "a=b&c=d" without URL decoding, as the clients send it.
QHash<QString, QString> formFields(const QByteArray &body)
{
    QHash<QString, QString> fields;
    for (const QByteArray &pair : body.split('&')) {
        const int eq = pair.indexOf('=');
        if (eq > 0)
            fields.insert(QString::fromUtf8(pair.left(eq)), QString::fromUtf8(pair.mid(eq + 1)));
    }
    return fields;
}

// A relative path that stays inside its folder; empty when it would leave it.
QString confined(const QString &relative)
{
    const QString clean = QDir::cleanPath(relative);
    if (clean.isEmpty() || clean.startsWith(QLatin1Char('/')) || clean == QLatin1String("..") ||
        clean.startsWith(QLatin1String("../")) || clean.contains(QLatin1Char('\\')))
        return QString();
    return clean;
}

QByteArray attributeValue(QString text)
{
    // The clients read values up to the next quote.
    return text.replace(QLatin1Char('"'), QLatin1Char('\'')).trimmed().toUtf8();
}

const char *statusText(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    default:
        return "Error";
    }
}

} // namespace

UpdateServiceStandIn::UpdateServiceStandIn(const QString &root, QObject *parent)
    : QObject(parent), m_root(root)
{
    connect(&m_server, &QTcpServer::newConnection, this, &UpdateServiceStandIn::onNewConnection);
}

UpdateServiceStandIn::~UpdateServiceStandIn()
{
    // The sockets are the server's children: end them while the bookkeeping still exists.
    const QList<QTcpSocket *> sockets = m_server.findChildren<QTcpSocket *>();
    for (QTcpSocket *socket : sockets) {
        socket->disconnect(this);
        delete socket;
    }
    m_server.close();
}

bool UpdateServiceStandIn::listen(quint16 port, QString *error)
{
    if (m_server.listen(QHostAddress::LocalHost, port))
        return true;
    if (error)
        *error = m_server.errorString();
    return false;
}

QString UpdateServiceStandIn::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void UpdateServiceStandIn::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void UpdateServiceStandIn::onReadyRead(QTcpSocket *socket)
{
    QByteArray &data = m_pending[socket];
    data += socket->readAll();
    const int headerEnd = data.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    const QList<QByteArray> lines = data.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    qint64 length = 0;
    for (const QByteArray &line : lines.mid(1)) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length")
            length = line.mid(colon + 1).trimmed().toLongLong();
    }
    if (data.size() - headerEnd - 4 < length)
        return;
    const QByteArray body = data.mid(headerEnd + 4, int(length));
    data.clear();
    ++m_requests;
    if (m_neverAnswer)
        return;
    send(socket, respond(requestLine.value(0), requestLine.value(1), body));
}

void UpdateServiceStandIn::send(QTcpSocket *socket, const Response &response)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                      statusText(response.status) + "\r\nContent-Type: " + response.contentType +
                      "\r\nContent-Length: " + QByteArray::number(response.body.size()) +
                      "\r\nConnection: close\r\n\r\n";
    QByteArray body = response.body;
    if (m_shortFiles && response.contentType == "application/octet-stream")
        body.truncate(body.size() / 2);
    socket->write(head);
    if (m_chunk <= 0 || m_chunkMs <= 0) {
        socket->write(body);
        socket->disconnectFromHost();
        return;
    }
    // Pieces on a timer, so that a client sees progress and can cancel midway.
    auto rest = std::make_shared<QByteArray>(body);
    QPointer<QTcpSocket> guard(socket);
    auto *timer = new QTimer(socket);
    connect(timer, &QTimer::timeout, socket, [guard, rest, timer, chunk = m_chunk] {
        if (!guard || guard->state() != QAbstractSocket::ConnectedState) {
            timer->stop();
            return;
        }
        guard->write(rest->left(chunk));
        rest->remove(0, chunk);
        if (rest->isEmpty()) {
            timer->stop();
            guard->disconnectFromHost();
        }
    });
    timer->start(m_chunkMs);
}

UpdateServiceStandIn::Response UpdateServiceStandIn::respond(const QByteArray &method,
                                                             const QByteArray &target,
                                                             const QByteArray &body) const
{
    const QUrl url(QString::fromUtf8(target));
    const QString path = url.path();
    if (method == "POST" && path == QLatin1String("/orvane3DsoftwareDLP/")) {
        const QHash<QString, QString> fields = formFields(body);
        return actReply(fields.value(QStringLiteral("act")));
    }
    if (method == "POST" && path == QLatin1String("/update/"))
        return updaterReply(body);
    if (method == "GET" && path == QLatin1String("/changelog")) {
        const QString name = QUrlQuery(url).queryItemValue(QStringLiteral("name")).toLower();
        bool ok = false;
        const QString folder = programFolder(name);
        const QByteArray log =
            folder.isEmpty() ? QByteArray() : readFile(folder + "/changelog.txt", &ok);
        Response page;
        if (!ok) {
            page.status = 404;
            page.body = "no change log for " + name.toUtf8() + '\n';
            return page;
        }
        page.contentType = "text/html; charset=utf-8";
        page.body = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" +
                    name.toHtmlEscaped().toUtf8() + "</title></head><body><pre>" +
                    QString::fromUtf8(log).toHtmlEscaped().toUtf8() + "</pre></body></html>\n";
        return page;
    }
    if (method == "GET" && path.startsWith(QLatin1String("/files/")))
        return fileReply(QStringLiteral("files"), path.mid(7));
    Response missing;
    missing.status = 404;
    missing.body = "not found\n";
    return missing;
}

UpdateServiceStandIn::Response UpdateServiceStandIn::actReply(const QString &act) const
{
    Response response;
    bool ok = false;
    const QString name = confined(act);
    const QByteArray text = name.isEmpty() || name.contains(QLatin1Char('/'))
                                ? QByteArray()
                                : readFile(QStringLiteral("%1/act/%2.txt").arg(m_root, name), &ok);
    if (!ok) {
        response.body = "errornum:*#0000noact";
        return response;
    }
    response.body = text.trimmed().replace("{base}", baseUrl().toUtf8());
    return response;
}

QString UpdateServiceStandIn::programFolder(const QString &name) const
{
    const QString clean = confined(name);
    if (clean.isEmpty() || clean.contains(QLatin1Char('/')))
        return QString();
    const QString folder = QStringLiteral("%1/programs/%2").arg(m_root, clean);
    return QFileInfo(folder).isDir() ? folder : QString();
}

QString UpdateServiceStandIn::installerOf(const QString &folder) const
{
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString &file : files) {
        if (file != QLatin1String("version.txt") && file != QLatin1String("changelog.txt") &&
            file != QLatin1String("download_url.txt"))
            return file;
    }
    return QString();
}

UpdateServiceStandIn::Response UpdateServiceStandIn::updaterReply(const QByteArray &body) const
{
    const QHash<QString, QString> fields = formFields(body);
    const QString type = fields.value(QStringLiteral("type"));
    Response response;
    if (type == QLatin1String("download_file"))
        return fileReply(QStringLiteral("programs"), fields.value(QStringLiteral("path")));

    const QString name = fields.value(QStringLiteral("name"));
    const QString folder = programFolder(name);
    if (folder.isEmpty()) {
        response.body = "error=\"unknown program " + attributeValue(name) + "\"";
        return response;
    }
    bool ok = false;
    if (type == QLatin1String("latest_version")) {
        const QByteArray version = readFile(folder + "/version.txt", &ok).trimmed();
        response.body = ok ? "success=\"true\" version=\"" + version + "\""
                           : QByteArray("error=\"no version offered\"");
    } else if (type == QLatin1String("change_log")) {
        const QByteArray log = readFile(folder + "/changelog.txt", &ok);
        response.body = "success=\"true\" log=\"" + attributeValue(QString::fromUtf8(log)) + "\"";
    } else if (type == QLatin1String("download_url")) {
        const QByteArray verbatim = readFile(folder + "/download_url.txt", &ok);
        if (ok) {
            response.body = verbatim.trimmed();
            return response;
        }
        const QString installer = installerOf(folder);
        if (installer.isEmpty()) {
            response.body = "error=\"no installer\"";
            return response;
        }
        const QByteArray bytes = readFile(folder + QLatin1Char('/') + installer);
        const QByteArray sha = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
        response.body = "success=\"true\" path=\"" + attributeValue(name + '/' + installer) +
                        "\" name=\"" + attributeValue(installer) + "\" sha256=\"" + sha + "\"";
    } else {
        response.status = 400;
        response.body = "unknown request type\n";
    }
    return response;
}

UpdateServiceStandIn::Response UpdateServiceStandIn::fileReply(const QString &folder,
                                                               const QString &relative) const
{
    Response response;
    const QString clean = confined(relative);
    bool ok = false;
    const QString path = QStringLiteral("%1/%2/%3").arg(m_root, folder, clean);
    if (!clean.isEmpty() && QFileInfo(path).isFile())
        response.body = readFile(path, &ok);
    if (!ok) {
        response.status = 404;
        response.body = "not found\n";
        return response;
    }
    response.contentType = "application/octet-stream";
    return response;
}
