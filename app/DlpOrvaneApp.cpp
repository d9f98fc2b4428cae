#include "app/DlpOrvaneApp.h"

#include "app/AppDataDir.h"
#include "app/CEnvironmentColors.h"
#include "app/DlpConfigAccuracyForm.h"
#include "app/EnvironmentSetup.h"
#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/DIoVXPJ.h"
#include "io/DPlavinIoManager.h"
#include "io/StlWriter.h"
#include "slicing/AccuracyCheck.h"
#include "slicing/DlpSliceManager.h"
#include "supports/SupportJob.h"
#include "supports/SupportProfiles.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QtConcurrent>

#include <cmath>

DlpOrvaneApp::DlpOrvaneApp(QObject *parent, const QString &appDataFolder,
                           const QString &applicationDir)
    : DSharedApp(parent)
{
    if (!applicationDir.isEmpty())
        setApplicationDir(applicationDir);
    setPlatformSize(PlatformSize{96.0f, 54.0f, 160.0f});
    const QString folder = appDataFolder.isEmpty() ? ::appDataDir() : appDataFolder;
    if (!setApplicationPath(folder))
        qWarning() << "error::path setting faild";
    writePreviewSettings();
    if (printerNetworkFactory())
        m_network = printerNetworkFactory()(this);
}

DlpOrvaneApp::PrinterNetworkFactory &DlpOrvaneApp::printerNetworkFactory()
{
    static PrinterNetworkFactory factory;
    return factory;
}

void DlpOrvaneApp::setPrinterNetworkFactory(PrinterNetworkFactory factory)
{
    printerNetworkFactory() = std::move(factory);
}

DlpOrvaneApp::~DlpOrvaneApp()
{
    setCancel(true);
    waitForPrintData();
}

void DlpOrvaneApp::waitForPrintData()
{
    m_printRun.waitForFinished();
    m_exportRun.waitForFinished();
}

void DlpOrvaneApp::notBuilt(const char *entry)
{
    qWarning().noquote() << QStringLiteral("%1: not built yet").arg(QLatin1String(entry));
}

bool DlpOrvaneApp::setApplicationPath(const QString &folder)
{
    DSharedApp::setApplicationPath(folder);
    if (folder.isEmpty())
        return false;
    for (const QString &dir : {folder, dataDir(), userDir(), userProfilesDir()}) {
        if (!QDir().mkpath(dir)) {
            qWarning() << "cannot create" << dir;
            return false;
        }
    }
    if (QFileInfo(shippedProfilesDir()).isDir()) {
        QString error;
        if (!copyShippedProfiles(shippedProfilesDir(), userProfilesDir(), &error))
            qWarning().noquote() << "copying the shipped profiles:" << error;
    }
    if (!QDir().mkpath(tempDir()))
        return false;
    if (QFile::exists(descriptionFile()))
        QFile::remove(descriptionFile());
    if (!QFile::copy(defaultDescriptionFile(), descriptionFile())) {
        qWarning() << "cannot copy" << defaultDescriptionFile() << "to" << descriptionFile();
        return false;
    }
    return true;
}

void DlpOrvaneApp::writePreviewSettings()
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("map"));
    settings.setValue(QStringLiteral("ScreenShotFront"),
                      appDataDir() + QStringLiteral("/front.dat"));
    settings.setValue(QStringLiteral("ScreenShotTop"), appDataDir() + QStringLiteral("/top.dat"));
    settings.setValue(QStringLiteral("ScreenShotLeft"), appDataDir() + QStringLiteral("/left.dat"));
    settings.endGroup();
    settings.beginGroup(QStringLiteral("ui"));
    if (settings.value(QStringLiteral("accuracys")).toString().isEmpty())
        settings.setValue(QStringLiteral("accuracys"), QStringLiteral("0.025:0.035:0.05:0.1"));
    settings.endGroup();
    settings.sync();
}

std::shared_ptr<DModelIoManager> DlpOrvaneApp::createImportManager()
{
    auto manager = std::make_shared<DPlavinIoManager>(this);
    // A project stores overhang points and parameters, not support meshes: build them again.
    manager->setSupportRegenerator([](Model &model, const PlatformSize &, IProgressable *progress) {
        const SupportJobResult result = regenerateSupportsForModel(model, progress);
        if (result.ok)
            return QString();
        qWarning().noquote() << "supports of" << model.name()
                             << "were not generated again:" << result.error;
        return result.error.isEmpty() ? QStringLiteral("unknown error") : result.error;
    });
    return manager;
}

std::shared_ptr<DModelIoManager> DlpOrvaneApp::getImportManager()
{
    return DSharedApp::getImportManager();
}

bool DlpOrvaneApp::isLoadRunning() const
{
    return m_importManager && m_importManager->isLoading();
}

bool DlpOrvaneApp::openDroppedFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return false;
    if (isLoadRunning()) {
        qDebug() << "There is a Loading Thread runing";
        return false;
    }
    QSettings().setValue(QStringLiteral("path/lastImportPath"),
                         QFileInfo(paths.first()).absolutePath());

    QStringList parts;
    QStringList projects;
    for (const QString &path : paths)
        (Vxpj::isProjectPath(path) ? projects : parts) << path;

    ImportFailures notOpened;
    for (int i = 1; i < projects.size(); ++i)
        notOpened.append({projects[i], QStringLiteral("Only one project is opened at a time")});

    std::shared_ptr<DModelIoManager> manager = getImportManager();
    bool started = false;
    if (!parts.isEmpty()) {
        started = manager->importParts(parts);
        if (started && !projects.isEmpty()) {
            // The project follows the part load instead of being refused by it.
            const QString project = projects.first();
            auto connection = std::make_shared<QMetaObject::Connection>();
            *connection = connect(
                manager.get(), &DModelIoManager::loadFinished, this,
                [this, project, connection] {
                    disconnect(*connection);
                    if (m_importManager->isCancelled()) {
                        emit importFailed(
                            {{project, QStringLiteral("Not opened: the load was cancelled")}});
                        return;
                    }
                    getImportManager()->importProject(project);
                },
                Qt::QueuedConnection);
        }
    } else if (!projects.isEmpty()) {
        started = manager->importProject(projects.first());
    }
    if (!notOpened.isEmpty())
        emit importFailed(notOpened);
    return started;
}

void DlpOrvaneApp::onCancelProcess()
{
    setCancel(true);
    if (m_importManager && m_importManager->isLoading())
        m_importManager->cancel();
}

void DlpOrvaneApp::warn(const char *title, const char *text)
{
    if (m_warn) {
        m_warn(QLatin1String(title), QLatin1String(text));
        return;
    }
    QMessageBox::warning(nullptr, QCoreApplication::translate("DlpOrvaneApp", title),
                         QCoreApplication::translate("DlpOrvaneApp", text));
}

bool DlpOrvaneApp::ask(const char *title, const char *text)
{
    if (m_ask)
        return m_ask(QLatin1String(title), QLatin1String(text));
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("DlpOrvaneApp", title),
                    QCoreApplication::translate("DlpOrvaneApp", text));
    QPushButton *ok =
        box.addButton(QCoreApplication::translate("DlpOrvaneApp", "Ok"), QMessageBox::AcceptRole);
    box.addButton(QCoreApplication::translate("DlpOrvaneApp", "cancel"), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == ok;
}

void DlpOrvaneApp::reportFailure(const QString &path, const QString &error)
{
    const QString text = QStringLiteral("%1\n%2\n%3")
                             .arg(QCoreApplication::translate("DlpOrvaneApp", "vxprWriteFailed"),
                                  QDir::toNativeSeparators(path), translateIoReason(error));
    if (m_warn) {
        m_warn(QStringLiteral("Tip"), text);
        return;
    }
    QMessageBox::warning(nullptr, QCoreApplication::translate("DlpOrvaneApp", "Tip"), text);
}

VxprExportPlan DlpOrvaneApp::prepareExport()
{
    const QString thickness =
        QSettings().value(QStringLiteral("slicer/layerThickness")).toString().trimmed();
    VxprExportPlan plan = prepareVxprExport(m_scene, platformSize(), thickness, m_previewRenderer);
    if (!plan.ok())
        return plan;
    if (!plan.previewNote.isEmpty())
        qWarning().noquote() << "the preview pictures of the package are left empty:"
                             << plan.previewNote;
    for (const QString &name : plan.outsideModels)
        qWarning().noquote() << "the model" << name << "reaches beyond the platform";
    return plan;
}

void DlpOrvaneApp::runPlan(const VxprExportPlan &plan, const QString &path, RunKind kind)
{
    QString error;
    const bool ok = onGeneralPrintDatas(plan, path, &error);
    QMetaObject::invokeMethod(
        this,
        [this, path, ok, error, kind] {
            // Only the folder of a package that was written is remembered.
            if (ok && kind == RunKind::Export) {
                QSettings settings;
                settings.setValue(QStringLiteral("path/lastExportPath"),
                                  QFileInfo(path).absolutePath());
                settings.sync();
            }
            finishRun(path, ok, error);
            if (ok && kind == RunKind::Export)
                emit vxprExported(path);
            // A package that was not written completely is never sent.
            if (ok && kind == RunKind::PrintAndSend)
                onSentPrintDatas(path);
        },
        Qt::QueuedConnection);
}

void DlpOrvaneApp::finishRun(const QString &path, bool ok, const QString &error)
{
    reportJobEnded();
    if (!ok && error != QLatin1String("Canceled"))
        reportFailure(path, error);
    emit printDataFinished(path, ok, error);
}

bool DlpOrvaneApp::accuracyCheck(QWidget *parent)
{
    QSettings settings;
    const OrvaneDlp::AccuracyPlan plan =
        OrvaneDlp::planAccuracyChoice(OrvaneDlp::slcLayerThicknesses(m_scene.printMeshes()),
                                      settings.value(QStringLiteral("ui/accuracys")).toString());
    for (int i = 0; i < plan.precisionWarnings; ++i)
        warn("PrecisionError", "MultiSlc");
    if (plan.askSlcQuestion && !ask("PrecisionTip", "hasSlc"))
        return false;
    DlpConfigAccuracyForm form(parent);
    form.setAccuracies(plan.accuracies, plan.accuracyEditable);
    form.setTitleKey(plan.windowTitleKey);
    return m_runForm ? m_runForm(form) : form.exec() == QDialog::Accepted;
}

void DlpOrvaneApp::onAccuracyCheck()
{
    accuracyCheck(nullptr);
}

void DlpOrvaneApp::onProcessPrintWithThread(bool send)
{
    if (isPrintRunning()) {
        warn("Tip", "isRuning");
        return;
    }
    if (m_scene.isEmpty()) {
        warn("Tip", "NoModel");
        return;
    }
    if (!confirmOutOfBounds())
        return;
    if (m_printJob) {
        setCancel(false);
        m_rootProgress.clearLevels();
        m_printRun = QtConcurrent::run(m_printJob);
        return;
    }
    if (!accuracyCheck(nullptr))
        return;
    VxprExportPlan plan = prepareExport();
    if (!plan.ok()) {
        reportFailure(QSettings().value(QStringLiteral("slicer/vxprName")).toString(), plan.error);
        return;
    }
    setCancel(false);
    m_rootProgress.clearLevels();
    m_printPlan = std::move(plan);
    m_printSend = send;
    m_printRun = QtConcurrent::run([this] { onProcessPrint(); });
}

void DlpOrvaneApp::onProcessPrint()
{
    const QString path = QStringLiteral("%1/%2").arg(
        appDataDir(), QSettings().value(QStringLiteral("slicer/vxprName")).toString());
    qDebug() << "数据生成开始";
    const VxprExportPlan plan = std::move(m_printPlan);
    m_printPlan = VxprExportPlan();
    runPlan(plan, path, m_printSend ? RunKind::PrintAndSend : RunKind::Print);
    qDebug() << "数据生成完成";
}

void DlpOrvaneApp::onTransforScence()
{
    onProcessPrintWithThread(true);
}

void DlpOrvaneApp::onExportPrintData(bool ask)
{
    Q_UNUSED(ask)
    exportVxprInteractive(nullptr);
}

bool DlpOrvaneApp::exportAllowed()
{
    if (isExportRunning()) {
        warn("saveVxpr", "isSaveVxpr");
        return false;
    }
    if (m_scene.isEmpty()) {
        warn("Tip", "noModelInScene!");
        return false;
    }
    return true;
}

bool DlpOrvaneApp::confirmOutOfBounds()
{
    QStringList beyond;
    for (const auto &model : m_scene.models()) {
        if (DModelOperator::anyOutOfBounds({model}, platformSize()))
            beyond << model->name();
    }
    if (beyond.isEmpty())
        return true;
    // What lies beyond the platform is cut off by the printer: only go on when the user says so.
    const QString text = QCoreApplication::translate("DlpOrvaneApp", "outOfPlatformGoOn")
                             .arg(beyond.join(QStringLiteral(", ")));
    if (m_ask)
        return m_ask(QStringLiteral("Tip"), text);
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("DlpOrvaneApp", "Tip"),
                    text);
    QPushButton *ok =
        box.addButton(QCoreApplication::translate("DlpOrvaneApp", "Ok"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QCoreApplication::translate("DlpOrvaneApp", "cancel"),
                                        QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

bool DlpOrvaneApp::exportVxprInteractive(QWidget *parent)
{
    if (!exportAllowed())
        return false;
    if (!confirmOutOfBounds())
        return false;
    if (!m_exportJob && !accuracyCheck(parent))
        return false;
    QSettings settings;
    const QString start = settings.value(QStringLiteral("path/lastExportPath")).toString();
    const QString dir =
        m_chooseDir ? m_chooseDir(parent, start)
                    : QFileDialog::getExistingDirectory(
                          parent, QCoreApplication::translate("DlpOrvaneApp", "saveVxpr"), start);
    if (dir.isEmpty())
        return false;
    // The folder is remembered once the package is written there (runPlan()).
    return startExport(QStringLiteral("%1/%2").arg(
        dir, settings.value(QStringLiteral("slicer/vxprName")).toString()));
}

bool DlpOrvaneApp::startExport(const QString &path)
{
    if (!exportAllowed())
        return false;
    if (m_exportJob) {
        setCancel(false);
        m_rootProgress.clearLevels();
        m_exportRun = QtConcurrent::run(m_exportJob);
        return true;
    }
    const VxprExportPlan plan = prepareExport();
    if (!plan.ok()) {
        reportFailure(path, plan.error);
        return false;
    }
    setCancel(false);
    m_rootProgress.clearLevels();
    m_exportRun = QtConcurrent::run([this, plan, path] { runPlan(plan, path, RunKind::Export); });
    return true;
}

bool DlpOrvaneApp::onExportModel(QString path, QString *error)
{
    const std::vector<std::shared_ptr<Mesh3D>> meshes = m_scene.printMeshes();
    try {
        writeBinaryStl(path, meshes);
    } catch (const DIoError &e) {
        qWarning().noquote() << "export" << path << "failed:" << e.message();
        if (error)
            *error = ImportFailure{path, e.message()}.displayText();
        return false;
    }
    return true;
}

bool DlpOrvaneApp::onExportScene(QString path, QString *error)
{
    return onSerialScene(path, error);
}

bool DlpOrvaneApp::onSerialScene(QString path, QString *error)
{
    const ModelList models = m_scene.models();
    // A cancel left over from an earlier load or run must not stop this save at once. While a
    // job still runs the flag and the levels are its own, so they are left alone.
    const bool alone = !isLoadRunning() && !isPrintRunning() && !isExportRunning();
    if (alone) {
        setCancel(false);
        m_rootProgress.clearLevels();
    }
    bool ok = true;
    try {
        Vxpj::saveProject(path, std::vector<std::shared_ptr<Model>>(models.begin(), models.end()),
                          &m_rootProgress);
    } catch (const DIoError &e) {
        qWarning().noquote() << "saving" << path << "failed:" << e.message();
        if (error)
            *error = ImportFailure{path, e.message()}.displayText();
        ok = false;
    }
    if (alone)
        reportJobEnded();
    return ok;
}

void DlpOrvaneApp::sendError(int code)
{
    qWarning() << "sendError" << code;
    notBuilt("device error report (sendError)");
}

void DlpOrvaneApp::onInitialEnvColor()
{
    if (!Orvane3Ds::initialEnvironmentColors(Orvane3Ds::CEnvironmentColors::instance(), *this))
        qWarning().noquote() << "no supply listed for the layer thickness 0.1 in"
                             << descriptionFile();
}
void DlpOrvaneApp::onQueryDeviceInfo()
{
    if (m_network)
        m_network->queryDevices();
    else
        notBuilt("printer query (no printer network in this program)");
}

void DlpOrvaneApp::onTransforVXPRFile()
{
    QSettings settings;
    const QString start = settings.value(QStringLiteral("transforVXPR/openDir")).toString();
    const QString file = m_choosePackage
                             ? m_choosePackage(start)
                             : QFileDialog::getOpenFileName(nullptr, tr("Open VXPR File"), start,
                                                            QStringLiteral("(*.vxpr)"));
    if (file.isEmpty())
        return;
    settings.setValue(QStringLiteral("transforVXPR/openDir"), QFileInfo(file).absolutePath());
    onSentPrintDatas(file);
}
bool DlpOrvaneApp::onGeneralPrintDatas(const VxprExportPlan &plan, QString path, QString *error)
{
    qDebug() << "data general start";
    double volumeMl = 0.0;
    const bool ok = exportVxpr(path, plan, &m_rootProgress, error, &volumeMl);
    qDebug().noquote() << "total area : " << volumeMl;
    qDebug() << "data general over";
    return ok;
}

void DlpOrvaneApp::onSentPrintDatas(QString path)
{
    if (!m_network) {
        notBuilt("package transfer (no printer network in this program)");
        return;
    }
    if (m_network->sendPrintPackage(path) == 0)
        warn("Tip", "noDevice");
}

void DlpOrvaneApp::onUploadUpgradefile(QString path)
{
    if (!m_network) {
        notBuilt("upgrade upload (no printer network in this program)");
        return;
    }
    if (m_network->sendUpgradePackage(path) == 0)
        warn("Tip", "noDevice");
}

void DlpOrvaneApp::onCutFramebuffer(int view)
{
    if (!m_previewWriter) {
        qWarning() << "preview picture" << view
                   << "not written: no 3D view has installed a preview writer";
        return;
    }
    if (!m_previewWriter(view))
        qWarning() << "preview picture" << view << "could not be written";
}

void DlpOrvaneApp::setSelectEnvironmentColor()
{
    if (!Orvane3Ds::applySelectedEnvironmentColor(Orvane3Ds::CEnvironmentColors::instance(), *this))
        qWarning().noquote() << "no colour scheme named" << selectedSupply().color;
}
