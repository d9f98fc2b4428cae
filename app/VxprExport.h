#pragma once

#include "geometry/PlatformSize.h"
#include "slicing/SliceJob.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class DScene;
class IProgressable;

// The one way from a scene to a work package, shared by the window's export and print runs and
// by the command line's --export-vxpr.
//
// prepareVxprExport() runs on the thread that owns the scene (the interface thread in the
// window): it gathers the meshes, checks the layer thickness, names the models beyond the
// platform and renders the three preview pictures into memory. exportVxpr() then writes the
// package from that plan on any thread. Preview pictures never travel through files, so a
// picture that fails to render leaves its slot empty instead of letting an older picture in.

// Renders the front, top and left preview pictures as raw 256 x 256 RGB bytes (rows top first).
// False with a reason in *error when it cannot.
using VxprPreviewRenderer =
    std::function<bool(QByteArray *front, QByteArray *top, QByteArray *left, QString *error)>;

struct VxprExportPlan {
    // Meshes, layer thickness and previews of the run. The job refuses to write a package
    // without layers.
    OrvaneDlp::SliceJob job;
    // Why the preview pictures are empty (no renderer, rendering failed); empty when rendered.
    QString previewNote;
    // Names of the models that reach beyond the platform, in scene order.
    QStringList outsideModels;
    // Why the export is refused before it starts; empty when it may run.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Checks the layer thickness text (millimetres, "." as the decimal point in any locale) against
// what a work package can hold: positive, a whole number of micrometres of at least 1 um, at most
// 10 mm. Returns false with the reason in *error.
bool checkLayerThickness(const QString &thickness, QString *error);

// Gathers everything an export of scene needs. With no renderer (or when it fails) the
// previews stay empty and previewNote says why. Refused (error set) for an empty scene or a
// layer thickness the package cannot hold.
VxprExportPlan prepareVxprExport(const DScene &scene, const PlatformSize &platform,
                                 const QString &layerThickness,
                                 const VxprPreviewRenderer &renderPreviews);

// Writes the package of plan to path (see OrvaneDlp::exportVxpr for progress, cancel and what
// happens to an existing file). False with the reason in *error, also when the plan was refused
// or the job holds no layer to print. *volumeMl, when given, receives the resin volume written.
bool exportVxpr(const QString &path, const VxprExportPlan &plan, IProgressable *progress,
                QString *error, double *volumeMl = nullptr);
