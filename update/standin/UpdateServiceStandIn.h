#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

// A small stand-in for the update services, serving on 127.0.0.1 only from a folder:
//
//   act/<action>.txt           reply to the form POST "act=<action>" at /orvane3DsoftwareDLP/
//                              ("{base}" becomes http://127.0.0.1:<port>); an unknown action
//                              gets "errornum:*#0000noact"
//   programs/<name>/version.txt    the version the updater program is offered for <name>
//                                  (the lower-case program name)
//   programs/<name>/changelog.txt  its change log (also the page /changelog?name=<name>)
//   programs/<name>/<installer>    the one other file there: the installer
//   programs/<name>/download_url.txt  optional: the verbatim reply to "type=download_url"
//   files/<path>               GET /files/<path>
//
// POSTs to /update/ speak the updater program's "type=..." forms. Used by the tests and by
// anyone who hosts their own update service for a try.
class UpdateServiceStandIn : public QObject
{
    Q_OBJECT
  public:
    explicit UpdateServiceStandIn(const QString &root, QObject *parent = nullptr);
    ~UpdateServiceStandIn() override;

    // Listens on 127.0.0.1 at port (0: any free port). False with the reason in *error.
    bool listen(quint16 port, QString *error = nullptr);
    quint16 port() const { return m_server.serverPort(); }
    // "http://127.0.0.1:<port>"
    QString baseUrl() const;

    // Misbehaviours for the tests: never answer any request; announce the full length of a
    // file but send only half of it and close; send files in pieces of `bytes` every `ms`.
    void setNeverAnswer(bool on) { m_neverAnswer = on; }
    void setShortFiles(bool on) { m_shortFiles = on; }
    void setThrottle(int bytes, int ms)
    {
        m_chunk = bytes;
        m_chunkMs = ms;
    }
    int requestCount() const { return m_requests; }

    // The reply body to a request, without sockets: status code and body.
    struct Response {
        int status = 200;
        QByteArray contentType = "text/plain; charset=utf-8";
        QByteArray body;
    };
    Response respond(const QByteArray &method, const QByteArray &target,
                     const QByteArray &body) const;

  private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void send(QTcpSocket *socket, const Response &response);

    Response actReply(const QString &act) const;
    Response updaterReply(const QByteArray &body) const;
    Response fileReply(const QString &folder, const QString &relative) const;
    QString programFolder(const QString &name) const;
    QString installerOf(const QString &folder) const;

    QString m_root;
    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
    bool m_neverAnswer = false;
    bool m_shortFiles = false;
    int m_chunk = 0;
    int m_chunkMs = 0;
    int m_requests = 0;
};
