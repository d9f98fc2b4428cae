#include "render/Excircle.h"

#include "render/CContext.h"
#include "render/COpenGL.h"

#include "geometry/Mesh3D.h"

#include <cmath>

using namespace Orvane3Ds;

namespace
{
constexpr float Band = 0.65f;
}

Excircle::Excircle(const Vec3f &centre, float innerRadius, int segments, int axisKind)
    : OpenGLObject(std::make_shared<Mesh3D>(), static_cast<std::uint64_t>(axisKind))
{
    buildRing(*m_mesh, centre, innerRadius, segments, axisKind);
}

void Excircle::buildRing(Mesh3D &mesh, const Vec3f &c, float r, int n, int k)
{
    auto &v = mesh.vertices();
    auto &f = mesh.faces();
    v.clear();
    f.clear();
    if (n < 2)
        return;
    const float R = r + Band;
    for (int i = 0; i < n; ++i) {
        const float a = i * 6.2831855f / n;
        const float cs = std::cos(a), sn = std::sin(a);
        if (k == 1) {
            v.push_back({c.x, c.y + r * cs, c.z + r * sn});
            v.push_back({c.x, c.y + R * cs, c.z + R * sn});
            v.push_back({c.x + Band, c.y + R * cs, c.z + R * sn});
            v.push_back({c.x + Band, c.y + r * cs, c.z + r * sn});
        } else if (k == 2) {
            v.push_back({c.x + r * cs, c.y + Band, c.z + r * sn});
            v.push_back({c.x + R * cs, c.y + Band, c.z + R * sn});
            v.push_back({c.x + R * cs, c.y, c.z + R * sn});
            v.push_back({c.x + r * cs, c.y, c.z + r * sn});
        } else {
            v.push_back({c.x + r * cs, c.y + r * sn, c.z});
            v.push_back({c.x + R * cs, c.y + R * sn, c.z});
            v.push_back({c.x + R * cs, c.y + R * sn, c.z + Band});
            v.push_back({c.x + r * cs, c.y + r * sn, c.z + Band});
        }
    }
    auto tri = [&f](std::uint32_t a, std::uint32_t b, std::uint32_t d) {
        Face face;
        face[0] = a;
        face[1] = b;
        face[2] = d;
        f.push_back(face);
    };
    for (int s = 0; s + 1 < n; ++s) {
        const std::uint32_t b = 4 * s;
        tri(b + 5, b + 1, b);
        tri(b + 4, b + 5, b);
        tri(b + 6, b + 2, b + 1);
        tri(b + 5, b + 6, b + 1);
        tri(b, b + 3, b + 4);
        tri(b + 3, b + 7, b + 4);
        tri(b + 6, b + 3, b + 2);
        tri(b + 6, b + 7, b + 3);
    }
    const std::uint32_t l = 4 * (n - 1);
    tri(1, l + 1, l);
    tri(0, 1, l);
    tri(2, l + 3, l + 2);
    tri(2, 3, l + 3);
    tri(2, l + 2, l + 1);
    tri(1, 2, l + 1);
    tri(l, l + 3, 0);
    tri(l + 3, 3, 0);
    mesh.recomputeBounds();
}

void Excircle::initGL(const std::shared_ptr<COpenGL> &gl)
{
    if (m_indexBuffer == 0)
        gl->genBuffers(1, &m_indexBuffer);
    OpenGLObject::initGL(gl);
}

void Excircle::refresh()
{
    if (!m_gl || m_vertexBuffer == 0 || m_indexBuffer == 0)
        return;
    ++m_uploadCount;
    const auto &v = m_mesh->vertices();
    const auto &f = m_mesh->faces();
    m_gl->bindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    m_gl->bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(v.size() * 12), v.data(),
                     GL_DYNAMIC_DRAW);
    m_gl->bindBuffer(GL_ARRAY_BUFFER, 0);
    m_gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indexBuffer);
    m_gl->bufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(f.size() * 12), f.data(),
                     GL_DYNAMIC_DRAW);
    m_gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    m_indexCount = static_cast<GLsizei>(f.size() * 3);
    m_uploadedBytes = v.size() * 12;
}

void Excircle::draw(CContext &ctx)
{
    COrvaneProgramNormal &p = ctx.normalProgram;
    if (!m_gl || !p.isLinked())
        return;
    refreshIfStale();
    p.bind();
    if (p.position >= 0 && m_indexCount > 0) {
        const Matrix4f mvp = multiply(ctx.projection, multiply(ctx.view, ctx.third));
        m_gl->uniformMatrix4fv(p.mvp, 1, GL_FALSE, mvp.data());
        m_gl->uniform4f(p.color, ctx.color.x, ctx.color.y, ctx.color.z, 1.0f);
        // Handles are never cut by the clip plane.
        m_gl->uniform1f(p.outZ, ctx.platform.z + 20.0f);
        m_gl->uniform1i(p.upCut, 1);
        const auto position = static_cast<GLuint>(p.position);
        m_gl->bindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
        m_gl->enableVertexAttribArray(position);
        m_gl->vertexAttribPointer(position, 3, GL_FLOAT, GL_FALSE, 12, nullptr);
        m_gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indexBuffer);
        m_gl->drawElements(GL_TRIANGLES, m_indexCount, GL_UNSIGNED_INT, nullptr);
        m_gl->disableVertexAttribArray(position);
        m_gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        m_gl->bindBuffer(GL_ARRAY_BUFFER, 0);
    }
    p.unbind();
}
