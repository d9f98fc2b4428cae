#include "app/Logger.h"

#include <QAtomicInteger>
#include <QMutex>
#include <QRecursiveMutex>
#include <QThreadStorage>

#include <cstdio>
#include <cstdlib>

namespace
{

Logger *s_installed = nullptr;
// Held while the installed logger handles a message; a message raised meanwhile on the same
// thread (from inside the logger) finds it taken and goes straight to stderr.
QMutex s_recursionGuard;

QThreadStorage<QHash<QString, QString>> &threadVariables()
{
    static QThreadStorage<QHash<QString, QString>> vars;
    return vars;
}

QThreadStorage<QHash<quint64, QList<LogMessage>>> &threadBacklogs()
{
    static QThreadStorage<QHash<quint64, QList<LogMessage>>> backlogs;
    return backlogs;
}

quint64 nextSerial()
{
    static QAtomicInteger<quint64> serial;
    return ++serial;
}

void writeBareToStderr(const QString &message)
{
    const QByteArray text = message.toLocal8Bit();
    fputs(text.constData(), stderr);
    fputc('\n', stderr);
    fflush(stderr);
}

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker lock(&Logger::mutex());
        if (s_installed && s_recursionGuard.tryLock()) {
            s_installed->log(type, message, QString::fromUtf8(context.file),
                             QString::fromUtf8(context.function), context.line);
            s_recursionGuard.unlock();
        } else {
            writeBareToStderr(message);
        }
    }
    if (type == QtFatalMsg)
        abort();
}

} // namespace

Logger::Logger(QObject *parent)
    : Logger(QStringLiteral("{timestamp} {type} {msg}"), QStringLiteral("dd.MM.yyyy hh:mm:ss.zzz"),
             0, 0, parent)
{
}

Logger::Logger(const QString &msgFormat, const QString &timestampFormat, int minLevel,
               int bufferSize, QObject *parent)
    : QObject(parent), m_msgFormat(msgFormat), m_timestampFormat(timestampFormat),
      m_minLevel(minLevel), m_bufferSize(bufferSize), m_serial(nextSerial())
{
}

Logger::~Logger()
{
    QMutexLocker lock(&mutex());
    if (s_installed == this) {
        s_installed = nullptr;
        qInstallMessageHandler(nullptr);
    }
    if (threadBacklogs().hasLocalData())
        threadBacklogs().localData().remove(m_serial);
}

QList<LogMessage> &Logger::backlog()
{
    return threadBacklogs().localData()[m_serial];
}

QRecursiveMutex &Logger::mutex()
{
    static QRecursiveMutex m;
    return m;
}

void Logger::installMsgHandler()
{
    QMutexLocker lock(&mutex());
    s_installed = this;
    qInstallMessageHandler(messageHandler);
}

Logger *Logger::installedLogger()
{
    QMutexLocker lock(&mutex());
    return s_installed;
}

void Logger::set(const QString &name, const QString &value)
{
    threadVariables().localData().insert(name, value);
}

QString Logger::get(const QString &name)
{
    if (!threadVariables().hasLocalData())
        return QString();
    return threadVariables().localData().value(name);
}

int Logger::levelFromName(const QString &name)
{
    if (name == QLatin1String("INFO"))
        return 1;
    if (name == QLatin1String("WARN"))
        return 2;
    if (name == QLatin1String("ERROR"))
        return 3;
    if (name == QLatin1String("FATAL"))
        return 4;
    return 0;
}

void Logger::log(QtMsgType type, const QString &message, const QString &file,
                 const QString &function, int line)
{
    QMutexLocker lock(&mutex());
    const bool important = LogMessage::levelOf(type) >= m_minLevel;
    const QHash<QString, QString> vars = threadVariables().hasLocalData()
                                             ? threadVariables().localData()
                                             : QHash<QString, QString>();
    if (m_bufferSize <= 0) {
        if (important)
            write(LogMessage(type, message, vars, file, function, line));
        return;
    }
    QList<LogMessage> &records = backlog();
    records.append(LogMessage(type, message, vars, file, function, line));
    while (records.size() > m_bufferSize)
        records.removeFirst();
    if (important) {
        // Take the records out first: writing may log (a file error) and re-enter this thread's
        // backlog.
        const QList<LogMessage> pending = std::move(records);
        records.clear();
        for (const LogMessage &record : pending)
            write(record);
    }
}

void Logger::clear(bool buffer, bool variables)
{
    QMutexLocker lock(&mutex());
    if (buffer && threadBacklogs().hasLocalData())
        threadBacklogs().localData().remove(m_serial);
    if (variables && threadVariables().hasLocalData())
        threadVariables().localData().clear();
}

void Logger::write(const LogMessage &message)
{
    const QByteArray text = message.toString(m_msgFormat, m_timestampFormat).toLocal8Bit();
    fputs(text.constData(), stderr);
    fflush(stderr);
}
