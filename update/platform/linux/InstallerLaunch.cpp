#include "update/InstallerLaunch.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

bool startInstaller(const QString &path, bool, QString *error)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        *error = QStringLiteral("no installer at %1").arg(path);
        return false;
    }
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("deb") || suffix == QLatin1String("rpm")) {
        // The desktop's package installer asks for the rights it needs itself.
        if (!QProcess::startDetached(QStringLiteral("xdg-open"), {info.absoluteFilePath()})) {
            *error = QStringLiteral("xdg-open could not be started for %1").arg(path);
            return false;
        }
        return true;
    }
    QFile file(info.absoluteFilePath());
    if (!file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ReadOwner)) {
        *error = file.errorString();
        return false;
    }
    if (!QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath())) {
        *error = QStringLiteral("%1 could not be started").arg(path);
        return false;
    }
    return true;
}
