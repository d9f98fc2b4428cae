#pragma once

#include "render/CRenderEngine.h"
#include "render/DlpClipZWidget.h"
#include "render/IGlApplication.h"
#include "render/ViewTurner.h"

#include <QString>

#include <limits>
#include <memory>

class DSharedApp;
class QOpenGLWidget;

namespace Orvane3Ds
{

class DViewInput;

// The application's GL entry points, given to the view widget: loads the colour and supplies
// files before GL starts, runs the render engine over the application's scene, applies the
// selected colour scheme once GL is ready, writes the preview pictures on Ctrl+S, and keeps the
// view turner of the camera buttons informed of mouse movements.
//
// GUI thread only. The application and the widget outlive the host's use.
class DRenderHost : public IGlApplication
{
  public:
    explicit DRenderHost(DSharedApp &app);
    ~DRenderHost() override;

    bool initialiseGL() override;
    void paintGL() override;
    void handleGLEvent(const void *record) override;
    void setRepaintCallback(std::function<void()> repaint) override;

    // The widget whose context previews are rendered in (made current for the call).
    void setView(QOpenGLWidget *view) { m_view = view; }
    // Renders preview picture 0 (front), 1 (top) or 2 (left) into the file named by the setting
    // "map/ScreenShotFront", "map/ScreenShotTop" or "map/ScreenShotLeft". False with
    // errorString() set when GL is not ready or the file cannot be written.
    bool writePreview(int view);
    // All three, as before print data is produced.
    bool writePreviews();
    // The three preview pictures (front, top, left) as raw 256 x 256 RGB bytes, for a work
    // package. False with errorString() set when GL is not ready.
    bool renderPreviews(QByteArray *front, QByteArray *top, QByteArray *left);
    const QString &errorString() const { return m_error; }

    // Called after GL became ready (true) or failed (false).
    void setGlReadyCallback(std::function<void(bool)> callback) { m_glReady = std::move(callback); }

    // Clip plane of the view; values set before GL is ready are applied when it starts.
    void setClipZ(float z);
    void setUpCut(bool upCut);
    bool upCut() const { return m_upCut; }
    float clipZ() const { return m_clipZ; }
    // Hooks for DlpClipZWidget driving this view (repaint through the application).
    DlpClipZWidget::Hooks clipHooks();

    CRenderEngine &engine() { return m_engine; }
    // Selection, Delete and the interactors of the panels.
    DViewInput &input() { return *m_input; }
    ViewTurner &turner() { return m_turner; }

  private:
    DSharedApp &m_app;
    CRenderEngine m_engine;
    ViewTurner m_turner;
    std::unique_ptr<DViewInput> m_input;
    QOpenGLWidget *m_view = nullptr;
    std::function<void()> m_repaint;
    std::function<void(bool)> m_glReady;
    QString m_error;
    float m_clipZ = std::numeric_limits<float>::max();
    bool m_upCut = true;
    bool m_clipSet = false;
};

} // namespace Orvane3Ds
