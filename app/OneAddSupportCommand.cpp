#include "app/OneAddSupportCommand.h"

#include "app/ModelPlacementCommand.h"
#include "app/ModelState.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"

OneAddSupportCommand::OneAddSupportCommand(std::shared_ptr<CommandTarget> owner,
                                           Orvane3Ds::CSupportApp *supportApp, ModelPtr model,
                                           std::shared_ptr<const ModelState> before,
                                           OverhangList given, float baseHeightBefore,
                                           float baseHeightAfter)
    : Command(CommandName::AddSupport, std::move(owner)), m_supportApp(supportApp),
      m_given(std::move(given)), m_baseBefore(baseHeightBefore), m_baseAfter(baseHeightAfter),
      m_model(std::move(model)), m_before(std::move(before))
{
    if (!m_model)
        return;
    m_supportList = m_model->support();
    for (const auto &point : m_model->overhangs())
        if (point)
            m_overhangs.push_back(*point);
    if (m_supportList)
        for (const auto &part : m_supportList->parts)
            if (part)
                m_supports.push_back(*part);
    m_after = ModelState::capture(*m_model);
}

OneAddSupportCommand::~OneAddSupportCommand() = default;

void OneAddSupportCommand::redo()
{
    if (!begin(m_model))
        return;
    DScene &s = *scene();
    if (!m_model->overhangs().empty())
        s.removeOverhangPoints(m_model->overhangs());
    if (m_model->support())
        s.discardSupports(m_model);
    // The model at the "after" placement (its base height), without supports yet.
    if (m_after)
        m_after->restore(*m_model, s, m_model);
    if (!m_model->overhangs().empty())
        s.removeOverhangPoints(m_model->overhangs());
    if (m_model->support())
        s.discardSupports(m_model);
    for (const Overhang &point : m_overhangs)
        s.addOverhangPoint(std::make_shared<Overhang>(point), m_model);
    auto support = std::make_shared<Support>();
    for (const Mesh3D &part : m_supports)
        support->parts.push_back(std::make_shared<Mesh3D>(part));
    m_supportList = support;
    if (!support->parts.empty()) {
        s.setSupports(support, m_model);
        if (const auto &given = s.callbacks().supportsGiven)
            given(support);
    }
}

void OneAddSupportCommand::undo()
{
    if (!begin(m_model))
        return;
    DScene &s = *scene();
    if (!m_model->overhangs().empty())
        s.removeOverhangPoints(m_model->overhangs());
    if (m_model->support())
        s.discardSupports(m_model);
    if (m_before)
        m_before->restore(*m_model, s, m_model);
}

std::size_t OneAddSupportCommand::bytes() const
{
    std::size_t total = (m_before ? m_before->bytes() : 0) + (m_after ? m_after->bytes() : 0);
    for (const Mesh3D &part : m_supports)
        total += part.vertices().size() * sizeof(Point3f) + part.faces().size() * sizeof(Face);
    return total;
}
