#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace QSsh
{
class SshConnection;
}

// Base of the SSH jobs: one job runs once on a connection, blocking its caller in a nested
// event loop, and error() afterwards tells how it went (empty = success).
class dobject : public QObject
{
    Q_OBJECT
  public:
    explicit dobject(QSsh::SshConnection *connection, QObject *parent = nullptr);

    virtual QString error() const { return m_error; }

    // Writes one line of job chatter to standard output (what an operator running the
    // program from a console sees).
    static void writeOut(const QByteArray &text);

  protected:
    // Whether the connection exists and is up; says why not on standard output.
    bool checkConnection() const;

    QPointer<QSsh::SshConnection> m_connection;
    QString m_error;
};
