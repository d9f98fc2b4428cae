#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class NetClientCmd;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;

// The controller software upgrade of one printer: a local package (.upgrade) sent over the
// printer's file transfer with file type "upgrade", or a package from the update service.
class DlpRPISoftwareUpgrade : public QDialog
{
    Q_OBJECT
  public:
    explicit DlpRPISoftwareUpgrade(NetClientCmd *client, QWidget *parent = nullptr);

    QString chosenFile() const { return m_file; }
    QString messageText() const;

  signals:
    // The package to send to the printers chosen for an upgrade ("isManagerSelected").
    void sUpload(QString file);

  public slots:
    void onDownload();
    void onLoading();
    void onUpgrade();
    void update(QString version);

  private:
    QPointer<NetClientCmd> m_client;
    QString m_file;
    QLineEdit *m_lePath;
    QLabel *m_lbMessage;
    QPushButton *m_pbLoading;
    QPushButton *m_pbDownload;
    QPushButton *m_pbUpgrade;
};
