#include "render/DSupportEditHandle.h"

#include "render/COrvaneFrame.h"
#include "render/DSupportEditor.h"
#include "render/DViewInput.h"

#include "geometry/Model.h"

namespace Orvane3Ds
{

DSupportEditHandle::DSupportEditHandle(std::function<DViewInput *()> input)
    : m_input(std::move(input)), m_editor(std::make_shared<DSupportEditor>())
{
}

DSupportEditHandle::~DSupportEditHandle()
{
    if (m_editing)
        stop();
}

bool DSupportEditHandle::start(const std::shared_ptr<Model> &model)
{
    DViewInput *input = m_input ? m_input() : nullptr;
    COrvaneFrame *frame = input ? input->frame() : nullptr;
    if (!frame || !model)
        return false;
    if (auto current = input->installed(); current && current != m_editor && current->isActive())
        return false;
    m_editor->setModel(model);
    frame->setEditedModel(model);
    frame->setEditMode(true);
    m_editor->setSelectionCallback([this](const std::shared_ptr<DsCylider> &rod) {
        if (m_onSelect)
            m_onSelect(rod);
    });
    m_editor->setMiddlePressCallback([this](int x, int y) {
        if (m_onMiddle)
            m_onMiddle(x, y);
    });
    input->install(m_editor, 1);
    m_editing = true;
    return true;
}

void DSupportEditHandle::stop()
{
    m_editing = false;
    DViewInput *input = m_input ? m_input() : nullptr;
    if (!input)
        return;
    if (COrvaneFrame *frame = input->frame()) {
        frame->setEditMode(false);
        frame->setEditedModel({});
    }
    input->remove(m_editor);
}

bool DSupportEditHandle::isEditing() const
{
    return m_editing;
}

void DSupportEditHandle::applySettings(const ManualSupportSettings &settings)
{
    m_editor->applySettings(settings);
}

void DSupportEditHandle::setPlatformPrior(bool prior)
{
    m_editor->setPlatformPrior(prior);
}

} // namespace Orvane3Ds
