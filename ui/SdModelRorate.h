#pragma once

#include <QFrame>

#include <functional>

class DSharedApp;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace Orvane3Ds
{
class DRotateModelInteractor;
class DViewInput;
} // namespace Orvane3Ds

// The rotate panel: while shown, the rotate tool of the 3D view is on (rings around the selected
// model); a spin box's angle is applied with Return or Enter; reset takes back the turns since
// the last reset; "Choose bottom" lays a model flat on the face clicked next.
class SdModelRorate : public QFrame
{
    Q_OBJECT
  public:
    // `input` gives the view's input dispatch, or null once the view is gone.
    using InputProvider = std::function<Orvane3Ds::DViewInput *()>;
    SdModelRorate(DSharedApp *app, InputProvider input, QWidget *parent = nullptr);
    ~SdModelRorate() override;

    QSpinBox *spinBox(int axis) const { return m_spin[axis]; }
    QPushButton *resetButton() const { return m_reset; }
    QCheckBox *layFlatCheck() const { return m_layFlat; }
    void retranslate();

  public slots:
    void RorateXChanged(int angle);
    void RorateYChanged(int angle);
    void RorateZChanged(int angle);
    void RorateReset();
    void ChooseBottom();

  protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    Orvane3Ds::DRotateModelInteractor *tool() const;
    void angleChanged(int axis);
    void applyAngle(int axis);
    void zeroSpinBoxes();

    DSharedApp *m_app;
    InputProvider m_input;
    QSpinBox *m_spin[3] = {};
    QLabel *m_axis[3] = {};
    QLabel *m_title = nullptr;
    QPushButton *m_reset = nullptr;
    QCheckBox *m_layFlat = nullptr;
};
