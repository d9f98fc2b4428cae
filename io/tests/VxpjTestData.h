#pragma once

#include "geometry/MeshGroupRecord.h"
#include "geometry/Model.h"
#include "geometry/Overhang.h"
#include "geometry/SlcModel.h"
#include "io/VxpjFormat.h"
#include "testsupport/SoupMesh.h"
#include "testsupport/TestFiles.h"

#include <QByteArray>
#include <QtEndian>

#include <memory>
#include <vector>

namespace vxpjtest
{

// Builds project bytes field by field, as the file layout lists them.
class FileBuilder
{
  public:
    FileBuilder &i32(qint32 v)
    {
        char b[4];
        qToLittleEndian<qint32>(v, b);
        m_bytes.append(b, 4);
        return *this;
    }
    FileBuilder &f32(float v)
    {
        char b[4];
        qToLittleEndian<float>(v, b);
        m_bytes.append(b, 4);
        return *this;
    }
    FileBuilder &u8(int v)
    {
        m_bytes.append(char(v));
        return *this;
    }
    FileBuilder &point(float x, float y, float z) { return f32(x).f32(y).f32(z); }
    FileBuilder &bytes(const QByteArray &b)
    {
        m_bytes.append(b);
        return *this;
    }
    FileBuilder &zeros(int n)
    {
        m_bytes.append(n, '\0');
        return *this;
    }
    FileBuilder &string(const QByteArray &s) { return i32(s.size()).bytes(s); }

    // Header with the standard magic.
    FileBuilder &header(qint32 version, qint32 modelCount)
    {
        return i32(42).i32(26).bytes(Vxpj::magic()).i32(version).i32(modelCount).zeros(256);
    }
    // A unit right triangle: 3 points, 1 face.
    FileBuilder &triangleGeometry()
    {
        i32(3).point(0, 0, 0).point(1, 0, 0).point(0, 1, 0);
        return i32(1).i32(0).i32(1).i32(2);
    }

    const QByteArray &data() const { return m_bytes; }
    int size() const { return m_bytes.size(); }

  private:
    QByteArray m_bytes;
};

// A support rod kept as a plain mesh, standing in for the supports library's pieces.
class TestRod : public Mesh3D
{
  public:
    explicit TestRod(const Vxpj::Rod &r) : rod(r) {}
    Vxpj::Rod rod;
};

inline Vxpj::RodCodec testRodCodec()
{
    Vxpj::RodCodec codec;
    codec.toRods = [](const ManualSupports &ms) {
        std::vector<Vxpj::Rod> rods;
        for (const auto &part : ms.parts)
            if (auto rod = std::dynamic_pointer_cast<TestRod>(part))
                rods.push_back(rod->rod);
        return rods;
    };
    codec.fromRods = [](const std::vector<Vxpj::Rod> &rods, ManualSupports &ms) {
        ms.parts.clear();
        ms.shared = std::make_shared<MeshGroupRecord>();
        for (const Vxpj::Rod &r : rods) {
            ms.parts.push_back(std::make_shared<Mesh3D>()); // an end ball: not stored
            ms.parts.push_back(std::make_shared<TestRod>(r));
        }
    };
    return codec;
}

// A box model as a triangle soup of 12 faces, moved by (dx, 0, 0).
inline std::shared_ptr<Model> boxModel(const QString &name, float dx = 0.0f)
{
    auto model = testsupport::soupBoxModel(dx, 0, 0, dx + 10, 8, 6);
    model->setBaseName(name);
    return model;
}

// An SLC contour model of two square layers.
inline std::shared_ptr<Model> contourModel(const QString &name)
{
    auto model = std::make_shared<Model>();
    model->setBaseName(name);
    model->setSourceKind(SourceKind::SlcContours);
    auto slc = std::make_shared<SlcModel>();
    slc->layerThickness = 0.05f;
    slc->minZ = 0.05f;
    slc->maxZ = 0.1f;
    for (int l = 0; l < 2; ++l) {
        const float z = 0.05f * float(l + 1);
        SlcModel::Contour contour;
        for (auto [x, y] : {std::pair{0.f, 0.f}, {4.f, 0.f}, {4.f, 4.f}, {0.f, 4.f}}) {
            contour.push_back(std::uint32_t(model->vertices().size()));
            model->vertices().push_back({x, y, z});
        }
        slc->layers.push_back({contour});
    }
    model->setContourData(slc);
    model->recomputeBounds();
    return model;
}

} // namespace vxpjtest
