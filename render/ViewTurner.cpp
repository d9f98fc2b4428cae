#include "render/ViewTurner.h"

#include "render/DFrame3d.h"

#include <QThread>

#include <cmath>

namespace Orvane3Ds
{

namespace
{
constexpr float Step = 3.0f;
}

ViewTurner::ViewTurner(DFrame3d *frame, std::function<void()> repaint)
    : m_frame(frame), m_repaint(std::move(repaint))
{
}

void ViewTurner::repaintAndPause(bool pause)
{
    if (m_repaint)
        m_repaint();
    if (pause && m_pauseMs > 0)
        QThread::msleep(static_cast<unsigned long>(m_pauseMs));
}

void ViewTurner::pitchStep(float degrees)
{
    if (m_frame)
        m_frame->pitchBy(degrees);
}

void ViewTurner::yawStep(float degrees)
{
    if (m_frame)
        m_frame->yawBy(degrees);
}

bool ViewTurner::prepare()
{
    m_pitchDownNeeded = 90.0f;
    if (m_dirty) {
        m_pitchUpNeeded = 90.0f;
        if (m_frame)
            m_frame->homeView();
        m_topEnabled = m_bottomEnabled = true;
        m_topShown = m_bottomShown = m_viewChanged = false;
        m_dirty = false;
        m_yawTotal = 0.0f;
        m_pitchTotal = 0.0f;
        return true;
    }
    m_pitchUpNeeded = m_bottomShown ? 180.0f : 90.0f;
    if (m_topShown)
        m_pitchDownNeeded = 180.0f;
    return false;
}

void ViewTurner::top()
{
    prepare();
    m_bottomShown = false;
    m_viewChanged = true;
    m_topShown = true;
    m_pitchDownNeeded = 180.0f;
    for (int i = 0; m_pitchUpNeeded / Step > i; ++i) {
        pitchStep(Step);
        m_pitchTotal += Step;
        repaintAndPause();
    }
    m_bottomEnabled = true;
    m_topEnabled = false;
}

void ViewTurner::bottom()
{
    prepare();
    m_viewChanged = true;
    m_pitchUpNeeded = 180.0f;
    m_bottomShown = true;
    m_topShown = false;
    for (int i = 0; m_pitchDownNeeded / Step > i; ++i) {
        pitchStep(-Step);
        m_pitchTotal -= Step;
        repaintAndPause();
    }
    m_bottomEnabled = false;
    m_topEnabled = true;
}

void ViewTurner::left()
{
    turnSideways(-Step);
}

void ViewTurner::right()
{
    turnSideways(Step);
}

void ViewTurner::turnSideways(float yawPerStep)
{
    prepare();
    m_viewChanged = true;
    for (int i = 0; i < 30; ++i) {
        if (m_bottomShown) {
            pitchStep(Step);
            m_pitchTotal += Step;
        }
        if (m_topShown) {
            pitchStep(-Step);
            m_pitchTotal -= Step;
        }
        yawStep(yawPerStep);
        m_yawTotal -= yawPerStep;
        if (std::fabs(m_yawTotal) >= 360.0f)
            m_yawTotal = 0.0f;
        if (std::fmod(m_yawTotal, 90.0f) != 0.0f)
            repaintAndPause();
    }
    if (m_pitchTotal != 0.0f)
        pitchStep(-m_pitchTotal);
    repaintAndPause(false);
    m_pitchTotal = 0.0f;
    m_topShown = m_bottomShown = false;
    m_topEnabled = m_bottomEnabled = true;
}

void ViewTurner::home()
{
    prepare();
    if (!m_viewChanged) {
        if (m_frame)
            m_frame->homeView();
        repaintAndPause(false);
        return;
    }
    if (m_topShown) {
        for (int i = 0; i < 30; ++i) {
            pitchStep(-Step);
            repaintAndPause();
        }
        if (m_frame)
            m_frame->homeView();
        m_pitchTotal = 0.0f;
    }
    if (m_bottomShown) {
        for (int i = 0; i < 30; ++i) {
            pitchStep(Step);
            repaintAndPause();
        }
        if (m_frame)
            m_frame->homeView();
        m_pitchTotal = 0.0f;
    }
    auto turn = [this](float steps, float degrees) {
        for (int i = 0; steps > i; ++i) {
            yawStep(degrees);
            repaintAndPause();
        }
    };
    if (m_yawTotal > 180.0f)
        turn((m_yawTotal - 180.0f) / Step, -Step);
    else if (m_yawTotal > 0.0f)
        turn(m_yawTotal / Step, Step);
    else if (m_yawTotal < -180.0f)
        turn((std::fabs(m_yawTotal) - 180.0f) / Step, Step);
    else
        turn(std::fabs(m_yawTotal) / Step, -Step);
    m_yawTotal = 0.0f;
    m_topShown = m_bottomShown = false;
    m_topEnabled = m_bottomEnabled = true;
    repaintAndPause(false);
}

void ViewTurner::farther()
{
    if (m_frame)
        m_frame->zoomBy(-40.0f);
    repaintAndPause(false);
}

void ViewTurner::nearer()
{
    if (m_frame)
        m_frame->zoomBy(40.0f);
    repaintAndPause(false);
}

} // namespace Orvane3Ds
