#include "ReferenceSlicer.h"

#include "geometry/Mesh3D.h"
#include "geometry/SlcModel.h"

#include <QDataStream>
#include <QIODevice>

#include <cmath>
#include <map>

using Lamellor::MeshFace;
using Lamellor::Point3;

namespace reference
{

namespace
{

struct Segment {
    ClipperLib::IntPoint start, end;
    int face;
    bool used;
};

struct V {
    double x, y, z;
};
V sub(V a, V b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V mul(V a, double s)
{
    return {a.x * s, a.y * s, a.z * s};
}
double dot(V a, V b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V crossV(V a, V b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V toV(const Point3 &p)
{
    return {double(p.x), double(p.y), double(p.z)};
}

ClipperLib::IntPoint edgePoint(const Point3 &a, const Point3 &b, int32_t z)
{
    const long long num = (long long)z - a.z, den = (long long)b.z - a.z;
    return ClipperLib::IntPoint(a.x + ((long long)b.x - a.x) * num / den,
                                a.y + ((long long)b.y - a.y) * num / den);
}

} // namespace

int ReferenceMesh::findOrAdd(const Point3 &p)
{
    const uint32_t key = Lamellor::meldCellKey(p);
    std::vector<uint32_t> &list = m_lookup[key];
    for (uint32_t v : list) {
        const long long dx = vertices[v].x - p.x, dy = vertices[v].y - p.y,
                        dz = vertices[v].z - p.z;
        if (std::llabs(dx) <= 30 && std::llabs(dy) <= 30 && std::llabs(dz) <= 30 &&
            dx * dx + dy * dy + dz * dz <= 900)
            return int(v);
    }
    if (vertices.empty()) {
        min = max = p;
    } else {
        min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
        max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
    }
    list.push_back(uint32_t(vertices.size()));
    vertices.push_back(p);
    vertexFaces.emplace_back();
    return int(vertices.size() - 1);
}

void ReferenceMesh::addFace(const Point3 &a, const Point3 &b, const Point3 &c)
{
    const int i0 = findOrAdd(a), i1 = findOrAdd(b), i2 = findOrAdd(c);
    if (i0 == i1 || i1 == i2 || i0 == i2)
        return;
    MeshFace f;
    f.vertex_index[0] = i0;
    f.vertex_index[1] = i1;
    f.vertex_index[2] = i2;
    const int index = int(faces.size());
    faces.push_back(f);
    vertexFaces[size_t(i0)].push_back(index);
    vertexFaces[size_t(i1)].push_back(index);
    vertexFaces[size_t(i2)].push_back(index);
}

int ReferenceMesh::across(int idx0, int idx1, int notFace, int notFaceVertex) const
{
    std::vector<int> candidates;
    for (int f : vertexFaces[size_t(idx0)]) {
        if (f == notFace)
            continue;
        const MeshFace &face = faces[size_t(f)];
        if (face.vertex_index[0] == idx1 || face.vertex_index[1] == idx1 ||
            face.vertex_index[2] == idx1)
            candidates.push_back(f);
    }
    if (candidates.empty())
        return -1;
    if (candidates.size() == 1)
        return candidates[0];
    const V p0 = toV(vertices[size_t(idx0)]);
    V axis = sub(toV(vertices[size_t(idx1)]), p0);
    const V n = mul(axis, 1.0 / std::sqrt(dot(axis, axis)));
    V ma = sub(toV(vertices[size_t(notFaceVertex)]), p0);
    ma = sub(ma, mul(n, dot(ma, n)));
    ma = mul(ma, 1.0 / std::sqrt(dot(ma, ma)));
    double smallest = 1000.0;
    int best = -1;
    for (int f : candidates) {
        const MeshFace &face = faces[size_t(f)];
        int third = 0;
        while (third < 3 && (face.vertex_index[third] == idx0 || face.vertex_index[third] == idx1))
            ++third;
        if (third == 3)
            continue;
        V v = sub(toV(vertices[size_t(face.vertex_index[third])]), p0);
        v = sub(v, mul(n, dot(v, n)));
        v = mul(v, 1.0 / std::sqrt(dot(v, v)));
        double angle = std::atan2(dot(n, crossV(ma, v)), dot(ma, v));
        if (angle < 0)
            angle += 2 * M_PI;
        if (angle < smallest) {
            smallest = angle;
            best = f;
        }
    }
    return best;
}

void ReferenceMesh::finish()
{
    m_lookup.clear();
    for (size_t i = 0; i < faces.size(); ++i) {
        MeshFace &f = faces[i];
        const int a = f.vertex_index[0], b = f.vertex_index[1], c = f.vertex_index[2];
        f.connected_face_index[0] = across(a, b, int(i), c);
        f.connected_face_index[1] = across(b, c, int(i), a);
        f.connected_face_index[2] = across(c, a, int(i), b);
    }
}

std::vector<Lamellor::SlicePart> sliceLayer(const ReferenceMesh &mesh, int32_t z)
{
    std::vector<Lamellor::SlicePart> parts;
    if (mesh.vertices.empty() || z < mesh.min.z || z > mesh.max.z)
        return parts;
    std::vector<int> layerFaces;
    for (size_t i = 0; i < mesh.faces.size(); ++i) {
        const MeshFace &f = mesh.faces[i];
        const int32_t z0 = mesh.vertices[size_t(f.vertex_index[0])].z;
        const int32_t z1 = mesh.vertices[size_t(f.vertex_index[1])].z;
        const int32_t z2 = mesh.vertices[size_t(f.vertex_index[2])].z;
        if (std::min({z0, z1, z2}) <= z && z <= std::max({z0, z1, z2}))
            layerFaces.push_back(int(i));
    }

    std::vector<Segment> segments;
    std::map<int, int> faceToSegment;
    for (int fi : layerFaces) {
        const MeshFace &f = mesh.faces[size_t(fi)];
        const Point3 &p0 = mesh.vertices[size_t(f.vertex_index[0])];
        const Point3 &p1 = mesh.vertices[size_t(f.vertex_index[1])];
        const Point3 &p2 = mesh.vertices[size_t(f.vertex_index[2])];
        Segment s{{}, {}, fi, false};
        if (p0.z < z && p1.z >= z && p2.z >= z) {
            s.start = edgePoint(p0, p2, z);
            s.end = edgePoint(p0, p1, z);
        } else if (p0.z >= z && p1.z < z && p2.z < z) {
            s.start = edgePoint(p0, p1, z);
            s.end = edgePoint(p0, p2, z);
        } else if (p1.z < z && p0.z >= z && p2.z >= z) {
            s.start = edgePoint(p1, p0, z);
            s.end = edgePoint(p1, p2, z);
        } else if (p1.z >= z && p0.z < z && p2.z < z) {
            s.start = edgePoint(p1, p2, z);
            s.end = edgePoint(p1, p0, z);
        } else if (p2.z < z && p1.z >= z && p0.z >= z) {
            s.start = edgePoint(p2, p1, z);
            s.end = edgePoint(p2, p0, z);
        } else if (p2.z >= z && p1.z < z && p0.z < z) {
            s.start = edgePoint(p2, p0, z);
            s.end = edgePoint(p2, p1, z);
        } else {
            continue;
        }
        faceToSegment[fi] = int(segments.size());
        segments.push_back(s);
    }

    ClipperLib::Paths closed, open;
    for (size_t startSegment = 0; startSegment < segments.size(); ++startSegment) {
        if (segments[startSegment].used)
            continue;
        ClipperLib::Path poly;
        size_t current = startSegment;
        bool canClose = false;
        for (;;) {
            segments[current].used = true;
            poly.push_back(segments[current].start);
            const ClipperLib::IntPoint end = segments[current].end;
            const MeshFace &face = mesh.faces[size_t(segments[current].face)];
            canClose = false;
            int next = -1;
            for (int e = 0; e < 3; ++e) {
                auto it = faceToSegment.find(face.connected_face_index[e]);
                if (face.connected_face_index[e] < 0 || it == faceToSegment.end())
                    continue;
                const ClipperLib::IntPoint s = segments[size_t(it->second)].start;
                const long long dx = end.X - s.X, dy = end.Y - s.Y;
                if (!(std::llabs(dx) <= 10 && std::llabs(dy) <= 10 && dx * dx + dy * dy <= 100))
                    continue;
                if (size_t(it->second) == startSegment)
                    canClose = true;
                if (segments[size_t(it->second)].used)
                    continue;
                next = it->second;
            }
            if (next < 0)
                break;
            current = size_t(next);
        }
        (canClose ? closed : open).push_back(poly);
    }
    Lamellor::connectOpenPolylines(closed, open);
    Lamellor::stitchOpenPolylines(closed, open, nullptr);
    Lamellor::removeTinyPolygons(closed);
    Lamellor::simplifyPolygons(closed);
    Lamellor::unionIntoParts(closed, parts);
    return parts;
}

QByteArray referencePackage(const std::vector<std::shared_ptr<Mesh3D>> &meshes,
                            double layerThicknessMm, const QByteArray &front, const QByteArray &top,
                            const QByteArray &left)
{
    ReferenceMesh mesh;
    std::vector<const Mesh3D *> slcs;
    bool anyTriangles = false;
    for (const auto &m : meshes) {
        if (m->sourceKind() == 1) {
            if (m->contourData())
                slcs.push_back(m.get());
            continue;
        }
        if (m->sourceKind() != 0)
            continue;
        anyTriangles = true;
        for (const Face &f : m->faces()) {
            const Point3f &a = m->vertices()[f.v[0]], &b = m->vertices()[f.v[1]],
                          &c = m->vertices()[f.v[2]];
            mesh.addFace(Lamellor::Mesh::fromMillimetres(a.x, a.y, a.z),
                         Lamellor::Mesh::fromMillimetres(b.x, b.y, b.z),
                         Lamellor::Mesh::fromMillimetres(c.x, c.y, c.z));
        }
    }
    mesh.finish();

    const int lx = int(layerThicknessMm * 1000.0);
    const int z0 = lx - lx / 2;
    int layers = 0;
    if (anyTriangles && !mesh.vertices.empty())
        layers = std::max(0, (mesh.max.z - z0) / lx + 1);
    for (const Mesh3D *s : slcs) {
        const SlcModel &c = *s->contourData();
        layers =
            std::max(layers, int((double(c.maxZ) - double(c.minZ)) / double(c.layerThickness)));
    }

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    out << qint32(54) << qint32(22);
    out.writeRawData("Orvane Dlp Work Pacage", 22);
    out << qint32(1) << float(z0 / 1000.0) << float((z0 + (layers - 1) * lx) / 1000.0)
        << float(lx / 1000.0) << qint32(layers) << float(0);
    out.writeRawData(QByteArray(256, '\0').constData(), 256);
    for (const QByteArray *p : {&front, &top, &left}) {
        QByteArray slot = p->left(196608);
        slot.append(QByteArray(196608 - slot.size(), '\0'));
        out.writeRawData(slot.constData(), slot.size());
    }
    double total = 0.0;
    for (int i = 0; i < layers; ++i) {
        const int32_t z = z0 + i * lx;
        ClipperLib::Paths paths;
        for (const Lamellor::SlicePart &part : sliceLayer(mesh, z))
            paths.insert(paths.end(), part.begin(), part.end());
        for (const Mesh3D *s : slcs) {
            const SlcModel &c = *s->contourData();
            if (size_t(i) >= c.layers.size())
                continue;
            for (const auto &contour : c.layers[size_t(i)]) {
                ClipperLib::Path path;
                for (uint32_t index : contour)
                    path.emplace_back(
                        Lamellor::Mesh::fromMillimetres(s->vertices()[index].x, 0, 0).x,
                        Lamellor::Mesh::fromMillimetres(s->vertices()[index].y, 0, 0).x);
                paths.push_back(path);
            }
        }
        out << float(z / 1000.0) << qint32(paths.size());
        double area = 0.0;
        for (const ClipperLib::Path &path : paths) {
            out << qint32(path.size());
            for (const ClipperLib::IntPoint &p : path)
                out << float(double(p.X) / 1000.0) << float(double(p.Y) / 1000.0);
            area += ClipperLib::Area(path);
        }
        total += area / 1000000.0;
    }
    const float volume = float(lx / 1000.0 * total / 1000.0);
    QByteArray v(4, '\0');
    memcpy(v.data(), &volume, 4);
    bytes.replace(50, 4, v);
    return bytes;
}

} // namespace reference
