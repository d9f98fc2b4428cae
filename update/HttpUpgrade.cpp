#include "update/HttpUpgrade.h"

#include "update/UpgradeReply.h"

#include <QEventLoop>
#include <QStringList>

HttpUpgrade::HttpUpgrade(const QString &settingsKey, QObject *parent)
    : QObject(parent), m_query(settingsKey)
{
    connect(&m_query, &HttpQuery::sError, this, &HttpUpgrade::sError);
    connect(&m_query, &HttpQuery::sFinished, this, &HttpUpgrade::sFinished);
    connect(&m_query, &HttpQuery::sProgress, this, &HttpUpgrade::onProgress);
    connect(this, &HttpUpgrade::sCancel, &m_query, &HttpQuery::onCancel);
}

const char *HttpUpgrade::notConfiguredMessage()
{
    return QT_TR_NOOP("updates are not configured");
}

HttpUpgrade::Result HttpUpgrade::askService(const QString &act)
{
    if (m_endpoint.isEmpty())
        return {false, QString::fromLatin1(notConfiguredMessage())};
    const QString reply = m_query.query(act, m_endpoint);
    if (UpgradeReply::isFailure(reply))
        return {false, reply};
    return {true, reply.split(QLatin1Char(','))};
}

HttpUpgrade::Result HttpUpgrade::checkVersion(const QString &act, const QString &currentVersion)
{
    const Result asked = askService(act);
    if (!asked.first)
        return asked;
    const UpgradeReply::Items items = UpgradeReply::parseItems(asked.second.toStringList());
    if (!items.hasVersion)
        return {false, QStringLiteral("version unit is empty!")};
    if (!UpgradeReply::isNewerVersion(items.version, currentVersion))
        return {false, QStringLiteral("No new version to upgrade")};
    if (!items.hasUrl)
        return {false, QStringLiteral("url unit is empty!")};
    return {true, QStringList{items.version, currentVersion, items.url}};
}

QString HttpUpgrade::download(const QString &url)
{
    m_clock.start();
    QEventLoop loop;
    connect(&m_query, &HttpQuery::sFinished, &loop, &QEventLoop::quit);
    if (m_query.download(url).isNull())
        return QString();
    if (m_query.isDownloading())
        loop.exec();
    return m_query.lastDownloadPath();
}

void HttpUpgrade::onProgress(qlonglong received, qlonglong total)
{
    const qint64 elapsed = m_clock.isValid() ? m_clock.elapsed() : 0;
    emit sProgress(UpgradeReply::rateText(received, elapsed), received, total);
}
