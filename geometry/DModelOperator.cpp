#include "geometry/DModelOperator.h"

#include "geometry/DModelPacker.h"
#include "geometry/Model.h"

#include <algorithm>

void DModelOperator::placeBeside(const ModelList &sceneModels, const ModelList &newModels)
{
    placeBesideEdge(sceneLeftEdge(sceneModels), newModels);
}

float DModelOperator::sceneLeftEdge(const ModelList &sceneModels) const
{
    float left = m_platform.x / 2.0f;
    for (const auto &model : sceneModels) {
        const Box3f &b = model->boundingBox();
        if (!b.isEmpty())
            left = std::min(left, b.min.x);
    }
    return left;
}

void DModelOperator::placeBesideEdge(float leftEdge, const ModelList &newModels)
{
    float right = -3.4028235e38f;
    bool any = false;
    for (const auto &model : newModels) {
        const Box3f &b = model->boundingBox();
        if (b.isEmpty())
            continue;
        right = std::max(right, b.max.x);
        any = true;
    }
    // Models without vertices have no box; moving by an "infinite" distance would ruin them.
    if (!any)
        return;
    translateAll(newModels, Vec3f{leftEdge - right, 0.0f, 0.0f});
}

void DModelOperator::layout(const ModelList &models, int spacing)
{
    DModelPacker packer(m_platform.y);
    packer.setSpacing(spacing);
    packer.layout(models);
}

void DModelOperator::dropOntoPlatform(const ModelList &models)
{
    for (const auto &model : models) {
        if (model->boundingBox().isEmpty())
            continue;
        model->transform(translationMatrix(0.0f, 0.0f, -model->boundingBox().min.z));
    }
}

Matrix4f DModelOperator::translate(const Matrix4f &m, float x, float y, float z) const
{
    return multiply(m, translationMatrix(x, y, z));
}

Matrix4f DModelOperator::translationFrom(const Vec3f &point) const
{
    return translationMatrix(point.x, point.y, point.z);
}

Matrix4f DModelOperator::translation(float x, float y, float z) const
{
    return translationMatrix(x, y, z);
}

void DModelOperator::translateAll(const ModelList &models, const Vec3f &vector)
{
    const Matrix4f t = translationFrom(vector);
    for (const auto &model : models)
        model->transform(t);
}

bool DModelOperator::isOutOfBounds(const Box3f &box, const PlatformSize &p)
{
    if (box.isEmpty())
        return false;
    const Vec3f extent = box.extent();
    return box.max.x > p.x / 2.0f || box.min.x < -p.x / 2.0f || box.max.y > p.y / 2.0f ||
           box.min.y < -p.y / 2.0f || box.min.z < 0.0f || box.max.z > p.z || extent.x > p.x ||
           extent.y > p.y || extent.z > p.z;
}

bool DModelOperator::anyOutOfBounds(const ModelList &models, const PlatformSize &platform)
{
    return std::any_of(models.begin(), models.end(), [&platform](const auto &model) {
        return isOutOfBounds(model->boundingBox(), platform);
    });
}

int DModelOperator::layerCount(float height, float thickness)
{
    if (!(height > 0.0f) || !(thickness > 0.0f))
        return 0;
    const float quotient = height / thickness;
    if (quotient >= 2.0e9f)
        return 2000000000;
    const int n = static_cast<int>(quotient);
    const double h = static_cast<double>(height);
    const double t = static_cast<double>(thickness);
    return h >= (n + 0.5) * t ? n + 1 : n;
}

double DModelOperator::estimateMinutes(double volume, float thickness, int layers)
{
    const double t = static_cast<double>(thickness);
    return (volume / 100.0 / t * 1428.5714 / 1000.0 / 1.25 + layers * 10.0) / 60.0;
}

SceneStatistics DModelOperator::sceneStatistics(const ModelList &models, float layerThickness)
{
    SceneStatistics stats;
    for (const auto &model : models) {
        stats.totalVolume += model->volumeWithSupports();
        const Box3f &b = model->boundingBox();
        if (!b.isEmpty() && b.max.z > stats.maxZ)
            stats.maxZ = b.max.z;
    }
    stats.layerCount = layerCount(stats.maxZ, layerThickness);
    stats.minutes = estimateMinutes(stats.totalVolume, layerThickness, stats.layerCount);
    return stats;
}
