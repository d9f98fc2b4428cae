#pragma once

#include "geometry/SupportParameters.h"
#include "geometry/Vec3.h"

#include <memory>
#include <vector>

class MeshQuery;
class Nail;
class Overhang;
class Tip;

// Length of every generated tip, mm.
constexpr float kTipLength = 3.0f;

// The model a support is routed around: its faces (through a query structure) and the stored
// face normals, index-aligned with the faces.
struct SupportModelView {
    const MeshQuery &query;
    const std::vector<Vec3f> &faceNormals;
};

// Routes the support of one overhang: a tip of length 3.0 along its direction, turned where the
// straight way collides with the model, and below it a column to the platform, a column landing
// on the model with feet, or a thin link to the model. Sets the overhang's computed flag and
// replaces its tip, nail and link. Returns false (and leaves no tip, nail or link) when no support
// can be routed, for example when the tip would end below the platform.
bool computeSupportPath(const std::shared_ptr<Overhang> &overhang, const SupportModelView &model,
                        const SupportParameters &params);

// Collision tests used by the routing (exposed for tests).
bool tipCollides(const Tip &tip, const SupportModelView &model, const SupportParameters &params);
bool nailCollides(const Nail &nail, const SupportModelView &model);
