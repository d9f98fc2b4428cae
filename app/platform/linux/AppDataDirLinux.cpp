#include "app/AppDataDir.h"

#include <QStandardPaths>

QString appDataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}
