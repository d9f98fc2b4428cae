#include "supports/SupportPath.h"

#include "supports/MeshQuery.h"
#include "supports/Nail.h"
#include "supports/SupportMath.h"
#include "supports/ThinTip.h"

#include "geometry/Overhang.h"

#include <algorithm>
#include <array>
#include <limits>

using SupportMath::circlePoint;

namespace
{

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kBoxPad = 1.0e-3f;
const Vec3f kDown{0.0f, 0.0f, -1.0f};

struct NailHit {
    Point3f point;
    std::uint32_t face = 0;
};

Vec3f unit(const Vec3f &v)
{
    return v.normalized();
}

std::shared_ptr<Tip> makeTip(const std::shared_ptr<Overhang> &o, const SupportParameters &p)
{
    return std::make_shared<Tip>(o, o->position(), o->direction(), p.linkPointRadius,
                                 p.supportRadius, kTipLength);
}

std::shared_ptr<Nail> makeNail(const Tip &tip, const SupportParameters &p)
{
    return std::make_shared<Nail>(tip.endPoint(), p.supportRadius, 0.0f);
}

// Up to six points where a column meets the model: rays parallel to the axis, downwards, from
// six points 2.0 around the top; per ray the nearest hit closer than the column height + 2.
std::vector<NailHit> nailHits(const Nail &nail, const SupportModelView &model)
{
    Box3f box;
    box.min = {nail.axisX - 2.0f, nail.axisY - 2.0f, nail.bottomZ};
    box.max = {nail.top.x + 2.0f, nail.top.y + 2.0f, nail.top.z};
    std::vector<NailHit> hits;
    for (int k = 0; k < 6; ++k) {
        const Point3f origin = circlePoint(nail.top, 2.0f, k, 6);
        MeshQuery::Hit hit;
        if (model.query.nearestHit(box, origin, kDown, -1.0f, false, nail.height() + 2.0f, true,
                                   &hit))
            hits.push_back({origin + kDown * hit.t, hit.face});
    }
    return hits;
}

// Nearest hit of a ray from p along d within (tMin, tMax] (tMin inclusive when asked).
bool castRay(const SupportModelView &model, const Point3f &p, const Vec3f &d, float tMin,
             bool tMinInclusive, float tMax, MeshQuery::Hit *hit)
{
    float reach = tMax;
    if (!(reach < kInf)) {
        // An unbounded ray: long enough to leave the model's box.
        const Box3f &b = model.query.bounds();
        reach = (b.max - b.min).length() + (p - b.center()).length() + 1.0f;
    }
    const Box3f box = SupportMath::segmentBox(p, p + d * reach, kBoxPad);
    return model.query.nearestHit(box, p, d, tMin, tMinInclusive, tMax, false, hit);
}

void clearPath(Overhang &o)
{
    o.setTip(nullptr);
    o.setNail(nullptr);
    o.setLink(nullptr);
}

// The column passes through the model: end it above the model with feet, or replace it by a
// link when too little column would remain.
bool landOnModel(const std::shared_ptr<Overhang> &o, std::shared_ptr<Tip> tip,
                 std::shared_ptr<Nail> nail, const SupportModelView &model,
                 const SupportParameters &params)
{
    std::vector<NailHit> hits = nailHits(*nail, model);
    if (hits.empty())
        return false;
    std::stable_sort(hits.begin(), hits.end(),
                     [](const NailHit &a, const NailHit &b) { return a.point.z > b.point.z; });
    nail->raiseBottom(std::min(hits.front().point.z + 2.0f, nail->top.z));
    const Point3f p = o->position();
    if (nail->height() * 4.0f < 3.0f) {
        MeshQuery::Hit hit;
        if (!castRay(model, p, kDown, params.overhangRadius, true, kInf, &hit))
            return false;
        Point3f contact = p + kDown * hit.t;
        const Vec3f n = model.faceNormals[hit.face];
        if (n.dot(p - contact) < 0.8f)
            return false;
        if ((hits.front().point - p).length() < (contact - p).length()) {
            contact = hits.front().point;
            o->setDirection(unit(contact - p));
        }
        nail->visible = false;
        o->setTip(std::move(tip));
        o->setNail(std::move(nail));
        o->setLink(std::make_shared<ThinTip>(o, p, contact, params.linkPointRadius,
                                             params.overhangRadius));
        return true;
    }
    const float lowest = nail->bottomZ - 4.0f;
    Foot foot;
    const Point3f from = nail->bottom();
    for (const NailHit &h : hits) {
        if (h.point.z < lowest)
            continue;
        foot.cones.push_back(std::make_shared<Cylinder>(from, h.point, params.supportRadius, 0.3f));
        foot.spheres.push_back(std::make_shared<Sphere>(h.point, 0.3f));
    }
    nail->feet.push_back(std::move(foot));
    o->setTip(std::move(tip));
    o->setNail(std::move(nail));
    return true;
}

// A column that turned out free stands on the platform; otherwise it lands on the model.
bool finishColumn(const std::shared_ptr<Overhang> &o, std::shared_ptr<Tip> tip,
                  const SupportModelView &model, const SupportParameters &params)
{
    if (tip->endPoint().z < 0.0f)
        return false;
    auto nail = makeNail(*tip, params);
    if (!nailCollides(*nail, model)) {
        o->setTip(std::move(tip));
        o->setNail(std::move(nail));
        return true;
    }
    return landOnModel(o, std::move(tip), std::move(nail), model, params);
}

} // namespace

bool tipCollides(const Tip &tip, const SupportModelView &model, const SupportParameters &params)
{
    const auto &v = tip.vertices();
    const int n = Cylinder::kSegments;
    std::array<Vec3f, Cylinder::kSegments> origins, dirs;
    for (int i = 0; i < n; ++i) {
        origins[i] = v[i];
        dirs[i] = unit(v[i + n] - v[i]);
    }
    const Box3f &box = tip.boundingBox();
    if (model.query.anyHitOpen(box, origins.data(), dirs.data(), n, 2.0f * params.overhangRadius,
                               tip.length()))
        return true;
    for (int j = 0; j < n; ++j) {
        origins[j] = v[j + n];
        dirs[j] = unit(v[(j + 1) % n + n] - v[j + n]);
    }
    const float edgeReach = params.overhangRadius * 2.0f * SupportMath::kPi / 12.0f;
    return model.query.anyHitOpen(box, origins.data(), dirs.data(), n, -1.0f, edgeReach);
}

bool nailCollides(const Nail &nail, const SupportModelView &model)
{
    std::array<Vec3f, 12> origins, dirs;
    Box3f box;
    const Point3f bottom = nail.bottom();
    for (int i = 0; i < 12; ++i) {
        origins[i] = circlePoint(nail.top, nail.radius, i, 12);
        dirs[i] = kDown;
        SupportMath::growBox(box, origins[i]);
        SupportMath::growBox(box, circlePoint(bottom, nail.radius, i, 12));
    }
    return model.query.anyHitOpen(box, origins.data(), dirs.data(), 12, -1.0f, kInf);
}

bool computeSupportPath(const std::shared_ptr<Overhang> &o, const SupportModelView &model,
                        const SupportParameters &params)
{
    o->setComputed(true);
    clearPath(*o);
    const Point3f p = o->position();
    const Vec3f firstDirection = o->direction();
    auto tip = makeTip(o, params);
    if (tip->endPoint().z < 0.0f)
        return false;
    const Point3f ringCentre{p.x, p.y, p.z - 3.0f};

    if (!tipCollides(*tip, model, params)) {
        auto nail = makeNail(*tip, params);
        if (!nailCollides(*nail, model)) {
            o->setTip(std::move(tip));
            o->setNail(std::move(nail));
            return true;
        }
        for (int k = 0; k < 12; ++k) {
            o->setDirection(unit(circlePoint(ringCentre, 3.0f, k, 12) - p));
            auto turned = makeTip(o, params);
            if (turned->endPoint().z < 0.0f)
                continue;
            auto turnedNail = makeNail(*turned, params);
            if (!nailCollides(*turnedNail, model)) {
                o->setTip(std::move(turned));
                o->setNail(std::move(turnedNail));
                return true;
            }
        }
        o->setDirection(firstDirection);
        return landOnModel(o, std::move(tip), std::move(nail), model, params);
    }

    // The straight tip runs into the model: look around for room.
    std::array<float, 12> reach{};
    std::array<bool, 12> hitFound{};
    bool anyHit = false;
    for (int k = 0; k < 12; ++k) {
        MeshQuery::Hit hit;
        const Vec3f d = unit(circlePoint(ringCentre, 3.0f, k, 12) - p);
        if (castRay(model, p, d, params.overhangRadius, false, 3.0f, &hit)) {
            reach[k] = hit.t;
            hitFound[k] = true;
            anyHit = true;
        }
    }
    if (!anyHit) {
        o->setDirection(kDown);
        return finishColumn(o, makeTip(o, params), model, params);
    }
    int best = -1;
    for (int k = 0; k < 12; ++k)
        if (hitFound[k] && (best < 0 || reach[k] > reach[best]))
            best = k;
    o->setDirection(unit(circlePoint(ringCentre, 3.0f, (best + 6) % 12, 12) - p));
    auto opposite = makeTip(o, params);
    if (!tipCollides(*opposite, model, params))
        return finishColumn(o, std::move(opposite), model, params);

    // No room for a tip at all: link the point straight to the model next to it.
    o->setDirection(firstDirection);
    MeshQuery::Hit down;
    Point3f contact;
    if (castRay(model, p, kDown, params.overhangRadius, false, 3.0f, &down)) {
        o->setDirection(kDown);
        contact = p + kDown * down.t;
    } else {
        const Vec3f d = unit(circlePoint(ringCentre, 3.0f, best, 12) - p);
        o->setDirection(d);
        contact = p + d * reach[best];
    }
    o->setLink(
        std::make_shared<ThinTip>(o, p, contact, params.linkPointRadius, params.overhangRadius));
    return true;
}
