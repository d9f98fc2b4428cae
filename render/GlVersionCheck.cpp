#include "render/GlVersionCheck.h"

namespace Orvane3Ds
{

namespace
{

// Negative, zero or positive like strcmp.
int comparePart(const QString &a, const QString &b)
{
    bool aNumber = false;
    bool bNumber = false;
    const qlonglong x = a.toLongLong(&aNumber);
    const qlonglong y = b.toLongLong(&bNumber);
    if (aNumber && bNumber)
        return x < y ? -1 : (x > y ? 1 : 0);
    return QString::compare(a, b, Qt::CaseSensitive);
}

} // namespace

int checkGlVersion(const QStringList &probe, const QString &required, QString *detected)
{
    if (probe.size() < 5)
        return 255;
    const QString firstWord = probe.at(0).split(QLatin1Char(' ')).value(0);
    const QStringList driver = firstWord.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    const QStringList wanted = required.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (driver.isEmpty() || wanted.isEmpty())
        return 255;
    const int major = comparePart(driver.at(0), wanted.at(0));
    if (major > 0)
        return 0;
    if (major == 0 && comparePart(driver.value(1, QStringLiteral("0")),
                                  wanted.value(1, QStringLiteral("0"))) >= 0)
        return 0;
    if (detected)
        *detected = firstWord;
    return 254;
}

} // namespace Orvane3Ds
