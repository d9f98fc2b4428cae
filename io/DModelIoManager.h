#pragma once

#include "geometry/DModelOperator.h"
#include "geometry/IProgressable.h"
#include "io/PartImport.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <list>
#include <memory>
#include <mutex>

class IImportHost;
class Model;

// Loads part files on a pool thread, places the new models on the platform and hands them to
// the scene on the thread that owns the manager.
//
// One load at a time: while a load runs, further imports are refused (importParts() returns
// false). A load always ends on the owner thread with, in this order, the models (if any and
// not cancelled) added to the scene, the host's endLoad(), loadFailed() when files could not be
// read, and loadFinished() - also when every file failed or the load was cancelled, so a
// waiting dialog always returns.
//
// Cancel (setCancel(true) or cancel()) stops the readers at their next check. A cancelled part
// load still adds the models completed before the cancel (and a contour model read in part); a
// cancelled project load adds nothing. The manager is the root progress object of its readers;
// install the progress callback with setCallback().
class DModelIoManager : public QObject, public DIProgressable
{
    Q_OBJECT
  public:
    explicit DModelIoManager(IImportHost *host, QObject *parent = nullptr);
    ~DModelIoManager() override;

    void setHost(IImportHost *host) { m_host = host; }
    IImportHost *host() const { return m_host; }
    DModelOperator &modelOperator() { return *m_operator; }
    PlatformSize platformSize() const { return m_platform; }
    void setPlatformSize(const PlatformSize &platform) { m_platform = platform; }

    // Replaces the reader factory (tests); the default is createPartReader().
    void setReaderFactory(PartReaderFactory factory) { m_factory = std::move(factory); }

    // Starts a part load unless one is running. Returns whether it started.
    bool importParts(const QStringList &files);
    // Starts a project load unless one is running. Returns whether it started.
    bool importProject(const QString &path);
    bool isLoading() const { return m_loading.load(); }

    // Sets the root cancel flag; a running load stops at its readers' next check.
    void setCancel(bool cancel) override;
    void cancel() { setCancel(true); }

    // Blocks the calling (owner) thread until the worker of the last load has returned, serving
    // the hand-over meanwhile. For shutdown and tests.
    void waitForIdle();

  signals:
    void loadFinished();
    // A project load has started (on the owner thread).
    void projectLoadStarted(const QString &path);
    // Files of the last load that could not be read, and why.
    void loadFailed(const ImportFailures &failures);

  public slots:
    // The worker body of a part load (pool thread).
    void onImportParts(QList<QString> files);
    // The worker body of a project load (pool thread).
    virtual void onImportProject(QString file);
    // Hands placed models to the scene. On a worker thread this waits until the owner thread
    // has taken them (returns false when the manager is being destroyed meanwhile).
    bool onAddModels2Engine(std::list<std::shared_ptr<Model>> ms);

  protected:
    // Ends the load on the owner thread (see the class comment). Callable from any thread.
    void finishLoad(const ImportFailures &failures);
    // Worker side of placing new models beside the scene: against the scene's left edge as it
    // was when the load started (the scene is not read off its thread). If the scene changed
    // meanwhile, the hand-over corrects the position.
    void placeBesideScene(const ModelList &models);
    // Runs fn on the owner thread and waits for it (directly when already there).
    bool runOnOwnerThread(const std::function<void()> &fn);
    std::atomic<bool> &abandoned() { return m_abandoned; }

  private:
    bool startLoad(const std::function<void()> &body);
    void placeAndAdd(const ModelList &models);

    IImportHost *m_host;
    std::shared_ptr<DModelOperator> m_operator;
    PlatformSize m_platform;
    PartReaderFactory m_factory;
    QFuture<void> m_future;
    float m_sceneLeftEdge = 0.0f;
    std::atomic<bool> m_loading{false};
    std::atomic<bool> m_abandoned{false};
    // Set by a part load around its hand-over: its models are added even after a cancel.
    std::atomic<bool> m_keepOnCancel{false};
};
