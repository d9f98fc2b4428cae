#pragma once

#include "ui/DlpModelOperateWidget.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>

class DlpMenuBar;
class DlpOrvaneApp;
class DlpLoginW;
class DlpPanelPlaceholder;
class SdModelInfos;
class DlpStatusBarWidget;
class QKeyEvent;
class QLabel;
class QVBoxLayout;
class DlpDeviceManager;
class DlpDeviceScene;
class QMouseEvent;
class QTabWidget;
class QWheelEvent;

// The inner main window: the program editor tab (3D view, tool strip, floating panels, status
// label) and the current-device tab. Actions reach the central application object; until one is
// attached (tests) they act on the window alone.
class DlpMainWindow : public QMainWindow
{
    Q_OBJECT
  public:
    using Button = DlpModelOperateWidget::Button;

    // Distance between the tool strip's right edge and a floating panel.
    static constexpr int PanelGap = 11;
    static constexpr QPoint ToolStripPos{1, 70};

    explicit DlpMainWindow(DlpOrvaneApp *app, QWidget *parent = nullptr);

    DlpOrvaneApp *app() const { return m_app; }
    QTabWidget *tabs() const { return m_tabs; }
    QWidget *editPage() const { return m_editPage; }
    QWidget *devicePage() const { return m_devicePage; }
    // The printer panel and management window; null when the program has no printer network.
    DlpDeviceScene *deviceScene() const { return m_deviceScene; }
    DlpDeviceManager *deviceManager() const { return m_deviceManager; }
    DlpModelOperateWidget *toolStrip() const { return m_toolStrip; }
    DlpStatusBarWidget *statusLabel() const { return m_status; }
    DlpMenuBar *dlpMenuBar() const { return m_menuBar; }
    // The model list of Window > Model info list (null until first shown).
    SdModelInfos *modelInfos() const;
    DlpLoginW *loginWindow();

    // The 3D view: laid out with no margins in the edit page, under the tool strip.
    void setView(QWidget *view);
    QWidget *view() const { return m_view; }

    // The camera buttons: 11 pixels from the right edge, level with the tool strip.
    void setCameraButtons(QWidget *buttons);
    // The clip-plane slider: at the right edge, below the camera buttons.
    void setClipWidget(QWidget *clip);

    // The floating panel opened by a tool-strip button (Scale, Rorate, Layout, JewelrySupport,
    // Support). A real panel may replace the stand-in; it becomes a child of the edit page.
    QWidget *panel(Button which) const;
    void setPanel(Button which, QWidget *panel);

    // Creates the menu bar and connects its entries.
    void setDlpMenuBar(DlpMenuBar *menuBar);

    // Re-reads every text shown by this window from the installed translation.
    void retranslate();

    // Hands files to the application's drop handling (parts and projects by suffix).
    void openFiles(const QStringList &paths);

    // Where the input forwarding slots send their records (the 3D view's input); dropped while
    // unset. The record is valid for the call only.
    void setEventSink(std::function<void(const void *record)> sink)
    {
        m_eventSink = std::move(sink);
    }

    // Replaces the save-file dialog of the exports (tests): (title, folder, filter) -> path.
    using SaveFileNameProvider =
        std::function<QString(const QString &, const QString &, const QString &)>;
    void setSaveFileNameProvider(SaveFileNameProvider provider)
    {
        m_saveFileName = std::move(provider);
    }

    // Replaces the open-files dialog of the imports (tests): (title, folder, filter) -> paths.
    using OpenFileNamesProvider =
        std::function<QStringList(const QString &, const QString &, const QString &)>;
    void setOpenFileNamesProvider(OpenFileNamesProvider provider)
    {
        m_openFileNames = std::move(provider);
    }

    // The project export with its file dialog; true when a file was written.
    bool runSceneExport();
    bool sceneHasModels() const;

  signals:
    void sliceRenderWhitQT();
    void sShowManuSupportUI();
    void schangeLanguage();

  public slots:
    void onImportModel();
    void onImportScene(bool checked = false);
    void onExportModel(bool checked = false);
    void addRorateWidget();
    void addScaleWidget();
    void addMoveWidget();
    void addSupportWidget();
    void addJewelrySupportWidget();
    void onAddDeviceScene();
    void onTabCurrentChange(int index);
    void onCreateBasicModel();
    void onLanguageChooser();
    void onEditingSupport();
    void onCancelProcess();
    void onExportScene(bool checked = false);
    void onMouseEvent(QMouseEvent *event);
    void onResizeEvent(int width, int height);
    void onWheelEvent(QWheelEvent *event);
    void onKeyPressEvent(QKeyEvent *event);
    void onOptions();
    void onDevicesShow();
    void onDeviceSceneShow();
    void onLogin();
    void onUpgradeSoftware();
    void onAboutSoftware();
    void onMenuModelInfos();

  protected:
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void togglePanel(Button which);
    void hideAllPanels();
    void placePanels();
    void placeFloatingWidgets();
    void showDeviceScene();
    void showNotAvailable(const QString &what);
    // Printer panel in the device tab and management window (DlpMainWindowPrinters.cpp).
    void setupPrinterViews(QVBoxLayout *deviceLayout);
    bool showDeviceManager();
    bool exportWithDialog(bool project);
    QString askSaveFileName(const QString &title, const QString &dir, const QString &filter);

    // Calls into the central application object; they do nothing when none is attached.
    void connectApp();
    void importParts(const QStringList &files);
    // The import dialogs start the load and return when it has ended.
    void importPartsDialog();
    void importProjectDialog();
    void waitForLoad();
    QStringList askOpenFileNames(const QString &title, const QString &dir, const QString &filter,
                                 bool several);
    // Both return why the file could not be written; empty when it was written.
    QString exportModelTo(const QString &file);
    QString exportSceneTo(const QString &file);
    void exportPrintData();
    void refreshDevices();
    void forwardRecord(const void *record);
    void cancelProcess();
    void dropFiles(const QStringList &paths);
    void requestRepaint();

    DlpOrvaneApp *m_app = nullptr;
    DlpMenuBar *m_menuBar = nullptr;
    QTabWidget *m_tabs = nullptr;
    QWidget *m_editPage = nullptr;
    QWidget *m_devicePage = nullptr;
    QLabel *m_devicePlaceholder = nullptr;
    DlpDeviceScene *m_deviceScene = nullptr;
    DlpDeviceManager *m_deviceManager = nullptr;
    QWidget *m_view = nullptr;
    QPointer<QWidget> m_cameraButtons;
    QPointer<QWidget> m_clip;
    DlpModelOperateWidget *m_toolStrip = nullptr;
    DlpStatusBarWidget *m_status = nullptr;
    std::array<QPointer<QWidget>, DlpModelOperateWidget::ButtonCount> m_panels{};
    QPointer<SdModelInfos> m_modelInfos;
    QPointer<DlpLoginW> m_login;
    std::function<void(const void *record)> m_eventSink;
    SaveFileNameProvider m_saveFileName;
    OpenFileNamesProvider m_openFileNames;
};
