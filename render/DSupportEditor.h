#pragma once

#include "render/OrvaneInteractor.h"

#include "supports/DsCylider.h"
#include "supports/ManualSupportSettings.h"

#include <functional>
#include <memory>
#include <vector>

class Mesh3D;
class Model;
class OpenGLModel;

namespace Orvane3Ds
{

// Draws hand-placed support rods: a first click on the edited model (or, with growFromFloor, on
// the platform) begins a rod, a preview follows the mouse, a second click places the other end.
// A placed rod can be selected, one of its ends picked up and put elsewhere, or deleted (Escape
// or Delete). While on, the view looks through an orthographic projection (the wheel narrows
// it). Every placed, moved or deleted rod is recorded, so Undo takes it back.
//
// The edited model is drawn alone (the frame's support-editing mode). Placed balls and rods belong
// to the model's manual supports and are drawn with its support drawables; the editor draws only
// its preview.
//
// GUI thread only.
class DSupportEditor : public OrvaneInteractor
{
  public:
    using SelectionCallback = std::function<void(const std::shared_ptr<DsCylider> &rod)>;
    using MiddlePressCallback = std::function<void(int x, int y)>;

    // Colours of placed pieces and of the piece under the cursor.
    static constexpr Vec3f BallColour = DsPoint::kPlacedColour;
    static constexpr Vec3f RodColour = DsCylider::kPlacedColour;
    static constexpr Vec3f HoverColour{0.0f, 0.8f, 0.0f};
    static constexpr Vec3f PreviewColour{1.0f, 1.0f, 0.0f};
    // Rods shorter than this are not made.
    static constexpr float ShortestRod = 0.5f;

    DSupportEditor();
    ~DSupportEditor() override;

    // Also prepares the preview drawables' GL buffers.
    void attach(COrvaneFrame *frame) override;
    // On: orthographic editing projection and the overhang highlight of the edited model; off:
    // the view's perspective projection again, and no rod selected.
    void setMode(int mode) override;
    bool isActive() const override { return m_mode != 0; }
    // The editors' shared handler, except that Delete and Escape stay with the editor: they
    // act on the selected rod, never on the model being edited.
    void handleEvent(const void *record) override;
    void onPress(const Ray &ray) override;
    void onRelease(const Ray &ray) override;
    void onMove(const Ray &ray) override;
    // Narrows (positive delta) or widens the orthographic view by delta / 20 millimetres.
    bool onWheel(int delta) override;
    // Toggles platform prior and tells the middle-press callback.
    void onMiddlePress(int x, int y) override;
    // Escape cancels a pending rod, or else deletes the selected rod; Delete deletes it.
    void onKey(int key) override;
    bool offerPickRay(int x, int y, int width, int height, Ray *ray) override;
    std::vector<int> highlightedFaces() const override { return m_highlight; }
    void drawOverlay(CContext &context) override;

    // Keeps the record and brings the preview in line with it. A changed move-up height lifts
    // the edited model to it; with a rod selected, the rod takes the record's radii and its
    // higher end the top point, the other end the bottom point.
    void applySettings(const ManualSupportSettings &settings);
    const ManualSupportSettings &settings() const { return m_settings; }
    void setPlatformPrior(bool prior) { m_platformPrior = prior; }
    bool platformPrior() const { return m_platformPrior; }
    // Selects a placed rod (empty: none); the selection callback is not called.
    void selectRod(const std::shared_ptr<DsCylider> &rod) { m_selected = rod; }
    const std::shared_ptr<DsCylider> &selectedRod() const { return m_selected; }
    bool isPending() const { return m_pending; }
    const std::shared_ptr<Mesh3D> &hoveredPiece() const { return m_hovered; }
    // The preview: first end (also the cursor marker), second end, rod.
    const std::shared_ptr<DsPoint> &previewFirst() const { return m_first; }
    const std::shared_ptr<DsPoint> &previewSecond() const { return m_second; }
    const std::shared_ptr<DsCylider> &previewRod() const { return m_rod; }
    float orthoExtent() const { return m_orthoExtent; }

    void setSelectionCallback(SelectionCallback cb) { m_onSelect = std::move(cb); }
    void setMiddlePressCallback(MiddlePressCallback cb) { m_onMiddle = std::move(cb); }

    // The model whose rods are edited (set by the handle when editing starts). Every piece is
    // added to and removed from this model, also rods read from a project, which name no owner.
    void setModel(const std::shared_ptr<Model> &model) { m_model = model; }
    const std::shared_ptr<Model> &editedModel() const { return m_model; }

  private:
    enum Kind { Nothing = 0, ModelHit = 1, BallHit = 2, RodHit = 3 };
    struct Pick {
        Kind kind = Nothing;
        float t = 3.4028235e38f;
        Point3f point;
        int face = -1;
        std::shared_ptr<Mesh3D> piece;
        // The platform point stands in (growFromFloor).
        bool platform = false;
    };
    Pick pick(const Ray &ray, bool substitute) const;
    Pick pickAlong(const Point3f &from, const Vec3f &direction) const;
    void begin(const Point3f &point, bool upward);
    void pickUpEnd(const std::shared_ptr<DsPoint> &picked);
    void finishRod(const Pick &press);
    void deleteSelected();
    void cancelPending();
    void movePendingAlongZ(const Ray &ray);
    void alignPreview();
    void setHovered(const std::shared_ptr<Mesh3D> &piece);
    void select(const std::shared_ptr<DsCylider> &rod);
    void applyProjection();
    bool insidePlatform(const Point3f &p, bool strict) const;
    void recordChange(const char *name, const std::function<void()> &change);

    std::shared_ptr<Model> m_model;
    ManualSupportSettings m_settings;
    bool m_pressed = false;
    bool m_pending = false;
    bool m_platformPrior = false;
    bool m_upward = false;
    Point3f m_guidePoint;
    Vec3f m_guideNormal{0.0f, 0.0f, 1.0f};
    std::shared_ptr<DsPoint> m_first;
    std::shared_ptr<DsPoint> m_second;
    std::shared_ptr<DsCylider> m_rod;
    std::shared_ptr<OpenGLModel> m_firstDrawable;
    std::shared_ptr<OpenGLModel> m_secondDrawable;
    std::shared_ptr<OpenGLModel> m_rodDrawable;
    // The placed ball a pending rod starts from (kept so that the new rod shares it).
    std::shared_ptr<DsPoint> m_startBall;
    std::shared_ptr<DsCylider> m_selected;
    std::shared_ptr<Mesh3D> m_hovered;
    std::vector<int> m_highlight;
    float m_orthoExtent = 60.0f;
    SelectionCallback m_onSelect;
    MiddlePressCallback m_onMiddle;
};

} // namespace Orvane3Ds
