#include "app/DSharedApp.h"

#include "geometry/Model.h"
#include "io/DModelIoManager.h"

#include <QDebug>

#include <algorithm>
#include <map>

DSharedApp::DSharedApp(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<ImportFailures>("ImportFailures");
    qRegisterMetaType<std::list<std::shared_ptr<Model>>>("std::list<std::shared_ptr<Model>>");
}

DSharedApp::~DSharedApp()
{
    // The manager may outlive this object when someone else still holds it: detach it and
    // stop its load.
    if (m_importManager) {
        m_importManager->cancel();
        m_importManager->setHost(nullptr);
        m_importManager.reset();
    }
}

std::shared_ptr<DModelIoManager> DSharedApp::createImportManager()
{
    return std::make_shared<DModelIoManager>(this);
}

std::shared_ptr<DModelIoManager> DSharedApp::getImportManager()
{
    if (!m_importManager) {
        m_importManager = createImportManager();
        connect(m_importManager.get(), &DModelIoManager::loadFailed, this,
                &DSharedApp::importFailed);
        connect(m_importManager.get(), &DModelIoManager::loadFinished, this,
                &DSharedApp::loadFinished);
        // A project replaces what the history refers to; one that cannot be read does not.
        connect(m_importManager.get(), &DModelIoManager::projectLoadStarted, this,
                [this] { m_projectLoading = true; });
        connect(m_importManager.get(), &DModelIoManager::loadFinished, this,
                [this] { m_projectLoading = false; });
    }
    m_importManager->setHost(this);
    if (!m_importManager->isLoading()) {
        m_importManager->setPlatformSize(COrvaneAppConfig::platformSize());
        m_importManager->setCallback(m_progressCallback);
        m_importManager->setCancel(false);
    }
    return m_importManager;
}

void DSharedApp::setPlatform(const PlatformSize &platform)
{
    setPlatformSize(platform);
    if (m_importManager && !m_importManager->isLoading())
        m_importManager->setPlatformSize(platform);
}

void DSharedApp::copyModels(int count, int interval)
{
    const ModelList selected = m_scene.selection();
    if (count <= 0 || selected.empty())
        return;
    // Copies are numbered after the highest copy number already used for their name.
    std::map<QString, std::uint32_t> highest;
    for (const auto &model : m_scene.models())
        highest[model->baseName()] = std::max(highest[model->baseName()], model->copyNumber());

    ModelList copies;
    for (const auto &model : selected) {
        for (int i = 0; i < count; ++i) {
            std::shared_ptr<Model> copy = model->deepCopy();
            copy->copyNumber() = ++highest[model->baseName()];
            copies.push_back(copy);
        }
    }
    m_scene.clearSelection();
    DModelOperator op(COrvaneAppConfig::platformSize());
    op.layout(copies, interval);
    op.placeBeside(m_scene.models(), copies);
    addModelsToScene(copies);
    recordCopies(copies, selected);
}

void DSharedApp::layoutModels(int interval)
{
    const ModelList models = m_scene.models();
    if (models.empty())
        return;
    auto command = beginLayoutRecord(models);
    DModelOperator op(COrvaneAppConfig::platformSize());
    op.layout(models, interval);
    finishLayoutRecord(command);
    sceneChanged();
}

void DSharedApp::selectAllModels()
{
    for (const auto &model : m_scene.models())
        m_scene.select(model);
    requestRepaint();
}

void DSharedApp::invertSelection()
{
    const ModelList unselected = m_scene.unselectedModels();
    m_scene.clearSelection();
    for (const auto &model : unselected)
        m_scene.select(model);
    requestRepaint();
}

void DSharedApp::beginLoad()
{
    // A load selects its own models and, for a project, starts a new undo history: an editing
    // session of overhang points ends first, keeping the points and their supports.
    finishSupportEditing();
    setLoading(true);
    emitEvent(Orvane3Ds::SupportState, QStringLiteral("0,0,true"));
}

ModelList DSharedApp::sceneModels() const
{
    return m_scene.models();
}

void DSharedApp::addModelsToScene(const ModelList &models)
{
    if (models.empty())
        return;
    if (m_projectLoading)
        clearCommands();
    m_scene.addModels(models);
    emit addModel2GLEngine(std::list<std::shared_ptr<Model>>(models.begin(), models.end()));
    sceneChanged();
}

void DSharedApp::endLoad()
{
    setLoading(false);
    reportJobEnded();
    qDebug().noquote()
        << QStringLiteral("load finished: %1 model(s) in the scene").arg(m_scene.models().size());
}

void DSharedApp::sceneChanged()
{
    emitEvent(Orvane3Ds::SceneChanged);
    refreshSceneState();
    requestRepaint();
}

void DSharedApp::requestRepaint()
{
    COrvaneApp::requestRepaint();
    emit updatePaint();
}
