#pragma once

#include "app/CObjectInfo.h"
#include "app/COrvaneAppConfig.h"
#include "app/EAppEvent.h"
#include "geometry/DModelOperator.h"
#include "geometry/DScene.h"
#include "geometry/IProgressable.h"

#include <functional>

namespace Orvane3Ds
{

// Engine core: the scene and its 3D frame, the event subscribers, the progress callback and the
// root cancel flag. Lives on the user-interface thread.
class COrvaneApp : public CObjectInfo, public COrvaneAppConfig
{
  public:
    using ProgressCallback = IProgressable::Callback;

    COrvaneApp();
    ~COrvaneApp() override;

    // Sets the root cancel flag that long operations poll.
    void setCancel(bool cancel);
    bool isCancelled() const { return m_rootProgress.isCancelled(); }

    DScene &scene() { return m_scene; }
    const DScene &scene() const { return m_scene; }

    AppEventSubscribers &events() { return m_events; }
    void subscribe(const QString &name, AppEventSubscribers::Handler handler)
    {
        m_events.subscribe(name, std::move(handler));
    }
    void emitEvent(EAppEvent event, const QString &text = QString()) const
    {
        m_events.emitEvent(event, text);
    }

    // Percent, stage text and flag of every long operation (called on the worker's thread).
    void setProgressCallback(ProgressCallback callback);
    const ProgressCallback &progressCallback() const { return m_progressCallback; }
    // Tells the progress callback that the running job has ended, however it ended (done,
    // failed or cancelled): a final report of 100 %, which closes the progress window and gives
    // the window back to the user.
    void reportJobEnded() const
    {
        if (m_progressCallback)
            m_progressCallback(100, QString(), false);
    }
    IProgressable &rootProgress() { return m_rootProgress; }

    bool isLoading() const { return m_loading; }
    void setLoading(bool loading) { m_loading = loading; }

    // Runs the platform-bounds test (event 6 "wfMainWarmingBreakUp" when a model is out of
    // bounds, else event 5) and recomputes the scene statistics (event 1). Call after every
    // change of the scene.
    const SceneStatistics &refreshSceneState();
    const SceneStatistics &statistics() const { return m_statistics; }
    bool isSceneOutOfBounds() const { return m_outOfBounds; }

    // Asks for a repaint; the shared application turns it into its updatePaint() signal.
    virtual void requestRepaint();
    void setRepaintCallback(std::function<void()> repaint) { m_repaint = std::move(repaint); }

  protected:
    DScene m_scene;
    AppEventSubscribers m_events;
    ProgressCallback m_progressCallback;
    IProgressable m_rootProgress;
    SceneStatistics m_statistics;
    std::function<void()> m_repaint;
    bool m_outOfBounds = false;
    bool m_loading = false;
};

} // namespace Orvane3Ds
