#pragma once

// Root of the shader program family.
class DShader
{
  public:
    virtual ~DShader() = default;
};
