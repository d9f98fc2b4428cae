#pragma once

#include "geometry/Vec3.h"

class Mesh3D;

// Replaces the mesh's geometry with a UV sphere of the given radius around centre: `rings` rings
// at polar angles i*pi/(rings-1) from the top, each of `points` points at azimuths
// j*2pi/(points-1) (the last ring point repeats the first), and two triangles per quad between
// neighbouring rings and points, wound outward. Marks the mesh indexed and recomputes its box and
// face normals. rings and points below 3 are raised to 3.
void buildSphereMesh(Mesh3D &mesh, const Point3f &centre, float radius, int rings = 12,
                     int points = 12);
