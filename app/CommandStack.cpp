#include "app/CommandStack.h"

#include "app/Command.h"

void CommandStack::push(CommandPtr command)
{
    if (!command)
        return;
    if (!m_undo.empty())
        m_previousName = m_undo.back()->name();
    m_lastName = command->name();
    m_undo.push_back(std::move(command));
    m_redo.clear();
    keepWithinBudget();
}

void CommandStack::dropInapplicable(std::list<CommandPtr> &list)
{
    while (!list.empty() && !list.back()->isApplicable())
        list.pop_back();
}

bool CommandStack::undo()
{
    dropInapplicable(m_undo);
    if (m_undo.empty())
        return false;
    CommandPtr command = m_undo.back();
    m_undo.pop_back();
    command->undo();
    m_redo.push_back(std::move(command));
    return true;
}

bool CommandStack::redo()
{
    dropInapplicable(m_redo);
    if (m_redo.empty())
        return false;
    CommandPtr command = m_redo.back();
    m_redo.pop_back();
    command->redo();
    m_undo.push_back(std::move(command));
    return true;
}

bool CommandStack::canUndo() const
{
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
        if ((*it)->isApplicable())
            return true;
    return false;
}

bool CommandStack::canRedo() const
{
    for (auto it = m_redo.rbegin(); it != m_redo.rend(); ++it)
        if ((*it)->isApplicable())
            return true;
    return false;
}

const char *CommandStack::undoName() const
{
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
        if ((*it)->isApplicable())
            return (*it)->name();
    return nullptr;
}

const char *CommandStack::redoName() const
{
    for (auto it = m_redo.rbegin(); it != m_redo.rend(); ++it)
        if ((*it)->isApplicable())
            return (*it)->name();
    return nullptr;
}

void CommandStack::clear()
{
    m_undo.clear();
    m_redo.clear();
}

std::size_t CommandStack::heldBytes() const
{
    std::size_t total = 0;
    for (const auto &c : m_undo)
        total += c->bytes();
    for (const auto &c : m_redo)
        total += c->bytes();
    return total;
}

void CommandStack::keepWithinBudget()
{
    std::size_t total = heldBytes();
    while (m_undo.size() > 1 && total > m_byteBudget) {
        total -= m_undo.front()->bytes();
        m_undo.pop_front();
    }
}
