#include "render/ViewSamples.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <algorithm>

#ifndef GL_MAX_SAMPLES
#define GL_MAX_SAMPLES 0x8D57
#endif

namespace Orvane3Ds
{

int viewSampleCount(const QString &renderer, int maxSamples)
{
    const QString name = renderer.toLower();
    for (const char *software : {"llvmpipe", "softpipe", "swrast", "software"}) {
        if (name.contains(QLatin1String(software)))
            return 0;
    }
    return std::clamp(maxSamples, 0, 8);
}

int probeViewSampleCount()
{
    static const int samples = [] {
        QOffscreenSurface surface;
        surface.create();
        QOpenGLContext context;
        if (!context.create() || !context.makeCurrent(&surface))
            return 0;
        QOpenGLFunctions *gl = context.functions();
        const auto *renderer = reinterpret_cast<const char *>(gl->glGetString(GL_RENDERER));
        GLint maxSamples = 0;
        gl->glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
        // Contexts older than GL 3.0 without the framebuffer extension know no such query.
        if (gl->glGetError() != GL_NO_ERROR)
            maxSamples = 0;
        const int chosen =
            viewSampleCount(QString::fromLatin1(renderer ? renderer : ""), maxSamples);
        context.doneCurrent();
        return chosen;
    }();
    return samples;
}

} // namespace Orvane3Ds
