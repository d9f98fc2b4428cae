#include "slicing/DlpSlicer.h"

#include "slicing/EngineLog.h"
#include "slicing/Mesh.h"

namespace Lamellor
{

namespace
{

ClipperLib::IntPoint pointOnEdge(const Point3 &a, const Point3 &b, int32_t z)
{
    const int64_t num = int64_t(z) - a.z;
    const int64_t den = int64_t(b.z) - a.z;
    return ClipperLib::IntPoint(a.x + (int64_t(b.x) - a.x) * num / den,
                                a.y + (int64_t(b.y) - a.y) * num / den);
}

bool nearEnough(const ClipperLib::IntPoint &a, const ClipperLib::IntPoint &b)
{
    const int64_t dx = a.X - b.X;
    const int64_t dy = a.Y - b.Y;
    return dx >= -10 && dx <= 10 && dy >= -10 && dy <= 10 && dx * dx + dy * dy <= 100;
}

} // namespace

bool faceSegmentAt(const Mesh &mesh, int face, int32_t z, SlicerSegment &segment)
{
    const MeshFace &f = mesh.faces()[size_t(face)];
    const Point3 &p0 = mesh.vertices()[size_t(f.vertex_index[0])];
    const Point3 &p1 = mesh.vertices()[size_t(f.vertex_index[1])];
    const Point3 &p2 = mesh.vertices()[size_t(f.vertex_index[2])];
    const bool b0 = p0.z < z;
    const bool b1 = p1.z < z;
    const bool b2 = p2.z < z;
    if (b0 && !b1 && !b2) {
        segment.start = pointOnEdge(p0, p2, z);
        segment.end = pointOnEdge(p0, p1, z);
    } else if (!b0 && b1 && b2) {
        segment.start = pointOnEdge(p0, p1, z);
        segment.end = pointOnEdge(p0, p2, z);
    } else if (b1 && !b0 && !b2) {
        segment.start = pointOnEdge(p1, p0, z);
        segment.end = pointOnEdge(p1, p2, z);
    } else if (!b1 && b0 && b2) {
        segment.start = pointOnEdge(p1, p2, z);
        segment.end = pointOnEdge(p1, p0, z);
    } else if (b2 && !b1 && !b0) {
        segment.start = pointOnEdge(p2, p1, z);
        segment.end = pointOnEdge(p2, p0, z);
    } else if (!b2 && b1 && b0) {
        segment.start = pointOnEdge(p2, p0, z);
        segment.end = pointOnEdge(p2, p1, z);
    } else {
        return false;
    }
    segment.faceIndex = face;
    segment.addedToPolygon = false;
    return true;
}

DlpSlicer::DlpSlicer(QObject *parent) : QObject(parent) {}

DlpSlicer::DlpSlicer(int32_t z, int layerIndex, QObject *parent)
    : QObject(parent), m_z(z), m_layerIndex(layerIndex)
{
}

void DlpSlicer::reset(int32_t z, int layerIndex)
{
    for (const SlicerSegment &s : m_segments)
        m_faceToSegment[size_t(s.faceIndex)] = -1;
    m_segments.clear();
    m_parts.clear();
    m_polygons.clear();
    m_openPolylines.clear();
    m_faces.clear();
    m_z = z;
    m_layerIndex = layerIndex;
}

void DlpSlicer::setMesh(const Mesh *mesh)
{
    if (mesh != m_mesh) {
        reset(m_z, m_layerIndex);
        m_mesh = mesh;
        m_faceToSegment.assign(mesh ? mesh->faces().size() : 0, -1);
    }
}

void DlpSlicer::collectFacesInLayer()
{
    m_faces.clear();
    if (!m_mesh || m_mesh->isEmpty() || m_z < m_mesh->min().z || m_z > m_mesh->max().z)
        return;
    const int faceCount = int(m_mesh->faces().size());
    for (int i = 0; i < faceCount; ++i) {
        if (cancelled()) {
            engineLog(QStringLiteral("process getTriangleInZ has been cancled "));
            return;
        }
        if (m_mesh->faceMinZ(i) <= m_z && m_z <= m_mesh->faceMaxZ(i))
            m_faces.push_back(i);
    }
}

void DlpSlicer::setFacesInLayer(const int *faces, size_t count)
{
    m_faces.assign(faces, faces + count);
}

void DlpSlicer::makeSegments()
{
    if (!m_mesh)
        return;
    for (const SlicerSegment &s : m_segments)
        m_faceToSegment[size_t(s.faceIndex)] = -1;
    m_segments.clear();
    SlicerSegment segment;
    for (int face : m_faces) {
        if (cancelled()) {
            engineLog(QStringLiteral("process scene to segment has been cancled "));
            return;
        }
        if (!faceSegmentAt(*m_mesh, face, m_z, segment))
            continue;
        m_faceToSegment[size_t(face)] = int(m_segments.size());
        m_segments.push_back(segment);
    }
}

int DlpSlicer::segmentOfFace(int face) const
{
    return face < 0 ? -1 : m_faceToSegment[size_t(face)];
}

void DlpSlicer::makeBasicLoops()
{
    const std::vector<MeshFace> &faces = m_mesh->faces();
    for (size_t startSegment = 0; startSegment < m_segments.size(); ++startSegment) {
        if (m_segments[startSegment].addedToPolygon)
            continue;
        ClipperLib::Path poly;
        size_t segmentIndex = startSegment;
        bool closed = false;
        while (true) {
            SlicerSegment &segment = m_segments[segmentIndex];
            segment.addedToPolygon = true;
            poly.push_back(segment.start);
            const ClipperLib::IntPoint end = segment.end;
            const MeshFace &face = faces[size_t(segment.faceIndex)];
            closed = false;
            int next = -1;
            for (int e = 0; e < 3; ++e) {
                const int candidate = segmentOfFace(face.connected_face_index[e]);
                if (candidate < 0 || !nearEnough(end, m_segments[size_t(candidate)].start))
                    continue;
                if (size_t(candidate) == startSegment)
                    closed = true;
                if (m_segments[size_t(candidate)].addedToPolygon)
                    continue;
                next = candidate;
            }
            if (next < 0)
                break;
            segmentIndex = size_t(next);
        }
        if (closed)
            m_polygons.push_back(std::move(poly));
        else
            m_openPolylines.push_back(std::move(poly));
    }
}

void DlpSlicer::makePolygons()
{
    m_parts.clear();
    m_polygons.clear();
    m_openPolylines.clear();
    if (!m_mesh)
        return;
    if (cancelled()) {
        engineLog(QStringLiteral("process scene to polygons has been cancled "));
        return;
    }
    makeBasicLoops();
    connectOpenPolylines(m_polygons, m_openPolylines);
    stitchOpenPolylines(m_polygons, m_openPolylines, m_cancel);
    removeTinyPolygons(m_polygons);
    simplifyPolygons(m_polygons);
    unionIntoParts(m_polygons, m_parts);
}

} // namespace Lamellor
