#pragma once

#include "geometry/Vec3.h"

#include <cstddef>
#include <memory>

class Mesh3D;

// Builds a marker's mesh of the given radius around centre (replacing the mesh's geometry).
using MarkerShapeBuilder = void (*)(Mesh3D &mesh, const Point3f &centre, float radius);
// Builds a tube of unit length: a ring of topRadius in the plane z = 0 and one of bottomRadius in
// z = 1, both around the z axis (replacing the mesh's geometry).
using TubeShapeBuilder = void (*)(Mesh3D &mesh, float topRadius, float bottomRadius);

// The mesh build(mesh, origin, radius) makes, made once and handed to every caller asking for
// the same builder and radius while one of them still holds it: a project's thousands of
// overhang points and rod ends then share a handful of meshes. The mesh must not be changed.
// Thread-safe (projects are read on worker threads).
std::shared_ptr<const Mesh3D> sharedMarkerShape(MarkerShapeBuilder build, float radius);
// The same for tubes, one per builder and pair of radii: the hand-placed rods of a project share
// the tube of their radii, each placed by a matrix of its own.
std::shared_ptr<const Mesh3D> sharedTubeShape(TubeShapeBuilder build, float topRadius,
                                              float bottomRadius);

// Shapes alive now, over all builders and radii.
std::size_t sharedMarkerShapeCount();
