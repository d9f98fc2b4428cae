#include "supports/SupportGenerator.h"

#include "supports/DSupportFactory.h"
#include "supports/ForkBuilder.h"
#include "supports/Nail.h"
#include "supports/SupportBase.h"
#include "supports/SupportMath.h"
#include "supports/SupportPath.h"
#include "supports/ThinTip.h"

#include "geometry/Model.h"

#include <cmath>

namespace
{
const QString kStage = QStringLiteral("ctlSupportGenaration");
// More grid cells than this means a support diameter far too small for the model.
constexpr double kMaxGridCells = 16.0e6;
// Cells of the method B model map (4 mm cubes): a model far larger than any platform.
constexpr double kMaxMapCells = 32.0e6;

// The tip, link or column of an overhang no longer starts where the overhang now is (the model
// was moved after the path was computed).
bool pathIsStale(const Overhang &o)
{
    if (o.tip() && o.tip()->start() != o.position())
        return true;
    return o.link() && o.link()->start() != o.position();
}
} // namespace

std::unique_ptr<ISupportGeneratorState> SupportGeneratorState::clone() const
{
    auto copy = std::make_unique<SupportGeneratorState>();
    copy->m_grid = m_grid;
    return copy;
}

SupportGenerator::SupportGenerator(Model &model, QueryMode mode) : m_model(model), m_mode(mode) {}

bool SupportGenerator::checkParameters(const SupportParameters &p, const Box3f &box,
                                       QString *reason)
{
    auto fail = [reason](const QString &text) {
        if (reason)
            *reason = text;
        return false;
    };
    if (p.method != 0 && p.method != 1)
        return fail(
            QStringLiteral("Support method %1 is not available; use method A or B.").arg(p.method));
    if (!(p.supportRadius > 0.0f) || !std::isfinite(p.supportRadius))
        return fail(QStringLiteral("Cannot generate supports with a support diameter of %1 mm: "
                                   "it must be greater than 0.")
                        .arg(static_cast<double>(p.supportRadius) * 2.0));
    if (!(p.overhangRadius >= 0.0f) || !(p.linkPointRadius >= 0.0f) || !(p.baseExtern >= 0.0f) ||
        !(p.baseHeight >= 0.0f))
        return fail(QStringLiteral("Support parameters must not be negative."));
    if (p.method == 1) {
        if (DModelMap::cellsFor(box) > kMaxMapCells)
            return fail(QStringLiteral("The model is too large for support method B."));
        return true;
    }
    if (!box.isEmpty()) {
        const double cell = 2.0 * static_cast<double>(p.supportRadius);
        const double m = 3.0 * static_cast<double>(p.supportRadius);
        const double cols = std::ceil((static_cast<double>(box.max.x - box.min.x) + 2 * m) / cell);
        const double rows = std::ceil((static_cast<double>(box.max.y - box.min.y) + 2 * m) / cell);
        if (cols * rows > kMaxGridCells)
            return fail(QStringLiteral("The support diameter of %1 mm is too small for a model of "
                                       "this size.")
                            .arg(static_cast<double>(p.supportRadius) * 2.0));
    }
    return true;
}

std::shared_ptr<const NailGrid>
SupportGenerator::nailGrid(const MeshQuery &query, const std::vector<Vec3f> &normals, float *zShift)
{
    auto *state = dynamic_cast<SupportGeneratorState *>(m_model.supportGeneratorState());
    if (!state) {
        m_model.setSupportGeneratorState(std::make_unique<SupportGeneratorState>());
        state = static_cast<SupportGeneratorState *>(m_model.supportGeneratorState());
    }
    const Box3f &box = query.bounds();
    *zShift = 0.0f;
    if (const auto &kept = state->grid()) {
        // A grid is kept while the model only moved up or down; anything else invalidates it.
        const Box3f &old = kept->modelBox;
        if (kept->radius == m_params.supportRadius && old.min.x == box.min.x &&
            old.min.y == box.min.y && old.max.x == box.max.x && old.max.y == box.max.y &&
            old.max.z - old.min.z == box.max.z - box.min.z) {
            *zShift = box.min.z - old.min.z;
            reportInRange(1, 1, kStage);
            return kept;
        }
    }
    auto grid = std::make_shared<NailGrid>();
    const float r = m_params.supportRadius;
    const float m = 3.0f * r;
    grid->cell = 2.0f * r;
    grid->radius = r;
    grid->modelBox = box;
    grid->x0 = box.min.x - m;
    grid->y0 = box.min.y - m;
    const float width = box.max.x - box.min.x + 2.0f * m;
    const float depth = box.max.y - box.min.y + 2.0f * m;
    grid->columns = std::max(1, static_cast<int>(std::ceil(width / grid->cell)));
    grid->rows = std::max(1, static_cast<int>(std::ceil(depth / grid->cell)));
    const int cols = grid->columns, rows = grid->rows;
    std::vector<float> lowest(static_cast<std::size_t>(cols) * rows, box.max.z + m);

    const auto &vertices = query.vertices();
    const auto &faces = query.faces();
    const auto faceCount = static_cast<std::int64_t>(faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        if ((f & 1023) == 0)
            reportInRange(static_cast<std::int64_t>(f) + 1, faceCount, kStage);
        if (normals[f].z == 0.0f)
            continue;
        const Box3f &fb = query.faceBox(static_cast<std::uint32_t>(f));
        const int i0 =
            std::max(0, static_cast<int>(std::floor((fb.min.x - grid->x0) / grid->cell)) - 1);
        const int i1 =
            std::min(cols - 1, static_cast<int>(std::ceil((fb.max.x - grid->x0) / grid->cell)) + 1);
        const int j0 =
            std::max(0, static_cast<int>(std::floor((fb.min.y - grid->y0) / grid->cell)) - 1);
        const int j1 =
            std::min(rows - 1, static_cast<int>(std::ceil((fb.max.y - grid->y0) / grid->cell)) + 1);
        const Vec3f &a = vertices[faces[f][0]];
        const Vec3f &b = vertices[faces[f][1]];
        const Vec3f &c = vertices[faces[f][2]];
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j) {
                const float x = grid->x0 + static_cast<float>(i) * grid->cell;
                const float y = grid->y0 + static_cast<float>(j) * grid->cell;
                float s, t;
                if (!SupportMath::insideXY(x, y, a, b, c, &s, &t))
                    continue;
                const float z = a.z + t * (b.z - a.z) + s * (c.z - a.z);
                float &cell = lowest[static_cast<std::size_t>(i) * rows + j];
                if (z < cell)
                    cell = z;
            }
    }
    grid->heights.resize(lowest.size());
    for (int i = 0; i < cols; ++i)
        for (int j = 0; j < rows; ++j) {
            const std::size_t k = static_cast<std::size_t>(i) * rows + j;
            float h = lowest[k];
            if (i > 0)
                h = std::min(h, lowest[k - rows]);
            if (i + 1 < cols)
                h = std::min(h, lowest[k + rows]);
            if (j > 0)
                h = std::min(h, lowest[k - 1]);
            if (j + 1 < rows)
                h = std::min(h, lowest[k + 1]);
            grid->heights[k] = h;
        }
    reportInRange(1, 1, kStage);
    state->setGrid(grid);
    return grid;
}

bool SupportGenerator::generate(const OverhangList &overhangs, SupportParameters params)
{
    m_params = std::move(params);
    m_result.reset();
    m_error.clear();
    m_model.recomputeBounds();
    if (m_model.faceNormals().size() != m_model.faces().size())
        m_model.computeFaceNormals();
    if (!checkParameters(m_params, m_model.boundingBox(), &m_error))
        return false;
    if (!m_model.hasValidFaces()) {
        m_error = QStringLiteral("The model's mesh is damaged: a face uses a missing vertex.");
        return false;
    }
    for (const auto &o : overhangs)
        if (o)
            o->rebuildSphere();

    if (m_params.method == 1) {
        DSupportFactory factory(m_model, m_params, this, m_mode, m_platform);
        if (!factory.run(overhangs)) {
            m_error = QStringLiteral("Canceled");
            return false;
        }
        auto support = std::make_shared<Support>();
        support->parts = factory.result();
        m_result = std::move(support);
        return true;
    }

    std::unique_ptr<MeshQuery> ownQuery;
    if (!m_sharedQuery)
        ownQuery = std::make_unique<MeshQuery>(m_model.vertices(), m_model.faces(), m_mode);
    const MeshQuery &query = m_sharedQuery ? *m_sharedQuery : *ownQuery;
    const SupportModelView view{query, m_model.faceNormals()};
    auto cancelled = [this]() {
        if (!isCancelled())
            return false;
        m_error = QStringLiteral("Canceled");
        return true;
    };

    // Stage 1: the virtual column grid.
    setRange(10);
    float gridShift = 0.0f;
    const std::shared_ptr<const NailGrid> grid = nailGrid(query, m_model.faceNormals(), &gridShift);
    if (cancelled())
        return false;

    // Stage 2: the path of every overhang; tips and columns into the working lists.
    setRange(75);
    std::vector<std::shared_ptr<Mesh3D>> tipEntries;
    std::vector<std::shared_ptr<Nail>> nails;
    std::vector<const Overhang *> nailOwner;
    const auto count = static_cast<std::int64_t>(overhangs.size());
    for (std::int64_t k = 0; k < count; ++k) {
        reportInRange(k + 1, count, kStage);
        if (cancelled())
            return false;
        const auto &o = overhangs[static_cast<std::size_t>(k)];
        if (!o)
            continue;
        const bool radiusChanged =
            o->nail() && o->tip() && o->tip()->endRadius() != m_params.supportRadius;
        if (!o->isComputed() || radiusChanged || pathIsStale(*o)) {
            if (!computeSupportPath(o, view, m_params))
                continue;
        }
        if (o->nail() && o->tip()) {
            tipEntries.push_back(o->tip()->clone());
            nails.push_back(o->nail()->copy());
            nailOwner.push_back(o.get());
        }
    }
    for (const auto &o : overhangs)
        if (o && o->link() && !o->nail())
            tipEntries.push_back(o->link()->clone());

    // Stage 3: forks.
    setRange(90);
    ForkBuilder forks(m_params, query, grid.get(), gridShift);
    std::vector<bool> isCentre;
    const bool finished = forks.buildForks(nails, isCentre, [this](int i, int n) {
        reportInRange(i, n, kStage);
        return !isCancelled();
    });
    if (!finished || cancelled()) {
        m_error = QStringLiteral("Canceled");
        return false;
    }

    // Columns replaced by links give way to them.
    std::vector<std::shared_ptr<Nail>> columns;
    for (std::size_t i = 0; i < nails.size(); ++i) {
        if (i < nailOwner.size() && !isCentre[i] && nailOwner[i]->link()) {
            tipEntries[i] = nailOwner[i]->link()->clone();
            continue;
        }
        columns.push_back(nails[i]);
    }

    const std::vector<Beam> bracing = forks.buildBracing(columns);

    std::shared_ptr<Mesh3D> base;
    if (m_params.baseMode != 2) {
        std::vector<Point3f> standing;
        for (const auto &n : columns)
            if (n->bottomZ == 0.0f)
                standing.push_back(n->bottom());
        base = buildSupportBase(standing, m_params.baseExtern, m_params.baseHeight, m_platform);
    }

    // Assembly.
    setRange(100);
    reportInRange(1, 1, kStage);
    auto support = std::make_shared<Support>();
    auto &parts = support->parts;
    const float r = m_params.supportRadius;
    for (const auto &entry : tipEntries) {
        parts.push_back(entry);
        if (auto *link = dynamic_cast<ThinTip *>(entry.get()))
            parts.push_back(link->endSphere());
    }
    for (const auto &n : columns) {
        for (const Beam &b : n->beams)
            parts.push_back(std::make_shared<Cylinder>(b.from, b.to, r, r));
        parts.push_back(std::make_shared<Cylinder>(n->top, n->bottom(), r, r));
        for (const Foot &foot : n->feet) {
            for (const auto &cone : foot.cones)
                parts.push_back(cone);
            for (const auto &sphere : foot.spheres)
                parts.push_back(sphere);
        }
    }
    for (const Beam &b : bracing)
        parts.push_back(std::make_shared<Cylinder>(b.from, b.to, r, r));
    if (base)
        parts.push_back(base);
    m_result = std::move(support);
    return true;
}
