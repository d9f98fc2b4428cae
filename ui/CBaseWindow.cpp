#include "ui/CBaseWindow.h"

#include "ui/IconHelper.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>

namespace
{

QToolButton *makeTitleButton(QWidget *parent, const char *name)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(32, 28);
    return button;
}

} // namespace

CBaseWindow::CBaseWindow(QWidget *parent) : QWidget(parent)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint);

    m_titleBar = new QWidget(this);
    m_titleBar->setObjectName(QStringLiteral("titleBar"));
    m_titleBar->setFixedHeight(TitleBarHeight);
    m_titleBar->setAttribute(Qt::WA_StyledBackground);
    m_titleBar->setStyleSheet(QStringLiteral("#titleBar{background:#2b3038;}"
                                             "#titleBar QLabel{color:#f0f0f0;font-size:14px;}"
                                             "#titleBar QToolButton{border:none;}"
                                             "#titleBar QToolButton:hover{background:#474e59;}"
                                             "#titleBar #closeButton:hover{background:#cd335b;}"));
    m_titleBar->installEventFilter(this);

    m_iconLabel = new QLabel(m_titleBar);
    m_iconLabel->setFixedSize(24, 24);
    const QString iconName = QStringLiteral(":/icon/24.png");
    const QImage iconImage(iconName);
    const QPixmap iconPixmap = QPixmap::fromImage(iconImage);
    std::printf("Title Icon name:%s\n", qPrintable(iconName));
    std::printf("Title Icon image:%d\n", iconImage.isNull() ? 1 : 0);
    std::printf("Title Icon pixmap:%d\n", iconPixmap.isNull() ? 1 : 0);
    std::fflush(stdout);
    m_iconLabel->setPixmap(iconPixmap);
    if (!iconPixmap.isNull()) {
        setWindowIcon(QIcon(iconPixmap));
    }

    m_titleLabel = new QLabel(m_titleBar);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));

    m_menuBtn = makeTitleButton(m_titleBar, "menuButton");
    m_minBtn = makeTitleButton(m_titleBar, "minButton");
    m_maxBtn = makeTitleButton(m_titleBar, "maxButton");
    m_closeBtn = makeTitleButton(m_titleBar, "closeButton");
    IconHelper *icons = IconHelper::instance();
    icons->setIcon(m_menuBtn, QStyle::SP_TitleBarUnshadeButton);
    icons->setIcon(m_minBtn, QStyle::SP_TitleBarMinButton);
    icons->setIcon(m_maxBtn, QStyle::SP_TitleBarMaxButton);
    icons->setIcon(m_closeBtn, QStyle::SP_TitleBarCloseButton);
    m_titleMenu = new QMenu(this);

    auto *titleLayout = new QHBoxLayout(m_titleBar);
    titleLayout->setContentsMargins(10, 0, 6, 0);
    titleLayout->setSpacing(4);
    titleLayout->addWidget(m_iconLabel);
    titleLayout->addSpacing(4);
    titleLayout->addWidget(m_titleLabel, 1);
    titleLayout->addWidget(m_menuBtn);
    titleLayout->addWidget(m_minBtn);
    titleLayout->addWidget(m_maxBtn);
    titleLayout->addWidget(m_closeBtn);

    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("contentWidget"));
    m_contentLayout = new QVBoxLayout(m_content);
    m_contentLayout->setContentsMargins(0, 0, 0, 0);
    m_contentLayout->setSpacing(0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_titleBar);
    layout->addWidget(m_content, 1);

    connect(m_closeBtn, &QToolButton::clicked, this, &CBaseWindow::onCloseBtnClicked);
    connect(m_maxBtn, &QToolButton::clicked, this, &CBaseWindow::onMaxBtnClicked);
    connect(m_minBtn, &QToolButton::clicked, this, &CBaseWindow::onMinBtnClicked);
    connect(m_menuBtn, &QToolButton::clicked, this, &CBaseWindow::onMenuBtnClicked);
    retranslateTitleBar();
}

void CBaseWindow::setTitle(const QString &title)
{
    m_titleLabel->setText(title);
    setWindowTitle(title);
}

QString CBaseWindow::title() const
{
    return m_titleLabel->text();
}

void CBaseWindow::setContent(QWidget *widget)
{
    while (QLayoutItem *item = m_contentLayout->takeAt(0)) {
        delete item;
    }
    m_contentLayout->addWidget(widget);
}

void CBaseWindow::retranslateTitleBar()
{
    m_menuBtn->setToolTip(tr("MainWindowMenu"));
    m_minBtn->setToolTip(tr("MainWindowMin"));
    m_closeBtn->setToolTip(tr("MainWindowClose"));
    updateMaxButton();
}

void CBaseWindow::updateMaxButton()
{
    if (isMaximized()) {
        m_maxBtn->setToolTip(tr("MainWindowNomal"));
        IconHelper::instance()->setIcon(m_maxBtn, QStyle::SP_TitleBarNormalButton);
    } else {
        m_maxBtn->setToolTip(tr("MainWindowMax"));
        IconHelper::instance()->setIcon(m_maxBtn, QStyle::SP_TitleBarMaxButton);
    }
}

void CBaseWindow::onCloseBtnClicked()
{
    emit sExitApp();
}

void CBaseWindow::onMaxBtnClicked()
{
    if (isMaximized()) {
        showNormal();
    } else {
        showMaximisedOnScreen();
    }
    updateMaxButton();
}

void CBaseWindow::showMaximisedOnScreen()
{
    // A frameless window would cover the task bar when maximised, and without a window manager
    // nobody resizes it: give it the available area first (setting the geometry afterwards
    // would drop the maximised state).
    if (QScreen *screen = this->screen()) {
        setGeometry(screen->availableGeometry());
    }
    showMaximized();
}

void CBaseWindow::onMinBtnClicked()
{
    showMinimized();
}

void CBaseWindow::onMenuBtnClicked()
{
    if (m_titleMenu->isEmpty()) {
        return;
    }
    m_titleMenu->popup(m_menuBtn->mapToGlobal(QPoint(0, m_menuBtn->height())));
}

void CBaseWindow::initStyle(const QString &styleSheet)
{
    m_titleBar->setStyleSheet(styleSheet);
}

bool CBaseWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_titleBar) {
        switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
                m_dragging = false;
                onMaxBtnClicked();
                return true;
            }
            break;
        case QEvent::MouseButtonPress:
            mousePressEvent(static_cast<QMouseEvent *>(event));
            return true;
        case QEvent::MouseMove:
            mouseMoveEvent(static_cast<QMouseEvent *>(event));
            return true;
        case QEvent::MouseButtonRelease:
            mouseReleaseEvent(static_cast<QMouseEvent *>(event));
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CBaseWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_pressOffset = event->globalPos() - frameGeometry().topLeft();
    }
}

void CBaseWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton) && !isMaximized()) {
        move(event->globalPos() - m_pressOffset);
    }
}

void CBaseWindow::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}

void CBaseWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        updateMaxButton();
    }
    QWidget::changeEvent(event);
}
