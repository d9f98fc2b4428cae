#pragma once

#include <QVector>
#include <QWidget>

class QToolButton;

// The vertical tool strip of model operations over the 3D view. Each button emits its own
// signal; the main window opens the matching floating panel and marks the button active, which
// keeps its highlighted image while the panel is open.
class DlpModelOperateWidget : public QWidget
{
    Q_OBJECT
  public:
    // Buttons from top to bottom; the value is also the panel row used for placement.
    enum Button { Load = 0, Scale, Rorate, Layout, JewelrySupport, Support, Device, ButtonCount };

    static constexpr int ButtonSize = 54;

    explicit DlpModelOperateWidget(QWidget *parent = nullptr);

    QToolButton *button(Button which) const { return m_buttons.at(which).button; }
    int buttonHeight() const { return ButtonSize; }

    // Keeps the button's highlighted image on (panel open) or returns it to normal.
    void setButtonActive(Button which, bool active);
    bool isButtonActive(Button which) const { return m_buttons.at(which).active; }
    void clearActive();

    void retranslate();

  signals:
    void sShowLoad();
    void sShowScaleUI();
    void sShowRorateUI();
    void sShowLayoutUI();
    void sShowJewelrySupportUI();
    void sShowSupportUI();
    void sShowManage();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

  private:
    struct ButtonState {
        QToolButton *button = nullptr;
        QString normalImage;
        QString colorImage;
        const char *toolTipKey = nullptr;
        bool active = false;
        bool hovered = false;
    };

    void updateIcon(int index);

    QVector<ButtonState> m_buttons;
};
