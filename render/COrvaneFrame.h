#pragma once

#include "render/DFrame3d.h"
#include "render/FrameSnapshot.h"

#include <QByteArray>

#include <array>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

class DScene;
class Mesh3D;
class Model;
class OpenGLModel;
class OpenGLObject;
class Excircle;
class QTimer;

namespace Orvane3Ds
{

class CContext;
class Grid;
class IFrameInteractor;

// The 3D view of the build platform: camera and projection, the drawables of the scene, the
// active interactor, the grid, and one complete image per draw() call.
//
// GUI thread only; every GL-touching operation needs the view's context current.
class COrvaneFrame : public DFrame3d
{
  public:
    explicit COrvaneFrame(std::shared_ptr<CContext> context);
    ~COrvaneFrame() override;

    // Camera at eye (0, 600, 60), view matrix, third matrix identity, grid buffers. Drops the
    // active interactor.
    void initialise() override;
    // Viewport and perspective projection (vertical field of view 0.55 rad, near 1, far 1000).
    void resize(int w, int h) override;
    void draw() override;

    void pressRight(int x, int y) override;
    void pressMiddle(int x, int y) override;
    // Right drag: pitch by dy / 5 then yaw by dx / 5 degrees.
    void dragRotate(int x, int y) override;
    // Middle drag: pan in ninths of the motion.
    void dragPan(int x, int y) override;
    // Offered to the interactor first; otherwise zooms by delta / 10.
    void wheel(int delta) override;
    void zoomBy(float amount) override;
    void pitchBy(float degrees) override;
    void yawBy(float degrees) override;
    void homeView() override;
    void topViewReset() override;
    // Ray under a widget pixel (origin at the camera, direction not normalised).
    Ray pickRay(int x, int y, int width, int height) override;
    // Nearest model under a widget pixel, through the scene's query; no hit without a scene.
    RayHit pick(int x, int y, int width, int height);
    void setEditMode(bool edit) override { m_editMode = edit; }

    // Camera motion in progress (drag, wheel, the steps of an animated view change; every
    // camera operation above except homeView and topViewReset calls it): large meshes are drawn
    // through their stand-ins until settleDelay() passes without further motion, then the repaint
    // request runs once so the view comes back at full detail. Snapshots always draw full detail.
    void noteViewMoving();
    // Ends the motion now; asks for a repaint when the last frame was drawn with stand-ins.
    void settleView();
    bool isViewMoving() const { return m_viewMoving; }
    // True when the last draw() drew at least one stand-in.
    bool lastFrameReduced() const { return m_lastFrameReduced; }
    void setSettleDelay(int milliseconds);
    int settleDelay() const;
    // Called when the view has to be painted again on its own (after the motion settled).
    void setRepaintRequest(std::function<void()> request) { m_repaintRequest = std::move(request); }
    bool editMode() const { return m_editMode; }

    // Renders one preview picture and returns the 256 x 256 RGB canvas (SnapshotBytes bytes),
    // with the role colours grey for the duration. Renders into its own framebuffer, so the
    // size of the widget does not matter; restores the camera to homeView afterwards.
    QByteArray renderSnapshot(SnapshotView view);
    // renderSnapshot() written to a file; false with *error set when writing failed.
    bool writeSnapshot(SnapshotView view, const QString &path, QString *error = nullptr);

    DScene *scene() const { return m_scene; }
    void setScene(DScene *scene) { m_scene = scene; }
    const std::shared_ptr<CContext> &context() const { return m_context; }

    // Model drawables: one per scene model, created with initGL (context current).
    std::shared_ptr<OpenGLModel> addModel(const std::shared_ptr<Model> &model);
    void removeModel(const std::shared_ptr<Model> &model);
    std::shared_ptr<OpenGLModel> drawableOf(const std::shared_ptr<Model> &model) const;
    const std::vector<std::shared_ptr<OpenGLModel>> &modelDrawables() const { return m_models; }
    // Replaces the support drawables of a model: its generated support parts, then its manual
    // pieces (rods and end balls), each drawn in its own mesh colour.
    void setSupports(const std::shared_ptr<Model> &model);
    // One manual piece of `owner` joins, leaves or is rebuilt among the model's support
    // drawables (a piece already drawn is not added twice).
    void addManualPiece(const std::shared_ptr<Mesh3D> &piece, const std::shared_ptr<Model> &owner);
    void removeManualPiece(const std::shared_ptr<Mesh3D> &piece);
    void manualPieceChanged(const std::shared_ptr<Mesh3D> &piece);
    // Markers: overhang points (role 2) and secondary markers (role 5) of a model.
    void addOverhangMarker(const std::shared_ptr<Mesh3D> &marker,
                           const std::shared_ptr<Model> &owner);
    void addSecondaryMarker(const std::shared_ptr<Mesh3D> &marker,
                            const std::shared_ptr<Model> &owner);
    void removeMarker(const std::shared_ptr<Mesh3D> &marker);
    // Takes the markers of all these meshes away, in one pass over the marker lists.
    void removeMarkers(const std::vector<const Mesh3D *> &markers);
    const std::vector<std::shared_ptr<OpenGLModel>> &overhangMarkers() const
    {
        return m_overhangMarkers;
    }
    const std::vector<std::shared_ptr<OpenGLModel>> &secondaryMarkers() const
    {
        return m_secondaryMarkers;
    }
    // Auxiliary drawables, drawn in their mesh colour when shown.
    void addAuxiliary(const std::shared_ptr<OpenGLModel> &drawable);
    void clearAuxiliary() { m_auxiliary.clear(); }
    void setAuxiliaryShown(bool shown) { m_showAuxiliary = shown; }
    void addExcircle(const std::shared_ptr<Excircle> &ring);
    void clearExcircles() { m_excircles.clear(); }
    void setExcirclesShown(bool shown) { m_showExcircles = shown; }
    bool excirclesShown() const { return m_showExcircles; }
    // Rings in the order they were added; each is drawn in its mesh's colour.
    const std::vector<std::shared_ptr<Excircle>> &excircles() const { return m_excircles; }
    // The model drawn alone in support-editing mode.
    void setEditedModel(const std::shared_ptr<Model> &model);
    const std::shared_ptr<Model> &editedModel() const { return m_editedModel; }

    void setInteractor(std::shared_ptr<IFrameInteractor> interactor)
    {
        m_interactor = std::move(interactor);
    }
    const std::shared_ptr<IFrameInteractor> &interactor() const { return m_interactor; }
    void setClearColor(const std::array<float, 4> &rgba) { m_clearColor = rgba; }
    const std::array<float, 4> &clearColor() const { return m_clearColor; }
    Grid *grid() const { return m_grid.get(); }
    // Projection x view of the current camera.
    Matrix4f viewProjection() const;
    int widgetWidth() const { return m_width; }
    int widgetHeight() const { return m_height; }

  private:
    void writeView();
    void drawScene();
    void drawModel(OpenGLModel &drawable, const std::shared_ptr<Model> &model);
    void setFrameUniforms();
    void assignProxyTargets();
    std::shared_ptr<OpenGLModel> makeDrawable(const std::shared_ptr<Mesh3D> &mesh,
                                              std::uint64_t id);

    std::shared_ptr<CContext> m_context;
    DScene *m_scene = nullptr;
    std::vector<std::shared_ptr<OpenGLModel>> m_models;
    std::vector<std::shared_ptr<Model>> m_modelSources; // index-aligned with m_models
    // The meshes among one model drawable's supports, for addManualPiece(): a project announces
    // its hundred thousand pieces one by one after its drawable took them all. Forgotten when
    // that list changes otherwise than by addManualPiece().
    struct PieceIndex {
        std::weak_ptr<OpenGLModel> drawable;
        std::unordered_set<const Mesh3D *> meshes;
    };
    PieceIndex m_pieceIndex;
    std::shared_ptr<Model> m_editedModel;
    std::vector<std::shared_ptr<OpenGLModel>> m_auxiliary;
    bool m_showAuxiliary = false;
    std::vector<std::shared_ptr<OpenGLModel>> m_overhangMarkers;
    std::vector<std::shared_ptr<OpenGLModel>> m_secondaryMarkers;
    std::vector<std::shared_ptr<Excircle>> m_excircles;
    bool m_showExcircles = false;
    bool m_editMode = false;
    std::shared_ptr<IFrameInteractor> m_interactor;
    std::array<float, 4> m_clearColor{0.27f, 0.29f, 0.33f, 1.0f};
    std::unique_ptr<Grid> m_grid;
    int m_lastX = 0;
    int m_lastY = 0;
    bool m_viewMoving = false;
    bool m_lastFrameReduced = false;
    std::unique_ptr<QTimer> m_settleTimer;
    std::function<void()> m_repaintRequest;
    int m_width = 0;
    int m_height = 0;
};

// Identity of a model drawable and of the markers that belong to it.
std::uint64_t drawableId(const Model *model);

} // namespace Orvane3Ds
