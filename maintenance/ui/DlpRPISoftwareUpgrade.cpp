#include "maintenance/ui/DlpRPISoftwareUpgrade.h"

#include "network/NetClientCmd.h"
#include "update/DlpRPiUpdater.h"
#include "update/ui/DlpUpgradeW.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

DlpRPISoftwareUpgrade::DlpRPISoftwareUpgrade(NetClientCmd *client, QWidget *parent)
    : QDialog(parent), m_client(client)
{
    setObjectName(QStringLiteral("DlpRPISoftwareUpgrade"));
    setWindowTitle(tr("upgradeSoftware"));
    m_lePath = new QLineEdit(this);
    m_lePath->setObjectName(QStringLiteral("lePath"));
    m_lePath->setReadOnly(true);
    m_lbMessage = new QLabel(this);
    m_lbMessage->setObjectName(QStringLiteral("lbMessage"));
    m_lbMessage->setWordWrap(true);
    m_pbLoading = new QPushButton(tr("loadFromLocal"), this);
    m_pbLoading->setObjectName(QStringLiteral("pbLoading"));
    m_pbDownload = new QPushButton(tr("loadFromNet"), this);
    m_pbDownload->setObjectName(QStringLiteral("pbDownload"));
    m_pbUpgrade = new QPushButton(tr("upgrade"), this);
    m_pbUpgrade->setObjectName(QStringLiteral("pbUpgrade"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(m_lePath, 0, 0, 1, 3);
    layout->addWidget(m_pbLoading, 1, 0);
    layout->addWidget(m_pbDownload, 1, 1);
    layout->addWidget(m_pbUpgrade, 1, 2);
    layout->addWidget(m_lbMessage, 2, 0, 1, 3);
    connect(m_pbLoading, &QPushButton::clicked, this, &DlpRPISoftwareUpgrade::onLoading);
    connect(m_pbDownload, &QPushButton::clicked, this, &DlpRPISoftwareUpgrade::onDownload);
    connect(m_pbUpgrade, &QPushButton::clicked, this, &DlpRPISoftwareUpgrade::onUpgrade);
}

QString DlpRPISoftwareUpgrade::messageText() const
{
    return m_lbMessage->text();
}

void DlpRPISoftwareUpgrade::onLoading()
{
    QSettings settings;
    const QString file =
        QFileDialog::getOpenFileName(this, tr("LoadingSoftwareFile"),
                                     settings.value(QStringLiteral("software/openDir")).toString(),
                                     QStringLiteral("%1(*.upgrade)").arg(tr("Software")));
    if (file.isEmpty())
        return;
    settings.setValue(QStringLiteral("software/openDir"), QFileInfo(file).absolutePath());
    m_file = file;
    m_lePath->setText(QDir::toNativeSeparators(file));
}

void DlpRPISoftwareUpgrade::onUpgrade()
{
    if (m_file.isEmpty()) {
        QMessageBox::warning(this, tr("failed"), tr("No upgrade packages were selected"));
        return;
    }
    if (m_client)
        m_client->set(QStringLiteral("isManagerSelected"), QStringLiteral("1"));
    emit sUpload(m_file);
    m_lbMessage->setText(tr("upgradePackageSent"));
}

void DlpRPISoftwareUpgrade::onDownload()
{
    if (!m_client)
        return;
    m_client->set(QStringLiteral("isManagerSelected"), QStringLiteral("1"));
    update(m_client->get(QStringLiteral("RPiA")));
}

void DlpRPISoftwareUpgrade::update(QString version)
{
    DlpUpgradeW window(this);
    DlpRPiUpdater updater(version);
    connect(&updater, &DlpRPiUpdater::sUpload, this, &DlpRPISoftwareUpgrade::sUpload);
    window.setUpdater(&updater);
    window.exec();
}
