#include "render/DRotateModelInteractor.h"

#include "render/COrvaneFrame.h"
#include "render/Excircle.h"
#include "render/GlMath.h"
#include "render/InputEvent.h"
#include "render/OpenGLModel.h"

#include "app/ModelPlacementCommand.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"

#include <algorithm>
#include <cmath>

namespace Orvane3Ds
{

namespace
{

constexpr int RingSegments = 50;

const Vec3f RingColours[4] = {
    {0.0f, 0.0f, 0.0f}, {0.1f, 0.4f, 0.6f}, {0.0f, 0.8f, 0.0f}, {0.8f, 0.0f, 0.0f}};
// A hovered ring is drawn in a light tint of its colour.
Vec3f hoverColour(const Vec3f &c)
{
    return {c.x + (1.0f - c.x) * 0.55f, c.y + (1.0f - c.y) * 0.55f, c.z + (1.0f - c.z) * 0.55f};
}

Matrix4f aboutPoint(const Matrix4f &rotation, const Point3f &c)
{
    return multiply(translationMatrix(c.x, c.y, c.z),
                    multiply(rotation, translationMatrix(-c.x, -c.y, -c.z)));
}

Point3f vertexCentroid(const Model &model)
{
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (const auto &v : model.vertices()) {
        sx += v.x;
        sy += v.y;
        sz += v.z;
    }
    const double n = model.vertices().empty() ? 1.0 : double(model.vertices().size());
    return {float(sx / n), float(sy / n), float(sz / n)};
}

void restOnPlatform(Model &model)
{
    model.recomputeBounds();
    const float minZ = model.boundingBox().min.z;
    if (minZ != 0.0f)
        model.transform(translationMatrix(0.0f, 0.0f, -minZ));
}

} // namespace

DRotateModelInteractor::DRotateModelInteractor() = default;
DRotateModelInteractor::~DRotateModelInteractor() = default;

void DRotateModelInteractor::setMode(int mode)
{
    m_mode = mode;
    rebuildRings();
}

void DRotateModelInteractor::setLayFlat(bool layFlat)
{
    m_layFlat = layFlat;
    rebuildRings();
}

Vec3f DRotateModelInteractor::ringAxis(int ring) const
{
    return ring == 1 ? Vec3f{1, 0, 0} : ring == 2 ? Vec3f{0, 1, 0} : Vec3f{0, 0, 1};
}

void DRotateModelInteractor::rebuildRings()
{
    if (!m_frame)
        return;
    m_frame->clearExcircles();
    const auto model = m_scene ? m_scene->currentModel() : nullptr;
    const bool shown = model && m_mode != 0 && !m_layFlat;
    m_frame->setExcirclesShown(shown);
    if (!shown)
        return;
    model->recomputeBounds();
    const Point3f c = model->boundingBox().center();
    float radius = 0.0f;
    for (const auto &v : model->vertices())
        radius = std::max(radius, (v - c).length());
    m_ringCentre = c;
    for (int k = 1; k <= 3; ++k) {
        auto ring = std::make_shared<Excircle>(c, radius, RingSegments, k);
        ring->mesh()->setColour(k == m_hovered ? hoverColour(RingColours[k]) : RingColours[k]);
        m_frame->addExcircle(ring);
    }
}

int DRotateModelInteractor::ringUnder(const Ray &ray) const
{
    if (!m_frame)
        return 0;
    int best = 0;
    float bestT = 3.4028235e38f;
    // The rings are rebuilt in kind order 1..3.
    int kind = 0;
    for (const auto &ring : m_frame->excircles()) {
        ++kind;
        const auto &v = ring->mesh()->vertices();
        for (const Face &f : ring->mesh()->faces()) {
            if (f[0] >= v.size() || f[1] >= v.size() || f[2] >= v.size())
                continue;
            float t = 0.0f;
            // The band is seen from both sides.
            if (rayTriangle(ray, v[f[0]], v[f[1]], v[f[2]], &t) ||
                rayTriangle(ray, v[f[0]], v[f[2]], v[f[1]], &t)) {
                if (t < bestT) {
                    bestT = t;
                    best = kind;
                }
            }
        }
    }
    return best;
}

bool DRotateModelInteractor::planeAngle(const Ray &from, const Ray &to, float *degrees) const
{
    const Vec3f axis = ringAxis(m_grabbed);
    auto meet = [&](const Ray &ray, Vec3f *dir) {
        const float denom = ray.direction.dot(axis);
        if (!(std::fabs(denom) > 1e-12f))
            return false;
        const float t = (m_centroid - ray.origin).dot(axis) / denom;
        *dir = ray.origin + ray.direction * t - m_centroid;
        return std::isfinite(t) && dir->length() > 0.0f;
    };
    Vec3f a;
    Vec3f b;
    if (!meet(from, &a) || !meet(to, &b))
        return false;
    a = a.normalized();
    b = b.normalized();
    const float d = std::max(-1.0f, std::min(1.0f, a.dot(b)));
    float angle = std::acos(d) * 57.2957549575f;
    if (a.cross(b).dot(axis) < 0.0f)
        angle = -angle;
    *degrees = angle;
    return true;
}

void DRotateModelInteractor::handleEvent(const void *record)
{
    if (!record || !m_frame || !m_scene) {
        defaultDispatch(record);
        return;
    }
    const std::uint16_t type = inputEventType(record);
    if (type == 2 || type == 3 || type == 5) {
        const auto *e = static_cast<const InputEvent *>(record);
        const Ray ray = m_frame->pickRay(e->x, e->y, e->widgetWidth, e->widgetHeight);
        if (type == 2 && e->button == 1) {
            const RayHit hit = m_scene->nearestHit(ray);
            if (hit.isHit()) {
                m_scene->clearSelection();
                m_scene->select(hit.model);
                rebuildRings();
            }
            if (m_layFlat) {
                if (hit.isHit())
                    layFlatOnFace(hit.model, hit.face);
            } else {
                m_grabbed = m_scene->currentModel() ? ringUnder(ray) : 0;
                m_pressRay = ray;
                m_rotated = false;
                m_command.reset();
                if (m_grabbed) {
                    m_lastGrabbed = m_grabbed;
                    m_centroid = vertexCentroid(*m_scene->currentModel());
                }
            }
        } else if (type == 5 && (e->buttons & 1) && !m_layFlat && m_grabbed) {
            const auto model = m_scene->currentModel();
            float degrees = 0.0f;
            if (model && planeAngle(m_pressRay, ray, &degrees)) {
                if (!m_command)
                    m_command = std::make_shared<ModelPlacementCommand>(
                        CommandName::RotateModel, m_hooks.commandTarget,
                        std::list<std::shared_ptr<Model>>{model});
                m_dragRotation = rotationMatrix(ringAxis(m_grabbed), degrees * 0.017453292f);
                if (auto drawable = m_frame->drawableOf(model))
                    drawable->setModelMatrix(aboutPoint(m_dragRotation, m_centroid));
                m_rotated = true;
                m_frame->noteViewMoving();
            }
        } else if (type == 5 && e->buttons == 0 && !m_layFlat) {
            const int hovered = ringUnder(ray);
            if (hovered != m_hovered) {
                m_hovered = hovered;
                int kind = 0;
                for (const auto &ring : m_frame->excircles()) {
                    ++kind;
                    ring->mesh()->setColour(kind == m_hovered ? hoverColour(RingColours[kind])
                                                              : RingColours[kind]);
                }
            }
        } else if (type == 3 && e->button == 1 && m_grabbed) {
            const auto model = m_scene->currentModel();
            if (m_rotated && model) {
                if (auto drawable = m_frame->drawableOf(model)) {
                    drawable->applyToMesh();
                    drawable->setModelMatrix(identityMatrix());
                }
                if (m_grabbed != 3)
                    restOnPlatform(*model);
                m_accumulated = multiply(m_dragRotation, m_accumulated);
                m_frame->settleView();
                rebuildRings();
                if (m_command) {
                    m_command->finish();
                    if (m_command->changedAnything() && m_hooks.record)
                        m_hooks.record(m_command);
                }
            }
            m_command.reset();
            m_grabbed = 0;
            m_rotated = false;
        }
    }
    defaultDispatch(record);
}

bool DRotateModelInteractor::applyRotation(const std::shared_ptr<Model> &model,
                                           const Matrix4f &rotation, bool rest, const char *name)
{
    if (!model || !m_scene)
        return false;
    auto command = std::make_shared<ModelPlacementCommand>(
        name, m_hooks.commandTarget, std::list<std::shared_ptr<Model>>{model});
    model->transform(aboutPoint(rotation, vertexCentroid(*model)));
    if (rest)
        restOnPlatform(*model);
    rebuildRings();
    command->finish();
    if (command->changedAnything() && m_hooks.record)
        m_hooks.record(command);
    return true;
}

bool DRotateModelInteractor::rotateModel(const std::shared_ptr<Model> &model, int axisKind,
                                         float degrees, bool rest)
{
    if (axisKind < 1 || axisKind > 3 || !std::isfinite(degrees))
        return false;
    const Matrix4f r = rotationMatrix(ringAxis(axisKind), degrees * 0.017453292f);
    if (!applyRotation(model, r, rest && axisKind != 3, CommandName::RotateModel))
        return false;
    m_lastGrabbed = axisKind;
    m_accumulated = multiply(r, m_accumulated);
    return true;
}

bool DRotateModelInteractor::layFlatOnFace(const std::shared_ptr<Model> &model, int face)
{
    if (!model || !m_scene || face < 0 ||
        static_cast<std::size_t>(face) >= model->faceNormals().size())
        return false;
    const Vec3f n = model->faceNormals()[static_cast<std::size_t>(face)];
    const float len = n.length();
    if (!(len > 0.0f))
        return false;
    auto command = std::make_shared<ModelPlacementCommand>(
        CommandName::LayFlat, m_hooks.commandTarget, std::list<std::shared_ptr<Model>>{model});
    if (model->support())
        m_scene->discardSupports(model);
    const Point3f c = vertexCentroid(*model);
    Matrix4f r = identityMatrix();
    const Vec3f unit = n * (1.0f / len);
    if (unit == Vec3f{0.0f, 0.0f, 1.0f}) {
        r = rotationMatrix({1.0f, 0.0f, 0.0f}, 180.0f * 0.017453292f);
    } else {
        const Vec3f a{-n.y, n.x, 0.0f};
        if (a.length() > 0.0f) {
            const float theta = std::acos(std::max(-1.0f, std::min(1.0f, -n.z / len)));
            r = rotationMatrix(a * (1.0f / a.length()), theta);
        }
    }
    model->transform(aboutPoint(r, c));
    restOnPlatform(*model);
    m_accumulated = multiply(r, m_accumulated);
    command->finish();
    if (command->changedAnything() && m_hooks.record)
        m_hooks.record(command);
    return true;
}

} // namespace Orvane3Ds
