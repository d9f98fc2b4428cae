#pragma once

#include "app/LogMessage.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QRecursiveMutex;

// Formats messages and writes them to the standard error stream. One logger can be installed as
// the process's Qt message handler; messages may come from any thread.
class Logger : public QObject
{
    Q_OBJECT

  public:
    explicit Logger(QObject *parent = nullptr);
    // `minLevel`: 0 DEBUG, 1 INFO, 2 WARN, 3 ERROR, 4 FATAL. `bufferSize`: records kept per
    // thread as context for the next important message; 0 or less disables the backlog.
    Logger(const QString &msgFormat, const QString &timestampFormat, int minLevel, int bufferSize,
           QObject *parent = nullptr);
    // Uninstalls the logger if it is the installed one; later messages go to Qt's default handler.
    ~Logger() override;

    // Makes this logger receive every Qt message of the process (replacing any other logger).
    void installMsgHandler();
    static Logger *installedLogger();

    // Logger variables of the calling thread, usable as "{name}" in the message format.
    static void set(const QString &name, const QString &value);
    static QString get(const QString &name);

    // Writes or buffers one message; thread-safe.
    virtual void log(QtMsgType type, const QString &message, const QString &file = QString(),
                     const QString &function = QString(), int line = 0);
    // Empties the calling thread's backlog and/or its logger variables.
    virtual void clear(bool buffer = true, bool variables = true);

    QString msgFormat() const { return m_msgFormat; }
    QString timestampFormat() const { return m_timestampFormat; }
    int minLevel() const { return m_minLevel; }
    int bufferSize() const { return m_bufferSize; }

    // Maps "DEBUG", "INFO", "WARN", "ERROR", "FATAL" to 0..4; anything else is 0.
    static int levelFromName(const QString &name);

    // The one process-wide lock around logging, configuration refresh and rotation.
    static QRecursiveMutex &mutex();

  protected:
    virtual void write(const LogMessage &message);

    QString m_msgFormat;
    QString m_timestampFormat;
    int m_minLevel = 0;
    int m_bufferSize = 0;

  private:
    QList<LogMessage> &backlog();

    // Backlogs live in process-wide thread storage keyed by this serial number, so a logger
    // that dies before the threads it served leaves nothing that a later one could pick up.
    quint64 m_serial;
};
