#pragma once

#include <cstddef>
#include <list>
#include <memory>

class Command;

// The application's record of changes: the undo list (last change at the back) and the redo
// list (next change to redo at the back). GUI thread only.
class CommandStack
{
  public:
    using CommandPtr = std::shared_ptr<Command>;

    // Records a change that was just made: the previous name becomes the name of the command
    // that was last (when there was one), the last name becomes the new command's name, the
    // command is appended to the undo list and the redo list is emptied. When the commands
    // together hold more than byteBudget() bytes, the oldest are forgotten (never the new one).
    void push(CommandPtr command);

    // Takes the last change back / does the last undone change again; false when there is none.
    // Commands that can no longer act (their model left the scene unrecorded) are dropped on the
    // way, so undo goes on with the change before them.
    bool undo();
    bool redo();

    bool canUndo() const;
    bool canRedo() const;
    // Name of the command undo() / redo() would run; nullptr when none.
    const char *undoName() const;
    const char *redoName() const;

    // Forgets both lists (a new project); the names are kept.
    void clear();

    const char *lastName() const { return m_lastName; }
    const char *previousName() const { return m_previousName; }
    const std::list<CommandPtr> &undoList() const { return m_undo; }
    const std::list<CommandPtr> &redoList() const { return m_redo; }

    std::size_t byteBudget() const { return m_byteBudget; }
    void setByteBudget(std::size_t bytes) { m_byteBudget = bytes; }
    std::size_t heldBytes() const;

  private:
    void dropInapplicable(std::list<CommandPtr> &list);
    void keepWithinBudget();

    const char *m_lastName = nullptr;
    const char *m_previousName = nullptr;
    std::list<CommandPtr> m_undo;
    std::list<CommandPtr> m_redo;
    std::size_t m_byteBudget = std::size_t(1) << 30;
};
