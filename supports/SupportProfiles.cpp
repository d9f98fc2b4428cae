#include "supports/SupportProfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>

namespace
{
const char *const kGroup = "support";
// Checked in this order; the first failure ends the load.
const char *const kNumberKeys[] = {"overhangDiameter", "linkPointDiameter", "supportGaps",
                                   "supportDiameter",  "supportHeight",     "supportBaseHeight",
                                   "supportBaseExtern"};
} // namespace

bool checkProfileValue(const QString &value, bool allowEmpty)
{
    const QString text = value.simplified();
    if (text.isEmpty())
        return allowEmpty;
    for (const QChar c : text)
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.'))
            return false;
    return true;
}

bool loadSupportProfile(const QString &path, SupportParameters *params, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return fail(QStringLiteral("Support profile \"%1\" cannot be read").arg(path));
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return fail(QStringLiteral("Support profile \"%1\" is not a valid INI file").arg(path));
    ini.beginGroup(QLatin1String(kGroup));

    float numbers[7];
    for (int k = 0; k < 7; ++k) {
        const QString key = QLatin1String(kNumberKeys[k]);
        if (!ini.contains(key))
            return fail(QStringLiteral("Support profile \"%1\": key \"%2\" is missing")
                            .arg(info.fileName(), key));
        // A value with a comma comes back as a list; join it so the message shows what was typed.
        const QVariant raw = ini.value(key);
        const QString value = raw.type() == QVariant::StringList
                                  ? raw.toStringList().join(QLatin1Char(','))
                                  : raw.toString();
        bool ok = checkProfileValue(value, false);
        if (ok)
            numbers[k] = value.simplified().toFloat(&ok);
        if (!ok)
            return fail(QStringLiteral("Support profile \"%1\": key \"%2\" has the value \"%3\", "
                                       "which is not a number")
                            .arg(info.fileName(), key, value));
    }

    SupportParameters p = *params;
    const QString method = ini.value(QStringLiteral("method")).toString().trimmed().toLower();
    if (method == QLatin1String("a"))
        p.method = 0;
    else if (method == QLatin1String("b"))
        p.method = 1;
    p.overhangRadius = numbers[0] / 2.0f;
    p.linkPointRadius = numbers[1] / 2.0f;
    p.supportGaps = numbers[2];
    p.supportRadius = numbers[3] / 2.0f;
    p.supportHeight = numbers[4];
    p.baseHeight = numbers[5];
    p.baseExtern = numbers[6];
    p.hasSupports = ini.value(QStringLiteral("isHasSupports")).toBool();
    p.baseMode = ini.value(QStringLiteral("isAddSupportBase")).toBool() ? 1 : 2;
    p.profileName = info.fileName().toUtf8();
    *params = p;
    return true;
}

QStringList listSupportProfiles(const QString &directory)
{
    QStringList out;
    const QDir dir(directory);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files, QDir::NoSort))
        if (info.suffix().toLower() == QLatin1String("ini"))
            out << info.fileName();
    return out;
}

QString resolveSupportProfile(const QString &nameOrPath, const QString &directory)
{
    if (nameOrPath.isEmpty())
        return QString();
    if (QFileInfo(nameOrPath).isFile())
        return QFileInfo(nameOrPath).absoluteFilePath();
    const QDir dir(directory);
    for (const QString &name : {nameOrPath, nameOrPath + QStringLiteral(".ini")}) {
        const QFileInfo info(dir.filePath(name));
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return QString();
}

bool copyShippedProfiles(const QString &sourceDir, const QString &destinationDir, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    QDir dest(destinationDir);
    if (!dest.exists() && !QDir().mkpath(destinationDir))
        return fail(QStringLiteral("Cannot create the profile folder \"%1\"").arg(destinationDir));
    const QDir source(sourceDir);
    for (const QString &name : listSupportProfiles(sourceDir)) {
        const QString target = dest.filePath(name);
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::copy(source.filePath(name), target))
            return fail(QStringLiteral("Cannot copy the profile \"%1\" to \"%2\"")
                            .arg(name, destinationDir));
        // Copies out of resources are read-only; the user may edit the copy.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return true;
}
