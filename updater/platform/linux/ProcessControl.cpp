#include "updater/ProcessControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace ProcessControl
{

QString executableName(const QString &programName)
{
    return programName;
}

QList<qint64> findRunning(const QString &programName)
{
    const QString wanted = executableName(programName);
    QList<qint64> found;
    const qint64 self = QCoreApplication::applicationPid();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == self)
            continue;
        // Only processes of this user can be read (and ended) at all.
        QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
        if (exe.isEmpty())
            continue;
        if (exe.endsWith(QLatin1String(" (deleted)")))
            exe.chop(10);
        if (QFileInfo(exe).fileName() == wanted)
            found << pid;
    }
    return found;
}

bool endRunning(const QString &programName, int graceMs)
{
    const QList<qint64> pids = findRunning(programName);
    for (const qint64 pid : pids)
        ::kill(pid_t(pid), SIGTERM);
    QElapsedTimer clock;
    clock.start();
    while (!findRunning(programName).isEmpty() && clock.elapsed() < graceMs)
        QThread::msleep(50);
    for (const qint64 pid : findRunning(programName))
        ::kill(pid_t(pid), SIGKILL);
    clock.restart();
    while (!findRunning(programName).isEmpty() && clock.elapsed() < 2000)
        QThread::msleep(20);
    return findRunning(programName).isEmpty();
}

int startInstaller(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return 2;
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("deb") || suffix == QLatin1String("rpm"))
        return QProcess::startDetached(QStringLiteral("xdg-open"), {info.absoluteFilePath()}) ? 42
                                                                                              : 5;
    QFile file(info.absoluteFilePath());
    if (!file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ReadOwner))
        return 5;
    return QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath()) ? 42 : 5;
}

} // namespace ProcessControl
