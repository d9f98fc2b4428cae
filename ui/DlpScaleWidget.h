#pragma once

#include "app/ScaleState.h"

#include <QFrame>

#include <memory>
#include <string>

class DSharedApp;
class Model;
class QLabel;
class QLineEdit;
class QPushButton;

// The scale panel: size and factor of the selected model per axis, proportional lock, reset and
// the volume. Typing a valid value applies it at once as a recorded scale of the model; fields
// that are empty, zero or half typed are never applied.
class DlpScaleWidget : public QFrame
{
    Q_OBJECT
  public:
    explicit DlpScaleWidget(DSharedApp *app, QWidget *parent = nullptr);
    ~DlpScaleWidget() override;

    ScaleState &state() { return m_state; }
    QLineEdit *sizeField(int axis) const { return m_size[axis]; }
    QLineEdit *factorField(int axis) const { return m_factor[axis]; }
    QPushButton *lockButton() const { return m_lock; }
    QPushButton *resetButton() const { return m_reset; }
    QLabel *volumeLabel() const { return m_volume; }

    // Re-reads the single selected model (nothing when not exactly one is selected) and
    // refreshes every field.
    void readSelectedModel();
    void retranslate();

  public slots:
    // Refreshes every field except the one named by tag ("SizeX" ... "FactorZ"); "scale"
    // refreshes everything.
    void UpdateScaleUIModelInfo(std::string tag);
    void BtLock_ChangeImage();
    // Drops a last character that makes the text no number of at most seven decimals; true
    // when what is left is a number other than 0.
    bool PositiveRealNumber(QLineEdit *field);
    void SizeXChanged(QString text);
    void SizeYChanged(QString text);
    void SizeZChanged(QString text);
    void FactorXChanged(QString text);
    void FactorYChanged(QString text);
    void FactorZChanged(QString text);
    void ScaleReset();
    void SizeXEditFinished();
    void SizeYEditFinished();
    void SizeZEditFinished();
    void FactorXEditFinished();
    void FactorYEditFinished();
    void FactorZEditFinished();

  protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    std::shared_ptr<Model> singleSelected() const;
    void sizeChanged(int axis);
    void factorChanged(int axis);
    void editFinished(QLineEdit *field, bool size, int axis);
    // Scales the selected model by (fx, fy, fz) and re-reads it. A scale typed into the field
    // that scaled last, without the edit ending between, joins that undo step.
    bool scaleBy(const Vec3f &factors, QLineEdit *typedInto = nullptr);
    bool readFields(Vec3f *sizes, Vec3f *factors) const;
    void onAppEvent(int event);

    DSharedApp *m_app;
    ScaleState m_state;
    QLineEdit *m_size[3] = {};
    QLineEdit *m_factor[3] = {};
    QLabel *m_axis[3] = {};
    QLabel *m_title = nullptr;
    QLabel *m_sizeHeader = nullptr;
    QLabel *m_factorHeader = nullptr;
    QLabel *m_volumeTitle = nullptr;
    QLabel *m_volume = nullptr;
    QPushButton *m_lock = nullptr;
    QPushButton *m_reset = nullptr;
    bool m_applying = false;
    bool m_refreshing = false;
    QLineEdit *m_typingField = nullptr; // the field whose typing scaled last, until its edit ends
};
