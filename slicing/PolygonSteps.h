#pragma once

#include <polyclipping/clipper.hpp>

#include <atomic>
#include <vector>

namespace Lamellor
{

// One part of a layer: the outline first, then its holes. Coordinates in micrometres.
using SlicePart = ClipperLib::Paths;

// The steps that turn a layer's loops into outlines, in the order the slicer applies them.
// cancel may be null; a set flag ends the stitching loop early.

// Joins open polylines whose end lies within 20 um of a start: a polyline reaching its own start
// is moved to closed; one reaching the start of an earlier polyline takes over its points.
void connectOpenPolylines(ClipperLib::Paths &closed, ClipperLib::Paths &open);
// Repeatedly joins the closest pair of open ends (below 10 mm) until none is left.
void stitchOpenPolylines(ClipperLib::Paths &closed, ClipperLib::Paths &open,
                         const std::atomic<bool> *cancel);
// Removes polygons whose perimeter stays below 50 um.
void removeTinyPolygons(ClipperLib::Paths &polygons);
// Drops points closer than 10 um to the last kept point and back-turning points within 500 um;
// polygons left with fewer than 3 points are removed.
void simplifyPolygons(ClipperLib::Paths &polygons);
// Unites the polygons (non-zero fill) and splits the result into parts; islands inside holes
// become parts of their own, listed after the part that holds them.
void unionIntoParts(const ClipperLib::Paths &polygons, std::vector<SlicePart> &parts);

// Summed edge lengths of a closed path, each edge truncated to whole micrometres.
int64_t closedPerimeter(const ClipperLib::Path &path);

} // namespace Lamellor
