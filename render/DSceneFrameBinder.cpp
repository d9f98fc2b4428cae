#include "render/DSceneFrameBinder.h"

#include "render/COrvaneFrame.h"

#include "geometry/DScene.h"
#include "geometry/Model.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace Orvane3Ds
{

namespace
{

// The model whose list (overhang points or manual pieces) holds an item. The list last found is
// remembered as a set, so that the thousands of markers of one project are each found in constant
// time instead of by a scan of every list; the set is made again when that list changes size or
// storage, or when the item is not in it.
class OwnerIndex
{
  public:
    template <typename ListOf>
    std::shared_ptr<Model> find(const DScene &scene, const void *item, ListOf listOf)
    {
        if (std::shared_ptr<Model> model = m_model.lock()) {
            const auto &list = listOf(*model);
            const auto &models = scene.models();
            if (list.size() == m_size && static_cast<const void *>(list.data()) == m_data &&
                m_members.count(item) != 0 &&
                std::find(models.begin(), models.end(), model) != models.end())
                return model;
        }
        for (const auto &model : scene.models()) {
            const auto &list = listOf(*model);
            const auto it = std::find_if(list.begin(), list.end(),
                                         [item](const auto &p) { return p.get() == item; });
            if (it == list.end())
                continue;
            m_model = model;
            m_size = list.size();
            m_data = list.data();
            m_members.clear();
            m_members.reserve(list.size());
            for (const auto &p : list)
                m_members.insert(p.get());
            return model;
        }
        return {};
    }

  private:
    std::weak_ptr<Model> m_model;
    std::size_t m_size = 0;
    const void *m_data = nullptr;
    std::unordered_set<const void *> m_members;
};

const OverhangList &overhangsOf(const Model &model)
{
    return model.overhangs();
}

const std::vector<std::shared_ptr<Mesh3D>> &piecesOf(const Model &model)
{
    return model.manualSupports().parts;
}

template <typename List> std::vector<const Mesh3D *> meshesOf(const List &points)
{
    std::vector<const Mesh3D *> meshes;
    meshes.reserve(points.size());
    for (const auto &p : points)
        meshes.push_back(p.get());
    return meshes;
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
    auto points = std::make_shared<OwnerIndex>();
    auto pieces = std::make_shared<OwnerIndex>();
    cb.overhangPointsGiven = [s, f, points](const OverhangList &given) {
        f->removeMarkers(meshesOf(given));
        for (const auto &p : given)
            if (auto owner = points->find(*s, p.get(), overhangsOf))
                f->addOverhangMarker(p, owner);
    };
    cb.overhangPointAdded = [s, f, points](const std::shared_ptr<Overhang> &p) {
        if (auto owner = points->find(*s, p.get(), overhangsOf))
            f->addOverhangMarker(p, owner);
    };
    cb.overhangPointRemoved = [f](const std::shared_ptr<Overhang> &p) { f->removeMarker(p); };
    cb.overhangPointsRemoved = [f](const OverhangList &removed) {
        f->removeMarkers(meshesOf(removed));
    };
    cb.supportsGiven = [s, f](const std::shared_ptr<Support> &support) {
        for (const auto &model : s->models())
            if (model->support() == support)
                f->setSupports(model);
    };
    cb.supportsDiscarded = [f](const DScene::ModelPtr &model) { f->setSupports(model); };
    cb.manualPieceAdded = [s, f, pieces](const DScene::MeshPtr &piece) {
        if (auto owner = pieces->find(*s, piece.get(), piecesOf))
            f->addManualPiece(piece, owner);
    };
    cb.manualPieceRemoved = [f](const DScene::MeshPtr &piece) { f->removeManualPiece(piece); };
    cb.manualPieceChanged = [f](const DScene::MeshPtr &piece) { f->manualPieceChanged(piece); };
}

} // namespace Orvane3Ds
