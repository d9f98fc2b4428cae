#pragma once

#include <QByteArray>
#include <QDialog>
#include <QPointer>
#include <QString>

class DlpHardwareUpgrade;
class NetClientCmd;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTextEdit;

namespace QSsh
{
class SshConnection;
}

// The maintenance dialog of one printer: its board details (asked over the command channel),
// the SSH maintenance operations on its controller, search in the details, and the controller
// software and control-board firmware upgrades.
class DlpDeviceDetails : public QDialog
{
    Q_OBJECT
  public:
    explicit DlpDeviceDetails(QWidget *parent = nullptr);
    ~DlpDeviceDetails() override;

    // Sets the dialog up for the printer and runs it modally.
    int openFor(NetClientCmd *client);
    // The set-up part of openFor(): title, SSH connection (nested event loop, at most the
    // session's connect timer), the printer's messages. The caller shows the dialog.
    void prepare(NetClientCmd *client);

    QString statusText() const;
    QString detailsText() const;
    QSsh::SshConnection *sshConnection() const;

  signals:
    void sUpload(QString file);

  public slots:
    void onTabIndexChange(int index);
    void onParseCommand(NetClientCmd *client, QByteArray cmd);
    void onUpgradeRPISoftware();
    void onUpgradeHardware();
    void onCalibrationLightMachine();
    void onChangeLightPowerImage();
    void onUpdateMaterialData();
    void onSearchClick();
    void onShowMsg(QString msg, int p);
    void onShowMsg(QString msg);
    void onResetLightmachine();
    void onSystemConfig();
    void onDownCoreDumpFile();

  private:
    void connectSsh();
    bool sshReady();
    // An open-file dialog starting at the path remembered under key; stores the choice.
    // Empty (after the "nothing chosen" warning) when the user cancels.
    QString chooseFile(const char *title, const char *filter, const QString &key);
    bool confirmWhilePrinting();
    void runUpload(const QString &file, int which);

    QPointer<NetClientCmd> m_client;
    QPointer<QSsh::SshConnection> m_connection;
    QString m_boardAId, m_boardAVersion, m_boardBId, m_boardBVersion, m_controlSerial,
        m_controlVersion;
    QMetaObject::Connection m_parseConnection;

    QTabWidget *m_tabs;
    QTextEdit *m_teDetails;
    QLineEdit *m_leSearch;
    QPushButton *m_pbSearch;
    QPushButton *m_pbUpgradeSoftware;
    QPushButton *m_pbUpgradeHardware;
    QPushButton *m_pbCalibration;
    QPushButton *m_pbLightPower;
    QPushButton *m_pbMaterial;
    QPushButton *m_pbResetCalibration;
    QPushButton *m_pbSystemConfig;
    QPushButton *m_pbCoreDump;
    QLabel *m_lbStatus;
    QPointer<DlpHardwareUpgrade> m_hardware;
};
