#include "update/DlpRPiUpdater.h"

#include "update/UpdateService.h"
#include "update/UpdaterCheck.h"

#include <QSettings>

namespace
{
const char *const kSettingsKey = "RPi/upgradeUrl";
}

DlpRPiUpdater::DlpRPiUpdater(const QString &currentVersion, QObject *parent)
    : HttpUpgrade(QLatin1String(kSettingsKey), parent), m_currentVersion(currentVersion)
{
    setEndpoint(UpdateService::queryEndpoint(UpdateService::baseAddress()));
}

HttpUpgrade::Result DlpRPiUpdater::check()
{
    return runUpdaterCheck(*this, QStringLiteral("RasspberryPiA_latestversion"), m_currentVersion,
                           QLatin1String(kSettingsKey));
}

void DlpRPiUpdater::upgrade()
{
    const Result checked = check();
    m_text = checked.second.toString();
    if (!checked.first) {
        emit sShowInfo(m_text);
        return;
    }
    if (!ask(QStringLiteral("upgrade"), m_text))
        return;
    const QString path = download(QSettings().value(QLatin1String(kSettingsKey)).toString());
    if (!path.isEmpty())
        emit sUpload(path);
}
