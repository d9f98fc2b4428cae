#include "render/OpenGLModel.h"

#include "render/CContext.h"
#include "render/COpenGL.h"
#include "render/MeshSimplifier.h"

#include "geometry/Mesh3D.h"
#include "geometry/SlcModel.h"

#include <QFuture>
#include <QtConcurrent>

#include <atomic>

using namespace Orvane3Ds;

// A stand-in being built. The worker owns copies of the geometry, so the mesh may change or the
// drawable go away meanwhile; a cancelled job stops early and its result is never used.
struct OpenGLModel::ProxyJob {
    std::shared_ptr<std::atomic<bool>> cancel = std::make_shared<std::atomic<bool>>(false);
    QFuture<SimplifiedTriangles> result;
};

namespace
{
struct ProxyInput {
    std::vector<Vec3f> vertices;
    std::vector<Face> faces;
};
} // namespace

OpenGLModel::OpenGLModel(std::shared_ptr<Mesh3D> mesh, std::uint64_t id)
    : OpenGLObject(std::move(mesh), id)
{
}

OpenGLModel::~OpenGLModel()
{
    if (m_proxyJob)
        *m_proxyJob->cancel = true;
    // The base destructor runs releaseGL() of the base only; the stand-in goes here.
    giveUpBuffer(m_proxyBuffer);
}

bool OpenGLModel::isContour() const
{
    return m_mesh && m_mesh->sourceKind() == SourceKind::SlcContours;
}

void OpenGLModel::initGL(const std::shared_ptr<COpenGL> &gl)
{
    if (isContour() && m_spareBuffer == 0)
        gl->genBuffers(1, &m_spareBuffer);
    OpenGLObject::initGL(gl);
}

void OpenGLModel::releaseGL()
{
    m_contourIndexCount = 0;
    dropProxy();
    giveUpBuffer(m_proxyBuffer);
    OpenGLObject::releaseGL();
}

void OpenGLModel::refresh()
{
    dropProxy();
    if (isContour())
        uploadContours();
    else
        uploadTriangles();
}

void OpenGLModel::uploadContours()
{
    if (!m_gl || m_vertexBuffer == 0 || m_spareBuffer == 0)
        return;
    ++m_uploadCount;
    const auto &vertices = m_mesh->vertices();
    m_gl->bindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    m_gl->bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * 12),
                     vertices.data(), GL_STATIC_DRAW);
    m_gl->bindBuffer(GL_ARRAY_BUFFER, 0);
    m_uploadedBytes = vertices.size() * 12;

    // Every polyline of every layer as line segments, so one call draws the whole model.
    std::vector<std::uint32_t> indices;
    if (const auto &slc = m_mesh->contourData()) {
        for (const auto &layer : slc->layers)
            for (const auto &contour : layer)
                for (std::size_t i = 1; i < contour.size(); ++i) {
                    if (contour[i - 1] >= vertices.size() || contour[i] >= vertices.size())
                        continue;
                    indices.push_back(contour[i - 1]);
                    indices.push_back(contour[i]);
                }
    }
    m_gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_spareBuffer);
    m_gl->bufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * 4),
                     indices.data(), GL_STATIC_DRAW);
    m_gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    m_contourIndexCount = static_cast<GLsizei>(indices.size());
}

void OpenGLModel::draw(CContext &context)
{
    m_lastDrawnFaces = 0;
    m_lastDrawUsedProxy = false;
    if (!m_gl)
        return;
    refreshIfStale();
    if (isContour()) {
        drawContours(context);
        return;
    }
    if (!m_mesh || m_mesh->sourceKind() != SourceKind::Mesh)
        return;
    updateProxy();
    if (context.reducedDetail && m_proxyVertexCount > 0) {
        drawLitTriangles(context, m_proxyBuffer, 0, m_proxyVertexCount);
        m_lastDrawnFaces = static_cast<std::size_t>(m_proxyVertexCount / 3);
        m_lastDrawUsedProxy = true;
        return;
    }
    drawLitTriangles(context, 0, m_triangleVertexCount);
    m_lastDrawnFaces = static_cast<std::size_t>(m_triangleVertexCount / 3);
}

bool OpenGLModel::isBuildingProxy() const
{
    return m_proxyJob != nullptr;
}

void OpenGLModel::waitForProxy()
{
    if (m_proxyJob)
        m_proxyJob->result.waitForFinished();
}

void OpenGLModel::dropProxy()
{
    if (m_proxyJob) {
        *m_proxyJob->cancel = true;
        m_proxyJob.reset();
    }
    m_proxyVertexCount = 0;
    m_builtTarget = 0;
}

void OpenGLModel::updateProxy()
{
    if (m_builtTarget != 0) {
        const double ratio =
            static_cast<double>(m_proxyTarget) / static_cast<double>(m_builtTarget);
        if (ratio > 1.5 || ratio < 1.0 / 1.5)
            dropProxy();
    }
    const auto faceCount = static_cast<std::size_t>(m_triangleVertexCount / 3);
    if (m_builtTarget == 0 && m_proxyTarget > 0 && faceCount > m_proxyTarget) {
        // Copies taken here, on the GUI thread, where the mesh is changed.
        m_builtTarget = m_proxyTarget;
        auto job = std::make_shared<ProxyJob>();
        auto input = std::make_shared<ProxyInput>(ProxyInput{m_mesh->vertices(), m_mesh->faces()});
        const std::size_t target = m_proxyTarget;
        job->result = QtConcurrent::run([input, cancel = job->cancel, target]() {
            return simplifyByClustering(input->vertices, input->faces, target, cancel.get());
        });
        m_proxyJob = job;
        return;
    }
    if (!m_proxyJob || !m_proxyJob->result.isFinished())
        return;
    const SimplifiedTriangles proxy = m_proxyJob->result.result();
    m_proxyJob.reset();
    if (proxy.faceCount == 0)
        return; // nothing to gain; the full mesh is drawn until the geometry changes
    if (m_proxyBuffer == 0)
        m_gl->genBuffers(1, &m_proxyBuffer);
    m_gl->bindBuffer(GL_ARRAY_BUFFER, m_proxyBuffer);
    m_gl->bufferData(GL_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(proxy.interleaved.size() * sizeof(float)),
                     proxy.interleaved.data(), GL_STATIC_DRAW);
    m_gl->bindBuffer(GL_ARRAY_BUFFER, 0);
    m_proxyVertexCount = static_cast<GLsizei>(proxy.faceCount * 3);
    ++m_proxyBuildCount;
}

void OpenGLModel::drawFaces(CContext &context, const std::vector<int> &faces)
{
    if (!m_gl || isContour())
        return;
    refreshIfStale();
    const GLsizei faceCount = m_triangleVertexCount / 3;
    for (int f : faces)
        if (f >= 0 && f < faceCount)
            drawLitTriangles(context, f * 3, 3);
}

void OpenGLModel::drawContours(CContext &ctx)
{
    COrvaneProgramNormal &p = ctx.normalProgram;
    if (!p.isLinked() || p.position < 0 || m_contourIndexCount == 0)
        return;
    const Matrix4f mvp = multiply(ctx.projection, multiply(ctx.view, m_modelMatrix));
    m_gl->uniformMatrix4fv(p.mvp, 1, GL_FALSE, mvp.data());
    m_gl->uniform4f(p.color, ctx.color.x, ctx.color.y, ctx.color.z, 1.0f);
    const auto position = static_cast<GLuint>(p.position);
    m_gl->bindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    m_gl->enableVertexAttribArray(position);
    m_gl->vertexAttribPointer(position, 3, GL_FLOAT, GL_FALSE, 12, nullptr);
    m_gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_spareBuffer);
    m_gl->drawElements(GL_LINES, m_contourIndexCount, GL_UNSIGNED_INT, nullptr);
    m_gl->disableVertexAttribArray(position);
    m_gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    m_gl->bindBuffer(GL_ARRAY_BUFFER, 0);
}
