#include "slicing/Mesh.h"

#include "slicing/EngineLog.h"

#include <QThread>

#include <algorithm>
#include <cmath>
#include <thread>

namespace Lamellor
{

namespace
{

constexpr int kMeldDistance = 30;

int32_t toMicrons(float millimetres)
{
    const double microns = double(millimetres) * 1000.0;
    if (!(microns > -2147483648.0))
        return microns != microns ? 0 : INT32_MIN;
    if (!(microns < 2147483648.0))
        return INT32_MAX;
    return static_cast<int32_t>(microns);
}

bool withinMeldDistance(const Point3 &a, const Point3 &b)
{
    const int64_t dx = int64_t(a.x) - b.x;
    const int64_t dy = int64_t(a.y) - b.y;
    const int64_t dz = int64_t(a.z) - b.z;
    if (dx > kMeldDistance || dx < -kMeldDistance || dy > kMeldDistance || dy < -kMeldDistance ||
        dz > kMeldDistance || dz < -kMeldDistance)
        return false;
    return dx * dx + dy * dy + dz * dz <= int64_t(kMeldDistance) * kMeldDistance;
}

size_t cellSlot(uint32_t key, size_t mask)
{
    uint64_t h = uint64_t(key) * 0x9E3779B97F4A7C15ull;
    return size_t(h >> 32) & mask;
}

struct Vec3d {
    double x, y, z;
};

Vec3d operator-(const Vec3d &a, const Vec3d &b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3d operator*(const Vec3d &a, double s)
{
    return {a.x * s, a.y * s, a.z * s};
}
double dot(const Vec3d &a, const Vec3d &b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3d cross(const Vec3d &a, const Vec3d &b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length(const Vec3d &a)
{
    return std::sqrt(dot(a, a));
}
Vec3d toVec(const Point3 &p)
{
    return {double(p.x), double(p.y), double(p.z)};
}

} // namespace

uint32_t meldCellKey(const Point3 &p)
{
    const uint32_t cx = uint32_t((int64_t(p.x) + 15) / 30);
    const uint32_t cy = uint32_t((int64_t(p.y) + 15) / 30);
    const uint32_t cz = uint32_t((int64_t(p.z) + 15) / 30);
    return (((cz << 10) ^ cy) << 10) ^ cx;
}

Mesh::Mesh(const SettingsBaseVirtual *parent) : SettingsBase(parent)
{
    m_table.resize(1024);
}

Point3 Mesh::fromMillimetres(float x, float y, float z)
{
    return Point3{toMicrons(x), toMicrons(y), toMicrons(z)};
}

void Mesh::reserveFaces(size_t faceCount)
{
    m_faces.reserve(faceCount);
    m_faceKeys.reserve(faceCount);
    m_vertices.reserve(faceCount / 2 + 3);
    m_nextInCell.reserve(faceCount / 2 + 3);
    size_t wanted = 1024;
    while (wanted < faceCount)
        wanted <<= 1;
    if (wanted > m_table.size() && m_usedCells == 0)
        m_table.assign(wanted, Cell());
}

void Mesh::growTable()
{
    std::vector<Cell> old(m_table.size() * 2);
    old.swap(m_table);
    const size_t mask = m_table.size() - 1;
    for (const Cell &cell : old) {
        if (cell.first < 0)
            continue;
        size_t slot = cellSlot(cell.key, mask);
        while (m_table[slot].first >= 0)
            slot = (slot + 1) & mask;
        m_table[slot] = cell;
    }
}

int Mesh::findOrAddVertex(const Point3 &p)
{
    const uint32_t key = meldCellKey(p);
    const size_t mask = m_table.size() - 1;
    size_t slot = cellSlot(key, mask);
    while (m_table[slot].first >= 0 && m_table[slot].key != key)
        slot = (slot + 1) & mask;
    Cell &cell = m_table[slot];
    for (int v = cell.first; v >= 0; v = m_nextInCell[v]) {
        if (withinMeldDistance(m_vertices[v], p))
            return v;
    }

    const int index = int(m_vertices.size());
    if (m_vertices.empty()) {
        m_min = p;
        m_max = p;
    } else {
        m_min.x = std::min(m_min.x, p.x);
        m_min.y = std::min(m_min.y, p.y);
        m_min.z = std::min(m_min.z, p.z);
        m_max.x = std::max(m_max.x, p.x);
        m_max.y = std::max(m_max.y, p.y);
        m_max.z = std::max(m_max.z, p.z);
    }
    m_vertices.push_back(p);
    m_nextInCell.push_back(-1);
    if (cell.first < 0) {
        cell.key = key;
        cell.first = index;
        cell.last = index;
        if (++m_usedCells * 2 > m_table.size())
            growTable();
    } else {
        m_nextInCell[cell.last] = index;
        cell.last = index;
    }
    return index;
}

bool Mesh::addFace(const Point3 &v0, const Point3 &v1, const Point3 &v2)
{
    const int i0 = findOrAddVertex(v0);
    const int i1 = findOrAddVertex(v1);
    const int i2 = findOrAddVertex(v2);
    if (i0 == i1 || i1 == i2 || i0 == i2)
        return false;
    // An exact repeat of a face (the same three melded vertices in the same turning order, any
    // of them first) is dropped: real files carry such copies, and two coinciding faces would
    // each cut a segment into the layer and break its outline. A face with the opposite turning
    // order stays, as the wall between two bodies that touch.
    const int lowest = std::min({i0, i1, i2});
    const FaceKey key = lowest == i0   ? FaceKey{i0, i1, i2}
                        : lowest == i1 ? FaceKey{i1, i2, i0}
                                       : FaceKey{i2, i0, i1};
    if (!m_faceKeys.insert(key).second)
        return false;
    MeshFace face;
    face.vertex_index[0] = i0;
    face.vertex_index[1] = i1;
    face.vertex_index[2] = i2;
    m_faces.push_back(face);
    return true;
}

int32_t Mesh::faceMinZ(int face) const
{
    const MeshFace &f = m_faces[face];
    return std::min({m_vertices[f.vertex_index[0]].z, m_vertices[f.vertex_index[1]].z,
                     m_vertices[f.vertex_index[2]].z});
}

int32_t Mesh::faceMaxZ(int face) const
{
    const MeshFace &f = m_faces[face];
    return std::max({m_vertices[f.vertex_index[0]].z, m_vertices[f.vertex_index[1]].z,
                     m_vertices[f.vertex_index[2]].z});
}

void Mesh::finish(int threadCount)
{
    decltype(m_faceKeys)().swap(m_faceKeys);
    std::vector<Cell>().swap(m_table);
    std::vector<int>().swap(m_nextInCell);
    m_usedCells = 0;

    // Per-vertex face lists in face order, stored as one array with start offsets.
    const int vertexCount = int(m_vertices.size());
    m_vertexFaceStart.assign(size_t(vertexCount) + 1, 0);
    for (const MeshFace &f : m_faces)
        for (int k = 0; k < 3; ++k)
            ++m_vertexFaceStart[size_t(f.vertex_index[k]) + 1];
    for (int v = 0; v < vertexCount; ++v)
        m_vertexFaceStart[size_t(v) + 1] += m_vertexFaceStart[size_t(v)];
    m_vertexFaces.resize(m_faces.size() * 3);
    {
        std::vector<int> fill(m_vertexFaceStart.begin(), m_vertexFaceStart.end() - 1);
        for (int i = 0; i < int(m_faces.size()); ++i)
            for (int k = 0; k < 3; ++k)
                m_vertexFaces[size_t(fill[size_t(m_faces[size_t(i)].vertex_index[k])]++)] = i;
    }

    // Each face only writes its own neighbour entries, so ranges of faces run independently.
    const int faceCount = int(m_faces.size());
    auto work = [this](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            MeshFace &f = m_faces[size_t(i)];
            const int a = f.vertex_index[0], b = f.vertex_index[1], c = f.vertex_index[2];
            f.connected_face_index[0] = faceAcrossEdge(a, b, i, c);
            f.connected_face_index[1] = faceAcrossEdge(b, c, i, a);
            f.connected_face_index[2] = faceAcrossEdge(c, a, i, b);
        }
    };
    int threads = threadCount > 0 ? threadCount : std::max(1, QThread::idealThreadCount());
    if (faceCount < 20000)
        threads = 1;
    if (threads == 1) {
        work(0, faceCount);
        return;
    }
    std::vector<std::thread> pool;
    const int chunk = (faceCount + threads - 1) / threads;
    for (int t = 0; t < threads; ++t) {
        const int begin = t * chunk;
        const int end = std::min(faceCount, begin + chunk);
        if (begin < end)
            pool.emplace_back(work, begin, end);
    }
    for (std::thread &th : pool)
        th.join();
}

int Mesh::faceAcrossEdge(int idx0, int idx1, int notFace, int notFaceVertex) const
{
    // Candidates: the other faces that use both edge vertices, in face order.
    int firstCandidate = -1;
    int candidateCount = 0;
    for (const int *f = facesOfVertexBegin(idx0); f != facesOfVertexEnd(idx0); ++f) {
        if (*f == notFace)
            continue;
        const MeshFace &face = m_faces[size_t(*f)];
        if (face.vertex_index[0] == idx1 || face.vertex_index[1] == idx1 ||
            face.vertex_index[2] == idx1) {
            if (candidateCount == 0)
                firstCandidate = *f;
            ++candidateCount;
        }
    }
    if (candidateCount == 0) {
        engineLog(QStringLiteral("Couldn't find face connected to face %1.\n").arg(notFace));
        return -1;
    }
    if (candidateCount == 1)
        return firstCandidate;
    if (candidateCount % 2 == 0) {
        engineLog(QStringLiteral("Warning! Edge with uneven number of faces connecting it!(%1)\n")
                      .arg(candidateCount + 1));
    }

    // Several faces share the edge: take the one reached by the smallest turn around the edge,
    // measured from this face's own third corner.
    const Vec3d p0 = toVec(m_vertices[size_t(idx0)]);
    const Vec3d axis = toVec(m_vertices[size_t(idx1)]) - p0;
    const Vec3d n = axis * (1.0 / length(axis));
    Vec3d ma = toVec(m_vertices[size_t(notFaceVertex)]) - p0;
    ma = ma - n * dot(ma, n);
    const double maLength = length(ma);
    if (maLength < 0.001)
        engineLog(QStringLiteral("Warning! Face %1 has zero area!").arg(notFace));
    ma = ma * (1.0 / maLength);

    double smallestAngle = 1000.0;
    int best = -1;
    for (const int *f = facesOfVertexBegin(idx0); f != facesOfVertexEnd(idx0); ++f) {
        if (*f == notFace)
            continue;
        const MeshFace &face = m_faces[size_t(*f)];
        if (face.vertex_index[0] != idx1 && face.vertex_index[1] != idx1 &&
            face.vertex_index[2] != idx1)
            continue;
        int third = 0;
        while (third < 3 && (face.vertex_index[third] == idx0 || face.vertex_index[third] == idx1))
            ++third;
        if (third == 3) {
            engineLog(QStringLiteral("Couldn't find third point on face %1.\n").arg(*f));
            continue;
        }
        Vec3d v = toVec(m_vertices[size_t(face.vertex_index[third])]) - p0;
        v = v - n * dot(v, n);
        v = v * (1.0 / length(v));
        const double det = dot(n, cross(ma, v));
        double angle = std::atan2(det, dot(ma, v));
        if (angle < 0)
            angle += 2 * M_PI;
        if (angle == 0) {
            engineLog(QStringLiteral("Warning! Overlapping faces: face %1 and face %2.\n")
                          .arg(notFace)
                          .arg(*f));
        }
        if (angle < smallestAngle) {
            smallestAngle = angle;
            best = *f;
        }
    }
    return best;
}

} // namespace Lamellor
