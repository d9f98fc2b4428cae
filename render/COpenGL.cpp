#include "render/COpenGL.h"

namespace Orvane3Ds
{

COpenGL::~COpenGL() = default;

void COpenGL::bindBuffer(GLenum target, GLuint buffer) const
{
    glBindBuffer(target, buffer);
}
void COpenGL::bufferData(GLenum target, GLsizeiptr size, const void *data, GLenum usage) const
{
    glBufferData(target, size, data, usage);
}
void COpenGL::clear(GLbitfield mask) const
{
    glClear(mask);
}
void COpenGL::clearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) const
{
    glClearColor(r, g, b, a);
}
void COpenGL::cullFace(GLenum mode) const
{
    glCullFace(mode);
}
void COpenGL::deleteBuffers(GLsizei n, const GLuint *buffers) const
{
    glDeleteBuffers(n, buffers);
}
void COpenGL::depthFunc(GLenum func) const
{
    glDepthFunc(func);
}
void COpenGL::disableVertexAttribArray(GLuint index) const
{
    glDisableVertexAttribArray(index);
}
void COpenGL::enableVertexAttribArray(GLuint index) const
{
    glEnableVertexAttribArray(index);
}
void COpenGL::drawArrays(GLenum mode, GLint first, GLsizei count) const
{
    glDrawArrays(mode, first, count);
}
void COpenGL::drawElements(GLenum mode, GLsizei count, GLenum type, const void *indices) const
{
    glDrawElements(mode, count, type, indices);
}
void COpenGL::enable(GLenum cap) const
{
    glEnable(cap);
}
void COpenGL::genBuffers(GLsizei n, GLuint *buffers) const
{
    glGenBuffers(n, buffers);
}
GLint COpenGL::getAttribLocation(GLuint program, const char *name) const
{
    return glGetAttribLocation(program, name);
}
GLint COpenGL::getUniformLocation(GLuint program, const char *name) const
{
    return glGetUniformLocation(program, name);
}
void *COpenGL::mapBuffer(GLenum target, GLenum access) const
{
    return glMapBuffer(target, access);
}
GLboolean COpenGL::unmapBuffer(GLenum target) const
{
    return glUnmapBuffer(target);
}
void COpenGL::uniform1f(GLint location, GLfloat v) const
{
    glUniform1f(location, v);
}
void COpenGL::uniform1i(GLint location, GLint v) const
{
    glUniform1i(location, v);
}
void COpenGL::uniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z) const
{
    glUniform3f(location, x, y, z);
}
void COpenGL::uniform4f(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w) const
{
    glUniform4f(location, x, y, z, w);
}
void COpenGL::uniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose,
                               const GLfloat *value) const
{
    glUniformMatrix4fv(location, count, transpose, value);
}
void COpenGL::useProgram(GLuint program) const
{
    glUseProgram(program);
}
void COpenGL::vertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized,
                                  GLsizei stride, const void *pointer) const
{
    glVertexAttribPointer(index, size, type, normalized, stride, pointer);
}
void COpenGL::viewport(GLint x, GLint y, GLsizei w, GLsizei h) const
{
    glViewport(x, y, w, h);
}

} // namespace Orvane3Ds
