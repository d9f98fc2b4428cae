#pragma once

#include "render/OpenGLModel.h"
#include "render/OrvaneInteractor.h"

#include <memory>

class Model;
class Overhang;

namespace Orvane3Ds
{

// Adds and removes a model's overhang points by hand. While on, the view looks at the model
// through an orthographic projection (the wheel narrows it); a left click on one of the model's
// overhang markers removes that point, a click on the model (with adding enabled) places a
// point at the clicked spot, oriented by the clicked face, when its support can be routed.
// Moving the cursor over a downward-facing face shows a preview marker there. Each change is
// recorded as a step of its own, so Undo takes it back, unless recording is off: the support
// panel's editing session records the whole session as one step when it ends.
//
// The editor is a drawable itself: its mesh is the preview marker.
class OverhangEditor : public OpenGLModel, public OrvaneInteractor
{
  public:
    OverhangEditor();
    ~OverhangEditor() override;

    void setModel(const std::shared_ptr<Model> &model) { m_model = model; }
    const std::shared_ptr<Model> &model() const { return m_model; }
    void setAddingEnabled(bool enabled) { m_adding = enabled; }
    bool addingEnabled() const { return m_adding; }
    // Off: point changes are made without a command of their own.
    void setRecording(bool recording) { m_recording = recording; }
    bool recording() const { return m_recording; }

    // Also prepares the preview marker's GL buffers.
    void attach(COrvaneFrame *frame) override;
    // On: orthographic editing projection; off: the view's perspective projection again.
    void setMode(int mode) override;
    void handleEvent(const void *record) override;
    void onPress(const Ray &ray) override;
    void onMove(const Ray &ray) override;
    // Narrows (positive delta) or widens the orthographic view by delta / 50 millimetres.
    bool onWheel(int delta) override;
    // With the mode on the rays are those of the orthographic projection.
    bool offerPickRay(int x, int y, int width, int height, Ray *ray) override;
    void drawOverlay(CContext &context) override;

    // Half-height of the orthographic view (half-width: this times the aspect), millimetres.
    float orthoExtent() const { return m_orthoExtent; }
    bool drawsPreview() const { return m_draw; }

  private:
    struct Pick {
        float t = 3.4028235e38f;
        int face = -1;
        Point3f point;
        std::shared_ptr<Overhang> marker;
        bool isHit() const { return face >= 0 || marker != nullptr; }
    };
    Pick pick(const Ray &ray) const;
    void applyProjection();

    std::shared_ptr<Model> m_model;
    bool m_adding = true;
    bool m_recording = true;
    bool m_draw = false;
    float m_orthoExtent = 60.0f;
    std::shared_ptr<Overhang> m_highlighted;
};

} // namespace Orvane3Ds
