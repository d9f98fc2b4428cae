#pragma once

#include "geometry/IManualPiece.h"
#include "geometry/Mesh3D.h"

#include <memory>
#include <vector>

// End ball of a hand-placed support rod: a sphere of 12 rings x 12 points around its centre.
// The sphere is one mesh around the origin shared by every ball of the same radius (see
// Mesh3D::sharedShape()), moved to the centre; the ball holds no triangles of its own.
class DsPoint : public Mesh3D, public IManualPiece
{
  public:
    static constexpr float kDefaultRadius = 0.2f;
    // Colour of a placed ball (the manual support editor's and a loaded project's).
    static constexpr Vec3f kPlacedColour{1.0f, 0.65f, 0.0f};

    explicit DsPoint(const Point3f &centre = Point3f{}, float radius = kDefaultRadius);
    std::shared_ptr<Mesh3D> clone() const override;
    // Moves the centre with the ball (M*(c,1)); the ball keeps its radius.
    void transform(const Matrix4f &matrix) override;

    std::shared_ptr<const Mesh3D> sharedShape() const override { return m_shape; }
    Vec3f shapeOffset() const override { return m_centre; }
    // The sphere built at the centre, as a mesh of its own.
    void buildPlacedShape(Mesh3D &out) const override;

    const Point3f &centre() const { return m_centre; }
    void setCentre(const Point3f &centre);
    float radius() const { return m_radius; }
    void setRadius(float radius);

    // Rods attached to this ball, kept for the editor (weak: the rods own their balls).
    std::vector<std::weak_ptr<Mesh3D>> &links() { return m_links; }

    // The model the ball belongs to: the one set here, else the owner of its group record
    // (ManualSupportRecord). A copy starts without one.
    void setManualOwner(const std::shared_ptr<Model> &owner) { m_owner = owner; }

    // IManualPiece
    std::shared_ptr<Model> manualOwner() const override;
    bool isRod() const override { return false; }
    // Rods still alive that end in this ball.
    int ballRodCount() const override;
    Vec3f ballCentre() const override { return m_centre; }

  private:
    // Takes the shared sphere of the radius and places its box at the centre.
    void rebuild();

    std::shared_ptr<const Mesh3D> m_shape;
    float m_shapeRadius = 0.0f;
    Point3f m_centre;
    float m_radius;
    std::vector<std::weak_ptr<Mesh3D>> m_links;
    std::weak_ptr<Model> m_owner;
};
