#pragma once

#include "render/COrvaneProgramModel.h"
#include "render/COrvaneProgramNormal.h"
#include "render/FrameCamera.h"

#include "geometry/Vec3.h"

#include <cstddef>
#include <memory>

namespace Orvane3Ds
{

class COpenGL;

// Render state shared by the frame, the programs and every drawable (one per application).
class CContext
{
  public:
    Matrix4f projection = identityMatrix(); // set by the frame on resize
    Matrix4f view = identityMatrix();       // set from the camera
    Matrix4f third = identityMatrix();      // identity once the frame is initialised
    Vec3f eye{0.0f, 0.0f, 0.0f};            // camera eye, copied at the start of every frame
    Vec3f color{0.3f, 0.3f, 0.3f};          // current object colour, sent as _color
    std::shared_ptr<COpenGL> gl;
    COrvaneProgramModel modelProgram;
    COrvaneProgramNormal normalProgram;
    FrameCamera camera;
    Vec3f platform{96.0f, 54.0f, 160.0f}; // millimetres
    float viewportWidth = 0.0f;
    float viewportHeight = 0.0f;
    float clipZ = 160.0f;               // millimetres, model space
    Vec3f frontColor{0.3f, 0.3f, 0.3f}; // sent as _fcolor
    Vec3f backColor{1.0f, 0.0f, 0.0f};  // sent as _bcolor
    bool upCut = true;                  // true: what lies above clipZ is discarded
    // Level of detail: when the models of the view hold more than proxyThreshold faces together,
    // the big ones get clustered stand-ins of about proxyFaces faces together (shared in
    // proportion to their sizes), drawn instead of them while reducedDetail is set (the frame
    // sets it while the camera moves).
    std::size_t proxyThreshold = 300000;
    std::size_t proxyFaces = 180000;
    bool reducedDetail = false;
};

} // namespace Orvane3Ds
