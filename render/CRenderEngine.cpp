#include "render/GlHeaders.h"

#include "render/CRenderEngine.h"

#include "render/CContext.h"
#include "render/COpenGL.h"
#include "render/COrvaneFrame.h"
#include "render/DSceneFrameBinder.h"
#include "render/InputEvent.h"

#include <cstdio>

namespace Orvane3Ds
{

bool initialiseGlew()
{
    glewExperimental = GL_TRUE;
    const GLenum result = glewInit();
    return result == GLEW_OK || result == GLEW_ERROR_NO_GLX_DISPLAY;
}

CRenderEngine::CRenderEngine(DScene *scene, const Vec3f &platform)
    : m_scene(scene), m_platform(platform)
{
}

CRenderEngine::~CRenderEngine()
{
    if (m_frame)
        m_frame->setRepaintRequest({});
}

bool CRenderEngine::initialiseGL()
{
    const bool glew = initialiseGlew();
    if (!m_quiet) {
        std::printf(glew ? "glewInit OK!\n" : "glewInit false!\n");
        std::fflush(stdout);
    }
    if (!glew)
        return false;
    auto context = std::make_shared<CContext>();
    context->platform = m_platform;
    context->clipZ = m_platform.z;
    context->gl = std::make_shared<COpenGL>();
    auto frame = std::make_shared<COrvaneFrame>(context);
    frame->setScene(m_scene);
    context->modelProgram.loadSources(QStringLiteral(":/glsl/old"));
    context->normalProgram.loadSources(QStringLiteral(":/glsl/normal"));
    const bool model = context->modelProgram.build(context);
    const bool normal = context->normalProgram.build(context);
    m_programsBuilt = model && normal;
    frame->initialise();
    frame->setRepaintRequest([this] { requestRepaint(); });
    m_context = context;
    m_frame = frame;
    if (m_scene && m_bindScene)
        bindSceneToFrame(*m_scene, *m_frame);
    return true;
}

void CRenderEngine::paintGL()
{
    if (!m_frame)
        return;
    m_frame->draw();
    m_frame->postDraw();
}

void CRenderEngine::handleGLEvent(const void *record)
{
    if (!m_frame || !record)
        return;
    switch (inputEventType(record)) {
    case 14: {
        const auto *e = static_cast<const ResizeEventRecord *>(record);
        m_frame->resize(e->width, e->height);
        break;
    }
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
        if (e->buttons & 2) {
            m_frame->dragRotate(e->x, e->y);
            requestRepaint();
        } else if (e->buttons & 4) {
            m_frame->dragPan(e->x, e->y);
            requestRepaint();
        }
        break;
    }
    case 31: {
        const auto *e = static_cast<const InputEvent *>(record);
        m_frame->wheel(e->delta);
        requestRepaint();
        break;
    }
    default:
        break;
    }
}

} // namespace Orvane3Ds
