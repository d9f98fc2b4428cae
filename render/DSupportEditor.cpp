#include "render/DSupportEditor.h"

#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/GlMath.h"
#include "render/InputEvent.h"
#include "render/OpenGLModel.h"

#include "app/ModelPlacementCommand.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"
#include "supports/DsCylider.h"
#include "supports/DsPoint.h"
#include "supports/ManualSupportRecord.h"
#include "supports/OverhangFinder.h"
#include "supports/SupportJob.h"

#include <QDebug>
#include <Qt>

#include <algorithm>
#include <cmath>

namespace Orvane3Ds
{

namespace
{

constexpr float SmallestExtent = 1.0f;
constexpr float SameBall = 1e-4f;

// Moller-Trumbore from either side: balls and rods are picked whichever way their faces wind.
bool rayTriangleTwoSided(const Ray &ray, const Vec3f &a, const Vec3f &b, const Vec3f &c, float *t)
{
    const Vec3f e1 = b - a;
    const Vec3f e2 = c - a;
    const Vec3f p = ray.direction.cross(e2);
    const float det = e1.dot(p);
    if (std::fabs(det) < 1e-12f)
        return false;
    const float inv = 1.0f / det;
    const Vec3f s = ray.origin - a;
    const float u = s.dot(p) * inv;
    if (u < 0.0f || u > 1.0f)
        return false;
    const Vec3f q = s.cross(e1);
    const float v = ray.direction.dot(q) * inv;
    if (v < 0.0f || u + v > 1.0f)
        return false;
    const float hit = e2.dot(q) * inv;
    if (hit < 0.0f)
        return false;
    *t = hit;
    return true;
}

float distance(const Point3f &a, const Point3f &b)
{
    return (a - b).length();
}

// Where the ray meets the plane through `point` with `normal`; false when parallel or behind.
bool rayPlane(const Ray &ray, const Point3f &point, const Vec3f &normal, float *t)
{
    const float denom = normal.dot(ray.direction);
    if (std::fabs(denom) < 1e-12f)
        return false;
    const float hit = normal.dot(point - ray.origin) / denom;
    if (!std::isfinite(hit) || hit < 0.0f)
        return false;
    *t = hit;
    return true;
}

} // namespace

DSupportEditor::DSupportEditor()
    : m_first(std::make_shared<DsPoint>()), m_second(std::make_shared<DsPoint>()),
      m_rod(std::make_shared<DsCylider>(m_first, m_second, 0.1f, 0.1f))
{
    for (const std::shared_ptr<Mesh3D> &piece :
         {std::shared_ptr<Mesh3D>(m_first), std::shared_ptr<Mesh3D>(m_second),
          std::shared_ptr<Mesh3D>(m_rod)})
        piece->setColour(PreviewColour);
    m_firstDrawable = std::make_shared<OpenGLModel>(m_first);
    m_secondDrawable = std::make_shared<OpenGLModel>(m_second);
    m_rodDrawable = std::make_shared<OpenGLModel>(m_rod);
}

DSupportEditor::~DSupportEditor() = default;

void DSupportEditor::attach(COrvaneFrame *frame)
{
    OrvaneInteractor::attach(frame);
    if (!frame || !frame->context()->gl)
        return;
    for (const auto &d : {m_firstDrawable, m_secondDrawable, m_rodDrawable})
        if (!d->isInitialised())
            d->initGLWhenPossible(frame->context()->gl);
}

void DSupportEditor::applyProjection()
{
    if (!m_frame)
        return;
    CContext &ctx = *m_frame->context();
    ctx.projection = editorOrthoMatrix(m_orthoExtent, ctx.viewportWidth, ctx.viewportHeight);
}

void DSupportEditor::setMode(int mode)
{
    const bool wasOn = m_mode != 0;
    m_mode = mode;
    if (!m_frame)
        return;
    if (mode != 0) {
        applyProjection();
        m_highlight.clear();
        if (const auto model = editedModel())
            for (std::size_t i = 0; i < model->faces().size(); ++i)
                if (isOverhangFaceForDisplay(*model, i))
                    m_highlight.push_back(static_cast<int>(i));
    } else {
        if (wasOn)
            m_frame->resize(m_frame->widgetWidth(), m_frame->widgetHeight());
        setHovered({});
        m_selected.reset();
        m_highlight.clear();
    }
}

void DSupportEditor::handleEvent(const void *record)
{
    if (!m_frame || !record)
        return;
    // A recorded change that was taken back drops the frame's edited model; editing goes on.
    if (m_mode != 0 && m_model && m_frame->editedModel() != m_model)
        m_frame->setEditedModel(m_model);
    const std::uint16_t type = inputEventType(record);
    if (type == 6) {
        // The model being edited must not go with a key meant for a rod.
        onKey(static_cast<const KeyEventRecord *>(record)->key);
        return;
    }
    editorDispatch(record);
    // A resize writes the perspective projection; the editing projection stays while on.
    if (type == 14 && m_mode != 0)
        applyProjection();
}

bool DSupportEditor::onWheel(int delta)
{
    m_orthoExtent = std::max(SmallestExtent, m_orthoExtent - static_cast<float>(delta) / 20.0f);
    applyProjection();
    return true;
}

bool DSupportEditor::offerPickRay(int x, int y, int width, int height, Ray *ray)
{
    if (m_mode == 0 || !ray)
        return false;
    *ray = rayAt(x, y, width, height);
    return true;
}

void DSupportEditor::onMiddlePress(int x, int y)
{
    if (m_mode == 0)
        return;
    m_platformPrior = !m_platformPrior;
    if (m_onMiddle)
        m_onMiddle(x, y);
}

bool DSupportEditor::insidePlatform(const Point3f &p, bool strict) const
{
    if (!m_frame)
        return true;
    const Vec3f &platform = m_frame->context()->platform;
    const float hx = platform.x / 2.0f;
    const float hy = platform.y / 2.0f;
    if (strict)
        return std::fabs(p.x) < hx && std::fabs(p.y) < hy;
    return std::fabs(p.x) <= hx && std::fabs(p.y) <= hy;
}

DSupportEditor::Pick DSupportEditor::pick(const Ray &ray, bool substitute) const
{
    Pick best;
    const auto model = editedModel();
    if (model) {
        RayHit hit;
        rayHitModel(ray, model, &hit);
        if (hit.isHit()) {
            best.kind = ModelHit;
            best.t = hit.distance;
            best.point = hit.point;
            best.face = hit.face;
        }
        for (const auto &piece : model->manualSupports().parts) {
            if (!piece)
                continue;
            // Balls and rods draw a shared shape around the origin; its corners are put where
            // the piece is.
            const std::shared_ptr<const Mesh3D> shape = piece->sharedShape();
            const Mesh3D &mesh = shape ? *shape : *piece;
            const Matrix4f place = shape ? piece->shapePlacement() : identityMatrix();
            const auto &v = mesh.vertices();
            const bool isBall = dynamic_cast<const DsPoint *>(piece.get()) != nullptr;
            for (const Face &f : mesh.faces()) {
                if (f[0] >= v.size() || f[1] >= v.size() || f[2] >= v.size())
                    continue;
                float t = 0.0f;
                if (rayTriangleTwoSided(ray, transformPoint(place, v[f[0]]),
                                        transformPoint(place, v[f[1]]),
                                        transformPoint(place, v[f[2]]), &t) &&
                    t < best.t) {
                    best.kind = isBall ? BallHit : RodHit;
                    best.t = t;
                    best.point = ray.origin + ray.direction * t;
                    best.face = -1;
                    best.piece = piece;
                }
            }
        }
    }
    if (!substitute || !m_settings.growFromFloor)
        return best;
    float t = 0.0f;
    if (!rayPlane(ray, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, &t))
        return best;
    if (best.kind == Nothing || (t < best.t && m_platformPrior)) {
        Pick platform;
        platform.t = t;
        platform.point = ray.origin + ray.direction * t;
        platform.point.z = 0.0f;
        platform.platform = true;
        return platform;
    }
    return best;
}

DSupportEditor::Pick DSupportEditor::pickAlong(const Point3f &from, const Vec3f &direction) const
{
    return pick(Ray{from, direction}, false);
}

void DSupportEditor::begin(const Point3f &point, bool upward)
{
    m_guidePoint = point;
    m_first->setCentre(point);
    m_second->setCentre(point);
    m_upward = upward;
    m_rod->rebuild();
    m_pending = true;
}

void DSupportEditor::alignPreview()
{
    const bool secondHigher = m_second->centre().z >= m_first->centre().z;
    m_first->setRadius(secondHigher ? m_settings.bottomBallRadius : m_settings.topBallRadius);
    m_second->setRadius(secondHigher ? m_settings.topBallRadius : m_settings.bottomBallRadius);
    m_rod->setRadii(m_settings.rodTopRadius, m_settings.rodBottomRadius);
}

void DSupportEditor::setHovered(const std::shared_ptr<Mesh3D> &piece)
{
    if (m_hovered && m_hovered != piece)
        m_hovered->setColour(m_hovered->kindTag() == ObjectKind::ManualSupportPoint ? BallColour
                                                                                    : RodColour);
    m_hovered = piece;
    if (m_hovered)
        m_hovered->setColour(HoverColour);
}

void DSupportEditor::select(const std::shared_ptr<DsCylider> &rod)
{
    m_selected = rod;
    if (m_onSelect)
        m_onSelect(rod);
}

void DSupportEditor::recordChange(const char *name, const std::function<void()> &change)
{
    const auto model = editedModel();
    if (!model) {
        change();
        return;
    }
    auto command = std::make_shared<ModelPlacementCommand>(
        name, m_hooks.commandTarget, std::list<std::shared_ptr<Model>>{model});
    change();
    command->finish();
    if (command->changedAnything() && m_hooks.record)
        m_hooks.record(command);
}

void DSupportEditor::onPress(const Ray &ray)
{
    if (m_mode == 0 || !m_scene)
        return;
    m_pressed = true;
    const auto model = editedModel();
    if (!model)
        return;
    if (m_pending) {
        if (m_settings.limitAtZAxis) {
            m_pending = false;
            finishRod(Pick{});
            return;
        }
        const Pick hit = pick(ray, true);
        if (hit.kind == ModelHit || hit.kind == BallHit) {
            m_pending = false;
            finishRod(hit);
        }
        return;
    }
    const Pick hit = pick(ray, true);
    switch (hit.kind) {
    case ModelHit: {
        const Vec3f normal = model->faceNormals().at(static_cast<std::size_t>(hit.face));
        if (m_settings.growFromFloor && normal.z > 0.71f)
            return;
        m_startBall.reset();
        begin(hit.point, normal.z > 0.0f);
        break;
    }
    case BallHit: {
        auto ball = std::static_pointer_cast<DsPoint>(hit.piece);
        const bool ownEnd =
            m_selected && (m_selected->top() == ball || m_selected->bottom() == ball);
        if (!m_selected) {
            m_startBall = ball;
            begin(ball->centre(), ball->centre().z <= SameBall);
        } else if (ownEnd) {
            pickUpEnd(ball);
        } else {
            // The last move put the cursor marker on this ball's centre.
            m_startBall = ball;
            begin(m_first->centre(), m_first->centre().z <= SameBall);
        }
        m_guidePoint = m_first->centre();
        break;
    }
    case RodHit:
        select(std::static_pointer_cast<DsCylider>(hit.piece));
        break;
    case Nothing:
        if (!hit.platform)
            return;
        if (std::fabs(hit.point.x) > m_frame->context()->platform.x / 2.0f) {
            qDebug() << "beyond platform x";
            return;
        }
        if (std::fabs(hit.point.y) > m_frame->context()->platform.y / 2.0f) {
            qDebug() << "beyond platform y";
            return;
        }
        m_startBall.reset();
        begin(hit.point, true);
        break;
    }
}

void DSupportEditor::pickUpEnd(const std::shared_ptr<DsPoint> &picked)
{
    const std::shared_ptr<DsCylider> rod = m_selected;
    const std::shared_ptr<DsPoint> other = rod->top() == picked ? rod->bottom() : rod->top();
    m_rod->setRadii(rod->topRadius(), rod->bottomRadius());
    m_first->setCentre(other->centre());
    m_first->setRadius(other->radius());
    m_second->setCentre(picked->centre());
    m_second->setRadius(picked->radius());
    m_upward = m_second->centre().z > m_first->centre().z;
    m_rod->rebuild();
    recordChange(CommandName::RemoveSupport, [this, &rod] {
        m_scene->removeManualPiece(rod->top(), m_model);
        m_scene->removeManualPiece(rod->bottom(), m_model);
        m_scene->removeManualPiece(rod, m_model);
    });
    // A ball shared with another rod stays; the moved rod goes on from it.
    const auto model = editedModel();
    const auto &parts = model->manualSupports().parts;
    m_startBall = std::find(parts.begin(), parts.end(), other) != parts.end() ? other : nullptr;
    setHovered({});
    m_selected.reset();
    if (m_onSelect)
        m_onSelect(nullptr);
    m_pending = true;
}

void DSupportEditor::finishRod(const Pick &press)
{
    m_pending = false;
    const auto model = editedModel();
    if (!model || distance(m_first->centre(), m_second->centre()) < ShortestRod) {
        m_startBall.reset();
        return;
    }
    ManualSupports &manual = model->manualSupports();
    if (!manual.shared) {
        auto record = std::make_shared<ManualSupportRecord>();
        record->setOwner(model);
        manual.shared = record;
    }
    const auto pressedBall = press.kind == BallHit && !m_settings.limitAtZAxis
                                 ? std::static_pointer_cast<DsPoint>(press.piece)
                                 : nullptr;
    const auto startBall = m_startBall;
    m_startBall.reset();
    std::shared_ptr<DsCylider> made;
    recordChange(CommandName::AddSupport, [&] {
        auto endBall = [&](const std::shared_ptr<DsPoint> &end, bool second) {
            for (const auto &existing : {pressedBall, startBall}) {
                if (!existing || distance(existing->centre(), end->centre()) > SameBall)
                    continue;
                const auto &parts = model->manualSupports().parts;
                if (std::find(parts.begin(), parts.end(), existing) == parts.end())
                    continue;
                if (second && end->radius() > existing->radius()) {
                    existing->setRadius(end->radius());
                    m_scene->manualPieceChanged(existing);
                }
                return existing;
            }
            auto ball = std::make_shared<DsPoint>(end->centre(), end->radius());
            ball->setColour(BallColour);
            ball->setManualOwner(model);
            m_scene->addManualPiece(ball, model);
            return ball;
        };
        auto a = endBall(m_first, false);
        auto b = endBall(m_second, true);
        made = std::make_shared<DsCylider>(a, b, m_rod->topRadius(), m_rod->bottomRadius());
        made->setColour(RodColour);
        made->setManualOwner(model);
        a->links().push_back(made);
        b->links().push_back(made);
        m_scene->addManualPiece(made, model);
    });
    select(made);
}

void DSupportEditor::onRelease(const Ray &)
{
    m_pressed = false;
}

void DSupportEditor::movePendingAlongZ(const Ray &ray)
{
    float t = 0.0f;
    float h = 0.0f;
    if (rayPlane(ray, m_guidePoint, m_guideNormal, &t))
        h = (ray.origin + ray.direction * t).z;
    else if (rayPlane(Ray{ray.origin, ray.direction * -1.0f}, m_guidePoint, m_guideNormal, &t))
        h = (ray.origin - ray.direction * t).z;
    h = std::max(h, 0.0f);
    const Point3f first = m_first->centre();
    auto snapLog = [this](const char *what, const Point3f &hit) {
        const Point3f v = m_second->centre();
        qDebug() << what;
        qDebug() << "v1:" << v.x << v.y << v.z;
        qDebug() << "nisd:" << hit.x << hit.y << hit.z;
    };
    if (m_settings.growFromFloor) {
        if (first.z == 0.0f) {
            const Pick hit = pickAlong(first, {0.0f, 0.0f, 1.0f});
            if (hit.kind == ModelHit && std::fabs(hit.point.z - h) <= 1.0f) {
                m_second->setCentre(hit.point);
                snapLog("u intersect with model", hit.point);
            } else {
                m_second->setCentre({first.x, first.y, h});
            }
        } else {
            m_second->setCentre({first.x, first.y, 0.0f});
        }
        return;
    }
    if (m_upward) {
        if (h <= first.z)
            return;
        const Pick hit = pickAlong({first.x, first.y, first.z + 1.0f}, {0.0f, 0.0f, 1.0f});
        if (hit.kind != Nothing && std::fabs(hit.point.z - h) <= 1.0f) {
            m_second->setCentre(hit.point);
            snapLog("u intersect with model", hit.point);
        } else {
            m_second->setCentre({first.x, first.y, h});
        }
    } else {
        if (h >= first.z)
            return;
        const Pick hit = pickAlong({first.x, first.y, first.z - 1.0f}, {0.0f, 0.0f, -1.0f});
        if (hit.kind != Nothing && std::fabs(hit.point.z - h) <= 1.0f) {
            m_second->setCentre(hit.point);
            snapLog("d intersect with model", hit.point);
        } else {
            m_second->setCentre({first.x, first.y, h <= 1.0f ? 0.0f : h});
        }
    }
}

void DSupportEditor::onMove(const Ray &ray)
{
    if (m_mode == 0)
        return;
    const float length = ray.direction.length();
    if (length > 0.0f)
        m_guideNormal = ray.direction * (-1.0f / length);
    setHovered({});
    if (!m_pending) {
        const Pick hit = pick(ray, true);
        if (hit.kind == ModelHit) {
            m_first->setCentre(hit.point);
        } else if (hit.kind == BallHit) {
            auto ball = std::static_pointer_cast<DsPoint>(hit.piece);
            if (m_selected) {
                m_first->setCentre(ball->centre());
                setHovered(ball);
            }
        } else if (hit.kind == RodHit) {
            setHovered(hit.piece);
        } else if (hit.platform) {
            if (insidePlatform(hit.point, true))
                m_first->setCentre(hit.point);
            else
                qDebug() << "beyond the platform max value;";
        }
    } else if (m_settings.limitAtZAxis) {
        movePendingAlongZ(ray);
    } else {
        const Pick hit = pick(ray, false);
        if (hit.kind == ModelHit) {
            m_second->setCentre(hit.point);
        } else if (hit.kind == BallHit) {
            auto ball = std::static_pointer_cast<DsPoint>(hit.piece);
            m_second->setCentre(ball->centre());
            setHovered(ball);
        } else {
            float t = 0.0f;
            if (rayPlane(ray, m_guidePoint, m_guideNormal, &t)) {
                Point3f p = ray.origin + ray.direction * t;
                p.z = std::max(p.z, 0.0f);
                m_second->setCentre(p);
            }
        }
    }
    if (m_hovered)
        m_hovered->setColour(HoverColour);
    alignPreview();
}

void DSupportEditor::cancelPending()
{
    m_pending = false;
    m_startBall.reset();
}

void DSupportEditor::deleteSelected()
{
    if (!m_selected || !m_scene)
        return;
    const std::shared_ptr<DsCylider> rod = m_selected;
    setHovered({});
    recordChange(CommandName::RemoveSupport, [this, &rod] {
        m_scene->removeManualPiece(rod->top(), m_model);
        m_scene->removeManualPiece(rod->bottom(), m_model);
        m_scene->removeManualPiece(rod, m_model);
    });
    m_selected.reset();
    if (m_onSelect)
        m_onSelect(nullptr);
}

void DSupportEditor::onKey(int key)
{
    if (m_mode == 0)
        return;
    if (key == Qt::Key_Escape) {
        if (m_pending)
            cancelPending();
        else
            deleteSelected();
    } else if (key == Qt::Key_Delete) {
        deleteSelected();
    }
}

void DSupportEditor::applySettings(const ManualSupportSettings &settings)
{
    const auto model = m_mode != 0 ? m_model : nullptr;
    if (settings.moveUpHeight != m_settings.moveUpHeight && model) {
        recordChange(CommandName::AddSupport,
                     [&model, &settings] { liftModelToHeight(*model, settings.moveUpHeight); });
        // The rods went up with the model; a rod begun before no longer starts on it, and the
        // selected rod's numbers are shown again where it now stands.
        cancelPending();
        m_settings = settings;
        alignPreview();
        if (m_selected && m_onSelect)
            m_onSelect(m_selected);
        return;
    }
    m_settings = settings;
    alignPreview();
    if (!m_selected || !m_scene)
        return;
    const std::shared_ptr<DsCylider> rod = m_selected;
    recordChange(CommandName::AddSupport, [this, &rod, &settings] {
        rod->setRadii(settings.rodTopRadius, settings.rodBottomRadius);
        const bool secondHigher = rod->bottom()->centre().z >= rod->top()->centre().z;
        const auto &higher = secondHigher ? rod->bottom() : rod->top();
        const auto &lower = secondHigher ? rod->top() : rod->bottom();
        higher->setCentre(settings.topPoint);
        higher->setRadius(settings.topBallRadius);
        lower->setCentre(settings.bottomPoint);
        lower->setRadius(settings.bottomBallRadius);
        rod->rebuild();
        if (rod->top()->ballRodCount() > 0)
            m_scene->manualPieceChanged(rod->top());
        m_scene->manualPieceChanged(rod->bottom());
        m_scene->manualPieceChanged(rod);
        // Other rods ending in a moved ball follow it.
        for (const auto &ball : {rod->top(), rod->bottom()})
            for (const auto &link : ball->links())
                if (auto other = std::dynamic_pointer_cast<DsCylider>(link.lock());
                    other && other != rod) {
                    other->rebuild();
                    m_scene->manualPieceChanged(other);
                }
    });
}

void DSupportEditor::drawOverlay(CContext &context)
{
    if (m_mode == 0)
        return;
    const auto model = editedModel();
    const auto drawable = model && m_frame ? m_frame->drawableOf(model) : nullptr;
    auto drawPiece = [&context](OpenGLModel &d) {
        context.color = context.frontColor = PreviewColour;
        d.draw(context);
    };
    // The preview lives in platform coordinates, like the placed pieces.
    for (const auto &d : {m_firstDrawable, m_secondDrawable, m_rodDrawable})
        d->setModelMatrix(drawable ? drawable->modelMatrix() : identityMatrix());
    drawPiece(*m_firstDrawable);
    if (m_pending) {
        drawPiece(*m_secondDrawable);
        drawPiece(*m_rodDrawable);
    }
}

} // namespace Orvane3Ds
