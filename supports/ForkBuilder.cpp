#include "supports/ForkBuilder.h"

#include "supports/SupportGenerator.h"
#include "supports/SupportMath.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace
{
constexpr float kRise = 1.2f;       // beam rise per mm of horizontal run
constexpr float kOpposite = -0.7f;  // partners must lie on opposite sides of the centre
constexpr float kBraceStep = 19.2f; // vertical step of the bracing zig-zag
constexpr double kBeamSlope = 1.5620499351813308; // sqrt(1.2^2 + 1): beam length per mm of run
constexpr double kBoundMargin = 1.0e-3; // pruning keeps every pair within this of the best

inline Span intersect(const Span &a, const Span &b)
{
    return {std::max(a.low, b.low), std::min(a.high, b.high)};
}
} // namespace

ForkBuilder::ForkBuilder(const SupportParameters &params, const MeshQuery &query,
                         const NailGrid *grid, float gridShift)
    : m_params(params), m_query(query), m_grid(grid), m_gridShift(gridShift)
{
    if (m_grid)
        m_virtualUsed.assign(m_grid->heights.size(), false);
}

bool ForkBuilder::beamCrossesModel(const Point3f &from, const Point3f &to) const
{
    const Vec3f axis = to - from;
    const float length = axis.length();
    if (!(length > 0.0f))
        return false;
    const Vec3f dir = axis * (1.0f / length);
    const float r = m_params.supportRadius;
    Vec3f origins[4], dirs[4];
    for (int k = 0; k < 4; ++k) {
        origins[k] = SupportMath::circlePoint(from, r, k, 4);
        dirs[k] = dir;
    }
    const Box3f box = SupportMath::segmentBox(from, to, r + 1.0e-3f);
    return m_query.anyHitOpen(box, origins, dirs, 4, -1.0f, length);
}

bool ForkBuilder::partnerFor(const Nail &c, const Nail &s, Partner *out) const
{
    const float ux = s.axisX - c.axisX;
    const float uy = s.axisY - c.axisY;
    const float d = std::sqrt(ux * ux + uy * uy);
    if (!(d > 0.0f) || d > kForkReach)
        return false;
    const Span raised{s.spanB.low + kRise * d, s.spanB.high + kRise * d};
    const Span interval = intersect(raised, c.spanA);
    if (interval.isEmpty())
        return false;
    out->d = d;
    out->ux = ux;
    out->uy = uy;
    out->interval = interval;
    out->key = static_cast<double>(interval.high) - kBeamSlope * static_cast<double>(d);
    return true;
}

bool ForkBuilder::pairScore(const Partner &a, const Partner &b, float *score, float *height) const
{
    const float cosine = (a.ux * b.ux + a.uy * b.uy) / (a.d * b.d);
    if (!(cosine < kOpposite))
        return false;
    const Span i = intersect(a.interval, b.interval);
    if (i.isEmpty())
        return false;
    const float rise = kRise * a.d + kRise * b.d;
    const float run = a.d + b.d;
    const float s = i.high - std::sqrt(rise * rise + run * run);
    if (!(s > 0.0f))
        return false;
    *score = s;
    *height = i.high;
    return true;
}

ForkBuilder::Pair ForkBuilder::bestPair(const std::vector<Partner> &listA,
                                        const std::vector<Partner> &listB, bool sameSet) const
{
    Pair best;
    auto consider = [&](const Partner &p1, const Partner &p2) {
        float score, height;
        if (!pairScore(p1, p2, &score, &height))
            return;
        const bool better =
            !best.found || score > best.score ||
            (score == best.score &&
             (p1.id < best.first.id || (p1.id == best.first.id && p2.id < best.second.id)));
        if (better) {
            best.found = true;
            best.score = score;
            best.height = height;
            best.first = p1;
            best.second = p2;
        }
    };
    if (m_query.mode() == QueryMode::Reference) {
        // Every pair in list order; the first of equal scores stays.
        for (std::size_t i = 0; i < listA.size(); ++i)
            for (std::size_t j = sameSet ? i + 1 : 0; j < listB.size(); ++j) {
                float score, height;
                if (pairScore(listA[i], listB[j], &score, &height) &&
                    (!best.found || score > best.score)) {
                    best.found = true;
                    best.score = score;
                    best.height = height;
                    best.first = listA[i];
                    best.second = listB[j];
                }
            }
        return best;
    }
    // Branch and bound: a pair scores at most min(key1 - slope*d2, key2 - slope*d1).
    std::vector<const Partner *> a, b;
    for (const Partner &p : listA)
        a.push_back(&p);
    for (const Partner &p : listB)
        b.push_back(&p);
    auto byKey = [](const Partner *x, const Partner *y) {
        return x->key > y->key || (x->key == y->key && x->id < y->id);
    };
    std::sort(a.begin(), a.end(), byKey);
    std::sort(b.begin(), b.end(), byKey);
    double minRunB = 1.0e30;
    for (const Partner *p : b)
        minRunB = std::min(minRunB, static_cast<double>(p->d));
    for (const Partner *pa : a) {
        const double floor = best.found ? static_cast<double>(best.score) : 0.0;
        if (pa->key - kBeamSlope * minRunB < floor - kBoundMargin)
            break;
        for (const Partner *pb : b) {
            const double bound = best.found ? static_cast<double>(best.score) : 0.0;
            if (pb->key - kBeamSlope * static_cast<double>(pa->d) < bound - kBoundMargin)
                break;
            if (pa->key - kBeamSlope * static_cast<double>(pb->d) < bound - kBoundMargin)
                continue;
            if (sameSet) {
                if (pa->id == pb->id)
                    continue;
                if (pa->id < pb->id)
                    consider(*pa, *pb);
                else
                    consider(*pb, *pa);
            } else {
                consider(*pa, *pb);
            }
        }
    }
    return best;
}

void ForkBuilder::bucketInsert(const Nail &nail, int index)
{
    const auto cx = static_cast<std::int64_t>(std::floor(nail.axisX / kForkReach));
    const auto cy = static_cast<std::int64_t>(std::floor(nail.axisY / kForkReach));
    m_buckets[bucketKey(cx, cy)].push_back(index);
}

std::vector<ForkBuilder::Partner>
ForkBuilder::structurePartners(const Nail &centre, const std::vector<std::shared_ptr<Nail>> &nails,
                               int centreIndex) const
{
    std::vector<Partner> out;
    auto offer = [&](int i) {
        if (i == centreIndex || !nails[i]->visible)
            return;
        Partner p;
        if (!partnerFor(centre, *nails[i], &p))
            return;
        p.id = i;
        out.push_back(p);
    };
    if (m_query.mode() == QueryMode::Reference) {
        for (int i = 0; i < static_cast<int>(nails.size()); ++i)
            offer(i);
        return out;
    }
    std::vector<int> ids;
    const auto cx = static_cast<std::int64_t>(std::floor(centre.axisX / kForkReach));
    const auto cy = static_cast<std::int64_t>(std::floor(centre.axisY / kForkReach));
    for (std::int64_t dx = -1; dx <= 1; ++dx)
        for (std::int64_t dy = -1; dy <= 1; ++dy) {
            const auto it = m_buckets.find(bucketKey(cx + dx, cy + dy));
            if (it != m_buckets.end())
                ids.insert(ids.end(), it->second.begin(), it->second.end());
        }
    std::sort(ids.begin(), ids.end());
    for (int i : ids)
        offer(i);
    return out;
}

std::shared_ptr<Nail> ForkBuilder::virtualNail(int gridIndex) const
{
    const int i = gridIndex / m_grid->rows;
    const int j = gridIndex % m_grid->rows;
    return std::make_shared<VirtualNail>(m_grid->point(i, j, m_gridShift), m_params.supportRadius,
                                         m_params.baseHeight);
}

std::vector<ForkBuilder::Partner> ForkBuilder::virtualPartners(const Nail &centre) const
{
    std::vector<Partner> out;
    if (!m_grid || m_grid->heights.empty())
        return out;
    auto offer = [&](int i, int j) {
        const int index = i * m_grid->rows + j;
        if (m_virtualUsed[index])
            return;
        const Point3f top = m_grid->point(i, j, m_gridShift);
        const VirtualNail s(top, m_params.supportRadius, m_params.baseHeight);
        Partner p;
        if (!partnerFor(centre, s, &p))
            return;
        p.id = index;
        p.isVirtual = true;
        out.push_back(p);
    };
    int i0 = 0, i1 = m_grid->columns - 1, j0 = 0, j1 = m_grid->rows - 1;
    if (m_query.mode() == QueryMode::Indexed) {
        const float c = m_grid->cell;
        i0 = std::max(
            i0, static_cast<int>(std::floor((centre.axisX - kForkReach - m_grid->x0) / c)) - 1);
        i1 = std::min(
            i1, static_cast<int>(std::ceil((centre.axisX + kForkReach - m_grid->x0) / c)) + 1);
        j0 = std::max(
            j0, static_cast<int>(std::floor((centre.axisY - kForkReach - m_grid->y0) / c)) - 1);
        j1 = std::min(
            j1, static_cast<int>(std::ceil((centre.axisY + kForkReach - m_grid->y0) / c)) + 1);
    }
    for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j)
            offer(i, j);
    return out;
}

bool ForkBuilder::applyFork(std::vector<std::shared_ptr<Nail>> &nails, int centreIndex,
                            const Pair &pair, std::vector<bool> &isCentre,
                            std::vector<bool> &processed,
                            std::vector<std::pair<float, int>> &raised)
{
    Nail &c = *nails[centreIndex];
    const float h = pair.height;
    const Point3f centreAt{c.axisX, c.axisY, h};
    const Partner *partners[2] = {&pair.first, &pair.second};
    std::shared_ptr<Nail> partnerNails[2];
    Beam beams[2];
    for (int k = 0; k < 2; ++k) {
        const Partner &p = *partners[k];
        partnerNails[k] = p.isVirtual ? virtualNail(p.id) : nails[p.id];
        const float start = h - kRise * p.d;
        beams[k].from = {partnerNails[k]->axisX, partnerNails[k]->axisY, start};
        beams[k].to = centreAt;
        beams[k].radius = m_params.supportRadius;
        if (beamCrossesModel(beams[k].from, beams[k].to))
            return false;
    }
    for (int k = 0; k < 2; ++k) {
        c.beams.push_back(beams[k]);
        Nail &s = *partnerNails[k];
        const float start = beams[k].from.z;
        if (start < s.spanA.high) {
            s.spanA.high = start;
            if (!partners[k]->isVirtual)
                raised.emplace_back(start, partners[k]->id);
        }
        if (partners[k]->isVirtual) {
            // A grid column carries only what hangs on it: cut it at its beam.
            s.top.z = std::min(s.top.z, start);
            s.spanA.high = std::min(s.spanA.high, s.top.z);
            s.spanB.high = std::min(s.spanB.high, s.top.z);
            m_virtualUsed[partners[k]->id] = true;
            nails.push_back(partnerNails[k]);
            isCentre.push_back(false);
            processed.push_back(true);
            if (m_query.mode() == QueryMode::Indexed)
                bucketInsert(*partnerNails[k], static_cast<int>(nails.size() - 1));
        }
    }
    Nail &centre = *nails[centreIndex]; // nails may have grown
    centre.spanA.low = h;
    centre.spanB.low = h;
    centre.raiseBottom(h);
    centre.feet.clear();
    centre.forked = true;
    isCentre[centreIndex] = true;
    return true;
}

bool ForkBuilder::buildForks(std::vector<std::shared_ptr<Nail>> &nails, std::vector<bool> &isCentre,
                             const std::function<bool(int, int)> &step)
{
    const int initial = static_cast<int>(nails.size());
    isCentre.assign(nails.size(), false);
    std::vector<bool> processed(nails.size(), false);
    const bool indexed = m_query.mode() == QueryMode::Indexed;
    // Highest span A first; on equal heights the lower index.
    auto lower = [](const std::pair<float, int> &a, const std::pair<float, int> &b) {
        return a.first < b.first || (a.first == b.first && a.second > b.second);
    };
    std::priority_queue<std::pair<float, int>, std::vector<std::pair<float, int>>, decltype(lower)>
        queue(lower);
    m_buckets.clear();
    if (indexed)
        for (int i = 0; i < initial; ++i) {
            queue.emplace(nails[i]->spanA.high, i);
            bucketInsert(*nails[i], i);
        }
    std::vector<std::pair<float, int>> raised;
    for (int n = 0; n < initial; ++n) {
        int ci = -1;
        if (indexed) {
            while (!queue.empty()) {
                const auto top = queue.top();
                queue.pop();
                if (!processed[top.second] && nails[top.second]->spanA.high == top.first) {
                    ci = top.second;
                    break;
                }
            }
        } else {
            for (int i = 0; i < static_cast<int>(nails.size()); ++i)
                if (!processed[i] && (ci < 0 || nails[i]->spanA.high > nails[ci]->spanA.high))
                    ci = i;
        }
        if (ci < 0)
            break;
        processed[ci] = true;
        if (!step(n + 1, initial))
            return false;

        raised.clear();
        const std::shared_ptr<Nail> centre = nails[ci];
        bool made = false;
        const std::vector<Partner> real = structurePartners(*centre, nails, ci);
        Pair pair = bestPair(real, real, true);
        if (pair.found)
            made = applyFork(nails, ci, pair, isCentre, processed, raised);
        if (!made && !centre->feet.empty() && m_grid) {
            const std::vector<Partner> virt = virtualPartners(*centre);
            pair = bestPair(real, virt, false);
            if (pair.found)
                made = applyFork(nails, ci, pair, isCentre, processed, raised);
            if (!made) {
                pair = bestPair(virt, virt, true);
                if (pair.found)
                    made = applyFork(nails, ci, pair, isCentre, processed, raised);
            }
        }
        if (indexed)
            for (const auto &r : raised)
                if (!processed[r.second])
                    queue.emplace(r.first, r.second);
    }
    return true;
}

std::vector<Beam> ForkBuilder::buildBracing(const std::vector<std::shared_ptr<Nail>> &columns) const
{
    struct Candidate {
        int i, j;
        float distance;
    };
    std::vector<Candidate> pairs;
    const int n = static_cast<int>(columns.size());
    auto tall = [&](int i) { return columns[i]->height() > kBraceReach; };
    auto offer = [&](int i, int j) {
        const float d = SupportMath::horizontalDistance(columns[i]->top, columns[j]->top);
        if (d < kBraceReach)
            pairs.push_back({i, j, d});
    };
    if (m_query.mode() == QueryMode::Reference) {
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                if (tall(i) && tall(j))
                    offer(i, j);
    } else {
        std::unordered_map<std::int64_t, std::vector<int>> buckets;
        auto cell = [](float v) { return static_cast<std::int64_t>(std::floor(v / kBraceReach)); };
        for (int i = 0; i < n; ++i)
            if (tall(i))
                buckets[bucketKey(cell(columns[i]->axisX), cell(columns[i]->axisY))].push_back(i);
        std::vector<int> near;
        for (int i = 0; i < n; ++i) {
            if (!tall(i))
                continue;
            near.clear();
            const auto cx = cell(columns[i]->axisX), cy = cell(columns[i]->axisY);
            for (std::int64_t dx = -1; dx <= 1; ++dx)
                for (std::int64_t dy = -1; dy <= 1; ++dy) {
                    const auto it = buckets.find(bucketKey(cx + dx, cy + dy));
                    if (it == buckets.end())
                        continue;
                    for (int j : it->second)
                        if (j > i)
                            near.push_back(j);
                }
            std::sort(near.begin(), near.end());
            for (int j : near)
                offer(i, j);
        }
    }
    std::stable_sort(pairs.begin(), pairs.end(), [](const Candidate &a, const Candidate &b) {
        return a.distance < b.distance;
    });

    std::vector<Beam> beams;
    std::vector<bool> used(columns.size(), false);
    for (const Candidate &c : pairs) {
        if (used[c.i] || used[c.j])
            continue;
        const Nail *p = columns[c.i].get();
        const Nail *q = columns[c.j].get();
        if (q->top.z < p->top.z)
            std::swap(p, q);
        // Bracing beams climb 1 mm per 1.2 mm of run: two 20 mm columns 15.9 mm apart still
        // take a beam below their tops.
        const float climb = c.distance / kRise;
        float d = p->bottomZ + p->height() / 3.0f;
        float e = d + climb;
        bool any = false;
        while (q->bottomZ < e && e < q->top.z) {
            Beam beam;
            beam.from = {q->axisX, q->axisY, e};
            beam.to = {p->axisX, p->axisY, d};
            beam.radius = m_params.supportRadius;
            if (!beamCrossesModel(beam.from, beam.to)) {
                beams.push_back(beam);
                any = true;
            }
            d += kBraceStep;
            e = d + climb;
            if (d > q->top.z)
                break;
            std::swap(p, q);
        }
        if (any) {
            used[c.i] = true;
            used[c.j] = true;
        }
    }
    return beams;
}
