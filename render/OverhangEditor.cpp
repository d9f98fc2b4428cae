#include "render/OverhangEditor.h"

#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/GlMath.h"
#include "render/InputEvent.h"

#include "app/CEnvironmentColors.h"
#include "app/ModelPlacementCommand.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"
#include "geometry/SphereMesh.h"
#include "supports/OverhangFinder.h"

#include <algorithm>

namespace Orvane3Ds
{

namespace
{

constexpr float PreviewRadius = 0.4f;
constexpr float SmallestExtent = 1.0f;

Vec3f role(int r)
{
    return CEnvironmentColors::instance().roleColor(r);
}

} // namespace

OverhangEditor::OverhangEditor() : OpenGLModel(std::make_shared<Mesh3D>())
{
    buildSphereMesh(*m_mesh, {0.0f, 0.0f, 0.0f}, PreviewRadius);
    m_mesh->computeFaceNormals();
}

OverhangEditor::~OverhangEditor() = default;

void OverhangEditor::attach(COrvaneFrame *frame)
{
    OrvaneInteractor::attach(frame);
    if (frame && frame->context()->gl && !isInitialised())
        initGLWhenPossible(frame->context()->gl);
}

void OverhangEditor::applyProjection()
{
    if (!m_frame)
        return;
    CContext &ctx = *m_frame->context();
    ctx.projection = editorOrthoMatrix(m_orthoExtent, ctx.viewportWidth, ctx.viewportHeight);
}

void OverhangEditor::setMode(int mode)
{
    const bool wasOn = m_mode != 0;
    m_mode = mode;
    if (!m_frame)
        return;
    if (mode != 0)
        applyProjection();
    else if (wasOn)
        m_frame->resize(m_frame->widgetWidth(), m_frame->widgetHeight());
    if (mode == 0)
        m_draw = false;
}

void OverhangEditor::handleEvent(const void *record)
{
    editorDispatch(record);
    // A resize writes the perspective projection; the editing projection stays while on.
    if (record && inputEventType(record) == 14 && m_mode != 0)
        applyProjection();
}

bool OverhangEditor::onWheel(int delta)
{
    m_orthoExtent = std::max(SmallestExtent, m_orthoExtent - static_cast<float>(delta) / 50.0f);
    applyProjection();
    return true;
}

bool OverhangEditor::offerPickRay(int x, int y, int width, int height, Ray *ray)
{
    if (m_mode == 0 || !ray)
        return false;
    *ray = rayAt(x, y, width, height);
    return true;
}

OverhangEditor::Pick OverhangEditor::pick(const Ray &ray) const
{
    Pick best;
    if (!m_model)
        return best;
    RayHit hit;
    rayHitModel(ray, m_model, &hit);
    if (hit.isHit()) {
        best.t = hit.distance;
        best.face = hit.face;
        best.point = hit.point;
    }
    for (const auto &point : m_model->overhangs()) {
        if (!point)
            continue;
        // The shared sphere sits around the origin; its corners are moved to the point here.
        const std::shared_ptr<const Mesh3D> shape = point->sharedShape();
        const Mesh3D &sphere = shape ? *shape : *point;
        const Vec3f at = shape ? point->shapeOffset() : Vec3f{0.0f, 0.0f, 0.0f};
        const auto &v = sphere.vertices();
        for (const Face &f : sphere.faces()) {
            if (f[0] >= v.size() || f[1] >= v.size() || f[2] >= v.size())
                continue;
            float t = 0.0f;
            if (rayTriangle(ray, v[f[0]] + at, v[f[1]] + at, v[f[2]] + at, &t) && t < best.t) {
                best.t = t;
                best.face = -1;
                best.marker = point;
            }
        }
    }
    return best;
}

void OverhangEditor::onPress(const Ray &ray)
{
    if (m_mode == 0 || !m_model || !m_scene)
        return;
    const Pick hit = pick(ray);
    const bool record = m_recording && m_hooks.record;
    if (hit.marker) {
        std::shared_ptr<ModelPlacementCommand> command;
        if (record)
            command = std::make_shared<ModelPlacementCommand>(
                CommandName::RemoveSupport, m_hooks.commandTarget,
                std::list<std::shared_ptr<Model>>{m_model});
        m_scene->removeOverhangPoint(hit.marker);
        m_highlighted.reset();
        if (command) {
            command->finish();
            m_hooks.record(command);
        }
        return;
    }
    if (hit.face < 0 || !m_adding || hit.point.z <= 0.1f)
        return;
    const Vec3f normal = m_model->faceNormals().at(static_cast<std::size_t>(hit.face));
    std::shared_ptr<ModelPlacementCommand> command;
    if (record)
        command =
            std::make_shared<ModelPlacementCommand>(CommandName::AddSupport, m_hooks.commandTarget,
                                                    std::list<std::shared_ptr<Model>>{m_model});
    auto point = addManualOverhang(*m_model, hit.point, normal);
    if (!point)
        return;
    // Routed: hand it to the model through the scene, so that its marker is drawn.
    m_model->overhangs().pop_back();
    m_scene->addOverhangPoint(point, m_model);
    if (command) {
        command->finish();
        m_hooks.record(command);
    }
}

void OverhangEditor::onMove(const Ray &ray)
{
    if (m_mode == 0 || !m_model)
        return;
    const Pick hit = pick(ray);
    m_highlighted.reset();
    if (!hit.isHit()) {
        m_draw = false;
        return;
    }
    if (hit.marker) {
        m_highlighted = hit.marker;
        m_draw = false;
        return;
    }
    // The preview marker follows the cursor over faces that point downwards.
    Matrix4f at = translationMatrix(hit.point.x, hit.point.y, hit.point.z);
    setModelMatrix(at);
    m_draw = m_model->faceNormals().at(static_cast<std::size_t>(hit.face)).z < 0.0f;
}

void OverhangEditor::drawOverlay(CContext &context)
{
    if (m_mode == 0)
        return;
    if (m_draw) {
        context.color = context.frontColor = role(2);
        draw(context);
    }
    if (m_highlighted && m_frame) {
        // The marker under the cursor, drawn again over itself in the highlight colour.
        for (const auto &marker : m_frame->overhangMarkers())
            if (marker->mesh() == m_highlighted) {
                context.color = context.frontColor = role(3);
                marker->draw(context);
            }
    }
}

} // namespace Orvane3Ds
