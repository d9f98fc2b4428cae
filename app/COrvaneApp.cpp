#include "app/COrvaneApp.h"

namespace Orvane3Ds
{

COrvaneApp::COrvaneApp() = default;

COrvaneApp::~COrvaneApp() = default;

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
