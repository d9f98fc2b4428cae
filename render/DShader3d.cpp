#include "render/DShader3d.h"

#include <QFile>

#include <cstdio>

namespace
{

constexpr int InfoLogSize = 4096;

QByteArray readWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    file.close();
    return bytes;
}

bool compile(GLuint shader, const QByteArray &source)
{
    const GLchar *text = source.constData();
    const GLint length = static_cast<GLint>(qstrlen(text));
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE)
        return true;
    char log[InfoLogSize] = {};
    glGetShaderInfoLog(shader, InfoLogSize, nullptr, log);
    std::printf("%s", log);
    std::fflush(stdout);
    return false;
}

} // namespace

void DShader3d::loadSources(const QString &prefix)
{
    m_vertexSource = readWhole(QStringLiteral("%1.vs").arg(prefix));
    m_fragmentSource = readWhole(QStringLiteral("%1.fs").arg(prefix));
}

bool DShader3d::build(const std::shared_ptr<Orvane3Ds::CContext> &context)
{
    m_context = context;
    return compileAndLink();
}

bool DShader3d::compileAndLink()
{
    m_linked = false;
    m_vertexShader = glCreateShader(GL_VERTEX_SHADER);
    if (m_vertexShader == 0)
        return false;
    m_fragmentShader = glCreateShader(GL_FRAGMENT_SHADER);
    if (m_fragmentShader == 0)
        return false;
    if (!compile(m_vertexShader, m_vertexSource))
        return false;
    if (!compile(m_fragmentShader, m_fragmentSource))
        return false;
    m_program = glCreateProgram();
    glAttachShader(m_program, m_vertexShader);
    glAttachShader(m_program, m_fragmentShader);
    glLinkProgram(m_program);
    GLint ok = GL_FALSE;
    glGetProgramiv(m_program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[InfoLogSize] = {};
        glGetProgramInfoLog(m_program, InfoLogSize, nullptr, log);
        std::printf("%s", log);
        std::fflush(stdout);
        return false;
    }
    m_linked = true;
    return true;
}

void DShader3d::bind()
{
    // An unlinked program would raise GL_INVALID_OPERATION on every call that follows; its
    // objects are simply not drawn.
    glUseProgram(m_linked ? m_program : 0);
    lookUpLocations();
}

void DShader3d::unbind()
{
    glUseProgram(0);
}
