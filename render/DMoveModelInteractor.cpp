#include "render/DMoveModelInteractor.h"

#include "render/COrvaneFrame.h"
#include "render/InputEvent.h"
#include "render/OpenGLModel.h"

#include "app/ModelPlacementCommand.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"

#include <Qt>

#include <cmath>

namespace Orvane3Ds
{

namespace
{

bool addsToSelection(std::uint32_t modifiers)
{
    return (modifiers & (Qt::ControlModifier | Qt::ShiftModifier)) != 0;
}

} // namespace

DMoveModelInteractor::DMoveModelInteractor() = default;
DMoveModelInteractor::~DMoveModelInteractor() = default;

void DMoveModelInteractor::handleEvent(const void *record)
{
    if (!record || !m_frame || !m_scene) {
        defaultDispatch(record);
        return;
    }
    const std::uint16_t type = inputEventType(record);
    if (type == 2 || type == 3 || type == 5) {
        const auto *e = static_cast<const InputEvent *>(record);
        if (type == 2 && e->button == 1)
            press(e->x, e->y, e->widgetWidth, e->widgetHeight, addsToSelection(e->modifiers));
        else if (type == 5 && (e->buttons & 1) && m_pressed)
            drag(e->x, e->y, e->widgetWidth, e->widgetHeight);
        else if (type == 3 && e->button == 1 && m_pressed)
            release(addsToSelection(e->modifiers));
    }
    defaultDispatch(record);
}

void DMoveModelInteractor::press(int x, int y, int width, int height, bool addToSelection)
{
    m_lastHit = m_scene->nearestHit(m_frame->pickRay(x, y, width, height));
    m_pressedModel.reset();
    m_offset = {};
    m_command.reset();
    if (m_lastHit.isHit()) {
        if (!m_scene->isSelected(m_lastHit.model)) {
            if (!addToSelection)
                m_scene->clearSelection();
            m_scene->select(m_lastHit.model);
        } else {
            m_pressedModel = m_lastHit.model;
        }
        m_pressed = true;
        m_moved = false;
    } else {
        m_scene->clearSelection();
    }
    m_lastX = x;
    m_lastY = y;
}

bool DMoveModelInteractor::planePoint(int x, int y, int width, int height, Vec3f *point) const
{
    const Ray ray = m_frame->pickRay(x, y, width, height);
    if (!(std::fabs(ray.direction.z) > 1e-12f))
        return false;
    const float t = -ray.origin.z / ray.direction.z;
    if (!std::isfinite(t))
        return false;
    *point = ray.origin + ray.direction * t;
    return true;
}

void DMoveModelInteractor::drag(int x, int y, int width, int height)
{
    const auto selection = m_scene->selection();
    if (selection.empty())
        return;
    Vec3f from;
    Vec3f to;
    if (!planePoint(m_lastX, m_lastY, width, height, &from) ||
        !planePoint(x, y, width, height, &to))
        return;
    if (!m_command)
        m_command = std::make_shared<ModelPlacementCommand>(CommandName::MoveModel,
                                                            m_hooks.commandTarget, selection);
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    for (const auto &model : selection)
        if (auto drawable = m_frame->drawableOf(model))
            drawable->translateXY(dx, dy);
    m_offset.x += dx;
    m_offset.y += dy;
    m_moved = true;
    // The view draws stand-ins until the motion settles: the meshes only move on release.
    m_frame->noteViewMoving();
    m_lastX = x;
    m_lastY = y;
}

void DMoveModelInteractor::release(bool addToSelection)
{
    if (m_moved) {
        for (const auto &model : m_scene->selection()) {
            auto drawable = m_frame->drawableOf(model);
            if (!drawable)
                continue;
            drawable->applyToMesh();
            // The mesh holds the move now; the drawable must not apply it a second time.
            drawable->setModelMatrix(identityMatrix());
            if (!model->support() && model->manualSupports().isEmpty()) {
                model->recomputeBounds();
                const float minZ = model->boundingBox().min.z;
                if (minZ != 0.0f)
                    model->transform(translationMatrix(0.0f, 0.0f, -minZ));
            }
        }
        m_frame->settleView();
        if (m_command) {
            m_command->finish();
            if (m_command->changedAnything() && m_hooks.record)
                m_hooks.record(m_command);
        }
    } else if (addToSelection) {
        if (m_pressedModel)
            m_scene->deselect(m_pressedModel);
    } else if (m_lastHit.isHit()) {
        m_scene->clearSelection();
        m_scene->select(m_lastHit.model);
    }
    m_command.reset();
    m_pressed = false;
    m_moved = false;
}

} // namespace Orvane3Ds
