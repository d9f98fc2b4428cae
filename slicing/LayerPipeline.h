#pragma once

#include "slicing/PolygonSteps.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace Lamellor
{

class Mesh;

// What one sliced layer turns into before it is written: the encoded record and its area.
struct LayerOutput {
    std::vector<char> record;
    double area = 0.0;         // mm^2
    std::vector<QString> logs; // log lines of this layer, written in layer order
};

// Slices layers z0 + i * step (i = 0..layerCount-1) of a finished mesh on several threads and
// hands the results to a writer strictly in layer order. Only a window of layers is in flight at
// a time, so memory does not grow with the layer count.
struct LayerPipelineParams {
    int32_t z0 = 0;
    int32_t step = 50;
    int layerCount = 0;
    int threadCount = 0;  // 0: all cores
    int windowLayers = 0; // layers in flight; 0: a default scaled by the thread count
    // Polled by the engine's loops; set it to stop slicing early.
    const std::atomic<bool> *cancel = nullptr;
    // Runs on any worker thread: turns layer i (its parts; empty when the mesh has none) into
    // out. Must be thread-safe; out is a reused buffer.
    std::function<void(int layer, int32_t z, const std::vector<SlicePart> &parts, LayerOutput &out)>
        encode;
    // Runs on the calling thread in layer order. Return false to stop (nothing later is written).
    std::function<bool(int layer, const LayerOutput &out)> write;
};

// Returns the number of layers handed to write. mesh may be null (no triangle meshes).
int runLayerPipeline(const Mesh *mesh, const LayerPipelineParams &params);

} // namespace Lamellor
