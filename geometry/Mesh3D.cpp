#include "geometry/Mesh3D.h"

#include "geometry/MeshGroupRecord.h"
#include "geometry/SlcModel.h"

#include <algorithm>
#include <cstring>

namespace
{

// Normalised (p1 - p0) x (p2 - p0); a degenerate face gets a zero normal rather than NaNs that
// would poison later sums.
inline Vec3f faceNormal(const Point3f &p0, const Point3f &p1, const Point3f &p2)
{
    const Vec3f n = (p1 - p0).cross(p2 - p0);
    const float len = n.length();
    return len > 0.0f && std::isfinite(len) ? n * (1.0f / len) : Vec3f{0.0f, 0.0f, 0.0f};
}

inline void extendBox(Box3f &box, const Point3f &p)
{
    box.expand(p);
}

} // namespace

Mesh3D::Mesh3D(const Mesh3D &other)
    : Object3D(other), m_sharedOwner(other.m_sharedOwner), m_vertices(other.m_vertices),
      m_faces(other.m_faces), m_faceNormals(other.m_faceNormals),
      m_contourData(other.m_contourData ? std::make_shared<SlcModel>(*other.m_contourData)
                                        : nullptr),
      m_centroid(other.m_centroid), m_box(other.m_box), m_colour(other.m_colour)
{
}

Mesh3D &Mesh3D::operator=(const Mesh3D &other)
{
    if (this == &other)
        return *this;
    Object3D::operator=(other);
    m_sharedOwner = other.m_sharedOwner;
    m_vertices = other.m_vertices;
    m_faces = other.m_faces;
    m_faceNormals = other.m_faceNormals;
    m_contourData =
        other.m_contourData ? std::make_shared<SlcModel>(*other.m_contourData) : nullptr;
    m_centroid = other.m_centroid;
    m_box = other.m_box;
    m_colour = other.m_colour;
    return *this;
}

Mesh3D::~Mesh3D() = default;

std::shared_ptr<const Mesh3D> Mesh3D::sharedShape() const
{
    return nullptr;
}

Vec3f Mesh3D::shapeOffset() const
{
    return {0.0f, 0.0f, 0.0f};
}

Matrix4f Mesh3D::shapePlacement() const
{
    const Vec3f at = shapeOffset();
    return translationMatrix(at.x, at.y, at.z);
}

void Mesh3D::buildPlacedShape(Mesh3D &out) const
{
    out.m_vertices = m_vertices;
    out.m_faces = m_faces;
    out.m_faceNormals = m_faceNormals;
    out.setIndexed(isIndexed());
    out.recomputeBounds();
}

void Mesh3D::setShapeBounds(const Box3f &box)
{
    m_box = box;
    m_centroid = box.center();
    setSize(extent());
}

const Mesh3D &placedTriangles(const Mesh3D &mesh, Mesh3D &scratch)
{
    if (!mesh.sharedShape())
        return mesh;
    mesh.buildPlacedShape(scratch);
    return scratch;
}

std::size_t placedTriangleCount(const Mesh3D &mesh)
{
    if (const std::shared_ptr<const Mesh3D> shape = mesh.sharedShape())
        return shape->faces().size();
    return mesh.faces().size();
}

void Mesh3D::transform(const Matrix4f &matrix)
{
    transformGeometry(matrix);
    notifyChanged();
}

void Mesh3D::transformGeometry(const Matrix4f &matrix)
{
    if (isPureTranslation(matrix)) {
        translateGeometry(matrix);
        return;
    }
    for (Point3f &p : m_vertices)
        p = transformPoint(matrix, p);
    for (Vec3f &n : m_faceNormals)
        n = transformVector(matrix, n);
    recomputeBounds();
}

// With a unit diagonal and zero off-diagonal terms, M * (p, 1) evaluates per coordinate as
// ((c + 0 * a) + 0 * b) + t for the coordinate c and the two others a and b. When all three are
// finite and c is not zero, the zero products leave c unchanged, so the result is exactly c + t.
// When c is zero its sign after the products depends on a and b, which only shows when t is zero
// too (otherwise the sum is t either way). Non-finite coordinates make the products NaN. Those
// cases, rare in a mesh, take the full formula, so the results are the same bit for bit.
bool Mesh3D::isPureTranslation(const Matrix4f &m)
{
    return m[0] == 1.0f && m[5] == 1.0f && m[10] == 1.0f && m[1] == 0.0f && m[2] == 0.0f &&
           m[4] == 0.0f && m[6] == 0.0f && m[8] == 0.0f && m[9] == 0.0f;
}

namespace
{

// Largest over a block of (|c| bits - d) per coordinate, d being 1 on the axes whose translation
// is zero. A value of limit - d or more marks a coordinate the shortcut cannot take: a NaN or an
// infinity (|c| bits from 0x7F800000 on), or a zero where the translation is zero too (0 - 1
// wraps to the largest value). Integer operations only, so the scan stays cheap.
struct ShortcutScan {
    std::uint32_t d[3];

    bool blocks(const Vec3f *begin, const Vec3f *end) const
    {
        std::uint32_t high[3] = {0, 0, 0};
        for (const Vec3f *v = begin; v != end; ++v) {
            std::uint32_t bits[3];
            std::memcpy(bits, v, sizeof bits);
            for (int k = 0; k < 3; ++k)
                high[k] = std::max(high[k], (bits[k] & 0x7FFFFFFFu) - d[k]);
        }
        for (int k = 0; k < 3; ++k)
            if (high[k] >= 0x7F800000u - d[k])
                return true;
        return false;
    }
};

} // namespace

void Mesh3D::translateGeometry(const Matrix4f &matrix)
{
    const float tx = matrix[12], ty = matrix[13], tz = matrix[14];
    const ShortcutScan points{{tx == 0.0f ? 1u : 0u, ty == 0.0f ? 1u : 0u, tz == 0.0f ? 1u : 0u}};
    // A vector ignores the translation: by the same reasoning a finite normal without zero
    // components stays exactly as it is.
    const ShortcutScan vectors{{1u, 1u, 1u}};
    // Blocks small enough to stay in cache: a scan tells whether the block holds a case for the
    // full formula, then the block is translated in one plain loop.
    // The box grows vertex by vertex in the same order as recomputeBounds() visits them.
    constexpr std::size_t kBlock = 512;
    Box3f box;
    for (std::size_t first = 0; first < m_vertices.size(); first += kBlock) {
        Point3f *const begin = m_vertices.data() + first;
        Point3f *const end = begin + std::min(kBlock, m_vertices.size() - first);
        if (points.blocks(begin, end)) {
            for (Point3f *p = begin; p != end; ++p) {
                *p = transformPoint(matrix, *p);
                extendBox(box, *p);
            }
            continue;
        }
        for (Point3f *p = begin; p != end; ++p) {
            p->x += tx;
            p->y += ty;
            p->z += tz;
            extendBox(box, *p);
        }
    }
    m_box = box;
    for (std::size_t first = 0; first < m_faceNormals.size(); first += kBlock) {
        Vec3f *const begin = m_faceNormals.data() + first;
        Vec3f *const end = begin + std::min(kBlock, m_faceNormals.size() - first);
        if (vectors.blocks(begin, end))
            for (Vec3f *n = begin; n != end; ++n)
                *n = transformVector(matrix, *n);
    }
}

std::shared_ptr<Mesh3D> Mesh3D::clone() const
{
    return std::make_shared<Mesh3D>(*this);
}

void Mesh3D::notifyChanged() const
{
    if (m_changed)
        m_changed();
}

void Mesh3D::recomputeBounds()
{
    Box3f box;
    for (const Point3f &p : m_vertices)
        extendBox(box, p);
    m_box = box;
}

void Mesh3D::recomputeBoundsAndCentroid()
{
    if (m_vertices.empty()) {
        recomputeBounds();
        computeCentroid();
        return;
    }
    Box3f box;
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (const Point3f &p : m_vertices) {
        extendBox(box, p);
        sx += p.x;
        sy += p.y;
        sz += p.z;
    }
    m_box = box;
    const double n = double(m_vertices.size());
    m_centroid = {float(sx / n), float(sy / n), float(sz / n)};
}

void Mesh3D::computeDerivedData()
{
    const std::size_t faceCount = m_faces.size();
    if (m_vertices.empty() || m_vertices.size() / 3 != faceCount || m_vertices.size() % 3 != 0) {
        recomputeBoundsAndCentroid();
        computeFaceNormals();
        return;
    }
    // A soup: the vertices are visited in their own order, as the separate passes do, so the
    // box, the sums and the normals come out the same.
    m_faceNormals.resize(faceCount);
    Box3f box;
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (std::size_t i = 0; i < faceCount; ++i) {
        const Face &f = m_faces[i];
        const auto base = std::uint32_t(i * 3);
        if (f.v[0] != base || f.v[1] != base + 1 || f.v[2] != base + 2) {
            recomputeBoundsAndCentroid();
            computeFaceNormals();
            return;
        }
        const Point3f *p = &m_vertices[base];
        for (int k = 0; k < 3; ++k) {
            extendBox(box, p[k]);
            sx += p[k].x;
            sy += p[k].y;
            sz += p[k].z;
        }
        m_faceNormals[i] = faceNormal(p[0], p[1], p[2]);
    }
    m_box = box;
    const double n = double(m_vertices.size());
    m_centroid = {float(sx / n), float(sy / n), float(sz / n)};
}

std::vector<Point3f> Mesh3D::boxOutline() const
{
    std::vector<Point3f> outline;
    if (m_box.isEmpty())
        return outline;
    const Vec3f &a = m_box.min;
    const Vec3f &b = m_box.max;
    const Point3f c[8] = {{a.x, a.y, a.z}, {b.x, a.y, a.z}, {b.x, b.y, a.z}, {a.x, b.y, a.z},
                          {a.x, a.y, b.z}, {b.x, a.y, b.z}, {b.x, b.y, b.z}, {a.x, b.y, b.z}};
    static const int edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                     {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    outline.reserve(24);
    for (const auto &e : edges) {
        outline.push_back(c[e[0]]);
        outline.push_back(c[e[1]]);
    }
    return outline;
}

void Mesh3D::computeFaceNormals()
{
    m_faceNormals.resize(m_faces.size());
    const std::size_t vertexCount = m_vertices.size();
    for (std::size_t i = 0; i < m_faces.size(); ++i) {
        const Face &f = m_faces[i];
        if (f.v[0] >= vertexCount || f.v[1] >= vertexCount || f.v[2] >= vertexCount) {
            m_faceNormals[i] = {0.0f, 0.0f, 0.0f};
            continue;
        }
        m_faceNormals[i] = faceNormal(m_vertices[f.v[0]], m_vertices[f.v[1]], m_vertices[f.v[2]]);
    }
}

void Mesh3D::computeCentroid()
{
    if (m_vertices.empty()) {
        m_centroid = {0.0f, 0.0f, 0.0f};
        return;
    }
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (const Point3f &p : m_vertices) {
        sx += p.x;
        sy += p.y;
        sz += p.z;
    }
    const double n = double(m_vertices.size());
    m_centroid = {float(sx / n), float(sy / n), float(sz / n)};
}

double Mesh3D::volume() const
{
    double sum = 0.0;
    const std::size_t vertexCount = m_vertices.size();
    for (const Face &f : m_faces) {
        if (f.v[0] >= vertexCount || f.v[1] >= vertexCount || f.v[2] >= vertexCount)
            continue;
        const Point3f &a = m_vertices[f.v[0]];
        const Point3f &b = m_vertices[f.v[1]];
        const Point3f &c = m_vertices[f.v[2]];
        const double cx = double(b.y) * c.z - double(b.z) * c.y;
        const double cy = double(b.z) * c.x - double(b.x) * c.z;
        const double cz = double(b.x) * c.y - double(b.y) * c.x;
        sum += a.x * cx + a.y * cy + a.z * cz;
    }
    return sum / 6.0;
}

Vec3f Mesh3D::extent() const
{
    if (m_box.isEmpty())
        return {0.0f, 0.0f, 0.0f};
    return m_box.extent();
}

bool Mesh3D::hasValidFaces() const
{
    const std::size_t n = m_vertices.size();
    for (const Face &f : m_faces)
        if (f.v[0] >= n || f.v[1] >= n || f.v[2] >= n)
            return false;
    return true;
}
