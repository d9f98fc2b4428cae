#pragma once

#include "geometry/IProgressable.h"
#include "geometry/SupportParameters.h"
#include "supports/SdSupportSettingManage.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

class Command;
struct CommandTarget;
class DScene;
class Model;
class ModelState;

namespace Orvane3Ds
{

// The one place through which the window starts support work on the scene's current model:
// the generate job, removing supports, and the editing of overhang points by hand.
//
// Threading: every operation is called on the user-interface thread. The generate and
// end-editing jobs compute on a thread of their own, on a deep copy of the model, so the model
// the view draws is changed on the interface thread only; their results are applied there once
// the computation has ended. A job that is cancelled or fails leaves the model exactly as it was
// before the request (bit for bit). One job at a time; the destructor cancels a running job and
// waits for its thread.
//
// Callbacks (each may be empty):
//  - lift / overhangs ready / supports ready / lower: the support panel's view updates; when
//    one is empty the matching operation (modelUp(), addFindOverhang(), addSupport(),
//    modelDown()) runs directly.
//  - state (type, count): 0 generate starts, 1 supports generated, 2 supports removed (or
//    editing ended without points, or a job ended without result), 3 editing begins, 4 the
//    end-editing job starts, 5 the end-editing job ends.
//  - done (flag): support work has ended.
//  - repaint: the 3D view is drawn again.
//  - record (command): a change that undo can take back (the application's command stack).
//  - editor (model, on): install / remove the overhang editor of the view for the model.
class CSupportApp : public QObject, public ISupportParameterSink
{
    Q_OBJECT
  public:
    using ModelPtr = std::shared_ptr<Model>;
    using Step = std::function<void()>;
    using StateCallback = std::function<void(int type, int count)>;
    using DoneCallback = std::function<void(bool)>;
    using RecordCallback = std::function<void(std::shared_ptr<Command>)>;
    using EditorCallback = std::function<void(const ModelPtr &model, bool on)>;

    // `progress` is the application's root progress (its callback feeds the progress window,
    // its cancel flag is the user's cancel); it must outlive this object.
    CSupportApp(DScene &scene, std::shared_ptr<CommandTarget> target, IProgressable *progress,
                QObject *parent = nullptr);
    ~CSupportApp() override;

    // Keeps the parameters and copies them into the selected models (profile name included).
    void setSupportParameters(const SupportParameters &params) override;
    const SupportParameters &parameters() const { return m_params; }

    void setLiftCallback(Step step) { m_lift = std::move(step); }
    void setOverhangsReadyCallback(Step step) { m_overhangsReady = std::move(step); }
    void setSupportsReadyCallback(Step step) { m_supportsReady = std::move(step); }
    void setLowerCallback(Step step) { m_lower = std::move(step); }
    void setStateCallback(StateCallback cb) { m_state = std::move(cb); }
    void setDoneCallback(DoneCallback cb) { m_done = std::move(cb); }
    void setRepaintCallback(Step step) { m_repaint = std::move(step); }
    void setRecordCallback(RecordCallback cb) { m_record = std::move(cb); }
    void setEditorCallback(EditorCallback cb) { m_editor = std::move(cb); }
    // Called when a job has ended however it ended (closes the progress window).
    void setJobEndedCallback(Step step) { m_jobEnded = std::move(step); }

    // Starts the generate job for the scene's current model. False (nothing happens) while a
    // job runs or while editing. A current model that is not selected is only lifted.
    bool generate();
    // Takes the current model's generated supports and overhang points away and lowers it to
    // the platform. With `record` the change is recorded for undo; with `notify` done(true) is
    // called. Does nothing without a selected current model or while a job runs.
    void removeSupports(bool record, bool notify);
    // Starts the hand editing of the current model's overhang points: the model is lifted and
    // its generated supports are taken out; the overhang editor is installed. False when
    // refused (no current model, a job runs, already editing).
    bool beginEditing();
    // Ends the editing and starts the end-editing job: supports are generated for the edited
    // points (or, without points, the model is lowered), also when the edited model is no
    // longer selected. The whole edit is one undo step. False when not editing or a job runs.
    bool endEditing();

    // The view updates of the jobs (the panel's slots call them).
    void modelUp();
    void modelDown();
    void addFindOverhang();
    void addSupport();

    bool isBusy() const { return m_busy; }
    bool isEditing() const { return m_editing; }
    ModelPtr editedModel() const { return m_editModel; }
    // Why the last job produced nothing (empty after a success; "Canceled" after a cancel).
    QString lastError() const { return m_lastError; }
    // The three values of the support state event: "<points of the current model>,<models>,
    // <true when every model has overhang points>".
    QString stateText() const;
    float overhangCount() const { return m_overhangCount; }
    float modelCount() const { return m_modelCount; }
    bool everyModelHasOverhangs() const { return m_everyModel; }

    // Processes events until no job runs (tests, shutdown).
    void waitForJob();

  signals:
    // A job ended on the interface thread: ok when its result was applied, else error says why.
    void jobFinished(bool ok, const QString &error);

  private:
    struct JobResult;
    void startJob(bool regenerate);
    void finishJob(const std::shared_ptr<JobResult> &result);
    void runStep(const Step &callback, void (CSupportApp::*operation)());
    void reportState(int type, int count);
    void recordAdd(const std::shared_ptr<const ModelState> &before, float baseBefore);
    void refreshCounts();
    void endWork();
    bool isSelected(const ModelPtr &model) const;
    bool isInScene(const ModelPtr &model) const;
    int modelTotal() const;
    void joinThread();

    DScene &m_scene;
    std::shared_ptr<CommandTarget> m_target;
    IProgressable *m_root;
    IProgressable m_progress;
    SupportParameters m_params;

    Step m_lift, m_overhangsReady, m_supportsReady, m_lower, m_repaint, m_jobEnded;
    StateCallback m_state;
    DoneCallback m_done;
    RecordCallback m_record;
    EditorCallback m_editor;

    ModelPtr m_model;                           // the model of the running job
    ModelPtr m_editModel;                       // the model being edited
    std::shared_ptr<const ModelState> m_before; // the model before the job or the edit
    float m_baseBefore = 0.0f;
    std::shared_ptr<const ModelState> m_editBefore;
    float m_editBaseBefore = 0.0f;
    bool m_busy = false;
    bool m_editing = false;
    bool m_regenerating = false;
    QString m_lastError;
    float m_overhangCount = 0.0f;
    float m_modelCount = 0.0f;
    bool m_everyModel = false;
    std::thread m_thread;
};

} // namespace Orvane3Ds
