#pragma once

#include "geometry/Mesh3D.h"

#include <memory>

// Support pieces defined by the supports library; an overhang only holds them.
class Tip;
class Nail;
class ThinTip;

// A point on a model's lower surface that needs a support, drawn as a small sphere around it.
// The sphere is one mesh around the origin shared by every point of the same radius (see
// Mesh3D::sharedShape()), moved to the point; the point holds no triangles of its own.
// The support path computed for it (tip, nail or link) is filled in by the supports library.
class Overhang : public Mesh3D
{
  public:
    // Takes the shared sphere of radius overhangRadius and places it at position.
    Overhang(const Point3f &position, const Vec3f &direction, float overhangRadius,
             float linkPointRadius);
    Overhang(const Overhang &other) = default;
    ~Overhang() override;

    // Moves the point (M*(p,1)) with its sphere and turns the direction (M*(d,0)); the sphere
    // keeps its radius. Calls the changed callback.
    void transform(const Matrix4f &matrix) override;
    // A fresh overhang from position, direction and radii with the colour copied; the support
    // path is not copied (computed() is false).
    std::shared_ptr<Mesh3D> clone() const override;
    std::shared_ptr<Overhang> cloneOverhang() const;

    // Takes the sphere of the current overhangRadius, around the current position.
    void rebuildSphere();

    // The shared sphere (of the radius at the last rebuildSphere()) and the position.
    std::shared_ptr<const Mesh3D> sharedShape() const override { return m_shape; }
    Vec3f shapeOffset() const override { return m_position; }
    // The sphere built at the position, as a mesh of its own (12 rings of 12 points).
    void buildPlacedShape(Mesh3D &out) const override;

    const Point3f &position() const { return m_position; }
    // Moves the point and its sphere.
    void setPosition(const Point3f &p);
    const Vec3f &direction() const { return m_direction; }
    void setDirection(const Vec3f &d) { m_direction = d; }
    float overhangRadius() const { return m_overhangRadius; }
    void setOverhangRadius(float r) { m_overhangRadius = r; }
    float linkPointRadius() const { return m_linkPointRadius; }
    void setLinkPointRadius(float r) { m_linkPointRadius = r; }

    const std::shared_ptr<Tip> &tip() const { return m_tip; }
    void setTip(std::shared_ptr<Tip> tip) { m_tip = std::move(tip); }
    const std::shared_ptr<Nail> &nail() const { return m_nail; }
    void setNail(std::shared_ptr<Nail> nail) { m_nail = std::move(nail); }
    const std::shared_ptr<ThinTip> &link() const { return m_link; }
    void setLink(std::shared_ptr<ThinTip> link) { m_link = std::move(link); }
    bool isComputed() const { return m_computed; }
    void setComputed(bool computed) { m_computed = computed; }

  private:
    // The box of the sphere at the position.
    void placeShape();

    std::shared_ptr<const Mesh3D> m_shape;
    float m_shapeRadius = 0.0f;
    Point3f m_position;
    Vec3f m_direction;
    float m_overhangRadius = 0.0f;
    float m_linkPointRadius = 0.0f;
    std::shared_ptr<Tip> m_tip;
    std::shared_ptr<Nail> m_nail;
    std::shared_ptr<ThinTip> m_link;
    bool m_computed = false;
};

using OverhangList = std::vector<std::shared_ptr<Overhang>>;
