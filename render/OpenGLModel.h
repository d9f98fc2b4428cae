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

    // Level of detail (triangle meshes only). Once drawn with more faces than the context's
    // proxyThreshold, the drawable builds a clustered stand-in on a worker thread from a copy of
    // the geometry; it is drawn instead of the full mesh while the context asks for reduced
    // detail. Any change of the mesh drops it and a new one is built after the next draw.
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
    void updateProxy(const Orvane3Ds::CContext &context);
    void dropProxy();
    void drawContours(Orvane3Ds::CContext &context);

    std::vector<std::shared_ptr<OpenGLModel>> m_supports;
    std::uint64_t m_ownerId = 0;
    GLsizei m_contourIndexCount = 0;
    GLuint m_proxyBuffer = 0;
    GLsizei m_proxyVertexCount = 0;
    std::shared_ptr<ProxyJob> m_proxyJob;
    bool m_proxyTried = false; // a stand-in was asked for since the last geometry change
    int m_proxyBuildCount = 0;
    std::size_t m_lastDrawnFaces = 0;
    bool m_lastDrawUsedProxy = false;
};
