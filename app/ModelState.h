#pragma once

#include "geometry/Overhang.h"
#include "geometry/Support.h"
#include "geometry/Vec3.h"

#include <array>
#include <memory>
#include <vector>

class DScene;
class Mesh3D;
class Model;

// Everything a placement change (move, rotate, lay flat, scale, layout, support change) alters
// on a model, captured so that the model can be put back exactly: the vertex and face-normal
// arrays of the model, of its overhang points, generated support meshes and manual pieces, the
// size / scale / layout fields, and which overhang list and generated support the model held.
//
// Restoring writes the captured values back into the same objects (the scene and the drawables
// keep their pointers), so a restored model is bit-identical to the captured one. Faces are not
// captured: no placement change alters them.
class ModelState
{
  public:
    static std::shared_ptr<const ModelState> capture(const Model &model);

    // Writes the state back into `model`. The overhang list and the generated support are
    // exchanged through the scene (so the drawables follow) when they differ from the model's;
    // every changed mesh calls its changed callback.
    void restore(Model &model, DScene &scene, const std::shared_ptr<Model> &shared) const;

    // True when the model's geometry and fields equal this state bit for bit.
    bool matches(const Model &model) const;
    // Memory held by the captured arrays, in bytes.
    std::size_t bytes() const;

  private:
    void restoreManualParts(Model &model, DScene &scene) const;

    struct Geometry {
        std::vector<Point3f> vertices;
        std::vector<Vec3f> normals;
        void capture(const Mesh3D &mesh);
        // Writes back (vertices, normals, bounds); false when the array sizes no longer fit.
        bool restore(Mesh3D &mesh) const;
        bool matches(const Mesh3D &mesh) const;
    };
    struct OverhangState {
        Point3f position;
        Vec3f direction;
        Geometry geometry;
    };

    Geometry m_mesh;
    Point3f m_centroid;
    Vec3f m_size;
    Vec3f m_scale;
    bool m_layoutRotated = false;
    float m_layoutOffsetX = 0.0f;
    float m_layoutOffsetY = 0.0f;
    std::vector<Matrix4f> m_layoutHistory;
    Matrix4f m_modelMatrix{};
    OverhangList m_overhangs;
    std::vector<OverhangState> m_overhangStates;
    std::shared_ptr<Support> m_support;
    std::vector<Geometry> m_supportParts;
    std::vector<std::shared_ptr<Mesh3D>> m_manualParts;
    std::vector<Geometry> m_manualStates;
    // End balls: their centre (twice); rods: the top and bottom centres of their rings.
    std::vector<std::array<Point3f, 2>> m_manualCentres;
    // End balls: radius, 0; rods: top and bottom radius.
    std::vector<std::array<float, 2>> m_manualRadii;
};
