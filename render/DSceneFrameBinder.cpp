#include "render/DSceneFrameBinder.h"

#include "render/COrvaneFrame.h"

#include "geometry/DScene.h"
#include "geometry/Model.h"

#include <algorithm>

namespace Orvane3Ds
{

namespace
{

std::shared_ptr<Model> ownerOfOverhang(const DScene &scene, const std::shared_ptr<Overhang> &p)
{
    for (const auto &model : scene.models()) {
        const auto &list = model->overhangs();
        if (std::find(list.begin(), list.end(), p) != list.end())
            return model;
    }
    return {};
}

std::shared_ptr<Model> ownerOfPiece(const DScene &scene, const std::shared_ptr<Mesh3D> &piece)
{
    for (const auto &model : scene.models()) {
        const auto &parts = model->manualSupports().parts;
        if (std::find(parts.begin(), parts.end(), piece) != parts.end())
            return model;
    }
    return {};
}

} // namespace

void bindSceneToFrame(DScene &scene, COrvaneFrame &frame)
{
    DScene::Callbacks &cb = scene.callbacks();
    DScene *s = &scene;
    COrvaneFrame *f = &frame;
    cb.modelsAdded = [f](const DScene::ModelList &models) {
        for (const auto &m : models)
            f->addModel(m);
    };
    cb.modelRemoved = [f](const DScene::ModelPtr &model) { f->removeModel(model); };
    cb.overhangPointsGiven = [s, f](const OverhangList &points) {
        for (const auto &p : points) {
            f->removeMarker(p);
            if (auto owner = ownerOfOverhang(*s, p))
                f->addOverhangMarker(p, owner);
        }
    };
    cb.overhangPointAdded = [s, f](const std::shared_ptr<Overhang> &p) {
        if (auto owner = ownerOfOverhang(*s, p))
            f->addOverhangMarker(p, owner);
    };
    cb.overhangPointRemoved = [f](const std::shared_ptr<Overhang> &p) { f->removeMarker(p); };
    cb.overhangPointsRemoved = [f](const OverhangList &points) {
        for (const auto &p : points)
            f->removeMarker(p);
    };
    cb.supportsGiven = [s, f](const std::shared_ptr<Support> &support) {
        for (const auto &model : s->models())
            if (model->support() == support)
                f->setSupports(model);
    };
    cb.supportsDiscarded = [f](const DScene::ModelPtr &model) { f->setSupports(model); };
    cb.manualPieceAdded = [s, f](const DScene::MeshPtr &piece) {
        if (auto owner = ownerOfPiece(*s, piece))
            f->addManualPiece(piece, owner);
    };
    cb.manualPieceRemoved = [f](const DScene::MeshPtr &piece) { f->removeManualPiece(piece); };
    cb.manualPieceChanged = [f](const DScene::MeshPtr &piece) { f->manualPieceChanged(piece); };
}

} // namespace Orvane3Ds
