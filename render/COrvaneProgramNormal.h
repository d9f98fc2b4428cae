#pragma once

#include "render/DShader3d.h"

namespace Orvane3Ds
{

// Program for flat-coloured lines and rings (sources ":/glsl/normal").
class COrvaneProgramNormal : public DShader3d
{
  public:
    GLint mvp = -1;
    GLint position = -1;
    GLint color = -1;
    GLint outZ = -1;
    GLint upCut = -1;

  protected:
    void lookUpLocations() override;
};

} // namespace Orvane3Ds
