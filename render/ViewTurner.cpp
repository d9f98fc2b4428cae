#include "render/ViewTurner.h"

#include "render/DFrame3d.h"

#include <QThread>
#include <QTimer>

#include <algorithm>

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

ViewTurner::~ViewTurner() = default;

void ViewTurner::setAnimated(bool animated)
{
    if (!animated)
        finish();
    m_animated = animated;
}

bool ViewTurner::isAnimating() const
{
    return !m_steps.empty();
}

void ViewTurner::queue(std::function<void()> change, bool repaint, bool pause)
{
    if (!m_animated) {
        change();
        if (repaint)
            repaintAndPause(pause);
        return;
    }
    m_steps.push_back({std::move(change), repaint});
    if (!m_timer) {
        m_timer = std::make_unique<QTimer>();
        QObject::connect(m_timer.get(), &QTimer::timeout, [this] { advance(); });
    }
    if (!m_timer->isActive()) {
        m_timer->setInterval(std::max(m_pauseMs, 0));
        m_timer->start();
    }
}

void ViewTurner::advance()
{
    // One frame: the changes up to and including the next one that is shown, then its repaint.
    while (!m_steps.empty()) {
        QueuedStep step = std::move(m_steps.front());
        m_steps.pop_front();
        step.change();
        if (step.repaint) {
            if (m_repaint)
                m_repaint();
            break;
        }
    }
    if (m_steps.empty() && m_timer)
        m_timer->stop();
}

void ViewTurner::finish()
{
    if (m_steps.empty())
        return;
    while (!m_steps.empty()) {
        QueuedStep step = std::move(m_steps.front());
        m_steps.pop_front();
        step.change();
    }
    if (m_timer)
        m_timer->stop();
    if (m_repaint)
        m_repaint();
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
    queue([this, degrees] {
        if (m_frame)
            m_frame->pitchBy(degrees);
    });
}

void ViewTurner::yawStep(float degrees)
{
    queue([this, degrees] {
        if (m_frame)
            m_frame->yawBy(degrees);
    });
}

void ViewTurner::homeStep()
{
    queue(
        [this] {
            if (m_frame)
                m_frame->homeView();
        },
        false);
}

bool ViewTurner::prepare()
{
    // A transition still running ends at once: the new one starts from where it would end.
    finish();
    m_pitchDownNeeded = 90.0f;
    if (m_dirty) {
        m_pitchUpNeeded = 90.0f;
        homeStep();
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
        // One frame per iteration: the levelling pitch and the yaw are shown together.
        float pitch = 0.0f;
        if (m_bottomShown) {
            pitch += Step;
            m_pitchTotal += Step;
        }
        if (m_topShown) {
            pitch -= Step;
            m_pitchTotal -= Step;
        }
        m_yawTotal -= yawPerStep;
        if (std::fabs(m_yawTotal) >= 360.0f)
            m_yawTotal = 0.0f;
        const bool shown = std::fmod(m_yawTotal, 90.0f) != 0.0f;
        queue(
            [this, pitch, yawPerStep] {
                if (!m_frame)
                    return;
                if (pitch != 0.0f)
                    m_frame->pitchBy(pitch);
                m_frame->yawBy(yawPerStep);
            },
            shown);
    }
    const float level = m_pitchTotal;
    queue(
        [this, level] {
            if (m_frame && level != 0.0f)
                m_frame->pitchBy(-level);
        },
        true, false);
    m_pitchTotal = 0.0f;
    m_topShown = m_bottomShown = false;
    m_topEnabled = m_bottomEnabled = true;
}

void ViewTurner::home()
{
    prepare();
    if (!m_viewChanged) {
        homeStep();
        queue([] {}, true, false);
        return;
    }
    if (m_topShown) {
        for (int i = 0; i < 30; ++i)
            pitchStep(-Step);
        homeStep();
        m_pitchTotal = 0.0f;
    }
    if (m_bottomShown) {
        for (int i = 0; i < 30; ++i)
            pitchStep(Step);
        homeStep();
        m_pitchTotal = 0.0f;
    }
    auto turn = [this](float steps, float degrees) {
        for (int i = 0; steps > i; ++i)
            yawStep(degrees);
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
    queue([] {}, true, false);
}

void ViewTurner::farther()
{
    finish();
    queue(
        [this] {
            if (m_frame)
                m_frame->zoomBy(-40.0f);
        },
        true, false);
}

void ViewTurner::nearer()
{
    finish();
    queue(
        [this] {
            if (m_frame)
                m_frame->zoomBy(40.0f);
        },
        true, false);
}

} // namespace Orvane3Ds
