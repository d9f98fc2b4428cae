#include "geometry/DScene.h"

#include "geometry/IManualPiece.h"
#include "geometry/Model.h"

#include <algorithm>

namespace
{

template <typename F, typename... Args> void call(const F &callback, Args &&...args)
{
    if (callback)
        callback(std::forward<Args>(args)...);
}

const IManualPiece *pieceInfo(const std::shared_ptr<Mesh3D> &piece)
{
    return dynamic_cast<const IManualPiece *>(piece.get());
}

// Pieces that do not describe themselves are recognised by their kind tag; a ball's centre is
// then the centre of its box.
bool isEndBall(const std::shared_ptr<Mesh3D> &piece)
{
    const IManualPiece *info = pieceInfo(piece);
    return info ? !info->isRod() : piece->kindTag() == ObjectKind::ManualSupportPoint;
}

float ballCentreZ(const std::shared_ptr<Mesh3D> &piece)
{
    const IManualPiece *info = pieceInfo(piece);
    return info ? info->ballCentre().z : piece->boundingBox().center().z;
}

// Takes the point out of the first model holding it.
void eraseOverhangPoint(const DScene::ModelList &models, const std::shared_ptr<Overhang> &point)
{
    for (const DScene::ModelPtr &m : models) {
        OverhangList &list = m->overhangs();
        auto it = std::find(list.begin(), list.end(), point);
        if (it != list.end()) {
            list.erase(it);
            return;
        }
    }
}

} // namespace

void DScene::addModels(const ModelList &models)
{
    call(m_callbacks.modelsAdded, models);
    for (const ModelPtr &model : models) {
        if (!model)
            continue;
        // The list is copied for the callback only when there is one: copying it for every
        // model made adding n models cost n squared.
        if (m_callbacks.modelAdded)
            m_callbacks.modelAdded(ModelList(m_models), model);
        m_models.push_back(model);
        select(model);
        if (!model->overhangs().empty())
            call(m_callbacks.overhangPointsGiven, OverhangList(model->overhangs()));
        for (const MeshPtr &piece : model->manualSupports().parts) {
            const IManualPiece *info = pieceInfo(piece);
            if (!info) {
                // Without the piece interface the rod-ball links are unknown: announce each.
                call(m_callbacks.manualPieceAdded, piece);
                continue;
            }
            if (!info->isRod())
                continue;
            call(m_callbacks.manualPieceAdded, piece);
            if (MeshPtr top = info->rodTopBall())
                call(m_callbacks.manualPieceAdded, top);
            if (MeshPtr bottom = info->rodBottomBall())
                call(m_callbacks.manualPieceAdded, bottom);
        }
        if (model->support() && !model->support()->parts.empty())
            call(m_callbacks.supportsGiven, model->support());
    }
}

void DScene::removeModel(const ModelPtr &model)
{
    m_models.remove(model);
    call(m_callbacks.modelRemoved, model);
}

void DScene::moveModelTo(const ModelPtr &model, std::size_t index)
{
    const auto it = std::find(m_models.begin(), m_models.end(), model);
    if (it == m_models.end())
        return;
    m_models.erase(it);
    auto at = m_models.begin();
    std::advance(at, static_cast<std::ptrdiff_t>(std::min(index, m_models.size())));
    m_models.insert(at, model);
}

DScene::ModelList DScene::unselectedModels() const
{
    ModelList result;
    for (const ModelPtr &model : m_models) {
        if (!isSelected(model))
            result.push_back(model);
    }
    return result;
}

void DScene::clear()
{
    const ModelList models = m_models;
    for (const ModelPtr &model : models)
        removeModel(model);
    m_auxiliary.clear();
    clearSelection();
}

void DScene::select(const ModelPtr &model)
{
    if (model && m_selected.insert(model.get()).second)
        m_selection.push_back(model);
    updateCurrent();
}

void DScene::deselect(const ModelPtr &model)
{
    m_selection.remove(model);
    m_selected.erase(model.get());
    updateCurrent();
}

void DScene::clearSelection()
{
    m_selection.clear();
    m_selected.clear();
    updateCurrent();
}

bool DScene::isSelected(const ModelPtr &model) const
{
    return model && m_selected.count(model.get()) != 0;
}

void DScene::updateCurrent()
{
    m_current = m_selection.empty() ? ModelPtr() : m_selection.back();
    call(m_callbacks.currentModelChanged, m_current);
}

void DScene::addOverhangPoint(const std::shared_ptr<Overhang> &point, const ModelPtr &model)
{
    for (const ModelPtr &m : m_models) {
        if (m == model) {
            m->overhangs().push_back(point);
            break;
        }
    }
    call(m_callbacks.overhangPointAdded, point);
}

void DScene::removeOverhangPoint(const std::shared_ptr<Overhang> &point)
{
    eraseOverhangPoint(m_models, point);
    call(m_callbacks.overhangPointRemoved, point);
}

void DScene::removeOverhangPoints(const OverhangList &given)
{
    // Callers usually pass a model's own list, which the loop empties: work on a copy.
    const OverhangList points = given;
    for (const auto &point : points)
        eraseOverhangPoint(m_models, point);
    call(m_callbacks.overhangPointsRemoved, points);
}

void DScene::setOverhangPoints(const OverhangList &points, const ModelPtr &model)
{
    if (model)
        model->overhangs() = points;
    call(m_callbacks.overhangPointsGiven, OverhangList(points));
}

OverhangList DScene::overhangPoints(const ModelPtr &model) const
{
    return model ? model->overhangs() : OverhangList();
}

OverhangList DScene::allOverhangPoints() const
{
    OverhangList all;
    for (const ModelPtr &m : m_models)
        all.insert(all.end(), m->overhangs().begin(), m->overhangs().end());
    return all;
}

void DScene::setSupports(const std::shared_ptr<Support> &support, const ModelPtr &model)
{
    if (model)
        model->setSupport(support);
}

void DScene::discardSupports(const ModelPtr &model)
{
    if (!model)
        return;
    model->setSupport(nullptr);
    call(m_callbacks.supportsDiscarded, model);
}

DScene::ModelPtr DScene::ownerOf(const MeshPtr &piece, const ModelPtr &given) const
{
    if (given)
        return given;
    const IManualPiece *info = pieceInfo(piece);
    return info ? info->manualOwner() : ModelPtr();
}

void DScene::addManualPiece(const MeshPtr &piece, const ModelPtr &model)
{
    if (!piece)
        return;
    if (ModelPtr owner = ownerOf(piece, model)) {
        ManualSupports &manual = owner->manualSupports();
        piece->setSharedOwner(manual.shared);
        manual.parts.push_back(piece);
    }
    call(m_callbacks.manualPieceAdded, piece);
}

void DScene::removeManualPiece(const MeshPtr &piece, const ModelPtr &model)
{
    if (!piece)
        return;
    if (auto *info = dynamic_cast<IManualPiece *>(piece.get())) {
        if (!info->isRod() && info->ballRodCount() > 1)
            return;
        if (info->isRod())
            info->detachRodFromBalls();
    }
    if (ModelPtr owner = ownerOf(piece, model)) {
        auto &parts = owner->manualSupports().parts;
        parts.erase(std::remove(parts.begin(), parts.end(), piece), parts.end());
    }
    call(m_callbacks.manualPieceRemoved, piece);
}

void DScene::manualPieceChanged(const MeshPtr &piece)
{
    call(m_callbacks.manualPieceChanged, piece);
}

RayHit DScene::nearestHit(const Ray &ray) const
{
    RayHit best;
    for (const ModelPtr &model : m_models)
        rayHitModel(ray, model, &best);
    return best;
}

std::vector<DScene::MeshPtr> DScene::printMeshes() const
{
    std::vector<MeshPtr> meshes;
    for (const ModelPtr &model : m_models) {
        meshes.push_back(model);
        for (const auto &point : model->overhangs())
            meshes.push_back(point);
        if (model->support()) {
            for (const MeshPtr &part : model->support()->parts)
                meshes.push_back(part);
        }
        for (const MeshPtr &piece : model->manualSupports().parts) {
            if (isEndBall(piece) && ballCentreZ(piece) == 0.0f)
                continue;
            meshes.push_back(piece);
        }
    }
    return meshes;
}
