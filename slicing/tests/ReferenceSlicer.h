#pragma once

#include "slicing/Mesh.h"
#include "slicing/PolygonSteps.h"

#include <QByteArray>

#include <memory>
#include <unordered_map>
#include <vector>

class Mesh3D;

namespace reference
{

// The plain slice engine kept to check the program's engine against: vertex lookup through a
// std::unordered_map of vectors, per-vertex face vectors, a scan over all faces for every layer,
// a std::map from face to segment, one layer after the other on one thread.
class ReferenceMesh
{
  public:
    void addFace(const Lamellor::Point3 &a, const Lamellor::Point3 &b, const Lamellor::Point3 &c);
    void finish();

    std::vector<Lamellor::Point3> vertices;
    std::vector<std::vector<int>> vertexFaces;
    std::vector<Lamellor::MeshFace> faces;
    Lamellor::Point3 min, max;

  private:
    int findOrAdd(const Lamellor::Point3 &p);
    int across(int idx0, int idx1, int notFace, int notFaceVertex) const;
    std::unordered_map<uint32_t, std::vector<uint32_t>> m_lookup;
};

std::vector<Lamellor::SlicePart> sliceLayer(const ReferenceMesh &mesh, int32_t z);

// The whole package as the plain engine writes it.
QByteArray referencePackage(const std::vector<std::shared_ptr<Mesh3D>> &meshes,
                            double layerThicknessMm, const QByteArray &front = QByteArray(),
                            const QByteArray &top = QByteArray(),
                            const QByteArray &left = QByteArray());

} // namespace reference
