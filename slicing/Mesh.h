#pragma once

#include "slicing/SettingsBase.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace Lamellor
{

// A point of the engine mesh in integer micrometres.
struct Point3 {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
};

inline bool operator==(const Point3 &a, const Point3 &b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// A triangle: three vertex indices and, per edge (0-1, 1-2, 2-0), the face across it (-1: none).
struct MeshFace {
    int vertex_index[3] = {-1, -1, -1};
    int connected_face_index[3] = {-1, -1, -1};
};

// The merged integer mesh the slicer cuts. Corners closer than 30 um (found through a 30 um
// cell grid) become one vertex; faces whose corners meld into fewer than three vertices are
// dropped. Build with addFace(), then call finish() once; afterwards the mesh is read-only and
// may be read from several threads.
class Mesh : public SettingsBase
{
  public:
    explicit Mesh(const SettingsBaseVirtual *parent = nullptr);

    // Converts a corner from millimetres: times 1000, truncated toward zero.
    static Point3 fromMillimetres(float x, float y, float z);

    void reserveFaces(size_t faceCount);
    // Adds a face with corners in micrometres. Returns false when the face was dropped.
    bool addFace(const Point3 &v0, const Point3 &v1, const Point3 &v2);
    // Drops the vertex lookup table, builds the per-vertex face lists and the face neighbours.
    // threadCount 0 uses all cores; the result does not depend on it.
    void finish(int threadCount = 0);

    const std::vector<Point3> &vertices() const { return m_vertices; }
    const std::vector<MeshFace> &faces() const { return m_faces; }
    // Faces using vertex v, in face order: [first, last).
    const int *facesOfVertexBegin(int v) const
    {
        return m_vertexFaces.data() + m_vertexFaceStart[v];
    }
    const int *facesOfVertexEnd(int v) const
    {
        return m_vertexFaces.data() + m_vertexFaceStart[v + 1];
    }
    const Point3 &min() const { return m_min; }
    const Point3 &max() const { return m_max; }
    bool isEmpty() const { return m_vertices.empty(); }

    // Lowest and highest corner z of a face.
    int32_t faceMinZ(int face) const;
    int32_t faceMaxZ(int face) const;

  private:
    int findOrAddVertex(const Point3 &p);
    void growTable();
    int faceAcrossEdge(int idx0, int idx1, int notFace, int notFaceVertex) const;

    std::vector<Point3> m_vertices;
    std::vector<MeshFace> m_faces;
    std::vector<int> m_vertexFaceStart;
    std::vector<int> m_vertexFaces;
    Point3 m_min;
    Point3 m_max;

    // Vertex lookup while building: open addressing from cell key to the first and last vertex
    // stored under it; m_nextInCell chains the vertices of one key in insertion order.
    struct Cell {
        uint32_t key = 0;
        int first = -1;
        int last = -1;
    };
    std::vector<Cell> m_table;
    std::vector<int> m_nextInCell;
    size_t m_usedCells = 0;

    // The faces added so far, as vertex triples starting at the lowest index (building only).
    struct FaceKey {
        int a;
        int b;
        int c;
        bool operator==(const FaceKey &o) const { return a == o.a && b == o.b && c == o.c; }
    };
    struct FaceKeyHash {
        size_t operator()(const FaceKey &k) const
        {
            uint64_t h = uint64_t(uint32_t(k.a)) * 0x9E3779B97F4A7C15ull;
            h ^= uint64_t(uint32_t(k.b)) + 0xC2B2AE3D27D4EB4Full + (h << 6) + (h >> 2);
            h ^= uint64_t(uint32_t(k.c)) + 0x165667B19E3779F9ull + (h << 6) + (h >> 2);
            return size_t(h);
        }
    };
    std::unordered_set<FaceKey, FaceKeyHash> m_faceKeys;
};

// The 32-bit key of the 30 um melding cell of a point.
uint32_t meldCellKey(const Point3 &p);

} // namespace Lamellor
