#include "ui/CDlpMainWindow.h"

#include "io/DIoVXPJ.h"

#include "app/CDlpApplicationContext.h"
#include "geometry/Model.h"
#include "geometry/PlatformSize.h"
#include "io/DModelIoManager.h"
#include "render/DRenderHost.h"
#include "render/DlpClipZWidget.h"
#include "render/DlpGlCamareWidget.h"
#include "render/GLBox.h"
#include "render/ViewSamples.h"
#include "render/ViewTurner.h"
#include "ui/DSupportWindow.h"
#include "ui/DlpEditPanels.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "ui/DlpProccessBar.h"
#include "ui/DlpStatusBarWidget.h"
#include "ui/DlpSupportPanels.h"
#include "update/UpdateService.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSurfaceFormat>
#include <QThread>
#include <QTimer>

namespace
{

const QString kSubscriberName = QStringLiteral("CDlpMainWindow");

// Closing the window ends the program with status 0: the event loop of main() (and any local
// loop it runs in) returns. Without a running event loop (the window used as a library) there
// is nothing to end, and asking for an exit would make every later local loop (dialogs) return
// at once.
void endProcess()
{
    if (QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(0);
    }
}

// The view's GL entry points, forwarded to the render host. The host can be released (with the
// view's context current, so that its GL objects are freed in their own context) while the view
// still exists; the view's remaining calls then do nothing.
class ViewEntry : public Orvane3Ds::IGlApplication
{
  public:
    explicit ViewEntry(Orvane3Ds::DRenderHost *host) : m_host(host) {}

    void detach() { m_host = nullptr; }

    bool initialiseGL() override { return m_host && m_host->initialiseGL(); }
    void paintGL() override
    {
        if (m_host) {
            m_host->paintGL();
        }
    }
    void handleGLEvent(const void *record) override
    {
        if (m_host) {
            m_host->handleGLEvent(record);
        }
    }
    void setRepaintCallback(std::function<void()> repaint) override
    {
        if (m_host) {
            m_host->setRepaintCallback(std::move(repaint));
        }
    }

  private:
    Orvane3Ds::DRenderHost *m_host;
};

} // namespace

CDlpMainWindow::CDlpMainWindow(const QStringList &arguments, QWidget *parent,
                               const QString &appDataDir, const QString &applicationDir)
    : CBaseWindow(parent), m_app(nullptr, appDataDir, applicationDir)
{
    setObjectName(QStringLiteral("CDlpMainWindow"));
    setMinimumSize(960, 600);
    resize(1280, 800);
    showMaximisedOnScreen();
    // Progress of every long job reaches the progress window by queued calls only. The cancel
    // button stays offered until the user has cancelled: the jobs' own flag is not a statement
    // about whether they can be cancelled (the readers always pass false).
    m_app.setProgressCallback([this](int percent, const QString &stage, bool) {
        DlpProccessBar::instance()->report(stage, percent, !m_app.isCancelled());
    });

    m_mainWindow = new DlpMainWindow(&m_app, this);
    m_host = std::make_unique<Orvane3Ds::DRenderHost>(m_app);
    // Work packages take their preview pictures from this view.
    m_app.setPreviewWriter([this](int view) { return m_host && m_host->writePreview(view); });
    m_app.setPreviewRenderer(
        [this](QByteArray *front, QByteArray *top, QByteArray *left, QString *error) {
            if (!m_host) {
                *error = QStringLiteral("the 3D view is gone");
                return false;
            }
            const bool ok = m_host->renderPreviews(front, top, left);
            if (!ok)
                *error = m_host->errorString();
            return ok;
        });
    m_viewEntry = std::make_unique<ViewEntry>(m_host.get());
    m_glBox = new GLBox(m_viewEntry.get());
    m_glBox->setObjectName(QStringLiteral("GLBox"));
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setSamples(Orvane3Ds::probeViewSampleCount());
    m_glBox->setFormat(format);
    m_host->setView(m_glBox);
    m_mainWindow->setView(m_glBox);
    m_mainWindow->setEventSink([this](const void *record) {
        if (m_host) {
            m_host->handleGLEvent(record);
        }
    });
    connect(&m_app, &DSharedApp::updatePaint, m_glBox, [this] { m_glBox->update(); });

    setContent(m_mainWindow);
    m_menuBar = new DlpMenuBar(m_mainWindow);
    m_mainWindow->setDlpMenuBar(m_menuBar);
    installEditPanels(
        *m_mainWindow, m_app,
        [this]() -> Orvane3Ds::DViewInput * { return m_host ? &m_host->input() : nullptr; },
        *m_menuBar);
    auto viewInput = [this]() -> Orvane3Ds::DViewInput * {
        return m_host ? &m_host->input() : nullptr;
    };
    installSupportPanels(*m_mainWindow, m_app, viewInput);
    installManualSupportPanel(*m_mainWindow, m_app, viewInput);
    if (auto *manual = qobject_cast<DSupportWindow *>(
            m_mainWindow->panel(DlpModelOperateWidget::JewelrySupport)))
        connect(manual, &DSupportWindow::supdateTotalLayer, this,
                &CDlpMainWindow::updateClipZTotal);

    m_app.subscribe(kSubscriberName, [this](Orvane3Ds::EAppEvent event, const QString &text) {
        onAppEvent(event, text);
    });

    DlpProccessBar *progress = DlpProccessBar::instance();
    progress->setMainWindow(m_mainWindow);
    connect(progress, &DlpProccessBar::sCancelProcess, m_mainWindow,
            &DlpMainWindow::onCancelProcess);
    connect(this, &CBaseWindow::sExitApp, this, &QWidget::close);
    connect(&m_app, &DlpOrvaneApp::sAddDeviceScene, m_mainWindow, &DlpMainWindow::onAddDeviceScene);
    connect(m_mainWindow, &DlpMainWindow::sShowManuSupportUI, this,
            &CDlpMainWindow::onShowManuSupportUI);
    connect(m_mainWindow, &DlpMainWindow::schangeLanguage, this, &CDlpMainWindow::onchangeLanguage);

    // The standard views turn frame by frame from a timer; the window stays usable meanwhile.
    m_host->turner().setAnimated(true);
    m_camera = new DlpGlCamareWidget(&m_host->turner());
    m_mainWindow->setCameraButtons(m_camera);
    m_clip = new DlpClipZWidget(m_host->clipHooks());
    m_mainWindow->setClipWidget(m_clip);
    updateClipZTotal();

    titleMenu()->addAction(m_menuBar->action(QStringLiteral("Languages")));
    titleMenu()->addAction(m_menuBar->action(QStringLiteral("aboutSoft")));

    // "--platform X,Y,Z" (millimetres) before the file sets the build platform of this run.
    QStringList files = arguments;
    if (files.value(0) == QLatin1String("--platform")) {
        PlatformSize platform;
        if (parsePlatformSize(files.value(1), &platform)) {
            m_app.setPlatform(platform);
        } else {
            qWarning().noquote() << "ignoring --platform" << files.value(1)
                                 << ": expected X,Y,Z in millimetres";
            tellStartupNote(tr("startupPlatformIgnored").arg(files.value(1)));
        }
        files = files.mid(2);
    }
    if (!files.isEmpty()) {
        openStartupFile(files.first());
    }
    onchangeLanguage();
}

void CDlpMainWindow::tellStartupNote(const QString &note)
{
    // Told once the window is up (and in one box when there are several).
    m_startupNotes << note;
    QTimer::singleShot(0, this, [this] {
        if (m_startupNotes.isEmpty()) {
            return;
        }
        const QString text = m_startupNotes.join(QStringLiteral("\n"));
        m_startupNotes.clear();
        QMessageBox::warning(this, tr("Tip"), text, QMessageBox::Ok);
    });
}

CDlpMainWindow::~CDlpMainWindow()
{
    m_app.events().unsubscribe(kSubscriberName);
    m_app.setProgressCallback({});
    if (auto manager = m_app.getImportManager()) {
        manager->cancel();
        manager->waitForIdle();
    }
    // The scene holds callbacks into the engine; the engine's GL objects are freed while the
    // view's context is current; then the view goes, and the application last (as a member).
    m_app.scene().setCallbacks({});
    const bool current = m_glBox->isValid();
    if (current) {
        m_glBox->makeCurrent();
    }
    static_cast<ViewEntry *>(m_viewEntry.get())->detach();
    m_host.reset();
    if (current) {
        m_glBox->doneCurrent();
    }
    delete m_mainWindow;
    m_mainWindow = nullptr;
    m_glBox = nullptr;
    DlpProccessBar::instance()->setMainWindow(nullptr);
}

void CDlpMainWindow::openStartupFile(const QString &path)
{
    qDebug().noquote() << "start-up file:" << QFileInfo(path).fileName();
    const QString suffix = QFileInfo(path).suffix().toLower();
    // Parts are what the part import dialog offers, SLC contours included.
    if (Vxpj::isProjectPath(path)) {
        m_app.getImportManager()->importProject(path);
    } else if (suffix == QLatin1String("stl") || suffix == QLatin1String("obj") ||
               suffix == QLatin1String("slc")) {
        m_app.getImportManager()->importParts({path});
    } else {
        tellStartupNote(tr("startupFileNotOpened").arg(QDir::toNativeSeparators(path)));
    }
}

void CDlpMainWindow::onAppEvent(Orvane3Ds::EAppEvent event, const QString &)
{
    DlpStatusBarWidget *status = m_mainWindow->statusLabel();
    switch (event) {
    case Orvane3Ds::InsidePlatform:
        QMetaObject::invokeMethod(status, "onOverBoundLabel", Qt::QueuedConnection,
                                  Q_ARG(bool, false));
        break;
    case Orvane3Ds::OutsidePlatform:
        QMetaObject::invokeMethod(status, "onOverBoundLabel", Qt::QueuedConnection,
                                  Q_ARG(bool, true));
        break;
    case Orvane3Ds::SceneChanged:
        // Also when the last model went: the slider then offers nothing to cut (0..0).
        updateClipZTotal();
        break;
    default:
        // Support and manual-support changes refresh panels that are not offered yet.
        break;
    }
}

void CDlpMainWindow::updateClipZTotal()
{
    if (!m_clip) {
        return;
    }
    // The highest top over all models (models below the platform count as 0), in 0.1 mm layers.
    float topZ = 0.0f;
    for (const auto &model : m_app.scene().models()) {
        const Box3f &box = model->boundingBox();
        if (!box.isEmpty() && box.max.z > topZ) {
            topZ = box.max.z;
        }
    }
    m_clip->setTotal(DlpClipZWidget::stepsForTop(topZ));
}

void CDlpMainWindow::onShowManuSupportUI()
{
    m_mainWindow->addJewelrySupportWidget();
}

void CDlpMainWindow::onchangeLanguage()
{
    m_language = QSettings().value("softLang").toString();
    setTitle(tr("OrvaneCorp"));
    retranslateTitleBar();
    m_mainWindow->retranslate();
    m_camera->retranslate();
    DlpProccessBar::instance()->retranslate();
}

void CDlpMainWindow::endJobs()
{
    // A load still running waits for this thread to take its models; it is cancelled and
    // served until it has ended, and an export or print run stops at its next layer. Otherwise
    // the program would wait for them after its event loop has ended.
    if (auto manager = m_app.getImportManager(); manager->isLoading()) {
        manager->cancel();
        manager->waitForIdle();
    }
    if (m_app.isExportRunning() || m_app.isPrintRunning()) {
        m_app.onCancelProcess();
        m_app.waitForPrintData();
    }
}

void CDlpMainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_mainWindow->sceneHasModels()) {
        event->accept();
        endJobs();
        endProcess();
        return;
    }
    QMessageBox box(QMessageBox::Warning, tr("Tip"), tr("saveModel?"), QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("saveQuestion"));
    QPushButton *yes = box.addButton(tr("yes"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(tr("no"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(tr("cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == no) {
        event->accept();
        endJobs();
        endProcess();
        return;
    }
    // Leaving without the project written would lose the user's work: only close once the
    // save went through.
    if (box.clickedButton() == yes && m_mainWindow->runSceneExport()) {
        event->accept();
        endJobs();
        endProcess();
        return;
    }
    event->ignore();
}

void registerDlpMainWindow(const QStringList &arguments)
{
    CDlpApplicationContext::setMainWindowFactory(
        [arguments]() -> QWidget * { return new CDlpMainWindow(arguments); });
    CDlpApplicationContext::setVersionCheck([](QWidget *window) {
        if (auto *main = qobject_cast<CDlpMainWindow *>(window))
            UpdateService::scheduleAutomaticCheck(main->app(), main->app()->applicationName(),
                                                  main->app()->softwareVersionText(),
                                                  main->language());
    });
}
