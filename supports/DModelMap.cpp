#include "supports/DModelMap.h"

#include "supports/SupportMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace
{
// More cells than this on one axis would not fit the per-face cell ranges.
constexpr int kMaxAxisCells = 32000;

int axisCells(float extent)
{
    if (!(extent > 0.0f))
        return 1;
    const double n = std::ceil(static_cast<double>(extent) / DModelMap::kCellSize);
    return static_cast<int>(std::min<double>(n, kMaxAxisCells));
}
} // namespace

DModelMap::DModelMap(const std::vector<Vec3f> &vertices, const std::vector<Face> &faces,
                     const std::vector<Vec3f> &normals, QueryMode mode)
    : m_vertices(vertices), m_faces(faces), m_normals(normals), m_mode(mode)
{
    for (const Vec3f &v : vertices)
        SupportMath::growBox(m_bounds, v);
    if (faces.empty() || m_bounds.isEmpty())
        return;
    for (int a = 0; a < 3; ++a)
        m_count[a] = axisCells(m_bounds.max[a] - m_bounds.min[a]);

    // Cells of every face: its box rounded outward to whole millimetres, clamped to the grid
    // (a rounded corner may reach past the last cell).
    auto clampCell = [this](float v, int a) {
        return std::min(std::max(cellIndex(v, a), 0), m_count[a] - 1);
    };
    m_faceCells.resize(faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        Box3f box;
        for (int c = 0; c < 3; ++c)
            SupportMath::growBox(box, vertices[faces[f][c]]);
        for (int a = 0; a < 3; ++a) {
            m_faceCells[f].lo[a] = static_cast<std::int16_t>(clampCell(std::floor(box.min[a]), a));
            m_faceCells[f].hi[a] = static_cast<std::int16_t>(clampCell(std::ceil(box.max[a]), a));
        }
    }
    const std::size_t total = cellTotal();
    auto eachCell = [this](std::size_t f, auto &&fn) {
        const FaceCells &fc = m_faceCells[f];
        for (int i = fc.lo[0]; i <= fc.hi[0]; ++i)
            for (int j = fc.lo[1]; j <= fc.hi[1]; ++j)
                for (int k = fc.lo[2]; k <= fc.hi[2]; ++k)
                    fn(linear(i, j, k));
    };
    auto isUp = [&normals](std::size_t f) { return f < normals.size() && normals[f].z >= 0.0f; };

    if (mode == QueryMode::Reference) {
        m_cells.resize(total);
        for (std::size_t f = 0; f < faces.size(); ++f)
            eachCell(f,
                     [&](std::size_t c) { m_cells[c].push_back(static_cast<std::uint32_t>(f)); });
        m_faceCells.clear();
        return;
    }

    m_start.assign(total + 1, 0);
    for (std::size_t f = 0; f < faces.size(); ++f)
        eachCell(f, [&](std::size_t c) { ++m_start[c + 1]; });
    for (std::size_t c = 0; c < total; ++c)
        m_start[c + 1] += m_start[c];
    m_list.resize(m_start[total]);
    m_corners.resize(m_list.size());
    std::vector<std::uint32_t> fill(m_start.begin(), m_start.end() - 1);
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const FaceCells &fc = m_faceCells[f];
        const Entry entry{static_cast<std::uint32_t>(f),
                          {fc.lo[0], fc.lo[1], fc.lo[2]},
                          static_cast<std::int16_t>(isUp(f) ? 1 : 0)};
        const Vec3f &f0 = vertices[faces[f][0]];
        const Vec3f e1 = vertices[faces[f][1]] - f0;
        const Vec3f e2 = vertices[faces[f][2]] - f0;
        eachCell(f, [&](std::size_t c) {
            m_corners.set(fill[c], f0, e1, e2);
            m_list[fill[c]++] = entry;
        });
    }
    m_faceCells.clear();
    m_faceCells.shrink_to_fit();
}

void DModelMap::Corners::resize(std::size_t n)
{
    for (auto *v : {&f0x, &f0y, &f0z, &e1x, &e1y, &e1z, &e2x, &e2y, &e2z})
        v->resize(n);
}

void DModelMap::Corners::set(std::size_t i, const Vec3f &f0, const Vec3f &e1, const Vec3f &e2)
{
    f0x[i] = f0.x;
    f0y[i] = f0.y;
    f0z[i] = f0.z;
    e1x[i] = e1.x;
    e1y[i] = e1.y;
    e1z[i] = e1.z;
    e2x[i] = e2.x;
    e2y[i] = e2.y;
    e2z[i] = e2.z;
}

std::size_t DModelMap::cellTotal() const
{
    return static_cast<std::size_t>(m_count[0]) * static_cast<std::size_t>(m_count[1]) *
           static_cast<std::size_t>(m_count[2]);
}

double DModelMap::cellsFor(const Box3f &box)
{
    if (box.isEmpty())
        return 0.0;
    double cells = 1.0;
    for (int a = 0; a < 3; ++a) {
        const float extent = box.max[a] - box.min[a];
        cells *= extent > 0.0f ? std::ceil(static_cast<double>(extent) / kCellSize) : 1.0;
    }
    return cells;
}

int DModelMap::cellIndex(float coordinate, int axis) const
{
    const float q = (coordinate - m_bounds.min[axis]) / kCellSize;
    if (std::isnan(q))
        return -1;
    // Truncation toward zero: anything above -1 lands in cell 0.
    if (q <= -1.0f)
        return -1;
    const auto n = static_cast<float>(m_count[axis]);
    if (q >= n)
        return m_count[axis];
    return static_cast<int>(q);
}

std::vector<std::uint32_t> DModelMap::cellFaces(int i, int j, int k) const
{
    if (i < 0 || j < 0 || k < 0 || i >= m_count[0] || j >= m_count[1] || k >= m_count[2])
        return {};
    const std::size_t c = linear(i, j, k);
    if (m_mode == QueryMode::Reference)
        return m_cells[c];
    std::vector<std::uint32_t> out;
    for (std::uint32_t e = m_start[c]; e < m_start[c + 1]; ++e)
        out.push_back(m_list[e].face);
    return out;
}

DModelMap::CellRange DModelMap::cellsBetween(const Point3f &a, const Point3f &b) const
{
    CellRange r{};
    r.empty = cellTotal() == 0;
    for (int axis = 0; axis < 3 && !r.empty; ++axis) {
        const int lo = cellIndex(std::min(a[axis], b[axis]), axis);
        const int hi = cellIndex(std::max(a[axis], b[axis]), axis);
        r.lo[axis] = std::max(lo, 0);
        r.hi[axis] = std::min(hi, m_count[axis] - 1);
        if (r.lo[axis] > r.hi[axis])
            r.empty = true;
    }
    return r;
}

namespace
{
// The ray test itself, inlined into the walks.
inline bool rayTestInline(const Vec3f &o, const Vec3f &d, const Vec3f &f0, const Vec3f &e1,
                          const Vec3f &e2, float *t)
{
    const Vec3f p = d.cross(e2);
    const float det = e1.dot(p);
    if (!(det >= SupportMath::kRayEpsilon))
        return false;
    const Vec3f s = o - f0;
    const float u = s.dot(p) / det;
    if (u < 0.0f || u > 1.0f)
        return false;
    const Vec3f q = s.cross(e1);
    const float v = d.dot(q) / det;
    if (v < 0.0f || u + v > 1.0f)
        return false;
    const float tt = e2.dot(q) / det;
    if (tt < 0.0f)
        return false;
    *t = tt;
    return true;
}
} // namespace

bool DModelMap::rayTestEdges(const Vec3f &o, const Vec3f &d, const Vec3f &f0, const Vec3f &e1,
                             const Vec3f &e2, float *t)
{
    return rayTestInline(o, d, f0, e1, e2, t);
}

bool DModelMap::rayTest(const Vec3f &o, const Vec3f &d, const Vec3f &f0, const Vec3f &f1,
                        const Vec3f &f2, float *t)
{
    return rayTestInline(o, d, f0, f1 - f0, f2 - f0, t);
}

bool DModelMap::segmentBlocked(const Point3f &a, const Point3f &b, Point3f *hit, int *tested) const
{
    return m_mode == QueryMode::Reference ? referenceSegment(a, b, hit, tested)
                                          : indexedSegment(a, b, hit, tested);
}

bool DModelMap::firstHit(const Point3f &a, const Point3f &b, Point3f *hit, int *tested) const
{
    return m_mode == QueryMode::Reference ? referenceFirstHit(a, b, hit, tested)
                                          : indexedFirstHit(a, b, hit, tested);
}

// ---- The written cell walk.

bool DModelMap::referenceSegment(const Point3f &a, const Point3f &b, Point3f *hit,
                                 int *tested) const
{
    const CellRange r = cellsBetween(a, b);
    if (r.empty)
        return false;
    const Vec3f d = b - a;
    const float length = d.length();
    for (int i = r.lo[0]; i <= r.hi[0]; ++i)
        for (int j = r.lo[1]; j <= r.hi[1]; ++j)
            for (int k = r.lo[2]; k <= r.hi[2]; ++k)
                for (const std::uint32_t f : m_cells[linear(i, j, k)]) {
                    if (tested)
                        ++*tested;
                    const Face &face = m_faces[f];
                    float t;
                    if (!rayTest(a, d, m_vertices[face[0]], m_vertices[face[1]],
                                 m_vertices[face[2]], &t))
                        continue;
                    const Point3f p = a + d * t;
                    if ((p - a).length() <= length) {
                        *hit = p;
                        return true;
                    }
                }
    return false;
}

bool DModelMap::referenceFirstHit(const Point3f &a, const Point3f &b, Point3f *hit,
                                  int *tested) const
{
    const CellRange r = cellsBetween(a, b);
    if (r.empty)
        return false;
    const Vec3f d = b - a;
    bool found = false;
    float best = 0.0f;
    for (int i = r.lo[0]; i <= r.hi[0]; ++i)
        for (int j = r.lo[1]; j <= r.hi[1]; ++j)
            for (int k = r.lo[2]; k <= r.hi[2]; ++k)
                for (const std::uint32_t f : m_cells[linear(i, j, k)]) {
                    if (!(f < m_normals.size() && m_normals[f].z >= 0.0f))
                        continue;
                    if (tested)
                        ++*tested;
                    const Face &face = m_faces[f];
                    float t;
                    if (!rayTest(a, d, m_vertices[face[0]], m_vertices[face[1]],
                                 m_vertices[face[2]], &t))
                        continue;
                    const Point3f p = a + d * t;
                    const float distance = (p - a).length();
                    if (!found || distance < best) {
                        found = true;
                        best = distance;
                        *hit = p;
                    }
                }
    return found;
}

// ---- The same walk over the packed lists.

namespace
{
constexpr std::uint32_t kScreenChunk = 256;

// The first two steps of the ray test for n faces at once: pass[k] is 0 where the test would
// stop there (det below the limit, or u outside [0, 1]), with the same operations in the same
// order as rayTestInline so that the results agree to the bit (four faces per instruction where
// SSE is there: its single-precision operations round exactly as the scalar ones).
void screen(const float *__restrict f0x, const float *__restrict f0y, const float *__restrict f0z,
            const float *__restrict e1x, const float *__restrict e1y, const float *__restrict e1z,
            const float *__restrict e2x, const float *__restrict e2y, const float *__restrict e2z,
            std::uint32_t n, const Vec3f &o, const Vec3f &d, std::uint8_t *__restrict pass)
{
    const float ox = o.x, oy = o.y, oz = o.z;
    const float dx = d.x, dy = d.y, dz = d.z;
    const float eps = SupportMath::kRayEpsilon;
    std::uint32_t k = 0;
#ifdef __SSE2__
    const __m128 vox = _mm_set1_ps(ox), voy = _mm_set1_ps(oy), voz = _mm_set1_ps(oz);
    const __m128 vdx = _mm_set1_ps(dx), vdy = _mm_set1_ps(dy), vdz = _mm_set1_ps(dz);
    const __m128 veps = _mm_set1_ps(eps), zero = _mm_setzero_ps(), one = _mm_set1_ps(1.0f);
    for (; k + 4 <= n; k += 4) {
        const __m128 ax = _mm_loadu_ps(e2x + k), ay = _mm_loadu_ps(e2y + k),
                     az = _mm_loadu_ps(e2z + k);
        const __m128 px = _mm_sub_ps(_mm_mul_ps(vdy, az), _mm_mul_ps(vdz, ay));
        const __m128 py = _mm_sub_ps(_mm_mul_ps(vdz, ax), _mm_mul_ps(vdx, az));
        const __m128 pz = _mm_sub_ps(_mm_mul_ps(vdx, ay), _mm_mul_ps(vdy, ax));
        const __m128 det = _mm_add_ps(_mm_add_ps(_mm_mul_ps(_mm_loadu_ps(e1x + k), px),
                                                 _mm_mul_ps(_mm_loadu_ps(e1y + k), py)),
                                      _mm_mul_ps(_mm_loadu_ps(e1z + k), pz));
        const __m128 sx = _mm_sub_ps(vox, _mm_loadu_ps(f0x + k));
        const __m128 sy = _mm_sub_ps(voy, _mm_loadu_ps(f0y + k));
        const __m128 sz = _mm_sub_ps(voz, _mm_loadu_ps(f0z + k));
        const __m128 u = _mm_div_ps(
            _mm_add_ps(_mm_add_ps(_mm_mul_ps(sx, px), _mm_mul_ps(sy, py)), _mm_mul_ps(sz, pz)),
            det);
        const __m128 ok = _mm_and_ps(_mm_cmpge_ps(det, veps),
                                     _mm_and_ps(_mm_cmpnlt_ps(u, zero), _mm_cmpngt_ps(u, one)));
        const int bits = _mm_movemask_ps(ok);
        pass[k] = static_cast<std::uint8_t>(bits & 1);
        pass[k + 1] = static_cast<std::uint8_t>((bits >> 1) & 1);
        pass[k + 2] = static_cast<std::uint8_t>((bits >> 2) & 1);
        pass[k + 3] = static_cast<std::uint8_t>((bits >> 3) & 1);
    }
#endif
    for (; k < n; ++k) {
        const float px = dy * e2z[k] - dz * e2y[k];
        const float py = dz * e2x[k] - dx * e2z[k];
        const float pz = dx * e2y[k] - dy * e2x[k];
        const float det = e1x[k] * px + e1y[k] * py + e1z[k] * pz;
        const float sx = ox - f0x[k], sy = oy - f0y[k], sz = oz - f0z[k];
        const float u = (sx * px + sy * py + sz * pz) / det;
        pass[k] = static_cast<std::uint8_t>((det >= eps) & !(u < 0.0f) & !(u > 1.0f));
    }
}
} // namespace

template <bool Nearest>
bool DModelMap::indexedWalk(const Point3f &a, const Point3f &b, Point3f *hit, int *tested) const
{
    const std::vector<std::uint32_t> &start = m_start;
    const std::vector<Entry> &list = m_list;
    const Corners &corners = m_corners;
    const CellRange r = cellsBetween(a, b);
    if (r.empty)
        return false;
    const Vec3f d = b - a;
    const float length = d.length();
    bool found = false;
    float best = 0.0f;
    std::uint8_t pass[kScreenChunk];
    for (int i = r.lo[0]; i <= r.hi[0]; ++i)
        for (int j = r.lo[1]; j <= r.hi[1]; ++j)
            for (int k = r.lo[2]; k <= r.hi[2]; ++k) {
                const std::size_t c = linear(i, j, k);
                for (std::uint32_t first = start[c]; first < start[c + 1]; first += kScreenChunk) {
                    const std::uint32_t n = std::min(kScreenChunk, start[c + 1] - first);
                    screen(&corners.f0x[first], &corners.f0y[first], &corners.f0z[first],
                           &corners.e1x[first], &corners.e1y[first], &corners.e1z[first],
                           &corners.e2x[first], &corners.e2y[first], &corners.e2z[first], n, a, d,
                           pass);
                    if (tested)
                        *tested += static_cast<int>(n);
                    for (std::uint32_t m = 0; m < n; ++m) {
                        if (!pass[m])
                            continue;
                        const std::uint32_t e = first + m;
                        const Entry &entry = list[e];
                        // The first hit tests the faces facing up only.
                        if (Nearest && !entry.up)
                            continue;
                        // Tested already in an earlier cell of this walk: the first cell of the
                        // face's cells within the walk is the corner of their overlap.
                        if (std::max<int>(entry.lo[0], r.lo[0]) != i ||
                            std::max<int>(entry.lo[1], r.lo[1]) != j ||
                            std::max<int>(entry.lo[2], r.lo[2]) != k)
                            continue;
                        float t;
                        if (!rayTestInline(a, d, corners.f0(e), corners.e1(e), corners.e2(e), &t))
                            continue;
                        const Point3f p = a + d * t;
                        const float distance = (p - a).length();
                        if (!Nearest) {
                            if (distance <= length) {
                                *hit = p;
                                return true;
                            }
                            continue;
                        }
                        if (!found || distance < best) {
                            found = true;
                            best = distance;
                            *hit = p;
                        }
                    }
                }
            }
    return found;
}

bool DModelMap::indexedSegment(const Point3f &a, const Point3f &b, Point3f *hit, int *tested) const
{
    return indexedWalk<false>(a, b, hit, tested);
}

bool DModelMap::indexedFirstHit(const Point3f &a, const Point3f &b, Point3f *hit, int *tested) const
{
    return indexedWalk<true>(a, b, hit, tested);
}
