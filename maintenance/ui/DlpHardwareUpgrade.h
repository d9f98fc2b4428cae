#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class FirmwareUpgrade;
class NetClientCmd;
class QLabel;
class QLineEdit;
class QPushButton;

// The control-board firmware window of one printer: a local firmware file (.bin) is sent over
// the command channel (erase, prepare, program, query; see FirmwareUpgrade).
class DlpHardwareUpgrade : public QWidget
{
    Q_OBJECT
  public:
    explicit DlpHardwareUpgrade(NetClientCmd *client, QWidget *parent = nullptr);

    FirmwareUpgrade *upgrade() const { return m_upgrade; }
    QString messageText() const;
    QString chosenFile() const { return m_file; }

  public slots:
    void onDownload();
    void onLoading();
    void onUpgrade();
    void onSetLoadingFile(QString file);
    void onShowMsg(QString msg);

  private:
    QPointer<NetClientCmd> m_client;
    FirmwareUpgrade *m_upgrade;
    QString m_file;
    QLineEdit *m_lePath;
    QLabel *m_lbMessage;
    QPushButton *m_pbLoading;
    QPushButton *m_pbDownload;
    QPushButton *m_pbUpgrade;
};
