// The printer views of the main window: the panel in the device tab and the management window.
#include "ui/DlpMainWindow.h"

#include "app/DlpOrvaneApp.h"
#include "network/NetworkApp.h"
#include "network/ui/DlpDeviceManager.h"
#include "network/ui/DlpDeviceScene.h"

#include <QLabel>
#include <QVBoxLayout>

void DlpMainWindow::setupPrinterViews(QVBoxLayout *deviceLayout)
{
    auto *network = m_app ? dynamic_cast<NetworkApp *>(m_app->printerNetwork()) : nullptr;
    if (!network)
        return; // the placeholder explains that there is no printer view
    m_devicePlaceholder->hide();
    deviceLayout->setContentsMargins(0, 0, 0, 0);
    m_deviceScene = new DlpDeviceScene(network, m_devicePage);
    deviceLayout->addWidget(m_deviceScene);
    connect(m_deviceScene, &DlpDeviceScene::sQueryDevice, this, [this] { refreshDevices(); });
    connect(m_deviceScene, &DlpDeviceScene::sTransforScene, m_app,
            [this] { m_app->onTransforScence(); });
    connect(m_deviceScene, &DlpDeviceScene::sTransforVxpr, m_app,
            [this] { m_app->onTransforVXPRFile(); });

    m_deviceManager = new DlpDeviceManager(this);
    connect(network, &NetworkApp::updateDeviceList, m_deviceManager,
            [this](const DeviceInfos &list) { m_deviceManager->onUpdateDeviceTree(list); });
    connect(m_deviceManager, &DlpDeviceManager::sQueryDevice, this, [this] { refreshDevices(); });
    connect(m_deviceManager, &DlpDeviceManager::sUpload, m_app,
            [this](const QString &file) { m_app->onUploadUpgradefile(file); });
}

bool DlpMainWindow::showDeviceManager()
{
    if (!m_deviceManager)
        return false;
    m_deviceManager->show();
    m_deviceManager->raise();
    m_deviceManager->activateWindow();
    return true;
}
