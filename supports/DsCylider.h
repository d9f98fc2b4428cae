#pragma once

#include "supports/DsPoint.h"

#include <array>
#include <memory>

// A hand-placed support rod between two end balls: two rings of 12 points perpendicular to the
// rod's axis (top radius around the top ball's centre, bottom radius around the bottom ball's),
// 24 side triangles, open ends. The rod holds no triangles of its own: every rod of the same
// radii draws one shared tube of unit length (see Mesh3D::sharedShape()), turned and stretched
// onto its axis by shapePlacement(); the triangles printed are built from its two centres.
class DsCylider : public Mesh3D, public IManualPiece
{
  public:
    static constexpr int kSegments = 12;
    // Colour of a placed rod (the manual support editor's and a loaded project's).
    static constexpr Vec3f kPlacedColour{0.1f, 0.1f, 0.1f};

    DsCylider(std::shared_ptr<DsPoint> top, std::shared_ptr<DsPoint> bottom, float topRadius,
              float bottomRadius);
    std::shared_ptr<Mesh3D> clone() const override;
    // Moves both centres (M*(c,1)) and lays the rings around them again; the radii stay.
    void transform(const Matrix4f &matrix) override;

    std::shared_ptr<const Mesh3D> sharedShape() const override { return m_shape; }
    Vec3f shapeOffset() const override { return m_topCentre; }
    // Columns: the ring directions u and w of perpendicularRingPoint(), the axis from the top
    // centre to the bottom one, and the top centre.
    Matrix4f shapePlacement() const override;
    // The rings built around the centres, as a mesh of its own.
    void buildPlacedShape(Mesh3D &out) const override;

    const std::shared_ptr<DsPoint> &top() const { return m_top; }
    const std::shared_ptr<DsPoint> &bottom() const { return m_bottom; }
    void setEnds(std::shared_ptr<DsPoint> top, std::shared_ptr<DsPoint> bottom);
    float topRadius() const { return m_topRadius; }
    float bottomRadius() const { return m_bottomRadius; }
    void setRadii(float topRadius, float bottomRadius);
    bool flag() const { return m_flag; }
    void setFlag(bool flag) { m_flag = flag; }

    // The model the rod belongs to: the one set here, else its group record's owner, else its
    // top ball's. Setting it also sets it on both balls. A copy starts without one.
    void setManualOwner(const std::shared_ptr<Model> &owner);

    // IManualPiece
    std::shared_ptr<Model> manualOwner() const override;
    bool isRod() const override { return true; }
    std::shared_ptr<Mesh3D> rodTopBall() const override { return m_top; }
    std::shared_ptr<Mesh3D> rodBottomBall() const override { return m_bottom; }
    // Takes this rod (and rods that no longer exist) out of both balls' links.
    void detachRodFromBalls() override;

    // Takes the balls' current centres and lays the rings around them.
    void rebuild();
    // The centres the rings lie around (the balls' when last rebuilt, moved with the rod since).
    const Point3f &topCentre() const { return m_topCentre; }
    const Point3f &bottomCentre() const { return m_bottomCentre; }
    // Lays the rings around these centres (the balls are not moved).
    void setCentres(const Point3f &top, const Point3f &bottom);

    // The shared tube: 12 points of topRadius around the origin in z = 0, 12 of bottomRadius in
    // z = 1, the rod's 24 side faces.
    static void buildUnitTube(Mesh3D &mesh, float topRadius, float bottomRadius);

    // Point k of n on the circle of radius r around c perpendicular to axis a. The reference
    // direction is a x X, or a x Y when a is parallel to X; a zero axis counts as vertical.
    static Point3f perpendicularRingPoint(const Point3f &c, const Vec3f &a, float r, int k, int n);

  private:
    // Takes the tube of the radii and sets the box of the placed rings.
    void place();
    // The directions perpendicular to axis that the rings are laid out on.
    static void ringBasis(const Vec3f &axis, Vec3f &u, Vec3f &w);

    std::shared_ptr<const Mesh3D> m_shape;
    std::array<float, 2> m_shapeRadii{0.0f, 0.0f}; // the radii m_shape was made for
    Point3f m_topCentre;
    Point3f m_bottomCentre;
    std::shared_ptr<DsPoint> m_top;
    std::shared_ptr<DsPoint> m_bottom;
    float m_topRadius;
    float m_bottomRadius;
    bool m_flag = false;
    std::weak_ptr<Model> m_owner;
};
