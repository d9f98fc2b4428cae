#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace QSsh
{
class SshConnection;
}

// The maintenance operations on a printer's controller computer, each a fixed sequence of
// SSH steps (commands and copies). The maintenance dialog and the command line run the same
// sequences; the dialog adds the file choosers and message boxes around them.
//
// Every call blocks in nested event loops until its sequence ends. A sequence stops at the
// first failed step. Status texts (sStatus) are the dialog's translated status-label texts.
class DeviceMaintenance : public QObject
{
    Q_OBJECT
  public:
    struct Outcome {
        bool ok = false;
        QString failedStep; // the step that failed (English, as the command line prints it)
        QString error;      // the remote or transfer error of that step
        QString status;     // the translated status text that ended the operation
    };

    // connection may be null (the operations then fail at once, as the dialog does).
    explicit DeviceMaintenance(QSsh::SshConnection *connection, QObject *parent = nullptr);

    Outcome uploadCalibration(const QString &localFile);
    Outcome uploadLightPowerImage(const QString &localFile);
    Outcome uploadMaterial(const QString &localFile);
    Outcome resetCalibration();
    Outcome installSystemConfig(const QString &packageFile);
    // Leaves "corefile.tar.gz" in folder.
    Outcome downloadCoreDump(const QString &folder);

    // The printer's fixed paths and commands.
    static QString programFolder();                         // "/home/pi/.Brevimund"
    static QString folderCommand(const QString &folder);    // the first folder command
    static QString subfolderCommand(const QString &folder); // the second one (";if" form)
    static QString resetCalibrationCommand();
    static QString prepareSysCfgCommand();
    static QString installSysCfgCommand(const QString &remotePackage);
    // The remote name of a system package: its file name with every character that a shell
    // would treat specially replaced by '_' (the name is used unquoted on the printer).
    static QString remotePackageName(const QString &localFile);

    // Text of the translation context all maintenance texts live in.
    static QString text(const char *key);

  signals:
    // A step starts: its English description ("run: <command>", "upload: a -> b").
    void sStep(QString description);
    void sProgress(QString message, int percent);
    void sStatus(QString text);

  private:
    Outcome uploadInto(const QString &localFile, const QString &subfolder,
                       const QString &remoteName);
    // hostMayGoAway: a connection that drops during the command counts as success (reboot).
    bool run(const QString &command, Outcome *outcome, bool hostMayGoAway = false);
    bool upload(const QString &local, const QString &remote, Outcome *outcome);
    bool noConnection(Outcome *outcome);
    Outcome finish(Outcome outcome, const QString &status);

    QPointer<QSsh::SshConnection> m_connection;
};
