#include "maintenance/ui/DlpDeviceDetails.h"

#include "maintenance/DeviceMaintenance.h"
#include "maintenance/SshConnection.h"
#include "maintenance/SshLoginSettings.h"
#include "maintenance/dsshsession.h"
#include "maintenance/ui/DlpHardwareUpgrade.h"
#include "maintenance/ui/DlpRPISoftwareUpgrade.h"
#include "network/NetClientCmd.h"
#include "network/PrinterProtocol.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtDebug>

namespace
{

enum Upload { Calibration, LightPower, Material };

} // namespace

DlpDeviceDetails::DlpDeviceDetails(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DlpDeviceDetails"));
    resize(640, 420);
    m_tabs = new QTabWidget(this);

    auto *general = new QWidget;
    general->setObjectName(QStringLiteral("tabGeneral"));
    m_teDetails = new QTextEdit(general);
    m_teDetails->setObjectName(QStringLiteral("teDetails"));
    m_teDetails->setReadOnly(true);
    m_leSearch = new QLineEdit(general);
    m_leSearch->setObjectName(QStringLiteral("leSearch"));
    m_pbSearch = new QPushButton(tr("Find"), general);
    m_pbSearch->setObjectName(QStringLiteral("pbSearch"));
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_leSearch);
    searchRow->addWidget(m_pbSearch);
    auto *generalLayout = new QVBoxLayout(general);
    generalLayout->addWidget(m_teDetails);
    generalLayout->addLayout(searchRow);
    m_tabs->addTab(general, tr("General"));

    auto *maintain = new QWidget;
    maintain->setObjectName(QStringLiteral("tabMaintain"));
    auto button = [maintain](const char *name, const QString &text) {
        auto *b = new QPushButton(text, maintain);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    m_pbUpgradeSoftware = button("pbUpgradeSoftware", tr("Upgrade controller software"));
    m_pbUpgradeHardware = button("pbUpgradeHardware", tr("Upgrade control board firmware"));
    m_pbCalibration = button("pbCalibration", tr("Light machine calibration file"));
    m_pbLightPower = button("pbLightPower", tr("Optical power test image"));
    m_pbMaterial = button("pbMaterial", tr("Consumables package file"));
    m_pbResetCalibration = button("pbResetCalibration", tr("Reset light machine calibration"));
    m_pbSystemConfig = button("pbSystemConfig", tr("System configuration package"));
    m_pbCoreDump = button("pbCoreDump", tr("Download core dump files"));
    auto *grid = new QGridLayout(maintain);
    const QList<QPushButton *> buttons{
        m_pbUpgradeSoftware, m_pbUpgradeHardware,  m_pbCalibration,  m_pbLightPower,
        m_pbMaterial,        m_pbResetCalibration, m_pbSystemConfig, m_pbCoreDump};
    for (int i = 0; i < buttons.size(); ++i)
        grid->addWidget(buttons[i], i / 2, i % 2);
    grid->setRowStretch(buttons.size() / 2, 1);
    m_tabs->addTab(maintain, tr("Maintenance"));

    m_lbStatus = new QLabel(tr("TextLabel"), this);
    m_lbStatus->setObjectName(QStringLiteral("lbStatus"));
    m_lbStatus->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_lbStatus);

    connect(m_tabs, &QTabWidget::currentChanged, this, &DlpDeviceDetails::onTabIndexChange);
    connect(m_pbSearch, &QPushButton::clicked, this, &DlpDeviceDetails::onSearchClick);
    connect(m_leSearch, &QLineEdit::returnPressed, this, &DlpDeviceDetails::onSearchClick);
    connect(m_pbUpgradeSoftware, &QPushButton::clicked, this,
            &DlpDeviceDetails::onUpgradeRPISoftware);
    connect(m_pbUpgradeHardware, &QPushButton::clicked, this, &DlpDeviceDetails::onUpgradeHardware);
    connect(m_pbCalibration, &QPushButton::clicked, this,
            &DlpDeviceDetails::onCalibrationLightMachine);
    connect(m_pbLightPower, &QPushButton::clicked, this,
            &DlpDeviceDetails::onChangeLightPowerImage);
    connect(m_pbMaterial, &QPushButton::clicked, this, &DlpDeviceDetails::onUpdateMaterialData);
    connect(m_pbResetCalibration, &QPushButton::clicked, this,
            &DlpDeviceDetails::onResetLightmachine);
    connect(m_pbSystemConfig, &QPushButton::clicked, this, &DlpDeviceDetails::onSystemConfig);
    connect(m_pbCoreDump, &QPushButton::clicked, this, &DlpDeviceDetails::onDownCoreDumpFile);
}

DlpDeviceDetails::~DlpDeviceDetails() = default;

QString DlpDeviceDetails::statusText() const
{
    return m_lbStatus->text();
}

QString DlpDeviceDetails::detailsText() const
{
    return m_teDetails->toPlainText();
}

QSsh::SshConnection *DlpDeviceDetails::sshConnection() const
{
    return m_connection;
}

int DlpDeviceDetails::openFor(NetClientCmd *client)
{
    prepare(client);
    return exec();
}

void DlpDeviceDetails::prepare(NetClientCmd *client)
{
    m_client = client;
    setWindowTitle(tr("Device:%1:%2")
                       .arg(client ? client->get(QStringLiteral("ID")) : QString(),
                            client ? client->get(QStringLiteral("IP")) : QString()));
    if (!m_connection)
        connectSsh();
    if (client) {
        disconnect(m_parseConnection);
        m_parseConnection =
            connect(client, &NetClientCmd::sParseCommand, this, &DlpDeviceDetails::onParseCommand);
    }
    // The details tab is the first one shown: ask for its record right away.
    if (m_tabs->currentIndex() == 0)
        onTabIndexChange(0);
}

void DlpDeviceDetails::connectSsh()
{
    if (!m_client)
        return;
    const SshLoginSettings login = SshLoginSettings::load();
    dsshsession *session = dsshsession::instance();
    login.applyTo(session);
    const QString host = m_client->get(QStringLiteral("IP"));
    m_connection = session->connect(host, login.user, login.password);
    QSsh::SshConnection *attempt = session->lastConnection();
    if (!m_connection && attempt && attempt->errorState() == QSsh::SshHostKeyError) {
        // A changed key may be a replaced controller or someone answering in its place: the
        // user decides, seeing both fingerprints.
        const auto answer = QMessageBox::warning(
            this, tr("Tip"),
            tr("The SSH host key of %1 has changed.\nKnown key: %2\nPresented key: %3\n"
               "Accept the new key only if the printer's controller was replaced or reinstalled. "
               "Accept it?")
                .arg(host, attempt->knownHostKey(), attempt->presentedHostKey()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        QString error;
        if (answer == QMessageBox::Yes && attempt->acceptPresentedHostKey(&error))
            m_connection = session->connect(host, login.user, login.password);
    }
    if (m_connection) {
        m_lbStatus->setText(tr("SSH env initializing successful"));
        return;
    }
    const QString why = session->lastConnectTimedOut() ? QStringLiteral("ssh connect time out")
                                                       : session->lastError();
    m_lbStatus->setText(tr("SSH env initializing failed"));
    QMessageBox::warning(this, tr("Tip"),
                         QStringLiteral("%1.%2").arg(tr("SSH env initializing failed"), why));
}

bool DlpDeviceDetails::sshReady()
{
    if (m_connection && m_connection->state() == QSsh::SshConnection::Connected)
        return true;
    QMessageBox::warning(this, tr("Tip"),
                         tr("The SSH environment was not successfully established."));
    return false;
}

void DlpDeviceDetails::onTabIndexChange(int index)
{
    if (index != 0 || !m_client)
        return;
    m_client->writeBytes(PrinterProtocol::encodeBinary(PrinterProtocol::BinaryCode::Details));
}

void DlpDeviceDetails::onParseCommand(NetClientCmd *client, QByteArray cmd)
{
    if (client != m_client)
        return;
    qint32 code = 0;
    QByteArray body;
    if (!PrinterProtocol::decodeBinary(cmd, &code, &body) ||
        code != qint32(PrinterProtocol::BinaryCode::Details))
        return;
    PrinterProtocol::PrinterDetails details;
    if (!PrinterProtocol::decodeDetails(body, &details)) {
        qWarning() << "printer details record unreadable";
        return;
    }
    m_boardAId = details.boardAId;
    m_boardAVersion = details.boardAVersion;
    m_boardBId = details.boardBId;
    m_boardBVersion = details.boardBVersion;
    m_controlSerial = details.controlSerial;
    m_controlVersion = details.controlVersion;
    const QString board = QStringLiteral("%1:\n      ID:%2\n      %3:%4");
    const QString control = QStringLiteral("%1:\n      SN:%2\n      %3:%4");
    m_teDetails->setText(
        QStringLiteral("%1\n%2\n%3\n")
            .arg(board.arg(tr("rpiAInfo"), m_boardAId, tr("Version"), m_boardAVersion),
                 board.arg(tr("rpiBInfo"), m_boardBId, tr("Version"), m_boardBVersion),
                 control.arg(tr("controlInfo"), m_controlSerial, tr("Version"), m_controlVersion)));
}

void DlpDeviceDetails::onShowMsg(QString msg, int p)
{
    if (p != 0)
        m_lbStatus->setText(QStringLiteral("%1 %2%").arg(msg).arg(p));
    else
        m_lbStatus->setText(msg);
}

void DlpDeviceDetails::onShowMsg(QString msg)
{
    m_lbStatus->setText(msg);
}

QString DlpDeviceDetails::chooseFile(const char *title, const char *filter, const QString &key)
{
    QSettings settings;
    const QString file =
        QFileDialog::getOpenFileName(this, tr(title), settings.value(key).toString(), tr(filter));
    if (file.isEmpty()) {
        QMessageBox::warning(this, tr("Tip"), tr("No configuration files were selected"));
        return QString();
    }
    settings.setValue(key, QFileInfo(file).absoluteFilePath());
    return file;
}

void DlpDeviceDetails::runUpload(const QString &file, int which)
{
    DeviceMaintenance maintenance(m_connection, this);
    connect(&maintenance, &DeviceMaintenance::sProgress, this,
            qOverload<QString, int>(&DlpDeviceDetails::onShowMsg));
    connect(&maintenance, &DeviceMaintenance::sStatus, this,
            qOverload<QString>(&DlpDeviceDetails::onShowMsg));
    setEnabled(false);
    if (which == Calibration)
        maintenance.uploadCalibration(file);
    else if (which == LightPower)
        maintenance.uploadLightPowerImage(file);
    else
        maintenance.uploadMaterial(file);
    setEnabled(true);
}

void DlpDeviceDetails::onCalibrationLightMachine()
{
    if (!sshReady())
        return;
    const QString file =
        chooseFile(QT_TR_NOOP("Select the light machine calibration file"),
                   QT_TR_NOOP("Config File(*.ini)"), QStringLiteral("calibrationFileDir"));
    if (!file.isEmpty())
        runUpload(file, Calibration);
}

void DlpDeviceDetails::onChangeLightPowerImage()
{
    if (!sshReady())
        return;
    const QString file =
        chooseFile(QT_TR_NOOP("Select the optical power test file"),
                   QT_TR_NOOP("Image File(*.bmp)"), QStringLiteral("lightPowerFileDir"));
    if (!file.isEmpty())
        runUpload(file, LightPower);
}

void DlpDeviceDetails::onUpdateMaterialData()
{
    if (!sshReady())
        return;
    const QString file =
        chooseFile(QT_TR_NOOP("Select the consumables package file"),
                   QT_TR_NOOP("Material File(*.ini)"), QStringLiteral("MaterialFileDir"));
    if (!file.isEmpty())
        runUpload(file, Material);
}

void DlpDeviceDetails::onResetLightmachine()
{
    if (!sshReady())
        return;
    const auto answer = QMessageBox::question(
        this, tr("warning"),
        tr("The power value of the optical machine will affect the printing effect without "
           "calibration. If you need to re-calibrate the device please click Yes,otherwise, "
           "please click No"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    DeviceMaintenance maintenance(m_connection, this);
    connect(&maintenance, &DeviceMaintenance::sStatus, this,
            qOverload<QString>(&DlpDeviceDetails::onShowMsg));
    setEnabled(false);
    maintenance.resetCalibration();
    setEnabled(true);
}

void DlpDeviceDetails::onSystemConfig()
{
    if (!sshReady())
        return;
    const QString file =
        chooseFile(QT_TR_NOOP("Select the system configuration file"),
                   QT_TR_NOOP("Image File(*.zip)"), QStringLiteral("sysCfgFileDir"));
    if (file.isEmpty())
        return;
    DeviceMaintenance maintenance(m_connection, this);
    connect(&maintenance, &DeviceMaintenance::sProgress, this,
            qOverload<QString, int>(&DlpDeviceDetails::onShowMsg));
    connect(&maintenance, &DeviceMaintenance::sStatus, this,
            qOverload<QString>(&DlpDeviceDetails::onShowMsg));
    setEnabled(false);
    maintenance.installSystemConfig(file);
    setEnabled(true);
}

void DlpDeviceDetails::onDownCoreDumpFile()
{
    if (!sshReady())
        return;
    QSettings settings;
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Save dump file"), settings.value(QStringLiteral("CoreDumpFileDir")).toString());
    if (folder.isEmpty()) {
        QMessageBox::warning(this, tr("Tip"), tr("No Directory were selected"));
        return;
    }
    settings.setValue(QStringLiteral("CoreDumpFileDir"), folder);
    DeviceMaintenance maintenance(m_connection, this);
    connect(&maintenance, &DeviceMaintenance::sProgress, this,
            qOverload<QString, int>(&DlpDeviceDetails::onShowMsg));
    connect(&maintenance, &DeviceMaintenance::sStatus, this,
            qOverload<QString>(&DlpDeviceDetails::onShowMsg));
    setEnabled(false);
    maintenance.downloadCoreDump(folder);
    setEnabled(true);
}

void DlpDeviceDetails::onSearchClick()
{
    const QString word = m_leSearch->text();
    if (word.isEmpty()) {
        QMessageBox::information(this, tr("Empty Search Field"),
                                 tr("The search field is empty. Please enter a word and click "
                                    "Find."));
        return;
    }
    QTextDocument *document = m_teDetails->document();
    // Earlier marks go first, so only this search's hits stay red.
    QTextCursor all(document);
    all.select(QTextCursor::Document);
    QTextCharFormat plain;
    plain.setBackground(Qt::transparent);
    all.mergeCharFormat(plain);

    bool found = false;
    QTextCursor cursor(document);
    QTextCharFormat mark;
    mark.setBackground(Qt::red);
    while (true) {
        cursor = document->find(word, cursor, QTextDocument::FindWholeWords);
        if (cursor.isNull())
            break;
        cursor.mergeCharFormat(mark);
        found = true;
    }
    if (!found)
        QMessageBox::information(this, tr("Word Not Found"),
                                 tr("Sorry, the word cannot be found."));
}

bool DlpDeviceDetails::confirmWhilePrinting()
{
    // Exactly "Runing" here: this dialog has always compared the state case-sensitively.
    if (m_client->get(QStringLiteral("DS")) != QLatin1String("Runing"))
        return true;
    QMessageBox box(QMessageBox::Warning, tr("Tip"), tr("isPrinting"), QMessageBox::NoButton, this);
    QPushButton *ok = box.addButton(tr("Ok"), QMessageBox::AcceptRole);
    box.addButton(tr("cancel"), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == ok;
}

void DlpDeviceDetails::onUpgradeRPISoftware()
{
    if (!m_client) {
        qWarning() << "device info is empty";
        return;
    }
    if (!confirmWhilePrinting())
        return;
    DlpRPISoftwareUpgrade upgrade(m_client, this);
    connect(&upgrade, &DlpRPISoftwareUpgrade::sUpload, this, &DlpDeviceDetails::sUpload);
    upgrade.exec();
}

void DlpDeviceDetails::onUpgradeHardware()
{
    if (!m_client) {
        qWarning() << "device info is empty";
        return;
    }
    if (!confirmWhilePrinting())
        return;
    // A window of its own, yet a child of this dialog: a modal dialog lets only its children
    // take input.
    if (!m_hardware)
        m_hardware = new DlpHardwareUpgrade(m_client, this);
    m_hardware->show();
    m_hardware->raise();
    m_hardware->activateWindow();
}
