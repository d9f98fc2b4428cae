#include "render/HeadlessRenderServices.h"

#include "geometry/Model.h"
#include "render/HeadlessSnapshots.h"

namespace Orvane3Ds
{

namespace
{

QList<std::shared_ptr<Model>> toList(const ModelList &models)
{
    return QList<std::shared_ptr<Model>>(models.begin(), models.end());
}

} // namespace

HeadlessServices headlessRenderServices()
{
    HeadlessServices services;
    services.writeSnapshots = [](const ModelList &models, const QString &dir, QString *error) {
        return writeSnapshots(toList(models), dir, error);
    };
    services.renderPreviews = [](const ModelList &models, QByteArray *front, QByteArray *top,
                                 QByteArray *left, QString *error) {
        std::array<QByteArray, 3> canvases;
        if (!renderSnapshots(toList(models), &canvases, error))
            return false;
        *front = canvases[0];
        *top = canvases[1];
        *left = canvases[2];
        return true;
    };
    return services;
}

} // namespace Orvane3Ds
