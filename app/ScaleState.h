#pragma once

#include "geometry/Vec3.h"

class Model;

// The scale panel's model: what the panel shows of the selected model and the factors typed.
struct ScaleState {
    bool locked = true;  // proportional scaling
    Vec3f reference{};   // the model's stored size (its size before any scaling)
    Vec3f current{};     // the extents of its bounding box now
    double volume = 0.0; // mm^3
    bool reload = false; // next refresh derives the reference from current / factors
    Vec3f factors{1.0f, 1.0f, 1.0f};

    // Bounds recomputed; current = extents, reference = stored size, volume, factors = stored
    // scale, reload = the model's layout-rotated flag (a turned model's stored size is stale).
    void readModel(Model &model);
    // Stores reference size and factors into the model's size and scale.
    void writeModel(Model &model) const;
};
