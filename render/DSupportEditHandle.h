#pragma once

#include <functional>
#include <memory>

class DsCylider;
class Model;
struct ManualSupportSettings;

namespace Orvane3Ds
{

class DSupportEditor;
class DViewInput;

// What the manual support panel drives: the support editor (made with the handle) and the
// view it works in. GUI thread only.
class DSupportEditHandle
{
  public:
    // `input` gives the view's input dispatch, or null while there is no view.
    explicit DSupportEditHandle(std::function<DViewInput *()> input);
    ~DSupportEditHandle();

    // Makes the editor the view's interactor for `model`: support-editing mode (only the model
    // is drawn), orthographic projection, the editor's callbacks pointed at the handle's.
    // Refused (false, nothing changes) without a view or model, or while another interactor
    // of the view is working.
    bool start(const std::shared_ptr<Model> &model);
    // Leaves support-editing mode and takes the editor out of the view. The placed rods stay
    // with the model.
    void stop();
    bool isEditing() const;

    void applySettings(const ManualSupportSettings &settings);
    void setPlatformPrior(bool prior);

    void setSelectionCallback(std::function<void(const std::shared_ptr<DsCylider> &)> cb)
    {
        m_onSelect = std::move(cb);
    }
    void setMiddlePressCallback(std::function<void(int, int)> cb) { m_onMiddle = std::move(cb); }

    const std::shared_ptr<DSupportEditor> &editor() const { return m_editor; }

  private:
    std::function<DViewInput *()> m_input;
    std::shared_ptr<DSupportEditor> m_editor;
    std::function<void(const std::shared_ptr<DsCylider> &)> m_onSelect;
    std::function<void(int, int)> m_onMiddle;
    bool m_editing = false;
};

} // namespace Orvane3Ds
