#include "maintenance/ui/DlpHardwareUpgrade.h"

#include "network/FirmwareUpgrade.h"
#include "network/NetClientCmd.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

DlpHardwareUpgrade::DlpHardwareUpgrade(NetClientCmd *client, QWidget *parent)
    : QWidget(parent, Qt::Window), m_client(client), m_upgrade(new FirmwareUpgrade(client, this))
{
    setObjectName(QStringLiteral("DlpHardwareUpgrade"));
    setWindowTitle(tr("upgradeHardware"));
    m_lePath = new QLineEdit(this);
    m_lePath->setObjectName(QStringLiteral("lePath"));
    m_lePath->setReadOnly(true);
    m_lbMessage = new QLabel(this);
    m_lbMessage->setObjectName(QStringLiteral("lbMessage"));
    m_lbMessage->setWordWrap(true);
    m_pbLoading = new QPushButton(tr("LoadingHardwareFile"), this);
    m_pbLoading->setObjectName(QStringLiteral("pbLoading"));
    m_pbDownload = new QPushButton(tr("DownloadHardwareFile"), this);
    m_pbDownload->setObjectName(QStringLiteral("pbDownload"));
    m_pbUpgrade = new QPushButton(tr("upgrade"), this);
    m_pbUpgrade->setObjectName(QStringLiteral("pbUpgrade"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(m_lePath, 0, 0, 1, 3);
    layout->addWidget(m_pbLoading, 1, 0);
    layout->addWidget(m_pbDownload, 1, 1);
    layout->addWidget(m_pbUpgrade, 1, 2);
    layout->addWidget(m_lbMessage, 2, 0, 1, 3);
    connect(m_pbLoading, &QPushButton::clicked, this, &DlpHardwareUpgrade::onLoading);
    connect(m_pbDownload, &QPushButton::clicked, this, &DlpHardwareUpgrade::onDownload);
    connect(m_pbUpgrade, &QPushButton::clicked, this, &DlpHardwareUpgrade::onUpgrade);
    connect(m_upgrade, &FirmwareUpgrade::sMessage, this,
            [this](const QString &key) { onShowMsg(tr(key.toUtf8().constData())); });
    connect(m_upgrade, &FirmwareUpgrade::sFinished, this, [this](bool ok, const QString &reason) {
        m_pbUpgrade->setEnabled(true);
        m_pbLoading->setEnabled(true);
        if (!ok && !reason.isEmpty())
            onShowMsg(QStringLiteral("%1: %2").arg(tr("UpgradeFailed"), reason));
    });
}

QString DlpHardwareUpgrade::messageText() const
{
    return m_lbMessage->text();
}

void DlpHardwareUpgrade::onDownload()
{
    // No firmware download service exists for the control board.
    onShowMsg(tr("noHardwareDownload"));
}

void DlpHardwareUpgrade::onLoading()
{
    QSettings settings;
    const QString file =
        QFileDialog::getOpenFileName(this, tr("LoadingHardwareFile"),
                                     settings.value(QStringLiteral("hardware/openDir")).toString(),
                                     QStringLiteral("%1(*.bin)").arg(tr("Hardware")));
    if (file.isEmpty())
        return;
    settings.setValue(QStringLiteral("hardware/openDir"), QFileInfo(file).absolutePath());
    onSetLoadingFile(file);
}

void DlpHardwareUpgrade::onSetLoadingFile(QString file)
{
    m_file = file;
    m_lePath->setText(QDir::toNativeSeparators(file));
}

void DlpHardwareUpgrade::onUpgrade()
{
    if (m_file.isEmpty()) {
        onShowMsg(tr("NoHardwareFile"));
        return;
    }
    QString error;
    if (!m_upgrade->start(m_file, &error)) {
        onShowMsg(QStringLiteral("%1: %2").arg(tr("UpgradeFailed"), error));
        return;
    }
    m_pbUpgrade->setEnabled(false);
    m_pbLoading->setEnabled(false);
}

void DlpHardwareUpgrade::onShowMsg(QString msg)
{
    m_lbMessage->setText(msg);
}
