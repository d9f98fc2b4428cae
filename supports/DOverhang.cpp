#include "supports/DOverhang.h"

#include "supports/DModelMap.h"
#include "supports/DsCylider.h"

#include "geometry/Overhang.h"

#include <cmath>
#include <limits>

DOverhang::DOverhang(const Overhang &overhang)
    : DOverhang(overhang.position(), overhang.overhangRadius(), overhang.direction())
{
}

DOverhang::DOverhang(const Point3f &position, float overhangRadius, const Vec3f &direction)
    : m_position(position), m_overhangRadius(overhangRadius), m_direction(direction)
{
}

bool DOverhang::candidateFor(const Point3f &c, const DTipSearchContext &ctx,
                             DTipCandidate *candidate) const
{
    const DModelMap &map = *ctx.map;
    const Point3f &p = m_position;
    const int n = m_search.ringSegments;
    Point3f hit;
    if (map.segmentBlocked(p, c, &hit))
        return false;

    // The tip's side lines, from the ring at the overhang to the ring at the column top.
    const Vec3f tipAxis = c - p;
    Point3f a[8], b[8];
    for (int k = 0; k < n; ++k) {
        a[k] = DsCylider::perpendicularRingPoint(p, tipAxis, ctx.linkPointRadius, k, n);
        b[k] = DsCylider::perpendicularRingPoint(c, tipAxis, ctx.supportRadius, k, n);
    }
    for (int k = 0; k < n; ++k) {
        if (map.segmentBlocked(a[k], b[0], &hit)) {
            if ((hit - a[k]).length() >= 3.0f * ctx.linkPointRadius)
                return false;
        } else if (map.segmentBlocked(a[k], b[k], &hit)) {
            if ((hit - b[k]).length() >= 3.0f * ctx.supportRadius)
                return false;
        }
    }

    const Box3f &box = ctx.modelBox;
    if (c.x < box.min.x || c.x > box.max.x || c.y < box.min.y || c.y > box.max.y) {
        *candidate = {c.z, c.x, c.y, 0.0f};
        return true;
    }

    // The model below the column top, and the column's side lines down to it.
    const Point3f ground{c.x, c.y, 0.0f};
    Point3f below;
    const bool landed = map.firstHit(c, ground, &below);
    const Point3f e = landed ? below : ground;
    const Vec3f columnAxis = e - c;
    for (int k = 0; k < n; ++k) {
        const Point3f from =
            DsCylider::perpendicularRingPoint(c, columnAxis, ctx.supportRadius, k, n);
        const Point3f to =
            DsCylider::perpendicularRingPoint(e, columnAxis, ctx.supportRadius, k, n);
        if (map.firstHit(from, to, &hit) && (hit - to).length() > 3.0f * ctx.supportRadius)
            return false;
    }
    if (landed)
        *candidate = {c.z - e.z, e.x, e.y, e.z};
    else
        *candidate = {c.z, c.x, c.y, 0.0f};
    return true;
}

void DOverhang::searchTips(const DTipSearchContext &ctx)
{
    m_search.candidates.clear();
    m_search.chosen = -1;
    const Point3f &p = m_position;
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        return;
    const float r = m_search.radius;
    const int steps = static_cast<int>(std::lround(2.0f * m_search.halfWidth / m_search.step));
    for (int ix = 0; ix <= steps; ++ix) {
        const float dx = -m_search.halfWidth + static_cast<float>(ix) * m_search.step;
        for (int iy = 0; iy <= steps; ++iy) {
            const float dy = -m_search.halfWidth + static_cast<float>(iy) * m_search.step;
            const float x = p.x + dx, y = p.y + dy;
            const float hx = x - p.x, hy = y - p.y;
            const float m = std::sqrt(hx * hx + hy * hy);
            if (m > r)
                continue;
            const float drop = std::sqrt(r * r - m * m);
            if (drop / r < m_search.coneLimit)
                continue;
            // A tip ending below the platform cannot be built.
            if (p.z - drop < 0.0f)
                continue;
            DTipCandidate candidate;
            if (candidateFor({x, y, p.z - drop}, ctx, &candidate))
                m_search.candidates.push_back(candidate);
        }
    }
    if (m_search.candidates.empty())
        return;

    // A model reaching no higher than the platform gives the length no weight.
    const float highest = ctx.modelBox.max.z;
    m_search.chosen = 0;
    float best = std::numeric_limits<float>::min();
    for (std::size_t i = 0; i < m_search.candidates.size(); ++i) {
        const DTipCandidate &cand = m_search.candidates[i];
        const float cx = cand.x - p.x, cy = cand.y - p.y;
        const float d = std::sqrt(cx * cx + cy * cy);
        const float lengthTerm = highest > 0.0f ? cand.length / highest * 0.5f : 0.0f;
        const float score = (1.0f - d / r) * 0.3f + lengthTerm;
        if (score > best) {
            best = score;
            m_search.chosen = static_cast<int>(i);
        }
    }
}
