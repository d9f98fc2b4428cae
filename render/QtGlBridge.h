#pragma once

#include <memory>

class QObject;

// Qt's GL classes in a unit of their own: Qt's GL headers and GLEW's must not meet in one file.
namespace Orvane3Ds
{

// True when some GL context is current on this thread.
bool hasCurrentGlContext();
// The context current on this thread (a QOpenGLContext), or null. GL names belong to it.
QObject *currentGlContext();

// A colour + depth framebuffer object of the given size, bound by bind() and released (back to
// the context's default framebuffer) by release() or destruction. Needs a current context.
class OffscreenTarget
{
  public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget &) = delete;
    OffscreenTarget &operator=(const OffscreenTarget &) = delete;

    bool isValid() const;
    bool bind();
    void release();

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace Orvane3Ds
