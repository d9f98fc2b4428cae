#pragma once

#include "geometry/Overhang.h"
#include "geometry/RayHit.h"
#include "geometry/Support.h"

#include <functional>
#include <list>
#include <memory>
#include <unordered_set>
#include <vector>

class Mesh3D;
class Model;

// The models on the build platform, the selection and the current model.
//
// Every change is reported through the callbacks below (installed by the application when the
// view is ready; an empty callback is skipped), so that the drawables stay in step with the
// data. The current model is always the last model of the selection, or empty.
//
// Threading: user-interface thread only; no lock. Workers hand models over through the import
// manager's blocking queued call.
class DScene
{
  public:
    using ModelPtr = std::shared_ptr<Model>;
    using ModelList = std::list<ModelPtr>;
    using MeshPtr = std::shared_ptr<Mesh3D>;

    struct Callbacks {
        std::function<void(const ModelPtr &current)> currentModelChanged;
        // The whole list, before any of its models enters the scene.
        std::function<void(const ModelList &added)> modelsAdded;
        // Once per model, before it is appended: the models already there and the new one.
        std::function<void(const ModelList &existing, const ModelPtr &model)> modelAdded;
        std::function<void(const ModelPtr &model)> modelRemoved;
        std::function<void(const OverhangList &points)> overhangPointsGiven;
        std::function<void(const std::shared_ptr<Overhang> &point)> overhangPointAdded;
        std::function<void(const std::shared_ptr<Overhang> &point)> overhangPointRemoved;
        std::function<void(const OverhangList &points)> overhangPointsRemoved;
        std::function<void(const std::shared_ptr<Support> &support)> supportsGiven;
        std::function<void(const ModelPtr &model)> supportsDiscarded;
        std::function<void(const MeshPtr &piece)> manualPieceAdded;
        std::function<void(const MeshPtr &piece)> manualPieceRemoved;
        std::function<void(const MeshPtr &piece)> manualPieceChanged;
    };

    DScene() = default;
    DScene(const DScene &) = delete;
    DScene &operator=(const DScene &) = delete;

    Callbacks &callbacks() { return m_callbacks; }
    void setCallbacks(Callbacks callbacks) { m_callbacks = std::move(callbacks); }

    // Models-added callback with the list, then per model: model-added callback, append, select,
    // overhang-points-given (when it has points), manual-piece-added for each rod (rod, top
    // ball, bottom ball), supports-given (when its support holds parts).
    void addModels(const ModelList &models);
    // Takes every entry of this model out of the list, then the model-removed callback. The
    // selection is left as it is.
    void removeModel(const ModelPtr &model);
    ModelList models() const { return m_models; }
    // Moves a model of the list to position `index` (the end when beyond it); no callback.
    void moveModelTo(const ModelPtr &model, std::size_t index);
    // Models not in the selection, in model-list order.
    ModelList unselectedModels() const;
    bool isEmpty() const { return m_models.empty(); }
    // Removes all models (model-removed callback for each) and clears the selection.
    void clear();

    // Appends the model to the selection unless it is there; the current model becomes the last
    // selected one; the current-model-changed callback runs in any case.
    void select(const ModelPtr &model);
    void deselect(const ModelPtr &model);
    void clearSelection();
    ModelList selection() const { return m_selection; }
    ModelPtr currentModel() const { return m_current; }
    bool isSelected(const ModelPtr &model) const;

    void addOverhangPoint(const std::shared_ptr<Overhang> &point, const ModelPtr &model);
    void removeOverhangPoint(const std::shared_ptr<Overhang> &point);
    void removeOverhangPoints(const OverhangList &points);
    void setOverhangPoints(const OverhangList &points, const ModelPtr &model);
    OverhangList overhangPoints(const ModelPtr &model) const;
    OverhangList allOverhangPoints() const;

    // Generated supports of a model; the has-supports flag follows.
    void setSupports(const std::shared_ptr<Support> &support, const ModelPtr &model);
    void discardSupports(const ModelPtr &model);

    // Manual pieces: the owner is `model`, or, when that is empty, the piece's own owner
    // (IManualPiece). Adding points the piece's shared owner at the model's shared record and
    // appends it to the model's manual supports. Removing leaves a ball that ends more than one
    // rod in place; a rod is first detached from its end balls.
    void addManualPiece(const MeshPtr &piece, const ModelPtr &model = {});
    void removeManualPiece(const MeshPtr &piece, const ModelPtr &model = {});
    void manualPieceChanged(const MeshPtr &piece);

    // Nearest hit among the models in list order; ties keep the earlier model.
    RayHit nearestHit(const Ray &ray) const;

    // What the print is made of, per model in list order: the model, its overhang spheres, its
    // generated support meshes and its manual pieces except end balls centred exactly on z = 0.
    std::vector<MeshPtr> printMeshes() const;

  private:
    void updateCurrent();
    ModelPtr ownerOf(const MeshPtr &piece, const ModelPtr &given) const;

    Callbacks m_callbacks;
    std::vector<float> m_auxiliary;
    ModelList m_models;
    ModelPtr m_current;
    ModelList m_selection;
    // The models of m_selection, for the membership test in constant time.
    std::unordered_set<const Model *> m_selected;
};
