#include "render/DViewInput.h"

#include "render/COrvaneFrame.h"
#include "render/DMoveModelInteractor.h"
#include "render/DRotateModelInteractor.h"
#include "render/InputEvent.h"

#include "app/Command.h"
#include "app/DSharedApp.h"

#include <Qt>

namespace Orvane3Ds
{

DViewInput::DViewInput(DSharedApp &app) : m_app(app) {}

DViewInput::~DViewInput()
{
    if (m_frame)
        m_frame->setInteractor({});
    // Commands outlive the view; they go on acting on the scene alone.
    const auto &target = m_app.commandTarget();
    if (target->frame == m_frame) {
        target->frame = nullptr;
        target->dropEditedModel = {};
    }
}

InteractorHooks DViewInput::hooks() const
{
    InteractorHooks hooks;
    DSharedApp *app = &m_app;
    hooks.record = [app](std::shared_ptr<Command> command) {
        app->recordCommand(std::move(command));
    };
    hooks.deleteSelection = [app] { app->deleteSelectedModels(); };
    hooks.commandTarget = m_app.commandTarget();
    return hooks;
}

void DViewInput::setFrame(COrvaneFrame *frame)
{
    m_frame = frame;
    const auto &target = m_app.commandTarget();
    target->frame = frame;
    target->dropEditedModel = [frame] {
        if (frame)
            frame->setEditedModel({});
    };
    if (m_move)
        m_move->attach(frame);
    if (m_rotate)
        m_rotate->attach(frame);
    if (m_pending) {
        auto pending = std::move(m_pending);
        install(pending, m_pendingMode);
    }
}

void DViewInput::install(const std::shared_ptr<DInteractor3d> &interactor, int mode)
{
    if (!interactor)
        return;
    if (!m_frame) {
        m_pending = interactor;
        m_pendingMode = mode;
        return;
    }
    // Interactors made elsewhere (the support windows' editors) record through the application.
    if (auto *own = dynamic_cast<OrvaneInteractor *>(interactor.get()); own && !own->hooks().record)
        own->setHooks(hooks());
    interactor->attach(m_frame);
    if (auto current = installed(); current && current != interactor)
        current->setMode(0);
    m_frame->setInteractor(interactor);
    interactor->setMode(mode);
    m_app.requestRepaint();
}

void DViewInput::remove(const std::shared_ptr<DInteractor3d> &interactor)
{
    if (!interactor)
        return;
    if (m_pending == interactor)
        m_pending.reset();
    interactor->setMode(0);
    if (m_frame && m_frame->interactor() == interactor)
        m_frame->setInteractor({});
    m_app.requestRepaint();
}

std::shared_ptr<DInteractor3d> DViewInput::installed() const
{
    if (!m_frame)
        return m_pending;
    return std::dynamic_pointer_cast<DInteractor3d>(m_frame->interactor());
}

const std::shared_ptr<DMoveModelInteractor> &DViewInput::moveInteractor()
{
    if (!m_move) {
        m_move = std::make_shared<DMoveModelInteractor>();
        m_move->setHooks(hooks());
        m_move->attach(m_frame);
    }
    return m_move;
}

const std::shared_ptr<DRotateModelInteractor> &DViewInput::rotateInteractor()
{
    if (!m_rotate) {
        m_rotate = std::make_shared<DRotateModelInteractor>();
        m_rotate->setHooks(hooks());
        m_rotate->attach(m_frame);
    }
    return m_rotate;
}

void DViewInput::selectAt(int x, int y, int width, int height, bool toggle)
{
    DScene &scene = m_app.scene();
    const RayHit hit = scene.nearestHit(m_frame->pickRay(x, y, width, height));
    if (toggle) {
        if (hit.isHit()) {
            if (scene.isSelected(hit.model))
                scene.deselect(hit.model);
            else
                scene.select(hit.model);
        }
    } else {
        scene.clearSelection();
        if (hit.isHit())
            scene.select(hit.model);
    }
    m_app.sceneChanged();
}

bool DViewInput::handle(const void *record)
{
    if (!record || !m_frame)
        return false;
    if (auto interactor = installed(); interactor && interactor->isActive()) {
        interactor->handleEvent(record);
        m_app.requestRepaint();
        m_app.refreshSceneState();
        return true;
    }
    switch (inputEventType(record)) {
    case 2: {
        const auto *e = static_cast<const InputEvent *>(record);
        if (e->button == 1) {
            selectAt(e->x, e->y, e->widgetWidth, e->widgetHeight,
                     (e->modifiers & (Qt::ControlModifier | Qt::ShiftModifier)) != 0);
            return true;
        }
        return false;
    }
    case 3:
        if (!m_app.scene().isEmpty())
            m_app.refreshSceneState();
        return false;
    case 6: {
        const auto *e = static_cast<const KeyEventRecord *>(record);
        if (e->key == Qt::Key_Delete) {
            m_app.deleteSelectedModels();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace Orvane3Ds
