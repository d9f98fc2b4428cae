#pragma once

#include "geometry/Vec3.h"

#include <QString>

#include <array>
#include <cstdint>

// Kind tags of scene objects (Object3D::kindTag()).
namespace ObjectKind
{
constexpr std::int32_t Ordinary = -1;
constexpr std::int32_t SupportTip = 0;
constexpr std::int32_t ManualSupportPoint = 0xF001;
constexpr std::int32_t ManualSupportCylinder = 0xF002;
} // namespace ObjectKind

// Source kinds (Object3D::sourceKind()).
namespace SourceKind
{
constexpr std::int32_t Mesh = 0;
constexpr std::int32_t SlcContours = 1;
} // namespace SourceKind

// Identity, name, size and scale of every scene object.
//
// Copying copies every field; the seven construction values are 0..6 for every object.
class Object3D
{
  public:
    Object3D() = default;
    Object3D(const Object3D &other);
    Object3D &operator=(const Object3D &other);
    virtual ~Object3D() = default;

    // Display name: the base name, followed by "(n)" when the copy number n is not 0.
    virtual QString name() const;
    // Modifiable copy number; 0 for an object that is not a copy.
    virtual std::uint32_t &copyNumber();
    std::uint32_t copyNumber() const { return m_copyNumber; }

    const QString &baseName() const { return m_baseName; }
    void setBaseName(const QString &name) { m_baseName = name; }
    const QString &pathText() const { return m_pathText; }
    void setPathText(const QString &path) { m_pathText = path; }

    // Extent along x, y, z in millimetres (set from the bounding box after loading).
    const Vec3f &size() const { return m_size; }
    void setSize(const Vec3f &size) { m_size = size; }
    float reservedSize() const { return m_reservedSize; }
    void setReservedSize(float v) { m_reservedSize = v; }

    const Vec3f &scale() const { return m_scale; }
    void setScale(const Vec3f &scale) { m_scale = scale; }

    bool isLayoutRotated() const { return m_layoutRotated; }
    void setLayoutRotated(bool rotated) { m_layoutRotated = rotated; }
    float layoutOffsetX() const { return m_layoutOffsetX; }
    float layoutOffsetY() const { return m_layoutOffsetY; }
    void setLayoutOffset(float x, float y)
    {
        m_layoutOffsetX = x;
        m_layoutOffsetY = y;
    }

    std::int32_t furtherValue() const { return m_furtherValue; }
    void setFurtherValue(std::int32_t v) { m_furtherValue = v; }

    // ObjectKind::Ordinary for ordinary meshes; see ObjectKind for the others.
    std::int32_t kindTag() const { return m_kindTag; }
    void setKindTag(std::int32_t tag) { m_kindTag = tag; }

    // The same for every object; not stored with each.
    const std::array<std::int32_t, 7> &constructionValues() const
    {
        static constexpr std::array<std::int32_t, 7> kValues{0, 1, 2, 3, 4, 5, 6};
        return kValues;
    }

    // True when faces share vertices by index (welded meshes, project models, generated shapes);
    // false for triangle soups where face i uses vertices 3i, 3i+1, 3i+2 (and for OBJ meshes).
    bool isIndexed() const { return m_indexed; }
    void setIndexed(bool indexed) { m_indexed = indexed; }

    // SourceKind::Mesh or SourceKind::SlcContours.
    std::int32_t sourceKind() const { return m_sourceKind; }
    void setSourceKind(std::int32_t kind) { m_sourceKind = kind; }

  private:
    Vec3f m_size{0.0f, 0.0f, 0.0f};
    float m_reservedSize = 0.0f;
    Vec3f m_scale{1.0f, 1.0f, 1.0f};
    bool m_layoutRotated = false;
    float m_layoutOffsetX = 0.0f;
    float m_layoutOffsetY = 0.0f;
    std::int32_t m_furtherValue = 0;
    std::int32_t m_kindTag = ObjectKind::Ordinary;
    QString m_pathText;
    QString m_baseName;
    bool m_indexed = false;
    std::int32_t m_sourceKind = SourceKind::Mesh;
    std::uint32_t m_copyNumber = 0;
};
