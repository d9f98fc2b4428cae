#pragma once

#include "app/COrvaneApp.h"
#include "app/CSupplizeConfig.h"
#include "app/CommandStack.h"
#include "io/IImportHost.h"
#include "io/PartImport.h"

#include <QObject>

#include <functional>
#include <list>
#include <memory>

class Command;
struct CommandTarget;
class DModelIoManager;
class Model;

namespace Orvane3Ds
{
class CSupportApp;
}

// The shared application object: the import manager, the model operations of the panels and
// the GL-ready callback. Lives on the user-interface thread.
class DSharedApp : public QObject,
                   public Orvane3Ds::COrvaneApp,
                   public Orvane3Ds::CSupplizeConfig,
                   public IImportHost
{
    Q_OBJECT
  public:
    explicit DSharedApp(QObject *parent = nullptr);
    ~DSharedApp() override;

    // The import manager, created on first use. Every call points it at this application, gives
    // it the progress callback and the platform size, and clears its cancel flag.
    virtual std::shared_ptr<DModelIoManager> getImportManager();
    virtual QString languageCodeText() const = 0;
    virtual QString applicationName() const = 0;
    virtual QString softwareVersionText() const = 0;
    virtual QString updateQueryAddressText() const = 0;

    // count deep copies of every selected model (numbered after the highest copy number of
    // their name), laid out among themselves with `interval`, placed beside the scene's
    // models and added to the scene (they become the selection).
    void copyModels(int count, int interval);
    void layoutModels(int interval);
    void selectAllModels();
    void invertSelection();

    void setGlReadyCallback(std::function<void(bool)> callback) { m_glReady = std::move(callback); }

    // The platform of the configuration and of every operation (--platform X,Y,Z).
    void setPlatform(const PlatformSize &platform);

    // IImportHost
    void beginLoad() override;
    void clearSelection() override { m_scene.clearSelection(); }
    ModelList sceneModels() const override;
    void addModelsToScene(const ModelList &models) override;
    void endLoad() override;
    PlatformSize platformSize() const override { return COrvaneAppConfig::platformSize(); }

    void requestRepaint() override;
    // Tells the window that the scene changed: event 0, bounds test and statistics, repaint.
    void sceneChanged();

    // ---- recorded changes (DSharedAppEdit.cpp) ----
    CommandStack &commandStack() { return m_commands; }
    // What the commands act on; the 3D view fills in the frame once GL is ready.
    const std::shared_ptr<CommandTarget> &commandTarget();
    // Pushes a change that was just made and tells the window: event 7 with "Undo, ," followed
    // by the command's name, then commandsChanged().
    void recordCommand(std::shared_ptr<Command> command);
    // Undo / redo of the last change; false when there was nothing to do or support work runs
    // (isSupportWorking()). The scene then counts as changed (event 0, bounds test, repaint).
    bool undoCommand();
    bool redoCommand();
    // Forgets every recorded change (done when a project's models arrive).
    void clearCommands();
    // Scales `model` by (fx, fy, fz) about its centroid in x and y, rests it on the platform and
    // records the change; generated supports, which would no longer fit, are discarded. Factors
    // that are not positive finite numbers are refused (false). With `continuing`, a scale of
    // the same model right after the last one recorded this way joins it: the digits of one
    // typed number make one undo step.
    bool scaleModel(const std::shared_ptr<Model> &model, float fx, float fy, float fz,
                    bool continuing = false);
    // Deletes every selected model (recorded, so undo brings them back).
    void deleteSelectedModels();

    // ---- support work (DSharedAppSupport.cpp) ----
    // The support application object, created on first use: its changes are recorded on the
    // command stack, its progress goes through the root progress, and when support work ends
    // the scene counts as changed and event 2 carries its state text.
    Orvane3Ds::CSupportApp &supportApp();
    // True while a support job runs or overhang points are edited: the scene's supports are
    // then in the support application's hands, and undo / redo wait.
    bool isSupportWorking() const;
    // Ends an editing session of overhang points the way its panel does (the points are kept
    // and get their supports) and waits until that job has ended, the window answering
    // meanwhile. Nothing happens when no session runs.
    void finishSupportEditing();

  signals:
    void updatePaint();
    // Models handed to the renderer.
    void addModel2GLEngine(std::list<std::shared_ptr<Model>> models);
    // Files of a load that could not be read, or were not opened, and why.
    void importFailed(const ImportFailures &failures);
    void loadFinished();
    // The undo or redo list changed (names to show in the Edit menu).
    void commandsChanged();

  protected:
    virtual std::shared_ptr<DModelIoManager> createImportManager();

  private:
    void recordCopies(const ModelList &copies, const ModelList &sources);
    std::shared_ptr<Command> beginLayoutRecord(const ModelList &models);
    void finishLayoutRecord(const std::shared_ptr<Command> &command);

  protected:
    std::shared_ptr<DModelIoManager> m_importManager;
    std::function<void(bool)> m_glReady;
    CommandStack m_commands;
    // The scale step the next continuing scale may join (see scaleModel()).
    std::weak_ptr<Command> m_openScale;
    std::shared_ptr<CommandTarget> m_commandTarget;
    bool m_projectLoading = false;
    std::shared_ptr<Orvane3Ds::CSupportApp> m_supportApp;
};
