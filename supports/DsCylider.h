#pragma once

#include "supports/DsPoint.h"

#include <memory>

// A hand-placed support rod between two end balls: two rings of 12 points perpendicular to the
// rod's axis (top radius around the top ball's centre, bottom radius around the bottom ball's),
// 24 side triangles, open ends.
class DsCylider : public Mesh3D, public IManualPiece
{
  public:
    static constexpr int kSegments = 12;
    // Colour of a placed rod (the manual support editor's and a loaded project's).
    static constexpr Vec3f kPlacedColour{0.1f, 0.1f, 0.1f};

    DsCylider(std::shared_ptr<DsPoint> top, std::shared_ptr<DsPoint> bottom, float topRadius,
              float bottomRadius);
    std::shared_ptr<Mesh3D> clone() const override;

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

    // Rebuilds the rings from the balls' current centres.
    void rebuild();

    // Point k of n on the circle of radius r around c perpendicular to axis a. The reference
    // direction is a x X, or a x Y when a is parallel to X; a zero axis counts as vertical.
    static Point3f perpendicularRingPoint(const Point3f &c, const Vec3f &a, float r, int k, int n);

  private:
    std::shared_ptr<DsPoint> m_top;
    std::shared_ptr<DsPoint> m_bottom;
    float m_topRadius;
    float m_bottomRadius;
    bool m_flag = false;
    std::weak_ptr<Model> m_owner;
};
