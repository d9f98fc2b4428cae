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
    ~OpenGLModel() override;

    void initGL(const std::shared_ptr<Orvane3Ds::COpenGL> &gl) override;
    void releaseGL() override;
    void draw(Orvane3Ds::CContext &context) override;
    void refresh() override;

    // Draws only the listed faces (one triangle each), for highlight passes.
    void drawFaces(Orvane3Ds::CContext &context, const std::vector<int> &faces);

    bool isContour() const;

    // Level of detail (triangle meshes only). With a target set (the frame sets it when the view
    // holds many faces), the drawable builds a clustered stand-in of about that many faces on a
    // worker thread, from a copy of the geometry taken at the next draw; the stand-in is drawn
    // instead of the full mesh while the context asks for reduced detail. A change of the mesh,
    // or of the target by more than half, drops it (and a new one is built); target 0 drops it.
    void setProxyTarget(std::size_t faces) { m_proxyTarget = faces; }
    std::size_t proxyTarget() const { return m_proxyTarget; }
    // Faces of the stand-in, 0 while there is none (not asked for, building or dropped).
    std::size_t proxyFaceCount() const { return static_cast<std::size_t>(m_proxyVertexCount / 3); }
    bool isBuildingProxy() const;
    // Blocks until a stand-in being built is finished; it is uploaded at the next draw.
    void waitForProxy();
    // Faces drawn by the last draw() and whether they came from the stand-in.
    std::size_t lastDrawnFaces() const { return m_lastDrawnFaces; }
    bool lastDrawUsedProxy() const { return m_lastDrawUsedProxy; }
    // Number of stand-ins built so far (one per geometry that needed one).
    int proxyBuildCount() const { return m_proxyBuildCount; }
    // Drawables of the model's generated supports and base.
    std::vector<std::shared_ptr<OpenGLModel>> &supports() { return m_supports; }
    const std::vector<std::shared_ptr<OpenGLModel>> &supports() const { return m_supports; }
    // For markers: the id of the model drawable they belong to.
    std::uint64_t ownerId() const { return m_ownerId; }
    void setOwnerId(std::uint64_t id) { m_ownerId = id; }

  private:
    struct ProxyJob;
    void uploadContours();
    void updateProxy();
    void dropProxy();
    void drawContours(Orvane3Ds::CContext &context);

    std::vector<std::shared_ptr<OpenGLModel>> m_supports;
    std::uint64_t m_ownerId = 0;
    GLsizei m_contourIndexCount = 0;
    GLuint m_proxyBuffer = 0;
    GLsizei m_proxyVertexCount = 0;
    std::shared_ptr<ProxyJob> m_proxyJob;
    std::size_t m_proxyTarget = 0;
    std::size_t m_builtTarget = 0; // target of the stand-in built or being built, 0: none
    int m_proxyBuildCount = 0;
    std::size_t m_lastDrawnFaces = 0;
    bool m_lastDrawUsedProxy = false;
};
