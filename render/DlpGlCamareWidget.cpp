#include "render/DlpGlCamareWidget.h"

#include "render/ViewTurner.h"

#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVariant>

DlpGlCamareWidget::DlpGlCamareWidget(Orvane3Ds::ViewTurner *turner, QWidget *parent)
    : QWidget(parent), m_turner(turner)
{
    setFont(QFont(QStringLiteral("微软雅黑")));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    m_top = makeButton(QT_TR_NOOP("topView"), QStringLiteral("up"), QStringLiteral("\u25B2"));
    m_bottom =
        makeButton(QT_TR_NOOP("bottomView"), QStringLiteral("down"), QStringLiteral("\u25BC"));
    m_left = makeButton(QT_TR_NOOP("leftView"), QStringLiteral("left"), QStringLiteral("\u25C0"));
    m_right =
        makeButton(QT_TR_NOOP("rightView"), QStringLiteral("right"), QStringLiteral("\u25B6"));
    m_home = makeButton(QT_TR_NOOP("homeView"), QStringLiteral("view"), QStringLiteral("\u2302"));
    m_far = makeButton(QT_TR_NOOP("farView"), QStringLiteral("far"), QStringLiteral("\u2212"));
    m_near = makeButton(QT_TR_NOOP("nearView"), QStringLiteral("near"), QStringLiteral("+"));
    for (QPushButton *b : {m_top, m_bottom, m_left, m_right, m_home, m_far, m_near})
        layout->addWidget(b);
    connect(m_top, &QPushButton::clicked, this, &DlpGlCamareWidget::onGLTop);
    connect(m_bottom, &QPushButton::clicked, this, &DlpGlCamareWidget::onGLBottom);
    connect(m_left, &QPushButton::clicked, this, &DlpGlCamareWidget::onGLLeft);
    connect(m_right, &QPushButton::clicked, this, &DlpGlCamareWidget::onGLRight);
    connect(m_home, &QPushButton::clicked, this, &DlpGlCamareWidget::onGLHome);
    connect(m_far, &QPushButton::clicked, this, &DlpGlCamareWidget::onGLFar);
    connect(m_near, &QPushButton::clicked, this, &DlpGlCamareWidget::onGLNear);
}

void DlpGlCamareWidget::setTurner(Orvane3Ds::ViewTurner *turner)
{
    m_turner = turner;
    syncButtons();
}

QPushButton *DlpGlCamareWidget::makeButton(const char *tip, const QString &image,
                                           const QString &fallbackText)
{
    auto *button = new QPushButton(this);
    button->setProperty("tipKey", QByteArray(tip));
    button->setToolTip(tr(tip));
    button->setFixedSize(32, 32);
    button->setCursor(Qt::PointingHandCursor);
    if (!QFile::exists(QStringLiteral(":/Image/%1.png").arg(image))) {
        // Without the icon pair the button shows a symbol.
        button->setText(fallbackText);
        return button;
    }
    button->setStyleSheet(
        QStringLiteral("QPushButton{border:none;border-image:url(:/Image/%1.png);}"
                       "QPushButton:hover,QPushButton:pressed"
                       "{border-image:url(:/Image/%1color.png);}"
                       "QPushButton:disabled{border-image:url(:/Image/%1.png);}")
            .arg(image));
    return button;
}

void DlpGlCamareWidget::retranslate()
{
    for (QPushButton *button : buttons())
        button->setToolTip(tr(button->property("tipKey").toByteArray().constData()));
}

void DlpGlCamareWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void DlpGlCamareWidget::syncButtons()
{
    if (!m_turner)
        return;
    m_top->setEnabled(m_turner->topEnabled());
    m_bottom->setEnabled(m_turner->bottomEnabled());
}

void DlpGlCamareWidget::onGLTop()
{
    if (m_turner)
        m_turner->top();
    syncButtons();
}

void DlpGlCamareWidget::onGLBottom()
{
    if (m_turner)
        m_turner->bottom();
    syncButtons();
}

void DlpGlCamareWidget::onGLLeft()
{
    if (m_turner)
        m_turner->left();
    syncButtons();
}

void DlpGlCamareWidget::onGLRight()
{
    if (m_turner)
        m_turner->right();
    syncButtons();
}

void DlpGlCamareWidget::onGLFar()
{
    if (m_turner)
        m_turner->farther();
}

void DlpGlCamareWidget::onGLNear()
{
    if (m_turner)
        m_turner->nearer();
}

void DlpGlCamareWidget::onGLHome()
{
    if (m_turner)
        m_turner->home();
    syncButtons();
}
