#pragma once

#include <QFrame>

#include <functional>

class DSharedApp;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace Orvane3Ds
{
class DViewInput;
}

// The layout panel: copies of the selected models, automatic layout, select all and select
// inverse. While shown, the move tool of the 3D view is on (drag models on the platform).
class SdModelLayout : public QFrame
{
    Q_OBJECT
  public:
    // `input` gives the view's input dispatch, or null once the view is gone.
    using InputProvider = std::function<Orvane3Ds::DViewInput *()>;
    SdModelLayout(DSharedApp *app, InputProvider input, QWidget *parent = nullptr);

    QSpinBox *numbers() const { return m_numbers; }
    QSpinBox *interval() const { return m_interval; }
    QPushButton *copyButton() const { return m_copy; }
    QPushButton *layoutButton() const { return m_layout; }
    QPushButton *selectAllButton() const { return m_selectAll; }
    QPushButton *selectInverseButton() const { return m_selectInverse; }
    void retranslate();

    // Shows a plain reason why a button did nothing (replaceable by tests).
    using Notice = std::function<void(const QString &text)>;
    void setNotice(Notice notice) { m_notice = std::move(notice); }

  public slots:
    void CopyModel();
    void LayoutModel();
    void onSelecteAll();
    void onSelecteInverse();

  protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    void notify(const QString &text);

    DSharedApp *m_app;
    InputProvider m_input;
    QGroupBox *m_copyGroup = nullptr;
    QGroupBox *m_layoutGroup = nullptr;
    QLabel *m_numbersLabel = nullptr;
    QLabel *m_intervalLabel = nullptr;
    QSpinBox *m_numbers = nullptr;
    QSpinBox *m_interval = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_layout = nullptr;
    QPushButton *m_selectAll = nullptr;
    QPushButton *m_selectInverse = nullptr;
    Notice m_notice;
};
