#pragma once

#include "geometry/Vec3.h"

namespace Orvane3Ds
{

// Orbiting camera of the 3D view: an eye turning about a target, plus pan offsets that shift the
// viewpoint without moving the orbit. Distances in millimetres, angles in degrees.
class FrameCamera
{
  public:
    FrameCamera();

    // Places the eye, aims at the origin with up (0, 0, 1), clears the pan (panHeight 60) and
    // pitches by `pitchDegrees`.
    void setCamera(const Vec3f &eye, float pitchDegrees);

    // Turns the eye about `side` through the target; positive turns the eye upward.
    void pitch(float degrees);
    // Turns the eye and the axes about the yaw axis; positive turns clockwise seen from above.
    void yaw(float degrees);
    // Moves the eye `amount` * max(d / 200, 0.3) toward the target (d = eye-target distance);
    // a step that would leave the range (0, 1000) is ignored. Returns true when it moved.
    bool zoomBy(float amount);
    // Pan step from a mouse motion in pixels (integer ninths of the motion count).
    void pan(int dx, int dy);

    // Rows side, up, -forward; translation by minus the panned camera position.
    Matrix4f viewMatrix() const;
    // Camera position after panning.
    Vec3f position() const;

    // Offers the platform size; a positive size becomes the pan range.
    void setSceneSize(const Vec3f &size);

    const Vec3f &eye() const { return m_eye; }
    const Vec3f &target() const { return m_target; }
    const Vec3f &up() const { return m_up; }
    const Vec3f &side() const { return m_side; }
    const Vec3f &forward() const { return m_forward; }
    float panSide() const { return m_panSide; }
    float panUp() const { return m_panUp; }
    float panHeight() const { return m_panHeight; }
    float panSideLimit() const { return m_panSideLimit; }
    float panUpLimit() const { return m_panUpLimit; }
    const Vec3f &sceneSize() const { return m_sceneSize; }

  private:
    Vec3f rotateAboutTarget(const Vec3f &axis, float degrees) const;

    Vec3f m_sceneSize{130.0f, 130.0f, 180.0f};
    Vec3f m_eye{0.0f, 600.0f, 60.0f};
    Vec3f m_target{0.0f, 0.0f, 0.0f};
    Vec3f m_up{0.0f, 0.0f, 1.0f};
    Vec3f m_side{1.0f, 0.0f, 0.0f};
    Vec3f m_forward{0.0f, -1.0f, 0.0f};
    Vec3f m_yawAxis{0.0f, 0.0f, 1.0f};
    float m_panSide = 0.0f;
    float m_panUp = 0.0f;
    float m_panHeight = 60.0f;
    float m_panSideLimit = 260.0f;
    float m_panUpLimit = 260.0f;
    float m_heightLimit = 108.0f;
    float m_panFactor = 4.0f;
    float m_heightFactor = 1.2f;
    float m_degToRad = 0.017453292f;
    float m_yawSpeed = 1.0f;
};

} // namespace Orvane3Ds
