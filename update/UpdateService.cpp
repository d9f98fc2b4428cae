#include "update/UpdateService.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTimer>

namespace UpdateService
{

namespace
{
QString &commandLineAddress()
{
    static QString address;
    return address;
}

Starter &starter()
{
    static Starter start;
    return start;
}

QString withoutTrailingSlash(QString base)
{
    base = base.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}
} // namespace

void setStarter(Starter start)
{
    starter() = std::move(start);
}

void setCommandLineAddress(const QString &base)
{
    commandLineAddress() = base;
}

QString baseAddress()
{
    if (!commandLineAddress().trimmed().isEmpty())
        return withoutTrailingSlash(commandLineAddress());
    const QString env = qEnvironmentVariable("RESINOR_UPDATE_URL");
    if (!env.trimmed().isEmpty())
        return withoutTrailingSlash(env);
    return withoutTrailingSlash(QSettings().value(QStringLiteral("update/serviceUrl")).toString());
}

QString queryEndpoint(const QString &base)
{
    return base.isEmpty() ? QString() : base + QStringLiteral("/orvane3DsoftwareDLP/");
}

QString updaterUrl(const QString &base)
{
    return QStringLiteral("%1/update/").arg(base);
}

QString changeLogUrl(const QString &base, const QString &programName)
{
    return QStringLiteral("%1/changelog?name=%2").arg(base, programName);
}

QString updaterProgramPath()
{
#ifdef Q_OS_WIN
    const char *name = "%1/Patchwyn.exe";
#else
    const char *name = "%1/Patchwyn";
#endif
    return QString::fromLatin1(name).arg(QCoreApplication::applicationDirPath());
}

QStringList updaterArguments(const QString &name, const QString &version, const QString &base,
                             const QString &language, bool commandMode)
{
    QStringList args{QStringLiteral("--name"),     name,
                     QStringLiteral("--version"),  version,
                     QStringLiteral("--url"),      updaterUrl(base),
                     QStringLiteral("--language"), language};
    if (commandMode)
        args << QStringLiteral("--mode") << QStringLiteral("cmd");
    return args;
}

bool startUpdater(const QString &name, const QString &version, const QString &language,
                  bool commandMode, QString *error)
{
    const QString base = baseAddress();
    if (base.isEmpty()) {
        *error = QStringLiteral("updates are not configured");
        qDebug("no update service is configured; the updater is not started");
        return false;
    }
    const QString program = updaterProgramPath();
    const QStringList args = updaterArguments(name, version, base, language, commandMode);
    qDebug().noquote() << "starting the updater:" << program << args.join(QLatin1Char(' '));
    const bool started =
        starter() ? starter()(program, args)
                  : QProcess::startDetached(program, args, QCoreApplication::applicationDirPath());
    if (!started) {
        *error = QStringLiteral("%1 could not be started").arg(QDir::toNativeSeparators(program));
        return false;
    }
    return true;
}

void scheduleAutomaticCheck(QObject *owner, const QString &name, const QString &version,
                            const QString &language)
{
    qDebug("the automatic update check starts the updater in 3 s");
    QTimer::singleShot(3000, Qt::CoarseTimer, owner, [name, version, language] {
        QString error;
        if (!startUpdater(name, version, language, true, &error))
            qDebug().noquote() << "the automatic update check did not start the updater:" << error;
    });
}

} // namespace UpdateService
