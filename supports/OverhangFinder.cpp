#include "supports/OverhangFinder.h"

#include "supports/SupportMath.h"

#include "geometry/Mesh3D.h"
#include "geometry/Model.h"

#include <algorithm>
#include <cmath>

namespace
{
const QString kStage = QStringLiteral("SupportCalucate");
// Cells a little larger than the gap so that rounding never hides a point closer than the gap.
constexpr float kCellGrowth = 1.001f;
// Grid samples of one face beyond this count mean a gap far too small for the face.
constexpr std::int64_t kMaxSamplesPerFace = 4'000'000;
// The face pass offers one candidate per grid point under the downward faces, and each accepted
// one routes a support against the whole mesh: a tiny gap on a large model would run for hours
// and grow without bound. More candidates than this are refused before any work is done.
constexpr std::int64_t kMaxFaceCandidates = 100'000;
} // namespace

std::size_t OverhangFinder::CellHash::operator()(const CellKey &k) const
{
    std::uint64_t h = static_cast<std::uint64_t>(k.x) * 0x9E3779B97F4A7C15ull;
    h ^= static_cast<std::uint64_t>(k.y) * 0xC2B2AE3D27D4EB4Full + (h << 6) + (h >> 2);
    h ^= static_cast<std::uint64_t>(k.z) * 0x165667B19E3779F9ull + (h << 6) + (h >> 2);
    return static_cast<std::size_t>(h);
}

OverhangFinder::OverhangFinder(const Mesh3D &mesh, QueryMode mode) : m_mesh(mesh), m_mode(mode) {}

bool OverhangFinder::checkParameters(const SupportParameters &p, QString *reason)
{
    auto fail = [reason](const QString &text) {
        if (reason)
            *reason = text;
        return false;
    };
    if (!(p.supportGaps > 0.0f) || !std::isfinite(p.supportGaps))
        return fail(QStringLiteral("The support gap must be greater than 0 mm (it is %1).")
                        .arg(static_cast<double>(p.supportGaps)));
    if (!(p.supportRadius > 0.0f) || !std::isfinite(p.supportRadius))
        return fail(QStringLiteral("The support diameter must be greater than 0 mm (it is %1).")
                        .arg(static_cast<double>(p.supportRadius) * 2.0));
    if (!(p.overhangRadius >= 0.0f) || !(p.linkPointRadius >= 0.0f))
        return fail(QStringLiteral("The overhang and link point diameters must not be negative."));
    return true;
}

bool OverhangFinder::checkWork(const Mesh3D &mesh, const SupportParameters &p, float zOffset,
                               QString *reason)
{
    if (!(p.supportGaps > 0.0f) || !std::isfinite(p.supportGaps))
        return true; // refused by checkParameters() with its own reason
    const double g = p.supportGaps;
    const auto &vertices = mesh.vertices();
    std::int64_t candidates = 0;
    for (const Face &face : mesh.faces()) {
        if (candidates > kMaxFaceCandidates)
            break;
        if (face[0] >= vertices.size() || face[1] >= vertices.size() || face[2] >= vertices.size())
            continue;
        const Vec3f &a = vertices[face[0]];
        const Vec3f &b = vertices[face[1]];
        const Vec3f &c = vertices[face[2]];
        if (!SupportMath::isDownward((b - a).cross(c - a)))
            continue;
        if (std::min({a.z, b.z, c.z}) + zOffset <= 0.0f)
            continue;
        const double nx = std::floor(std::max({a.x, b.x, c.x}) / g) -
                          std::ceil(std::min({a.x, b.x, c.x}) / g) + 1.0;
        const double ny = std::floor(std::max({a.y, b.y, c.y}) / g) -
                          std::ceil(std::min({a.y, b.y, c.y}) / g) + 1.0;
        if (nx > 0.0 && ny > 0.0 && nx * ny <= static_cast<double>(kMaxSamplesPerFace))
            candidates += static_cast<std::int64_t>(nx * ny);
    }
    if (candidates <= kMaxFaceCandidates)
        return true;
    if (reason) {
        // The count falls with the square of the gap.
        const double suggested = g * std::sqrt(double(candidates) / double(kMaxFaceCandidates));
        *reason = QStringLiteral("The support gap of %1 mm would place more than %2 candidate "
                                 "support points on this model (the limit is %2); use a gap of "
                                 "at least %3 mm.")
                      .arg(g)
                      .arg(kMaxFaceCandidates)
                      .arg(std::ceil(suggested * 100.0) / 100.0);
    }
    return false;
}

OverhangFinder::CellKey OverhangFinder::cellOf(const Point3f &p) const
{
    return {static_cast<std::int64_t>(std::floor(p.x / m_cellSize)),
            static_cast<std::int64_t>(std::floor(p.y / m_cellSize)),
            static_cast<std::int64_t>(std::floor(p.z / m_cellSize))};
}

bool OverhangFinder::tooCloseToAccepted(const Point3f &p) const
{
    const float g = m_params.supportGaps;
    if (m_mode == QueryMode::Reference) {
        for (const auto &o : m_result)
            if ((o->position() - p).length() < g)
                return true;
        return false;
    }
    const CellKey c = cellOf(p);
    for (std::int64_t dx = -1; dx <= 1; ++dx)
        for (std::int64_t dy = -1; dy <= 1; ++dy)
            for (std::int64_t dz = -1; dz <= 1; ++dz) {
                const auto it = m_cells.find({c.x + dx, c.y + dy, c.z + dz});
                if (it == m_cells.end())
                    continue;
                for (std::uint32_t i : it->second)
                    if ((m_result[i]->position() - p).length() < g)
                        return true;
            }
    return false;
}

void OverhangFinder::remember(const Point3f &p)
{
    if (m_mode == QueryMode::Indexed)
        m_cells[cellOf(p)].push_back(static_cast<std::uint32_t>(m_result.size() - 1));
}

bool OverhangFinder::offerCandidate(const Point3f &p, const Vec3f &normal)
{
    if (p.z <= 0.0f)
        return false;
    if (tooCloseToAccepted(p))
        return false;
    auto overhang = std::make_shared<Overhang>(p, normal.normalized(), m_params.overhangRadius,
                                               m_params.linkPointRadius);
    if (!computeSupportPath(overhang, *m_view, m_params))
        return false;
    m_result.push_back(std::move(overhang));
    remember(p);
    return true;
}

bool OverhangFinder::find(SupportParameters params)
{
    m_params = std::move(params);
    m_result.clear();
    m_cells.clear();
    m_error.clear();
    if (!checkParameters(m_params, &m_error))
        return false;
    if (!m_mesh.hasValidFaces()) {
        m_error = QStringLiteral("The model's mesh is damaged: a face uses a missing vertex.");
        return false;
    }
    m_cellSize = m_params.supportGaps * kCellGrowth;

    const auto &vertices = m_mesh.vertices();
    const auto &faces = m_mesh.faces();
    std::vector<Vec3f> computedNormals;
    const std::vector<Vec3f> *normals = &m_mesh.faceNormals();
    if (normals->size() != faces.size()) {
        // A mesh whose normals were never computed: derive them here.
        computedNormals.resize(faces.size());
        for (std::size_t f = 0; f < faces.size(); ++f) {
            const Vec3f &a = vertices[faces[f][0]];
            computedNormals[f] =
                (vertices[faces[f][1]] - a).cross(vertices[faces[f][2]] - a).normalized();
        }
        normals = &computedNormals;
    }
    std::unique_ptr<MeshQuery> ownQuery;
    if (!m_sharedQuery)
        ownQuery = std::make_unique<MeshQuery>(vertices, faces, m_mode);
    const MeshQuery &query = m_sharedQuery ? *m_sharedQuery : *ownQuery;
    const SupportModelView view{query, *normals};

    // Bound the work before doing any.
    if (!checkWork(m_mesh, m_params, 0.0f, &m_error))
        return false;
    m_view = &view;

    // Vertex pass: local minima whose summed normal points down.
    const std::size_t vertexCount = vertices.size();
    std::vector<std::uint32_t> offsets(vertexCount + 1, 0);
    for (const Face &f : faces)
        for (int k = 0; k < 3; ++k)
            ++offsets[f[k] + 1];
    for (std::size_t v = 0; v < vertexCount; ++v)
        offsets[v + 1] += offsets[v];
    std::vector<std::uint32_t> vertexFaces(offsets[vertexCount]);
    {
        std::vector<std::uint32_t> fill(offsets.begin(), offsets.end() - 1);
        for (std::uint32_t f = 0; f < faces.size(); ++f)
            for (int k = 0; k < 3; ++k)
                vertexFaces[fill[faces[f][k]]++] = f;
    }
    setRange(20);
    for (std::size_t v = 0; v < vertexCount; ++v) {
        if ((v & 1023) == 0) {
            reportInRange(static_cast<std::int64_t>(v), static_cast<std::int64_t>(vertexCount),
                          kStage);
            if (isCancelled()) {
                m_view = nullptr;
                m_error = QStringLiteral("Canceled");
                return false;
            }
        }
        if (offsets[v] == offsets[v + 1])
            continue;
        Vec3f sum{0.0f, 0.0f, 0.0f};
        bool minimum = true;
        const float z = vertices[v].z;
        for (std::uint32_t i = offsets[v]; i < offsets[v + 1]; ++i) {
            const std::uint32_t f = vertexFaces[i];
            sum += (*normals)[f];
            for (int k = 0; k < 3; ++k)
                if (vertices[faces[f][k]].z < z)
                    minimum = false;
        }
        if (minimum && SupportMath::isDownward(sum))
            offerCandidate(vertices[v], sum);
    }

    // Face pass: sample every downward face on the supportGaps grid.
    const float g = m_params.supportGaps;
    setRange(100);
    for (std::size_t fi = 0; fi < faces.size(); ++fi) {
        if ((fi & 1023) == 0) {
            reportInRange(static_cast<std::int64_t>(fi), static_cast<std::int64_t>(faces.size()),
                          kStage);
            if (isCancelled()) {
                m_view = nullptr;
                m_error = QStringLiteral("Canceled");
                return false;
            }
        }
        const Vec3f &n = (*normals)[fi];
        if (!SupportMath::isDownward(n))
            continue;
        const Box3f &box = query.faceBox(static_cast<std::uint32_t>(fi));
        if (box.min.z <= 0.0f)
            continue;
        const double ix0 = std::ceil(box.min.x / g), ix1 = std::floor(box.max.x / g);
        const double iy0 = std::ceil(box.min.y / g), iy1 = std::floor(box.max.y / g);
        if (ix1 < ix0 || iy1 < iy0)
            continue;
        if ((ix1 - ix0 + 1.0) * (iy1 - iy0 + 1.0) > static_cast<double>(kMaxSamplesPerFace))
            continue;
        const Face &face = faces[fi];
        const Vec3f &a = vertices[face[0]];
        const Vec3f &b = vertices[face[1]];
        const Vec3f &c = vertices[face[2]];
        for (auto ix = static_cast<std::int64_t>(ix0); ix <= static_cast<std::int64_t>(ix1); ++ix)
            for (auto iy = static_cast<std::int64_t>(iy0); iy <= static_cast<std::int64_t>(iy1);
                 ++iy) {
                const float x = static_cast<float>(ix) * g;
                const float y = static_cast<float>(iy) * g;
                float s, t;
                if (!SupportMath::insideXY(x, y, a, b, c, &s, &t))
                    continue;
                const float z = a.z + t * (b.z - a.z) + s * (c.z - a.z);
                offerCandidate({x, y, z}, n);
            }
    }
    reportInRange(1, 1, kStage);
    m_view = nullptr;
    return true;
}

std::shared_ptr<Overhang> addManualOverhang(Model &model, const Point3f &point,
                                            const Vec3f &faceNormal, QueryMode mode)
{
    if (point.z <= 0.1f)
        return nullptr;
    const SupportParameters &params = model.supportParameters();
    if (!OverhangFinder::checkParameters(params, nullptr))
        return nullptr;
    if (model.faceNormals().size() != model.faces().size())
        model.computeFaceNormals();
    const MeshQuery query(model.vertices(), model.faces(), mode);
    const SupportModelView view{query, model.faceNormals()};
    auto overhang = std::make_shared<Overhang>(point, faceNormal.normalized(),
                                               params.overhangRadius, params.linkPointRadius);
    if (!computeSupportPath(overhang, view, params))
        return nullptr;
    model.overhangs().push_back(overhang);
    return overhang;
}

bool isOverhangFaceForDisplay(const Mesh3D &mesh, std::size_t faceIndex)
{
    if (faceIndex >= mesh.faces().size() || faceIndex >= mesh.faceNormals().size())
        return false;
    const Vec3f &n = mesh.faceNormals()[faceIndex];
    if (-n.z < 0.76604f)
        return false;
    const Face &f = mesh.faces()[faceIndex];
    const auto &v = mesh.vertices();
    const float lowest = std::min(v[f[0]].z, std::min(v[f[1]].z, v[f[2]].z));
    return lowest > 0.0f;
}
