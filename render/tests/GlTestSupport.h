#pragma once

#include "render/CRenderEngine.h"

#include "geometry/DScene.h"
#include "geometry/Model.h"

#include <QByteArray>
#include <QColor>
#include <QPoint>

#include <memory>

class QOffscreenSurface;
class QOpenGLContext;

namespace rendertest
{

// A model made of the box (x0,y0,z0)-(x1,y1,z1) as a triangle soup with face normals.
std::shared_ptr<Model> boxModel(float x0, float y0, float z0, float x1, float y1, float z1);

// Role colours easy to tell apart: model green, selected blue, overhangs yellow.
void useTestColours();

// A GL context on a hidden surface, current while the object lives.
class CurrentContext
{
  public:
    CurrentContext();
    ~CurrentContext();
    bool isCurrent() const { return m_current; }

  private:
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLContext> m_context;
    bool m_current = false;
};

// A GL context on a hidden surface, current for the lifetime of the object, with an engine over
// its own scene and a framebuffer of the given size bound for drawing.
class GlScene
{
  public:
    GlScene(int width = 320, int height = 240);
    ~GlScene();

    bool isReady() const { return m_ready; }
    DScene &scene() { return m_scene; }
    Orvane3Ds::CRenderEngine &engine() { return *m_engine; }
    Orvane3Ds::COrvaneFrame &frame();
    Orvane3Ds::CContext &context();

    // Leaves no context current (as outside a paint of the view); render() makes it current.
    void releaseContext();
    // Draws one frame and reads it back.
    void render();
    QColor pixel(int x, int y) const; // widget coordinates, origin top-left
    // Widget pixel of a world point under the current camera.
    QPoint project(const Vec3f &world) const;
    int countPixels(const QColor &colour) const;
    int width() const { return m_width; }
    int height() const { return m_height; }

  private:
    int m_width;
    int m_height;
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLContext> m_context;
    DScene m_scene;
    std::unique_ptr<Orvane3Ds::CRenderEngine> m_engine;
    struct Target;
    std::unique_ptr<Target> m_target;
    QByteArray m_pixels;
    bool m_ready = false;
};

} // namespace rendertest
