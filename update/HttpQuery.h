#pragma once

#include <QFile>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QNetworkReply;

// HTTP client of the update checks: one form query with a time-out and one file download with
// progress and cancel. Lives on the user-interface thread; query() waits in a nested event loop.
class HttpQuery : public QObject
{
    Q_OBJECT
  public:
    // settingsKey: the updater's settings key; the download folder is recorded beside it as
    // "<settingsKey>DownloadFolder".
    explicit HttpQuery(const QString &settingsKey, QObject *parent = nullptr);
    ~HttpQuery() override;

    // POSTs "act=<act>" (not URL-encoded) as a form to url and waits at most timeoutMs
    // (3000 ms unless set otherwise). Returns the body as UTF-8; "timeout" when no answer came in
    // time; the HTTP status code as text (empty when there is none) on a network error.
    QString query(const QString &act, const QString &url);

    // Starts downloading url into the download folder under the last component of the URL path
    // ("index.html" when empty). The bytes go to "<name>.part" first; only a complete download
    // (no error, not shorter than its announced length) replaces "<name>". Returns the final
    // path at once (the caller waits for sFinished()), or a null text, with sError, when the
    // file cannot be created; then nothing is started.
    QString download(const QString &url);

    // The local file name of a download URL: the last component of its path, "index.html" when
    // that is empty (or "." or ".."); never a folder.
    static QString fileNameFor(const QUrl &url);

    // The path of the last download; empty after a failed one.
    QString lastDownloadPath() const { return m_path; }
    bool isDownloading() const;

    // The folder downloads go to; the user's download folder unless set.
    void setDownloadFolder(const QString &folder) { m_folder = folder; }
    QString downloadFolder() const;
    void setQueryTimeout(int ms) { m_timeoutMs = ms; }

  signals:
    void sError(QString msg);
    // Bytes received, bytes total (-1 when the service did not say).
    void sProgress(qlonglong received, qlonglong total);
    void sFinished();

  public slots:
    // Aborts a running download (it then ends with an error); without one emits sFinished().
    void onCancel(bool cancel);
    void onDownloadFinished();
    void onReadyRead();
    void onDownloadProgress(qlonglong bytesRead, qlonglong totalBytes);

  private:
    void useProxyFor(const QUrl &url);

    QString m_settingsKey;
    QString m_folder;
    int m_timeoutMs = 3000;
    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<QFile> m_file;
    QString m_path;
    qint64 m_written = 0;
};
