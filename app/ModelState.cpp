#include "app/ModelState.h"

#include "geometry/DScene.h"
#include "geometry/Model.h"
#include "supports/DsCylider.h"
#include "supports/DsPoint.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>

namespace
{

template <typename T> bool sameBits(const std::vector<T> &a, const std::vector<T> &b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool sameBits(const Vec3f &a, const Vec3f &b)
{
    return std::memcmp(&a, &b, sizeof(Vec3f)) == 0;
}

// Where a hand-placed piece is: a ball's centre (twice) and radius, a rod's two centres and radii.
void manualPlace(const Mesh3D &part, std::array<Point3f, 2> &centres, std::array<float, 2> &radii)
{
    if (const auto *ball = dynamic_cast<const DsPoint *>(&part)) {
        centres = {ball->centre(), ball->centre()};
        radii = {ball->radius(), 0.0f};
    } else if (const auto *rod = dynamic_cast<const DsCylider *>(&part)) {
        centres = {rod->topCentre(), rod->bottomCentre()};
        radii = {rod->topRadius(), rod->bottomRadius()};
    }
}

} // namespace

void ModelState::Geometry::capture(const Mesh3D &mesh)
{
    vertices = mesh.vertices();
    normals = mesh.faceNormals();
}

bool ModelState::Geometry::restore(Mesh3D &mesh) const
{
    if (mesh.vertices().size() != vertices.size())
        return false;
    if (sameBits(mesh.vertices(), vertices) && sameBits(mesh.faceNormals(), normals))
        return true;
    mesh.vertices() = vertices;
    mesh.faceNormals() = normals;
    mesh.recomputeBounds();
    return true;
}

bool ModelState::Geometry::matches(const Mesh3D &mesh) const
{
    return sameBits(mesh.vertices(), vertices) && sameBits(mesh.faceNormals(), normals);
}

std::shared_ptr<const ModelState> ModelState::capture(const Model &model)
{
    auto state = std::make_shared<ModelState>();
    state->m_mesh.capture(model);
    state->m_centroid = model.centroid();
    state->m_size = model.size();
    state->m_scale = model.scale();
    state->m_layoutRotated = model.isLayoutRotated();
    state->m_layoutOffsetX = model.layoutOffsetX();
    state->m_layoutOffsetY = model.layoutOffsetY();
    state->m_layoutHistory = model.layoutHistory();
    state->m_modelMatrix = model.modelMatrix();
    state->m_overhangs = model.overhangs();
    for (const auto &point : state->m_overhangs) {
        OverhangState s;
        if (point) {
            s.position = point->position();
            s.direction = point->direction();
            s.geometry.capture(*point);
        }
        state->m_overhangStates.push_back(std::move(s));
    }
    state->m_support = model.support();
    if (state->m_support)
        for (const auto &part : state->m_support->parts) {
            Geometry g;
            if (part)
                g.capture(*part);
            state->m_supportParts.push_back(std::move(g));
        }
    state->m_manualParts = model.manualSupports().parts;
    for (const auto &part : state->m_manualParts) {
        Geometry g;
        std::array<Point3f, 2> centres{};
        std::array<float, 2> radii{0.0f, 0.0f};
        if (part) {
            g.capture(*part);
            manualPlace(*part, centres, radii);
        }
        state->m_manualStates.push_back(std::move(g));
        state->m_manualCentres.push_back(centres);
        state->m_manualRadii.push_back(radii);
    }
    return state;
}

void ModelState::restore(Model &model, DScene &scene, const std::shared_ptr<Model> &shared) const
{
    // Generated support and overhang list first: the scene's callbacks then find the right
    // meshes when the frame rebuilds their drawables.
    if (model.support() != m_support) {
        if (m_support) {
            scene.setSupports(m_support, shared);
            if (const auto &given = scene.callbacks().supportsGiven)
                given(m_support);
        } else {
            scene.discardSupports(shared);
        }
    }
    if (model.overhangs() != m_overhangs) {
        const OverhangList current = model.overhangs();
        if (!current.empty())
            scene.removeOverhangPoints(current);
        scene.setOverhangPoints(m_overhangs, shared);
    }

    for (std::size_t i = 0; i < m_overhangs.size(); ++i) {
        const auto &point = m_overhangs[i];
        if (!point)
            continue;
        point->setPosition(m_overhangStates[i].position);
        point->setDirection(m_overhangStates[i].direction);
        if (!m_overhangStates[i].geometry.matches(*point) &&
            m_overhangStates[i].geometry.restore(*point))
            point->notifyChanged();
    }
    if (m_support)
        for (std::size_t i = 0; i < m_support->parts.size() && i < m_supportParts.size(); ++i) {
            const auto &part = m_support->parts[i];
            if (part && !m_supportParts[i].matches(*part) && m_supportParts[i].restore(*part))
                part->notifyChanged();
        }
    if (model.manualSupports().parts != m_manualParts)
        restoreManualParts(model, scene);
    for (std::size_t i = 0; i < m_manualParts.size(); ++i) {
        const auto &part = m_manualParts[i];
        if (!part)
            continue;
        const std::array<Point3f, 2> &centres = m_manualCentres[i];
        if (auto *ball = dynamic_cast<DsPoint *>(part.get())) {
            if (ball->radius() != m_manualRadii[i][0])
                ball->setRadius(m_manualRadii[i][0]);
            if (!sameBits(ball->centre(), centres[0]))
                ball->setCentre(centres[0]);
        } else if (auto *rod = dynamic_cast<DsCylider *>(part.get())) {
            if (rod->topRadius() != m_manualRadii[i][0] ||
                rod->bottomRadius() != m_manualRadii[i][1])
                rod->setRadii(m_manualRadii[i][0], m_manualRadii[i][1]);
            if (!sameBits(rod->topCentre(), centres[0]) ||
                !sameBits(rod->bottomCentre(), centres[1]))
                rod->setCentres(centres[0], centres[1]);
        }
        if (!m_manualStates[i].matches(*part) && m_manualStates[i].restore(*part))
            part->notifyChanged();
    }

    model.setSize(m_size);
    model.setScale(m_scale);
    model.setLayoutRotated(m_layoutRotated);
    model.setLayoutOffset(m_layoutOffsetX, m_layoutOffsetY);
    model.layoutHistory() = m_layoutHistory;
    model.setModelMatrix(m_modelMatrix);
    model.setCentroid(m_centroid);
    if (!m_mesh.matches(model) && m_mesh.restore(model))
        model.notifyChanged();
}

void ModelState::restoreManualParts(Model &model, DScene &scene) const
{
    // Hand-placed rods and balls that came or went since the capture leave or join the model
    // (and the view, through the scene's callbacks); then each ball knows its rods again.
    const std::vector<std::shared_ptr<Mesh3D>> current = model.manualSupports().parts;
    // Looked up by address: a project holds a hundred thousand pieces and more.
    using Set = std::unordered_set<const Mesh3D *>;
    auto setOf = [](const std::vector<std::shared_ptr<Mesh3D>> &list) {
        Set set;
        set.reserve(list.size());
        for (const auto &part : list)
            set.insert(part.get());
        return set;
    };
    const Set captured = setOf(m_manualParts);
    const Set present = setOf(current);
    const auto &callbacks = scene.callbacks();
    for (const auto &part : current)
        if (part && !captured.count(part.get()) && callbacks.manualPieceRemoved)
            callbacks.manualPieceRemoved(part);
    model.manualSupports().parts = m_manualParts;
    for (const auto &part : m_manualParts)
        if (part && !present.count(part.get()) && callbacks.manualPieceAdded)
            callbacks.manualPieceAdded(part);
    for (const auto &part : m_manualParts)
        if (auto ball = std::dynamic_pointer_cast<DsPoint>(part))
            ball->links().clear();
    for (const auto &part : m_manualParts)
        if (auto rod = std::dynamic_pointer_cast<DsCylider>(part))
            for (const auto &end : {rod->top(), rod->bottom()})
                if (end)
                    end->links().push_back(rod);
}

bool ModelState::matches(const Model &model) const
{
    if (!m_mesh.matches(model) || !sameBits(model.size(), m_size) ||
        !sameBits(model.scale(), m_scale) || model.isLayoutRotated() != m_layoutRotated ||
        model.overhangs() != m_overhangs || model.support() != m_support ||
        model.manualSupports().parts != m_manualParts)
        return false;
    // Points and pieces drawing a shared shape hold no geometry: their place is compared.
    for (std::size_t i = 0; i < m_overhangs.size(); ++i) {
        const auto &point = m_overhangs[i];
        if (point && (!m_overhangStates[i].geometry.matches(*point) ||
                      !sameBits(point->position(), m_overhangStates[i].position) ||
                      !sameBits(point->direction(), m_overhangStates[i].direction)))
            return false;
    }
    if (m_support)
        for (std::size_t i = 0; i < m_support->parts.size() && i < m_supportParts.size(); ++i)
            if (m_support->parts[i] && !m_supportParts[i].matches(*m_support->parts[i]))
                return false;
    for (std::size_t i = 0; i < m_manualParts.size(); ++i) {
        const auto &part = m_manualParts[i];
        if (!part)
            continue;
        std::array<Point3f, 2> centres{};
        std::array<float, 2> radii{0.0f, 0.0f};
        manualPlace(*part, centres, radii);
        if (!m_manualStates[i].matches(*part) || !sameBits(centres[0], m_manualCentres[i][0]) ||
            !sameBits(centres[1], m_manualCentres[i][1]) || radii != m_manualRadii[i])
            return false;
    }
    return true;
}

std::size_t ModelState::bytes() const
{
    auto of = [](const Geometry &g) {
        return g.vertices.size() * sizeof(Point3f) + g.normals.size() * sizeof(Vec3f);
    };
    std::size_t total = of(m_mesh) + m_layoutHistory.size() * sizeof(Matrix4f);
    for (const auto &s : m_overhangStates)
        total += of(s.geometry);
    for (const auto &g : m_supportParts)
        total += of(g);
    for (const auto &g : m_manualStates)
        total += of(g);
    return total;
}
