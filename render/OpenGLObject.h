#pragma once

#include "render/GlHeaders.h"

#include "geometry/Vec3.h"

#include <QPointer>

#include <atomic>
#include <cstdint>
#include <memory>

class Mesh3D;

namespace Orvane3Ds
{
class CContext;
class COpenGL;
} // namespace Orvane3Ds

// GL-side companion of a scene mesh: owns the GL buffers that hold the mesh's geometry, keeps a
// model matrix applied in the shader, and draws itself with the render context's programs.
//
// Geometry is uploaded once per change: initGL() hooks the mesh's changed callback, which marks
// the buffer stale (and resets the model matrix, since the change already moved the vertices);
// the next draw re-uploads it. A marker sharing its shape (Mesh3D::sharedShape()) has no buffer
// of its own: one buffer per shape and context serves every marker of that shape, drawn moved
// by the marker's offset. Uploading at draw time keeps every GL call inside a frame, where
// the widget's context is current, whichever code transformed the mesh.
//
// GUI thread only. Lives from initGL() to releaseGL() or destruction.
class OpenGLObject
{
  public:
    explicit OpenGLObject(std::shared_ptr<Mesh3D> mesh, std::uint64_t id = 0);
    virtual ~OpenGLObject();
    OpenGLObject(const OpenGLObject &) = delete;
    OpenGLObject &operator=(const OpenGLObject &) = delete;

    // Needs a current context. Creates the buffers, hooks the mesh and uploads its geometry.
    virtual void initGL(const std::shared_ptr<Orvane3Ds::COpenGL> &gl);
    virtual void reinitGL(const std::shared_ptr<Orvane3Ds::COpenGL> &gl);
    // Deletes the buffers (needs the context that created them) and unhooks the mesh.
    virtual void releaseGL();
    // The root draws nothing.
    virtual void draw(Orvane3Ds::CContext &context);
    virtual void translateXY(float x, float y);
    virtual void translate(float x, float y, float z);
    virtual void rotateX(float degrees);
    virtual void rotateY(float degrees);
    virtual void rotateZ(float degrees);
    virtual void scale(float x, float y, float z);
    // Hands the model matrix to the mesh's transform (the hook then resets the matrix).
    virtual void applyToMesh();
    // Rewrites the buffers from the mesh now (needs a current context).
    virtual void refresh();

    const Matrix4f &modelMatrix() const { return m_modelMatrix; }
    void setModelMatrix(const Matrix4f &m) { m_modelMatrix = m; }
    const std::shared_ptr<Mesh3D> &mesh() const { return m_mesh; }
    std::uint64_t id() const { return m_id; }
    bool isInitialised() const { return m_vertexBuffer != 0 || m_shapeBuffer != nullptr; }
    // initGL() now when a context is current, otherwise at the first draw.
    void initGLWhenPossible(const std::shared_ptr<Orvane3Ds::COpenGL> &gl);
    // True after a mesh change until the next upload.
    bool isStale() const { return m_stale.load(); }
    // Bytes currently held by the vertex buffer (none for a marker drawing a shared shape).
    std::size_t uploadedBytes() const { return m_uploadedBytes; }
    // Number of uploads so far (one at initGL, one per mesh change).
    int uploadCount() const { return m_uploadCount; }

    // Deletes the buffers that were given up while their context was not current, for the
    // context current now; names of contexts that no longer exist are forgotten.
    static void flushDeferredDeletions();
    // Buffers of shared marker shapes alive now, over all contexts.
    static std::size_t sharedShapeBufferCount();
    // The buffer drawn: the shared shape's for such markers, else the vertex buffer.
    GLuint drawnBuffer() const;

  protected:
    // Uploads when the mesh changed since the last upload.
    void refreshIfStale();
    // Lit triangles from the vertex buffer (layout: position, face normal; 24-byte stride)
    // with the model program, which the caller has bound.
    void drawLitTriangles(Orvane3Ds::CContext &context, GLint first, GLsizei count);
    // The same from another buffer of that layout.
    void drawLitTriangles(Orvane3Ds::CContext &context, GLuint buffer, GLint first, GLsizei count);
    // Deletes a buffer of this drawable now when its context is current, otherwise at the next
    // frame drawn in that context; sets the name to 0.
    void giveUpBuffer(GLuint &name);
    // Writes position + face normal per corner, 72 bytes per face; a marker sharing its shape
    // takes the shape's buffer instead.
    void uploadTriangles();

    GLuint m_vertexBuffer = 0;
    GLuint m_indexBuffer = 0;
    GLuint m_spareBuffer = 0;
    Matrix4f m_modelMatrix = identityMatrix();
    Matrix4f m_secondMatrix = identityMatrix();
    std::shared_ptr<Mesh3D> m_mesh;
    std::shared_ptr<Orvane3Ds::COpenGL> m_gl;
    std::uint64_t m_id = 0;
    GLsizei m_triangleVertexCount = 0;
    std::size_t m_uploadedBytes = 0;
    int m_uploadCount = 0;
    std::atomic<bool> m_stale{false};
    QPointer<QObject> m_glContext; // the context the buffers were created in

  private:
    struct ShapeBuffer;
    void hookMesh();
    void useShapeBuffer(const std::shared_ptr<const Mesh3D> &shape);
    void unhookMesh();

    std::shared_ptr<OpenGLObject *> m_self;
    std::shared_ptr<ShapeBuffer> m_shapeBuffer;
};
