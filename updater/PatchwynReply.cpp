#include "updater/PatchwynReply.h"

#include <QRegularExpression>
#include <QStringList>

namespace PatchwynReply
{

QString attribute(const QString &reply, const QString &key, int from, bool *found)
{
    const QRegularExpression pattern(
        QStringLiteral("(?<![A-Za-z0-9_])%1=\"(.*?)\"").arg(QRegularExpression::escape(key)),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = pattern.match(reply, from);
    if (found)
        *found = match.hasMatch();
    return match.hasMatch() ? match.captured(1) : QString();
}

bool hasAttribute(const QString &reply, const QString &key, int from)
{
    bool found = false;
    attribute(reply, key, from, &found);
    return found;
}

bool isNewer(const QString &offered, const QString &current)
{
    const QStringList a = offered.trimmed().split(QLatin1Char('.'));
    const QStringList b = current.trimmed().split(QLatin1Char('.'));
    const int n = qMax(a.size(), b.size());
    for (int i = 0; i < n; ++i) {
        bool okA = true;
        bool okB = true;
        const QString pa = a.value(i);
        const QString pb = b.value(i);
        const qlonglong x = pa.isEmpty() ? 0 : pa.toLongLong(&okA);
        const qlonglong y = pb.isEmpty() ? 0 : pb.toLongLong(&okB);
        if (!okA || !okB)
            return offered.trimmed() > current.trimmed();
        if (x != y)
            return x > y;
    }
    return false;
}

QString safeFileName(const QString &offered)
{
    QString name = offered;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.section(QLatin1Char('/'), -1);
    QString clean;
    for (const QChar c : name) {
        if (c.unicode() >= 0x20 && c != QLatin1Char(':'))
            clean += c;
    }
    clean = clean.trimmed();
    if (clean.isEmpty() || clean == QLatin1String(".") || clean == QLatin1String(".."))
        return QString();
    return clean;
}

} // namespace PatchwynReply
