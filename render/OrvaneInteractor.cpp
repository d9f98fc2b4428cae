#include "render/OrvaneInteractor.h"

#include "render/CContext.h"
#include "render/COrvaneFrame.h"
#include "render/GlMath.h"
#include "render/InputEvent.h"

#include <Qt>

namespace Orvane3Ds
{

void OrvaneInteractor::attach(COrvaneFrame *frame)
{
    m_frame = frame;
    m_scene = frame ? frame->scene() : nullptr;
}

bool OrvaneInteractor::onWheel(int delta)
{
    if (m_frame)
        m_frame->zoomBy(static_cast<float>(delta / 10));
    return true;
}

Ray OrvaneInteractor::rayAt(int x, int y, int width, int height) const
{
    Ray ray;
    if (!m_frame || width <= 0 || height <= 0)
        return ray;
    const CContext &ctx = *m_frame->context();
    Matrix4f inverse;
    if (!invertMatrix(multiply(ctx.projection, ctx.view), inverse))
        return ray;
    const float nx = 2.0f * (static_cast<float>(x) / width) - 1.0f;
    const float ny = 2.0f * (static_cast<float>(height - 1 - y) / height) - 1.0f;
    const Vec3f nearPoint = projectPoint(inverse, {nx, ny, -1.0f});
    const Vec3f farPoint = projectPoint(inverse, {nx, ny, 1.0f});
    ray.origin = nearPoint;
    ray.direction = farPoint - nearPoint;
    return ray;
}

void OrvaneInteractor::defaultDispatch(const void *record)
{
    if (!m_frame || !record)
        return;
    switch (inputEventType(record)) {
    case 2: {
        const auto *e = static_cast<const InputEvent *>(record);
        if (e->button == 2)
            m_frame->pressRight(e->x, e->y);
        else if (e->button == 4)
            m_frame->pressMiddle(e->x, e->y);
        break;
    }
    case 5: {
        const auto *e = static_cast<const InputEvent *>(record);
        if (e->buttons & 2)
            m_frame->dragRotate(e->x, e->y);
        else if (e->buttons & 4)
            m_frame->dragPan(e->x, e->y);
        break;
    }
    case 6: {
        const auto *e = static_cast<const KeyEventRecord *>(record);
        if (e->key == Qt::Key_Delete && m_hooks.deleteSelection)
            m_hooks.deleteSelection();
        break;
    }
    case 14: {
        const auto *e = static_cast<const ResizeEventRecord *>(record);
        m_frame->resize(e->width, e->height);
        break;
    }
    case 31: {
        const auto *e = static_cast<const InputEvent *>(record);
        m_frame->wheel(e->delta);
        break;
    }
    default:
        break;
    }
}

void OrvaneInteractor::editorDispatch(const void *record)
{
    if (!m_frame || !record)
        return;
    const std::uint16_t type = inputEventType(record);
    if (type == 2 || type == 3 || type == 5) {
        const auto *e = static_cast<const InputEvent *>(record);
        const Ray ray = m_frame->pickRay(e->x, e->y, e->widgetWidth, e->widgetHeight);
        if (type == 2 && e->button == 1)
            onPress(ray);
        else if (type == 3 && e->button == 1)
            onRelease(ray);
        else if (type == 5)
            onMove(ray);
    } else if (type == 6) {
        onKey(static_cast<const KeyEventRecord *>(record)->key);
    }
    defaultDispatch(record);
}

} // namespace Orvane3Ds
