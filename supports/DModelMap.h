#pragma once

#include "supports/MeshQuery.h"

#include "geometry/Vec3.h"

#include <cstdint>
#include <vector>

// The support factory's index of a model: the model's bounding box cut into cubes of 4 mm, each
// listing the faces whose bounding box (rounded outward to whole millimetres) overlaps it.
//
// Both queries visit the cells between the cells of the two corners of the box spanned by their
// end points, x outermost, then y, then z (cells outside the grid are skipped), and test the
// faces listed in each visited cell, in face order, with a one-sided ray test: a face is only hit
// by a ray running against the direction of its winding normal, so a ray leaving the model
// through a face is not stopped by it.
//
// QueryMode::Reference walks the cells exactly so and tests every listed face, again in every
// visited cell that lists it. QueryMode::Indexed keeps the same order with packed cell lists,
// precomputed edges and without
// testing a face twice in one query, and screens the faces of a cell in bulk with the first two
// steps of the ray test (the same arithmetic, so a face it passes over is one the full test would
// miss); the answers are the same to the bit.
//
// Read-only once built; queries may run on several threads at once.
class DModelMap
{
  public:
    static constexpr float kCellSize = 4.0f;

    // normals: one per face (the model's face normals); the first-hit query only tests faces
    // whose normal has z >= 0.
    DModelMap(const std::vector<Vec3f> &vertices, const std::vector<Face> &faces,
              const std::vector<Vec3f> &normals, QueryMode mode = QueryMode::Indexed);

    QueryMode mode() const { return m_mode; }
    const Box3f &bounds() const { return m_bounds; }
    // Cells along x (0), y (1) or z (2). An axis in which the model has no extent still gets one
    // cell so that its faces can be found.
    int cellCount(int axis) const { return m_count[axis]; }
    std::size_t cellTotal() const;
    // Cell index of a coordinate: (coordinate - minimum) / 4 truncated toward zero; may lie
    // outside 0 .. cellCount - 1 (clamped to -1 .. cellCount for far-away or non-finite values).
    int cellIndex(float coordinate, int axis) const;
    // Faces listed in the cell (i, j, k), in face order.
    std::vector<std::uint32_t> cellFaces(int i, int j, int k) const;

    // The number of cells a model of this box would have; for refusing absurd sizes up front.
    static double cellsFor(const Box3f &box);

    // Segment blocked: a ray from a along b - a hits a face at a distance from a of at most
    // |b - a|. Stops at the first such face in visiting order and gives its hit point.
    // `tested` (optional) counts the ray tests made.
    bool segmentBlocked(const Point3f &a, const Point3f &b, Point3f *hit,
                        int *tested = nullptr) const;
    // First hit: the hit nearest to a of a ray from a along b - a among the faces facing up (hits
    // beyond b count too); a later hit replaces an earlier one only when strictly nearer.
    bool firstHit(const Point3f &a, const Point3f &b, Point3f *hit, int *tested = nullptr) const;

    // The one-sided ray test: origin o, direction d (not normalised), face corners in stored
    // order. Misses when det = e1 . (d x e2) < 2^-23 (seen from the back or edge-on), when the
    // weights leave the triangle or when t < 0. On a hit gives t (the hit point is o + t d).
    static bool rayTest(const Vec3f &o, const Vec3f &d, const Vec3f &f0, const Vec3f &f1,
                        const Vec3f &f2, float *t);
    // The same test with the edges e1 = f1 - f0 and e2 = f2 - f0 already formed.
    static bool rayTestEdges(const Vec3f &o, const Vec3f &d, const Vec3f &f0, const Vec3f &e1,
                             const Vec3f &e2, float *t);

  private:
    struct CellRange {
        int lo[3];
        int hi[3];
        bool empty;
    };
    CellRange cellsBetween(const Point3f &a, const Point3f &b) const;
    std::size_t linear(int i, int j, int k) const
    {
        return (static_cast<std::size_t>(i) * static_cast<std::size_t>(m_count[1]) +
                static_cast<std::size_t>(j)) *
                   static_cast<std::size_t>(m_count[2]) +
               static_cast<std::size_t>(k);
    }
    bool referenceSegment(const Point3f &a, const Point3f &b, Point3f *hit, int *tested) const;
    bool referenceFirstHit(const Point3f &a, const Point3f &b, Point3f *hit, int *tested) const;
    bool indexedSegment(const Point3f &a, const Point3f &b, Point3f *hit, int *tested) const;
    bool indexedFirstHit(const Point3f &a, const Point3f &b, Point3f *hit, int *tested) const;

    const std::vector<Vec3f> &m_vertices;
    const std::vector<Face> &m_faces;
    const std::vector<Vec3f> &m_normals;
    QueryMode m_mode;
    Box3f m_bounds;
    int m_count[3] = {0, 0, 0};

    // Reference: one list per cell.
    std::vector<std::vector<std::uint32_t>> m_cells;
    // Indexed: packed lists (all faces, and the faces facing up), edges per face.
    // A face in the packed list, with the lowest cell it is listed in (per axis) and whether it
    // faces up (normal z >= 0, the faces the first-hit query tests).
    struct Entry {
        std::uint32_t face;
        std::int16_t lo[3];
        std::int16_t up;
    };
    // The corner and edges of the faces of a packed list, one array per coordinate.
    struct Corners {
        std::vector<float> f0x, f0y, f0z, e1x, e1y, e1z, e2x, e2y, e2z;
        void resize(std::size_t n);
        void set(std::size_t i, const Vec3f &f0, const Vec3f &e1, const Vec3f &e2);
        Vec3f f0(std::size_t i) const { return {f0x[i], f0y[i], f0z[i]}; }
        Vec3f e1(std::size_t i) const { return {e1x[i], e1y[i], e1z[i]}; }
        Vec3f e2(std::size_t i) const { return {e2x[i], e2y[i], e2z[i]}; }
    };
    template <bool Nearest>
    bool indexedWalk(const Point3f &a, const Point3f &b, Point3f *hit, int *tested) const;

    std::vector<std::uint32_t> m_start;
    std::vector<Entry> m_list;
    Corners m_corners;
    // The cells each face is listed in (lowest and highest index per axis), while building; the
    // packed lists keep the lowest so that a query tests a face only in the first of its cells
    // that it visits.
    struct FaceCells {
        std::int16_t lo[3];
        std::int16_t hi[3];
    };
    std::vector<FaceCells> m_faceCells;
};
