#pragma once

#include "render/IGlApplication.h"

#include "geometry/Vec3.h"

#include <functional>
#include <memory>

class DScene;

namespace Orvane3Ds
{

class CContext;
class COrvaneFrame;

// Loads the GL entry points for the current context. Returns true when they are usable. Under
// an EGL context GLEW's GLX part answers "no GLX display" although the GL entry points were
// loaded; that answer counts as usable.
bool initialiseGlew();

// The rendering side of the application's GL entry points: GL start-up, painting and the
// camera part of event handling, over a scene it does not own.
//
// GUI thread only; initialise(), paint() and handleEvent() need the view's context current.
class CRenderEngine : public IGlApplication
{
  public:
    explicit CRenderEngine(DScene *scene, const Vec3f &platform = {96.0f, 54.0f, 160.0f});
    ~CRenderEngine() override;

    // GLEW, frame, programs (":/glsl/old", ":/glsl/normal"), frame initialisation and, when
    // bindScene is set, the scene-to-frame callbacks. Prints "glewInit OK!" or
    // "glewInit false!" like the rest of the start-up log. False leaves the engine not ready.
    bool initialiseGL() override;
    void paintGL() override;
    // Resize, right-drag rotate, middle-drag pan and wheel zoom.
    void handleGLEvent(const void *record) override;
    void setRepaintCallback(std::function<void()> repaint) override
    {
        m_repaint = std::move(repaint);
    }
    void requestRepaint() const
    {
        if (m_repaint)
            m_repaint();
    }

    bool isReady() const { return m_frame != nullptr; }
    void setBindScene(bool bind) { m_bindScene = bind; }
    // Leaves out the start-up messages on standard output.
    void setQuiet(bool quiet) { m_quiet = quiet; }
    // Both null until initialiseGL() succeeded.
    const std::shared_ptr<CContext> &context() const { return m_context; }
    const std::shared_ptr<COrvaneFrame> &frame() const { return m_frame; }
    DScene *scene() const { return m_scene; }
    bool programsBuilt() const { return m_programsBuilt; }

  private:
    DScene *m_scene = nullptr;
    Vec3f m_platform;
    std::shared_ptr<CContext> m_context;
    std::shared_ptr<COrvaneFrame> m_frame;
    std::function<void()> m_repaint;
    bool m_bindScene = true;
    bool m_programsBuilt = false;
    bool m_quiet = false;
};

} // namespace Orvane3Ds
