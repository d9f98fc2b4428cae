#include "app/AppDataDir.h"

#include <QDir>

QString appDataDir()
{
    return QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
}
