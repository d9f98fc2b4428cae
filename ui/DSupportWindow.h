#pragma once

#include "supports/ManualSupportSettings.h"

#include <QFrame>

#include <array>
#include <functional>
#include <list>
#include <memory>

class DSharedApp;
class DsCylider;
class Model;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Orvane3Ds
{
class DSupportEditHandle;
class DViewInput;
} // namespace Orvane3Ds

// The manual support panel ("Jewelry Supports"): starts and ends the drawing of support rods by
// hand on the selected model, shows the numbers of the selected rod and lets the user type them
// (radii, the model's move-up height, the two end points), and the three switches "Limit to Z
// Axis", "Grow from the ground" and "Platform prior".
//
// Editing ends when the panel is hidden (another panel chosen), when models come into or leave
// the scene (a dropped file loaded) and when the window goes; the rods placed so far stay
// with the model in every case.
class DSupportWindow : public QFrame
{
    Q_OBJECT
  public:
    // The number fields, in panel order.
    enum Field {
        TopBallRadius,
        BottomBallRadius,
        RodTopRadius,
        RodBottomRadius,
        MoveUpHeight,
        TopX,
        TopY,
        TopZ,
        BottomX,
        BottomY,
        BottomZ,
        FieldCount
    };

    // `input` gives the view's input dispatch, or null once the view is gone.
    using InputProvider = std::function<Orvane3Ds::DViewInput *()>;
    DSupportWindow(DSharedApp *app, InputProvider input, QWidget *parent = nullptr);
    ~DSupportWindow() override;

    QPushButton *editButton() const { return m_edit; }
    QCheckBox *limitAtZAxisBox() const { return m_limit; }
    QCheckBox *growFromFloorBox() const { return m_grow; }
    QCheckBox *platformPriorBox() const { return m_platform; }
    QLineEdit *field(Field which) const { return m_fields[which]; }
    const ManualSupportSettings &settings() const { return m_settings; }
    bool isEditing() const;
    Orvane3Ds::DSupportEditHandle &handle() const { return *m_handle; }
    void retranslate();

  signals:
    void supdateTotalLayer();
    void sHideWindow();
    // The window's other operations are off (false) while rods are drawn.
    void updateMainEnabled(bool enabled);

  public slots:
    void OnEditing();
    void OnStartEdting();
    void OnEndEditing();
    void OnLineEditValueChange(Field which, const QString &value);
    void OnLimitAtZAxisChange(bool checked);
    void OnGrowFromFloorChange(bool checked);
    void OnIsFloorChange(bool checked);
    void OnUpdateObjectInfo(const std::shared_ptr<DsCylider> &c);
    void OnUpdateUIFromConfig(const ManualSupportSettings &settings);

  protected:
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    float &valueOf(Field which);
    bool selectedIsUsable(bool tell);
    void handOver();
    void followScene();

    DSharedApp *m_app;
    InputProvider m_input;
    std::unique_ptr<Orvane3Ds::DSupportEditHandle> m_handle;
    std::shared_ptr<Model> m_model; // the model being edited
    std::list<std::shared_ptr<Model>> m_sceneAtStart;
    ManualSupportSettings m_settings;
    QLabel *m_title = nullptr;
    QCheckBox *m_limit = nullptr;
    QCheckBox *m_grow = nullptr;
    QCheckBox *m_platform = nullptr;
    QPushButton *m_edit = nullptr;
    std::array<QLineEdit *, FieldCount> m_fields{};
    std::array<QLabel *, 7> m_labels{};
};
