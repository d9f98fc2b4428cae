#include "GlTestSupport.h"

#include "render/COrvaneFrame.h"
#include "render/GlMath.h"
#include "render/QtGlBridge.h"

#include "app/CEnvironmentColors.h"
#include "testsupport/SoupMesh.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace rendertest
{

std::shared_ptr<Model> boxModel(float x0, float y0, float z0, float x1, float y1, float z1)
{
    auto model = testsupport::soupBoxModel(x0, y0, z0, x1, y1, z1);
    model->computeCentroid();
    return model;
}

void useTestColours()
{
    auto &colors = Orvane3Ds::CEnvironmentColors::instance();
    colors.setRoleColor(0, {0.0f, 1.0f, 0.0f});
    colors.setRoleColor(1, {0.0f, 0.0f, 1.0f});
    colors.setRoleColor(2, {1.0f, 1.0f, 0.0f});
    colors.setRoleColor(5, {0.3f, 0.3f, 0.3f});
}

CurrentContext::CurrentContext()
    : m_surface(std::make_unique<QOffscreenSurface>()),
      m_context(std::make_unique<QOpenGLContext>())
{
    m_surface->create();
    m_current = m_context->create() && m_context->makeCurrent(m_surface.get());
}

CurrentContext::~CurrentContext()
{
    if (m_current)
        m_context->doneCurrent();
}

struct GlScene::Target {
    std::unique_ptr<Orvane3Ds::OffscreenTarget> fbo;
};

GlScene::GlScene(int width, int height)
    : m_width(width), m_height(height), m_surface(std::make_unique<QOffscreenSurface>()),
      m_context(std::make_unique<QOpenGLContext>()), m_target(std::make_unique<Target>())
{
    m_surface->create();
    if (!m_context->create() || !m_context->makeCurrent(m_surface.get()))
        return;
    m_engine = std::make_unique<Orvane3Ds::CRenderEngine>(&m_scene);
    m_engine->setQuiet(true);
    if (!m_engine->initialiseGL())
        return;
    m_target->fbo = std::make_unique<Orvane3Ds::OffscreenTarget>(width, height);
    if (!m_target->fbo->bind())
        return;
    frame().resize(width, height);
    m_ready = m_engine->programsBuilt();
}

GlScene::~GlScene()
{
    if (m_context->makeCurrent(m_surface.get())) {
        for (const auto &model : m_scene.models())
            m_scene.removeModel(model);
        m_target.reset();
        m_engine.reset();
        m_context->doneCurrent();
    }
}

Orvane3Ds::COrvaneFrame &GlScene::frame()
{
    return *m_engine->frame();
}

Orvane3Ds::CContext &GlScene::context()
{
    return *m_engine->context();
}

void GlScene::releaseContext()
{
    m_context->doneCurrent();
}

void GlScene::render()
{
    m_context->makeCurrent(m_surface.get());
    m_target->fbo->bind();
    frame().resize(m_width, m_height);
    m_engine->paintGL();
    m_pixels = QByteArray(m_width * m_height * 4, '\0');
    QOpenGLFunctions *f = m_context->functions();
    f->glFinish();
    f->glReadPixels(0, 0, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, m_pixels.data());
}

QColor GlScene::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_pixels.isEmpty())
        return {};
    const int row = m_height - 1 - y;
    const auto *p = reinterpret_cast<const uchar *>(m_pixels.constData()) + (row * m_width + x) * 4;
    return QColor(p[0], p[1], p[2]);
}

QPoint GlScene::project(const Vec3f &world) const
{
    const Vec3f ndc = Orvane3Ds::projectPoint(m_engine->frame()->viewProjection(), world);
    const int x = static_cast<int>((ndc.x + 1.0f) * 0.5f * m_width);
    const int y = m_height - 1 - static_cast<int>((ndc.y + 1.0f) * 0.5f * m_height);
    return {x, y};
}

int GlScene::countPixels(const QColor &colour) const
{
    int n = 0;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            n += pixel(x, y) == colour ? 1 : 0;
    return n;
}

} // namespace rendertest
