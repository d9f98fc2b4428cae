#pragma once

#include "update/HttpQuery.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVariant>

#include <functional>

// Base of the main program's update checks: asks the update service for an action, reads the
// reply items, compares versions and downloads with a transfer-rate text. Subclasses name the
// action and what happens with the download. User-interface thread; the waits are nested event
// loops.
class HttpUpgrade : public QObject
{
    Q_OBJECT
  public:
    using Result = QPair<bool, QVariant>;
    // (title, text) of a Yes/No question before a download; true for Yes. Without one the
    // download is not started.
    using Question = std::function<bool(const QString &title, const QString &text)>;

    HttpUpgrade(const QString &settingsKey, QObject *parent = nullptr);

    // The service's form endpoint ("<base>/orvane3DsoftwareDLP/"); empty when no service is
    // configured, and then every check fails with "updates are not configured".
    void setEndpoint(const QString &endpoint) { m_endpoint = endpoint; }
    QString endpoint() const { return m_endpoint; }
    HttpQuery *query() { return &m_query; }
    void setQuestion(Question question) { m_question = std::move(question); }
    bool hasQuestion() const { return bool(m_question); }

    // The check of the concrete updater: (ok, message text).
    virtual Result check() = 0;

    // (false, reply) when the reply carries a failure marker, else (true, the reply's items as
    // a QStringList, split on ',' with empty items kept).
    Result askService(const QString &act);
    // On success (true, [offered version, current version, download address]); otherwise
    // (false, message): the service's failure, "version unit is empty!", "No new version to
    // upgrade" or "url unit is empty!".
    Result checkVersion(const QString &act, const QString &currentVersion);
    // Downloads url and blocks until it ends. Returns the local path, empty after a failure
    // (reported by sError).
    QString download(const QString &url);

    // The message of a service that is not configured.
    static const char *notConfiguredMessage();

  signals:
    void sCancel(bool cancel);
    void sShowInfo(QString msg);
    void sProgress(QString msg, qlonglong received, qlonglong total);
    void sFinished();
    void sError(QString msg);

  public slots:
    virtual void upgrade() = 0;
    void onProgress(qlonglong received, qlonglong total);

  protected:
    bool ask(const QString &title, const QString &text) const
    {
        return m_question && m_question(title, text);
    }

    QString m_text;
    Question m_question;

  private:
    QString m_endpoint;
    HttpQuery m_query;
    QElapsedTimer m_clock;
};
