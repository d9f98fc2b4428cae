#include "render/COrvaneProgramModel.h"

namespace Orvane3Ds
{

namespace
{
const char *const MaterialNames[4] = {"_Material.ambient", "_Material.diffuse",
                                      "_Material.specular", "_Material.Shininess"};
}

bool COrvaneProgramModel::buildFromSources(const std::shared_ptr<CContext> &context,
                                           const QByteArray &vertexSource,
                                           const QByteArray &fragmentSource)
{
    m_vertexSource = vertexSource;
    m_fragmentSource = fragmentSource;
    return build(context);
}

void COrvaneProgramModel::lookUpLocations()
{
    const GLuint p = m_program;
    const bool ok = m_linked;
    auto attrib = [p, ok](const char *name) { return ok ? glGetAttribLocation(p, name) : -1; };
    auto uniform = [p, ok](const char *name) { return ok ? glGetUniformLocation(p, name) : -1; };
    position = attrib("_position");
    normal = attrib("_normal");
    mmvp = uniform("_mmvp");
    color = uniform("_color");
    mmodel = uniform("_mmodel");
    mnormal = uniform("_mnormal");
    dirLightColor = uniform("_dirLight.Color");
    dirLightAmbient = uniform("_dirLight.ambient");
    dirLightDiffuse = uniform("_dirLight.diffuse");
    dirLightPosition = uniform("_dirLight.position");
    eye = uniform("_eye");
    matSpecularIntensity = uniform("_matSpecularIntensity");
    specularPower = uniform("_specularPower");
    outZ = uniform("_outZ");
    fcolor = uniform("_fcolor");
    bcolor = uniform("_bcolor");
    upCut = uniform("_upCut");
    mViewProjection = uniform("_mViewProjection");
    lightPosition = uniform("_Light.Position");
    lightAmbient = uniform("_Light.ambient");
    lightDiffuse = uniform("_Light.diffuse");
    lightSpecular = uniform("_Light.specular");
    for (int i = 0; i < 4; ++i)
        material[i] = uniform(MaterialNames[i]);
}

} // namespace Orvane3Ds
