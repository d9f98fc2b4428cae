#pragma once

#include <QWidget>

class QPushButton;

namespace Orvane3Ds
{
class ViewTurner;
}

// Seven buttons for the standard views; each drives the application's view turner.
class DlpGlCamareWidget : public QWidget
{
    Q_OBJECT
  public:
    explicit DlpGlCamareWidget(Orvane3Ds::ViewTurner *turner, QWidget *parent = nullptr);

    void setTurner(Orvane3Ds::ViewTurner *turner);

    QPushButton *topButton() const { return m_top; }
    QPushButton *bottomButton() const { return m_bottom; }
    // The seven buttons: top, bottom, left, right, home, far, near.
    QList<QPushButton *> buttons() const
    {
        return {m_top, m_bottom, m_left, m_right, m_home, m_far, m_near};
    }

    // Re-reads the tool tips from the installed translation (also on every language change).
    void retranslate();

  public slots:
    void onGLTop();
    void onGLBottom();
    void onGLLeft();
    void onGLRight();
    void onGLFar();
    void onGLNear();
    void onGLHome();

  protected:
    void changeEvent(QEvent *event) override;

  private:
    QPushButton *makeButton(const char *tip, const QString &image, const QString &fallbackText);
    void syncButtons();

    Orvane3Ds::ViewTurner *m_turner = nullptr;
    QPushButton *m_top = nullptr;
    QPushButton *m_bottom = nullptr;
    QPushButton *m_left = nullptr;
    QPushButton *m_right = nullptr;
    QPushButton *m_home = nullptr;
    QPushButton *m_far = nullptr;
    QPushButton *m_near = nullptr;
};
