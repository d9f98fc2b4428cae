#include "app/FileLogger.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRecursiveMutex>
#include <QSettings>
#include <QTimerEvent>

namespace
{

QString backupName(const QString &fileName, int index)
{
    return QStringLiteral("%1.%2").arg(fileName).arg(index);
}

} // namespace

FileLogger::FileLogger(QSettings *settings, int refreshInterval, QObject *parent)
    : Logger(parent), m_settings(settings)
{
    refreshSettings();
    if (refreshInterval > 0)
        m_refreshTimer.start(refreshInterval, this);
    m_flushTimer.start(1000, this);
}

FileLogger::~FileLogger()
{
    QMutexLocker lock(&mutex());
    closeFile();
}

QString FileLogger::fileName() const
{
    return m_fileName;
}

bool FileLogger::isFileOpen() const
{
    QMutexLocker lock(&mutex());
    return m_file != nullptr;
}

void FileLogger::refreshSettings()
{
    QMutexLocker lock(&mutex());
    if (!m_settings)
        return;
    m_settings->sync();

    QString name =
        m_settings->value(QStringLiteral("fileName"), QStringLiteral("log/logger.log")).toString();
    if (!name.isEmpty() && QDir::isRelativePath(name))
        name = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    name = QDir::cleanPath(name);
    if (name == QLatin1String("."))
        name.clear();

    m_maxSize = m_settings->value(QStringLiteral("maxSize"), 5242880).toLongLong();
    m_maxBackups = m_settings->value(QStringLiteral("maxBackups"), 2).toInt();
    m_msgFormat = m_settings
                      ->value(QStringLiteral("msgFormat"),
                              QStringLiteral("{timestamp} {file} {line} {type} {msg}"))
                      .toString();
    m_timestampFormat =
        m_settings
            ->value(QStringLiteral("timestampFormat"), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))
            .toString();
    m_minLevel = levelFromName(
        m_settings->value(QStringLiteral("minLevel"), QStringLiteral("DEBUG")).toString());
    m_bufferSize = m_settings->value(QStringLiteral("bufferSize"), 0).toInt();

    if (!m_file || name != m_fileName) {
        closeFile();
        m_fileName = name;
        openFile();
    }
}

void FileLogger::openFile()
{
    if (m_fileName.isEmpty()) {
        qWarning("Name of logFile is empty");
        return;
    }
    QDir().mkpath(QFileInfo(m_fileName).absolutePath());
    auto *file = new QFile(m_fileName);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        const QString error = file->errorString();
        delete file;
        qWarning("Cannot open log file %s: %s", qPrintable(m_fileName), qPrintable(error));
        return;
    }
    m_file = file;
}

void FileLogger::closeFile()
{
    if (!m_file)
        return;
    m_file->close();
    delete m_file;
    m_file = nullptr;
}

void FileLogger::write(const LogMessage &message)
{
    QMutexLocker lock(&mutex());
    if (!m_file) {
        Logger::write(message);
        return;
    }
    const QByteArray text = message.toString(m_msgFormat, m_timestampFormat).toLocal8Bit();
    bool ok = m_file->write(text) == text.size();
    if (ok && LogMessage::levelOf(message.type()) >= 3)
        ok = m_file->flush();
    if (!ok) {
        const QString error = m_file->errorString();
        closeFile();
        qWarning("Cannot write to log file %s: %s", qPrintable(m_fileName), qPrintable(error));
    }
}

void FileLogger::flushAndRotate()
{
    QMutexLocker lock(&mutex());
    if (!m_file)
        return;
    m_file->flush();
    if (m_maxSize > 0 && m_file->size() >= m_maxSize)
        rotate();
}

void FileLogger::rotate()
{
    closeFile();

    int count = 0;
    while (QFile::exists(backupName(m_fileName, count + 1)))
        ++count;
    while (m_maxBackups > 0 && count >= m_maxBackups) {
        QFile::remove(backupName(m_fileName, count));
        --count;
    }
    for (int i = count; i >= 1; --i)
        QFile::rename(backupName(m_fileName, i), backupName(m_fileName, i + 1));
    QFile::rename(m_fileName, backupName(m_fileName, 1));
    openFile();
}

void FileLogger::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_refreshTimer.timerId())
        refreshSettings();
    else if (event->timerId() == m_flushTimer.timerId())
        flushAndRotate();
    else
        Logger::timerEvent(event);
}
