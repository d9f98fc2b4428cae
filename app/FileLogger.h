#pragma once

#include "app/Logger.h"

#include <QBasicTimer>

class QFile;
class QSettings;

// Logger that appends to a file which rotates by size. Its configuration comes from `settings`
// (not owned) and is re-read every `refreshInterval` ms so level and format can change at run
// time. Keys: "fileName", "maxSize", "maxBackups", "msgFormat", "timestampFormat", "minLevel",
// "bufferSize". A relative "fileName" is relative to the executable's directory.
class FileLogger : public Logger
{
    Q_OBJECT

  public:
    // Reads the configuration, opens the file, starts the refresh timer when `refreshInterval`
    // is above 0 and a 1000 ms flush timer.
    FileLogger(QSettings *settings, int refreshInterval = 10000, QObject *parent = nullptr);
    ~FileLogger() override;

    // Re-reads the settings from disk; reopens the file when its name changed. The refresh
    // timer calls this.
    void refreshSettings();
    // Flushes the file and rotates it once it has reached "maxSize". The flush timer calls this.
    void flushAndRotate();

    // The resolved path of the log file (empty when the configured name is empty).
    QString fileName() const;
    bool isFileOpen() const;
    qint64 maxSize() const { return m_maxSize; }
    int maxBackups() const { return m_maxBackups; }

  protected:
    void write(const LogMessage &message) override;
    void timerEvent(QTimerEvent *event) override;

  private:
    void openFile();
    void closeFile();
    void rotate();

    QSettings *m_settings;
    QString m_fileName;
    QFile *m_file = nullptr;
    qint64 m_maxSize = 0;
    int m_maxBackups = 0;
    QBasicTimer m_refreshTimer;
    QBasicTimer m_flushTimer;
};
