// The recorded changes of the shared application: command stack, undo and redo, scale, delete.
#include "app/DSharedApp.h"

#include "app/Command.h"
#include "app/ModelPlacementCommand.h"
#include "app/ScaleModelCommand.h"
#include "geometry/Model.h"

#include <cmath>

const std::shared_ptr<CommandTarget> &DSharedApp::commandTarget()
{
    if (!m_commandTarget) {
        m_commandTarget = std::make_shared<CommandTarget>();
        m_commandTarget->scene = &m_scene;
    }
    return m_commandTarget;
}

void DSharedApp::recordCommand(std::shared_ptr<Command> command)
{
    if (!command)
        return;
    m_commands.push(std::move(command));
    emitEvent(Orvane3Ds::CommandRecorded,
              QStringLiteral("Undo, ,") + QLatin1String(m_commands.lastName()));
    emit commandsChanged();
}

bool DSharedApp::undoCommand()
{
    if (isSupportWorking())
        return false;
    const bool done = m_commands.undo();
    if (done)
        sceneChanged();
    emit commandsChanged();
    return done;
}

bool DSharedApp::redoCommand()
{
    if (isSupportWorking())
        return false;
    const bool done = m_commands.redo();
    if (done)
        sceneChanged();
    emit commandsChanged();
    return done;
}

void DSharedApp::clearCommands()
{
    m_commands.clear();
    emit commandsChanged();
}

void DSharedApp::recordCopies(const ModelList &copies, const ModelList &sources)
{
    recordCommand(std::make_shared<CopyModelsCommand>(commandTarget(), copies, sources));
}

std::shared_ptr<Command> DSharedApp::beginLayoutRecord(const ModelList &models)
{
    return std::make_shared<ModelPlacementCommand>(CommandName::LayoutModel, commandTarget(),
                                                   models);
}

void DSharedApp::finishLayoutRecord(const std::shared_ptr<Command> &command)
{
    auto *placement = static_cast<ModelPlacementCommand *>(command.get());
    placement->finish();
    if (placement->changedAnything())
        recordCommand(command);
}

bool DSharedApp::scaleModel(const std::shared_ptr<Model> &model, float fx, float fy, float fz,
                            bool continuing)
{
    auto valid = [](float f) { return std::isfinite(f) && f > 0.0f; };
    if (!model || !valid(fx) || !valid(fy) || !valid(fz))
        return false;
    // The centroid of the vertices as they are now, without replacing the stored one.
    const Point3f stored = model->centroid();
    model->computeCentroid();
    const Point3f c{model->centroid().x, model->centroid().y, 0.0f};
    model->setCentroid(stored);
    const Matrix4f matrix =
        multiply(translationMatrix(c.x, c.y, c.z),
                 multiply(scaleMatrix(fx, fy, fz), translationMatrix(-c.x, -c.y, -c.z)));
    auto command = std::make_shared<ScaleModelCommand>(commandTarget(), model, matrix,
                                                       model->isLayoutRotated() ? 1 : 0);
    model->setLayoutRotated(false);
    if (model->support())
        m_scene.discardSupports(model);
    model->transform(matrix);
    model->recomputeBounds();
    const float minZ = model->boundingBox().min.z;
    if (minZ != 0.0f)
        model->transform(translationMatrix(0.0f, 0.0f, -minZ));
    command->finish();
    // Joined only while the step is still the last one to undo and nothing waits to be redone.
    const auto open = std::dynamic_pointer_cast<ScaleModelCommand>(m_openScale.lock());
    if (continuing && open && !m_commands.undoList().empty() &&
        m_commands.undoList().back() == open && m_commands.redoList().empty() &&
        open->absorb(*command)) {
        sceneChanged();
        emit commandsChanged();
        return true;
    }
    m_commands.push(command);
    m_openScale = command;
    sceneChanged();
    emitEvent(Orvane3Ds::CommandRecorded,
              QStringLiteral("Undo, ,") + QLatin1String(m_commands.lastName()));
    emit commandsChanged();
    return true;
}

void DSharedApp::deleteSelectedModels()
{
    const ModelList selected = m_scene.selection();
    if (selected.empty())
        return;
    auto command = std::make_shared<DeleteModelsCommand>(commandTarget(), selected);
    command->redo();
    recordCommand(command);
    sceneChanged();
}
