#pragma once

#include <QByteArray>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

// The updater's HTTP client: form POSTs (no content type is set) that wait in a nested event
// loop, and a POST whose reply is written to a file as it arrives. User-interface thread.
class queryer : public QObject
{
    Q_OBJECT
  public:
    explicit queryer(QObject *parent = nullptr);
    ~queryer() override;

    // POSTs body to url and waits for the reply (at most the time-out, 5 s unless set).
    // Returns the reply bytes; on a network error or time-out the error text, and hasError()
    // is true.
    QByteArray post(const QString &url, const QByteArray &body);
    bool hasError() const { return m_error; }

    // POSTs body to url and writes the reply to filePath: first to "<filePath>.part", renamed to
    // filePath only when the reply is complete (no error, not shorter than announced); an
    // existing filePath is replaced only then. Returns filePath at once, empty when the file
    // cannot be created (errorText() says why); sFinished() follows the end of the download.
    QString download(const QString &url, const QByteArray &body, const QString &filePath);
    // Aborts a running download (it then ends as failed).
    void cancel();
    bool isDownloading() const { return m_download != nullptr; }
    // True when the last download ended complete.
    bool downloadSucceeded() const { return m_downloadOk; }
    QString errorText() const { return m_errorText; }

    void setTimeout(int ms) { m_timeoutMs = ms; }

  signals:
    void sFinished();
    void sProgress(QString fileName, qlonglong received, qlonglong total);

  public slots:
    void onFinished(QNetworkReply *reply);
    void onReadyRead();
    void onDownloadProgress(qlonglong received, qlonglong total);

  private:
    QNetworkRequest request(const QString &url);

    QNetworkAccessManager m_manager;
    QByteArray m_reply;
    bool m_error = false;
    int m_timeoutMs = 5000;
    QPointer<QNetworkReply> m_download;
    std::unique_ptr<QFile> m_file;
    QString m_filePath;
    qint64 m_written = 0;
    bool m_downloadOk = false;
    QString m_errorText;
};
