#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QtGlobal>

// One message as it was logged: the text, its origin and the logger variables of the thread
// that logged it. Records wait in a thread's backlog until a message important enough arrives.
class LogMessage
{
  public:
    LogMessage() = default;
    LogMessage(QtMsgType type, const QString &message, const QHash<QString, QString> &logVars,
               const QString &file, const QString &function, int line);

    // Expands the placeholders of `msgFormat` and appends a line feed. Text that came from the
    // message or a variable is never expanded again, so braces in a message stay as they are.
    QString toString(const QString &msgFormat, const QString &timestampFormat) const;

    QtMsgType type() const { return m_type; }
    QString message() const { return m_message; }

    // Level of a Qt message type: debug 0, info 1, warning 2, critical 3, fatal 4.
    static int levelOf(QtMsgType type);
    // The text for {type}: "DEBUG", "WARN ", "ERROR", "FATAL", or the level number otherwise.
    static QString typeName(QtMsgType type);

  private:
    QtMsgType m_type = QtDebugMsg;
    QString m_message;
    QHash<QString, QString> m_logVars;
    QString m_file;
    QString m_function;
    int m_line = 0;
    QDateTime m_timestamp;
    quint32 m_threadId = 0;
};
