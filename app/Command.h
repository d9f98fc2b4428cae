#pragma once

#include <functional>
#include <list>
#include <memory>

class DScene;
class Model;

namespace Orvane3Ds
{
class COrvaneFrame;
class CSupportApp;
} // namespace Orvane3Ds

// What every command reaches: the scene and the 3D frame. The application owns one; the frame
// and its hook are filled in once GL is ready (commands recorded earlier still work on the scene).
struct CommandTarget {
    DScene *scene = nullptr;
    Orvane3Ds::COrvaneFrame *frame = nullptr;
    // Drops the frame's edited model (support-editing mode).
    std::function<void()> dropEditedModel;
};

// A change of the scene that can be done again (redo) and taken back (undo). Each command keeps
// everything it needs for both. GUI thread only.
class Command
{
  public:
    using ModelPtr = std::shared_ptr<Model>;

    // `name` is a constant text that outlives the command ("ScaleModel", "AddSupport", ...).
    Command(const char *name, std::shared_ptr<CommandTarget> owner);
    virtual ~Command();
    Command(const Command &) = delete;
    Command &operator=(const Command &) = delete;

    virtual void redo() = 0;
    virtual void undo() = 0;

    // False when the command can no longer act: a model it changes has left the scene without a
    // command that could bring it back. Such a command is dropped instead of being run.
    virtual bool isApplicable() const;
    // Memory held for undo and redo, in bytes.
    virtual std::size_t bytes() const { return 0; }

    const char *name() const { return m_name; }
    Orvane3Ds::COrvaneFrame *owner() const { return m_owner ? m_owner->frame : nullptr; }

  protected:
    // The models the command changes (for isApplicable()).
    virtual std::list<ModelPtr> models() const { return {}; }
    // Common start of redo and undo: the frame's edited model is dropped and `model` becomes the
    // scene's current model. Returns false when there is no model.
    bool begin(const ModelPtr &model);
    // The same for several models: the selection becomes exactly `models`.
    void beginSelection(const std::list<ModelPtr> &models);
    bool inScene(const ModelPtr &model) const;
    DScene *scene() const { return m_owner ? m_owner->scene : nullptr; }

    const char *m_name;
    std::shared_ptr<CommandTarget> m_owner;
};
