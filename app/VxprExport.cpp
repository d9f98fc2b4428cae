#include "app/VxprExport.h"

#include "geometry/DModelOperator.h"
#include "geometry/DScene.h"
#include "geometry/Mesh3D.h"
#include "geometry/Model.h"
#include "slicing/DlpSliceManager.h"

#include <cmath>

namespace
{

// The package stores thicknesses and heights in millimetres, the slice engine steps in whole
// micrometres: a thickness between two micrometres would be cut without a word.
constexpr double kMaxThicknessMm = 10.0;

} // namespace

bool checkLayerThickness(const QString &thickness, QString *error)
{
    bool ok = false;
    // QString::toDouble reads "." as the decimal point whatever the locale says.
    const double mm = thickness.trimmed().toDouble(&ok);
    QString reason;
    if (!ok || !std::isfinite(mm))
        reason = QStringLiteral("The layer thickness \"%1\" is not a number").arg(thickness);
    else if (!(mm > 0.0))
        reason =
            QStringLiteral("The layer thickness \"%1\" is not a positive number").arg(thickness);
    else if (mm > kMaxThicknessMm)
        reason = QStringLiteral("The layer thickness \"%1\" is above the largest allowed, 10 mm")
                     .arg(thickness);
    else {
        const double microns = mm * 1000.0;
        const double whole = std::round(microns);
        if (whole < 1.0)
            reason = QStringLiteral("The layer thickness \"%1\" is below the smallest the work "
                                    "package can hold, 0.001 mm")
                         .arg(thickness);
        else if (std::fabs(microns - whole) > 1e-6 * whole)
            reason = QStringLiteral("The layer thickness \"%1\" is not a whole number of "
                                    "micrometres (the work package steps in 0.001 mm)")
                         .arg(thickness);
    }
    if (reason.isEmpty())
        return true;
    if (error)
        *error = reason;
    return false;
}

VxprExportPlan prepareVxprExport(const DScene &scene, const PlatformSize &platform,
                                 const QString &layerThickness,
                                 const VxprPreviewRenderer &renderPreviews)
{
    VxprExportPlan plan;
    if (scene.isEmpty()) {
        plan.error = QStringLiteral("The scene holds no model to print");
        return plan;
    }
    if (!checkLayerThickness(layerThickness, &plan.error))
        return plan;
    plan.job.layerThickness = layerThickness.trimmed();
    plan.job.refuseEmpty = true;
    for (const auto &mesh : scene.printMeshes())
        plan.job.meshes.push_back(mesh);
    for (const auto &model : scene.models())
        if (DModelOperator::isOutOfBounds(model->boundingBox(), platform))
            plan.outsideModels << model->name();

    if (!renderPreviews) {
        plan.previewNote = QStringLiteral("no renderer is available");
        return plan;
    }
    QString error;
    if (!renderPreviews(&plan.job.previewFront, &plan.job.previewTop, &plan.job.previewLeft,
                        &error)) {
        plan.job.previewFront.clear();
        plan.job.previewTop.clear();
        plan.job.previewLeft.clear();
        plan.previewNote = error.isEmpty() ? QStringLiteral("rendering failed") : error;
    }
    return plan;
}

bool exportVxpr(const QString &path, const VxprExportPlan &plan, IProgressable *progress,
                QString *error, double *volumeMl)
{
    if (!plan.ok()) {
        if (error)
            *error = plan.error;
        return false;
    }
    return OrvaneDlp::exportVxpr(path, plan.job, progress, error, volumeMl);
}
