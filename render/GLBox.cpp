#include "render/GLBox.h"

#include "render/IGlApplication.h"
#include "render/InputEvent.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>

#include <cstdio>

GLBox::GLBox(Orvane3Ds::IGlApplication *app, QWidget *parent) : QOpenGLWidget(parent), m_app(app)
{
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button pressed drive the hover of the rotation rings and the editors'
    // preview markers from the first movement on.
    setMouseTracking(true);
}

GLBox::~GLBox()
{
    // The application keeps no hook into a widget that is gone.
    if (m_app)
        m_app->setRepaintCallback({});
}

void GLBox::initializeGL()
{
    if (!m_app)
        return;
    QPointer<GLBox> self(this);
    m_app->setRepaintCallback([self]() {
        if (!self)
            return;
        self->setFocus(Qt::OtherFocusReason);
        self->repaint();
    });
    std::printf("start initializeGL.\n");
    std::fflush(stdout);
    m_ready = m_app->initialiseGL();
    if (m_ready) {
        std::printf("initializeGL sucess.\n");
        std::fflush(stdout);
        // Qt only calls resizeGL on later size changes when the widget is initialised while
        // hidden (a grab), so the projection is set up here for the current size as well.
        resizeGL(width(), height());
    }
}

void GLBox::paintGL()
{
    if (!m_app || !m_ready)
        return;
    QPainter painter(this);
    painter.beginNativePainting();
    m_app->paintGL();
    painter.endNativePainting();
    painter.end();
}

void GLBox::resizeGL(int w, int h)
{
    if (!m_app || !m_ready)
        return;
    // The surface is in device pixels; with a scale factor above 1 the widget size differs.
    const qreal ratio = devicePixelRatioF();
    ResizeEventRecord record;
    record.width = static_cast<std::int32_t>(w * ratio);
    record.height = static_cast<std::int32_t>(h * ratio);
    m_app->handleGLEvent(&record);
}

void GLBox::sendInput(const QInputEvent *event, const QPoint &pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, int delta)
{
    if (!m_app || !m_ready)
        return;
    InputEvent record;
    record.type = static_cast<std::uint16_t>(event->type());
    record.modifiers = static_cast<std::uint32_t>(event->modifiers());
    record.widgetWidth = width();
    record.widgetHeight = height();
    record.x = pos.x();
    record.y = pos.y();
    record.button = static_cast<std::uint32_t>(button);
    record.buttons = static_cast<std::uint32_t>(buttons);
    record.delta = delta;
    makeCurrent();
    m_app->handleGLEvent(&record);
    doneCurrent();
}

void GLBox::sendMouse(QMouseEvent *event)
{
    sendInput(event, event->pos(), event->button(), event->buttons(), 0);
}

void GLBox::mousePressEvent(QMouseEvent *event)
{
    sendMouse(event);
}

void GLBox::mouseReleaseEvent(QMouseEvent *event)
{
    sendMouse(event);
}

void GLBox::mouseMoveEvent(QMouseEvent *event)
{
    setAttribute(Qt::WA_Hover, true);
    setMouseTracking(true);
    sendMouse(event);
}

void GLBox::wheelEvent(QWheelEvent *event)
{
    sendInput(event, event->position().toPoint(), Qt::NoButton, event->buttons(),
              event->angleDelta().y());
}

void GLBox::keyPressEvent(QKeyEvent *event)
{
    if (!m_app || !m_ready)
        return;
    KeyEventRecord record;
    record.modifiers = static_cast<std::uint32_t>(event->modifiers());
    record.widgetWidth = width();
    record.widgetHeight = height();
    record.key = event->key();
    makeCurrent();
    m_app->handleGLEvent(&record);
    doneCurrent();
}
