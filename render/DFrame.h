#pragma once

// Root of the view frames. Every operation has an empty default.
class DFrame
{
  public:
    virtual ~DFrame() = default;
    virtual void initialise() {}
    virtual void resize(int /*w*/, int /*h*/) {}
    virtual void draw() {}
    virtual void postDraw() {}
};
