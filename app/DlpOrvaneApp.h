#pragma once

#include "app/DSharedApp.h"
#include "app/IPrinterNetwork.h"
#include "app/VxprExport.h"

#include <QFuture>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class DlpConfigAccuracyForm;
class Mesh3D;
class QWidget;

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

    // (title key, text key) of a yes/no question; true for OK. The default shows a message box.
    using QuestionHandler = std::function<bool(const QString &title, const QString &text)>;
    // Shows the accuracy dialog and returns whether it was accepted; the default runs it modal.
    using AccuracyFormRunner = std::function<bool(DlpConfigAccuracyForm &form)>;
    // Asks for the folder of an exported package, starting at `start`; empty when cancelled.
    using DirectoryChooser = std::function<QString(QWidget *parent, const QString &start)>;
    // Renders preview picture 0 (front), 1 (top) or 2 (left) into the file named by
    // "map/ScreenShotFront", "map/ScreenShotTop" or "map/ScreenShotLeft"; false on failure.
    using PreviewWriter = std::function<bool(int view)>;
    // Renders the three preview pictures of the scene into memory for a work package.
    using PreviewRenderer = VxprPreviewRenderer;

    // Creates the printer network of an application object (the network library installs it
    // through registerPrinterNetwork(); without a factory the object has no printer network).
    using PrinterNetworkFactory = std::function<IPrinterNetwork *(DlpOrvaneApp *app)>;
    static void setPrinterNetworkFactory(PrinterNetworkFactory factory);
    // The printer network made at construction (owned by this object as a child), or null.
    IPrinterNetwork *printerNetwork() const { return m_network; }
    // Asks for a package to send, starting in start; empty when cancelled. Default: a dialog.
    using PackageChooser = std::function<QString(const QString &start)>;
    void setPackageChooser(PackageChooser chooser) { m_choosePackage = std::move(chooser); }

    void setWarningHandler(WarningHandler handler) { m_warn = std::move(handler); }
    void setQuestionHandler(QuestionHandler handler) { m_ask = std::move(handler); }
    void setAccuracyFormRunner(AccuracyFormRunner runner) { m_runForm = std::move(runner); }
    void setDirectoryChooser(DirectoryChooser chooser) { m_chooseDir = std::move(chooser); }
    // Installed by the 3D view once GL is ready. Without it the previews are whatever the
    // picture files hold (zero when they are missing).
    void setPreviewWriter(PreviewWriter writer) { m_previewWriter = std::move(writer); }
    // Installed by the 3D view once GL is ready: the work packages of the export and print runs
    // take their pictures from it. Without it, or when it fails, the pictures stay empty (the
    // picture files of an earlier run never reach a new package).
    void setPreviewRenderer(PreviewRenderer renderer) { m_previewRenderer = std::move(renderer); }

    // Replace the work of the print or export run (tests). By default the print run writes the
    // package to "<appData>/<slicer/vxprName>" and hands it to the printers; the export run
    // writes it to the chosen path. With a replacement the accuracy check is skipped.
    void setPrintJob(RunJob job) { m_printJob = std::move(job); }
    void setExportJob(RunJob job) { m_exportJob = std::move(job); }

    // File > Export Vxpr: refuses while an export runs or the scene is empty, runs the accuracy
    // check, asks for the folder (remembered under "path/lastExportPath" once the package is
    // written there), renders the previews and starts the export on the export thread. Returns
    // whether it started; the outcome arrives as printDataFinished().
    bool exportVxprInteractive(QWidget *parent = nullptr);
    // Starts the export of the scene to path with the layer thickness of
    // "slicer/layerThickness", without any dialog. False when refused or already running.
    bool startExport(const QString &path);
    // The accuracy check before every export: SLC precision warnings and question, then the
    // accuracy dialog. True when the dialog was accepted.
    bool accuracyCheck(QWidget *parent = nullptr);
    // Blocks until the running export or print run has ended (tests, shutdown).
    void waitForPrintData();

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
    // Writes all scene meshes as one binary STL file. False when it could not be written; then
    // *error is "<file name>: <reason>" (in the user's language) and a file that was there
    // before is kept.
    bool onExportModel(QString path, QString *error = nullptr);
    // Saves the scene as a project (version 5); failures as for onExportModel().
    bool onExportScene(QString path, QString *error = nullptr);
    bool onSerialScene(QString path, QString *error = nullptr);

    // Entry points filled in by the network, print-data and GL parts.
    void sendError(int code);
    void onInitialEnvColor();
    void onQueryDeviceInfo();
    void onTransforVXPRFile();
    void onProcessPrint();
    void onAccuracyCheck();
    // Writes the work package of plan (see prepareExport()) to path on the calling thread (the
    // export and print threads call it). Progress and cancel follow the application's root
    // progress. True only when the whole package was written; else *error says why.
    bool onGeneralPrintDatas(const VxprExportPlan &plan, QString path, QString *error = nullptr);
    // The scene's export plan with the layer thickness of "slicer/layerThickness" and the
    // previews of the installed renderer; interface thread. Models beyond the platform and
    // empty previews are logged.
    VxprExportPlan prepareExport();
    void onSentPrintDatas(QString path);
    void onUploadUpgradefile(QString path);
    // Writes preview picture view (0 front, 1 top, 2 left) through the preview writer; logs when
    // no writer is installed or it fails.
    void onCutFramebuffer(int view);
    void setSelectEnvironmentColor();

  signals:
    void sAddDeviceScene();
    // A print or export run ended (on the interface thread): ok is true only when the whole
    // package was written; error is the reason otherwise ("Canceled" after a cancel).
    void printDataFinished(QString path, bool ok, QString error);
    // An export the user started wrote the whole package to path (after printDataFinished).
    void vxprExported(QString path);

  protected:
    std::shared_ptr<DModelIoManager> createImportManager() override;

  private:
    void warn(const char *title, const char *text);
    // False, with a warning, while an export runs or when the scene holds no model.
    bool exportAllowed();
    bool ask(const char *title, const char *text);
    // True when every model lies within the platform, or the user chose to go on anyway (the
    // question names the models beyond it).
    bool confirmOutOfBounds();
    void reportFailure(const QString &path, const QString &error);
    // The body of the export and print runs (pool thread): writes the package of plan to path,
    // then on the interface thread reports the outcome; a complete export's folder is remembered
    // and announced, a complete print package sent when asked.
    enum class RunKind { Export, Print, PrintAndSend };
    void runPlan(const VxprExportPlan &plan, const QString &path, RunKind kind);
    void finishRun(const QString &path, bool ok, const QString &error);
    void writePreviewSettings();
    static void notBuilt(const char *entry);
    static PrinterNetworkFactory &printerNetworkFactory();

    WarningHandler m_warn;
    IPrinterNetwork *m_network = nullptr;
    PackageChooser m_choosePackage;
    QuestionHandler m_ask;
    AccuracyFormRunner m_runForm;
    DirectoryChooser m_chooseDir;
    PreviewWriter m_previewWriter;
    PreviewRenderer m_previewRenderer;
    RunJob m_printJob;
    RunJob m_exportJob;
    QFuture<void> m_printRun;
    // What the print run writes and whether it sends the package; set before it starts.
    VxprExportPlan m_printPlan;
    bool m_printSend = false;
    QFuture<void> m_exportRun;
};
