#include "app/COrvaneApp.h"

#include <QDebug>

namespace Orvane3Ds
{

COrvaneApp::COrvaneApp() = default;

COrvaneApp::~COrvaneApp() = default;

bool COrvaneApp::initializeGL()
{
    qWarning() << "initializeGL: the GL engine is not built yet";
    return false;
}

void COrvaneApp::paint()
{
    static bool told = false;
    if (!told) {
        qWarning() << "paint: the GL engine is not built yet";
        told = true;
    }
}

void COrvaneApp::handleEvent(const void *)
{
    qDebug() << "handleEvent: the GL engine is not built yet; input ignored";
}

void COrvaneApp::forwardToFrame(int first, int second)
{
    qDebug() << "forwardToFrame" << first << second << ": the 3D frame is not built yet";
}

void COrvaneApp::setCancel(bool cancel)
{
    m_rootProgress.setCancel(cancel);
}

void COrvaneApp::setProgressCallback(ProgressCallback callback)
{
    m_progressCallback = callback;
    m_rootProgress.setCallback(std::move(callback));
}

const SceneStatistics &COrvaneApp::refreshSceneState()
{
    const ModelList models = m_scene.models();
    m_outOfBounds = DModelOperator::anyOutOfBounds(models, platformSize());
    if (m_outOfBounds)
        emitEvent(OutsidePlatform, QStringLiteral("wfMainWarmingBreakUp"));
    else
        emitEvent(InsidePlatform);
    m_statistics = DModelOperator::sceneStatistics(models);
    emitEvent(LayerCountChanged);
    return m_statistics;
}

void COrvaneApp::requestRepaint()
{
    if (m_repaint)
        m_repaint();
}

} // namespace Orvane3Ds
