#include "maintenance/HostKeyStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace QSsh
{

HostKeyStore::HostKeyStore(QString path) : m_path(std::move(path)) {}

QMap<QString, QString> HostKeyStore::read() const
{
    QMap<QString, QString> keys;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const int space = line.indexOf(QLatin1Char(' '));
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || space <= 0)
            continue;
        keys.insert(line.left(space), line.mid(space + 1).trimmed());
    }
    return keys;
}

QString HostKeyStore::fingerprint(const QString &hostId) const
{
    return read().value(hostId);
}

bool HostKeyStore::store(const QString &hostId, const QString &fingerprint, QString *error)
{
    QMap<QString, QString> keys = read();
    keys.insert(hostId, fingerprint);
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray text;
    for (auto it = keys.constBegin(); it != keys.constEnd(); ++it)
        text += it.key().toUtf8() + ' ' + it.value().toUtf8() + '\n';
    file.write(text);
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace QSsh
