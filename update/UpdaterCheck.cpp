#include "update/UpdaterCheck.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>

HttpUpgrade::Result runUpdaterCheck(HttpUpgrade &upgrade, const QString &act,
                                    const QString &current, const QString &settingsKey)
{
    const HttpUpgrade::Result result = upgrade.checkVersion(act, current);
    QString title;
    QString text;
    QString address;
    if (result.first) {
        const QStringList found = result.second.toStringList();
        title = QStringLiteral("tip");
        text = QCoreApplication::translate("HttpUpgrade",
                                           "New Version:%1\nCurrent Version:%2\nAre you sure to "
                                           "Upgrade?")
                   .arg(found.value(0), found.value(1));
        address = found.value(2);
    } else {
        title = QStringLiteral("error");
        text = result.second.toString();
    }
    QSettings().setValue(settingsKey, address);
    return {result.first, QStringLiteral("%1:%2").arg(title, text)};
}

QString checkMessageText(const QString &message)
{
    const int colon = message.indexOf(QLatin1Char(':'));
    return colon < 0 ? message : message.mid(colon + 1);
}
