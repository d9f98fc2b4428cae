#pragma once

#include <QByteArray>
#include <QString>

namespace updatetest
{

// Points the default QSettings at an INI file in a temporary folder for the whole test program
// (once) and returns that folder.
QString isolatedSettings();

// Writes bytes to root/relative, creating the folders.
void put(const QString &root, const QString &relative, const QByteArray &bytes);

} // namespace updatetest
