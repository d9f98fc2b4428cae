#pragma once

#include "geometry/PlatformSize.h"
#include "geometry/Vec3.h"

#include <list>
#include <memory>

class Model;

// The 3D frame of the view; owned by the application's render part. The operator only keeps the
// pointer for callers that need it.
class DFrame;

using ModelList = std::list<std::shared_ptr<Model>>;

// Figures shown for the whole scene.
struct SceneStatistics {
    double totalVolume = 0.0; // mm^3, models with their supports and overhang spheres
    float maxZ = 0.0f;        // highest bounding-box top, 0 for an empty scene
    int layerCount = 0;       // layers of `layerThickness` up to maxZ
    double minutes = 0.0;     // print time estimate
};

// Moves models as a group on the build platform: drop, translate, place beside the scene,
// automatic layout, and the platform-bounds test.
//
// Platform frame: x in [-X/2, X/2], y in [-Y/2, Y/2], z in [0, Z] with (X, Y, Z) the platform
// size (millimetres). All operations transform the models in place and run on whichever thread
// owns the models at that moment.
class DModelOperator
{
  public:
    DModelOperator() = default;
    explicit DModelOperator(const PlatformSize &platform) : m_platform(platform) {}
    virtual ~DModelOperator() = default;

    // Moves newModels along x so that their right side touches the left side of the scene's
    // models (with an empty scene: ends at x = X/2). y and z are kept.
    virtual void placeBeside(const ModelList &sceneModels, const ModelList &newModels);
    // The two halves of placeBeside(): the x that new models end at (the smallest box minimum x
    // of the scene's models, at most X/2), and the move of the new models to end there.
    float sceneLeftEdge(const ModelList &sceneModels) const;
    void placeBesideEdge(float leftEdge, const ModelList &newModels);
    // Automatic layout with `spacing` millimetres between the models' rectangles.
    virtual void layout(const ModelList &models, int spacing);
    virtual PlatformSize &platformSize() { return m_platform; }
    virtual DFrame *&frame() { return m_frame; }
    // Translates every model by -(its bounding-box minimum z).
    virtual void dropOntoPlatform(const ModelList &models);
    // m * T(x, y, z).
    virtual Matrix4f translate(const Matrix4f &m, float x, float y, float z) const;
    virtual Matrix4f translationFrom(const Vec3f &point) const;
    virtual Matrix4f translation(float x, float y, float z) const;
    virtual void translateAll(const ModelList &models, const Vec3f &vector);

    const PlatformSize &platform() const { return m_platform; }

    // True when the box lies beyond the platform on any side or is larger than the platform in
    // any direction. An empty box (a mesh without vertices) is within bounds.
    static bool isOutOfBounds(const Box3f &box, const PlatformSize &platform);
    // True when any model is out of bounds (stops at the first one).
    static bool anyOutOfBounds(const ModelList &models, const PlatformSize &platform);

    // Layers of thickness t up to height h: n = h / t divided in single precision and truncated,
    // plus one when h >= (n + 0.5) * t with the single-precision h and t widened to double.
    static int layerCount(float height, float thickness);
    // Minutes for volume (mm^3), thickness t (mm) and n layers:
    // (V / 100 / t * 1428.5714 / 1000 / 1.25 + n * 10) / 60.
    static double estimateMinutes(double volume, float thickness, int layers);
    static SceneStatistics sceneStatistics(const ModelList &models, float layerThickness = 0.1f);

  private:
    PlatformSize m_platform;
    DFrame *m_frame = nullptr;
};
