#include "maintenance/MaintenanceCli.h"

#include "maintenance/DeviceMaintenance.h"
#include "maintenance/SshConnection.h"
#include "maintenance/SshLoginSettings.h"
#include "maintenance/dsshsession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QSettings>
#include <QTextStream>

namespace
{

const char kUsage[] =
    "Usage: Resinor --maintain IP OPERATION [FILE|DIR] [--ssh-port N] [--ssh-user NAME]\n"
    "                [--ssh-identity KEYFILE]\n"
    "  OPERATION is one of\n"
    "    calibration FILE      send a light-engine calibration file (.ini)\n"
    "    light-power FILE      send a light-power test image (.bmp)\n"
    "    material FILE         send a material data file (.ini)\n"
    "    reset-calibration     remove the light-engine calibration\n"
    "    system-config FILE    install a system configuration package (.zip) and reboot\n"
    "    core-dump DIR         fetch the core file bundle corefile.tar.gz into DIR\n"
    "  The password is the setting ssh/password or the environment variable\n"
    "  RESINOR_SSH_PASSWORD; it is never taken from the command line.\n"
    "  Exit status: 0 all steps succeeded, 1 a step failed, 2 usage error.\n";

struct Request {
    QString host;
    QString operation;
    QString path;
    SshLoginSettings login;
};

bool needsPath(const QString &operation)
{
    return operation != QLatin1String("reset-calibration");
}

bool knownOperation(const QString &operation)
{
    static const char *const operations[] = {"calibration",       "light-power",   "material",
                                             "reset-calibration", "system-config", "core-dump"};
    for (const char *o : operations)
        if (operation == QLatin1String(o))
            return true;
    return false;
}

bool parse(const QStringList &args, Request *request, QString *error)
{
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        auto value = [&](QString *out) {
            if (i + 1 >= args.size() || args.at(i + 1).isEmpty()) {
                *error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            *out = args.at(++i);
            return true;
        };
        if (a == QLatin1String("--ssh-port")) {
            QString text;
            if (!value(&text))
                return false;
            bool ok = false;
            const int port = text.toInt(&ok);
            if (!ok || port <= 0 || port > 65535) {
                *error = QStringLiteral("--ssh-port needs a port number from 1 to 65535");
                return false;
            }
            request->login.port = quint16(port);
        } else if (a == QLatin1String("--ssh-user")) {
            if (!value(&request->login.user))
                return false;
        } else if (a == QLatin1String("--ssh-identity")) {
            if (!value(&request->login.identityFile))
                return false;
            if (!QFileInfo(request->login.identityFile).isFile()) {
                *error = QStringLiteral("--ssh-identity: no such key file %1")
                             .arg(request->login.identityFile);
                return false;
            }
        } else if (a.startsWith(QLatin1String("--ssh-password"))) {
            *error = QStringLiteral("the password is not taken from the command line; use the "
                                    "setting ssh/password or RESINOR_SSH_PASSWORD");
            return false;
        } else if (a.startsWith(QLatin1String("--")) && a != QLatin1String("--")) {
            *error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else {
            positional << a;
        }
    }
    if (positional.size() < 2) {
        *error = QStringLiteral("--maintain needs a printer address and an operation");
        return false;
    }
    request->host = positional.at(0);
    request->operation = positional.at(1);
    if (QHostAddress(request->host).isNull() && request->host.contains(QLatin1Char(' '))) {
        *error = QStringLiteral("not a printer address: %1").arg(request->host);
        return false;
    }
    if (!knownOperation(request->operation)) {
        *error = QStringLiteral("unknown operation %1").arg(request->operation);
        return false;
    }
    const int expected = needsPath(request->operation) ? 3 : 2;
    if (positional.size() != expected) {
        *error = needsPath(request->operation)
                     ? QStringLiteral("%1 needs one %2")
                           .arg(request->operation, request->operation == QLatin1String("core-dump")
                                                        ? QStringLiteral("folder")
                                                        : QStringLiteral("file"))
                     : QStringLiteral("%1 takes no file").arg(request->operation);
        return false;
    }
    if (expected == 3)
        request->path = positional.at(2);
    return true;
}

} // namespace

const char *maintainUsage()
{
    return kUsage;
}

int runMaintainCommandLine(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The same settings file as the program's window uses.
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Resinor"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(2);
    if (args.contains(QStringLiteral("--help"))) {
        out << kUsage;
        return 0;
    }
    Request request;
    request.login = SshLoginSettings::load();
    const QByteArray envPassword = qgetenv("RESINOR_SSH_PASSWORD");
    if (!envPassword.isEmpty())
        request.login.password = QString::fromLocal8Bit(envPassword);
    QString error;
    if (!parse(args, &request, &error)) {
        err << "Resinor: " << error << "\n\n" << kUsage;
        return 2;
    }
    const QString path =
        request.path.isEmpty() ? QString() : QFileInfo(request.path).absoluteFilePath();
    if (!path.isEmpty()) {
        const bool folder = request.operation == QLatin1String("core-dump");
        if (folder ? !QFileInfo(path).isDir() : !QFileInfo(path).isFile()) {
            err << "Resinor: no such " << (folder ? "folder " : "file ") << request.path << '\n';
            return 1;
        }
    }

    auto step = [&](const QString &text) {
        out << "maintain: " << text << '\n';
        out.flush();
    };
    dsshsession *session = dsshsession::instance();
    request.login.applyTo(session);
    step(QStringLiteral("connect: %1@%2 port %3")
             .arg(request.login.user, request.host)
             .arg(request.login.port));
    QSsh::SshConnection *connection =
        session->connect(request.host, request.login.user, request.login.password);
    if (!connection) {
        const QString why = session->lastConnectTimedOut() ? QStringLiteral("ssh connect time out")
                                                           : session->lastError();
        step(QStringLiteral("failed: connect: %1").arg(why));
        return 1;
    }

    DeviceMaintenance maintenance(connection);
    QObject::connect(&maintenance, &DeviceMaintenance::sStep, [&](const QString &s) { step(s); });
    QObject::connect(&maintenance, &DeviceMaintenance::sProgress, [&](const QString &m, int p) {
        if (p == 100)
            step(QStringLiteral("progress: %1 %2%").arg(m).arg(p));
    });
    DeviceMaintenance::Outcome outcome;
    const QString &op = request.operation;
    if (op == QLatin1String("calibration"))
        outcome = maintenance.uploadCalibration(path);
    else if (op == QLatin1String("light-power"))
        outcome = maintenance.uploadLightPowerImage(path);
    else if (op == QLatin1String("material"))
        outcome = maintenance.uploadMaterial(path);
    else if (op == QLatin1String("reset-calibration"))
        outcome = maintenance.resetCalibration();
    else if (op == QLatin1String("system-config"))
        outcome = maintenance.installSystemConfig(path);
    else
        outcome = maintenance.downloadCoreDump(path);

    if (!outcome.ok) {
        step(QStringLiteral("failed: %1: %2").arg(outcome.failedStep, outcome.error));
        return 1;
    }
    step(QStringLiteral("done: %1 on %2").arg(op, request.host));
    return 0;
}
