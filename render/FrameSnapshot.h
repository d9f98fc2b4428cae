#pragma once

#include "geometry/Vec3.h"

#include <QByteArray>
#include <QString>

namespace Orvane3Ds
{

// The three preview pictures of the scene: orthographic views fitted to the scene's bounding
// box, placed on a 256 x 256 canvas and stored as raw RGB bytes (rows top first, no header).
enum class SnapshotView { Front = 0, Top = 1, Left = 2 };

constexpr int SnapshotCanvas = 256;
constexpr int SnapshotBytes = SnapshotCanvas * SnapshotCanvas * 3; // 196,608

struct SnapshotSize {
    int width = 0;
    int height = 0;
};

// Horizontal and vertical extents of the box for a view: front (Y, Z), top (Y, X), left (X, Z).
void snapshotExtents(const Box3f &box, SnapshotView view, float *fw, float *fh);
// Image size: the longer side 256, the other 256 * short / long (truncated); the width is then
// rounded up to a multiple of 4. An empty or flat box yields 0 x 0.
SnapshotSize snapshotSize(const Box3f &box, SnapshotView view);

// Orthographic projection and view matrix looking at the box from the view's side.
struct SnapshotCamera {
    Matrix4f projection;
    Matrix4f view;
};
SnapshotCamera snapshotCamera(const Box3f &box, SnapshotView view);

// Places an RGBA image (rows bottom first, as read from GL) on the canvas: centred horizontally
// at the top when taller than wide, otherwise at the left of the bottom edge. Uncovered pixels
// are 0, 0, 0. Returns SnapshotBytes bytes.
QByteArray composeSnapshotCanvas(const QByteArray &rgba, int width, int height);

// Writes bytes through a temporary file; the previous file survives a failure. Returns false
// with *error set on failure.
bool writeSnapshotFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// File name stem of a view: "front", "top", "left".
QString snapshotName(SnapshotView view);

} // namespace Orvane3Ds
