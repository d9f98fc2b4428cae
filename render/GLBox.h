#pragma once

#include <QOpenGLWidget>

class QInputEvent;

namespace Orvane3Ds
{
class IGlApplication;
}

// The 3D view widget: owns the GL context, calls the application's GL entry points and turns
// Qt input events into the plain records the rendering code consumes.
class GLBox : public QOpenGLWidget
{
    Q_OBJECT
  public:
    explicit GLBox(Orvane3Ds::IGlApplication *app, QWidget *parent = nullptr);
    ~GLBox() override;

    // True once the application's initialise entry point returned true.
    bool isGlReady() const { return m_ready; }

  protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

  private:
    // Hands an input event to the application as a plain record, the GL context current.
    void sendInput(const QInputEvent *event, const QPoint &pos, Qt::MouseButton button,
                   Qt::MouseButtons buttons, int delta);
    void sendMouse(QMouseEvent *event);

    Orvane3Ds::IGlApplication *m_app = nullptr;
    bool m_ready = false;
};
