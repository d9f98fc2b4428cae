#include "app/CSupportApp.h"

#include "app/Command.h"
#include "app/ModelState.h"
#include "app/OneAddSupportCommand.h"
#include "app/OneRemoveSupportCommand.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"
#include "supports/SupportJob.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <algorithm>

namespace Orvane3Ds
{

// What the job thread hands back: the computed copy of the model, or why there is none.
struct CSupportApp::JobResult {
    std::shared_ptr<Model> copy;
    bool ok = false;
    QString error;
};

namespace
{

float baseHeightOf(Model &model)
{
    model.recomputeBounds();
    const Box3f &box = model.boundingBox();
    return box.isEmpty() ? 0.0f : box.min.z;
}

} // namespace

CSupportApp::CSupportApp(DScene &scene, std::shared_ptr<CommandTarget> target,
                         IProgressable *progress, QObject *parent)
    : QObject(parent), m_scene(scene), m_target(std::move(target)), m_root(progress)
{
}

CSupportApp::~CSupportApp()
{
    if (m_thread.joinable()) {
        m_progress.setCancel(true);
        m_thread.join();
    }
    m_progress.setParent(nullptr);
}

void CSupportApp::setSupportParameters(const SupportParameters &params)
{
    m_params = params;
    for (const ModelPtr &model : m_scene.selection())
        if (model && !(m_busy && model == m_model))
            model->supportParameters() = params;
}

bool CSupportApp::isSelected(const ModelPtr &model) const
{
    return model && m_scene.isSelected(model);
}

bool CSupportApp::isInScene(const ModelPtr &model) const
{
    const auto models = m_scene.models();
    return std::find(models.begin(), models.end(), model) != models.end();
}

int CSupportApp::modelTotal() const
{
    return static_cast<int>(m_scene.models().size());
}

void CSupportApp::runStep(const Step &callback, void (CSupportApp::*operation)())
{
    if (callback)
        callback();
    else
        (this->*operation)();
}

void CSupportApp::reportState(int type, int count)
{
    if (m_state)
        m_state(type, count);
}

void CSupportApp::refreshCounts()
{
    const ModelPtr current = m_scene.currentModel();
    m_overhangCount = current ? static_cast<float>(current->overhangs().size()) : 0.0f;
    const auto models = m_scene.models();
    m_modelCount = static_cast<float>(models.size());
    m_everyModel = !models.empty() && std::all_of(models.begin(), models.end(), [](const auto &m) {
        return m && !m->overhangs().empty();
    });
}

QString CSupportApp::stateText() const
{
    return QStringLiteral("%1,%2,%3")
        .arg(static_cast<double>(m_overhangCount))
        .arg(static_cast<double>(m_modelCount))
        .arg(m_everyModel ? QStringLiteral("true") : QStringLiteral("false"));
}

void CSupportApp::endWork()
{
    m_busy = false;
    refreshCounts();
    if (m_done)
        m_done(true);
}

// ---- view updates --------------------------------------------------------------------------

void CSupportApp::modelUp()
{
    const ModelPtr model = m_model ? m_model : m_scene.currentModel();
    if (!model || m_params.hasSupports)
        return;
    liftModelToHeight(*model, m_params.supportHeight);
    if (m_repaint)
        m_repaint();
}

void CSupportApp::modelDown()
{
    const ModelPtr model = m_model ? m_model : m_scene.currentModel();
    if (!model)
        return;
    liftModelToHeight(*model, 0.0f);
    if (m_repaint)
        m_repaint();
}

void CSupportApp::addFindOverhang()
{
    if (m_model && !m_model->overhangs().empty())
        m_scene.setOverhangPoints(m_model->overhangs(), m_model);
}

void CSupportApp::addSupport()
{
    if (!m_model)
        return;
    if (m_model->support())
        if (const auto &given = m_scene.callbacks().supportsGiven)
            given(m_model->support());
    if (m_repaint)
        m_repaint();
}

// ---- generate --------------------------------------------------------------------------------

bool CSupportApp::generate()
{
    if (m_busy || m_editing)
        return false;
    m_busy = true;
    m_lastError.clear();
    reportState(0, 0);
    m_model = m_scene.currentModel();
    if (!m_model) {
        // The buttons that state 0 disabled come back.
        reportState(2, modelTotal());
        endWork();
        return true;
    }
    if (m_model->sourceKind() == SourceKind::SlcContours) {
        // Contours carry no surface to find overhangs on.
        m_lastError = QStringLiteral("Cannot generate supports for an SLC contour model.");
        reportState(m_model->hasSupports() ? 1 : 2, modelTotal());
        m_model.reset();
        endWork();
        emit jobFinished(false, m_lastError);
        return true;
    }
    m_before = ModelState::capture(*m_model);
    m_baseBefore = baseHeightOf(*m_model);
    runStep(m_lift, &CSupportApp::modelUp);
    if (!isSelected(m_model)) {
        reportState(m_model->hasSupports() ? 1 : 2, modelTotal());
        m_model.reset();
        m_before.reset();
        endWork();
        return true;
    }
    m_model->supportParameters() = m_params;
    startJob(false);
    return true;
}

void CSupportApp::startJob(bool regenerate)
{
    m_regenerating = regenerate;
    if (m_root)
        m_root->setCancel(false);
    m_progress.setParent(m_root);
    m_progress.resetLastPercent();
    // The job computes on a copy so that the model the view draws never changes off this thread.
    std::shared_ptr<Model> copy = m_model->deepCopy();
    const SupportParameters params = m_params;
    joinThread();
    m_thread = std::thread([this, copy, params, regenerate]() {
        auto result = std::make_shared<JobResult>();
        result->copy = copy;
        SupportJobResult outcome;
        if (regenerate) {
            copy->supportParameters() = params;
            copy->setSupport(nullptr);
            outcome = regenerateSupportsForModel(*copy, &m_progress);
        } else {
            copy->overhangs().clear();
            copy->setSupport(nullptr);
            outcome = generateSupportsForModel(*copy, params, &m_progress);
        }
        result->ok = outcome.ok && !m_progress.isCancelled();
        result->error = m_progress.isCancelled() ? QStringLiteral("Canceled") : outcome.error;
        QMetaObject::invokeMethod(
            this, [this, result]() { finishJob(result); }, Qt::QueuedConnection);
    });
}

void CSupportApp::joinThread()
{
    if (m_thread.joinable())
        m_thread.join();
}

void CSupportApp::finishJob(const std::shared_ptr<JobResult> &result)
{
    joinThread();
    m_progress.setParent(nullptr);
    const ModelPtr model = m_model;
    const bool regenerate = m_regenerating;
    if (m_jobEnded)
        m_jobEnded();
    if (!result->ok || !model) {
        m_lastError = result->error;
        if (!regenerate) {
            // Nothing of the request stays: the model goes back to its state before it.
            if (model && m_before)
                m_before->restore(*model, m_scene, model);
            reportState(model && model->hasSupports() ? 1 : 2, modelTotal());
        } else {
            // The edited points stay (they are the user's work); there are no supports for them.
            reportState(5, modelTotal());
            reportState(2, modelTotal());
            m_editModel.reset();
            m_editBefore.reset();
        }
        m_model.reset();
        m_before.reset();
        if (m_repaint)
            m_repaint();
        endWork();
        emit jobFinished(false, m_lastError);
        return;
    }

    Model &copy = *result->copy;
    if (!model->overhangs().empty())
        m_scene.removeOverhangPoints(model->overhangs());
    if (model->support())
        m_scene.discardSupports(model);
    model->supportParameters() = copy.supportParameters();
    model->overhangs() = copy.overhangs();
    model->setOverhangsFlag(true);
    runStep(m_overhangsReady, &CSupportApp::addFindOverhang);
    m_scene.setSupports(copy.support(), model);
    model->setHasSupports(!model->overhangs().empty());
    runStep(m_supportsReady, &CSupportApp::addSupport);
    reportState(1, modelTotal());
    if (regenerate) {
        recordAdd(m_editBefore, m_editBaseBefore);
        reportState(5, modelTotal());
        m_editModel.reset();
        m_editBefore.reset();
        if (m_target && m_target->dropEditedModel)
            m_target->dropEditedModel();
    } else {
        recordAdd(m_before, m_baseBefore);
    }
    m_model.reset();
    m_before.reset();
    endWork();
    emit jobFinished(true, QString());
}

void CSupportApp::recordAdd(const std::shared_ptr<const ModelState> &before, float baseBefore)
{
    if (!m_record || !m_model)
        return;
    m_record(std::make_shared<OneAddSupportCommand>(
        m_target, this, m_model, before, m_model->overhangs(), baseBefore, baseHeightOf(*m_model)));
}

// ---- remove ----------------------------------------------------------------------------------

void CSupportApp::removeSupports(bool record, bool notify)
{
    const ModelPtr model = m_scene.currentModel();
    if (m_busy || !isSelected(model))
        return;
    std::shared_ptr<OneRemoveSupportCommand> command;
    if (record)
        command =
            std::make_shared<OneRemoveSupportCommand>(m_target, this, model, baseHeightOf(*model));
    if (!model->overhangs().empty())
        m_scene.removeOverhangPoints(model->overhangs());
    m_scene.discardSupports(model);
    model->setHasSupports(false);
    m_model = model;
    runStep(m_lower, &CSupportApp::modelDown);
    m_model.reset();
    if (m_repaint)
        m_repaint();
    if (command) {
        command->finish();
        if (m_record)
            m_record(command);
    }
    reportState(2, modelTotal());
    refreshCounts();
    if (notify && m_done)
        m_done(true);
}

// ---- editing ---------------------------------------------------------------------------------

bool CSupportApp::beginEditing()
{
    const ModelPtr model = m_scene.currentModel();
    if (m_busy || m_editing || !model)
        return false;
    m_editing = true;
    m_editModel = model;
    model->supportParameters() = m_params;
    m_editBefore = ModelState::capture(*model);
    m_editBaseBefore = baseHeightOf(*model);
    m_model = model;
    runStep(m_lift, &CSupportApp::modelUp);
    m_model.reset();
    if (model->support())
        m_scene.discardSupports(model);
    if (m_editor)
        m_editor(model, true);
    if (m_repaint)
        m_repaint();
    reportState(3, 0);
    return true;
}

bool CSupportApp::endEditing()
{
    if (!m_editing || m_busy)
        return false;
    m_editing = false;
    m_busy = true;
    m_lastError.clear();
    const ModelPtr model = m_editModel;
    if (m_editor && model)
        m_editor(model, false);
    reportState(4, modelTotal());
    // The edited model is the one the session ends for, whatever is selected by now: its points
    // are the user's work.
    const bool inScene = model && isInScene(model);
    if (inScene && !model->overhangs().empty()) {
        m_model = model;
        startJob(true);
        return true;
    }
    if (inScene) {
        m_model = model;
        runStep(m_lower, &CSupportApp::modelDown);
        model->setHasSupports(false);
        // The edit (points removed, model lowered) is one undo step like any other edit.
        recordAdd(m_editBefore, m_editBaseBefore);
        m_model.reset();
    }
    reportState(5, modelTotal());
    if (!model || model->overhangs().empty())
        reportState(2, modelTotal());
    m_editModel.reset();
    m_editBefore.reset();
    if (m_target && m_target->dropEditedModel)
        m_target->dropEditedModel();
    endWork();
    return true;
}

void CSupportApp::waitForJob()
{
    while (m_busy)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

} // namespace Orvane3Ds
