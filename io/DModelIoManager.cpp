#include "io/DModelIoManager.h"

#include "geometry/Model.h"
#include "io/IImportHost.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMetaObject>
#include <QThread>
#include <QtConcurrent>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <new>

namespace
{

// Completion of a call handed to the owner thread.
struct HandOver {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
};

} // namespace

DModelIoManager::DModelIoManager(IImportHost *host, QObject *parent)
    : QObject(parent), m_host(host), m_operator(std::make_shared<DModelOperator>()),
      m_factory(defaultPartReaderFactory())
{
    qRegisterMetaType<ImportFailures>("ImportFailures");
    if (m_host)
        m_platform = m_host->platformSize();
}

DModelIoManager::~DModelIoManager()
{
    // A worker waiting for the hand-over gives up instead of waiting for this thread forever.
    m_abandoned = true;
    IProgressable::setCancel(true);
    m_future.waitForFinished();
}

void DModelIoManager::setCancel(bool cancel)
{
    // The run handle itself is not cancelled: a pool task cancelled before it starts never
    // runs, and its load would never end. The worker sees the flag and ends the load itself.
    IProgressable::setCancel(cancel);
}

bool DModelIoManager::startLoad(const std::function<void()> &body)
{
    if (m_loading.load())
        return false;
    // The previous worker has already ended its load; let it return before reusing the handle.
    m_future.waitForFinished();
    m_loading = true;
    IProgressable::setCancel(false);
    clearLevels();
    resetLastPercent();
    if (m_host) {
        m_platform = m_host->platformSize();
        m_host->beginLoad();
    }
    m_operator->platformSize() = m_platform;
    m_sceneLeftEdge = m_operator->sceneLeftEdge(m_host ? m_host->sceneModels() : ModelList());
    m_future = QtConcurrent::run([body] { body(); });
    return true;
}

bool DModelIoManager::importParts(const QStringList &files)
{
    if (files.isEmpty())
        return false;
    return startLoad([this, files] { onImportParts(files); });
}

bool DModelIoManager::importProject(const QString &path)
{
    if (path.isEmpty())
        return false;
    const bool started = startLoad([this, path] { onImportProject(path); });
    if (started)
        emit projectLoadStarted(path);
    return started;
}

void DModelIoManager::onImportParts(QList<QString> files)
{
    ImportFailures failures;
    try {
        PartLoad load = readParts(files, this, m_factory);
        failures = load.failures;
        // A cancel ends the reading; the models completed before it (and a contour model read
        // in part) are still placed and added.
        if (!load.models.empty()) {
            m_keepOnCancel = true;
            m_operator->platformSize() = m_platform;
            arrangeNewModels(*m_operator, load.models);
            placeBesideScene(load.models);
            onAddModels2Engine(load.models);
            m_keepOnCancel = false;
        }
    } catch (const std::bad_alloc &) {
        failures.append({QString(), QStringLiteral("Not enough memory to place the models")});
    } catch (const std::exception &e) {
        failures.append({QString(), QString::fromUtf8(e.what())});
    }
    finishLoad(failures);
}

void DModelIoManager::onImportProject(QString file)
{
    qWarning() << "Projects cannot be opened by this import manager:" << file;
    finishLoad({{file, QStringLiteral("Projects cannot be opened here")}});
}

bool DModelIoManager::onAddModels2Engine(std::list<std::shared_ptr<Model>> ms)
{
    if (QThread::currentThread() != thread())
        return runOnOwnerThread([this, ms] { onAddModels2Engine(ms); });
    placeAndAdd(ms);
    return true;
}

void DModelIoManager::placeAndAdd(const ModelList &models)
{
    // The models were placed against the scene as it was at the start of the load; the scene is
    // only read here, on its own thread. A cancel that came in meanwhile still wins, except for
    // the parts a cancelled part load completed.
    if ((isCancelled() && !m_keepOnCancel) || models.empty() || !m_host)
        return;
    const float edge = m_operator->sceneLeftEdge(m_host->sceneModels());
    if (edge != m_sceneLeftEdge)
        m_operator->translateAll(models, Vec3f{edge - m_sceneLeftEdge, 0.0f, 0.0f});
    m_host->clearSelection();
    m_host->addModelsToScene(models);
}

void DModelIoManager::placeBesideScene(const ModelList &models)
{
    m_operator->placeBesideEdge(m_sceneLeftEdge, models);
}

void DModelIoManager::finishLoad(const ImportFailures &failures)
{
    runOnOwnerThread([this, failures] {
        m_loading = false;
        if (m_host)
            m_host->endLoad();
        for (const ImportFailure &f : failures)
            qWarning().noquote() << "Import failed:" << f.text();
        if (!failures.isEmpty())
            emit loadFailed(failures);
        emit loadFinished();
    });
}

bool DModelIoManager::runOnOwnerThread(const std::function<void()> &fn)
{
    if (QThread::currentThread() == thread()) {
        fn();
        return true;
    }
    auto state = std::make_shared<HandOver>();
    QMetaObject::invokeMethod(
        this,
        [fn, state] {
            fn();
            std::lock_guard<std::mutex> lock(state->mutex);
            state->finished = true;
            state->done.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(state->mutex);
    while (!state->finished) {
        if (m_abandoned.load())
            return false;
        state->done.wait_for(lock, std::chrono::milliseconds(20));
    }
    return true;
}

void DModelIoManager::waitForIdle()
{
    while (m_loading.load() || m_future.isRunning()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}
