#pragma once

#include "render/OrvaneInteractor.h"

#include <memory>

class Model;
class ModelPlacementCommand;

namespace Orvane3Ds
{

// Rotates the selected model with three rings around it (rotate panel): dragging a ring turns
// the model about that ring's axis through its centroid; on release the mesh takes the turn,
// rests on the platform again (except after a turn about Z) and the turn is recorded. With the
// lay-flat flag set a click on a model lays it flat on the clicked face instead.
class DRotateModelInteractor : public OrvaneInteractor
{
  public:
    DRotateModelInteractor();
    ~DRotateModelInteractor() override;

    // Shows the rings around the selected model (mode on, lay-flat clear) or hides them.
    void setMode(int mode) override;
    void handleEvent(const void *record) override;

    void setLayFlat(bool layFlat);
    bool layFlat() const { return m_layFlat; }
    // 0 none, 1 X, 2 Y, 3 Z.
    int grabbedRing() const { return m_grabbed; }
    int lastGrabbedRing() const { return m_lastGrabbed; }
    int hoveredRing() const { return m_hovered; }
    // Rotation accumulated since the last reset (rotation part only, about the centroid).
    const Matrix4f &accumulated() const { return m_accumulated; }
    void resetAccumulated() { m_accumulated = identityMatrix(); }

    // Rebuilds (or, without a selected model or with the rings off, removes) the three rings
    // around the current model.
    void rebuildRings();
    // Ring under the ray: 0 none, else 1..3 (the nearest).
    int ringUnder(const Ray &ray) const;

    // Turns `model` by `degrees` about axis kind 1..3 through its centroid, applies the turn to
    // the mesh, rests it on the platform unless the axis is Z (or `rest` is false), accumulates
    // the turn and records it. Returns false without a model or a frame.
    bool rotateModel(const std::shared_ptr<Model> &model, int axisKind, float degrees,
                     bool rest = true);
    // Applies `rotation` (about the centroid) to the model as one recorded change, then rests
    // it on the platform when `rest` is set. Used by the panel's reset.
    bool applyRotation(const std::shared_ptr<Model> &model, const Matrix4f &rotation, bool rest,
                       const char *name);
    // Lays the model flat on face `face` (its normal turned straight down), resting it on the
    // platform; discards generated supports; recorded.
    bool layFlatOnFace(const std::shared_ptr<Model> &model, int face);

  private:
    bool planeAngle(const Ray &from, const Ray &to, float *degrees) const;
    Vec3f ringAxis(int ring) const;

    bool m_layFlat = false;
    int m_grabbed = 0;
    int m_lastGrabbed = 0;
    int m_hovered = 0;
    Ray m_pressRay;
    bool m_rotated = false;
    Matrix4f m_accumulated = identityMatrix();
    Matrix4f m_dragRotation = identityMatrix();
    Point3f m_ringCentre;
    Point3f m_centroid;
    std::shared_ptr<ModelPlacementCommand> m_command;
};

} // namespace Orvane3Ds
