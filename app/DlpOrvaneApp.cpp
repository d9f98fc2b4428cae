#include "app/DlpOrvaneApp.h"

#include "app/AppDataDir.h"
#include "geometry/Model.h"
#include "io/DIoError.h"
#include "io/DIoVXPJ.h"
#include "io/DPlavinIoManager.h"
#include "io/StlWriter.h"
#include "supports/SupportProfiles.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QtConcurrent>

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
    notBuilt("network layer (NetworkApp)");
}

DlpOrvaneApp::~DlpOrvaneApp()
{
    setCancel(true);
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
    return std::make_shared<DPlavinIoManager>(this);
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
    for (const QString &path : paths) {
        const QString suffix = QFileInfo(path).suffix();
        if (suffix.contains(QLatin1String("vxpj")) || suffix.contains(QLatin1String("orvane")))
            projects << path;
        else
            parts << path;
    }

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

void DlpOrvaneApp::onProcessPrintWithThread(bool send)
{
    Q_UNUSED(send)
    if (isPrintRunning()) {
        warn("Tip", "isRuning");
        return;
    }
    if (m_scene.isEmpty()) {
        warn("Tip", "NoModel");
        return;
    }
    if (!m_printJob) {
        notBuilt("print-data production (onProcessPrintWithThread)");
        return;
    }
    setCancel(false);
    m_printRun = QtConcurrent::run(m_printJob);
}

void DlpOrvaneApp::onTransforScence()
{
    onProcessPrintWithThread(true);
}

void DlpOrvaneApp::onExportPrintData(bool ask)
{
    Q_UNUSED(ask)
    if (isExportRunning()) {
        warn("saveVxpr", "isSaveVxpr");
        return;
    }
    if (m_scene.isEmpty()) {
        warn("Tip", "noModelInScene!");
        return;
    }
    if (!m_exportJob) {
        notBuilt("work-package export (onExportPrintData)");
        return;
    }
    setCancel(false);
    m_exportRun = QtConcurrent::run(m_exportJob);
}

void DlpOrvaneApp::onExportModel(QString path)
{
    const std::vector<std::shared_ptr<Mesh3D>> meshes = m_scene.printMeshes();
    try {
        writeBinaryStl(path, meshes);
    } catch (const DIoError &e) {
        qWarning().noquote() << "export" << path << "failed:" << e.message();
        emit importFailed({{path, e.message()}});
    }
}

void DlpOrvaneApp::onExportScene(QString path)
{
    onSerialScene(path);
}

void DlpOrvaneApp::onSerialScene(QString path)
{
    const ModelList models = m_scene.models();
    try {
        Vxpj::saveProject(path, std::vector<std::shared_ptr<Model>>(models.begin(), models.end()),
                          &m_rootProgress);
    } catch (const DIoError &e) {
        qWarning().noquote() << "saving" << path << "failed:" << e.message();
        emit importFailed({{path, e.message()}});
    }
}

void DlpOrvaneApp::sendError(int code)
{
    qWarning() << "sendError" << code;
    notBuilt("device error report (sendError)");
}

void DlpOrvaneApp::onInitialEnvColor()
{
    notBuilt("environment colours (onInitialEnvColor)");
}
void DlpOrvaneApp::onQueryDeviceInfo()
{
    notBuilt("printer query (onQueryDeviceInfo)");
}
void DlpOrvaneApp::onTransforVXPRFile()
{
    notBuilt("work-package sending (onTransforVXPRFile)");
}
void DlpOrvaneApp::onProcessPrint()
{
    notBuilt("print-data production (onProcessPrint)");
}
void DlpOrvaneApp::onAccuracyCheck()
{
    notBuilt("accuracy check (onAccuracyCheck)");
}

void DlpOrvaneApp::onGeneralPrintDatas(std::vector<std::shared_ptr<Mesh3D>>, QString)
{
    notBuilt("work-package writing (onGeneralPrintDatas)");
}

void DlpOrvaneApp::onSentPrintDatas(QString)
{
    notBuilt("package transfer (onSentPrintDatas)");
}

void DlpOrvaneApp::onUploadUpgradefile(QString)
{
    notBuilt("upgrade upload (onUploadUpgradefile)");
}

void DlpOrvaneApp::onCutFramebuffer(int)
{
    notBuilt("preview pictures (onCutFramebuffer)");
}

void DlpOrvaneApp::toLocalCache(std::vector<std::shared_ptr<Mesh3D>> meshes, QString path)
{
    try {
        writeBinaryStl(path, meshes);
    } catch (const DIoError &e) {
        qWarning().noquote() << "writing" << path << "failed:" << e.message();
    }
}

void DlpOrvaneApp::setSelectEnvironmentColor()
{
    notBuilt("colour scheme (setSelectEnvironmentColor)");
}
