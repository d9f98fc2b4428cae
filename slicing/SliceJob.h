#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class Mesh3D;

namespace OrvaneDlp
{

// Everything one work-package export needs, gathered by the caller on the interface thread.
struct SliceJob {
    // The meshes to print in scene order: models, their generated supports and manual supports
    // (source kind 0) and SLC contour models (source kind 1). Other kinds are ignored. The
    // meshes must not change while the export runs.
    std::vector<std::shared_ptr<Mesh3D>> meshes;
    // Layer thickness in millimetres as text ("0.05"); sets LayerThickness0 and LayerThicknessX.
    QString layerThickness = QStringLiteral("0.05");
    // Preview pictures front, top, left: raw 256 x 256 RGB bytes, top row first. Shorter data
    // (or none) leaves the rest of the slot zero; longer data is cut to the slot.
    QByteArray previewFront;
    QByteArray previewTop;
    QByteArray previewLeft;
    // Worker threads for slicing; 0 uses all cores. The package bytes do not depend on it.
    int threadCount = 0;
    // On cancel the previous target file is kept by default. With this flag the layers written
    // so far are kept as a valid but shorter package instead (the header still gives the
    // planned layer count).
    bool keepPartialOnCancel = false;
    // Refuse, before the target is touched, a job whose package would hold no layer (no
    // printable mesh, SLC models without usable layers). Off: such a job writes a header-only
    // package.
    bool refuseEmpty = false;
};

} // namespace OrvaneDlp
