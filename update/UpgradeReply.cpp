#include "update/UpgradeReply.h"

#include <QVector>

namespace UpgradeReply
{

Items parseItems(const QStringList &items)
{
    Items out;
    for (const QString &item : items) {
        const QStringList parts = item.split(QLatin1Char('='));
        const QString key = parts.value(0);
        const QString value = parts.size() == 2 ? parts[1] : QString();
        if (!out.hasVersion && key.contains(QLatin1String("version"))) {
            out.hasVersion = true;
            out.version = value;
        } else if (!out.hasUrl && key.contains(QLatin1String("url"))) {
            out.hasUrl = true;
            out.url = value;
        } else if (!out.hasAct && key.contains(QLatin1String("act"))) {
            out.hasAct = true;
            out.act = value;
        }
    }
    return out;
}

bool isFailure(const QString &reply)
{
    return reply.contains(QLatin1String(kNoActMarker)) ||
           reply.contains(QLatin1String(kTimeoutMarker));
}

bool isNewerVersion(const QString &offered, const QString &current)
{
    const QStringList a = offered.split(QLatin1Char('.'));
    const QStringList b = current.split(QLatin1Char('.'));
    if (a.size() != 4 || b.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        // A part that is not a number reads as 0, like an empty one.
        const qlonglong x = a[i].trimmed().toLongLong();
        const qlonglong y = b[i].trimmed().toLongLong();
        if (x != y)
            return x > y;
    }
    return false;
}

QString rateText(qint64 received, qint64 elapsedMs)
{
    const double speed = double(received) * 1000.0 / double(elapsedMs > 0 ? elapsedMs : 1);
    double shown = speed;
    QString unit;
    if (speed < 1024.0) {
        unit = QStringLiteral("bytes/sec");
    } else if (speed < 1048576.0) {
        shown = speed / 1024.0;
        unit = QStringLiteral("kB/s");
    } else {
        shown = speed / 1048576.0;
        unit = QStringLiteral("MB/s");
    }
    return QStringLiteral("%1 %2").arg(shown, 0, 'f', 3).arg(unit);
}

} // namespace UpgradeReply
