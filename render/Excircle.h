#pragma once

#include "render/OpenGLObject.h"

// A flat ring (square cross-section 0.65 mm) around an axis through a centre, used as a
// rotation handle. Axis kind 1 = about X, 2 = about Y, 3 = about Z; the kind is also the id.
class Excircle : public OpenGLObject
{
  public:
    Excircle(const Vec3f &centre, float innerRadius, int segments, int axisKind);

    // Fills `mesh` with the ring's vertices and faces and recomputes its bounds.
    static void buildRing(Mesh3D &mesh, const Vec3f &centre, float innerRadius, int segments,
                          int axisKind);

    void initGL(const std::shared_ptr<Orvane3Ds::COpenGL> &gl) override;
    void refresh() override;
    // Binds the normal program for the call; colour = the context's current colour.
    void draw(Orvane3Ds::CContext &context) override;

  private:
    GLsizei m_indexCount = 0;
};
