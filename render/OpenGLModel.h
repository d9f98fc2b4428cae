#pragma once

#include "render/OpenGLObject.h"

#include <vector>

// Drawable of a model, a support piece or a marker. Triangle meshes are drawn lit with the
// model program; contour models (SLC) as lines with the normal program. The caller binds the
// program that matches isContour().
class OpenGLModel : public OpenGLObject
{
  public:
    explicit OpenGLModel(std::shared_ptr<Mesh3D> mesh, std::uint64_t id = 0);

    void initGL(const std::shared_ptr<Orvane3Ds::COpenGL> &gl) override;
    void releaseGL() override;
    void draw(Orvane3Ds::CContext &context) override;
    void refresh() override;

    // Draws only the listed faces (one triangle each), for highlight passes.
    void drawFaces(Orvane3Ds::CContext &context, const std::vector<int> &faces);

    bool isContour() const;
    // Drawables of the model's generated supports and base.
    std::vector<std::shared_ptr<OpenGLModel>> &supports() { return m_supports; }
    const std::vector<std::shared_ptr<OpenGLModel>> &supports() const { return m_supports; }
    // For markers: the id of the model drawable they belong to.
    std::uint64_t ownerId() const { return m_ownerId; }
    void setOwnerId(std::uint64_t id) { m_ownerId = id; }

  private:
    void uploadContours();
    void drawContours(Orvane3Ds::CContext &context);

    std::vector<std::shared_ptr<OpenGLModel>> m_supports;
    std::uint64_t m_ownerId = 0;
    GLsizei m_contourIndexCount = 0;
};
