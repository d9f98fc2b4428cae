#include "maintenance/DeviceMaintenance.h"

#include "maintenance/SshConnection.h"
#include "maintenance/ddownload.h"
#include "maintenance/dexecute.h"
#include "maintenance/dupload.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace
{

const char kContext[] = "DlpDeviceDetails";
const char kHome[] = "/home/pi";
const char kWorkFolder[] = "/home/pi/syscfg";
// The fixed password the controller's system packages are made with.
const char kPackagePassword[] = "48271639kovrin";

// "<what failed>: <why>", the remote error on a line of its own when it has several.
QString failedWith(const QString &what, const QString &error)
{
    return error.contains(QLatin1Char('\n')) ? QStringLiteral("%1:\n%2").arg(what, error)
                                             : QStringLiteral("%1: %2").arg(what, error);
}

} // namespace

DeviceMaintenance::DeviceMaintenance(QSsh::SshConnection *connection, QObject *parent)
    : QObject(parent), m_connection(connection)
{
}

QString DeviceMaintenance::text(const char *key)
{
    return QCoreApplication::translate(kContext, key);
}

QString DeviceMaintenance::programFolder()
{
    return QStringLiteral("/home/pi/.Brevimund");
}

QString DeviceMaintenance::folderCommand(const QString &folder)
{
    return QStringLiteral("dir=%1 ; if [ ! -d $dir ] ; then mkdir $dir ; fi ").arg(folder);
}

QString DeviceMaintenance::subfolderCommand(const QString &folder)
{
    return QStringLiteral("dir=%1 ;if [ ! -d $dir ] ; then mkdir $dir ; fi ").arg(folder);
}

QString DeviceMaintenance::resetCalibrationCommand()
{
    return QStringLiteral("file=/home/pi/.Brevimund/lightCalib/LightMachineCalibration.ini ; "
                          "if [ -f $file ] ; then rm $file ; fi ");
}

QString DeviceMaintenance::prepareSysCfgCommand()
{
    return QStringLiteral("syscfg=%1 ; if [ -d $syscfg ] ; then sudo rm $syscfg -rf;fi ; "
                          "mkdir $syscfg ;")
        .arg(QLatin1String(kWorkFolder));
}

QString DeviceMaintenance::installSysCfgCommand(const QString &remotePackage)
{
    // The prepare command comes again so that $syscfg exists in this shell too.
    return prepareSysCfgCommand() + QStringLiteral("unzip -P ") + QLatin1String(kPackagePassword) +
           QStringLiteral(" %1 -d $syscfg ; ").arg(remotePackage) +
           QStringLiteral("cd $syscfg ;sudo chmod +x setup.sh; ./setup.sh;");
}

QString DeviceMaintenance::remotePackageName(const QString &localFile)
{
    QString name = QFileInfo(localFile).fileName();
    for (QChar &c : name) {
        const ushort u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                           (u >= '0' && u <= '9') || u == '.' || u == '_' || u == '-';
        if (!plain)
            c = QLatin1Char('_');
    }
    if (name.startsWith(QLatin1Char('-')))
        name[0] = QLatin1Char('_');
    return name;
}

bool DeviceMaintenance::noConnection(Outcome *outcome)
{
    if (m_connection && m_connection->state() == QSsh::SshConnection::Connected)
        return false;
    outcome->ok = false;
    outcome->failedStep = QStringLiteral("connect");
    outcome->error = QStringLiteral("The SSH environment was not successfully established.");
    outcome->status = text("The SSH environment was not successfully established.");
    return true;
}

DeviceMaintenance::Outcome DeviceMaintenance::finish(Outcome outcome, const QString &status)
{
    outcome.status = status;
    if (!status.isEmpty())
        emit sStatus(status);
    return outcome;
}

bool DeviceMaintenance::run(const QString &command, Outcome *outcome, bool hostMayGoAway)
{
    emit sStep(QStringLiteral("run: %1").arg(command));
    dexecute job(m_connection, this);
    if (job.execute(command))
        return true;
    if (hostMayGoAway && job.connectionLost())
        return true;
    outcome->ok = false;
    outcome->failedStep = QStringLiteral("run: %1").arg(command);
    outcome->error = job.error().trimmed();
    if (outcome->error.isEmpty())
        outcome->error = QStringLiteral("Connection is not established");
    return false;
}

bool DeviceMaintenance::upload(const QString &local, const QString &remote, Outcome *outcome)
{
    emit sStep(QStringLiteral("upload: %1 -> %2").arg(QDir::toNativeSeparators(local), remote));
    dupload job(m_connection, this);
    connect(&job, &dupload::sProgress, this, &DeviceMaintenance::sProgress);
    if (job.upload(local, remote))
        return true;
    outcome->ok = false;
    outcome->failedStep = QStringLiteral("upload: %1 -> %2").arg(local, remote);
    outcome->error = job.error().trimmed();
    if (outcome->error.isEmpty())
        outcome->error = QStringLiteral("Connection is not established");
    return false;
}

DeviceMaintenance::Outcome DeviceMaintenance::uploadInto(const QString &localFile,
                                                         const QString &subfolder,
                                                         const QString &remoteName)
{
    Outcome outcome;
    if (noConnection(&outcome))
        return finish(outcome, outcome.status);
    if (!QFileInfo(localFile).isFile()) {
        outcome.failedStep = QStringLiteral("read %1").arg(localFile);
        outcome.error = QStringLiteral("No such file");
        return finish(outcome, text("Error:%1").arg(outcome.error));
    }
    const QString folder = programFolder() + QLatin1Char('/') + subfolder;
    if (!run(folderCommand(programFolder()), &outcome) || !run(subfolderCommand(folder), &outcome))
        return finish(outcome, text("Error:%1").arg(outcome.error));
    // Whatever the local name, the printer looks for the fixed one.
    if (!upload(localFile, folder + QLatin1Char('/') + remoteName, &outcome))
        return finish(outcome, text("Error:%1").arg(outcome.error));
    outcome.ok = true;
    return outcome;
}

DeviceMaintenance::Outcome DeviceMaintenance::uploadCalibration(const QString &localFile)
{
    return uploadInto(localFile, QStringLiteral("lightCalib"),
                      QStringLiteral("LightMachineCalibration.ini"));
}

DeviceMaintenance::Outcome DeviceMaintenance::uploadLightPowerImage(const QString &localFile)
{
    return uploadInto(localFile, QStringLiteral("Laser"), QStringLiteral("Laser.bmp"));
}

DeviceMaintenance::Outcome DeviceMaintenance::uploadMaterial(const QString &localFile)
{
    return uploadInto(localFile, QStringLiteral("Material"), QStringLiteral("material.ini"));
}

DeviceMaintenance::Outcome DeviceMaintenance::resetCalibration()
{
    Outcome outcome;
    if (noConnection(&outcome))
        return finish(outcome, outcome.status);
    if (!run(resetCalibrationCommand(), &outcome))
        return finish(outcome, QStringLiteral("%1%2").arg(
                                   text("Light Machine config reset failed:"), outcome.error));
    outcome.ok = true;
    return finish(outcome, text("Light Machine config reset successful"));
}

DeviceMaintenance::Outcome DeviceMaintenance::installSystemConfig(const QString &packageFile)
{
    Outcome outcome;
    if (noConnection(&outcome))
        return finish(outcome, outcome.status);
    if (!QFileInfo(packageFile).isFile()) {
        outcome.failedStep = QStringLiteral("read %1").arg(packageFile);
        outcome.error = QStringLiteral("No such file");
        return finish(outcome, text("Error:%1").arg(outcome.error));
    }
    const QString remotePackage =
        QStringLiteral("%1/%2").arg(QLatin1String(kHome), remotePackageName(packageFile));
    if (!run(prepareSysCfgCommand(), &outcome))
        return finish(outcome, outcome.error);
    if (!upload(packageFile, remotePackage, &outcome))
        return finish(outcome, failedWith(text("upgrade package upload failed"), outcome.error));
    // Stops here when the unzip or the setup fails: a broken package never reboots.
    if (!run(installSysCfgCommand(remotePackage), &outcome))
        return finish(outcome, failedWith(text("install upgrade package failed"), outcome.error));
    if (!run(QStringLiteral("sudo reboot"), &outcome, true))
        return finish(outcome, failedWith(text("device reboot failed"), outcome.error));
    outcome.ok = true;
    return outcome;
}

DeviceMaintenance::Outcome DeviceMaintenance::downloadCoreDump(const QString &folder)
{
    Outcome outcome;
    if (noConnection(&outcome))
        return finish(outcome, outcome.status);
    if (!QFileInfo(folder).isDir()) {
        outcome.failedStep = QStringLiteral("open %1").arg(folder);
        outcome.error = QStringLiteral("No such folder");
        return finish(outcome, text("Error:%1").arg(outcome.error));
    }
    if (!run(QStringLiteral("sudo cp /home/pi/DlpA/OrvaneDlpPiUI /home/pi/corefile"), &outcome) ||
        !run(QStringLiteral("cd /home/pi;tar czvPf  corefile.tar.gz  corefile"), &outcome))
        return finish(outcome, text("Error:%1").arg(outcome.error));
    const QString remote =
        QStringLiteral("%1/%2").arg(QStringLiteral("/home/pi/"), QStringLiteral("corefile.tar.gz"));
    const QString local = QStringLiteral("%1/%2").arg(folder, QStringLiteral("corefile.tar.gz"));
    emit sStep(QStringLiteral("download: %1 -> %2").arg(remote, QDir::toNativeSeparators(local)));
    ddownload job(m_connection, this);
    connect(&job, &ddownload::sProgress, this, &DeviceMaintenance::sProgress);
    if (!job.download(local, remote)) {
        outcome.failedStep = QStringLiteral("download: %1 -> %2").arg(remote, local);
        outcome.error = job.error().trimmed();
        if (outcome.error.isEmpty())
            outcome.error = QStringLiteral("Connection is not established");
        return finish(outcome, text("Error:%1").arg(outcome.error));
    }
    outcome.ok = true;
    return outcome;
}
