#include "app/Command.h"

#include "geometry/DScene.h"

#include <algorithm>

Command::Command(const char *name, std::shared_ptr<CommandTarget> owner)
    : m_name(name), m_owner(std::move(owner))
{
}

Command::~Command() = default;

bool Command::inScene(const ModelPtr &model) const
{
    if (!model || !scene())
        return false;
    const auto models = scene()->models();
    return std::find(models.begin(), models.end(), model) != models.end();
}

bool Command::isApplicable() const
{
    if (!scene())
        return false;
    const auto list = models();
    return std::all_of(list.begin(), list.end(), [this](const ModelPtr &m) { return inScene(m); });
}

bool Command::begin(const ModelPtr &model)
{
    if (!model || !scene())
        return false;
    if (m_owner->dropEditedModel)
        m_owner->dropEditedModel();
    scene()->clearSelection();
    scene()->select(model);
    return true;
}

void Command::beginSelection(const std::list<ModelPtr> &models)
{
    if (!scene())
        return;
    if (m_owner->dropEditedModel)
        m_owner->dropEditedModel();
    scene()->clearSelection();
    for (const auto &model : models)
        if (inScene(model))
            scene()->select(model);
}
