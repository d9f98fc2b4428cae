#pragma once

#include "render/GlHeaders.h"

namespace Orvane3Ds
{

// Stateless facade over the GL calls the drawables use; each member forwards one-to-one.
// Requires a current context with GLEW initialised.
class COpenGL
{
  public:
    virtual ~COpenGL();

    void bindBuffer(GLenum target, GLuint buffer) const;
    void bufferData(GLenum target, GLsizeiptr size, const void *data, GLenum usage) const;
    void clear(GLbitfield mask) const;
    void clearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) const;
    void cullFace(GLenum mode) const;
    void deleteBuffers(GLsizei n, const GLuint *buffers) const;
    void depthFunc(GLenum func) const;
    void disableVertexAttribArray(GLuint index) const;
    void enableVertexAttribArray(GLuint index) const;
    void drawArrays(GLenum mode, GLint first, GLsizei count) const;
    void drawElements(GLenum mode, GLsizei count, GLenum type, const void *indices) const;
    void enable(GLenum cap) const;
    void genBuffers(GLsizei n, GLuint *buffers) const;
    GLint getAttribLocation(GLuint program, const char *name) const;
    GLint getUniformLocation(GLuint program, const char *name) const;
    void *mapBuffer(GLenum target, GLenum access) const;
    GLboolean unmapBuffer(GLenum target) const;
    void uniform1f(GLint location, GLfloat v) const;
    void uniform1i(GLint location, GLint v) const;
    void uniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z) const;
    void uniform4f(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w) const;
    void uniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose,
                          const GLfloat *value) const;
    void useProgram(GLuint program) const;
    void vertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized,
                             GLsizei stride, const void *pointer) const;
    void viewport(GLint x, GLint y, GLsizei w, GLsizei h) const;
};

} // namespace Orvane3Ds
