#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QSlider;

// The clip-plane slider beside the 3D view: 0 shows everything; a value v cuts the scene at
// v * 0.1 + 0.01 mm. The label beside the handle shows the layer number.
class DlpClipZWidget : public QWidget
{
    Q_OBJECT
  public:
    // What the slider drives (the application's render state).
    struct Hooks {
        std::function<void(bool)> setUpCut;
        std::function<bool()> upCut;
        std::function<void(float)> setClipZ; // millimetres
        std::function<void()> updatePaint;
    };

    explicit DlpClipZWidget(Hooks hooks, QWidget *parent = nullptr);

    // Slider steps for a scene whose highest top is topZ millimetres (0 for an empty scene):
    // the number of 0.1 mm layers, rounded to the nearest layer.
    static int stepsForTop(float topZ);
    // The slider range becomes 0..n.
    void setTotal(int n);

    QSlider *slider() const { return m_slider; }
    QLabel *label() const { return m_label; }

  public slots:
    void zValueChanged(int value);
    void updateLabelInfo(int value);

  private:
    Hooks m_hooks;
    QSlider *m_slider = nullptr;
    QLabel *m_label = nullptr;
};
