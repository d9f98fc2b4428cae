#include "app/OneRemoveSupportCommand.h"

#include "app/ModelPlacementCommand.h"
#include "app/ModelState.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"

OneRemoveSupportCommand::OneRemoveSupportCommand(std::shared_ptr<CommandTarget> owner,
                                                 Orvane3Ds::CSupportApp *supportApp, ModelPtr model,
                                                 float baseHeight)
    : Command(CommandName::RemoveSupport, std::move(owner)), m_supportApp(supportApp),
      m_baseHeight(baseHeight), m_model(std::move(model))
{
    if (!m_model)
        return;
    m_supportList = m_model->support();
    m_overhangs = m_model->overhangs();
    m_before = ModelState::capture(*m_model);
}

OneRemoveSupportCommand::~OneRemoveSupportCommand() = default;

void OneRemoveSupportCommand::finish()
{
    if (m_model)
        m_after = ModelState::capture(*m_model);
}

void OneRemoveSupportCommand::redo()
{
    if (!begin(m_model))
        return;
    DScene &s = *scene();
    if (!m_model->overhangs().empty())
        s.removeOverhangPoints(m_model->overhangs());
    if (m_model->support())
        s.discardSupports(m_model);
    if (m_after)
        m_after->restore(*m_model, s, m_model);
}

void OneRemoveSupportCommand::undo()
{
    if (!begin(m_model) || !m_before)
        return;
    // Lifts the model back and gives it its overhang points and support list again.
    m_before->restore(*m_model, *scene(), m_model);
}

std::size_t OneRemoveSupportCommand::bytes() const
{
    return (m_before ? m_before->bytes() : 0) + (m_after ? m_after->bytes() : 0);
}
