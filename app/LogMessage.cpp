#include "app/LogMessage.h"

#include <QThread>

LogMessage::LogMessage(QtMsgType type, const QString &message,
                       const QHash<QString, QString> &logVars, const QString &file,
                       const QString &function, int line)
    : m_type(type), m_message(message), m_logVars(logVars), m_file(file), m_function(function),
      m_line(line), m_timestamp(QDateTime::currentDateTime()),
      m_threadId(static_cast<quint32>(reinterpret_cast<quintptr>(QThread::currentThreadId()) &
                                      0xffffffffu))
{
}

int LogMessage::levelOf(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return 0;
    case QtInfoMsg:
        return 1;
    case QtWarningMsg:
        return 2;
    case QtCriticalMsg:
        return 3;
    case QtFatalMsg:
        return 4;
    }
    return 0;
}

QString LogMessage::typeName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("DEBUG");
    case QtWarningMsg:
        return QStringLiteral("WARN ");
    case QtCriticalMsg:
        return QStringLiteral("ERROR");
    case QtFatalMsg:
        return QStringLiteral("FATAL");
    default:
        return QString::number(levelOf(type));
    }
}

QString LogMessage::toString(const QString &msgFormat, const QString &timestampFormat) const
{
    const QString pattern = msgFormat + QLatin1Char('\n');
    QString out;
    out.reserve(pattern.size() + m_message.size() + 32);
    int pos = 0;
    while (pos < pattern.size()) {
        const int open = pattern.indexOf(QLatin1Char('{'), pos);
        if (open < 0) {
            out += pattern.midRef(pos);
            break;
        }
        const int close = pattern.indexOf(QLatin1Char('}'), open + 1);
        if (close < 0) {
            out += pattern.midRef(pos);
            break;
        }
        out += pattern.midRef(pos, open - pos);
        const QString name = pattern.mid(open + 1, close - open - 1);
        if (name == QLatin1String("msg")) {
            out += m_message;
        } else if (name == QLatin1String("timestamp")) {
            out += m_timestamp.toString(timestampFormat);
        } else if (name == QLatin1String("typeNr")) {
            out += QString::number(levelOf(m_type));
        } else if (name == QLatin1String("type")) {
            out += typeName(m_type);
        } else if (name == QLatin1String("file")) {
            out += m_file;
        } else if (name == QLatin1String("function")) {
            out += m_function;
        } else if (name == QLatin1String("line")) {
            out += QString::number(m_line);
        } else if (name == QLatin1String("thread")) {
            out += QString::number(m_threadId);
        } else if (m_logVars.contains(name)) {
            out += m_logVars.value(name);
        } else {
            // Not a placeholder: keep the opening brace and look for the next one after it, so
            // "{{msg}" still expands the inner name.
            out += QLatin1Char('{');
            pos = open + 1;
            continue;
        }
        pos = close + 1;
    }
    return out;
}
