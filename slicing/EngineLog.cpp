#include "slicing/EngineLog.h"

#include <QDebug>

namespace Lamellor
{

void engineLog(const QString &text)
{
    QString line = text;
    while (line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    qInfo().noquote() << line;
}

} // namespace Lamellor
