#include "geometry/Model.h"

#include "geometry/MeshGroupRecord.h"

Model::Model() = default;

Model::~Model() = default;

void Model::transform(const Matrix4f &matrix)
{
    transformGeometry(matrix);
    for (const auto &overhang : m_overhangs)
        if (overhang)
            overhang->transform(matrix);
    if (m_support)
        for (const auto &part : m_support->parts)
            if (part)
                part->transform(matrix);
    const Point3f moved = transformPoint(matrix, {1.0f, 1.0f, 1.0f});
    if ((moved.x != 1.0f || moved.y != 1.0f) && m_generatorState)
        m_generatorState->discardNailGrid();
    for (const auto &part : m_manualSupports.parts)
        if (part)
            part->transform(matrix);
    notifyChanged();
}

std::shared_ptr<Mesh3D> Model::clone() const
{
    return deepCopy();
}

std::shared_ptr<Model> Model::deepCopy() const
{
    auto copy = std::make_shared<Model>();
    // Object fields, geometry, box, centroid, colour and (new) contour data.
    static_cast<Mesh3D &>(*copy) = static_cast<const Mesh3D &>(*this);
    copy->m_valueList = m_valueList;
    copy->m_layoutHistory = m_layoutHistory;
    copy->m_supportParameters = m_supportParameters;
    copy->m_overhangsFlag = m_overhangsFlag;
    copy->m_hasSupports = m_hasSupports;
    copy->m_furtherValues = m_furtherValues;
    copy->m_modelMatrix = m_modelMatrix;

    copy->m_overhangs.reserve(m_overhangs.size());
    for (const auto &overhang : m_overhangs)
        if (overhang)
            copy->m_overhangs.push_back(overhang->cloneOverhang());
    for (const auto &overhang : m_overhangBackup)
        if (overhang)
            copy->m_overhangBackup.push_back(overhang->cloneOverhang());

    if (m_support) {
        auto support = std::make_shared<Support>();
        support->parts.reserve(m_support->parts.size());
        for (const auto &part : m_support->parts)
            if (part)
                support->parts.push_back(part->clone());
        copy->m_support = std::move(support);
    }

    if (!m_manualSupports.isEmpty()) {
        const MeshGroupRecord fallback;
        const MeshGroupRecord &record =
            m_manualSupports.shared ? *m_manualSupports.shared : fallback;
        copy->m_manualSupports.shared =
            record.cloneGroup(m_manualSupports.parts, copy->m_manualSupports.parts);
    }

    if (m_generatorState)
        copy->m_generatorState = m_generatorState->clone();
    return copy;
}

double Model::volumeWithSupports() const
{
    double v = volume();
    if (m_support)
        for (const auto &part : m_support->parts)
            if (part)
                v += part->volume();
    // A sphere's volume does not depend on where it sits: the shared one serves.
    for (const auto &overhang : m_overhangs)
        if (overhang) {
            const std::shared_ptr<const Mesh3D> shape = overhang->sharedShape();
            v += shape ? shape->volume() : overhang->volume();
        }
    return v;
}

void Model::setSupport(std::shared_ptr<Support> support)
{
    m_support = std::move(support);
    m_hasSupports = m_support && !m_support->parts.empty();
}

void Model::refillOverhangBackup()
{
    m_overhangBackup.clear();
    m_overhangBackup.reserve(m_overhangs.size());
    for (const auto &overhang : m_overhangs)
        if (overhang)
            m_overhangBackup.push_back(overhang->cloneOverhang());
}

void Model::restoreOverhangsFromBackup()
{
    m_overhangs.clear();
    m_overhangs.reserve(m_overhangBackup.size());
    for (const auto &overhang : m_overhangBackup)
        if (overhang)
            m_overhangs.push_back(overhang->cloneOverhang());
}

void Model::setSupportGeneratorState(std::unique_ptr<ISupportGeneratorState> state)
{
    m_generatorState = std::move(state);
}
