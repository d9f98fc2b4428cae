#include "render/FrameCamera.h"

#include "render/GlMath.h"

#include <algorithm>
#include <cmath>

namespace Orvane3Ds
{

FrameCamera::FrameCamera()
{
    setCamera({0.0f, 600.0f, 60.0f}, 0.0f);
}

void FrameCamera::setCamera(const Vec3f &eye, float pitchDegrees)
{
    m_eye = eye;
    m_target = {0.0f, 0.0f, 0.0f};
    m_up = {0.0f, 0.0f, 1.0f};
    m_panSide = 0.0f;
    m_panUp = 0.0f;
    m_panHeight = 60.0f;
    m_forward = (m_target - m_eye).normalized();
    // Kept unit length so that the view matrix is a pure rotation.
    m_side = m_forward.cross(m_up).normalized();
    pitch(pitchDegrees);
}

Vec3f FrameCamera::rotateAboutTarget(const Vec3f &axis, float degrees) const
{
    const Matrix4f r = rotationMatrix(axis, -degrees * m_degToRad);
    return m_target + transformVector(r, m_eye - m_target);
}

void FrameCamera::pitch(float degrees)
{
    m_eye = rotateAboutTarget(m_side, degrees);
    m_forward = (m_target - m_eye).normalized();
    m_up = m_side.cross(m_forward);
}

void FrameCamera::yaw(float degrees)
{
    const Matrix4f r = rotationMatrix(m_yawAxis, -degrees * m_yawSpeed * m_degToRad);
    m_eye = m_target + transformVector(r, m_eye - m_target);
    m_forward = transformVector(r, m_forward);
    m_side = transformVector(r, m_side);
    m_up = transformVector(r, m_up);
}

bool FrameCamera::zoomBy(float amount)
{
    const Vec3f toTarget = m_target - m_eye;
    const float d = toTarget.length();
    const float k = amount * std::max(d / 200.0f, 0.3f);
    if (!(d - k > 0.0f && d - k < 1000.0f))
        return false;
    m_eye = m_eye + toTarget.normalized() * k;
    return true;
}

void FrameCamera::pan(int dx, int dy)
{
    const int ix = dx / 9;
    const int iy = dy / 9;
    const float step = (m_eye - m_target).length() / 500.0f;
    m_panSide = std::clamp(m_panSide + ix * step, -m_panSideLimit, m_panSideLimit);
    if (std::fabs(m_up.z) > 0.7f) {
        const float sign = m_up.z > 0.0f ? 1.0f : -1.0f;
        m_panHeight = std::clamp(m_panHeight + sign * iy * step, -m_sceneSize.z, m_sceneSize.z);
    } else {
        m_panUp = std::clamp(m_panUp + iy * step, -m_panUpLimit, m_panUpLimit);
    }
}

Vec3f FrameCamera::position() const
{
    return m_eye - m_side * m_panSide + m_up * m_panUp + Vec3f{0.0f, 0.0f, m_panHeight};
}

Matrix4f FrameCamera::viewMatrix() const
{
    return viewMatrixFromBasis(m_side, m_up, m_forward, position());
}

void FrameCamera::setSceneSize(const Vec3f &size)
{
    // The pan range stays at its built-in value (260, 260, 180); the platform size is only
    // accepted when it would widen it, so small platforms keep a comfortable pan range.
    if (size.x * m_panFactor * 0.5f > m_panSideLimit)
        m_panSideLimit = size.x * m_panFactor * 0.5f;
    if (size.y * m_panFactor * 0.5f > m_panUpLimit)
        m_panUpLimit = size.y * m_panFactor * 0.5f;
    if (size.z > m_sceneSize.z) {
        m_sceneSize.z = size.z;
        m_heightLimit = size.z * m_heightFactor * 0.5f;
    }
}

} // namespace Orvane3Ds
