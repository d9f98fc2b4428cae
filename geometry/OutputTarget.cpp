#include "geometry/OutputTarget.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

bool isStreamTarget(const QString &path)
{
    if (path == QLatin1String("-"))
        return true;
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

bool copyToStreamTarget(QIODevice &source, const QString &path, QString *error)
{
    QFile target;
    bool opened = false;
    if (path == QLatin1String("-")) {
        std::fflush(stdout);
        opened = target.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered,
                             QFileDevice::DontCloseHandle);
    } else {
        target.setFileName(path);
        opened = target.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    if (!opened) {
        if (error)
            *error = target.errorString();
        return false;
    }
    if (!source.seek(0)) {
        if (error)
            *error = source.errorString();
        return false;
    }
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = source.read(buffer, sizeof buffer);
        if (n < 0) {
            if (error)
                *error = source.errorString();
            return false;
        }
        if (n == 0)
            break;
        if (target.write(buffer, n) != n) {
            if (error)
                *error = target.errorString();
            return false;
        }
    }
    if (!target.flush()) {
        if (error)
            *error = target.errorString();
        return false;
    }
    return true;
}
