#include "ui/DlpModelOperateWidget.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

constexpr int kCornerRadius = 14;
constexpr int kMargin = 6;

struct ButtonInfo {
    const char *name;
    const char *normalImage;
    const char *colorImage;
    const char *toolTipKey;
};

const ButtonInfo kButtons[DlpModelOperateWidget::ButtonCount] = {
    {"load", ":/Image/load.png", ":/Image/loadcolor.png",
     QT_TRANSLATE_NOOP("DlpModelOperateWidget", "loadModel")},
    {"scale", ":/Image/scale.png", ":/Image/scalecolor.png",
     QT_TRANSLATE_NOOP("DlpModelOperateWidget", "scaleModel")},
    {"rorate", ":/Image/rorate.png", ":/Image/roratecolor.png",
     QT_TRANSLATE_NOOP("DlpModelOperateWidget", "rorateModel")},
    {"layout", ":/Image/layout.png", ":/Image/layoutcolor.png",
     QT_TRANSLATE_NOOP("DlpModelOperateWidget", "layoutModel")},
    {"jewSupport", ":/Image/jewSupport.png", ":/Image/jewSupportColor.png",
     QT_TRANSLATE_NOOP("DlpModelOperateWidget", "jewelrySupport")},
    {"support", ":/Image/support.png", ":/Image/supportcolor.png",
     QT_TRANSLATE_NOOP("DlpModelOperateWidget", "originSupport")},
    {"deviceManage", ":/Image/deviceManage.png", ":/Image/deviceManageColor.png",
     QT_TRANSLATE_NOOP("DlpModelOperateWidget", "deviceManage")},
};

} // namespace

DlpModelOperateWidget::DlpModelOperateWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DlpModelOperateWidget"));
    setAttribute(Qt::WA_TranslucentBackground, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(0);
    for (const ButtonInfo &info : kButtons) {
        ButtonState state;
        state.button = new QToolButton(this);
        state.button->setObjectName(QLatin1String(info.name));
        state.button->setFixedSize(ButtonSize, ButtonSize);
        state.button->setIconSize(QSize(36, 36));
        state.button->setAutoRaise(true);
        state.button->setFocusPolicy(Qt::NoFocus);
        state.button->setStyleSheet(
            QStringLiteral("QToolButton{border:none;background:transparent;}"));
        state.button->installEventFilter(this);
        state.normalImage = QLatin1String(info.normalImage);
        state.colorImage = QLatin1String(info.colorImage);
        state.toolTipKey = info.toolTipKey;
        layout->addWidget(state.button);
        m_buttons.push_back(state);
    }
    for (int i = 0; i < m_buttons.size(); ++i) {
        connect(m_buttons[i].button, &QToolButton::pressed, this, [this, i] { updateIcon(i); });
        connect(m_buttons[i].button, &QToolButton::released, this, [this, i] { updateIcon(i); });
        updateIcon(i);
    }
    connect(button(Load), &QToolButton::clicked, this, &DlpModelOperateWidget::sShowLoad);
    connect(button(Scale), &QToolButton::clicked, this, &DlpModelOperateWidget::sShowScaleUI);
    connect(button(Rorate), &QToolButton::clicked, this, &DlpModelOperateWidget::sShowRorateUI);
    connect(button(Layout), &QToolButton::clicked, this, &DlpModelOperateWidget::sShowLayoutUI);
    connect(button(JewelrySupport), &QToolButton::clicked, this,
            &DlpModelOperateWidget::sShowJewelrySupportUI);
    connect(button(Support), &QToolButton::clicked, this, &DlpModelOperateWidget::sShowSupportUI);
    connect(button(Device), &QToolButton::clicked, this, &DlpModelOperateWidget::sShowManage);
    setFixedSize(ButtonSize + 2 * kMargin, ButtonCount * ButtonSize + 2 * kMargin);
    retranslate();
}

void DlpModelOperateWidget::setButtonActive(Button which, bool active)
{
    m_buttons[which].active = active;
    updateIcon(which);
}

void DlpModelOperateWidget::clearActive()
{
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i].active = false;
        updateIcon(i);
    }
}

void DlpModelOperateWidget::retranslate()
{
    for (const ButtonState &state : qAsConst(m_buttons)) {
        state.button->setToolTip(tr(state.toolTipKey));
    }
}

void DlpModelOperateWidget::updateIcon(int index)
{
    const ButtonState &state = m_buttons.at(index);
    const bool highlighted = state.active || state.hovered || state.button->isDown();
    state.button->setIcon(QIcon(highlighted ? state.colorImage : state.normalImage));
}

bool DlpModelOperateWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        for (int i = 0; i < m_buttons.size(); ++i) {
            if (m_buttons[i].button == watched) {
                m_buttons[i].hovered = event->type() == QEvent::Enter;
                updateIcon(i);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DlpModelOperateWidget::resizeEvent(QResizeEvent *event)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    QWidget::resizeEvent(event);
}

void DlpModelOperateWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0xd0, 0xd4, 0xda));
    painter.setBrush(QColor(0xfa, 0xfa, 0xfa));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius,
                            kCornerRadius);
}
