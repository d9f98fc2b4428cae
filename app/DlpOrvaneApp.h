#pragma once

#include "app/DSharedApp.h"

#include <QFuture>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class Mesh3D;

// The DLP application object: configuration and per-user folders, the import manager with
// project loading, the print and export run handles, cancel, and the slots the window calls.
//
// Construction sets the platform (96 x 54 x 160), prepares the per-user folders below the
// application-data folder (logging "error::path setting faild" when that fails) and the
// preview-picture settings. Lives on the user-interface thread.
class DlpOrvaneApp : public DSharedApp
{
    Q_OBJECT
  public:
    // (title key, text key) of a modal warning; the default shows a message box.
    using WarningHandler = std::function<void(const QString &title, const QString &text)>;
    using RunJob = std::function<void()>;

    // appDataDir: the per-user application-data folder, empty for the system's (appDataDir());
    // applicationDir: where the shipped files are, empty for the executable's folder.
    explicit DlpOrvaneApp(QObject *parent = nullptr, const QString &appDataDir = QString(),
                          const QString &applicationDir = QString());
    ~DlpOrvaneApp() override;

    // Sets the paths, then creates the per-user folders, copies the shipped profiles (keeping
    // files the user already has) and replaces the user's description file with the shipped one.
    // Returns false at the first step that fails.
    bool setApplicationPath(const QString &appDataDir) override;

    std::shared_ptr<DModelIoManager> getImportManager() override;

    QString languageCodeText() const override { return languageCode(); }
    QString applicationName() const override { return QStringLiteral("Resinor"); }
    QString softwareVersionText() const override { return softwareVersion(); }
    QString updateQueryAddressText() const override { return updateQueryAddress(); }

    void setWarningHandler(WarningHandler handler) { m_warn = std::move(handler); }

    // The work the print and export runs do; installed by the slicing side. Until then the
    // entry points log that print-data production is not available.
    void setPrintJob(RunJob job) { m_printJob = std::move(job); }
    void setExportJob(RunJob job) { m_exportJob = std::move(job); }

    bool isLoadRunning() const;
    bool isPrintRunning() const { return m_printRun.isRunning(); }
    bool isExportRunning() const { return m_exportRun.isRunning(); }

    // Dropped or command-line files: parts are imported as one load; the first project is
    // opened after that load (or at once when there are no parts); further projects are
    // reported as not opened. Ignored (false) while a load runs.
    bool openDroppedFiles(const QStringList &paths);

  public slots:
    void onCancelProcess();
    void onProcessPrintWithThread(bool send);
    void onTransforScence();
    void onExportPrintData(bool ask);
    // Writes all scene meshes as one binary STL file.
    void onExportModel(QString path);
    // Saves the scene as a project (version 5).
    void onExportScene(QString path);
    void onSerialScene(QString path);

    // Entry points filled in by the network, print-data and GL parts.
    void sendError(int code);
    void onInitialEnvColor();
    void onQueryDeviceInfo();
    void onTransforVXPRFile();
    void onProcessPrint();
    void onAccuracyCheck();
    void onGeneralPrintDatas(std::vector<std::shared_ptr<Mesh3D>> meshes, QString path);
    void onSentPrintDatas(QString path);
    void onUploadUpgradefile(QString path);
    void onCutFramebuffer(int view);
    void toLocalCache(std::vector<std::shared_ptr<Mesh3D>> meshes, QString path);
    void setSelectEnvironmentColor();

  signals:
    void sAddDeviceScene();

  protected:
    std::shared_ptr<DModelIoManager> createImportManager() override;

  private:
    void warn(const char *title, const char *text);
    void writePreviewSettings();
    static void notBuilt(const char *entry);

    WarningHandler m_warn;
    RunJob m_printJob;
    RunJob m_exportJob;
    QFuture<void> m_printRun;
    QFuture<void> m_exportRun;
};
