#include "render/OpenGLObject.h"

#include "render/CContext.h"
#include "render/COpenGL.h"
#include "render/GlMath.h"
#include "render/QtGlBridge.h"

#include "geometry/Mesh3D.h"

#include <cstring>
#include <vector>

using namespace Orvane3Ds;

OpenGLObject::OpenGLObject(std::shared_ptr<Mesh3D> mesh, std::uint64_t id)
    : m_mesh(std::move(mesh)), m_id(id)
{
}

namespace
{
struct DeferredDeletion {
    QPointer<QObject> context;
    GLuint name = 0;
};

// Buffer names given up while their context was not current (GUI thread only).
std::vector<DeferredDeletion> &deferredDeletions()
{
    static std::vector<DeferredDeletion> names;
    return names;
}

// Writes position + face normal per corner of every face, 72 bytes per face, into buffer.
// Returns the bytes written (0 when the buffer cannot be mapped or there is no face).
std::size_t writeTriangles(const COpenGL &gl, GLuint buffer, const Mesh3D *mesh)
{
    const std::size_t faceCount = mesh ? mesh->faces().size() : 0;
    const std::size_t bytes = faceCount * 72;
    gl.bindBuffer(GL_ARRAY_BUFFER, buffer);
    gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), nullptr, GL_STATIC_DRAW);
    if (faceCount == 0) {
        gl.bindBuffer(GL_ARRAY_BUFFER, 0);
        return 0;
    }
    auto *out = static_cast<float *>(gl.mapBuffer(GL_ARRAY_BUFFER, GL_WRITE_ONLY));
    if (!out) {
        gl.bindBuffer(GL_ARRAY_BUFFER, 0);
        return 0;
    }
    const auto &vertices = mesh->vertices();
    const auto &faces = mesh->faces();
    const auto &normals = mesh->faceNormals();
    const bool haveNormals = normals.size() == faces.size();
    const std::size_t vertexCount = vertices.size();
    for (std::size_t f = 0; f < faceCount; ++f) {
        const Face &face = faces[f];
        Vec3f p[3];
        for (int k = 0; k < 3; ++k)
            p[k] = face[k] < vertexCount ? vertices[face[k]] : Vec3f{};
        Vec3f n = haveNormals ? normals[f] : (p[1] - p[0]).cross(p[2] - p[0]).normalized();
        for (int k = 0; k < 3; ++k) {
            *out++ = p[k].x;
            *out++ = p[k].y;
            *out++ = p[k].z;
            *out++ = n.x;
            *out++ = n.y;
            *out++ = n.z;
        }
    }
    gl.unmapBuffer(GL_ARRAY_BUFFER);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    return bytes;
}
} // namespace

// One shape's triangles in one context, held by every marker drawable of that shape there.
struct OpenGLObject::ShapeBuffer {
    ShapeBuffer() = default;
    ShapeBuffer(const ShapeBuffer &) = delete;
    ShapeBuffer &operator=(const ShapeBuffer &) = delete;
    ~ShapeBuffer()
    {
        if (name == 0)
            return;
        if (context && context == currentGlContext())
            glDeleteBuffers(1, &name);
        else if (context)
            deferredDeletions().push_back({context, name});
    }

    std::shared_ptr<const Mesh3D> shape;
    QPointer<QObject> context;
    GLuint name = 0;
    GLsizei vertexCount = 0;
};

namespace
{
// The shape buffers alive, by shape and context (GUI thread only).
std::vector<std::weak_ptr<void>> &shapeBuffers()
{
    static std::vector<std::weak_ptr<void>> buffers;
    return buffers;
}
} // namespace

std::size_t OpenGLObject::sharedShapeBufferCount()
{
    std::size_t alive = 0;
    for (const auto &b : shapeBuffers())
        alive += b.expired() ? 0 : 1;
    return alive;
}

GLuint OpenGLObject::drawnBuffer() const
{
    return m_shapeBuffer ? m_shapeBuffer->name : m_vertexBuffer;
}

OpenGLObject::~OpenGLObject()
{
    unhookMesh();
    if (m_gl)
        releaseGL();
}

void OpenGLObject::flushDeferredDeletions()
{
    auto &names = deferredDeletions();
    QObject *current = currentGlContext();
    if (names.empty() || !current)
        return;
    // A name means something only in its own context; another context may use the same number
    // for a live buffer. Names of destroyed contexts went with them.
    std::vector<DeferredDeletion> kept;
    for (const DeferredDeletion &d : names) {
        if (d.context == current)
            glDeleteBuffers(1, &d.name);
        else if (d.context)
            kept.push_back(d);
    }
    names = std::move(kept);
}

void OpenGLObject::initGLWhenPossible(const std::shared_ptr<COpenGL> &gl)
{
    m_gl = gl;
    hookMesh();
    if (hasCurrentGlContext())
        initGL(gl);
}

void OpenGLObject::hookMesh()
{
    if (!m_mesh)
        return;
    // The hook holds only a weak link: a mesh outliving this drawable must not call into it.
    m_self = std::make_shared<OpenGLObject *>(this);
    std::weak_ptr<OpenGLObject *> weak = m_self;
    m_mesh->setChangedCallback([weak]() {
        if (auto self = weak.lock()) {
            (*self)->m_modelMatrix = identityMatrix();
            (*self)->m_stale = true;
        }
    });
}

void OpenGLObject::unhookMesh()
{
    if (m_self && m_mesh)
        m_mesh->setChangedCallback({});
    m_self.reset();
}

void OpenGLObject::initGL(const std::shared_ptr<COpenGL> &gl)
{
    m_gl = gl;
    if (m_vertexBuffer == 0 || !m_glContext)
        m_glContext = currentGlContext();
    if (m_vertexBuffer == 0 && !(m_mesh && m_mesh->sharedShape()))
        m_gl->genBuffers(1, &m_vertexBuffer);
    hookMesh();
    refresh();
}

void OpenGLObject::reinitGL(const std::shared_ptr<COpenGL> &gl)
{
    releaseGL();
    initGL(gl);
}

void OpenGLObject::releaseGL()
{
    unhookMesh();
    if (!m_gl)
        return;
    giveUpBuffer(m_vertexBuffer);
    giveUpBuffer(m_indexBuffer);
    giveUpBuffer(m_spareBuffer);
    m_shapeBuffer.reset();
    m_triangleVertexCount = 0;
    m_uploadedBytes = 0;
}

void OpenGLObject::giveUpBuffer(GLuint &name)
{
    if (name == 0)
        return;
    QObject *current = currentGlContext();
    if (m_gl && current && current == m_glContext)
        m_gl->deleteBuffers(1, &name);
    else if (m_glContext)
        deferredDeletions().push_back({m_glContext, name});
    name = 0;
}

void OpenGLObject::draw(CContext &) {}

void OpenGLObject::translateXY(float x, float y)
{
    m_modelMatrix = multiply(m_modelMatrix, translationMatrix(x, y, 0.0f));
}

void OpenGLObject::translate(float x, float y, float z)
{
    m_modelMatrix = multiply(m_modelMatrix, translationMatrix(x, y, z));
}

void OpenGLObject::rotateX(float degrees)
{
    m_modelMatrix = multiply(m_modelMatrix, rotationMatrix({1, 0, 0}, degrees * 0.017453292f));
}

void OpenGLObject::rotateY(float degrees)
{
    m_modelMatrix = multiply(m_modelMatrix, rotationMatrix({0, 1, 0}, degrees * 0.017453292f));
}

void OpenGLObject::rotateZ(float degrees)
{
    m_modelMatrix = multiply(m_modelMatrix, rotationMatrix({0, 0, 1}, degrees * 0.017453292f));
}

void OpenGLObject::scale(float x, float y, float z)
{
    for (int row = 0; row < 4; ++row) {
        m_modelMatrix[row] *= x;
        m_modelMatrix[4 + row] *= y;
        m_modelMatrix[8 + row] *= z;
    }
}

void OpenGLObject::applyToMesh()
{
    if (m_mesh)
        m_mesh->transform(m_modelMatrix);
}

void OpenGLObject::refresh()
{
    uploadTriangles();
}

void OpenGLObject::refreshIfStale()
{
    if (m_gl && !isInitialised()) {
        initGL(m_gl);
        return;
    }
    if (m_stale.exchange(false))
        refresh();
}

void OpenGLObject::uploadTriangles()
{
    m_stale = false;
    if (m_gl)
        if (std::shared_ptr<const Mesh3D> shape = m_mesh ? m_mesh->sharedShape() : nullptr) {
            useShapeBuffer(shape);
            return;
        }
    if (!m_gl || m_vertexBuffer == 0)
        return;
    ++m_uploadCount;
    m_uploadedBytes = writeTriangles(*m_gl, m_vertexBuffer, m_mesh.get());
    m_triangleVertexCount = static_cast<GLsizei>(m_uploadedBytes / 24);
}

void OpenGLObject::useShapeBuffer(const std::shared_ptr<const Mesh3D> &shape)
{
    ++m_uploadCount;
    m_uploadedBytes = 0;
    QObject *context = currentGlContext();
    if (m_shapeBuffer && m_shapeBuffer->shape == shape && m_shapeBuffer->context == context) {
        m_triangleVertexCount = m_shapeBuffer->vertexCount;
        return;
    }
    m_shapeBuffer.reset();
    auto &buffers = shapeBuffers();
    for (std::size_t i = 0; i < buffers.size();) {
        auto held = std::static_pointer_cast<ShapeBuffer>(buffers[i].lock());
        if (!held) {
            buffers.erase(buffers.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (held->shape == shape && held->context == context)
            m_shapeBuffer = held;
        ++i;
    }
    if (!m_shapeBuffer) {
        auto made = std::make_shared<ShapeBuffer>();
        made->shape = shape;
        made->context = context;
        m_gl->genBuffers(1, &made->name);
        made->vertexCount =
            static_cast<GLsizei>(writeTriangles(*m_gl, made->name, shape.get()) / 24);
        buffers.push_back(made);
        m_shapeBuffer = made;
    }
    m_triangleVertexCount = m_shapeBuffer->vertexCount;
}

void OpenGLObject::drawLitTriangles(CContext &ctx, GLint first, GLsizei count)
{
    drawLitTriangles(ctx, drawnBuffer(), first, count);
}

void OpenGLObject::drawLitTriangles(CContext &ctx, GLuint buffer, GLint first, GLsizei count)
{
    COrvaneProgramModel &p = ctx.modelProgram;
    if (!p.isLinked() || count <= 0 || buffer == 0 || p.position < 0)
        return;
    // A shared shape is drawn placed at its marker. A move leaves the normals as they are; a
    // rod's turn and stretch takes them through the inverse transpose of the placement.
    Matrix4f model = m_modelMatrix;
    Matrix4f normals = identityMatrix();
    if (m_shapeBuffer && buffer == m_shapeBuffer->name) {
        const Matrix4f place = m_mesh->shapePlacement();
        model = multiply(m_modelMatrix, place);
        normals = normalMatrixOf(place);
    }
    const Matrix4f mvp = multiply(ctx.projection, multiply(ctx.view, model));
    m_gl->uniformMatrix4fv(p.mmvp, 1, GL_FALSE, mvp.data());
    m_gl->uniformMatrix4fv(p.mnormal, 1, GL_FALSE, normals.data());
    m_gl->uniformMatrix4fv(p.mmodel, 1, GL_FALSE, model.data());
    m_gl->uniform4f(p.color, ctx.color.x, ctx.color.y, ctx.color.z, 1.0f);
    m_gl->uniform4f(p.fcolor, ctx.frontColor.x, ctx.frontColor.y, ctx.frontColor.z, 1.0f);
    m_gl->uniform4f(p.bcolor, ctx.backColor.x, ctx.backColor.y, ctx.backColor.z, 1.0f);
    m_gl->bindBuffer(GL_ARRAY_BUFFER, buffer);
    const auto position = static_cast<GLuint>(p.position);
    m_gl->enableVertexAttribArray(position);
    m_gl->vertexAttribPointer(position, 3, GL_FLOAT, GL_FALSE, 24, nullptr);
    const bool haveNormal = p.normal >= 0;
    if (haveNormal) {
        m_gl->enableVertexAttribArray(static_cast<GLuint>(p.normal));
        m_gl->vertexAttribPointer(static_cast<GLuint>(p.normal), 3, GL_FLOAT, GL_FALSE, 24,
                                  reinterpret_cast<const void *>(12));
    }
    m_gl->drawArrays(GL_TRIANGLES, first, count);
    m_gl->disableVertexAttribArray(position);
    if (haveNormal)
        m_gl->disableVertexAttribArray(static_cast<GLuint>(p.normal));
    m_gl->bindBuffer(GL_ARRAY_BUFFER, 0);
}
