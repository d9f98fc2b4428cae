#include "render/Grid.h"

#include "render/CContext.h"
#include "render/COpenGL.h"

#include "geometry/Mesh3D.h"

#include <cmath>

namespace Orvane3Ds
{

namespace
{
void segment(std::vector<Vec3f> &out, Vec3f a, Vec3f b)
{
    out.push_back(a);
    out.push_back(b);
}
} // namespace

Grid::Grid(const Vec3f &platform)
    : OpenGLObject(std::make_shared<Mesh3D>(), 0), m_platform(platform),
      m_points(buildSegments(platform))
{
    m_mesh->vertices() = m_points;
}

std::vector<Vec3f> Grid::buildSegments(const Vec3f &p)
{
    std::vector<Vec3f> s;
    const float X = p.x, Y = p.y, Z = p.z;
    const float hx = X / 2.0f, hy = Y / 2.0f;
    // Platform outline.
    segment(s, {-hx, -hy, 0}, {hx, -hy, 0});
    segment(s, {hx, -hy, 0}, {hx, hy, 0});
    segment(s, {hx, hy, 0}, {-hx, hy, 0});
    segment(s, {-hx, hy, 0}, {-hx, -hy, 0});
    // Tenth lines.
    for (int k = 1; k <= 9; ++k) {
        const float x = k * X / 10.0f - hx;
        segment(s, {x, -hy, 0}, {x, hy, 0});
    }
    for (int k = 1; k <= 9; ++k) {
        const float y = k * Y / 10.0f - hy;
        segment(s, {-hx, y, 0}, {hx, y, 0});
    }
    // Build volume: top rectangle and vertical edges.
    segment(s, {-hx, -hy, Z}, {hx, -hy, Z});
    segment(s, {hx, -hy, Z}, {hx, hy, Z});
    segment(s, {hx, hy, Z}, {-hx, hy, Z});
    segment(s, {-hx, hy, Z}, {-hx, -hy, Z});
    segment(s, {-hx, -hy, 0}, {-hx, -hy, Z});
    segment(s, {hx, -hy, 0}, {hx, -hy, Z});
    segment(s, {hx, hy, 0}, {hx, hy, Z});
    segment(s, {-hx, hy, 0}, {-hx, hy, Z});
    // Axis stubs.
    segment(s, {hx, 0, 0}, {hx + 7, 0, 0});
    segment(s, {0, hy, 0}, {0, hy + 7, 0});
    segment(s, {0, 0, Z}, {0, 0, Z + 7});
    // Letters.
    const float lx = hx + 13, ly = hy + 13;
    segment(s, {lx, -1.4f, 2}, {lx, 1.4f, -2});
    segment(s, {lx, 1.4f, 2}, {lx, -1.4f, -2});
    segment(s, {1.4f, ly, 2}, {0, ly, 0});
    segment(s, {-1.4f, ly, 2}, {0, ly, 0});
    segment(s, {0, ly, 0}, {0, ly, -2});
    segment(s, {0, -1.4f, Z + 17}, {0, 1.4f, Z + 17});
    segment(s, {0, 1.4f, Z + 17}, {0, -1.4f, Z + 13});
    segment(s, {0, -1.4f, Z + 13}, {0, 1.4f, Z + 13});
    // Arrow heads: cones of radius 1 and length 5 as 180 spokes each.
    for (int i = 0; i < 180; ++i) {
        const float a = i * 6.2831855f / 180.0f;
        const float c = std::cos(a), sn = std::sin(a);
        segment(s, {hx + 12, 0, 0}, {hx + 7, c, sn});
        segment(s, {0, hy + 12, 0}, {c, hy + 7, sn});
        segment(s, {0, 0, Z + 12}, {c, sn, Z + 7});
    }
    return s;
}

void Grid::refresh()
{
    m_stale = false;
    if (!m_gl || m_vertexBuffer == 0)
        return;
    ++m_uploadCount;
    m_gl->bindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    m_gl->bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(m_points.size() * 12),
                     m_points.data(), GL_STATIC_DRAW);
    m_gl->bindBuffer(GL_ARRAY_BUFFER, 0);
    m_uploadedBytes = m_points.size() * 12;
}

void Grid::draw(CContext &ctx)
{
    COrvaneProgramNormal &p = ctx.normalProgram;
    if (!m_gl || !p.isLinked())
        return;
    p.bind();
    if (p.position >= 0) {
        m_gl->uniform1f(p.outZ, ctx.platform.z + 20.0f);
        m_gl->uniform1i(p.upCut, 1);
        const Matrix4f mvp = multiply(ctx.projection, multiply(ctx.view, ctx.third));
        m_gl->uniformMatrix4fv(p.mvp, 1, GL_FALSE, mvp.data());
        m_gl->uniform4f(p.color, 0.93f, 0.93f, 0.93f, 1.0f);
        const auto position = static_cast<GLuint>(p.position);
        m_gl->bindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
        m_gl->enableVertexAttribArray(position);
        m_gl->vertexAttribPointer(position, 3, GL_FLOAT, GL_FALSE, 12, nullptr);
        m_gl->drawArrays(GL_LINES, 0, static_cast<GLsizei>(m_points.size()));
        m_gl->disableVertexAttribArray(position);
        m_gl->bindBuffer(GL_ARRAY_BUFFER, 0);
    }
    p.unbind();
}

} // namespace Orvane3Ds
