// The support application object of the shared application.
#include "app/DSharedApp.h"

#include "app/CSupportApp.h"

Orvane3Ds::CSupportApp &DSharedApp::supportApp()
{
    if (!m_supportApp) {
        m_supportApp =
            std::make_shared<Orvane3Ds::CSupportApp>(m_scene, commandTarget(), &m_rootProgress);
        Orvane3Ds::CSupportApp *support = m_supportApp.get();
        support->setRecordCallback(
            [this](std::shared_ptr<Command> command) { recordCommand(std::move(command)); });
        support->setRepaintCallback([this] { requestRepaint(); });
        support->setJobEndedCallback([this] { reportJobEnded(); });
        support->setDoneCallback([this, support](bool) {
            sceneChanged();
            emitEvent(Orvane3Ds::SupportState, support->stateText());
        });
    }
    return *m_supportApp;
}

bool DSharedApp::isSupportWorking() const
{
    return m_supportApp && (m_supportApp->isBusy() || m_supportApp->isEditing());
}

void DSharedApp::finishSupportEditing()
{
    if (!m_supportApp || !m_supportApp->isEditing())
        return;
    m_supportApp->endEditing();
    m_supportApp->waitForJob();
}
