#pragma once

#include <QLabel>

// The warning shown at the bottom centre of the 3D view while a model lies beyond the printable
// range of the platform.
class DlpStatusBarWidget : public QLabel
{
    Q_OBJECT
  public:
    explicit DlpStatusBarWidget(QWidget *parent = nullptr);

    // The last state reported, whether or not the label is currently shown.
    bool isOverBound() const { return m_over; }
    // Centres the label at the bottom of its parent.
    void place();
    void retranslate();

  public slots:
    void onOverBoundLabel(bool over);

  private:
    bool m_over = false;
};
