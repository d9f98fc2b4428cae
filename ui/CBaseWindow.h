#pragma once

#include <QPoint>
#include <QWidget>

class QLabel;
class QMenu;
class QToolButton;
class QVBoxLayout;

// A frameless top-level window that draws its own title bar (icon, title, menu, minimise,
// maximise/restore and close buttons). It moves when dragged by the title bar and toggles
// maximise on a double click there. Content goes into contentWidget().
class CBaseWindow : public QWidget
{
    Q_OBJECT
  public:
    static constexpr int TitleBarHeight = 40;

    explicit CBaseWindow(QWidget *parent = nullptr);

    // Sets the title-bar text and the window title together.
    void setTitle(const QString &title);
    QString title() const;

    QWidget *titleBar() const { return m_titleBar; }
    QWidget *contentWidget() const { return m_content; }
    // Replaces the content of the window; the widget is reparented, with no margins.
    void setContent(QWidget *widget);
    // The menu that the title bar's menu button pops up; empty until filled by a subclass.
    QMenu *titleMenu() const { return m_titleMenu; }

    QToolButton *menuButton() const { return m_menuBtn; }
    QToolButton *minButton() const { return m_minBtn; }
    QToolButton *maxButton() const { return m_maxBtn; }
    QToolButton *closeButton() const { return m_closeBtn; }

    // Shows the window maximised over the screen's available area.
    void showMaximisedOnScreen();

    // Re-reads the tool tips of the title-bar buttons from the installed translation.
    void retranslateTitleBar();

  signals:
    void sExitApp();

  public slots:
    void onCloseBtnClicked();
    void onMaxBtnClicked();
    void onMinBtnClicked();
    void onMenuBtnClicked();
    // Applies a style sheet to the title bar.
    void initStyle(const QString &styleSheet);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    void updateMaxButton();

    QWidget *m_titleBar = nullptr;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QToolButton *m_menuBtn = nullptr;
    QToolButton *m_minBtn = nullptr;
    QToolButton *m_maxBtn = nullptr;
    QToolButton *m_closeBtn = nullptr;
    QMenu *m_titleMenu = nullptr;
    QWidget *m_content = nullptr;
    QVBoxLayout *m_contentLayout = nullptr;
    bool m_dragging = false;
    QPoint m_pressOffset;
};
