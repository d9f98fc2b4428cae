#include "ui/DlpMainWindow.h"

#include "app/DlpOrvaneApp.h"
#include "ui/BasicModelCreateWidget.h"
#include "ui/DlpLoginW.h"
#include "ui/DlpMenuBar.h"
#include "ui/DlpPanelPlaceholder.h"
#include "ui/DlpSettingsDialog.h"
#include "ui/DlpStatusBarWidget.h"
#include "ui/LanguageChooser.h"
#include "ui/SdModelInfos.h"
#include "update/DlpPCUpdater.h"
#include "update/ui/DlpUpgradeW.h"
#include "update/ui/SdUpdateInformation.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTranslator>
#include <QUrl>
#include <QVBoxLayout>

namespace
{

const char *const kPanelTitles[DlpModelOperateWidget::ButtonCount] = {
    nullptr,
    QT_TRANSLATE_NOOP("DlpPanelPlaceholder", "scalePanel"),
    QT_TRANSLATE_NOOP("DlpPanelPlaceholder", "rotatePanel"),
    QT_TRANSLATE_NOOP("DlpPanelPlaceholder", "layoutPanel"),
    QT_TRANSLATE_NOOP("DlpPanelPlaceholder", "manualSupportPanel"),
    QT_TRANSLATE_NOOP("DlpPanelPlaceholder", "supportPanel"),
    nullptr,
};

bool isPanelButton(DlpModelOperateWidget::Button which)
{
    return kPanelTitles[which] != nullptr;
}

void retranslateWidget(QWidget *widget)
{
    if (auto *placeholder = qobject_cast<DlpPanelPlaceholder *>(widget)) {
        placeholder->retranslate();
    }
}

} // namespace

DlpMainWindow::DlpMainWindow(DlpOrvaneApp *app, QWidget *parent) : QMainWindow(parent), m_app(app)
{
    setObjectName(QStringLiteral("DlpMainWindow"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAcceptDrops(true);
    resize(939, 577);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("mainTabs"));
    m_tabs->setDocumentMode(true);
    m_editPage = new QWidget;
    m_editPage->setObjectName(QStringLiteral("engineEdit"));
    m_devicePage = new QWidget;
    m_devicePage->setObjectName(QStringLiteral("currentDevice"));
    auto *editLayout = new QVBoxLayout(m_editPage);
    editLayout->setContentsMargins(0, 0, 0, 0);
    editLayout->setSpacing(0);
    auto *deviceLayout = new QVBoxLayout(m_devicePage);
    m_devicePlaceholder = new QLabel(m_devicePage);
    m_devicePlaceholder->setAlignment(Qt::AlignCenter);
    m_devicePlaceholder->setStyleSheet(QStringLiteral("color:#6b7280;font-size:16px;"));
    deviceLayout->addWidget(m_devicePlaceholder);
    setupPrinterViews(deviceLayout);
    m_tabs->addTab(m_editPage, QString());
    m_tabs->addTab(m_devicePage, QString());
    m_tabs->setCurrentIndex(0);
    setCentralWidget(m_tabs);
    m_editPage->installEventFilter(this);

    m_toolStrip = new DlpModelOperateWidget(m_editPage);
    m_toolStrip->move(ToolStripPos);
    for (int i = 0; i < DlpModelOperateWidget::ButtonCount; ++i) {
        const auto which = Button(i);
        if (isPanelButton(which)) {
            setPanel(which, new DlpPanelPlaceholder(kPanelTitles[i]));
        }
    }
    m_status = new DlpStatusBarWidget(m_editPage);

    connect(m_toolStrip, &DlpModelOperateWidget::sShowLoad, this, &DlpMainWindow::onImportModel);
    connect(m_toolStrip, &DlpModelOperateWidget::sShowScaleUI, this,
            &DlpMainWindow::addScaleWidget);
    connect(m_toolStrip, &DlpModelOperateWidget::sShowRorateUI, this,
            &DlpMainWindow::addRorateWidget);
    connect(m_toolStrip, &DlpModelOperateWidget::sShowLayoutUI, this,
            &DlpMainWindow::addMoveWidget);
    connect(m_toolStrip, &DlpModelOperateWidget::sShowJewelrySupportUI, this,
            &DlpMainWindow::addJewelrySupportWidget);
    connect(m_toolStrip, &DlpModelOperateWidget::sShowSupportUI, this,
            &DlpMainWindow::addSupportWidget);
    connect(m_toolStrip, &DlpModelOperateWidget::sShowManage, this,
            &DlpMainWindow::onAddDeviceScene);
    connect(m_tabs, &QTabWidget::currentChanged, this, &DlpMainWindow::onTabCurrentChange);
    connectApp();
    retranslate();
}

void DlpMainWindow::setView(QWidget *view)
{
    if (m_view) {
        m_editPage->layout()->removeWidget(m_view);
    }
    m_view = view;
    m_editPage->layout()->addWidget(view);
    m_toolStrip->raise();
    for (QWidget *floating : {m_cameraButtons.data(), m_clip.data()}) {
        if (floating) {
            floating->raise();
        }
    }
    for (const QPointer<QWidget> &panel : m_panels) {
        if (panel) {
            panel->raise();
        }
    }
    m_status->raise();
}

void DlpMainWindow::setCameraButtons(QWidget *buttons)
{
    m_cameraButtons = buttons;
    buttons->setParent(m_editPage);
    buttons->adjustSize();
    buttons->show();
    buttons->raise();
    placeFloatingWidgets();
}

void DlpMainWindow::setClipWidget(QWidget *clip)
{
    m_clip = clip;
    clip->setParent(m_editPage);
    clip->show();
    clip->raise();
    placeFloatingWidgets();
}

QWidget *DlpMainWindow::panel(Button which) const
{
    return m_panels.at(which).data();
}

void DlpMainWindow::setPanel(Button which, QWidget *panel)
{
    if (!isPanelButton(which)) {
        return;
    }
    if (QWidget *old = m_panels[which].data(); old && old != panel) {
        old->deleteLater();
    }
    panel->setParent(m_editPage);
    panel->hide();
    m_panels[which] = panel;
    m_toolStrip->setButtonActive(which, false);
}

void DlpMainWindow::setDlpMenuBar(DlpMenuBar *menuBar)
{
    m_menuBar = menuBar;
    setMenuBar(menuBar);
    auto on = [menuBar](const char *key) { return menuBar->action(QLatin1String(key)); };
    connect(on("importStl"), &QAction::triggered, this, &DlpMainWindow::onImportModel);
    connect(on("exportStl"), &QAction::triggered, this, &DlpMainWindow::onExportModel);
    connect(on("importVxpj"), &QAction::triggered, this, &DlpMainWindow::onImportScene);
    connect(on("exportVxpj"), &QAction::triggered, this, &DlpMainWindow::onExportScene);
    connect(on("exportVxpr"), &QAction::triggered, this, [this] { exportPrintData(); });
    connect(on("up"), &QAction::triggered, this, &DlpMainWindow::onAddDeviceScene);
    connect(on("deviceManage"), &QAction::triggered, this, &DlpMainWindow::onDevicesShow);
    connect(on("createBasicModel"), &QAction::triggered, this, &DlpMainWindow::onCreateBasicModel);
    connect(on("Languages"), &QAction::triggered, this, &DlpMainWindow::onLanguageChooser);
    connect(on("login"), &QAction::triggered, this, &DlpMainWindow::onLogin);
    connect(on("choise"), &QAction::triggered, this, &DlpMainWindow::onOptions);
    connect(on("model_infos"), &QAction::triggered, this, &DlpMainWindow::onMenuModelInfos);
    connect(on("aboutSoft"), &QAction::triggered, this, &DlpMainWindow::onAboutSoftware);
}

void DlpMainWindow::retranslate()
{
    m_tabs->setTabText(0, tr("engineEdit"));
    m_tabs->setTabText(1, tr("currentDevice"));
    m_devicePlaceholder->setText(tr("noDeviceView"));
    if (m_menuBar) {
        m_menuBar->retranslate();
    }
    m_toolStrip->retranslate();
    m_status->retranslate();
    for (const QPointer<QWidget> &panel : m_panels) {
        retranslateWidget(panel.data());
    }
}

// ---- floating panels -------------------------------------------------------------------------

void DlpMainWindow::hideAllPanels()
{
    for (const QPointer<QWidget> &panel : m_panels) {
        if (panel) {
            panel->hide();
        }
    }
    m_toolStrip->clearActive();
    requestRepaint();
}

void DlpMainWindow::togglePanel(Button which)
{
    QWidget *chosen = panel(which);
    if (!chosen) {
        return;
    }
    const bool wasVisible = chosen->isVisible();
    hideAllPanels();
    placePanels();
    if (!wasVisible) {
        chosen->raise();
        chosen->show();
    }
    m_toolStrip->setButtonActive(which, !wasVisible);
}

void DlpMainWindow::placePanels()
{
    const QRect strip = m_toolStrip->geometry();
    for (int i = 0; i < DlpModelOperateWidget::ButtonCount; ++i) {
        QWidget *p = m_panels[i].data();
        if (!p) {
            continue;
        }
        const int x = strip.right() + 1 + PanelGap;
        int y = strip.top() + i * m_toolStrip->buttonHeight();
        if (i == DlpModelOperateWidget::Support || i == DlpModelOperateWidget::JewelrySupport) {
            // Long panels are pulled up so that they end at the bottom of the page.
            const int overflow = y + p->height() - m_editPage->height();
            if (overflow > 0) {
                y = qMax(0, y - overflow);
            }
        }
        p->move(x, y);
    }
}

void DlpMainWindow::addScaleWidget()
{
    togglePanel(DlpModelOperateWidget::Scale);
}

void DlpMainWindow::addRorateWidget()
{
    togglePanel(DlpModelOperateWidget::Rorate);
    requestRepaint();
}

void DlpMainWindow::addMoveWidget()
{
    togglePanel(DlpModelOperateWidget::Layout);
}

void DlpMainWindow::addJewelrySupportWidget()
{
    togglePanel(DlpModelOperateWidget::JewelrySupport);
}

void DlpMainWindow::addSupportWidget()
{
    togglePanel(DlpModelOperateWidget::Support);
}

void DlpMainWindow::onEditingSupport()
{
    hideAllPanels();
    emit sShowManuSupportUI();
}

void DlpMainWindow::onMenuModelInfos()
{
    if (!m_modelInfos) {
        m_modelInfos = new SdModelInfos(m_app, m_editPage);
        m_modelInfos->move(m_toolStrip->geometry().right() + 1 + PanelGap, 120);
    }
    m_modelInfos->showWin();
}

// ---- tabs and layout -------------------------------------------------------------------------

void DlpMainWindow::showDeviceScene()
{
    if (m_tabs->currentIndex() != 1) {
        // Comes back here through onTabCurrentChange().
        m_tabs->setCurrentIndex(1);
        return;
    }
    refreshDevices();
    m_devicePlaceholder->resize(m_devicePage->size());
    m_devicePlaceholder->setVisible(!m_deviceScene);
}

void DlpMainWindow::onTabCurrentChange(int index)
{
    if (index == 1) {
        showDeviceScene();
    }
    m_status->setVisible(index == 0 && m_status->isOverBound());
}

void DlpMainWindow::onAddDeviceScene()
{
    showDeviceScene();
}

void DlpMainWindow::onDeviceSceneShow()
{
    showDeviceScene();
}

void DlpMainWindow::onDevicesShow()
{
    refreshDevices();
    if (!showDeviceManager())
        showNotAvailable(tr("deviceManageTitle"));
}

void DlpMainWindow::placeFloatingWidgets()
{
    m_tabs->setStyleSheet(
        QStringLiteral("QTabBar::tab{width:%1px;height:30px;}").arg(qMax(1, m_tabs->width() / 2)));
    if (m_status->isVisible()) {
        m_status->place();
    }
    const int right = m_editPage->width() - PanelGap;
    if (m_cameraButtons) {
        m_cameraButtons->move(right - m_cameraButtons->width(), ToolStripPos.y());
    }
    if (m_clip) {
        const int top = m_cameraButtons ? m_cameraButtons->geometry().bottom() + 1 + PanelGap
                                        : ToolStripPos.y();
        m_clip->move(right - m_clip->width(), top);
    }
    placePanels();
}

void DlpMainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeFloatingWidgets();
}

bool DlpMainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editPage && event->type() == QEvent::Resize) {
        placeFloatingWidgets();
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- files -----------------------------------------------------------------------------------

void DlpMainWindow::onImportModel()
{
    importPartsDialog();
}

void DlpMainWindow::onImportScene(bool)
{
    importProjectDialog();
}

void DlpMainWindow::onExportModel(bool)
{
    exportWithDialog(false);
}

void DlpMainWindow::onExportScene(bool)
{
    exportWithDialog(true);
}

bool DlpMainWindow::runSceneExport()
{
    return exportWithDialog(true);
}

QString DlpMainWindow::askSaveFileName(const QString &title, const QString &dir,
                                       const QString &filter)
{
    if (m_saveFileName) {
        return m_saveFileName(title, dir, filter);
    }
    return QFileDialog::getSaveFileName(this, title, dir, filter);
}

bool DlpMainWindow::exportWithDialog(bool project)
{
    if (!sceneHasModels()) {
        QMessageBox::warning(this, tr("Tip"), tr("noModelInScene!"), QMessageBox::Ok);
        return false;
    }
    QSettings settings;
    const QString dir = settings.value("path/lastExportPath").toString();
    QString file =
        project
            ? askSaveFileName(tr("3D Engining Bag..."), dir, tr("Orvane Dlp Engining Bag (*.vxpj)"))
            : askSaveFileName(tr("3D Model Files..."), dir, tr("Model Files (*.stl)"));
    if (file.isEmpty()) {
        return false;
    }
    if (QFileInfo(file).suffix().isEmpty()) {
        file += project ? QStringLiteral(".vxpj") : QStringLiteral(".stl");
    }
    const QString failure = project ? exportSceneTo(file) : exportModelTo(file);
    if (!failure.isEmpty()) {
        // Never report a save that did not happen as a success, and never remember the folder
        // it failed in.
        QMessageBox::warning(this, tr("Tip"),
                             QStringLiteral("%1\n%2").arg(tr("saveFailed"), failure),
                             QMessageBox::Ok);
        return false;
    }
    settings.setValue("path/lastExportPath", QFileInfo(file).absolutePath());
    QMessageBox::information(this, tr("Tip"), QStringLiteral("%1\n%2").arg(tr("saveSucess"), file),
                             QMessageBox::Ok);
    return true;
}

void DlpMainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(QStringLiteral("text/uri-list"))) {
        event->acceptProposedAction();
    }
}

void DlpMainWindow::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (!data->hasFormat(QStringLiteral("text/uri-list"))) {
        return;
    }
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) {
            paths << url.toLocalFile();
        }
    }
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        openFiles(paths);
    }
}

void DlpMainWindow::openFiles(const QStringList &paths)
{
    dropFiles(paths);
}

void DlpMainWindow::onCancelProcess()
{
    cancelProcess();
}

// ---- language and small windows ---------------------------------------------------------------

void DlpMainWindow::onLanguageChooser()
{
    QString current = QSettings().value("softLang").toString();
    if (current.isEmpty()) {
        current = QLocale::system().name();
    }
    LanguageChooser chooser(current, this);
    connect(&chooser, &LanguageChooser::schangeLanguage, this, &DlpMainWindow::schangeLanguage);
    chooser.exec();
}

void DlpMainWindow::onCreateBasicModel()
{
    BasicModelCreateWidget dialog(m_app, this);
    dialog.exec();
}

void DlpMainWindow::onOptions()
{
    DlpSettingsDialog dialog(this);
    dialog.setWindowTitle(tr("choise"));
    dialog.exec();
}

SdModelInfos *DlpMainWindow::modelInfos() const
{
    return m_modelInfos.data();
}

DlpLoginW *DlpMainWindow::loginWindow()
{
    if (!m_login) {
        m_login = new DlpLoginW(this);
    }
    return m_login.data();
}

void DlpMainWindow::onLogin()
{
    DlpLoginW *login = loginWindow();
    login->setWindowTitle(tr("Login"));
    login->show();
    login->raise();
}

void DlpMainWindow::onUpgradeSoftware()
{
    auto *dialog = findChild<DlpUpgradeW *>();
    if (dialog && dialog->isVisible())
        return;
    if (!dialog) {
        dialog = new DlpUpgradeW(this);
        auto *updater = new DlpPCUpdater(m_app, dialog);
        // The installer replaces the program: the window's usual save question comes first.
        updater->setLeaveRequest([this] { return window()->close(); });
        dialog->setUpdater(updater);
    }
    dialog->exec();
}

void DlpMainWindow::onAboutSoftware()
{
    QString language = QSettings().value(QStringLiteral("softLang")).toString();
    if (language.isEmpty())
        language = m_app->languageCodeText();
    SdUpdateInformation dialog(m_app->applicationName(), m_app->softwareVersionText(), language,
                               this);
    dialog.showAndRun();
}

void DlpMainWindow::showNotAvailable(const QString &what)
{
    QMessageBox::information(this, tr("Tip"), tr("notAvailableYet").arg(what), QMessageBox::Ok);
}
