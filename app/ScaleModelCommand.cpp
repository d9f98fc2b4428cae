#include "app/ScaleModelCommand.h"

#include "app/ModelPlacementCommand.h"
#include "app/ModelState.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"

ScaleModelCommand::ScaleModelCommand(std::shared_ptr<CommandTarget> owner, ModelPtr model,
                                     const Matrix4f &matrix, std::int32_t supportState)
    : Command(CommandName::ScaleModel, std::move(owner)), m_model(std::move(model)),
      m_matrix(matrix), m_supportState(supportState)
{
    if (m_model)
        m_before = ModelState::capture(*m_model);
}

ScaleModelCommand::~ScaleModelCommand() = default;

void ScaleModelCommand::finish()
{
    if (m_model)
        m_after = ModelState::capture(*m_model);
}

bool ScaleModelCommand::absorb(const ScaleModelCommand &later)
{
    if (!m_model || later.m_model != m_model || !later.m_after)
        return false;
    m_matrix = multiply(later.m_matrix, m_matrix);
    m_after = later.m_after;
    return true;
}

void ScaleModelCommand::redo()
{
    if (!begin(m_model) || !m_after)
        return;
    if (m_model->support())
        scene()->discardSupports(m_model);
    m_after->restore(*m_model, *scene(), m_model);
}

void ScaleModelCommand::undo()
{
    if (!begin(m_model) || !m_before)
        return;
    m_before->restore(*m_model, *scene(), m_model);
}

std::size_t ScaleModelCommand::bytes() const
{
    return (m_before ? m_before->bytes() : 0) + (m_after ? m_after->bytes() : 0);
}
