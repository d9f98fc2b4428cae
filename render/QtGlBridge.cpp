#include "render/QtGlBridge.h"

#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

namespace Orvane3Ds
{

bool hasCurrentGlContext()
{
    return QOpenGLContext::currentContext() != nullptr;
}

QObject *currentGlContext()
{
    return QOpenGLContext::currentContext();
}

struct OffscreenTarget::Impl {
    std::unique_ptr<QOpenGLFramebufferObject> fbo;
    bool bound = false;
};

OffscreenTarget::OffscreenTarget(int width, int height) : m_impl(std::make_unique<Impl>())
{
    if (hasCurrentGlContext())
        m_impl->fbo = std::make_unique<QOpenGLFramebufferObject>(
            width, height, QOpenGLFramebufferObject::CombinedDepthStencil);
}

OffscreenTarget::~OffscreenTarget()
{
    release();
}

bool OffscreenTarget::isValid() const
{
    return m_impl->fbo && m_impl->fbo->isValid();
}

bool OffscreenTarget::bind()
{
    m_impl->bound = isValid() && m_impl->fbo->bind();
    return m_impl->bound;
}

void OffscreenTarget::release()
{
    if (m_impl->bound)
        m_impl->fbo->release();
    m_impl->bound = false;
}

} // namespace Orvane3Ds
