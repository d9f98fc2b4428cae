#include "update/DlpPCUpdater.h"

#include "app/DSharedApp.h"
#include "update/InstallerLaunch.h"
#include "update/UpdateService.h"
#include "update/UpdaterCheck.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

namespace
{
const char *const kSettingsKey = "PC/upgradeUrl";
}

DlpPCUpdater::DlpPCUpdater(DSharedApp *app, QObject *parent)
    : HttpUpgrade(QLatin1String(kSettingsKey), parent)
{
    m_version = [app] { return app->softwareVersionText(); };
    init();
}

DlpPCUpdater::DlpPCUpdater(const QString &currentVersion, QObject *parent)
    : HttpUpgrade(QLatin1String(kSettingsKey), parent)
{
    m_version = [currentVersion] { return currentVersion; };
    init();
}

void DlpPCUpdater::init()
{
    setEndpoint(UpdateService::queryEndpoint(UpdateService::baseAddress()));
    m_startInstaller = [](const QString &path, QString *error) {
        return startInstaller(path, true, error);
    };
    m_end = [] { QCoreApplication::exit(0); };
}

HttpUpgrade::Result DlpPCUpdater::check()
{
    return runUpdaterCheck(*this, QStringLiteral("windows_latestversion"), m_version(),
                           QLatin1String(kSettingsKey));
}

void DlpPCUpdater::upgrade()
{
    const Result checked = check();
    m_text = checked.second.toString();
    if (!checked.first) {
        emit sShowInfo(m_text);
        return;
    }
    if (!ask(QStringLiteral("upgrade"), m_text))
        return;
    const QString url = QSettings().value(QLatin1String(kSettingsKey)).toString();
    const QString path = download(url);
    if (path.isEmpty())
        return; // reported through sError
    // The installer replaces this program: the user saves or discards the scene first, and
    // choosing Cancel keeps the program running with the installer left in the download folder.
    if (m_leave && !m_leave()) {
        emit sShowInfo(tr("The installer was kept at %1").arg(path));
        return;
    }
    QString error;
    if (!m_startInstaller(path, &error)) {
        qWarning().noquote() << "the installer could not be started:" << error;
        emit sError(error);
        return;
    }
    m_end();
}
