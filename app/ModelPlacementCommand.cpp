#include "app/ModelPlacementCommand.h"

#include "app/ModelState.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"

#include <algorithm>

ModelPlacementCommand::ModelPlacementCommand(const char *name, std::shared_ptr<CommandTarget> owner,
                                             std::list<ModelPtr> models)
    : Command(name, std::move(owner)), m_models(std::move(models))
{
    for (const auto &model : m_models)
        m_before.push_back(ModelState::capture(*model));
}

ModelPlacementCommand::~ModelPlacementCommand() = default;

void ModelPlacementCommand::finish()
{
    m_after.clear();
    std::size_t i = 0;
    for (const auto &model : m_models) {
        // An unchanged model shares its state instead of keeping a second copy.
        if (m_before[i]->matches(*model))
            m_after.push_back(m_before[i]);
        else
            m_after.push_back(ModelState::capture(*model));
        ++i;
    }
}

bool ModelPlacementCommand::changedAnything() const
{
    for (std::size_t i = 0; i < m_after.size(); ++i)
        if (m_after[i] != m_before[i])
            return true;
    return false;
}

void ModelPlacementCommand::redo()
{
    if (!scene() || m_after.size() != m_models.size())
        return;
    beginSelection(m_models);
    std::size_t i = 0;
    for (const auto &model : m_models)
        m_after[i++]->restore(*model, *scene(), model);
}

void ModelPlacementCommand::undo()
{
    if (!scene())
        return;
    beginSelection(m_models);
    std::size_t i = 0;
    for (const auto &model : m_models)
        m_before[i++]->restore(*model, *scene(), model);
}

std::size_t ModelPlacementCommand::bytes() const
{
    std::size_t total = 0;
    for (std::size_t i = 0; i < m_before.size(); ++i) {
        total += m_before[i]->bytes();
        if (i < m_after.size() && m_after[i] != m_before[i])
            total += m_after[i]->bytes();
    }
    return total;
}

// ---- copy ------------------------------------------------------------------------------------

CopyModelsCommand::CopyModelsCommand(std::shared_ptr<CommandTarget> owner,
                                     std::list<ModelPtr> copies, std::list<ModelPtr> sources)
    : Command(CommandName::CopyModel, std::move(owner)), m_copies(std::move(copies)),
      m_sources(std::move(sources))
{
}

bool CopyModelsCommand::isApplicable() const
{
    return scene() != nullptr;
}

void CopyModelsCommand::redo()
{
    if (!scene())
        return;
    if (m_owner->dropEditedModel)
        m_owner->dropEditedModel();
    scene()->clearSelection();
    DScene::ModelList missing;
    for (const auto &copy : m_copies)
        if (!inScene(copy))
            missing.push_back(copy);
    scene()->addModels(missing);
    beginSelection(m_copies);
}

void CopyModelsCommand::undo()
{
    if (!scene())
        return;
    for (const auto &copy : m_copies) {
        scene()->deselect(copy);
        scene()->removeModel(copy);
    }
    beginSelection(m_sources);
}

// ---- delete ----------------------------------------------------------------------------------

DeleteModelsCommand::DeleteModelsCommand(std::shared_ptr<CommandTarget> owner,
                                         std::list<ModelPtr> models)
    : Command(CommandName::DeleteModel, std::move(owner)), m_models(std::move(models))
{
    if (!scene())
        return;
    const auto all = scene()->models();
    for (const auto &model : m_models) {
        const auto it = std::find(all.begin(), all.end(), model);
        m_positions.push_back(static_cast<std::size_t>(std::distance(all.begin(), it)));
    }
}

bool DeleteModelsCommand::isApplicable() const
{
    return scene() != nullptr;
}

void DeleteModelsCommand::redo()
{
    if (!scene())
        return;
    if (m_owner->dropEditedModel)
        m_owner->dropEditedModel();
    for (const auto &model : m_models) {
        scene()->deselect(model);
        scene()->removeModel(model);
    }
}

void DeleteModelsCommand::undo()
{
    if (!scene())
        return;
    DScene::ModelList missing;
    for (const auto &model : m_models)
        if (!inScene(model))
            missing.push_back(model);
    scene()->addModels(missing);
    // Back to their places in the list, so that picking ties and the print order are as before.
    std::vector<std::pair<std::size_t, ModelPtr>> order;
    std::size_t i = 0;
    for (const auto &model : m_models)
        order.emplace_back(m_positions.at(i++), model);
    std::sort(order.begin(), order.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &entry : order)
        scene()->moveModelTo(entry.second, entry.first);
    beginSelection(m_models);
}
