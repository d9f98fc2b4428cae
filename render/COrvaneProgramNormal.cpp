#include "render/COrvaneProgramNormal.h"

namespace Orvane3Ds
{

void COrvaneProgramNormal::lookUpLocations()
{
    const GLuint p = m_program;
    const bool ok = m_linked;
    mvp = ok ? glGetUniformLocation(p, "_mvp") : -1;
    position = ok ? glGetAttribLocation(p, "_position") : -1;
    color = ok ? glGetUniformLocation(p, "_color") : -1;
    outZ = ok ? glGetUniformLocation(p, "_outZ") : -1;
    upCut = ok ? glGetUniformLocation(p, "_upCut") : -1;
}

} // namespace Orvane3Ds
