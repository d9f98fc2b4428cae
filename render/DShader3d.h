#pragma once

#include "render/GlHeaders.h"

#include "render/DShader.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace Orvane3Ds
{
class CContext;
}

// A GLSL program built from a vertex and a fragment source. The program lives inside the
// render context and keeps only a weak link back to it (a strong one would keep the context,
// and with it every GL name, alive forever).
class DShader3d : public DShader
{
  public:
    DShader3d() = default;

    // Stores the context, then compiles and links. On failure the info log is printed to
    // standard output and false is returned; the program is then unusable (id 0 or unlinked).
    virtual bool build(const std::shared_ptr<Orvane3Ds::CContext> &context);
    // glUseProgram with this program and looks up the locations of the subclass.
    virtual void bind();
    virtual void unbind();
    virtual GLuint programId() const { return m_program; }
    virtual GLuint vertexShaderId() const { return m_vertexShader; }
    virtual GLuint fragmentShaderId() const { return m_fragmentShader; }
    // Reads prefix + ".vs" and prefix + ".fs" (resource or file paths); a missing file gives an
    // empty source, which then fails at build().
    virtual void loadSources(const QString &prefix);

    const QByteArray &vertexSource() const { return m_vertexSource; }
    const QByteArray &fragmentSource() const { return m_fragmentSource; }
    bool isLinked() const { return m_linked; }

  protected:
    bool compileAndLink();
    virtual void lookUpLocations() {}
    std::shared_ptr<Orvane3Ds::CContext> context() const { return m_context.lock(); }

    std::weak_ptr<Orvane3Ds::CContext> m_context;
    QByteArray m_vertexSource;
    QByteArray m_fragmentSource;
    GLuint m_vertexShader = 0;
    GLuint m_fragmentShader = 0;
    GLuint m_program = 0;
    bool m_linked = false;
};
