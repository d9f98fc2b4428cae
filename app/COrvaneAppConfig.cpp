#include "app/COrvaneAppConfig.h"

#include <QCoreApplication>
#include <QDir>

namespace Orvane3Ds
{

COrvaneAppConfig::COrvaneAppConfig() : m_startTime(QDateTime::currentDateTime())
{
    m_appDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

bool COrvaneAppConfig::setApplicationPath(const QString &appDataDir)
{
    m_softwareVersion = QStringLiteral("1.0.0.1");
    const QDir app(m_appDir);
    m_platformModel = app.filePath(QStringLiteral("model/platform.stl"));
    m_platformModel1 = app.filePath(QStringLiteral("model/platform1.stl"));
    m_sampleTuning = app.filePath(QStringLiteral("model/tuning.orvane"));
    m_sampleDeer = app.filePath(QStringLiteral("model/Deer.orvane"));
    m_colorFile = app.filePath(QStringLiteral("config/color.ini"));
    m_suppliesDoc = app.filePath(QStringLiteral("doc/SuppliesIntroduction.pdf"));
    m_suppliesDocEn = app.filePath(QStringLiteral("doc/SuppliesIntroduction_en.pdf"));
    m_defaultDescription = app.filePath(QStringLiteral("config/v0.dsc"));
    m_shippedProfiles = app.filePath(QStringLiteral("Orvane Cfgs"));

    m_appDataDir = appDataDir;
    m_controlDb = QStringLiteral("%1/Mirrowen/control.db").arg(appDataDir);
    m_dataDir = QStringLiteral("%1/Orvane").arg(appDataDir);
    m_userDir = QStringLiteral("%1/Resinor").arg(m_dataDir);
    m_userProfiles = QDir(m_userDir).filePath(QStringLiteral("Orvane Cfgs"));
    m_tempDir = QStringLiteral("%1/Temp").arg(m_userDir);
    m_descriptionFile = QStringLiteral("%1/v0.dsc").arg(m_userDir);
    m_runDir = QStringLiteral("%1/%2").arg(m_tempDir, runDirName(m_startTime));
    m_minimumGlVersion = QStringLiteral("2.1.0");
    // No built-in update service: the update library resolves the configured address
    // (--update-url, RESINOR_UPDATE_URL or the setting update/serviceUrl).
    m_updateQueryAddress.clear();
    return true;
}

QString COrvaneAppConfig::runDirName(const QDateTime &start)
{
    const QDate d = start.date();
    const QTime t = start.time();
    return QString::number(d.year()) + QString::number(d.month()) + QString::number(d.day()) +
           QString::number(t.hour()) + QString::number(t.minute()) + QString::number(t.second());
}

} // namespace Orvane3Ds
