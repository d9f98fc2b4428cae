#pragma once

#include "geometry/Vec3.h"

#include <cstddef>
#include <memory>

class Mesh3D;

// Builds a marker's mesh of the given radius around centre (replacing the mesh's geometry).
using MarkerShapeBuilder = void (*)(Mesh3D &mesh, const Point3f &centre, float radius);

// The mesh build(mesh, origin, radius) makes, made once and handed to every caller asking for
// the same builder and radius while one of them still holds it: a project's thousands of
// overhang points and rod ends then share a handful of meshes. The mesh must not be changed.
// Thread-safe (projects are read on worker threads).
std::shared_ptr<const Mesh3D> sharedMarkerShape(MarkerShapeBuilder build, float radius);

// Shapes alive now, over all builders and radii.
std::size_t sharedMarkerShapeCount();
