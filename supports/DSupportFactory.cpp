#include "supports/DSupportFactory.h"

#include "supports/DCylider.h"
#include "supports/DNail.h"
#include "supports/DSphere.h"
#include "supports/DTip.h"
#include "supports/SupportBase.h"
#include "supports/SupportMath.h"

#include "geometry/IProgressable.h"
#include "geometry/Mesh3D.h"

#include <QtConcurrent>

#include <algorithm>
#include <cmath>
#include <numeric>

// Off unless a logging rule turns "dcore.sfactory.debug" on; the factory leaves the process's
// other rules alone.
Q_LOGGING_CATEGORY(lcSupportFactory, "dcore.sfactory", QtInfoMsg)

namespace
{
const QString kStage = QStringLiteral("ctlSupportGenaration");
constexpr float kOnPlatform = 0.0001f;
constexpr float kStandsOnModel = 0.00001f;
// Columns closer than this stand in the same place: no brace can run between them.
constexpr float kSamePlace = 0.001f;
// Tip searches handed to the pool at a time (progress and log lines follow each batch).
constexpr int kSearchBatch = 64;

QString describe(const DNail &n)
{
    return QStringLiteral("min_maxz(%1,%2),xy(%3,%4)")
        .arg(static_cast<double>(n.bottomZ()))
        .arg(static_cast<double>(n.topZ()))
        .arg(static_cast<double>(n.top().x))
        .arg(static_cast<double>(n.top().y));
}

bool allFinite(const Mesh3D &mesh)
{
    for (const Vec3f &v : mesh.vertices())
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
            return false;
    return true;
}

float horizontal(const DNail &a, const DNail &b)
{
    return SupportMath::horizontalDistance(a.top(), b.top());
}

bool braced(const std::vector<DFactoryColumn> &columns, int a, int b)
{
    const auto has = [](const std::vector<int> &list, int v) {
        return std::find(list.begin(), list.end(), v) != list.end();
    };
    return has(columns[static_cast<std::size_t>(a)].braced, b) ||
           has(columns[static_cast<std::size_t>(b)].braced, a);
}
} // namespace

DSupportFactory::DSupportFactory(const Mesh3D &model, const SupportParameters &params,
                                 IProgressable *progress, QueryMode mode,
                                 const PlatformSize &platform)
    : m_model(model), m_params(params), m_progress(progress), m_mode(mode), m_platform(platform)
{
    const Box3f &box = model.boundingBox();
    m_highestZ = box.isEmpty() ? 0.0f : box.max.z;
}

DSupportFactory::~DSupportFactory() = default;

const DModelMap &DSupportFactory::modelMap()
{
    if (!m_map)
        m_map = std::make_unique<DModelMap>(m_model.vertices(), m_model.faces(),
                                            m_model.faceNormals(), m_mode);
    return *m_map;
}

bool DSupportFactory::cancelled() const
{
    return m_progress && m_progress->isCancelled();
}

void DSupportFactory::step(std::int64_t current, std::int64_t total, const char *stage)
{
    if (m_progress)
        m_progress->reportInRange(current, total, stage ? QString::fromLatin1(stage) : kStage);
}

bool DSupportFactory::run(const OverhangList &overhangs)
{
    m_overhangs.clear();
    m_columns.clear();
    m_tips.clear();
    m_spheres.clear();
    m_shortRods.clear();
    m_result.clear();

    qCDebug(lcSupportFactory).noquote() << "-----begin calculate support.----- ";
    if (m_progress)
        m_progress->setRange(5);
    modelMap();
    step(1, 1);
    if (cancelled())
        return false;

    if (m_progress)
        m_progress->setRange(45);
    if (!searchTips(overhangs))
        return false;
    qCDebug(lcSupportFactory).noquote() << "-----end calculate support.----- ";

    qCDebug(lcSupportFactory).noquote() << "-----start create object-----";
    if (m_progress)
        m_progress->setRange(60);
    createObjects();
    qCDebug(lcSupportFactory).noquote() << "-----end create object.----- ";
    if (cancelled())
        return false;

    if (m_progress)
        m_progress->setRange(65);
    buildFeet();
    if (cancelled())
        return false;

    qCDebug(lcSupportFactory).noquote() << "-----start create beam.----- ";
    if (m_progress)
        m_progress->setRange(95);
    std::vector<std::shared_ptr<Mesh3D>> braces = buildBraces(m_columns);
    if (cancelled())
        return false;
    if (m_progress)
        m_progress->setRange(100);
    std::shared_ptr<Mesh3D> base = buildBase();
    step(1, 1, "ctlSupportBaseGenaration");
    qCDebug(lcSupportFactory).noquote() << "-----end create beam.----- ";

    std::vector<std::shared_ptr<Mesh3D>> parts;
    parts.reserve(braces.size() + m_spheres.size() + m_columns.size() + m_tips.size() +
                  m_shortRods.size() + 1);
    parts.insert(parts.end(), braces.begin(), braces.end());
    parts.insert(parts.end(), m_spheres.begin(), m_spheres.end());
    for (const DFactoryColumn &c : m_columns)
        parts.push_back(c.nail);
    parts.insert(parts.end(), m_tips.begin(), m_tips.end());
    parts.insert(parts.end(), m_shortRods.begin(), m_shortRods.end());
    if (base)
        parts.push_back(base);
    // Whatever went wrong upstream, no part with a non-finite vertex leaves the factory.
    for (auto &part : parts) {
        if (allFinite(*part))
            m_result.push_back(std::move(part));
        else
            qCDebug(lcSupportFactory).noquote() << "part with a non-finite vertex left out";
    }
    return true;
}

bool DSupportFactory::searchTips(const OverhangList &overhangs)
{
    for (const auto &o : overhangs)
        if (o)
            m_overhangs.emplace_back(*o);
    DTipSearchContext context;
    context.map = &modelMap();
    context.modelBox = m_model.boundingBox();
    context.linkPointRadius = m_params.linkPointRadius;
    context.supportRadius = m_params.supportRadius;

    const int count = static_cast<int>(m_overhangs.size());
    const int batch = m_mode == QueryMode::Reference ? 1 : kSearchBatch;
    for (int first = 0; first < count; first += batch) {
        const int last = std::min(count, first + batch);
        if (m_mode == QueryMode::Reference) {
            m_overhangs[static_cast<std::size_t>(first)].searchTips(context);
        } else {
            std::vector<int> indices(static_cast<std::size_t>(last - first));
            std::iota(indices.begin(), indices.end(), first);
            QtConcurrent::blockingMap(indices, [this, &context](int i) {
                m_overhangs[static_cast<std::size_t>(i)].searchTips(context);
            });
        }
        for (int i = first; i < last; ++i) {
            const DTipStruct &search = m_overhangs[static_cast<std::size_t>(i)].tipSearch();
            if (search.candidates.empty())
                qCDebug(lcSupportFactory).noquote() << "have no nail=-=-";
            else
                qCDebug(lcSupportFactory).noquote() << "nails number:" << search.candidates.size();
            step(i + 1, count);
            qCDebug(lcSupportFactory).noquote()
                << QStringLiteral("-----%1%----- ").arg(100 * (i + 1) / count);
        }
        if (cancelled())
            return false;
    }
    return true;
}

void DSupportFactory::createObjects()
{
    const float r = m_params.supportRadius;
    const int count = static_cast<int>(m_overhangs.size());
    for (int t = 0; t < count; ++t) {
        step(t + 1, count);
        qCDebug(lcSupportFactory).noquote()
            << QStringLiteral("-----create object:%1%----- ").arg(100 * (t + 1) / count);
        const DOverhang &o = m_overhangs[static_cast<std::size_t>(t)];
        if (!o.hasChosen())
            continue;
        const DTipCandidate &c = o.chosen();
        const Point3f top = c.top();
        const Point3f bottom = c.bottom();
        auto tip = std::make_shared<DTip>(o.position(), top, m_params.linkPointRadius, r);
        m_spheres.push_back(std::make_shared<DSphere>(tip->endPoint(), tip->endRadius()));
        m_tips.push_back(std::move(tip));

        const float height = top.z - bottom.z;
        if (height < kShortColumn) {
            if (!(height > 0.0f)) {
                qCDebug(lcSupportFactory).noquote() << "column of zero length left out";
                continue;
            }
            m_shortRods.push_back(std::make_shared<DTip>(bottom, top, m_params.linkPointRadius, r));
            continue;
        }
        m_columns.push_back({std::make_shared<DNail>(top, bottom, r), {}});
    }
}

void DSupportFactory::buildFeet()
{
    const float r = m_params.supportRadius;
    const std::size_t shortColumns = m_shortRods.size();
    const int count = static_cast<int>(m_columns.size());
    std::vector<DFactoryColumn> kept;
    kept.reserve(m_columns.size());
    for (int i = 0; i < count; ++i) {
        step(i + 1, count);
        DFactoryColumn &column = m_columns[static_cast<std::size_t>(i)];
        const DNail &nail = *column.nail;
        if (nail.bottomZ() > kStandsOnModel) {
            const Point3f foot = nail.bottom();
            const Point3f raised{foot.x, foot.y, foot.z + kShortColumn};
            m_shortRods.push_back(
                std::make_shared<DTip>(foot, raised, m_params.linkPointRadius, r));
            if (!(nail.topZ() > raised.z)) {
                qCDebug(lcSupportFactory).noquote() << "column of zero length left out";
                continue;
            }
            column.nail = std::make_shared<DNail>(nail.top(), raised, r);
        }
        kept.push_back(std::move(column));
    }
    m_columns = std::move(kept);
    // Short columns end in a ball where they meet the tip.
    for (std::size_t i = 0; i < shortColumns; ++i) {
        const auto &rod = static_cast<const DTip &>(*m_shortRods[i]);
        m_spheres.push_back(std::make_shared<DSphere>(rod.endPoint(), rod.endRadius()));
    }
}

std::vector<std::shared_ptr<Mesh3D>>
DSupportFactory::buildBraces(std::vector<DFactoryColumn> &columns)
{
    std::vector<std::shared_ptr<Mesh3D>> braces;
    const int count = static_cast<int>(columns.size());
    const auto nail = [&columns](int i) -> const DNail & {
        return *columns[static_cast<std::size_t>(i)].nail;
    };
    // Height over the model's height plus nearness; the partner with the larger sum wins.
    const auto score = [this, &nail](int s, int m) {
        const float heightTerm = m_highestZ > 0.0f ? nail(m).height() / m_highestZ : 0.0f;
        return heightTerm + (1.0f - 2.0f * horizontal(nail(s), nail(m)) / kMinBraceHeight);
    };
    for (int s = 0; s < count; ++s) {
        step(s + 1, count);
        qCDebug(lcSupportFactory).noquote()
            << QStringLiteral("-----create beam:%1% ,total:%2----- ")
                   .arg(100 * (s + 1) / count)
                   .arg(count);
        if (cancelled())
            return braces;
        const DNail &ns = nail(s);

        // Initial target: the first column whose height range meets this one's.
        int target = s;
        for (int m = 0; m < count; ++m) {
            if (m == s)
                continue;
            const DNail &nm = nail(m);
            if (nm.bottomZ() > ns.topZ() || nm.topZ() < ns.bottomZ())
                continue;
            if (nm.topZ() < kMinBraceHeight) {
                qCDebug(lcSupportFactory).noquote() << "near to short";
                continue;
            }
            if (braced(columns, s, m))
                continue;
            target = m;
            break;
        }

        for (int m = 0; m < count; ++m) {
            const DNail &nm = nail(m);
            if (lcSupportFactory().isDebugEnabled())
                qCDebug(lcSupportFactory).noquote()
                    << "nail:" << describe(ns) << "near:" << describe(nm);
            if (m == s) {
                qCDebug(lcSupportFactory).noquote() << "near==nail";
                continue;
            }
            if (ns.bottomZ() >= nm.topZ() || nm.bottomZ() >= ns.topZ()) {
                qCDebug(lcSupportFactory).noquote() << "dislocation";
                continue;
            }
            if (nm.topZ() < kMinBraceHeight) {
                qCDebug(lcSupportFactory).noquote() << "near to short";
                continue;
            }
            if (braced(columns, s, m)) {
                qCDebug(lcSupportFactory).noquote() << "have pair";
                continue;
            }
            if (m == target) {
                qCDebug(lcSupportFactory).noquote() << "near==target";
                continue;
            }
            if (score(s, m) > score(s, target)) {
                target = m;
                qCDebug(lcSupportFactory).noquote() << "find new better target";
            }
        }

        if (target == s) {
            qCDebug(lcSupportFactory).noquote() << "nail==target";
            continue;
        }
        if (lcSupportFactory().isDebugEnabled())
            qCDebug(lcSupportFactory).noquote()
                << "nail:" << describe(ns) << "target:" << describe(nail(target));
        if (buildLadder(columns, s, target, braces) > 0) {
            qCDebug(lcSupportFactory).noquote() << "creat beam success:";
            columns[static_cast<std::size_t>(s)].braced.push_back(target);
        }
    }
    return braces;
}

int DSupportFactory::buildLadder(std::vector<DFactoryColumn> &columns, int s, int target,
                                 std::vector<std::shared_ptr<Mesh3D>> &braces)
{
    const DNail &ns = *columns[static_cast<std::size_t>(s)].nail;
    const DNail &ng = *columns[static_cast<std::size_t>(target)].nail;
    // A: the column with the lower top (then the lower bottom; the target when equal).
    bool sIsA;
    if (ns.topZ() != ng.topZ())
        sIsA = ns.topZ() < ng.topZ();
    else
        sIsA = ns.bottomZ() < ng.bottomZ();
    const DNail &a = sIsA ? ns : ng;
    const DNail &b = sIsA ? ng : ns;
    if (3.0f * kMinBraceHeight > a.topZ() + a.bottomZ()) {
        qCDebug(lcSupportFactory).noquote() << "start maxz+end.minz to short";
        return 0;
    }
    const float spacing = horizontal(a, b);
    if (!(spacing >= kSamePlace)) {
        qCDebug(lcSupportFactory).noquote() << "columns in the same place, no brace";
        return 0;
    }
    const float radius = m_params.supportRadius - 0.05f;
    if (!(radius > 0.0f)) {
        qCDebug(lcSupportFactory).noquote() << "support too thin for braces";
        return 0;
    }
    const DModelMap &map = modelMap();
    const float start = kMinBraceHeight + a.bottomZ();
    int built = 0;
    for (int k = 0;; ++k) {
        const float za = start + static_cast<float>(k) * spacing;
        const float zb = start + static_cast<float>(k + 1) * spacing;
        if (zb > b.topZ() || za > a.topZ())
            break;
        if (zb < b.bottomZ())
            continue;
        const Point3f from{a.top().x, a.top().y, za};
        const Point3f to{b.top().x, b.top().y, zb};
        Point3f hit;
        if (map.segmentBlocked(from, to, &hit))
            continue;
        braces.push_back(std::make_shared<DCylider>(6, to, from, radius, radius));
        ++built;
    }
    return built;
}

std::shared_ptr<Mesh3D> DSupportFactory::buildBase() const
{
    if (m_params.baseMode == 2)
        return nullptr;
    std::vector<Point3f> points;
    for (const DFactoryColumn &c : m_columns)
        if (c.nail->bottomZ() <= kOnPlatform)
            points.insert(points.end(), c.nail->vertices().begin(), c.nail->vertices().end());
    if (points.empty())
        return nullptr;
    const Box3f &box = m_model.boundingBox();
    if (!box.isEmpty()) {
        points.push_back(box.min);
        points.push_back(box.max);
    }
    return buildSupportBase(points, 0.0f, m_params.baseHeight, m_platform);
}
