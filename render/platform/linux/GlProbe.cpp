#include "render/GlVersionCheck.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace Orvane3Ds
{

// Reads the driver strings through a hidden surface and a context of its own, so the answer
// does not depend on the view's context (which may not exist yet).
QStringList probeGlStrings()
{
    QOffscreenSurface surface;
    surface.create();
    if (!surface.isValid())
        return {};
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface))
        return {};
    QOpenGLFunctions *f = context.functions();
    QStringList strings;
    for (GLenum name : {GLenum(GL_VERSION), GLenum(GL_VENDOR), GLenum(GL_RENDERER),
                        GLenum(GL_SHADING_LANGUAGE_VERSION), GLenum(GL_EXTENSIONS)}) {
        const auto *text = reinterpret_cast<const char *>(f->glGetString(name));
        strings << QString::fromLatin1(text ? text : "");
    }
    context.doneCurrent();
    return strings;
}

} // namespace Orvane3Ds
