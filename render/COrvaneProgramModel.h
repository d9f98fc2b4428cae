#pragma once

#include "render/DShader3d.h"

namespace Orvane3Ds
{

// Program for every lit triangle mesh (sources ":/glsl/old"). Also accepts the "doubleRender"
// variant, whose names it looks up as well; a name absent from the linked program has the
// location -1, and setting it does nothing.
class COrvaneProgramModel : public DShader3d
{
  public:
    // Builds from texts given by the caller instead of loaded sources.
    virtual bool buildFromSources(const std::shared_ptr<CContext> &context,
                                  const QByteArray &vertexSource, const QByteArray &fragmentSource);

    GLint position = -1;
    GLint normal = -1;
    GLint mmvp = -1;
    GLint color = -1;
    GLint mmodel = -1;
    GLint mnormal = -1;
    GLint dirLightColor = -1;
    GLint dirLightAmbient = -1;
    GLint dirLightDiffuse = -1;
    GLint dirLightPosition = -1;
    GLint eye = -1;
    GLint matSpecularIntensity = -1;
    GLint specularPower = -1;
    GLint outZ = -1;
    GLint fcolor = -1;
    GLint bcolor = -1;
    GLint upCut = -1;
    GLint mViewProjection = -1;
    GLint lightPosition = -1;
    GLint lightAmbient = -1;
    GLint lightDiffuse = -1;
    GLint lightSpecular = -1;
    GLint material[4] = {-1, -1, -1, -1}; // ambient, diffuse, specular, Shininess

  protected:
    void lookUpLocations() override;
};

} // namespace Orvane3Ds
