#pragma once

#include "app/Command.h"

#include <vector>

class ModelState;

// Names of the placement commands (the text shown after "Undo" / "Redo").
namespace CommandName
{
constexpr const char *MoveModel = "MoveModel";
constexpr const char *RotateModel = "RotateModel";
constexpr const char *LayFlat = "LayFlat";
constexpr const char *LayoutModel = "LayoutModel";
constexpr const char *ScaleModel = "ScaleModel";
constexpr const char *CopyModel = "CopyModel";
constexpr const char *DeleteModel = "DeleteModel";
constexpr const char *AddSupport = "AddSupport";
constexpr const char *RemoveSupport = "RemoveSupport";
} // namespace CommandName

// A change of the placement of some models (move, rotate, lay flat, automatic layout): the
// recording code creates it before the change (which captures the models' states), changes the
// models and then calls finish() (which captures the states after). undo and redo put the
// captured states back, so both are bit-identical to what the user saw.
class ModelPlacementCommand : public Command
{
  public:
    ModelPlacementCommand(const char *name, std::shared_ptr<CommandTarget> owner,
                          std::list<ModelPtr> models);
    ~ModelPlacementCommand() override;

    void finish();
    // True when finish() found some model changed (a click without a drag changes nothing).
    bool changedAnything() const;

    void redo() override;
    void undo() override;
    std::size_t bytes() const override;

  protected:
    std::list<ModelPtr> models() const override { return m_models; }

  private:
    std::list<ModelPtr> m_models;
    std::vector<std::shared_ptr<const ModelState>> m_before;
    std::vector<std::shared_ptr<const ModelState>> m_after;
};

// Models added by copying: undo takes them out of the scene again, redo puts them back.
class CopyModelsCommand : public Command
{
  public:
    CopyModelsCommand(std::shared_ptr<CommandTarget> owner, std::list<ModelPtr> copies,
                      std::list<ModelPtr> sources);
    void redo() override;
    void undo() override;
    bool isApplicable() const override;

  private:
    std::list<ModelPtr> m_copies;
    std::list<ModelPtr> m_sources;
};

// Models deleted from the scene: undo brings them back (with their supports and overhang points
// as they were), redo deletes them again. Create it before deleting.
class DeleteModelsCommand : public Command
{
  public:
    DeleteModelsCommand(std::shared_ptr<CommandTarget> owner, std::list<ModelPtr> models);
    void redo() override;
    void undo() override;
    bool isApplicable() const override;

  private:
    std::list<ModelPtr> m_models;
    // Position of each model in the scene's list before the delete (to put it back there).
    std::vector<std::size_t> m_positions;
};
